// Car motion: speeds, turning at the lane ends, overshoot, and the range of travel.
#include <gtest/gtest.h>

#include <algorithm>

#include "game/FrameClock.h"
#include "world/Traffic.h"

TEST(Traffic, TenLanesTenUnitsApartAllStartingAtTheSameX) {
    const Traffic traffic = makeTraffic();
    const float speeds[10] = {0.057f, 0.03f, 0.042f, 0.045f, 0.06f, 0.036f, 0.027f, 0.045f, 0.06f, 0.09f};
    const float heights[10] = {2.0f, 3.0f, 2.0f, 3.9f, 3.0f, 2.0f, 3.9f, 2.0f, 3.9f, 3.0f};
    for (int lane = 0; lane < 10; ++lane) {
        const Car& car = traffic[lane];
        EXPECT_TRUE(car.speed == speeds[lane] && car.size == 2.0f && car.laneLength == 50.0f &&
                    car.position.x == 10.0f && car.position.y == heights[lane] && car.position.z == 40 - 10 * lane)
            << "lane " << lane + 1;
    }
}

TEST(Traffic, LaneTenTurnsAfterAboutAQuarterSecond) {
    Car car = makeTraffic()[9];
    int steps = 0;
    for (; car.speed > 0.0f && steps < 10000; ++steps) car.move(0.001f);
    EXPECT_NEAR(steps * 0.001f, 15.0f / 54.0f, 0.0015f);  // 15 units at 54 units per second
    EXPECT_NEAR(car.position.x, 25.0f, 0.054f);
    EXPECT_EQ(car.speed, -0.09f);
}

TEST(Traffic, SlowIsExactlyHalfAndFastTwiceTheNormalStep) {
    for (const Car& start : makeTraffic()) {
        Car normal = start, slow = start, fast = start;
        normal.position.x = slow.position.x = fast.position.x = 0.0f;
        normal.move(1.0f / 60.0f);
        slow.move(static_cast<float>(speedFactor(GameSpeed::Slow) / 60.0));
        fast.move(static_cast<float>(speedFactor(GameSpeed::Fast) / 60.0));
        EXPECT_GT(normal.position.x, 0.0f);
        EXPECT_EQ(slow.position.x * 2.0f, normal.position.x);
        EXPECT_EQ(fast.position.x, normal.position.x * 2.0f);
    }
}

TEST(Traffic, OvershootReversesOnceAndComesBack) {
    Car east = makeTraffic()[9];
    east.position.x = 24.9f;
    east.move(0.1f);  // 5.4 units: far past the bound, and not clamped
    EXPECT_NEAR(east.position.x, 30.3f, 1e-4f);
    while (east.position.x >= 25.0f) {
        ASSERT_EQ(east.speed, -0.09f) << "reversed again while still outside";
        east.move(0.001f);
    }

    Car west = makeTraffic()[0];
    west.speed = -west.speed;
    west.position.x = -24.0f;
    west.move(0.1f);  // 3.42 units
    EXPECT_NEAR(west.position.x, -27.42f, 1e-4f);
    while (west.position.x <= -25.0f) {
        ASSERT_EQ(west.speed, 0.057f);
        west.move(0.001f);
    }
    west.speed = -west.speed;  // reaching the bound exactly turns too
    west.position.x = -25.0f;
    west.move(0.0f);
    EXPECT_GT(west.speed, 0.0f);
}

TEST(Traffic, RangeOfTravelIsMinus27To25) {
    for (const Car& start : makeTraffic()) {
        Car car = start;
        const float delta = 1.0f / 600.0f, step = start.speed * 600.0f * delta;
        float westmost = car.position.x - car.size, eastmost = car.position.x;
        int turns = 0;
        for (int i = 0; i < 60 * 600; ++i) {
            const float before = car.speed;
            car.move(delta);
            turns += car.speed != before;
            westmost = std::min(westmost, car.position.x - car.size);
            eastmost = std::max(eastmost, car.position.x);
        }
        EXPECT_GE(turns, 10);
        EXPECT_TRUE(westmost <= -27.0f && westmost >= -27.0f - step - 1e-3f) << start.speed << ": " << westmost;
        EXPECT_TRUE(eastmost >= 25.0f && eastmost <= 25.0f + step + 1e-3f) << start.speed << ": " << eastmost;
    }
}
