// What a drawing sends down the GL pipeline, caught in GL_FEEDBACK render mode, for tests
// that check geometry rather than pixels.
#pragma once

#include <GL/gl.h>

#include <cstddef>
#include <functional>
#include <vector>

// Position in object space; colour and texture coordinate only with GL_3D_COLOR_TEXTURE.
struct FedVertex {
    float x = 0.0f, y = 0.0f, z = 0.0f;
    float color[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    float tex[4] = {0.0f, 0.0f, 0.0f, 0.0f};
};

struct FedPrimitive {
    GLenum token = 0;
    std::vector<FedVertex> vertices;
};

// Runs draw in feedback mode (GL_3D or GL_3D_COLOR_TEXTURE, RGBA) and maps each vertex back
// through the matrices and viewport in force before draw, so a matrix the drawing fails to
// restore cannot hide in the mapping. An overflow or a record it cannot parse fails the test.
std::vector<FedPrimitive> captureFeedback(const std::function<void()>& draw, GLenum type = GL_3D_COLOR_TEXTURE,
                                          std::size_t bufferFloats = std::size_t{1} << 16);

// An orthographic projection of [-half, half] on every axis and an identity modelview.
void orthoBox(double half);

// Three directional lights along sign times x, y and z, coloured red, green and blue, and
// no ambient light: a lit vertex's fed-back colour then spells out its (unnormalised)
// normal's components along those directions. resetAxisLights() puts GL's defaults back.
void lightAxesAsColours(float sign = 1.0f);
void resetAxisLights();
