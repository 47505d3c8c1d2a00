// What a game controller's buttons, triggers and sticks mean: keys of the key table, the
// arrow flags and the orbit view's turn. Plain functions over plain values.
#pragma once

#include <SDL2/SDL.h>

#include "player/Camera.h"

// The key a released button stands for, or SDLK_UNKNOWN. Quitting is never on the pad.
SDL_Keycode keyForButton(Uint8 button);
// The key a trigger stands for (left: slow, right: fast), or SDLK_UNKNOWN.
SDL_Keycode keyForTrigger(Uint8 axis);

// A trigger acts when let go: pulled past the upper mark, then back under the lower one.
constexpr Sint16 TriggerPulled = 16000;
constexpr Sint16 TriggerLetGo = 8000;
struct TriggerLatch {
    bool pulled[SDL_CONTROLLER_AXIS_MAX] = {};
};
// The key of a trigger released by this motion, or SDLK_UNKNOWN.
SDL_Keycode triggerRelease(TriggerLatch& latch, Uint8 axis, Sint16 value);

// Sticks as SDL reports them (-32768 .. 32767, up negative) and the D-pad, all pads merged.
struct PadState {
    Sint16 leftX = 0, leftY = 0, rightX = 0, rightY = 0;
    bool up = false, down = false, left = false, right = false;
};

// A stick inside this share of its travel counts as centred: worn sticks never rest at 0.
constexpr float StickDeadZone = 0.25f;
// The orbit view's turn at full tilt, in mouse pixels a second.
constexpr float StickTurnPixelsPerSecond = 900.0f;

// Playing only, after the arrow keys are polled: the left stick and the D-pad add their
// arrow flags to the keys'; the right stick, held over the dead zone with the orbit view
// on, turns it as a mouse moving at that speed for `seconds` would.
void applyPad(const PadState& pad, Camera& camera, double seconds);
