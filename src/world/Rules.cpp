// Collision of the duck with the cars, and the goal rule that keeps the progress.
#include "world/Rules.h"

#include <cmath>
#include <limits>

bool touches(const Vec3& duckPosition, float duckSize, const Car& car) {
    const float rd = duckSize * 0.5f;
    const float dx0 = duckPosition.x - rd;
    const float dz0 = duckPosition.z - rd;
    const float rc = car.size * 0.5f;
    const float cx = car.position.x - rc;
    const float cz = car.position.z - rc;
    const float ddx = dx0 - cx;
    const float ddz = dz0 - cz;
    const float squared = ddx * ddx + ddz * ddz;
    const float d = static_cast<float>(std::sqrt(static_cast<double>(squared)));
    return d <= rc + rd;
}

void checkCarCollisions(const Vec3& duckPosition, float duckSize, const Traffic& traffic, GameStatus& status) {
    // Every car is tested even after a hit; a second hit only sets the same state again.
    for (const Car& car : traffic) {
        if (touches(duckPosition, duckSize, car)) status.state = GameState::GameOver;
    }
}

void checkCarCollisions(const Duck& duck, const Traffic& traffic, GameStatus& status) {
    checkCarCollisions(duck.position, duck.size, traffic, status);
}

int32_t progressFor(float targetZ) {
    if (std::isnan(targetZ)) return std::numeric_limits<int32_t>::max();
    // In double the truncated value and the offset are exact, so the clamp below is the
    // only place a far-away z can go, never an out-of-range conversion.
    const double p = std::trunc(static_cast<double>(targetZ)) - GoalProgressOffset;
    if (p <= static_cast<double>(std::numeric_limits<int32_t>::min())) return std::numeric_limits<int32_t>::min();
    if (p >= static_cast<double>(std::numeric_limits<int32_t>::max())) return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(p);
}

void updateProgress(float targetZ, GameStatus& status) {
    const int32_t p = progressFor(targetZ);
    if (p < status.progress) status.progress = p;
    if (status.progress < GoalProgressLimit) status.state = GameState::Won;
}

void updateProgress(const Camera& camera, GameStatus& status) { updateProgress(camera.target.z, status); }
