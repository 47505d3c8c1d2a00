// Vsync where the display waits for it, and the frame pacer where it does not.
#include "shell/Pacing.h"

#include <GL/gl.h>
#include <cstring>
#include <thread>

double startPacing(SDL_Window* window, bool uncapped) {
    if (uncapped) {
        SDL_GL_SetSwapInterval(0);
        return 0.0;
    }
    if (!softwareRenderer(reinterpret_cast<const char*>(glGetString(GL_RENDERER))) &&
        (SDL_GL_SetSwapInterval(-1) == 0 || SDL_GL_SetSwapInterval(1) == 0)) {
        return 0.0;
    }
    // A software swap returns at once, whatever the interval: the loop sleeps instead.
    SDL_GL_SetSwapInterval(0);
    SDL_DisplayMode mode{};
    // The desktop's own mode on the window's display, not a fullscreen mode it might take.
    const bool known = SDL_GetCurrentDisplayMode(SDL_GetWindowDisplayIndex(window), &mode) == 0 && mode.refresh_rate > 0;
    return known ? mode.refresh_rate : 60.0;
}

bool softwareRenderer(const char* rendererName) {
    if (rendererName == nullptr) return true;  // nothing known about it: do not trust its swap
    for (const char* name : {"llvmpipe", "softpipe", "swrast", "Software Rasterizer"}) {
        if (std::strstr(rendererName, name) != nullptr) return true;
    }
    return false;
}

FramePacer::FramePacer(double hz, TimeSource now, Sleep sleep)
    : period_(hz > 0.0 ? std::chrono::duration_cast<std::chrono::steady_clock::duration>(std::chrono::duration<double>(1.0 / hz))
                       : std::chrono::steady_clock::duration::zero()),
      now_(std::move(now)),
      sleep_(sleep ? std::move(sleep) : [](SteadyTime until) { std::this_thread::sleep_until(until); }),
      deadline_(now_()) {}

void FramePacer::wait() {
    if (period_ == std::chrono::steady_clock::duration::zero()) return;
    deadline_ += period_;
    const SteadyTime now = now_();
    if (deadline_ <= now) {
        deadline_ = now;
    } else {
        sleep_(deadline_);
    }
}
