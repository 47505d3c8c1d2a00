// What a drawing sends down the GL pipeline, caught in GL_FEEDBACK render mode and read
// back as primitives, for tests that check geometry rather than pixels.
#pragma once

#include <GL/gl.h>

#include <cstddef>
#include <functional>
#include <vector>

// One vertex as feedback reports it: window x, y and depth z (0..1), w for the 4D types,
// then the colour (the index in color[0] in colour-index mode) and texture coordinate
// when the feedback type carries them; zero otherwise.
struct FedVertex {
    float x = 0.0f, y = 0.0f, z = 0.0f, w = 1.0f;
    float color[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    float tex[4] = {0.0f, 0.0f, 0.0f, 0.0f};
};

// A token and its vertices: one for points, bitmaps and pixel rectangles, two for line
// segments, as many as it has for a polygon, none for a pass-through marker (whose value
// is in passThrough).
struct FedPrimitive {
    GLenum token = 0;
    std::vector<FedVertex> vertices;
    float passThrough = 0.0f;
};

// Runs draw in feedback mode and parses the buffer. A buffer too small for the drawing, an
// unknown token or a cut-off record is a test failure; what was parsed up to it is kept.
std::vector<FedPrimitive> captureFeedback(const std::function<void()>& draw, GLenum type = GL_3D_COLOR_TEXTURE,
                                          std::size_t bufferFloats = std::size_t{1} << 16);

// The primitives up to the first that is neither a polygon nor a line segment, which
// fails the test: for drawings that send nothing else.
std::vector<FedPrimitive> polygonsAndLinesOnly(std::vector<FedPrimitive> primitives);

// Maps feedback's window coordinates back to object space through the modelview,
// projection and viewport in force when it is made: make it once the view is set and
// before drawing, so a matrix the drawing fails to restore cannot hide in the mapping.
class Unprojection {
public:
    Unprojection();
    // x, y, z mapped back; colour and texture coordinate kept.
    FedVertex toObject(const FedVertex& window) const;
    std::vector<FedPrimitive> toObject(std::vector<FedPrimitive> primitives) const;

private:
    bool map(FedVertex& vertex) const;

    GLdouble model_[16], projection_[16];
    GLint viewport_[4];
};
