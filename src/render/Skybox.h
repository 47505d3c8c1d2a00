// The sky cube around the camera target.
#pragma once

#include "assets/SkyboxTextures.h"

void drawSkybox(const SkyboxTextures& textures, float size);
