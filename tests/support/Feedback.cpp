// GL feedback capture and parsing shared by the drawing tests.
#include "support/Feedback.h"

#include <GL/glu.h>
#include <gtest/gtest.h>

#include <utility>

std::vector<FedPrimitive> captureFeedback(const std::function<void()>& draw, GLenum type, std::size_t bufferFloats) {
    const bool withColour = type == GL_3D_COLOR_TEXTURE;
    if (!withColour && type != GL_3D) {
        ADD_FAILURE() << "unsupported feedback type " << type;
        return {};
    }
    GLdouble model[16], projection[16];
    GLint viewport[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, model);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);

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

    const GLint vertexSize = withColour ? 11 : 3;
    for (GLint i = 0; i < used;) {
        FedPrimitive primitive;
        primitive.token = static_cast<GLenum>(buffer[static_cast<std::size_t>(i++)]);
        int count = -1;
        switch (primitive.token) {
            case GL_POLYGON_TOKEN:
                if (i < used) count = static_cast<int>(buffer[static_cast<std::size_t>(i++)]);
                break;
            case GL_POINT_TOKEN:
            case GL_BITMAP_TOKEN:
            case GL_DRAW_PIXEL_TOKEN:
            case GL_COPY_PIXEL_TOKEN:
                count = 1;
                break;
            case GL_LINE_TOKEN:
            case GL_LINE_RESET_TOKEN:
                count = 2;
                break;
        }
        if (count < 0 || i + count * vertexSize > used) {
            ADD_FAILURE() << "feedback record of token " << primitive.token << " not understood at value " << i;
            break;
        }
        for (int k = 0; k < count; ++k, i += vertexSize) {
            const GLfloat* v = &buffer[static_cast<std::size_t>(i)];
            GLdouble x = 0, y = 0, z = 0;
            if (gluUnProject(v[0], v[1], v[2], model, projection, viewport, &x, &y, &z) != GL_TRUE) {
                ADD_FAILURE() << "the view in force cannot be inverted";
                return primitives;
            }
            FedVertex vertex{static_cast<float>(x), static_cast<float>(y), static_cast<float>(z)};
            if (withColour) {
                for (int c = 0; c < 4; ++c) vertex.color[c] = v[3 + c];
                for (int c = 0; c < 4; ++c) vertex.tex[c] = v[7 + c];
            }
            primitive.vertices.push_back(vertex);
        }
        primitives.push_back(std::move(primitive));
    }
    return primitives;
}

void orthoBox(double half) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-half, half, -half, half, -half, half);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

void lightAxesAsColours(float sign) {
    const GLfloat zero[] = {0, 0, 0, 1}, white[] = {1, 1, 1, 1};
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, zero);
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, zero);
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, white);
    for (int i = 0; i < 3; ++i) {
        GLfloat colour[] = {0, 0, 0, 1}, direction[] = {0, 0, 0, 0};
        colour[i] = 1;
        direction[i] = sign;
        glEnable(GL_LIGHT0 + i);
        glLightfv(GL_LIGHT0 + i, GL_AMBIENT, zero);
        glLightfv(GL_LIGHT0 + i, GL_DIFFUSE, colour);
        glLightfv(GL_LIGHT0 + i, GL_SPECULAR, zero);
        glLightfv(GL_LIGHT0 + i, GL_POSITION, direction);
    }
}

void resetAxisLights() {
    const GLfloat ambient[] = {0.2f, 0.2f, 0.2f, 1}, diffuse[] = {0.8f, 0.8f, 0.8f, 1};
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ambient);
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, ambient);
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, diffuse);
    for (int i = 0; i < 3; ++i) glDisable(GL_LIGHT0 + i);
}
