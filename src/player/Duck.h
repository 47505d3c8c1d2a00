// The player's duck: drawn on the ground under the camera target, turned toward its motion.
#pragma once

#include <GL/gl.h>
#include <cstdint>

#include "core/Vec3.h"
#include "player/Camera.h"

// Arrow keys held, read from a key-state array indexed by SDL scancode.
struct ArrowKeys {
    bool up = false;
    bool down = false;
    bool left = false;
    bool right = false;
};
ArrowKeys readArrowKeys(const uint8_t* keyState);

struct Duck {
    float size = 2.0f;
    Vec3 position;       // maximum corner, refreshed on every draw
    float facing = 0.0f; // degrees about the vertical axis
    Camera& camera;
    float keyAngle = 0.0f;
    GLuint texturedList = 0;
    GLuint plainList = 0;

    Duck(Camera& cam, GLuint textured, GLuint plain)
        : camera(cam), texturedList(textured), plainList(plain) {}

    // keyState: SDL's key-state array (the game passes SDL_GetKeyboardState(nullptr)).
    void draw(const uint8_t* keyState);
};

// The model is 33 units long; this brings it to the duck's size of 2 units.
constexpr float DuckModelScale = 0.06f;
// The duck's texture, then its solid and outline display lists from one reading of the model.
GLuint loadDuckTexture();
struct ObjLists;
ObjLists loadDuckLists(GLuint texture);

// The facing rule: sets duck.keyAngle and duck.facing from the arrows held.
void applyFacingRule(Duck& duck, const ArrowKeys& keys);
// The duck's maximum corner for a camera target.
Vec3 duckPositionFor(const Vec3& target, float size);
