// Timings of the work that could stall play, printed as figures (no pass or fail): the
// night toggle's six sky box loads, the duck's start-up reading and compiling, and whole
// frames of each state in a real GL context (Mesa llvmpipe on a private Xvfb).
#include <GL/gl.h>
#include <SDL2/SDL.h>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

#include "assets/ObjLoader.h"
#include "assets/SkyboxTextures.h"
#include "assets/Texture.h"
#include "game/GameLoop.h"
#include "game/Shell.h"
#include "support/Gl.h"

namespace {
using Clock = std::chrono::steady_clock;

// Runs work `runs` times and prints the median and the slowest run in milliseconds.
void report(const char* what, int runs, const std::function<void()>& work) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto start = Clock::now();
        work();
        glFinish();
        times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    std::printf("%-44s median %8.2f ms   max %8.2f ms   (%d runs)\n", what, times[times.size() / 2], times.back(), runs);
}
}  // namespace

int main() {
    ensureGlContext();
    setupProjection();

    Camera camera;
    SkyboxTextures& skybox = SkyboxTextures::instance(daySkyboxFaces(), camera);
    bool night = false;
    report("night toggle (six sky box loads)", 20, [&] {
        night = !night;
        skybox.loadFaces(night ? nightSkyboxFaces() : daySkyboxFaces());
    });
    if (night) skybox.loadFaces(daySkyboxFaces());

    const GLuint duckTexture = loadTexture("./assets/textures/Duck.jpg", 24, GL_REPEAT, GL_REPLACE);
    GLuint solid = 0;
    GLuint outline = 0;
    report("duck model: read and compile both lists", 5, [&] {
        const ObjLists lists = loadObjLists("./assets/models/Duck.obj", duckTexture, 0.06f);
        solid = lists.solid;
        outline = lists.wireframe;
    });

    GameWorld world;
    world.camera = &camera;
    world.skybox = &skybox;
    world.dayFaces = daySkyboxFaces();
    world.nightFaces = nightSkyboxFaces();
    ScreenSize screen;
    Blackboard pauseBoard = makeBlackboard();
    Blackboard endBoard = makeBlackboard();
    GrassField& field = GrassField::instance();
    Duck duck(camera, solid, outline);
    world.screen = &screen;
    world.pauseBoard = &pauseBoard;
    world.endBoard = &endBoard;
    world.field = &field;
    world.duck = &duck;
    world.traffic = makeTraffic();
    computeLampPositions(world.lighting, field);
    const uint8_t* keys = SDL_GetKeyboardState(nullptr);

    GameStatus& status = GameStatus::instance();
    status.state = GameState::Paused;
    report("paused frame (help panel)", 30, [&] { runPass(world, keys); });
    report("playing frame, day", 30, [&] {
        status.state = GameState::Playing;
        runPass(world, keys);
    });
    world.lighting.nightMode = true;
    report("playing frame, night lights", 30, [&] {
        status.state = GameState::Playing;
        runPass(world, keys);
    });
    world.lighting.nightMode = false;
    status.wireframe = true;
    report("playing frame, wireframe", 30, [&] {
        status.state = GameState::Playing;
        runPass(world, keys);
    });
    status.wireframe = false;
    report("end screen frame", 30, [&] {
        status.state = GameState::GameOver;
        runPass(world, keys);
    });
    return 0;
}
