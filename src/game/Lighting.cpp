// The lights of the three looks: day sun, sunset sun, night lamps with a travelling light.
#include "game/Lighting.h"

#include <GL/gl.h>

namespace {

constexpr GLfloat SunPosition[4] = {0.5f, 1.0f, 0.4f, 0.0f};
constexpr GLfloat SunsetPosition[4] = {-0.5f, 1.0f, 0.4f, 0.0f};
constexpr GLfloat White[4] = {1.0f, 1.0f, 1.0f, 1.0f};
constexpr GLfloat Warm[4] = {1.0f, 0.8f, 0.3f, 1.0f};
constexpr float LampHeight = 3.0f;
constexpr double LampDepthDivisor = 1.7;

void setPointAttenuation(GLenum light) {
    glLightf(light, GL_CONSTANT_ATTENUATION, 0.2f);
    glLightf(light, GL_LINEAR_ATTENUATION, 0.2f);
    glLightf(light, GL_QUADRATIC_ATTENUATION, 0.0f);
}

void setLamp(float (&lamp)[4], float x, float z) {
    lamp[0] = x;
    lamp[1] = LampHeight;
    lamp[2] = z;
    lamp[3] = 1.0f;
}

}  // namespace

void computeLampPositions(LightingMode& lighting, const GrassField& field) {
    const float farZ = static_cast<float>(field.minZ / LampDepthDivisor);
    const float nearZ = static_cast<float>(field.maxZ / LampDepthDivisor);
    setLamp(lighting.lampPositions[0], field.minX, farZ);
    setLamp(lighting.lampPositions[1], field.maxX, farZ);
    setLamp(lighting.lampPositions[2], field.minX, 0.0f);
    setLamp(lighting.lampPositions[3], field.maxX, 0.0f);
    setLamp(lighting.lampPositions[4], field.minX, nearZ);
    setLamp(lighting.lampPositions[5], field.maxX, nearZ);
}

void applyLighting(const LightingMode& lighting, const Camera& camera) {
    if (lighting.nightMode) {
        // Light 0 is left to the frame, which enables it in every state.
        for (int i = 0; i < 6; ++i) {
            const GLenum light = GL_LIGHT0 + static_cast<GLenum>(i);
            if (i >= 1) glEnable(light);
            glLightfv(light, GL_POSITION, lighting.lampPositions[i]);
            setPointAttenuation(light);
        }
        for (int i = 0; i < 6; ++i) glLightfv(GL_LIGHT0 + static_cast<GLenum>(i), GL_DIFFUSE, Warm);

        const Vec3& target = camera.target;
        const GLfloat travelling[4] = {target[0], target[1], target[2], 1.0f};
        glEnable(GL_LIGHT6);
        glLightfv(GL_LIGHT6, GL_POSITION, travelling);
        setPointAttenuation(GL_LIGHT6);
        glLightfv(GL_LIGHT6, GL_DIFFUSE, White);
        return;
    }

    constexpr GLenum NightOnly[6] = {GL_LIGHT1, GL_LIGHT2, GL_LIGHT3, GL_LIGHT4, GL_LIGHT5, GL_LIGHT6};
    for (GLenum light : NightOnly) glDisable(light);
    if (lighting.daylight != 0.0f) {
        glLightfv(GL_LIGHT0, GL_POSITION, SunPosition);
        glLightfv(GL_LIGHT0, GL_DIFFUSE, White);
    } else {
        glLightfv(GL_LIGHT0, GL_POSITION, SunsetPosition);
        glLightfv(GL_LIGHT0, GL_DIFFUSE, Warm);
    }
}
