// Start-up: the run's long-lived parts, built in their fixed order and owned in one place.
// The game, the benchmark, the pictures tool and the GL tests all start through it.
#pragma once

#include <SDL2/SDL.h>
#include <memory>
#include <string>

#include "game/GameLoop.h"

// Everything start-up builds and the loop uses until the player quits; world points into it.
struct GameParts {
    std::unique_ptr<Camera> camera;
    std::unique_ptr<ScreenSize> screen;
    std::unique_ptr<Blackboard> pauseBoard;
    std::unique_ptr<Blackboard> endBoard;
    std::unique_ptr<Duck> duck;
    std::unique_ptr<RecordBook> records;
    std::unique_ptr<SoundPlayer> sound;
    std::unique_ptr<ScaledPicture> picture;
    std::unique_ptr<Gamepads> pads;
    GameWorld world;
};

struct GameOptions {
    std::string recordsFolder;  // empty: runs are not kept
    bool sound = false;         // open the audio device (a game without one still runs)
    bool muted = false;
    bool controllers = false;   // open SDL's game controllers (the keyboard plays without them)
};

// Needs the window's GL context current and its projection set. window may be null (the
// tests read the back buffer instead of swapping); now is what the clocks read. Leaves the
// status record as a run starts: paused, on the help panel.
GameParts startGame(SDL_Window* window, const GameOptions& options = {},
               const TimeSource& now = [] { return std::chrono::steady_clock::now(); });
