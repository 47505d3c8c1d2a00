// How fast the loop may present frames: vsync where the display waits, else a pacer that
// sleeps between frames.
#pragma once

#include <SDL2/SDL.h>
#include <functional>

#include "game/FrameClock.h"

// True for the renderers that draw on the processor (Mesa's llvmpipe, softpipe, swrast):
// their swap never waits for the display, whatever the swap interval says.
bool softwareRenderer(const char* rendererName);

// Sleeps after each frame so that frames come no faster than `hz` a second (0: never
// sleeps). A frame that ran late starts the next period from now: no burst to catch up.
class FramePacer {
public:
    using Sleep = std::function<void(SteadyTime until)>;
    FramePacer(double hz, TimeSource now = [] { return std::chrono::steady_clock::now(); }, Sleep sleep = nullptr);
    void wait();

private:
    std::chrono::steady_clock::duration period_;
    TimeSource now_;
    Sleep sleep_;
    SteadyTime deadline_;
};

// Turns on vsync where the driver's swap waits for the display (adaptive first, then
// plain) and returns 0; otherwise returns the display's refresh rate (60 when unknown)
// for the loop to pace itself to. Uncapped: vsync off, and 0.
double startPacing(SDL_Window* window, bool uncapped);
