// Key bindings per game state, mouse motion for the orbit view, and the arrow-key poll.
#pragma once

#include <SDL2/SDL.h>
#include <cstdint>

#include "assets/SkyboxTextures.h"
#include "game/FrameClock.h"
#include "core/GameStatus.h"
#include "game/Lighting.h"
#include "pad/Gamepads.h"
#include "player/Camera.h"

// Everything the keys and the mouse may change.
struct InputTargets {
    GameStatus& status;
    bool& quitRequested;
    LightingMode& lighting;
    Camera& camera;
    FrameClock& clock;
    SkyboxTextures* skybox;  // night toggle reloads its faces
    const FaceList& dayFaces;
    const FaceList& nightFaces;
    bool* soundMuted = nullptr;  // M mutes and unmutes in every state
    SDL_Window* window = nullptr;   // F11 and Alt+Enter switch it to fullscreen and back
    Gamepads* pads = nullptr;       // controllers; their buttons go through the key table
};

// One event, handled with the key table of `table` (the state the pass started in).
void handleEvent(const SDL_Event& event, GameState table, InputTargets& targets);

// Each drains SDL's queue once and handles every event with its state's table.
void handlePlayingInput(InputTargets& targets);
void handlePausedInput(InputTargets& targets);
void handleEndScreenInput(InputTargets& targets);

// Sets the camera's four arrow flags from a key-state array indexed by scancode.
void pollArrowKeys(Camera& camera, const uint8_t* keyState);

// A new run after an end screen: playing from the start line with the clock at zero.
void restartRun(GameStatus& status, FrameClock& clock, Camera& camera);
