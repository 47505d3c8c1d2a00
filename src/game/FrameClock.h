// Frame delta and play time. The time source is injectable so tests can drive the clock.
#pragma once

#include <chrono>
#include <functional>

#include "game/GameStatus.h"

using SteadyTime = std::chrono::steady_clock::time_point;
using TimeSource = std::function<SteadyTime()>;

// 0.5 for Slow, 1 for Normal, 2 for Fast; scales only the Playing frame delta.
double speedFactor(GameSpeed speed);

struct FrameClock {
    explicit FrameClock(TimeSource source = [] { return std::chrono::steady_clock::now(); });

    SteadyTime frameLast;
    SteadyTime playStart;
    SteadyTime playLast;
    bool clockRunning = false;

    // Seconds since the previous reading; moves frameLast to now.
    double tick();
    // Carries the play time counted so far across a pause or an end screen.
    void resumePlay();
    // playLast = now; elapsedSeconds = whole seconds of play, truncated.
    void updatePlayTime(GameStatus& status);
    // Play time back to zero (two readings, as a restart does).
    void restartPlay();
    // The current reading of the time source.
    SteadyTime now() const { return source_(); }

private:
    TimeSource source_;
};
