// The view the camera hands to OpenGL, read back from the modelview matrix.
#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>

#include "player/Camera.h"
#include "support/GlContext.h"

namespace {

const MoveBounds Field{-25.0f, 25.0f, -70.0f, 70.0f};

std::array<float, 16> modelview() {
    std::array<float, 16> m{};
    glGetFloatv(GL_MODELVIEW_MATRIX, m.data());
    return m;
}

std::array<float, 16> lookAtMatrix(double ex, double ey, double ez, double cx, double cy, double cz) {
    glPushMatrix();
    glLoadIdentity();
    gluLookAt(ex, ey, ez, cx, cy, cz, 0.0, 1.0, 0.0);
    const std::array<float, 16> m = modelview();
    glPopMatrix();
    return m;
}

float maxDifference(const std::array<float, 16>& a, const std::array<float, 16>& b) {
    float worst = 0.0f;
    for (int i = 0; i < 16; ++i) worst = std::max(worst, std::fabs(a[i] - b[i]));
    return worst;
}

class CameraView : public GlTest {};

}  // namespace

TEST_F(CameraView, StartViewIsTheLookAtOfTheStartEye) {
    Camera c;
    glLoadIdentity();
    c.update(0.0, Field, false);
    EXPECT_LT(maxDifference(modelview(), lookAtMatrix(6, 5, 70, 0, 3, 60)), 1e-5f);
    EXPECT_EQ(glStackDepth(GL_MODELVIEW_STACK_DEPTH), 1);
}

TEST_F(CameraView, FixedViewLooksFromItsOffsetAfterAMove) {
    Camera c;
    c.orbitView = false;
    c.keyForward = true;
    c.keyRight = true;
    glLoadIdentity();
    c.update(0.2, Field, false);
    const Vec3 t = c.target;
    EXPECT_LT(maxDifference(modelview(), lookAtMatrix(t.x + 11, t.y + 10, t.z + 13, t.x, t.y, t.z)), 1e-5f);
}

TEST_F(CameraView, EyeBelowHalfAUnitIsViewedFromHalfAUnit) {
    Camera c;
    c.reset({6.0f, 0.2f, 70.0f}, {0.0f, 3.0f, 60.0f});
    c.orbitPlaced = true;
    glLoadIdentity();
    c.update(0.0, Field, false);
    const std::array<float, 16> view = modelview();
    EXPECT_LT(maxDifference(view, lookAtMatrix(6, 0.5, 70, 0, 3, 60)), 1e-5f);
    EXPECT_GT(maxDifference(view, lookAtMatrix(6, 0.2, 70, 0, 3, 60)), 1e-3f);
    EXPECT_EQ(c.eye.y, 0.2f);
}
