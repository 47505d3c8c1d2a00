// Camera rig: start view, the two views, mouse orbit, pitch limit, held-back mouse.
#include <gtest/gtest.h>

#include <cmath>

#include "player/Camera.h"

namespace {

const MoveBounds Field{-25.0f, 25.0f, -70.0f, 70.0f};

void expectVec(const Vec3& actual, float x, float y, float z, float tolerance = 1e-4f) {
    EXPECT_NEAR(actual.x, x, tolerance);
    EXPECT_NEAR(actual.y, y, tolerance);
    EXPECT_NEAR(actual.z, z, tolerance);
}

Vec3 arm(const Camera& c) { return {c.eye.x - c.target.x, c.eye.y - c.target.y, c.eye.z - c.target.z}; }

}  // namespace

TEST(CameraStart, FirstOrbitStepKeepsTheStartEyeAndAngles) {
    Camera c;
    c.step(0.0, Field, false);
    EXPECT_TRUE(c.orbitPlaced);
    expectVec(c.eye, 6, 5, 70);
    expectVec(c.target, 0, 3, 60);
    EXPECT_NEAR(c.distance, 11.8321596f, 1e-5f);
    EXPECT_NEAR(c.pitch, 9.7314755f, 1e-4f);
    EXPECT_NEAR(c.yaw, 30.9637565f, 1e-4f);
    // The heading follows yaw, the relation the duck's facing relies on.
    const double yawRad = c.yaw * 3.14159265 / 180.0;
    expectVec(c.heading, static_cast<float>(-std::sin(yawRad)), 0, static_cast<float>(-std::cos(yawRad)));
    EXPECT_NEAR(c.up.y, std::cos(c.pitch * 3.14159265 / 180.0), 1e-5);
}

TEST(CameraViews, FixedViewKeepsItsOffsetThroughMoves) {
    Camera c;
    c.orbitView = false;
    c.keyForward = true;
    c.keyLeft = true;
    for (double s : {0.016, 0.3, 0.05}) {
        c.step(s, Field, false);
        expectVec(arm(c), 11, 10, 13);
    }
    EXPECT_LT(c.target.z, 60.0f);
    EXPECT_LT(c.target.x, 0.0f);
}

TEST(CameraViews, FixedToOrbitPlacesTheEyeAtTheOrbitDistance) {
    Camera c;
    c.orbitView = false;
    c.step(0.0, Field, false);
    c.orbitView = true;
    c.orbitPlaced = false;
    c.step(0.0, Field, false);
    EXPECT_NEAR(c.yaw, 40.2363583f, 1e-3f);
    EXPECT_NEAR(c.pitch, 30.4223173f, 1e-3f);
    EXPECT_NEAR(c.distance, 11.8321596f, 1e-5f);
    const float k = 11.8321596f / std::sqrt(390.0f);
    expectVec(arm(c), 11 * k, 10 * k, 13 * k);
}

TEST(CameraMouse, TenPixelsRightTurnsTheArmAboutTheVertical) {
    Camera c;
    c.step(0.0, Field, false);
    const float yawBefore = c.yaw;
    c.mouseDeltaX = 10.0f;
    c.step(0.0, Field, false);
    EXPECT_NEAR(c.yaw - yawBefore, -1.7188734f, 1e-5f);
    const double a = -0.03;  // radians, right-handed about +y
    expectVec(arm(c), static_cast<float>(6 * std::cos(a) + 10 * std::sin(a)), 2,
              static_cast<float>(-6 * std::sin(a) + 10 * std::cos(a)));
    EXPECT_EQ(c.mouseDeltaX, 0.0f);
    EXPECT_EQ(c.mouseDeltaY, 0.0f);
}

TEST(CameraMouse, PitchStopsAtTheLimitAndStillTurnsBack) {
    Camera c;
    c.step(0.0, Field, false);
    float lastEyeY = c.eye.y;
    for (int i = 0; i < 60; ++i) {  // mouse down: raise the eye
        c.mouseDeltaY = 10.0f;
        c.step(0.0, Field, false);
        EXPECT_LE(c.pitch, 89.9f);
        EXPECT_GE(c.eye.y, lastEyeY);
        EXPECT_NEAR(std::hypot(std::hypot(arm(c).x, arm(c).y), arm(c).z), c.distance, 1e-3);
        lastEyeY = c.eye.y;
    }
    EXPECT_GT(c.pitch, 89.9f - 1.72f);
    const Vec3 eyeAtLimit = c.eye;
    const float pitchAtLimit = c.pitch;
    c.mouseDeltaY = 10.0f;
    c.step(0.0, Field, false);
    EXPECT_EQ(c.pitch, pitchAtLimit);
    expectVec(c.eye, eyeAtLimit.x, eyeAtLimit.y, eyeAtLimit.z, 0.0f);

    c.mouseDeltaY = -10.0f;  // mouse up is still accepted
    c.step(0.0, Field, false);
    EXPECT_NEAR(c.pitch, pitchAtLimit - 1.7188734f, 1e-4f);
    EXPECT_LT(c.eye.y, eyeAtLimit.y);

    for (int i = 0; i < 150; ++i) {  // and on the other side
        c.mouseDeltaY = -10.0f;
        c.step(0.0, Field, false);
        EXPECT_GE(c.pitch, -89.9f);
    }
    EXPECT_LT(c.pitch, -89.9f + 1.72f);
    EXPECT_LT(c.eye.y, c.target.y);
}

TEST(CameraMouse, PitchAlreadyPastTheLimitMayTurnBack) {
    Camera c;
    c.reset({0.001f, 14.8f, 60.0f}, {0.0f, 3.0f, 60.0f});  // almost straight down
    ASSERT_GT(c.pitch, 89.99f);
    const float pitch = c.pitch;
    c.orbitPitch(0.1f);  // looking up a little: still past the limit, but accepted
    EXPECT_NEAR(c.pitch, pitch - 0.0171887f, 1e-5f);
    const Vec3 eye = c.eye;
    c.orbitPitch(-0.1f);  // further down: refused
    EXPECT_NEAR(c.pitch, pitch - 0.0171887f, 1e-5f);
    expectVec(c.eye, eye.x, eye.y, eye.z, 0.0f);
}

TEST(CameraMouse, SuppressedMotionIsKeptForTheNextStep) {
    Camera c;
    c.step(0.0, Field, false);
    const Vec3 eye = c.eye;
    c.mouseDeltaX = 10.0f;
    c.mouseDeltaY = -4.0f;
    c.step(0.0, Field, true);
    expectVec(c.eye, eye.x, eye.y, eye.z, 0.0f);
    EXPECT_EQ(c.mouseDeltaX, 10.0f);
    EXPECT_EQ(c.mouseDeltaY, -4.0f);
    c.step(0.0, Field, false);
    EXPECT_GT(std::fabs(c.eye.x - eye.x), 0.1f);
    EXPECT_EQ(c.mouseDeltaX, 0.0f);
    // The fixed view ignores the mouse and leaves the deltas alone.
    c.orbitView = false;
    c.mouseDeltaX = 5.0f;
    c.step(0.0, Field, false);
    EXPECT_EQ(c.mouseDeltaX, 5.0f);
    expectVec(arm(c), 11, 10, 13);
}

TEST(CameraMaths, RotationIsRightHandedAndNormalisesTheAxis) {
    const float quarter = 1.5707963f;
    expectVec(rotateAboutAxis(quarter, {0, 5, 0}, {1, 0, 0}), 0, 0, -1, 1e-6f);
    expectVec(rotateAboutAxis(quarter, {0, 0, 2}, {3, 0, 0}), 0, 3, 0, 1e-6f);
    expectVec(rotateAboutAxis(0.7f, {1, 1, 1}, {2, 2, 2}), 2, 2, 2, 1e-5f);
}
