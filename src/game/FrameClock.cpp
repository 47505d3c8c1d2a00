// Frame and play clocks of the game loop.
#include "game/FrameClock.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>

namespace {
double secondsBetween(SteadyTime from, SteadyTime to) {
    const int64_t nanos = std::chrono::duration_cast<std::chrono::nanoseconds>(to - from).count();
    return static_cast<double>(nanos) / 1e9;
}
}  // namespace

double speedFactor(GameSpeed speed) {
    switch (speed) {
        case GameSpeed::Slow: return 0.5;
        case GameSpeed::Fast: return 2.0;
        case GameSpeed::Normal: break;
    }
    return 1.0;
}

PassSteps passSteps(double realDelta, double speed) {
    const double scaled = std::min(realDelta, MaxPassSeconds) * speed;
    if (!(scaled > MaxStepSeconds)) return PassSteps{1, scaled};
    const int count = static_cast<int>(std::ceil(scaled / MaxStepSeconds));
    return PassSteps{count, scaled / count};
}

FrameClock::FrameClock(TimeSource source) : source_(std::move(source)) {
    const SteadyTime start = source_();
    frameLast = start;
    playStart = start;
    playLast = start;
}

double FrameClock::tick() {
    const SteadyTime current = source_();
    const double delta = secondsBetween(frameLast, current);
    frameLast = current;
    return delta;
}

void FrameClock::resumePlay() {
    const SteadyTime current = source_();
    playStart = current - (playLast - playStart);
}

void FrameClock::updatePlayTime(GameStatus& status) {
    playLast = source_();
    status.elapsedSeconds = static_cast<int32_t>(secondsBetween(playStart, playLast));
}

void FrameClock::restartPlay() {
    playStart = source_();
    playLast = source_();
}
