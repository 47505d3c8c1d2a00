// The duck's two display lists on a real GL: the emitted primitives under GL_FEEDBACK (in
// immediate mode, which this Mesa reports faithfully), the compiled lists drawn and read
// back, and the state each list leaves behind.
#include <gtest/gtest.h>

#include <GL/gl.h>
#include <cstdio>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "assets/ObjLoader.h"
#include "support/Feedback.h"
#include "support/GlContext.h"
#include "support/Image.h"

namespace {

struct Corner {
    float x, y, z;  // in the file, before the scale
    float u, v;
    float nx, ny, nz;
};

// A triangle, a quad and a pentagon; every corner has its own position, texture
// coordinate and normal so feedback can tell them apart.
const std::vector<std::vector<Corner>> shapes = {
    {{10, 0, -5, 0.1f, 0.2f, 0.1f, 0.2f, 0.3f}, {-10, -5, 0, 0.3f, 0.4f, 0.4f, 0.5f, 0.6f}, {0, 10, 5, 0.5f, 0.6f, 0.7f, 0.8f, 0.9f}},
    {{-15, -15, 1, 0.0f, 1.0f, 1.0f, 0.0f, 0.0f}, {-5, -15, 1, 1.0f, 1.0f, 0.0f, 1.0f, 0.0f},
     {-5, -5, 1, 1.0f, 0.0f, 0.0f, 0.0f, 1.0f}, {-15, -5, 1, 0.0f, 0.0f, 0.5f, 0.5f, 0.5f}},
    {{5, -15, 2, 0.11f, 0.12f, 0.2f, 0.0f, 0.0f}, {14, -14, 2, 0.21f, 0.22f, 0.0f, 0.2f, 0.0f},
     {15, -8, 2, 0.31f, 0.32f, 0.0f, 0.0f, 0.2f}, {10, -4, 2, 0.41f, 0.42f, 0.3f, 0.3f, 0.0f},
     {5, -8, 2, 0.51f, 0.52f, 0.0f, 0.3f, 0.3f}},
};
constexpr float duckScale = 0.06f;

std::string objText() {
    std::string vertices, faceLines;
    int index = 1;
    char line[128];
    for (const auto& face : shapes) {
        faceLines += "f";
        for (const Corner& c : face) {
            std::snprintf(line, sizeof line, "v %g %g %g\nvt %g %g\nvn %g %g %g\n", c.x, c.y, c.z, c.u, c.v, c.nx, c.ny, c.nz);
            vertices += line;
            faceLines += " " + std::to_string(index) + "/" + std::to_string(index) + "/" + std::to_string(index);
            ++index;
        }
        faceLines += "\n";
    }
    return "o shapes\n" + vertices + "s off\n" + faceLines;
}

void expectAt(const FedVertex& v, const Corner& c, const char* what) {
    EXPECT_NEAR(v.x, c.x * duckScale, 1e-4f) << what;
    EXPECT_NEAR(v.y, c.y * duckScale, 1e-4f) << what;
    EXPECT_NEAR(v.z, c.z * duckScale, 1e-4f) << what;
}

// A 2 x 2 picture of red, green (top row) and blue, yellow (bottom row), uploaded bottom
// row first as loadTexture does, with GL's default filters so that a list that forgets its
// own leaves the texture incomplete and the picture away.
GLuint quadrantTexture() {
    const GLubyte texels[16] = {0, 0, 255, 255, 255, 255, 0, 255, 255, 0, 0, 255, 0, 255, 0, 255};
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 2, 2, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels);
    glBindTexture(GL_TEXTURE_2D, 0);
    return texture;
}

GLint envMode() {
    GLint mode = 0;
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &mode);
    return mode;
}

void expectColour(const Rgb& actual, int r, int g, int b, const char* where) {
    EXPECT_NEAR(actual.r, r, 12) << where;
    EXPECT_NEAR(actual.g, g, 12) << where;
    EXPECT_NEAR(actual.b, b, 12) << where;
}

std::vector<float> current(GLenum name) {
    std::vector<float> v(4);
    glGetFloatv(name, v.data());
    return v;
}

class ObjListsGl : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
    }
    void TearDown() override {
        glFinish();  // rasterise now rather than when the window is closed at exit
        resetAxisLights();
        GlTest::TearDown();
    }
};

}  // namespace

TEST_F(ObjListsGl, SolidFacesSendTheirCornersInFileOrder) {
    const ObjModel model = readObj(objText());
    ASSERT_EQ(model.faces.size(), 3u);
    lightAxesAsColours();
    // One primitive per face, of its own kind, each corner texture coordinate (t = -v),
    // normal, then vertex scaled. GL splits quads and polygons its own way, so compare
    // whole outputs with such a drawing.
    const auto expected = captureFeedback([] {
        for (const auto& face : shapes) {
            glEnable(GL_LIGHTING);
            glBegin(face.size() == 3 ? GL_TRIANGLES : face.size() == 4 ? GL_QUADS : GL_POLYGON);
            for (const Corner& c : face) {
                glTexCoord2f(c.u, -c.v);
                glNormal3f(c.nx, c.ny, c.nz);
                glVertex3f(c.x * duckScale, c.y * duckScale, c.z * duckScale);
            }
            glEnd();
            glDisable(GL_LIGHTING);
        }
    });
    const auto actual = captureFeedback([&] { emitObjModel(model, 0, duckScale); });
    ASSERT_EQ(actual.size(), 6u);  // triangles: 1 + 2 + 3
    ASSERT_EQ(expected.size(), actual.size());
    for (std::size_t p = 0; p < actual.size(); ++p) {
        SCOPED_TRACE(p);
        ASSERT_EQ(actual[p].token, static_cast<GLenum>(GL_POLYGON_TOKEN));
        ASSERT_EQ(actual[p].vertices.size(), expected[p].vertices.size());
        for (std::size_t k = 0; k < actual[p].vertices.size(); ++k) {
            const FedVertex &a = actual[p].vertices[k], &e = expected[p].vertices[k];
            EXPECT_NEAR(a.x, e.x, 1e-5);
            EXPECT_NEAR(a.y, e.y, 1e-5);
            EXPECT_NEAR(a.z, e.z, 1e-5);
            EXPECT_NEAR(a.tex[0], e.tex[0], 1e-5);
            EXPECT_NEAR(a.tex[1], e.tex[1], 1e-5);
            for (int c = 0; c < 3; ++c) EXPECT_NEAR(a.color[c], e.color[c], 0.01);
        }
    }
    // The first corner in plain numbers: 10 0 -5, vt 0.1 0.2, vn 0.1 0.2 0.3.
    expectAt(actual[0].vertices[0], {10, 0, -5, 0, 0, 0, 0, 0}, "first corner");
    EXPECT_NEAR(actual[0].vertices[0].tex[1], -0.2f, 1e-5);
    EXPECT_NEAR(actual[0].vertices[0].color[2], 0.3f, 0.01);
}

TEST_F(ObjListsGl, WireframeIsAClosedLoopPerFaceWithNothingButVertices) {
    const ObjModel model = readObj(objText());
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glColor3f(0.2f, 0.9f, 0.4f);
    glTexCoord2f(0.3f, 0.7f);
    glNormal3f(0.0f, 0.6f, 0.8f);
    const auto primitives = captureFeedback([&] { emitObjWireframe(model, duckScale); });
    ASSERT_EQ(primitives.size(), 3u + 4u + 5u);
    std::size_t p = 0;
    for (const auto& face : shapes) {
        for (std::size_t k = 0; k < face.size(); ++k, ++p) {
            ASSERT_EQ(primitives[p].vertices.size(), 2u);
            expectAt(primitives[p].vertices[0], face[k], "segment start");
            expectAt(primitives[p].vertices[1], face[(k + 1) % face.size()], "segment end");
            for (const FedVertex& v : primitives[p].vertices) {
                EXPECT_NEAR(v.color[1], 0.9f, 0.01);
                EXPECT_NEAR(v.tex[0], 0.3f, 1e-5);
            }
        }
    }
    // The caller's state is left as it was.
    EXPECT_EQ(current(GL_CURRENT_COLOR), (std::vector<float>{0.2f, 0.9f, 0.4f, 1}));
    EXPECT_EQ(current(GL_CURRENT_TEXTURE_COORDS), (std::vector<float>{0.3f, 0.7f, 0, 1}));
    EXPECT_FLOAT_EQ(current(GL_CURRENT_NORMAL)[1], 0.6f);
    EXPECT_EQ(glInteger(GL_TEXTURE_BINDING_2D), static_cast<int>(texture));
    EXPECT_EQ(envMode(), GL_REPLACE);
    for (bool on : {true, false}) {
        on ? glEnable(GL_LIGHTING) : glDisable(GL_LIGHTING);
        emitObjWireframe(model, duckScale);
        EXPECT_EQ(glEnabled(GL_LIGHTING), on);
    }
    glDeleteTextures(1, &texture);
}

TEST_F(ObjListsGl, SolidListShowsThePictureUprightAndLeavesItsTextureModulateWhiteAndLightingOff) {
    const GLuint texture = quadrantTexture();
    // A quad over the whole view; the file's v = 0 is the top of the picture.
    const GLuint list = compileObjModel(
        readObj("v -1 -1 0\nv 1 -1 0\nv 1 1 0\nv -1 1 0\nvt 0 1\nvt 1 1\nvt 1 0\nvt 0 0\nvn 0 0 1\n"
                "f 1/1/1 2/2/1 3/3/1 4/4/1\n"),
        texture, 1.0f);
    // Lit colour comes from the list's white through the colour material, at full ambient.
    const GLfloat white[] = {1, 1, 1, 1};
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, white);
    glEnable(GL_COLOR_MATERIAL);
    glEnable(GL_LIGHTING);
    glColor3f(1.0f, 0.0f, 0.0f);
    glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glEnable(GL_TEXTURE_2D);
    glCallList(list);
    const Image frame = readFramebuffer();
    expectColour(frame.at(250, 120), 255, 0, 0, "top left");
    expectColour(frame.at(750, 120), 0, 255, 0, "top right");
    expectColour(frame.at(250, 360), 0, 0, 255, "bottom left");
    expectColour(frame.at(750, 360), 255, 255, 0, "bottom right");
    EXPECT_EQ(glInteger(GL_TEXTURE_BINDING_2D), static_cast<int>(texture));
    EXPECT_EQ(envMode(), GL_MODULATE);
    EXPECT_EQ(current(GL_CURRENT_COLOR), (std::vector<float>{1, 1, 1, 1}));
    EXPECT_FALSE(glEnabled(GL_LIGHTING));
    EXPECT_TRUE(glEnabled(GL_TEXTURE_2D));  // texturing is the caller's to switch

    // Without faces the list only binds and sets; lighting stays as it was.
    const GLuint empty = compileObjModel(readObj("v 1 2 3\nvn 0 0 1\n"), 0, 1.0f);
    glEnable(GL_LIGHTING);
    glCallList(empty);
    EXPECT_TRUE(glEnabled(GL_LIGHTING));
    EXPECT_EQ(glInteger(GL_TEXTURE_BINDING_2D), 0);
    glDeleteLists(list, 1);
    glDeleteLists(empty, 1);
    glDeleteTextures(1, &texture);
}

TEST_F(ObjListsGl, TheFileLoadersCompileWhatTheFileHolds) {
    const std::string path = testing::TempDir() + "larkmere_" + std::to_string(getpid()) + "_shapes.obj";
    std::ofstream(path, std::ios::binary) << objText();
    const ObjModel model = readObj(objText());
    const ObjLists lists = loadObjLists(path, 0, duckScale);
    const GLuint loaded[] = {loadObjModel(path, 0, duckScale), loadObjWireframe(path, duckScale), lists.solid, lists.wireframe};
    const GLuint compiled[] = {compileObjModel(model, 0, duckScale), compileObjWireframe(model, duckScale)};
    std::remove(path.c_str());
    auto drawn = [](GLuint list) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glColor3f(1, 1, 1);
        glCallList(list);
        glDisable(GL_LIGHTING);
        return readFramebuffer();
    };
    const Image solid = drawn(compiled[0]), wireframe = drawn(compiled[1]);
    EXPECT_GT(solid.countDifferent(wireframe, 0), 1000);  // the two lists are not the same drawing
    for (int i = 0; i < 4; ++i) EXPECT_EQ(drawn(loaded[i]).countDifferent(i % 2 ? wireframe : solid, 0), 0) << i;
    for (GLuint list : loaded) glDeleteLists(list, 1);
    for (GLuint list : compiled) glDeleteLists(list, 1);
}

TEST(ObjListsDeathTest, AMissingModelFileEndsTheProcessWithStatusOne) {
    // Re-run in a fresh process: a forked copy of a GL test process would tear down the
    // shared X server on exit.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(loadObjModel("./assets/models/NoSuchDuck.obj", 0, duckScale), testing::ExitedWithCode(1), "^$");
    EXPECT_EXIT(loadObjLists("./assets/models/NoSuchDuck.obj", 0, duckScale), testing::ExitedWithCode(1), "^$");
}
