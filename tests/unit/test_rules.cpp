// The collision test between the duck and the cars, and the goal rule.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "render/Overlay.h"
#include "world/Rules.h"

namespace {
// A car of size 2 whose centre in the ground plane is (cx, cz).
Car carAt(float cx, float cz, float y = 2.0f) {
    Car car;
    car.speed = 0.05f;
    car.position = {cx + 1.0f, y, cz + 1.0f};
    return car;
}

// The maximum corner of a duck of size 2 centred on (x, z).
Vec3 duckAt(float x, float z) { return {x + 1.0f, 1.0f, z + 1.0f}; }

GameStatus playing() {
    GameStatus status;
    status.state = GameState::Playing;
    return status;
}
}  // namespace

TEST(CarCollision, DistanceBetweenCentresInTheGroundPlaneDecides) {
    const Car car = carAt(9.0f, 39.0f);
    EXPECT_TRUE(touches(duckAt(11.0f, 39.0f), 2.0f, car));  // exactly 2.0 apart
    EXPECT_TRUE(touches(duckAt(9.0f, 37.0f), 2.0f, car));
    EXPECT_FALSE(touches(duckAt(11.01f, 39.0f), 2.0f, car));
    EXPECT_FALSE(touches(duckAt(9.0f, 41.01f), 2.0f, car));
    EXPECT_FALSE(touches(duckAt(10.5f, 40.5f), 2.0f, car));  // squares overlap, circles 2.12 apart
    EXPECT_TRUE(touches(duckAt(10.4f, 40.4f), 2.0f, car));
    // The radii come from the sizes: a duck of size 4 centred 3 away touches, 3.9 does not.
    EXPECT_TRUE(touches({14.0f, 0.0f, 41.0f}, 4.0f, car));
    EXPECT_FALSE(touches({13.95f, 0.0f, 40.95f}, 3.9f, car));
    Vec3 high = duckAt(0.0f, -21.0f);  // height plays no part
    high.y = 100.0f;
    EXPECT_TRUE(touches(high, 2.0f, carAt(0.0f, -21.0f, 3.9f)));
}

TEST(CarCollision, AnyHitSetsGameOverAndNothingElse) {
    Traffic traffic = makeTraffic();
    for (Car& car : traffic) car.position.x = -1000.0f;
    GameStatus status = playing();
    status.progress = -42;
    status.elapsedSeconds = 17;
    checkCarCollisions(duckAt(0.0f, 25.0f), 2.0f, traffic, status);
    EXPECT_EQ(status.state, GameState::Playing);

    traffic[2] = carAt(0.0f, 25.5f);  // two cars on the duck, one the last of the array
    traffic[9] = carAt(0.5f, 25.0f, 3.0f);
    checkCarCollisions(duckAt(0.0f, 25.0f), 2.0f, traffic, status);
    EXPECT_EQ(status.state, GameState::GameOver);
    EXPECT_EQ(status.progress, -42);
    EXPECT_EQ(status.elapsedSeconds, 17);

    traffic[2].position.x = -1000.0f;  // the last car alone still counts
    status.state = GameState::Playing;
    checkCarCollisions(duckAt(0.0f, 25.0f), 2.0f, traffic, status);
    EXPECT_EQ(status.state, GameState::GameOver);
}

TEST(CarCollision, DuckAndCameraWrappers) {
    Camera camera;
    Duck duck(camera, 0, 0);
    GameStatus status = playing();
    for (const float z : {60.0f, 39.0f}) {  // the start line is clear; lane 1's car is at z 39
        camera.target = {9.0f, 3.0f, z};
        duck.position = duckPositionFor(camera.target, duck.size);
        checkCarCollisions(duck, makeTraffic(), status);
        EXPECT_EQ(status.state, z == 60.0f ? GameState::Playing : GameState::GameOver);
    }
    status.state = GameState::Playing;
    camera.target.z = -61.0f;
    updateProgress(camera, status);
    EXPECT_EQ(status.progress, -121);
    EXPECT_EQ(status.state, GameState::Won);
}

TEST(GoalRule, ProgressTruncatesTowardZeroAndSaturates) {
    EXPECT_EQ(progressFor(59.5f), -1);
    EXPECT_EQ(progressFor(60.7f), 0);
    EXPECT_EQ(progressFor(-0.5f), -60);
    EXPECT_EQ(progressFor(-60.9f), -120);
    EXPECT_EQ(progressFor(3e9f), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(progressFor(-std::numeric_limits<float>::infinity()), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(progressFor(std::nanf("")), std::numeric_limits<int32_t>::max());
}

TEST(GoalRule, WonOnlyBeyondMinus120AndProgressOnlyFalls) {
    GameStatus status = playing();
    for (float z = 60.0f; z >= -30.0f; z -= 0.25f) updateProgress(z, status);
    for (float z = -30.0f; z <= 50.0f; z += 0.25f) updateProgress(z, status);
    updateProgress(std::nanf(""), status);
    EXPECT_EQ(status.progress, -90) << "walking back gives nothing back";
    updateProgress(-60.0f, status);
    EXPECT_EQ(status.progress, -120);
    EXPECT_EQ(status.state, GameState::Playing);
    updateProgress(-61.0f, status);
    EXPECT_EQ(status.state, GameState::Won);
    char score[32];
    formatScore(status.progress, score, sizeof score);
    EXPECT_STREQ(score, "121");
}
