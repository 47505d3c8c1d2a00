// Timings of the work that could stall play, printed as figures (no pass or fail): the
// night toggle's six sky box loads, the duck's start-up reading and compiling, whole
// frames of each state in a real window (uncapped), and the frames a second and processor
// time the loop takes paced to the display and uncapped. Needs a display: under Xvfb, run
// it through xvfb-run.
#include <GL/gl.h>
#include <SDL2/SDL.h>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

#include "assets/ObjLoader.h"
#include "assets/SkyboxTextures.h"
#include "game/GameLoop.h"
#include "game/Launch.h"
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
// Processor time of the whole process, its driver threads included.
double processorSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return now.tv_sec + now.tv_nsec * 1e-9;
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
    GameWorld world{shell.window, FrameClock(), {}, daySkyboxFaces(), nightSkyboxFaces(), &camera, &skybox, &screen,
                    &pauseBoard, &endBoard, &GrassField::instance(), &duck, makeTraffic()};
    computeLampPositions(world.lighting, *world.field);
    const uint8_t* keys = SDL_GetKeyboardState(nullptr);
    GameStatus& status = GameStatus::instance();
    struct Frame {
        const char* name;
        GameState state;
        bool night, wireframe;
    };
    startPacing(shell.window, true);  // frame times of the drawing alone, as --uncapped runs it
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
    world.lighting.nightMode = status.wireframe = false;
    for (bool uncapped : {false, true}) {
        // The game's own loop: a pass, then the pacer's wait when the display is not vsynced.
        const double hz = startPacing(shell.window, uncapped);
        for (GameState state : {GameState::Paused, GameState::Playing}) {
            FramePacer pacer(hz);
            const auto start = Clock::now();
            const double cpuStart = processorSeconds();
            int frames = 0;
            for (; Clock::now() - start < std::chrono::seconds(4); ++frames) {
                status.state = state;
                runPass(world, keys);
                pacer.wait();
            }
            const double wall = std::chrono::duration<double>(Clock::now() - start).count();
            std::printf("%-12s %-24s %6.1f frames/s   %5.2f s of processor time per s\n",
                        state == GameState::Paused ? "help panel" : "playing",
                        uncapped ? "--uncapped" : hz > 0.0 ? ("paced to " + std::to_string(int(hz)) + " Hz").c_str() : "vsync",
                        frames / wall, (processorSeconds() - cpuStart) / wall);
        }
    }
    closeGameWindow(shell);
    SDL_Quit();
    return 0;
}
