// The duck's two display lists on a real GL: the emitted primitives under GL_FEEDBACK (in
// immediate mode, which this Mesa reports faithfully), the compiled lists drawn and read
// back, and the state each list leaves behind.
#include <gtest/gtest.h>

#include <GL/gl.h>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>
#include <unistd.h>
#include <vector>

#include "assets/ObjLoader.h"
#include "support/Feedback.h"
#include "support/GlContext.h"
#include "support/Image.h"

namespace {

// What a drawing feeds back, mapped from window to model space (the matrices are
// identity while feeding back), with colour and texture coordinate. The lists send only
// polygons and line segments.
std::vector<FedPrimitive> feedbackOf(const std::function<void()>& draw) {
    const Unprojection toModel;
    return polygonsAndLinesOnly(toModel.toObject(captureFeedback(draw)));
}

// Three directional lights along x, y and z, coloured red, green and blue, and no ambient:
// a lit vertex's colour then spells out its (unnormalised) normal.
void lightNormalsAsColours() {
    const GLfloat zero[] = {0, 0, 0, 1};
    const GLfloat white[] = {1, 1, 1, 1};
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, zero);
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, zero);
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, white);
    for (int i = 0; i < 3; ++i) {
        GLfloat colour[] = {0, 0, 0, 1};
        GLfloat direction[] = {0, 0, 0, 0};
        colour[i] = 1;
        direction[i] = 1;
        glEnable(GL_LIGHT0 + i);
        glLightfv(GL_LIGHT0 + i, GL_AMBIENT, zero);
        glLightfv(GL_LIGHT0 + i, GL_DIFFUSE, colour);
        glLightfv(GL_LIGHT0 + i, GL_SPECULAR, zero);
        glLightfv(GL_LIGHT0 + i, GL_POSITION, direction);
    }
}

void restoreDefaultLighting() {
    const GLfloat modelAmbient[] = {0.2f, 0.2f, 0.2f, 1};
    const GLfloat ambient[] = {0.2f, 0.2f, 0.2f, 1};
    const GLfloat diffuse[] = {0.8f, 0.8f, 0.8f, 1};
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, modelAmbient);
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, ambient);
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, diffuse);
    for (int i = 0; i < 3; ++i) glDisable(GL_LIGHT0 + i);
    glDisable(GL_COLOR_MATERIAL);
}

struct Corner {
    float x, y, z;    // in the file, before the scale
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

std::string objText(const std::vector<std::vector<Corner>>& faces) {
    std::string vertices;
    std::string faceLines;
    int index = 1;
    char line[128];
    for (const auto& face : faces) {
        faceLines += "f";
        for (const Corner& c : face) {
            std::snprintf(line, sizeof line, "v %g %g %g\nvt %g %g\nvn %g %g %g\n", c.x, c.y, c.z, c.u, c.v, c.nx, c.ny, c.nz);
            vertices += line;
            faceLines += " " + std::to_string(index) + "/" + std::to_string(index) + "/" + std::to_string(index);
            ++index;
        }
        faceLines += "\n";
    }
    return "# three shapes\no shapes\n" + vertices + "s off\n" + faceLines;
}

bool samePosition(const FedVertex& v, const Corner& c, float scale) {
    return std::fabs(v.x - c.x * scale) < 1e-4f && std::fabs(v.y - c.y * scale) < 1e-4f &&
           std::fabs(v.z - c.z * scale) < 1e-4f;
}

std::string tempPath(const std::string& name) {
    return testing::TempDir() + "larkmere_" + std::to_string(getpid()) + "_" + name;
}

std::string writeFile(const std::string& name, const std::string& text) {
    const std::string path = tempPath(name);
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

// A 2 x 2 picture given top row first, uploaded the way loadTexture does (bottom row
// first), with GL's default filters so that a list that forgets its own leaves the
// texture incomplete and the picture away.
GLuint pictureTexture(const GLubyte topLeft[3], const GLubyte topRight[3], const GLubyte bottomLeft[3],
                      const GLubyte bottomRight[3]) {
    GLubyte texels[16];
    const GLubyte* order[] = {bottomLeft, bottomRight, topLeft, topRight};
    for (int i = 0; i < 4; ++i) {
        for (int c = 0; c < 3; ++c) texels[i * 4 + c] = order[i][c];
        texels[i * 4 + 3] = 255;
    }
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
        restoreDefaultLighting();
        glDisable(GL_LIGHTING);
        glDisable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, 0);
        GlTest::TearDown();
    }
};

}  // namespace

TEST_F(ObjListsGl, SolidFacesCarryTheirCornersTexCoordsAndNormals) {
    const ObjModel model = readObj(objText(shapes));
    ASSERT_EQ(model.faces.size(), 3u);
    lightNormalsAsColours();
    const auto primitives = feedbackOf([&] { emitObjModel(model, 0, duckScale); });

    // Filled faces come back as triangles: 1 for the triangle, 2 for the quad, 3 for the
    // pentagon, in file order, each using only its own face's corners and all of them.
    ASSERT_EQ(primitives.size(), 6u);
    const std::size_t firstOfFace[] = {0, 1, 3, 6};
    for (std::size_t f = 0; f < shapes.size(); ++f) {
        std::vector<bool> seen(shapes[f].size(), false);
        for (std::size_t p = firstOfFace[f]; p < firstOfFace[f + 1]; ++p) {
            ASSERT_EQ(primitives[p].token, static_cast<GLenum>(GL_POLYGON_TOKEN));
            ASSERT_EQ(primitives[p].vertices.size(), 3u);
            for (const FedVertex& v : primitives[p].vertices) {
                std::size_t k = 0;
                while (k < shapes[f].size() && !samePosition(v, shapes[f][k], duckScale)) ++k;
                ASSERT_LT(k, shapes[f].size()) << "face " << f << " drew a vertex not among its corners";
                seen[k] = true;
                const Corner& c = shapes[f][k];
                EXPECT_NEAR(v.tex[0], c.u, 1e-5) << "face " << f << " corner " << k;
                EXPECT_NEAR(v.tex[1], -c.v, 1e-5) << "face " << f << " corner " << k;
                EXPECT_NEAR(v.color[0], c.nx, 0.01) << "face " << f << " corner " << k;
                EXPECT_NEAR(v.color[1], c.ny, 0.01) << "face " << f << " corner " << k;
                EXPECT_NEAR(v.color[2], c.nz, 0.01) << "face " << f << " corner " << k;
            }
        }
        for (std::size_t k = 0; k < seen.size(); ++k) EXPECT_TRUE(seen[k]) << "face " << f << " lost corner " << k;
    }
    // The first corner: 10 0 -5 at scale 0.06.
    EXPECT_NEAR(primitives[0].vertices[0].x, 0.6f, 1e-4);
    EXPECT_NEAR(primitives[0].vertices[0].y, 0.0f, 1e-4);
    EXPECT_NEAR(primitives[0].vertices[0].z, -0.3f, 1e-4);
}

TEST_F(ObjListsGl, SolidFacesUseTrianglesQuadsAndPolygonsInCornerOrder) {
    const ObjModel model = readObj(objText(shapes));
    lightNormalsAsColours();
    // What the faces must amount to: one primitive each, of their own kind, corners in
    // file order. GL splits quads and polygons its own way, so compare whole outputs.
    const auto expected = feedbackOf([] {
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
    const auto actual = feedbackOf([&] { emitObjModel(model, 0, duckScale); });
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t p = 0; p < actual.size(); ++p) {
        ASSERT_EQ(actual[p].vertices.size(), expected[p].vertices.size());
        for (std::size_t k = 0; k < actual[p].vertices.size(); ++k) {
            EXPECT_NEAR(actual[p].vertices[k].x, expected[p].vertices[k].x, 1e-5) << "primitive " << p << " vertex " << k;
            EXPECT_NEAR(actual[p].vertices[k].y, expected[p].vertices[k].y, 1e-5) << "primitive " << p << " vertex " << k;
        }
    }
}

TEST_F(ObjListsGl, CornersWithoutTexCoordOrNormalKeepTheCurrentOnes) {
    const ObjModel model = readObj("v 0 0 0\nv 10 0 0\nv 0 10 0\nvt 0.5 0.25\nvn 0 1 0\nf 1 2 3\nf 1//1 2//1 3//1\nf 1/1 2/1 3/1\n");
    ASSERT_EQ(model.faces.size(), 3u);
    lightNormalsAsColours();
    glTexCoord2f(0.9f, 0.8f);
    glNormal3f(0.0f, 0.0f, 0.7f);
    const auto primitives = feedbackOf([&] { emitObjModel(model, 0, duckScale); });
    ASSERT_EQ(primitives.size(), 3u);
    const FedVertex bare = primitives[0].vertices[0];
    EXPECT_NEAR(bare.tex[0], 0.9f, 1e-5);
    EXPECT_NEAR(bare.tex[1], 0.8f, 1e-5);
    EXPECT_NEAR(bare.color[2], 0.7f, 0.01);
    const FedVertex normalOnly = primitives[1].vertices[0];
    EXPECT_NEAR(normalOnly.tex[0], 0.9f, 1e-5);
    EXPECT_NEAR(normalOnly.color[1], 1.0f, 0.01);
    EXPECT_NEAR(normalOnly.color[2], 0.0f, 0.01);
    const FedVertex texOnly = primitives[2].vertices[0];
    EXPECT_NEAR(texOnly.tex[0], 0.5f, 1e-5);
    EXPECT_NEAR(texOnly.tex[1], -0.25f, 1e-5);
    EXPECT_NEAR(texOnly.color[1], 1.0f, 0.01);  // the normal of the face before
}

TEST_F(ObjListsGl, WireframeIsAClosedLoopPerFaceWithNothingButVertices) {
    const ObjModel model = readObj(objText(shapes));
    glColor3f(0.2f, 0.9f, 0.4f);
    glTexCoord2f(0.3f, 0.7f);
    const auto primitives = feedbackOf([&] { emitObjWireframe(model, duckScale); });
    ASSERT_EQ(primitives.size(), 3u + 4u + 5u);
    std::size_t p = 0;
    for (const auto& face : shapes) {
        for (std::size_t k = 0; k < face.size(); ++k, ++p) {
            ASSERT_EQ(primitives[p].vertices.size(), 2u);
            EXPECT_TRUE(samePosition(primitives[p].vertices[0], face[k], duckScale)) << "segment " << p;
            EXPECT_TRUE(samePosition(primitives[p].vertices[1], face[(k + 1) % face.size()], duckScale)) << "segment " << p;
            for (const FedVertex& v : primitives[p].vertices) {
                EXPECT_NEAR(v.color[0], 0.2f, 0.01);
                EXPECT_NEAR(v.color[1], 0.9f, 0.01);
                EXPECT_NEAR(v.tex[0], 0.3f, 1e-5);
                EXPECT_NEAR(v.tex[1], 0.7f, 1e-5);
            }
        }
    }
}

TEST_F(ObjListsGl, SolidListShowsThePictureUprightFromTheFilesV) {
    const GLubyte red[] = {255, 0, 0}, green[] = {0, 255, 0}, blue[] = {0, 0, 255}, yellow[] = {255, 255, 0};
    const GLuint texture = pictureTexture(red, green, blue, yellow);
    // A quad over the whole view; the file's v = 0 is the top of the picture.
    const GLuint list = compileObjModel(
        readObj("v -1 -1 0\nv 1 -1 0\nv 1 1 0\nv -1 1 0\nvt 0 1\nvt 1 1\nvt 1 0\nvt 0 0\nvn 0 0 1\n"
                "f 1/1/1 2/2/1 3/3/1 4/4/1\n"),
        texture, 1.0f);
    // Lit colour comes from the list's white through the colour material, at full ambient.
    const GLfloat white[] = {1, 1, 1, 1};
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, white);
    glEnable(GL_COLOR_MATERIAL);
    glColor3f(1.0f, 0.0f, 0.0f);
    glEnable(GL_TEXTURE_2D);
    glCallList(list);
    const Image frame = readFramebuffer();
    expectColour(frame.at(250, 120), 255, 0, 0, "top left");
    expectColour(frame.at(750, 120), 0, 255, 0, "top right");
    expectColour(frame.at(250, 360), 0, 0, 255, "bottom left");
    expectColour(frame.at(750, 360), 255, 255, 0, "bottom right");
    glDeleteLists(list, 1);
    glDeleteTextures(1, &texture);
}

TEST_F(ObjListsGl, SolidListLeavesItsTextureModulateWhiteAndLightingOff) {
    GLuint textures[2];
    glGenTextures(2, textures);
    const GLuint withFaces = compileObjModel(readObj(objText(shapes)), textures[0], duckScale);
    const GLuint withoutFaces = compileObjModel(readObj("v 1 2 3\nvn 0 0 1\n"), textures[1], duckScale);

    for (bool lightingBefore : {true, false}) {
        lightingBefore ? glEnable(GL_LIGHTING) : glDisable(GL_LIGHTING);
        glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
        glColor3f(0.1f, 0.2f, 0.3f);
        glCallList(withFaces);
        EXPECT_EQ(glInteger(GL_TEXTURE_BINDING_2D), static_cast<int>(textures[0]));
        EXPECT_EQ(envMode(), GL_MODULATE);
        GLfloat colour[4];
        glGetFloatv(GL_CURRENT_COLOR, colour);
        EXPECT_FLOAT_EQ(colour[0], 1.0f);
        EXPECT_FLOAT_EQ(colour[1], 1.0f);
        EXPECT_FLOAT_EQ(colour[2], 1.0f);
        EXPECT_FALSE(glEnabled(GL_LIGHTING));
        EXPECT_FALSE(glEnabled(GL_TEXTURE_2D));  // texturing is the caller's to switch

        // Without faces the list only binds and sets; lighting stays as it was.
        lightingBefore ? glEnable(GL_LIGHTING) : glDisable(GL_LIGHTING);
        glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
        glColor3f(0.1f, 0.2f, 0.3f);
        glCallList(withoutFaces);
        EXPECT_EQ(glEnabled(GL_LIGHTING), lightingBefore);
        EXPECT_EQ(glInteger(GL_TEXTURE_BINDING_2D), static_cast<int>(textures[1]));
        EXPECT_EQ(envMode(), GL_MODULATE);
        glGetFloatv(GL_CURRENT_COLOR, colour);
        EXPECT_FLOAT_EQ(colour[1], 1.0f);
        GLint filter = 0;
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &filter);
        EXPECT_EQ(filter, GL_LINEAR);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, &filter);
        EXPECT_EQ(filter, GL_LINEAR);
    }
    glDeleteLists(withFaces, 1);
    glDeleteLists(withoutFaces, 1);
    glDeleteTextures(2, textures);
}

TEST_F(ObjListsGl, WireframeListDrawsOutlinesInTheCallersStateAndChangesNone) {
    // A square a little inside [-0.5, 0.5] so its edges fall on pixel centres.
    const GLuint list = compileObjWireframe(
        readObj("v -50.1 -50.1 0\nv 49.9 -50.1 0\nv 49.9 49.9 0\nv -50.1 49.9 0\nvt 0.5 0.5\nvn 1 0 0\n"
                "f 1/1/1 2/1/1 3/1/1 4/1/1\n"),
        0.01f);
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glColor3f(0.0f, 1.0f, 0.0f);
    glTexCoord2f(0.25f, 0.5f);
    glNormal3f(0.0f, 0.6f, 0.8f);
    glCallList(list);

    const Image frame = readFramebuffer();
    int edgePixels = 0;
    for (int y = 130; y < 350; y += 10) {
        for (int x : {249, 749}) {  // left and right edges, window x = 249.5 and 749.5
            const Rgb p = frame.at(x, y);
            if (p.g > 200 && p.r < 50 && p.b < 50) ++edgePixels;
        }
    }
    EXPECT_EQ(edgePixels, 2 * 22);
    expectColour(frame.at(500, 240), 0, 0, 0, "inside the outline");

    GLfloat value[4];
    glGetFloatv(GL_CURRENT_COLOR, value);
    EXPECT_FLOAT_EQ(value[0], 0.0f);
    EXPECT_FLOAT_EQ(value[1], 1.0f);
    glGetFloatv(GL_CURRENT_TEXTURE_COORDS, value);
    EXPECT_FLOAT_EQ(value[0], 0.25f);
    EXPECT_FLOAT_EQ(value[1], 0.5f);
    glGetFloatv(GL_CURRENT_NORMAL, value);
    EXPECT_FLOAT_EQ(value[1], 0.6f);
    EXPECT_FLOAT_EQ(value[2], 0.8f);
    EXPECT_EQ(glInteger(GL_TEXTURE_BINDING_2D), static_cast<int>(texture));
    EXPECT_EQ(envMode(), GL_REPLACE);
    EXPECT_FALSE(glEnabled(GL_LIGHTING));
    glEnable(GL_LIGHTING);
    glCallList(list);
    EXPECT_TRUE(glEnabled(GL_LIGHTING));
    glDeleteLists(list, 1);
    glDeleteTextures(1, &texture);
}

TEST_F(ObjListsGl, OneReadingGivesBothListsAsTheSeparateLoaders) {
    const std::string path = writeFile("both.obj", objText(shapes));
    const ObjLists lists = loadObjLists(path, 0, duckScale);
    const GLuint solid = loadObjModel(path, 0, duckScale);
    const GLuint wireframe = loadObjWireframe(path, duckScale);
    ASSERT_TRUE(glIsList(lists.solid));
    ASSERT_TRUE(glIsList(lists.wireframe));
    EXPECT_NE(lists.solid, lists.wireframe);

    auto drawn = [](GLuint list) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glColor3f(1, 1, 1);
        glCallList(list);
        glDisable(GL_LIGHTING);
        return readFramebuffer();
    };
    const Image solidOnce = drawn(lists.solid);
    const Image wireOnce = drawn(lists.wireframe);
    EXPECT_EQ(solidOnce.countDifferent(drawn(solid), 0), 0);
    EXPECT_EQ(wireOnce.countDifferent(drawn(wireframe), 0), 0);
    EXPECT_GT(solidOnce.countDifferent(wireOnce, 0), 1000);  // the two lists are not the same drawing
    glDeleteLists(lists.solid, 1);
    glDeleteLists(lists.wireframe, 1);
    glDeleteLists(solid, 1);
    glDeleteLists(wireframe, 1);
    std::remove(path.c_str());
}

TEST(ObjListsDeathTest, AMissingModelFileEndsTheProcessWithStatusOne) {
    // Re-run in a fresh process: a forked copy of a GL test process would tear down the
    // shared X server on exit.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(loadObjModel("./assets/models/NoSuchDuck.obj", 0, duckScale), testing::ExitedWithCode(1), "^$");
    EXPECT_EXIT(loadObjLists("./assets/models/NoSuchDuck.obj", 0, duckScale), testing::ExitedWithCode(1), "^$");
}
