// One layout for every controller SDL knows: Start pauses as P does, the face buttons
// reach what a run needs most, the shoulders and stick clicks the looks.
#include "pad/PadMap.h"

#include <cmath>

namespace {
float tilt(Sint16 value) {
    const float share = static_cast<float>(value) / 32767.0f;
    return std::fabs(share) < StickDeadZone ? 0.0f : share;
}
}  // namespace

SDL_Keycode keyForButton(Uint8 button) {
    switch (button) {
        case SDL_CONTROLLER_BUTTON_START: return SDLK_p;
        case SDL_CONTROLLER_BUTTON_A: return SDLK_r;
        case SDL_CONTROLLER_BUTTON_Y: return SDLK_v;
        case SDL_CONTROLLER_BUTTON_X: return SDLK_t;
        case SDL_CONTROLLER_BUTTON_B: return SDLK_n;
        case SDL_CONTROLLER_BUTTON_LEFTSHOULDER: return SDLK_l;
        case SDL_CONTROLLER_BUTTON_RIGHTSHOULDER: return SDLK_w;
        case SDL_CONTROLLER_BUTTON_RIGHTSTICK: return SDLK_i;
        case SDL_CONTROLLER_BUTTON_LEFTSTICK: return SDLK_2;
        case SDL_CONTROLLER_BUTTON_BACK: return SDLK_m;
        default: return SDLK_UNKNOWN;
    }
}

SDL_Keycode keyForTrigger(Uint8 axis) {
    if (axis == SDL_CONTROLLER_AXIS_TRIGGERLEFT) return SDLK_1;
    if (axis == SDL_CONTROLLER_AXIS_TRIGGERRIGHT) return SDLK_3;
    return SDLK_UNKNOWN;
}

SDL_Keycode triggerRelease(TriggerLatch& latch, Uint8 axis, Sint16 value) {
    if (keyForTrigger(axis) == SDLK_UNKNOWN) return SDLK_UNKNOWN;
    if (value >= TriggerPulled) latch.pulled[axis] = true;
    if (value > TriggerLetGo || !latch.pulled[axis]) return SDLK_UNKNOWN;
    latch.pulled[axis] = false;
    return keyForTrigger(axis);
}

void applyPad(const PadState& pad, Camera& camera, double seconds) {
    const float x = tilt(pad.leftX), y = tilt(pad.leftY);
    camera.keyForward = camera.keyForward || pad.up || y < 0.0f;
    camera.keyBackward = camera.keyBackward || pad.down || y > 0.0f;
    camera.keyLeft = camera.keyLeft || pad.left || x < 0.0f;
    camera.keyRight = camera.keyRight || pad.right || x > 0.0f;
    const float turnX = tilt(pad.rightX), turnY = tilt(pad.rightY);
    if (camera.orbitView && (turnX != 0.0f || turnY != 0.0f)) {
        const float pixels = static_cast<float>(StickTurnPixelsPerSecond * seconds);
        camera.mouseDeltaX = turnX * pixels;
        camera.mouseDeltaY = turnY * pixels;
    }
}
