// GL feedback capture and parsing shared by the drawing tests.
#include "support/Feedback.h"

#include <GL/glu.h>
#include <gtest/gtest.h>

#include <utility>

namespace {

struct Layout {
    bool valid = true;
    int coords = 3;  // x, y, then z and w as the type has them
    int colors = 0;  // 4 in RGBA mode, 1 (the index) in colour-index mode
    bool hasTexture = false;
    int size() const { return coords + colors + (hasTexture ? 4 : 0); }
};

Layout layoutOf(GLenum type) {
    GLboolean rgba = GL_TRUE;
    glGetBooleanv(GL_RGBA_MODE, &rgba);
    const int colors = rgba ? 4 : 1;
    Layout layout;
    switch (type) {
        case GL_2D:
            layout.coords = 2;
            break;
        case GL_3D:
            break;
        case GL_3D_COLOR:
            layout.colors = colors;
            break;
        case GL_3D_COLOR_TEXTURE:
            layout.colors = colors;
            layout.hasTexture = true;
            break;
        case GL_4D_COLOR_TEXTURE:
            layout.coords = 4;
            layout.colors = colors;
            layout.hasTexture = true;
            break;
        default:
            layout.valid = false;
    }
    return layout;
}

// How many vertices follow a token that carries no value of its own; -1 for a token
// feedback never writes, which means the parse has lost its place.
int verticesAfter(GLenum token) {
    switch (token) {
        case GL_POINT_TOKEN:
        case GL_BITMAP_TOKEN:
        case GL_DRAW_PIXEL_TOKEN:
        case GL_COPY_PIXEL_TOKEN:
            return 1;
        case GL_LINE_TOKEN:
        case GL_LINE_RESET_TOKEN:
            return 2;
        default:
            return -1;
    }
}

}  // namespace

std::vector<FedPrimitive> captureFeedback(const std::function<void()>& draw, GLenum type, std::size_t bufferFloats) {
    const Layout layout = layoutOf(type);
    if (!layout.valid) {
        ADD_FAILURE() << "not a feedback type: " << type;
        return {};
    }
    std::vector<GLfloat> buffer(bufferFloats);
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), type, buffer.data());
    glRenderMode(GL_FEEDBACK);
    draw();
    const GLint used = glRenderMode(GL_RENDER);
    std::vector<FedPrimitive> primitives;
    if (used < 0) {
        ADD_FAILURE() << "feedback buffer overflow: the drawing sends more than " << bufferFloats << " values";
        return primitives;
    }

    const int vertexSize = layout.size();
    auto vertexAt = [&](GLint at) {
        const GLfloat* v = &buffer[static_cast<std::size_t>(at)];
        FedVertex vertex;
        vertex.x = *v++;
        vertex.y = *v++;
        if (layout.coords >= 3) vertex.z = *v++;
        if (layout.coords == 4) vertex.w = *v++;
        for (int c = 0; c < layout.colors; ++c) vertex.color[c] = *v++;
        if (layout.hasTexture) {
            for (float& t : vertex.tex) t = *v++;
        }
        return vertex;
    };
    for (GLint i = 0; i < used;) {
        FedPrimitive primitive;
        primitive.token = static_cast<GLenum>(buffer[static_cast<std::size_t>(i++)]);
        int count = 0;
        if (primitive.token == GL_POLYGON_TOKEN || primitive.token == GL_PASS_THROUGH_TOKEN) {
            if (i >= used) {
                ADD_FAILURE() << "feedback record of token " << primitive.token << " cut off at value " << used;
                break;
            }
            const GLfloat value = buffer[static_cast<std::size_t>(i++)];
            if (primitive.token == GL_POLYGON_TOKEN) {
                count = static_cast<int>(value);
            } else {
                primitive.passThrough = value;
            }
        } else {
            count = verticesAfter(primitive.token);
            if (count < 0) {
                ADD_FAILURE() << "unexpected feedback token " << primitive.token << " at value " << i - 1;
                break;
            }
        }
        if (count < 0 || i + count * vertexSize > used) {
            ADD_FAILURE() << "feedback record of token " << primitive.token << " cut off at value " << used;
            break;
        }
        for (int k = 0; k < count; ++k, i += vertexSize) primitive.vertices.push_back(vertexAt(i));
        primitives.push_back(std::move(primitive));
    }
    return primitives;
}

std::vector<FedPrimitive> polygonsAndLinesOnly(std::vector<FedPrimitive> primitives) {
    for (std::size_t i = 0; i < primitives.size(); ++i) {
        const GLenum token = primitives[i].token;
        if (token != GL_POLYGON_TOKEN && token != GL_LINE_TOKEN && token != GL_LINE_RESET_TOKEN) {
            ADD_FAILURE() << "unexpected feedback token " << token;
            primitives.resize(i);
            break;
        }
    }
    return primitives;
}

Unprojection::Unprojection() {
    glGetDoublev(GL_MODELVIEW_MATRIX, model_);
    glGetDoublev(GL_PROJECTION_MATRIX, projection_);
    glGetIntegerv(GL_VIEWPORT, viewport_);
}

bool Unprojection::map(FedVertex& vertex) const {
    GLdouble x = 0, y = 0, z = 0;
    if (gluUnProject(vertex.x, vertex.y, vertex.z, model_, projection_, viewport_, &x, &y, &z) != GL_TRUE) {
        ADD_FAILURE() << "the view in force cannot be inverted";
        return false;
    }
    vertex.x = static_cast<float>(x);
    vertex.y = static_cast<float>(y);
    vertex.z = static_cast<float>(z);
    return true;
}

FedVertex Unprojection::toObject(const FedVertex& window) const {
    FedVertex vertex = window;
    map(vertex);
    return vertex;
}

std::vector<FedPrimitive> Unprojection::toObject(std::vector<FedPrimitive> primitives) const {
    for (FedPrimitive& primitive : primitives) {
        for (FedVertex& vertex : primitive.vertices) {
            if (!map(vertex)) return primitives;  // one failure says it all
        }
    }
    return primitives;
}
