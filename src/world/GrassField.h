// The grass field: the ground of one-unit textured cells, and the bounds of the play area.
#pragma once

#include <GL/gl.h>

#include "core/GameStatus.h"
#include "player/Camera.h"

struct GrassField {
    float minX = -25.0f;
    float maxX = 25.0f;
    float minZ = -70.0f;
    float maxZ = 70.0f;
    float width = 50.0f;
    float depth = 140.0f;
    float groundY = 0.0f;
    GLuint texture = 0;

    // Created on first use; loads "./assets/textures/grass.png".
    static GrassField& instance();

    void draw(const GameStatus& status) const;
    MoveBounds bounds() const { return {minX, maxX, minZ, maxZ}; }
};
