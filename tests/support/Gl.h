// A real 1000 x 480 window and OpenGL context (Mesa llvmpipe) on the test's display, one per
// test process, with the bitmap font started as the game starts it.
#pragma once

#include <GL/gl.h>
#include <SDL2/SDL.h>
#include <array>
#include <gtest/gtest.h>

#include "game/GameStart.h"
#include "support/Image.h"

// Opens the window and context on first use; later calls return at once.
SDL_Window* ensureGlContext();

class GlTest : public ::testing::Test {
protected:
    // GL state as the game has it after start-up: its projection, identity modelview,
    // depth test on, lighting, texturing and blending off, colour white, buffers cleared,
    // SDL's event queue empty, the mouse free.
    void SetUp() override;
    // Fails the test if it left a GL error behind.
    void TearDown() override;
};

// glReadPixels of the back buffer.
Image readFramebuffer();
// The text drawn by the game's own text function on black, read back as a mask.
TextMask textMask(const char* text);
// The matrix now on top of GL_MODELVIEW_MATRIX or GL_PROJECTION_MATRIX, column-major.
using Matrix = std::array<GLfloat, 16>;
Matrix currentMatrix(GLenum which);

// The game as start-up builds it on the test window, its clocks reading `now`, run a pass at a
// time; the duck has no picture (the rules, not its look).
class GamePass : public GlTest {
protected:
    SteadyTime now{};
    GameParts game = (ensureGlContext(), startGame(nullptr, {}, [this] { return now; }));
    GameWorld& world = game.world;
    Camera& camera = *game.camera;
    uint8_t keys[SDL_NUM_SCANCODES] = {};

    void SetUp() override {
        GlTest::SetUp();
        game.duck->texturedList = game.duck->plainList = glGenLists(1);
    }
    // `length` later than the last pass, with `keyState` (the test's own array if none).
    void pass(std::chrono::milliseconds length = std::chrono::milliseconds(20), const uint8_t* keyState = nullptr) {
        now += length;
        runPass(world, keyState != nullptr ? keyState : keys);
    }
    // A key's release (how every letter key acts) on SDL's queue, then a pass.
    void release(SDL_Keycode key, std::chrono::milliseconds length = std::chrono::milliseconds(20)) {
        SDL_Event event{SDL_KEYUP};
        event.key.keysym.sym = key;
        SDL_PushEvent(&event);
        pass(length);
    }
    static GameStatus& status() { return GameStatus::instance(); }
    void parkCarOnTheDuck() { world.traffic[0].position = {camera.target.x + 1, 2, camera.target.z + 1}, world.traffic[0].speed = 0; }
    std::vector<float> carsX() const {
        std::vector<float> x;
        for (const Car& car : world.traffic) x.push_back(car.position.x);
        return x;
    }
};
