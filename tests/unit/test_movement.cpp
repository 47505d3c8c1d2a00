// Arrow-key movement: view-relative steps, strict all-or-nothing bounds, sliding, pause.
#include <gtest/gtest.h>

#include <cmath>

#include "player/Camera.h"

namespace {

const MoveBounds Field{-25.0f, 25.0f, -70.0f, 70.0f};

Camera fixedCamera(float targetX, float targetZ) {
    Camera c;
    c.orbitView = false;
    c.target = {targetX, 3.0f, targetZ};
    c.step(0.0, Field, false);  // puts the eye at its offset
    return c;
}

}  // namespace

TEST(MovementFixedView, OneFrameOfUpMovesEyeAndTargetTowardTheGoal) {
    Camera c = fixedCamera(0.0f, 60.0f);
    c.keyForward = true;
    c.step(0.1, Field, false);
    EXPECT_FLOAT_EQ(c.target.z, 58.5f);
    EXPECT_FLOAT_EQ(c.eye.z, 71.5f);
    EXPECT_FLOAT_EQ(c.target.x, 0.0f);
    EXPECT_FLOAT_EQ(c.target.y, 3.0f);
    EXPECT_FLOAT_EQ(c.eye.y, 13.0f);
}

TEST(MovementFixedView, DiagonalCoversTheStraightDistance) {
    Camera c = fixedCamera(0.0f, 60.0f);
    c.keyForward = true;
    c.keyRight = true;
    c.step(0.1, Field, false);
    const float leg = static_cast<float>(0.1 / std::sqrt(2.0)) * 15.0f;
    EXPECT_FLOAT_EQ(c.target.x, leg);
    EXPECT_FLOAT_EQ(c.target.z, 60.0f - leg);
    EXPECT_NEAR(std::hypot(c.target.x, c.target.z - 60.0f), 1.5, 1e-5);

    Camera both = fixedCamera(0.0f, 60.0f);  // opposite keys cancel, at full step
    both.keyForward = both.keyBackward = true;
    both.keyLeft = true;
    both.step(0.1, Field, false);
    EXPECT_FLOAT_EQ(both.target.z, 60.0f);
    EXPECT_FLOAT_EQ(both.target.x, -leg);
}

TEST(MovementBounds, StepReachingTheEdgeIsRefusedWhole) {
    Camera c = fixedCamera(24.9f, 0.0f);
    const Vec3 eye = c.eye;
    c.keyRight = true;
    c.step(0.01, Field, false);  // would reach 25.05
    EXPECT_EQ(c.target.x, 24.9f);
    EXPECT_EQ(c.eye.x, eye.x);

    // Steps that land exactly on each edge are still outside; 0.0625 s is 0.9375 units.
    struct Edge {
        float x, z;
        bool alongHeading;
        float seconds;
    };
    const Edge edges[] = {{24.0625f, 0, false, 0.0625f},
                          {-24.0625f, 0, false, -0.0625f},
                          {0, -69.0625f, true, 0.0625f},
                          {0, 69.0625f, true, -0.0625f}};
    for (const Edge& e : edges) {
        Camera edge = fixedCamera(e.x, e.z);
        if (e.alongHeading) edge.moveAlongHeading(Field, e.seconds);
        else edge.strafe(Field, e.seconds);
        EXPECT_EQ(edge.target.x, e.x);
        EXPECT_EQ(edge.target.z, e.z);
        if (e.alongHeading) edge.moveAlongHeading(Field, e.seconds * 0.5f);
        else edge.strafe(Field, e.seconds * 0.5f);
        EXPECT_TRUE(edge.target.x != e.x || edge.target.z != e.z) << "half a step inside from " << e.x << "," << e.z;
    }
}

TEST(MovementBounds, BlockedRightStillLetsUpSlideAlongTheEdge) {
    Camera c = fixedCamera(24.9f, 0.0f);
    c.keyForward = true;
    c.keyRight = true;
    c.step(0.1, Field, false);
    EXPECT_EQ(c.target.x, 24.9f);
    EXPECT_FLOAT_EQ(c.target.z, -static_cast<float>(0.1 / std::sqrt(2.0)) * 15.0f);
    EXPECT_FLOAT_EQ(c.eye.z - c.target.z, 13.0f);
}

TEST(MovementOrbitView, UpFollowsHeadingAndRightFollowsRight) {
    Camera c;
    c.step(0.0, Field, false);
    const Vec3 heading = c.heading;
    const Vec3 right = c.right;
    c.keyForward = true;
    c.step(0.1, Field, false);
    EXPECT_FLOAT_EQ(c.target.x, 1.5f * heading.x);
    EXPECT_FLOAT_EQ(c.target.z, 60.0f + 1.5f * heading.z);
    c.keyForward = false;
    c.keyRight = true;
    const Vec3 before = c.target;
    c.step(0.1, Field, false);
    EXPECT_NEAR(c.target.x - before.x, 1.5f * right.x, 1e-5f);
    EXPECT_NEAR(c.target.z - before.z, 1.5f * right.z, 1e-5f);
    EXPECT_EQ(c.target.y, 3.0f);
    EXPECT_NEAR(c.eye.x - c.target.x, 6.0f, 1e-4f);  // the arm is carried along
    EXPECT_NEAR(c.eye.z - c.target.z, 10.0f, 1e-4f);
}

TEST(MovementPause, HeldFlagsDoNotMoveThePausedDuck) {
    Camera c;
    c.keyForward = true;
    c.keyLeft = true;
    c.step(0.5, Field, true, true);
    EXPECT_EQ(c.target.x, 0.0f);
    EXPECT_EQ(c.target.z, 60.0f);
    EXPECT_TRUE(c.keyForward);
    EXPECT_TRUE(c.keyLeft);
    // The eye is still placed for the view while paused.
    c.orbitView = false;
    c.step(0.5, Field, true, true);
    EXPECT_EQ(c.target.z, 60.0f);
    EXPECT_FLOAT_EQ(c.eye.z, 73.0f);
    // Resuming moves again with the same flags.
    c.step(0.1, Field, false, false);
    EXPECT_LT(c.target.z, 60.0f);
}
