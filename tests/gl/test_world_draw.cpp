// The world drawn through the real GL: the grass field's cells and the cars' cubes in
// feedback, and the state each leaves. The field records are built directly; the game's
// texture file plays no part here.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

#include "game/GameStatus.h"
#include "support/Feedback.h"
#include "support/GlContext.h"
#include "world/GrassField.h"
#include "world/Traffic.h"

namespace {

struct Fed {
    int triangles = 0;  // Mesa feeds each quad back as two triangles
    int downwardTriangles = 0;
    int lineSegments = 0;
    std::vector<FedVertex> firstCell;  // corners of the first two triangles
    float minX = 1e9f, maxX = -1e9f, minZ = 1e9f, maxZ = -1e9f;
};

GrassField fieldOf(float minX, float maxX, float minZ, float maxZ) {
    GrassField field;
    field.minX = minX;
    field.maxX = maxX;
    field.minZ = minZ;
    field.maxZ = maxZ;
    return field;
}

// Seen from above through an orthographic view that holds the whole field.
Fed drawFed(const GrassField& field, const GameStatus& status) {
    orthoBox(100);
    glRotatef(90, 1, 0, 0);
    // 7000 cells of two triangles, 35 values each, and room to spare.
    const auto primitives = captureFeedback([&] { field.draw(status); }, GL_3D_COLOR_TEXTURE, 600000);
    Fed fed;
    for (const FedPrimitive& p : primitives) {
        if (p.token == GL_POLYGON_TOKEN) {
            EXPECT_EQ(p.vertices.size(), 3u);
            if (p.vertices.size() != 3) break;
            const FedVertex &a = p.vertices[0], &b = p.vertices[1], &c = p.vertices[2];
            if ((b.z - a.z) * (c.x - a.x) - (b.x - a.x) * (c.z - a.z) <= 0.0f) ++fed.downwardTriangles;
            if (fed.triangles++ < 2) fed.firstCell.insert(fed.firstCell.end(), p.vertices.begin(), p.vertices.end());
        } else {
            ++fed.lineSegments;
        }
        for (const FedVertex& v : p.vertices) {
            fed.minX = std::min(fed.minX, v.x);
            fed.maxX = std::max(fed.maxX, v.x);
            fed.minZ = std::min(fed.minZ, v.z);
            fed.maxZ = std::max(fed.maxZ, v.z);
        }
    }
    return fed;
}

struct Corner {
    float x, y, z;
};

// The 24 corners of a car of size 2 at (10, 2, 40), face by face.
const Corner ExpectedCorners[24] = {
    {10, 2, 38}, {8, 2, 38}, {8, 2, 40}, {10, 2, 40},  // top
    {10, 0, 40}, {8, 0, 40}, {8, 0, 38}, {10, 0, 38},  // bottom
    {10, 2, 40}, {8, 2, 40}, {8, 0, 40}, {10, 0, 40},  // +z
    {10, 0, 38}, {8, 0, 38}, {8, 2, 38}, {10, 2, 38},  // -z
    {8, 2, 40},  {8, 2, 38}, {8, 0, 38}, {8, 0, 40},   // -x
    {10, 2, 38}, {10, 2, 40}, {10, 0, 40}, {10, 0, 38}, // +x
};

class WorldDraw : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        GameStatus::instance() = GameStatus{};
    }
    void TearDown() override {
        // Rasterise now: llvmpipe can hang compiling a left-over draw when the window
        // is closed at exit.
        glFinish();
        resetAxisLights();
        GlTest::TearDown();
    }

    // World corners of what the drawing sends, through an orthographic view that holds it.
    static std::vector<FedPrimitive> feedback(const std::function<void()>& draw, GLenum type = GL_3D) {
        orthoBox(100);
        return captureFeedback(draw, type);
    }

    Car car = makeTraffic()[0];
};
using GrassDraw = WorldDraw;
using CarDraw = WorldDraw;

::testing::AssertionResult isCorner(const FedVertex& c, const Corner& expected, float dx = 0.0f) {
    if (std::abs(c.x - expected.x - dx) < 1e-3f && std::abs(c.y - expected.y) < 1e-3f && std::abs(c.z - expected.z) < 1e-3f) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "(" << c.x << ", " << c.y << ", " << c.z << ") instead of ("
                                         << expected.x + dx << ", " << expected.y << ", " << expected.z << ")";
}
}  // namespace

TEST_F(GrassDraw, GameFieldIsOneUpwardQuadPerCellWithOneTextureCopyEach) {
    const Fed fed = drawFed(GrassField{}, GameStatus{});
    EXPECT_EQ(fed.triangles, 2 * 7000);
    EXPECT_EQ(fed.downwardTriangles, 0);
    EXPECT_EQ(fed.lineSegments, 0);
    EXPECT_NEAR(fed.minX, -25, 1e-3);
    EXPECT_NEAR(fed.maxX, 25, 1e-3);
    EXPECT_NEAR(fed.minZ, -70, 1e-3);
    EXPECT_NEAR(fed.maxZ, 70, 1e-3);
    // The first cell (-25..-24, -70..-69), starting at its corner 1: s with x, t with z.
    ASSERT_EQ(fed.firstCell.size(), 6u);
    EXPECT_NEAR(fed.firstCell[0].x, -24, 1e-3);
    EXPECT_NEAR(fed.firstCell[0].z, -69, 1e-3);
    for (const FedVertex& v : fed.firstCell) {
        EXPECT_TRUE(v.x > -25.001f && v.x < -23.999f && v.z > -70.001f && v.z < -68.999f) << v.x << "," << v.z;
        EXPECT_NEAR(v.tex[0], v.x + 25, 1e-3) << v.x << "," << v.z;
        EXPECT_NEAR(v.tex[1], v.z + 70, 1e-3) << v.x << "," << v.z;
    }
}

TEST_F(GrassDraw, NonWholeEdgesAreTruncatedTowardZeroAndTheWireframeIsOneLoop) {
    const GrassField field = fieldOf(-2.5f, 1.5f, -1.0f, 0.5f);
    Fed fed = drawFed(field, GameStatus{});
    EXPECT_EQ(fed.triangles, 2 * 4 * 2);
    EXPECT_NEAR(fed.minX, -2, 1e-3);
    EXPECT_NEAR(fed.maxX, 2, 1e-3);
    EXPECT_NEAR(fed.minZ, -1, 1e-3);
    EXPECT_NEAR(fed.maxZ, 1, 1e-3);
    GameStatus wireframe;
    wireframe.wireframe = true;
    fed = drawFed(field, wireframe);
    EXPECT_EQ(fed.triangles, 0);
    EXPECT_EQ(fed.lineSegments, 8 * 4);  // a closed loop: one segment per vertex
}

TEST_F(GrassDraw, LeavesTexturingAndLightingOff) {
    GrassField field;
    glGenTextures(1, &field.texture);
    GameStatus status;
    glEnable(GL_TEXTURE_2D);
    glColor3f(1, 0, 0);
    field.draw(status);
    EXPECT_FALSE(glEnabled(GL_TEXTURE_2D));
    EXPECT_FALSE(glEnabled(GL_LIGHTING));
    EXPECT_EQ(glInteger(GL_TEXTURE_BINDING_2D), static_cast<int>(field.texture));
    GLfloat colour[4], normal[3];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    glGetFloatv(GL_CURRENT_NORMAL, normal);
    EXPECT_EQ(colour[1], 1.0f);
    EXPECT_EQ(normal[1], 1.0f);

    // Textures off: the field leaves the binding alone.
    status.texturesEnabled = false;
    glBindTexture(GL_TEXTURE_2D, 0);
    glEnable(GL_LIGHTING);
    field.draw(status);
    EXPECT_EQ(glInteger(GL_TEXTURE_BINDING_2D), 0);
    EXPECT_FALSE(glEnabled(GL_TEXTURE_2D));
    EXPECT_FALSE(glEnabled(GL_LIGHTING));
    glDeleteTextures(1, &field.texture);
}

TEST_F(CarDraw, WireframeIsOneLoopThroughTheFaceCornersInOrder) {
    GameStatus::instance().wireframe = true;
    const std::vector<FedPrimitive> lines = feedback([&] { car.draw(); });
    // One loop with the joins between faces, not six closed squares.
    ASSERT_EQ(lines.size(), 24u) << "23 segments plus the closing one";
    for (size_t i = 0; i < 24; ++i) {
        SCOPED_TRACE(i);
        ASSERT_EQ(lines[i].vertices.size(), 2u);
        EXPECT_TRUE(isCorner(lines[i].vertices[0], ExpectedCorners[i]));
        EXPECT_TRUE(isCorner(lines[i].vertices[1], ExpectedCorners[(i + 1) % 24]));
    }
}

TEST_F(CarDraw, MoveAndDrawDrawsAtTheNewPlace) {
    GameStatus::instance().wireframe = true;
    const std::vector<FedPrimitive> lines = feedback([&] { car.moveAndDraw(1.0f / 34.2f); });  // one unit
    ASSERT_EQ(lines.size(), 24u);
    EXPECT_NEAR(car.position.x, 11.0f, 1e-4f);
    for (size_t i = 0; i < 24; ++i) EXPECT_TRUE(isCorner(lines[i].vertices[0], ExpectedCorners[i], 1.0f)) << i;
}

TEST_F(CarDraw, SolidLeavesLightingAndColorMaterialOffWireframeLeavesThemAlone) {
    glEnable(GL_LIGHTING);
    glEnable(GL_COLOR_MATERIAL);
    car.draw();
    EXPECT_FALSE(glEnabled(GL_LIGHTING));
    EXPECT_FALSE(glEnabled(GL_COLOR_MATERIAL));
    EXPECT_FALSE(glEnabled(GL_TEXTURE_2D));
    EXPECT_EQ(glStackDepth(GL_MODELVIEW_STACK_DEPTH), 1);

    GameStatus::instance().wireframe = true;
    for (bool on : {true, false}) {
        on ? glEnable(GL_LIGHTING) : glDisable(GL_LIGHTING);
        on ? glDisable(GL_COLOR_MATERIAL) : glEnable(GL_COLOR_MATERIAL);
        car.draw();
        EXPECT_EQ(glEnabled(GL_LIGHTING), on);
        EXPECT_EQ(glEnabled(GL_COLOR_MATERIAL), !on);
    }
}

TEST_F(CarDraw, SolidFacesComeInOrderEachLitByItsOutwardNormalAndWoundToFaceOut) {
    const float normals[6][3] = {{0, 1, 0}, {0, -1, 0}, {0, 0, 1}, {0, 0, -1}, {-1, 0, 0}, {1, 0, 0}};
    for (float sign : {1.0f, -1.0f}) {
        lightAxesAsColours(sign);
        const std::vector<FedPrimitive> polygons = feedback([&] { car.draw(); }, GL_3D_COLOR_TEXTURE);
        // A quad may come back as one polygon or as two triangles; either way face k's
        // pieces use exactly the four corners of face k.
        ASSERT_FALSE(polygons.empty());
        ASSERT_EQ(polygons.size() % 6, 0u);
        const size_t perFace = polygons.size() / 6;
        bool used[24] = {};
        for (size_t k = 0; k < polygons.size(); ++k) {
            const size_t face = k / perFace;
            const float* n = normals[face];
            const std::vector<FedVertex>& v = polygons[k].vertices;
            ASSERT_EQ(polygons[k].token, static_cast<GLenum>(GL_POLYGON_TOKEN));
            for (const FedVertex& c : v) {
                bool found = false;
                for (size_t j = face * 4; j < face * 4 + 4; ++j) {
                    if (isCorner(c, ExpectedCorners[j])) found = used[j] = true;
                }
                EXPECT_TRUE(found) << "(" << c.x << ", " << c.y << ", " << c.z << ") is not a corner of face " << face;
            }
            for (int c = 0; c < 3; ++c) EXPECT_NEAR(v[0].color[c], std::max(0.0f, sign * n[c]), 0.01f) << k << "," << c;
            // Counter-clockwise seen from outside: the corners turn about the normal.
            const float a[3] = {v[1].x - v[0].x, v[1].y - v[0].y, v[1].z - v[0].z};
            const float b[3] = {v[2].x - v[0].x, v[2].y - v[0].y, v[2].z - v[0].z};
            const float turn = n[0] * (a[1] * b[2] - a[2] * b[1]) + n[1] * (a[2] * b[0] - a[0] * b[2]) +
                               n[2] * (a[0] * b[1] - a[1] * b[0]);
            EXPECT_GT(turn, 0.0f) << "piece " << k;
        }
        for (int j = 0; j < 24; ++j) EXPECT_TRUE(used[j]) << "corner " << j << " missing";
    }
}
