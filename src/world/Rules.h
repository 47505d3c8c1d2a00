// The rules that end a run: a car touching the duck, and the duck passing the goal.
#pragma once

#include "game/GameStatus.h"
#include "player/Camera.h"
#include "player/Duck.h"
#include "world/Traffic.h"

constexpr int GoalProgressOffset = 60;
constexpr int GoalProgressLimit = -120;

// True when the two circles in the ground plane touch (equality counts).
bool touches(const Vec3& duckPosition, float duckSize, const Car& car);
void checkCarCollisions(const Duck& duck, const Traffic& traffic, GameStatus& status);
void updateProgress(const Camera& camera, GameStatus& status);
