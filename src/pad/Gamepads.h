// The game controllers plugged in, opened and closed as SDL reports them; any number, read
// as one.
#pragma once

#include <SDL2/SDL.h>
#include <vector>

#include "pad/PadMap.h"

class Gamepads {
public:
    ~Gamepads();
    // Opens a controller on SDL_CONTROLLERDEVICEADDED, closes it on ..REMOVED.
    void deviceEvent(const SDL_Event& event);
    // The key of a trigger let go by this SDL_CONTROLLERAXISMOTION, or SDLK_UNKNOWN.
    SDL_Keycode triggerKey(const SDL_ControllerAxisEvent& motion) { return triggerRelease(latch_, motion.axis, motion.value); }
    // The sticks and D-pads of every open controller now; the strongest tilt wins.
    PadState read() const;
    size_t count() const { return pads_.size(); }

private:
    std::vector<SDL_GameController*> pads_;
    TriggerLatch latch_;
};
