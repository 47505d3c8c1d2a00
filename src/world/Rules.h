// The rules that end a run: a car touching the duck, and the duck passing the goal.
#pragma once

#include <cstdint>

#include "core/GameStatus.h"
#include "player/Camera.h"
#include "player/Duck.h"
#include "world/Traffic.h"

constexpr int GoalProgressOffset = 60;
constexpr int GoalProgressLimit = -120;

// True when the two circles in the ground plane touch (equality counts).
bool touches(const Vec3& duckPosition, float duckSize, const Car& car);
void checkCarCollisions(const Duck& duck, const Traffic& traffic, GameStatus& status);
// The same test from the duck's maximum corner and size.
void checkCarCollisions(const Vec3& duckPosition, float duckSize, const Traffic& traffic, GameStatus& status);

// The progress a target z stands for: z truncated toward zero, less the offset.
// Saturates at the int32 range; a NaN z counts as no advance (INT32_MAX).
int32_t progressFor(float targetZ);
void updateProgress(const Camera& camera, GameStatus& status);
// The same rule from the target's z.
void updateProgress(float targetZ, GameStatus& status);
