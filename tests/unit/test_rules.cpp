// The collision test between the duck and the cars, and the goal rule.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "render/Overlay.h"
#include "world/Rules.h"

namespace {
// A car of size 2 whose centre in the ground plane is (cx, cz).
Car carCentredAt(float cx, float cz, float y = 2.0f) {
    Car car;
    car.speed = 0.05f;
    car.size = 2.0f;
    car.position = {cx + 1.0f, y, cz + 1.0f};
    return car;
}

// The maximum corner of a duck of size 2 centred on (x, z).
Vec3 duckCentredAt(float x, float z) { return {x + 1.0f, 1.0f, z + 1.0f}; }

Traffic farAway() {
    Traffic traffic = makeTraffic();
    for (Car& car : traffic) car.position.x = -1000.0f;
    return traffic;
}

bool sameStatus(const GameStatus& a, const GameStatus& b) {
    return a.state == b.state && a.gameSpeed == b.gameSpeed && a.texturesEnabled == b.texturesEnabled &&
           a.wireframe == b.wireframe && a.smoothShading == b.smoothShading && a.progress == b.progress &&
           a.elapsedSeconds == b.elapsedSeconds;
}
}  // namespace

TEST(CarCollision, DistanceBetweenCentresDecides) {
    const Car car = carCentredAt(9.0f, 39.0f);
    // Touching: exactly 2.0 apart, along x and along z.
    EXPECT_TRUE(touches(duckCentredAt(11.0f, 39.0f), 2.0f, car));
    EXPECT_TRUE(touches(duckCentredAt(9.0f, 37.0f), 2.0f, car));
    EXPECT_TRUE(touches(duckCentredAt(7.0f, 39.0f), 2.0f, car));
    // Apart by a hair.
    EXPECT_FALSE(touches(duckCentredAt(11.01f, 39.0f), 2.0f, car));
    EXPECT_FALSE(touches(duckCentredAt(9.0f, 41.01f), 2.0f, car));
    // Overlapping squares at a diagonal, but the circles are 2.12 apart.
    EXPECT_FALSE(touches(duckCentredAt(10.5f, 40.5f), 2.0f, car));
    EXPECT_TRUE(touches(duckCentredAt(10.4f, 40.4f), 2.0f, car));
    // Inside.
    EXPECT_TRUE(touches(duckCentredAt(9.0f, 39.0f), 2.0f, car));
    // The radii come from the sizes: a duck of size 4 centred 3 away touches, 3.9 does not.
    EXPECT_TRUE(touches({14.0f, 0.0f, 41.0f}, 4.0f, car));
    EXPECT_FALSE(touches({13.95f, 0.0f, 40.95f}, 3.9f, car));
}

TEST(CarCollision, HeightPlaysNoPart) {
    const Car floating = carCentredAt(0.0f, -21.0f, 3.9f);
    EXPECT_TRUE(touches(duckCentredAt(0.0f, -21.0f), 2.0f, floating));
    Vec3 high = duckCentredAt(0.0f, -21.0f);
    high.y = 100.0f;
    EXPECT_TRUE(touches(high, 2.0f, floating));
}

TEST(CarCollision, AHitSetsGameOverAndNothingElse) {
    Traffic traffic = farAway();
    GameStatus status;
    status.state = GameState::Playing;
    status.progress = -42;
    status.elapsedSeconds = 17;
    status.wireframe = true;

    checkCarCollisions(duckCentredAt(0.0f, 25.0f), 2.0f, traffic, status);
    EXPECT_EQ(status.state, GameState::Playing);

    // Two cars on the duck in the same pass, one of them the last in the array.
    traffic[2] = carCentredAt(0.0f, 25.5f);
    traffic[9] = carCentredAt(0.5f, 25.0f, 3.0f);
    GameStatus expected = status;
    expected.state = GameState::GameOver;
    checkCarCollisions(duckCentredAt(0.0f, 25.0f), 2.0f, traffic, status);
    EXPECT_TRUE(sameStatus(status, expected));

    // Only the last car touching still counts: no early exit before the end.
    traffic[2].position.x = -1000.0f;
    status.state = GameState::Playing;
    checkCarCollisions(duckCentredAt(0.0f, 25.0f), 2.0f, traffic, status);
    EXPECT_EQ(status.state, GameState::GameOver);
}

TEST(CarCollision, DuckAndCameraWrappers) {
    Camera camera;
    Duck duck(camera, 0, 0);
    Traffic traffic = makeTraffic();
    GameStatus status;
    status.state = GameState::Playing;

    // At the start line no car is near.
    duck.position = duckPositionFor(camera.target, duck.size);
    checkCarCollisions(duck, traffic, status);
    EXPECT_EQ(status.state, GameState::Playing);

    // Standing in lane 1 on its car's centre.
    camera.target = {9.0f, 3.0f, 39.0f};
    duck.position = duckPositionFor(camera.target, duck.size);
    checkCarCollisions(duck, traffic, status);
    EXPECT_EQ(status.state, GameState::GameOver);

    status.state = GameState::Playing;
    camera.target.z = -61.0f;
    updateProgress(camera, status);
    EXPECT_EQ(status.progress, -121);
    EXPECT_EQ(status.state, GameState::Won);
}

TEST(GoalRule, ProgressTruncatesTowardZero) {
    EXPECT_EQ(progressFor(60.0f), 0);
    EXPECT_EQ(progressFor(59.5f), -1);
    EXPECT_EQ(progressFor(60.7f), 0);
    EXPECT_EQ(progressFor(0.5f), -60);
    EXPECT_EQ(progressFor(-0.5f), -60);
    EXPECT_EQ(progressFor(-60.0f), -120);
    EXPECT_EQ(progressFor(-60.9f), -120);
    EXPECT_EQ(progressFor(-61.0f), -121);
}

TEST(GoalRule, OutOfRangeTargetsSaturate) {
    EXPECT_EQ(progressFor(3e9f), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(progressFor(-3e9f), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(progressFor(std::numeric_limits<float>::infinity()), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(progressFor(-std::numeric_limits<float>::infinity()), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(progressFor(std::nanf("")), std::numeric_limits<int32_t>::max());

    GameStatus status;
    status.state = GameState::Playing;
    status.progress = -5;
    updateProgress(std::nanf(""), status);
    EXPECT_EQ(status.progress, -5);
    EXPECT_EQ(status.state, GameState::Playing);
}

TEST(GoalRule, WonOnlyBeyondMinus120) {
    GameStatus status;
    status.state = GameState::Playing;
    updateProgress(-60.0f, status);
    EXPECT_EQ(status.progress, -120);
    EXPECT_EQ(status.state, GameState::Playing);
    updateProgress(-60.9f, status);
    EXPECT_EQ(status.state, GameState::Playing);
    updateProgress(-61.0f, status);
    EXPECT_EQ(status.progress, -121);
    EXPECT_EQ(status.state, GameState::Won);

    char score[32];
    formatScore(status.progress, score, sizeof score);
    EXPECT_STREQ(score, "121");
}

TEST(GoalRule, ProgressOnlyFalls) {
    GameStatus status;
    status.state = GameState::Playing;
    for (float z = 60.0f; z >= -30.0f; z -= 0.25f) updateProgress(z, status);
    EXPECT_EQ(status.progress, -90);
    for (float z = -30.0f; z <= 50.0f; z += 0.25f) updateProgress(z, status);
    EXPECT_EQ(status.progress, -90);
    EXPECT_EQ(status.state, GameState::Playing);

    // Stepping back a little never gives back a unit.
    status.progress = -1;
    updateProgress(60.7f, status);
    EXPECT_EQ(status.progress, -1);
}
