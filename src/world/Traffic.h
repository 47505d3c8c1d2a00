// The ten cars that shuttle across their lanes, their motion and their drawing.
#pragma once

#include <array>

#include "core/Vec3.h"

constexpr float CarSpeedScale = 600.0f;

struct Car {
    float speed = 0.0f;
    float size = 2.0f;
    Vec3 position;  // maximum corner of the cube
    float laneLength = 50.0f;

    // One pass: the motion step, then the drawing.
    void moveAndDraw(float frameDelta);
    void move(float frameDelta);
    void draw() const;  // reads GameStatus::instance().wireframe
};

using Traffic = std::array<Car, 10>;

// The ten cars of the lane table, lane 1 (z 40) first.
Traffic makeTraffic();
