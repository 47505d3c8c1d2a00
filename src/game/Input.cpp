// Keys act on release, matched by keycode; only the table of the pass's starting state applies.
#include "game/Input.h"

#include "player/Duck.h"
#include "screen/Picture.h"

namespace {
void toggleNight(InputTargets& targets) {
    LightingMode& lighting = targets.lighting;
    lighting.nightMode = !lighting.nightMode;
    if (targets.skybox != nullptr) {
        targets.skybox->loadFaces(lighting.nightMode ? targets.nightFaces : targets.dayFaces);
    }
}

void handlePlayingKey(SDL_Keycode key, InputTargets& targets) {
    GameStatus& status = targets.status;
    switch (key) {
        case SDLK_p: status.state = GameState::Paused; break;
        case SDLK_t: status.texturesEnabled = !status.texturesEnabled; break;
        case SDLK_w: status.wireframe = !status.wireframe; break;
        case SDLK_i: status.smoothShading = !status.smoothShading; break;
        case SDLK_l: targets.lighting.daylight = targets.lighting.daylight == 0.0f ? 1.0f : 0.0f; break;
        case SDLK_n: toggleNight(targets); break;
        case SDLK_1: status.gameSpeed = GameSpeed::Slow; break;
        case SDLK_2: status.gameSpeed = GameSpeed::Normal; break;
        case SDLK_3: status.gameSpeed = GameSpeed::Fast; break;
        default: break;
    }
}

void handleKeyRelease(SDL_Keycode key, GameState table, InputTargets& targets) {
    // Keys every state shares.
    switch (key) {
        case SDLK_ESCAPE:
        case SDLK_q: targets.quitRequested = true; return;
        case SDLK_v:
            targets.camera.orbitPlaced = false;
            targets.camera.orbitView = !targets.camera.orbitView;
            return;
        case SDLK_m:
            if (targets.soundMuted != nullptr) *targets.soundMuted = !*targets.soundMuted;
            return;
        default: break;
    }
    switch (table) {
        case GameState::Playing: handlePlayingKey(key, targets); break;
        case GameState::Paused:
            if (key == SDLK_p) targets.status.state = GameState::Playing;
            break;
        case GameState::Won:
        case GameState::GameOver:
            if (key == SDLK_r) restartRun(targets.status, targets.clock, targets.camera);
            break;
    }
}

void drainQueue(GameState table, InputTargets& targets) {
    SDL_Event event;
    while (SDL_PollEvent(&event) != 0) handleEvent(event, table, targets);
}
}  // namespace

void handleEvent(const SDL_Event& event, GameState table, InputTargets& targets) {
    switch (event.type) {
        case SDL_QUIT: targets.quitRequested = true; break;
        case SDL_MOUSEMOTION:
            // The last motion of a pass wins; the orbit view consumes it on its next update.
            if (targets.camera.orbitView) {
                targets.camera.mouseDeltaX = static_cast<float>(event.motion.xrel);
                targets.camera.mouseDeltaY = static_cast<float>(event.motion.yrel);
            }
            break;
        case SDL_KEYUP:
            if (event.key.keysym.sym == SDLK_F11 || (event.key.keysym.sym == SDLK_RETURN && (event.key.keysym.mod & KMOD_ALT) != 0)) {
                toggleFullscreen(targets.window);
            } else {
                handleKeyRelease(event.key.keysym.sym, table, targets);
            }
            break;
        case SDL_CONTROLLERDEVICEADDED:
        case SDL_CONTROLLERDEVICEREMOVED:
            if (targets.pads != nullptr) targets.pads->deviceEvent(event);
            break;
        case SDL_CONTROLLERBUTTONUP: handleKeyRelease(keyForButton(event.cbutton.button), table, targets); break;
        case SDL_CONTROLLERAXISMOTION:
            if (targets.pads != nullptr) handleKeyRelease(targets.pads->triggerKey(event.caxis), table, targets);
            break;
        default: break;
    }
}

void handlePlayingInput(InputTargets& targets) { drainQueue(GameState::Playing, targets); }
void handlePausedInput(InputTargets& targets) { drainQueue(GameState::Paused, targets); }
void handleEndScreenInput(InputTargets& targets) { drainQueue(GameState::GameOver, targets); }

void pollArrowKeys(Camera& camera, const uint8_t* keyState) {
    const ArrowKeys held = readArrowKeys(keyState);
    camera.keyForward = held.up;
    camera.keyBackward = held.down;
    camera.keyLeft = held.left;
    camera.keyRight = held.right;
}

void restartRun(GameStatus& status, FrameClock& clock, Camera& camera) {
    status.state = GameState::Playing;
    status.progress = 0;
    status.elapsedSeconds = 0;
    clock.restartPlay();
    camera.reset(CameraStartEye, CameraStartTarget);
}
