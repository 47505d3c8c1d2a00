// Timings of the work that could stall play, printed as figures (no pass or fail): the
// night toggle's six sky box loads, the duck's start-up reading and compiling, and whole
// frames of each state in a real window. Needs a display: under Xvfb, run it through xvfb-run.
#include <GL/gl.h>
#include <SDL2/SDL.h>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "assets/ObjLoader.h"
#include "assets/SkyboxTextures.h"
#include "game/GameLoop.h"
#include "game/Shell.h"

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

int main(int argc, char** argv) {
    ShellWindow shell;
    std::string error;
    if (SDL_Init(SDL_INIT_VIDEO) < 0 || !openGameWindow("Larkmere benchmark", shell, error)) {
        std::fprintf(stderr, "Larkmere: benchmark: %s%s\n", SDL_GetError(), error.c_str());
        return 1;
    }
    initBitmapFonts(&argc, argv);
    setupProjection();

    Camera camera;
    SkyboxTextures& skybox = SkyboxTextures::instance(daySkyboxFaces(), camera);
    bool night = false;
    report("night toggle (six sky box loads)", 20, [&] {
        night = !night;
        skybox.loadFaces(night ? nightSkyboxFaces() : daySkyboxFaces());
    });
    if (night) skybox.loadFaces(daySkyboxFaces());

    const GLuint duckTexture = loadDuckTexture();
    GLuint solid = 0, outline = 0;
    report("duck model: read and compile both lists", 5, [&] {
        const ObjLists lists = loadDuckLists(duckTexture);
        solid = lists.solid;
        outline = lists.wireframe;
    });

    ScreenSize screen;
    Blackboard pauseBoard = makeBlackboard(), endBoard = makeBlackboard();
    Duck duck(camera, solid, outline);
    GameWorld world{nullptr, FrameClock(), {}, daySkyboxFaces(), nightSkyboxFaces(), &camera, &skybox, &screen,
                    &pauseBoard, &endBoard, &GrassField::instance(), &duck, makeTraffic()};
    computeLampPositions(world.lighting, *world.field);
    const uint8_t* keys = SDL_GetKeyboardState(nullptr);
    GameStatus& status = GameStatus::instance();
    struct Frame {
        const char* name;
        GameState state;
        bool night, wireframe;
    };
    for (const Frame& frame : {Frame{"paused frame (help panel)", GameState::Paused, false, false},
                               {"playing frame, day", GameState::Playing, false, false},
                               {"playing frame, night lights", GameState::Playing, true, false},
                               {"playing frame, wireframe", GameState::Playing, false, true},
                               {"end screen frame", GameState::GameOver, false, false}}) {
        world.lighting.nightMode = frame.night;
        status.wireframe = frame.wireframe;
        report(frame.name, 30, [&] {
            status.state = frame.state;  // a pass may end the run; every run measures the same frame
            runPass(world, keys);
        });
    }
    closeGameWindow(shell);
    SDL_Quit();
    return 0;
}
