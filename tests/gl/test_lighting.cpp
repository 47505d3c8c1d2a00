// The lights of the three looks, read back from OpenGL.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include "game/Lighting.h"
#include "support/GlContext.h"

namespace {

class Lighting : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        for (int i = 0; i < 8; ++i) glDisable(GL_LIGHT0 + static_cast<GLenum>(i));
        // Positions come back in eye coordinates; keep them equal to what was passed.
        glLoadIdentity();
        computeLampPositions(mode, GrassField{});
    }

    static void expectLight(GLenum light, GLenum name, float a, float b, float c, float d) {
        float v[4] = {-9, -9, -9, -9};
        glGetLightfv(light, name, v);
        EXPECT_FLOAT_EQ(v[0], a) << "light " << light - GL_LIGHT0 << " param " << name;
        EXPECT_FLOAT_EQ(v[1], b) << "light " << light - GL_LIGHT0 << " param " << name;
        EXPECT_FLOAT_EQ(v[2], c) << "light " << light - GL_LIGHT0 << " param " << name;
        EXPECT_FLOAT_EQ(v[3], d) << "light " << light - GL_LIGHT0 << " param " << name;
    }

    static float lightParam(GLenum light, GLenum name) {
        float v = -9.0f;
        glGetLightfv(light, name, &v);
        return v;
    }

    LightingMode mode;
    Camera camera;
};

}  // namespace

TEST_F(Lighting, LampsStandAlongTheLongSides) {
    const float expected[6][4] = {{-25, 3, -41.176472f, 1}, {25, 3, -41.176472f, 1}, {-25, 3, 0, 1},
                                  {25, 3, 0, 1},           {-25, 3, 41.176472f, 1}, {25, 3, 41.176472f, 1}};
    for (int i = 0; i < 6; ++i) {
        for (int k = 0; k < 4; ++k) EXPECT_EQ(mode.lampPositions[i][k], expected[i][k]) << i << "," << k;
    }
    EXPECT_EQ(mode.lampPositions[0][2], static_cast<float>(-70.0 / 1.7));
}

TEST_F(Lighting, NightLightsTheLampsAndTheTravellingLight) {
    mode.nightMode = true;
    camera.target = {2.0f, 3.0f, 41.5f};
    applyLighting(mode, camera);
    EXPECT_FALSE(glEnabled(GL_LIGHT0));  // the frame enables light 0 itself
    for (int i = 1; i <= 6; ++i) EXPECT_TRUE(glEnabled(GL_LIGHT0 + static_cast<GLenum>(i))) << i;
    EXPECT_FALSE(glEnabled(GL_LIGHT7));
    for (int i = 0; i < 7; ++i) {
        const GLenum light = GL_LIGHT0 + static_cast<GLenum>(i);
        if (i < 6) {
            const float* p = mode.lampPositions[i];
            expectLight(light, GL_POSITION, p[0], p[1], p[2], p[3]);
            expectLight(light, GL_DIFFUSE, 1.0f, 0.8f, 0.3f, 1.0f);
        }
        EXPECT_FLOAT_EQ(lightParam(light, GL_CONSTANT_ATTENUATION), 0.2f) << i;
        EXPECT_FLOAT_EQ(lightParam(light, GL_LINEAR_ATTENUATION), 0.2f) << i;
        EXPECT_FLOAT_EQ(lightParam(light, GL_QUADRATIC_ATTENUATION), 0.0f) << i;
    }
    expectLight(GL_LIGHT6, GL_POSITION, 2.0f, 3.0f, 41.5f, 1.0f);
    expectLight(GL_LIGHT6, GL_DIFFUSE, 1, 1, 1, 1);
}

TEST_F(Lighting, DayAndSunsetUseOnlyTheSun) {
    mode.nightMode = true;
    applyLighting(mode, camera);
    mode.nightMode = false;
    applyLighting(mode, camera);
    for (int i = 1; i <= 6; ++i) EXPECT_FALSE(glEnabled(GL_LIGHT0 + static_cast<GLenum>(i))) << i;
    expectLight(GL_LIGHT0, GL_POSITION, 0.5f, 1.0f, 0.4f, 0.0f);
    expectLight(GL_LIGHT0, GL_DIFFUSE, 1, 1, 1, 1);
    // The night's attenuation stays on light 0; a directional light ignores it.
    EXPECT_FLOAT_EQ(lightParam(GL_LIGHT0, GL_CONSTANT_ATTENUATION), 0.2f);

    mode.daylight = 0.0f;
    applyLighting(mode, camera);
    expectLight(GL_LIGHT0, GL_POSITION, -0.5f, 1.0f, 0.4f, 0.0f);
    expectLight(GL_LIGHT0, GL_DIFFUSE, 1.0f, 0.8f, 0.3f, 1.0f);
    for (int i = 1; i <= 6; ++i) EXPECT_FALSE(glEnabled(GL_LIGHT0 + static_cast<GLenum>(i))) << i;

    mode.daylight = 1.0f;
    applyLighting(mode, camera);
    expectLight(GL_LIGHT0, GL_DIFFUSE, 1, 1, 1, 1);
}
