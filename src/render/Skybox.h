// The sky cube around the camera target.
#pragma once

#include "assets/SkyboxTextures.h"

// Centred on the camera's target (the origin while the record has no camera). Leaves
// depth testing on, texture binding 0, colour white and GL_TEXTURE_2D as it found it.
void drawSkybox(const SkyboxTextures& textures, float size);
