// The frame loop: one pass sets the lights, runs the frame of the current state and swaps.
#pragma once

#include <SDL2/SDL.h>
#include <cstdint>

#include "assets/SkyboxTextures.h"
#include "audio/SoundPlayer.h"
#include "game/FrameClock.h"
#include "core/GameStatus.h"
#include "game/Lighting.h"
#include "player/Camera.h"
#include "records/RecordFile.h"
#include "pad/Gamepads.h"
#include "screen/Picture.h"
#include "player/Duck.h"
#include "render/Overlay.h"
#include "render/Panels.h"
#include "world/GrassField.h"
#include "world/Traffic.h"

constexpr float SkyboxSize = 150.0f;

// The long-lived objects start-up creates; the loop reads and changes them every pass.
struct GameWorld {
    SDL_Window* window = nullptr;  // null in tests that read the back buffer instead
    FrameClock clock;
    LightingMode lighting;
    FaceList dayFaces;
    FaceList nightFaces;
    Camera* camera = nullptr;
    SkyboxTextures* skybox = nullptr;
    ScreenSize* screen = nullptr;
    Blackboard* pauseBoard = nullptr;
    Blackboard* endBoard = nullptr;
    GrassField* field = nullptr;
    Duck* duck = nullptr;
    Traffic traffic{};
    bool quitRequested = false;
    RecordBook* records = nullptr;  // none: runs are not kept (tests of the passes)
    std::string recordLine{};       // the end screen's record line for the run that ended
    bool runKept = false;           // the run on the end screen has gone to the records
    bool soundMuted = false;
    SoundPlayer* sound = nullptr;  // null: a silent game
    ScaledPicture* picture = nullptr;  // null: drawn straight into the 1000 x 480 back buffer
    Gamepads* pads = nullptr;          // null: keyboard and mouse only
};

// While the window is hidden or minimised: pauses a run in progress, then sleeps until the
// next event and handles it (a close, a key). False, and nothing done, while it is shown.
bool waitWhileHidden(GameWorld& world);

// One pass of the loop; keyState is SDL's key-state array (indexed by scancode).
void runPass(GameWorld& world, const uint8_t* keyState);
