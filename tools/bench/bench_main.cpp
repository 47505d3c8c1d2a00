// Timings of the work that could stall play, printed as figures (no pass or fail): the
// night toggle's six sky box loads, the duck's start-up reading and compiling, whole
// frames of each state in a real window (uncapped), and the frames a second and processor
// time the loop takes paced to the display and uncapped, what the sound costs while playing, and how
// soon a crash reaches the sound stream. Needs a display: under Xvfb, run it through
// xvfb-run. Sound goes to SDL's disk driver (into /dev/null) unless SDL_AUDIODRIVER says
// otherwise.
#include <GL/gl.h>
#include <SDL2/SDL.h>
#include <SDL2/SDL_mixer.h>
#include <atomic>
#include <cstdlib>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

#include "assets/ObjLoader.h"
#include "game/GameStart.h"
#include "shell/Pacing.h"
#include "shell/Window.h"

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

// When the first loud sample entered the mixed stream, in seconds on the steady clock,
// with its place in its buffer; written by the mixer's thread.
std::atomic<bool> listening{false};
std::atomic<double> firstLoudSample{0.0};
void findLoudSample(void*, Uint8* stream, int bytes) {
    if (!listening) return;
    const double mixedAt = std::chrono::duration<double>(Clock::now().time_since_epoch()).count();
    const auto* samples = reinterpret_cast<const int16_t*>(stream);
    for (int i = 0; i < bytes / 2; ++i) {
        if (std::abs(samples[i]) > 1000) {
            firstLoudSample = mixedAt + i / 22050.0;
            listening = false;
            return;
        }
    }
}
}  // namespace

int main(int argc, char** argv) {
    ShellWindow shell;
    std::string error;
    if (SDL_Init(SDL_INIT_VIDEO) < 0) {
        std::fprintf(stderr, "Larkmere: benchmark: cannot start SDL: %s\n", SDL_GetError());
        return 1;
    }
    if (!openGameWindow("Larkmere benchmark", shell, error)) {
        std::fprintf(stderr, "Larkmere: benchmark: %s\n", error.c_str());
        SDL_Quit();
        return 1;
    }
    initBitmapFonts(&argc, argv);
    setupProjection();

    // The game as it starts; the two loads of start-up are timed on their own below.
    GameParts game = startGame(shell.window);
    GameWorld& world = game.world;
    SkyboxTextures& skybox = *world.skybox;
    bool night = false;
    report("night toggle (six sky box loads)", 20, [&] {
        night = !night;
        skybox.loadFaces(night ? nightSkyboxFaces() : daySkyboxFaces());
    });
    if (night) skybox.loadFaces(daySkyboxFaces());

    const GLuint duckTexture = loadDuckTexture();
    report("duck model: read and compile both lists", 5, [&] { loadDuckLists(duckTexture); });

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
    // The same playing frame drawn offscreen and scaled into a 1920 x 1080 window (the
    // screen must be that large for the window to get the size).
    ScaledPicture picture(WindowWidth, WindowHeight);
    world.picture = &picture;
    report("playing frame, 1000 x 480 through the scaler", 30, [&] { status.state = GameState::Playing; runPass(world, keys); });
    SDL_SetWindowSize(shell.window, 1920, 1080);
    for (int i = 0; i < 50; ++i) SDL_PumpEvents();
    int drawnW = 0, drawnH = 0;
    SDL_GL_GetDrawableSize(shell.window, &drawnW, &drawnH);
    const std::string scaledName = "playing frame, scaled to " + std::to_string(drawnW) + " x " + std::to_string(drawnH);
    report(scaledName.c_str(), 30, [&] { status.state = GameState::Playing; runPass(world, keys); });
    SDL_SetWindowSize(shell.window, WindowWidth, WindowHeight);
    world.picture = nullptr;
    // The game's own loop: a pass, then the pacer's wait when the display is not vsynced.
    const auto loop = [&](const char* what, GameState state, bool uncapped) {
        const double hz = startPacing(shell.window, uncapped);
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
        std::printf("%-16s %-20s %6.1f frames/s   %5.3f s of processor time per s\n", what,
                    uncapped ? "--uncapped" : hz > 0.0 ? ("paced to " + std::to_string(int(hz)) + " Hz").c_str() : "vsync",
                    frames / wall, (processorSeconds() - cpuStart) / wall);
    };
    for (bool uncapped : {false, true}) {
        loop("help panel", GameState::Paused, uncapped);
        loop("playing", GameState::Playing, uncapped);
    }
    // What sound costs while playing: its rules and mixer calls paced at 60 passes a second,
    // with the duck walking by a car, and the mixer's own thread; nothing is drawn, so the
    // processor time is the sound's alone.
    setenv("SDL_AUDIODRIVER", "disk", 0);
    setenv("SDL_DISKAUDIOFILE", "/dev/null", 0);
    SoundPlayer sound;
    std::string noSound;
    if (!sound.open(noSound)) {
        std::fprintf(stderr, "Larkmere: benchmark: no sound: %s\n", noSound.c_str());
        return 1;
    }
    {
        FramePacer pacer(60.0);
        const auto start = Clock::now();
        const double cpuStart = processorSeconds();
        Vec3 duck = world.duck->position;
        for (int pass = 0; Clock::now() - start < std::chrono::seconds(4); ++pass) {
            duck.z -= 0.25f;  // walking at normal speed
            world.traffic[0].position = {duck.x + 8.0f - float(pass % 64) * 0.25f, 1.0f, duck.z};
            sound.hear({GameState::Playing, duck, world.duck->size, &world.traffic, false, 1.0f, false});
            pacer.wait();
        }
        const double wall = std::chrono::duration<double>(Clock::now() - start).count();
        std::printf("sound while playing, paced to 60 Hz: %.2f %% of one core\n", (processorSeconds() - cpuStart) / wall * 100.0);
    }
    world.sound = nullptr;

    // A crash: a car put on the duck, one playing pass, then its sounds (no ambience, so
    // that the first loud sample is the crash's own).
    Mix_SetPostMix(findLoudSample, nullptr);
    std::vector<double> delays;
    SoundMemory memory;
    for (int run = 0; run < 20; ++run) {
        soundCues({GameState::Playing, world.duck->position, world.duck->size, &world.traffic, false, 1.0f, false}, memory);
        sound.apply(SoundCues{{}, false, true});
        SDL_Delay(100);  // the stream is silent again
        status.state = GameState::Playing;
        world.traffic[0].position = world.duck->position;
        world.traffic[0].speed = 0.0f;
        runPass(world, keys);
        SoundCues cues = soundCues({status.state, world.duck->position, world.duck->size, &world.traffic, false, 1.0f, false}, memory);
        cues.ambience = false;
        listening = true;
        const double crashedAt = std::chrono::duration<double>(Clock::now().time_since_epoch()).count();
        sound.apply(cues);
        for (int waited = 0; listening && waited < 2000; ++waited) SDL_Delay(1);
        delays.push_back((firstLoudSample - crashedAt) * 1000.0);
        world.traffic = makeTraffic();
    }
    std::sort(delays.begin(), delays.end());
    std::printf("crash pass to its first sample in the stream   median %6.1f ms   max %6.1f ms   (20 runs)\n",
                delays[delays.size() / 2], delays.back());
    sound.close();
    closeGameWindow(shell);
    SDL_Quit();
    return 0;
}
