// Car motion: speeds, turning at the lane ends, overshoot, and the range of travel.
#include <gtest/gtest.h>

#include <algorithm>

#include "game/FrameClock.h"
#include "world/Traffic.h"

namespace {
constexpr float Frame = 1.0f / 60.0f;
}

TEST(TrafficLayout, TenLanesTenUnitsApartAllStartingAtTheSameX) {
    const Traffic traffic = makeTraffic();
    const float speeds[10] = {0.057f, 0.03f, 0.042f, 0.045f, 0.06f, 0.036f, 0.027f, 0.045f, 0.06f, 0.09f};
    const float heights[10] = {2.0f, 3.0f, 2.0f, 3.9f, 3.0f, 2.0f, 3.9f, 2.0f, 3.9f, 3.0f};
    for (int lane = 0; lane < 10; ++lane) {
        SCOPED_TRACE(lane + 1);
        const Car& car = traffic[lane];
        EXPECT_EQ(car.speed, speeds[lane]);
        EXPECT_EQ(car.size, 2.0f);
        EXPECT_EQ(car.laneLength, 50.0f);
        EXPECT_EQ(car.position.x, 10.0f);
        EXPECT_EQ(car.position.y, heights[lane]);
        EXPECT_EQ(car.position.z, 40.0f - 10.0f * lane);
    }
}

TEST(TrafficMotion, LaneTenTurnsAfterAboutAQuarterSecond) {
    Car car = makeTraffic()[9];
    const float delta = 0.001f;
    int steps = 0;
    while (car.speed > 0.0f && steps < 10000) {
        const float before = car.position.x;
        car.move(delta);
        ++steps;
        if (car.speed > 0.0f) {
            EXPECT_LT(car.position.x, 25.0f) << "still going +x after passing the bound";
        } else {
            EXPECT_LT(before, 25.0f);
            EXPECT_GE(car.position.x, 25.0f);
        }
    }
    // 15 units at 54 units per second.
    EXPECT_NEAR(steps * delta, 15.0f / 54.0f, 0.0015f);
    EXPECT_EQ(car.speed, -0.09f);
}

TEST(TrafficMotion, GameSpeedScalesTheDistanceExactly) {
    // A single step from x 0 is the step itself: halving the delta halves it exactly.
    for (const Car& start : makeTraffic()) {
        Car normal = start, slow = start, fast = start;
        normal.position.x = slow.position.x = fast.position.x = 0.0f;
        normal.move(Frame);
        slow.move(static_cast<float>(Frame * speedFactor(GameSpeed::Slow)));
        fast.move(static_cast<float>(Frame * speedFactor(GameSpeed::Fast)));
        EXPECT_EQ(slow.position.x * 2.0f, normal.position.x);
        EXPECT_EQ(fast.position.x, normal.position.x * 2.0f);
    }
    // Over a fifth of a second, away from the bounds: speed x 600 units per second.
    for (const Car& start : makeTraffic()) {
        SCOPED_TRACE(start.speed);
        float covered[3];
        const GameSpeed speeds[3] = {GameSpeed::Slow, GameSpeed::Normal, GameSpeed::Fast};
        for (int s = 0; s < 3; ++s) {
            Car car = start;
            car.position.x = -20.0f;
            for (int i = 0; i < 12; ++i) car.move(static_cast<float>(Frame * speedFactor(speeds[s])));
            EXPECT_GT(car.speed, 0.0f);
            covered[s] = car.position.x + 20.0f;
        }
        EXPECT_NEAR(covered[1], start.speed * 600.0f * 0.2f, 1e-3f);
        EXPECT_NEAR(covered[0], covered[1] * 0.5f, 1e-4f);
        EXPECT_NEAR(covered[2], covered[1] * 2.0f, 1e-4f);
    }
}

TEST(TrafficMotion, OvershootReversesOnceAndComesBack) {
    Car east = makeTraffic()[9];
    east.position.x = 24.9f;
    east.move(0.1f);  // 5.4 units: far past the bound
    EXPECT_NEAR(east.position.x, 30.3f, 1e-4f) << "the position is not clamped";
    EXPECT_EQ(east.speed, -0.09f);
    float last = east.position.x;
    while (east.position.x >= 25.0f) {
        east.move(0.001f);
        EXPECT_EQ(east.speed, -0.09f) << "reversed again while still outside";
        EXPECT_LT(east.position.x, last);
        last = east.position.x;
    }

    Car west = makeTraffic()[0];
    west.speed = -west.speed;
    west.position.x = -24.0f;
    west.move(0.1f);  // 3.42 units
    EXPECT_NEAR(west.position.x, -27.42f, 1e-4f);
    EXPECT_EQ(west.speed, 0.057f);
    while (west.position.x <= -25.0f) {
        west.move(0.001f);
        EXPECT_EQ(west.speed, 0.057f);
    }
}

TEST(TrafficMotion, WestTurnWaitsForThePlusXFace) {
    Car car = makeTraffic()[1];
    car.speed = -car.speed;
    car.position.x = -24.99f;  // body already at -26.99, the +x face still inside
    car.move(0.0f);
    EXPECT_LT(car.speed, 0.0f);
    car.position.x = -25.0f;
    car.move(0.0f);
    EXPECT_GT(car.speed, 0.0f) << "equality at the bound turns";
}

TEST(TrafficMotion, RangeOfTravelIsMinus27To25) {
    for (const Car& start : makeTraffic()) {
        SCOPED_TRACE(start.speed);
        Car car = start;
        const float delta = 1.0f / 600.0f;
        const float step = start.speed * 600.0f * delta;
        float westmost = car.position.x - car.size, eastmost = car.position.x;
        int turns = 0;
        for (int i = 0; i < 60 * 600; ++i) {
            const float before = car.speed;
            car.move(delta);
            if (car.speed != before) ++turns;
            westmost = std::min(westmost, car.position.x - car.size);
            eastmost = std::max(eastmost, car.position.x);
        }
        EXPECT_GE(turns, 10);
        EXPECT_LE(westmost, -27.0f);
        EXPECT_GE(westmost, -27.0f - step - 1e-3f);
        EXPECT_GE(eastmost, 25.0f);
        EXPECT_LE(eastmost, 25.0f + step + 1e-3f);
    }
}
