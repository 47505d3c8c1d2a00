// Arrow-key movement: view-relative steps, strict all-or-nothing bounds, sliding, pause.
#include <gtest/gtest.h>

#include <cmath>

#include "player/Camera.h"

namespace {

const MoveBounds Field{-25.0f, 25.0f, -70.0f, 70.0f};
const float Leg = static_cast<float>(1.5 / std::sqrt(2.0));  // 0.1 s diagonally

Camera fixedAt(float x, float z, bool forward = false, bool right = false) {
    Camera c;
    c.orbitView = false;
    c.target = {x, 3.0f, z};
    c.step(0.0, Field, false);  // puts the eye at its offset
    c.keyForward = forward;
    c.keyRight = right;
    return c;
}

// Moves a fixed-view camera from (x, z) by seconds; true if the target moved.
bool moves(float x, float z, bool alongHeading, float seconds) {
    Camera c = fixedAt(x, z);
    alongHeading ? c.moveAlongHeading(Field, seconds) : c.strafe(Field, seconds);
    return c.target.x != x || c.target.z != z;
}

}  // namespace

TEST(Movement, OneFrameOfUpInTheFixedViewMovesEyeAndTargetTowardTheGoal) {
    Camera c = fixedAt(0.0f, 60.0f, true);
    c.step(0.1, Field, false);
    EXPECT_FLOAT_EQ(c.target.x, 0.0f);
    EXPECT_FLOAT_EQ(c.target.y, 3.0f);
    EXPECT_FLOAT_EQ(c.target.z, 58.5f);
    EXPECT_FLOAT_EQ(c.eye.y, 13.0f);
    EXPECT_FLOAT_EQ(c.eye.z, 71.5f);
}

TEST(Movement, DiagonalCoversTheStraightDistanceAndOppositeKeysCancel) {
    Camera c = fixedAt(0.0f, 60.0f, true, true);
    c.step(0.1, Field, false);
    EXPECT_FLOAT_EQ(c.target.x, Leg);
    EXPECT_FLOAT_EQ(c.target.z, 60.0f - Leg);

    Camera both = fixedAt(0.0f, 60.0f, true);
    both.keyBackward = both.keyLeft = true;
    both.step(0.1, Field, false);
    EXPECT_FLOAT_EQ(both.target.z, 60.0f);
    EXPECT_FLOAT_EQ(both.target.x, -Leg);
}

TEST(Movement, AStepReachingAnyEdgeIsRefusedWhole) {
    // 0.0625 s is 0.9375 units: each lands exactly on an edge, which is outside; half is inside.
    EXPECT_FALSE(moves(24.0625f, 0, false, 0.0625f));
    EXPECT_TRUE(moves(24.0625f, 0, false, 0.03125f));
    EXPECT_FALSE(moves(-24.0625f, 0, false, -0.0625f));
    EXPECT_TRUE(moves(-24.0625f, 0, false, -0.03125f));
    EXPECT_FALSE(moves(0, -69.0625f, true, 0.0625f));
    EXPECT_TRUE(moves(0, -69.0625f, true, 0.03125f));
    EXPECT_FALSE(moves(0, 69.0625f, true, -0.0625f));
    EXPECT_TRUE(moves(0, 69.0625f, true, -0.03125f));
}

TEST(Movement, BlockedRightStillLetsUpSlideAlongTheEdge) {
    Camera c = fixedAt(24.9f, 0.0f, true, true);
    c.step(0.1, Field, false);
    EXPECT_EQ(c.target.x, 24.9f) << "not clamped to the edge either";
    EXPECT_FLOAT_EQ(c.eye.x, 35.9f);
    EXPECT_FLOAT_EQ(c.target.z, -Leg);
    EXPECT_FLOAT_EQ(c.eye.z - c.target.z, 13.0f);
}

TEST(Movement, OrbitViewUpFollowsTheHeadingAndRightItsPerpendicular) {
    Camera c;
    c.step(0.0, Field, false);  // heading (-0.514, 0, -0.857)
    c.keyForward = true;
    c.step(0.1, Field, false);
    EXPECT_NEAR(c.target.x, -0.7717437f, 1e-5f);
    EXPECT_NEAR(c.target.z, 58.7137606f, 1e-5f);
    c.keyForward = false;
    c.keyRight = true;
    c.step(0.1, Field, false);
    EXPECT_NEAR(c.target.x, 0.5144957f, 1e-5f);
    EXPECT_NEAR(c.target.z, 57.9420169f, 1e-5f);
    EXPECT_NEAR(c.eye.x - c.target.x, 6.0f, 1e-4f);  // the arm is carried along
    EXPECT_NEAR(c.eye.z - c.target.z, 10.0f, 1e-4f);
}

TEST(Movement, HeldKeysDoNotMoveThePausedDuck) {
    Camera c = fixedAt(0.0f, 60.0f, true);
    c.keyLeft = true;
    c.step(0.5, Field, true, true);
    EXPECT_EQ(c.target.x, 0.0f);
    EXPECT_EQ(c.target.z, 60.0f);
    EXPECT_FLOAT_EQ(c.eye.z, 73.0f);
    c.step(0.1, Field, false, false);  // resuming moves again with the same flags
    EXPECT_LT(c.target.z, 60.0f);
}
