// Camera rig: start view, the two views, mouse orbit, pitch limit, held-back mouse.
#include <gtest/gtest.h>

#include <cmath>

#include "player/Camera.h"

namespace {

const MoveBounds Field{-25.0f, 25.0f, -70.0f, 70.0f};

void expectVec(const Vec3& v, float x, float y, float z, float tolerance = 1e-4f) {
    EXPECT_NEAR(v.x, x, tolerance);
    EXPECT_NEAR(v.y, y, tolerance);
    EXPECT_NEAR(v.z, z, tolerance);
}

Vec3 arm(const Camera& c) { return {c.eye.x - c.target.x, c.eye.y - c.target.y, c.eye.z - c.target.z}; }

// An orbit camera after its first, placing step.
Camera placed() {
    Camera c;
    c.step(0.0, Field, false);
    return c;
}

// Passes with the same mouse motion each.
void mouse(Camera& c, float dx, float dy, int passes = 1) {
    for (int i = 0; i < passes; ++i) {
        c.mouseDeltaX = dx;
        c.mouseDeltaY = dy;
        c.step(0.0, Field, false);
    }
}

}  // namespace

TEST(Camera, FirstOrbitStepKeepsTheStartEyeAndAngles) {
    const Camera c = placed();
    EXPECT_TRUE(c.orbitPlaced);
    expectVec(c.eye, 6, 5, 70);
    expectVec(c.target, 0, 3, 60);
    EXPECT_NEAR(c.pitch, 9.7314755f, 1e-4f);
    EXPECT_NEAR(c.yaw, 30.9637565f, 1e-4f);
    expectVec(c.heading, -0.5144958f, 0, -0.8574929f);  // away from the eye, level
}

TEST(Camera, FixedViewKeepsItsOffsetAndOrbitTakesOverItsDirection) {
    Camera c;
    c.orbitView = false;
    c.keyForward = c.keyLeft = true;
    c.mouseDeltaX = 5.0f;
    for (double s : {0.016, 0.3}) {
        c.step(s, Field, false);
        expectVec(arm(c), 11, 10, 13);
    }
    EXPECT_EQ(c.mouseDeltaX, 5.0f) << "left for the orbit view";
    c = Camera();
    c.orbitView = false;
    c.step(0.0, Field, false);
    c.orbitView = true;
    c.orbitPlaced = false;
    c.step(0.0, Field, false);
    EXPECT_NEAR(c.yaw, 40.2363583f, 1e-3f);
    EXPECT_NEAR(c.pitch, 30.4223173f, 1e-3f);
    expectVec(arm(c), 6.5905916f, 5.9914469f, 7.7888810f);  // at the orbit distance
}

TEST(Camera, TenPixelsRightTurnsTheArmAboutTheVertical) {
    Camera c = placed();
    const float yaw = c.yaw;
    mouse(c, 10, 0);
    EXPECT_NEAR(c.yaw - yaw, -1.7188734f, 1e-5f);
    expectVec(arm(c), 5.6973452f, 2, 10.1754733f);
    EXPECT_EQ(c.mouseDeltaX, 0.0f);
}

TEST(Camera, PitchStopsAtTheLimitAndStillTurnsBack) {
    Camera c = placed();
    mouse(c, 0, 10, 60);  // mouse down raises the eye
    EXPECT_LE(c.pitch, 89.9f);
    EXPECT_GT(c.pitch, 89.9f - 1.72f);
    EXPECT_NEAR(std::hypot(std::hypot(arm(c).x, arm(c).y), arm(c).z), c.distance, 1e-3);
    const Vec3 eye = c.eye;
    const float pitch = c.pitch;
    mouse(c, 0, 10);
    EXPECT_EQ(c.pitch, pitch);
    expectVec(c.eye, eye.x, eye.y, eye.z, 0.0f);
    mouse(c, 0, -10);
    EXPECT_NEAR(c.pitch, pitch - 1.7188734f, 1e-4f);
    EXPECT_LT(c.eye.y, eye.y);
    mouse(c, 0, -10, 150);  // and on the other side
    EXPECT_GE(c.pitch, -89.9f);
    EXPECT_LT(c.eye.y, c.target.y);
}

TEST(Camera, SuppressedMotionIsKeptForTheNextStep) {
    Camera c = placed();
    const Vec3 eye = c.eye;
    c.mouseDeltaX = 10.0f;
    c.mouseDeltaY = -4.0f;
    c.step(0.0, Field, true);
    expectVec(c.eye, eye.x, eye.y, eye.z, 0.0f);
    EXPECT_EQ(c.mouseDeltaX, 10.0f);
    EXPECT_EQ(c.mouseDeltaY, -4.0f);
    c.step(0.0, Field, false);
    EXPECT_GT(std::fabs(c.eye.x - eye.x), 0.1f);
    EXPECT_EQ(c.mouseDeltaY, 0.0f);
}
