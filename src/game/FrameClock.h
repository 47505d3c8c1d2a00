// Frame delta and play time. The time source is injectable so tests can drive the clock.
#pragma once

#include <chrono>
#include <functional>

#include "core/GameStatus.h"

using SteadyTime = std::chrono::steady_clock::time_point;
using TimeSource = std::function<SteadyTime()>;

// 0.5 for Slow, 1 for Normal, 2 for Fast; scales only the Playing frame delta.
double speedFactor(GameSpeed speed);

// A pass simulates at most this much real time. A longer gap (the process stopped, the
// machine suspended, a stuck disk) is time the player did not see: it is dropped, as a pause
// would drop it, instead of carrying the duck and the cars through each other.
constexpr double MaxPassSeconds = 0.25;
// No step moves anything further than a collision can see: the fastest car (54 units a
// second) covers 3.6 units in it, less than the 4 units over which a car and the duck touch.
constexpr double MaxStepSeconds = 1.0 / 15.0;

// A pass's game time cut into equal steps, each followed by the collision and goal rules.
struct PassSteps {
    int count = 1;
    double seconds = 0.0;  // each step's length, the speed factor applied
};
// One step of realDelta x speed when that is within a step (the usual frame, kept to the last
// bit); otherwise the capped delta in as few equal steps as stay within MaxStepSeconds.
PassSteps passSteps(double realDelta, double speed);

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
