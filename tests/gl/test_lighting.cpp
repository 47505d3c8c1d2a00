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

    static void expectNightOnlyLights(bool on) {
        for (int i = 1; i <= 6; ++i) EXPECT_EQ(glEnabled(GL_LIGHT0 + static_cast<GLenum>(i)), on) << i;
    }

    LightingMode mode;
    Camera camera;
};

}  // namespace

TEST_F(Lighting, NightLightsTheLampsAlongTheLongSidesAndTheTravellingLight) {
    mode.nightMode = true;
    camera.target = {2.0f, 3.0f, 41.5f};
    applyLighting(mode, camera);
    EXPECT_FALSE(glEnabled(GL_LIGHT0));  // the frame enables light 0 itself
    expectNightOnlyLights(true);
    EXPECT_FALSE(glEnabled(GL_LIGHT7));
    // The lamps: at the field's side edges, at z of its ends over 1.7 and at 0.
    const float lamps[6][2] = {{-25, -41.176472f}, {25, -41.176472f}, {-25, 0}, {25, 0}, {-25, 41.176472f}, {25, 41.176472f}};
    for (int i = 0; i < 7; ++i) {
        const GLenum light = GL_LIGHT0 + static_cast<GLenum>(i);
        if (i < 6) {
            expectLight(light, GL_POSITION, lamps[i][0], 3, lamps[i][1], 1);
            expectLight(light, GL_DIFFUSE, 1.0f, 0.8f, 0.3f, 1.0f);
        }
        for (GLenum name : {GL_CONSTANT_ATTENUATION, GL_LINEAR_ATTENUATION, GL_QUADRATIC_ATTENUATION}) {
            float value = -9.0f;
            glGetLightfv(light, name, &value);
            EXPECT_FLOAT_EQ(value, name == GL_QUADRATIC_ATTENUATION ? 0.0f : 0.2f) << i << " param " << name;
        }
    }
    expectLight(GL_LIGHT6, GL_POSITION, 2.0f, 3.0f, 41.5f, 1.0f);
    expectLight(GL_LIGHT6, GL_DIFFUSE, 1, 1, 1, 1);
}

TEST_F(Lighting, DayAndSunsetUseOnlyTheSun) {
    mode.nightMode = true;
    applyLighting(mode, camera);
    mode.nightMode = false;
    applyLighting(mode, camera);
    expectNightOnlyLights(false);
    expectLight(GL_LIGHT0, GL_POSITION, 0.5f, 1.0f, 0.4f, 0.0f);
    expectLight(GL_LIGHT0, GL_DIFFUSE, 1, 1, 1, 1);

    mode.daylight = 0.0f;
    applyLighting(mode, camera);
    expectLight(GL_LIGHT0, GL_POSITION, -0.5f, 1.0f, 0.4f, 0.0f);
    expectLight(GL_LIGHT0, GL_DIFFUSE, 1.0f, 0.8f, 0.3f, 1.0f);
    expectNightOnlyLights(false);

    mode.daylight = 1.0f;
    applyLighting(mode, camera);
    expectLight(GL_LIGHT0, GL_DIFFUSE, 1, 1, 1, 1);
}
