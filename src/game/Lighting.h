// The three looks of the scene (day, sunset, night) and the lights that make them.
#pragma once

#include "player/Camera.h"
#include "world/GrassField.h"

struct LightingMode {
    bool nightMode = false;
    float daylight = 1.0f;  // 1 = day, 0 = sunset
    float lampPositions[6][4] = {};
};

void computeLampPositions(LightingMode& lighting, const GrassField& field);
// Sets lights 0 to 6 for the current look; runs first in every pass.
void applyLighting(const LightingMode& lighting, const Camera& camera);
