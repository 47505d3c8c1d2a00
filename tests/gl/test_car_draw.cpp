// Car drawing through the real GL: the cube's corners in feedback, its lit faces, and
// the lighting state each mode leaves.
#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <vector>

#include "game/GameStatus.h"
#include "support/Feedback.h"
#include "support/GlContext.h"
#include "support/Image.h"
#include "world/Traffic.h"

namespace {
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

class CarDraw : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        GameStatus::instance() = GameStatus{};
        car = makeTraffic()[0];
    }
    void TearDown() override {
        GameStatus::instance() = GameStatus{};
        glDisable(GL_LIGHT0);
        glDisable(GL_CULL_FACE);
        glDisable(GL_LIGHTING);
        GlTest::TearDown();
    }

    // Draws in feedback mode with window coordinates equal to world x + 10, y + 10, and
    // depth carrying z, then turns what was fed back into world corners. A car sends only
    // polygons and line segments.
    std::vector<FedPrimitive> feedback(const std::function<void()>& draw) {
        glMatrixMode(GL_PROJECTION);
        glPushMatrix();
        glLoadIdentity();
        glOrtho(-10, 990, -10, 470, -100, 100);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        const Unprojection toWorld;
        std::vector<FedPrimitive> primitives = polygonsAndLinesOnly(toWorld.toObject(captureFeedback(draw, GL_3D)));
        glMatrixMode(GL_PROJECTION);
        glPopMatrix();
        glMatrixMode(GL_MODELVIEW);
        return primitives;
    }

    Car car;
};

bool same(const FedVertex& a, const Corner& b) {
    return std::abs(a.x - b.x) < 1e-3f && std::abs(a.y - b.y) < 1e-3f && std::abs(a.z - b.z) < 1e-3f;
}

::testing::AssertionResult isCorner(const FedVertex& c, const Corner& expected) {
    if (same(c, expected)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "(" << c.x << ", " << c.y << ", " << c.z << ") instead of ("
                                         << expected.x << ", " << expected.y << ", " << expected.z << ")";
}
}  // namespace

TEST_F(CarDraw, WireframeIsOneLoopThroughTheFaceCornersInOrder) {
    GameStatus::instance().wireframe = true;
    const std::vector<FedPrimitive> lines = feedback([&] { car.draw(); });
    // Each segment runs to the next corner, the last one back to the very first: one
    // loop, with the joins between faces, not six closed squares.
    ASSERT_EQ(lines.size(), 24u) << "23 segments plus the closing one";
    for (size_t i = 0; i < 24; ++i) {
        SCOPED_TRACE(i);
        EXPECT_NE(lines[i].token, static_cast<GLenum>(GL_POLYGON_TOKEN));
        EXPECT_TRUE(isCorner(lines[i].vertices[0], ExpectedCorners[i]));
        EXPECT_TRUE(isCorner(lines[i].vertices[1], ExpectedCorners[(i + 1) % 24]));
    }
}

TEST_F(CarDraw, SolidFacesCoverTheCubeFaceByFace) {
    const std::vector<FedPrimitive> polygons = feedback([&] { car.draw(); });
    // Each quad may come back as one polygon or as two triangles; either way face k's
    // pieces use exactly the four corners of face k, and the faces come in order.
    ASSERT_FALSE(polygons.empty());
    ASSERT_EQ(polygons.size() % 6, 0u);
    const size_t perFace = polygons.size() / 6;
    for (size_t face = 0; face < 6; ++face) {
        SCOPED_TRACE(face);
        std::vector<bool> used(4, false);
        for (size_t k = 0; k < perFace; ++k) {
            const FedPrimitive& p = polygons[face * perFace + k];
            EXPECT_EQ(p.token, static_cast<GLenum>(GL_POLYGON_TOKEN));
            for (const FedVertex& c : p.vertices) {
                bool found = false;
                for (int j = 0; j < 4; ++j) {
                    if (same(c, ExpectedCorners[face * 4 + j])) found = used[j] = true;
                }
                EXPECT_TRUE(found) << "(" << c.x << ", " << c.y << ", " << c.z << ") is not a corner of this face";
            }
        }
        for (int j = 0; j < 4; ++j) EXPECT_TRUE(used[j]) << "corner " << j << " missing";
    }
}

TEST_F(CarDraw, MoveAndDrawDrawsAtTheNewPlace) {
    GameStatus::instance().wireframe = true;
    const std::vector<FedPrimitive> lines = feedback([&] { car.moveAndDraw(1.0f / 34.2f); });  // one unit
    ASSERT_EQ(lines.size(), 24u);
    EXPECT_NEAR(car.position.x, 11.0f, 1e-4f);
    for (size_t i = 0; i < 24; ++i) {
        Corner expected = ExpectedCorners[i];
        expected.x += 1.0f;
        EXPECT_TRUE(isCorner(lines[i].vertices[0], expected)) << i;
    }
}

TEST_F(CarDraw, SolidLeavesLightingAndColorMaterialOff) {
    for (bool before : {false, true}) {
        if (before) {
            glEnable(GL_LIGHTING);
            glEnable(GL_COLOR_MATERIAL);
        }
        car.draw();
        EXPECT_FALSE(glEnabled(GL_LIGHTING));
        EXPECT_FALSE(glEnabled(GL_COLOR_MATERIAL));
        EXPECT_FALSE(glEnabled(GL_TEXTURE_2D));
    }
    EXPECT_EQ(glStackDepth(GL_MODELVIEW_STACK_DEPTH), 1);
}

TEST_F(CarDraw, WireframeLeavesLightingAlone) {
    GameStatus::instance().wireframe = true;
    glEnable(GL_LIGHTING);
    car.draw();
    EXPECT_TRUE(glEnabled(GL_LIGHTING));
    EXPECT_FALSE(glEnabled(GL_COLOR_MATERIAL));
    glDisable(GL_LIGHTING);
    glEnable(GL_COLOR_MATERIAL);
    car.draw();
    EXPECT_FALSE(glEnabled(GL_LIGHTING));
    EXPECT_TRUE(glEnabled(GL_COLOR_MATERIAL));
    glDisable(GL_COLOR_MATERIAL);
}

TEST_F(CarDraw, EachFaceIsLitByItsOwnNormalAndFacesOutward) {
    // Look at each face from outside along its normal, with back faces culled: a face
    // drawn with the wrong winding vanishes, one with the wrong normal stays dark under
    // a light straight behind the viewer.
    const float normals[6][3] = {{0, 1, 0}, {0, -1, 0}, {0, 0, 1}, {0, 0, -1}, {-1, 0, 0}, {1, 0, 0}};
    const char* names[6] = {"top", "bottom", "+z", "-z", "-x", "+x"};
    glEnable(GL_CULL_FACE);
    glEnable(GL_LIGHT0);
    glClearColor(0.0f, 0.0f, 1.0f, 1.0f);
    for (int face = 0; face < 6; ++face) {
        SCOPED_TRACE(names[face]);
        const float* n = normals[face];
        int level[2];
        for (int lit = 0; lit < 2; ++lit) {
            glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
            glMatrixMode(GL_PROJECTION);
            glPushMatrix();
            glLoadIdentity();
            glOrtho(-2, 2, -2, 2, 0.1, 50);
            glMatrixMode(GL_MODELVIEW);
            glLoadIdentity();
            const bool vertical = n[1] != 0.0f;
            gluLookAt(9 + 10 * n[0], 1 + 10 * n[1], 39 + 10 * n[2], 9, 1, 39, 0, vertical ? 0 : 1, vertical ? 1 : 0);
            const float sign = lit ? 1.0f : -1.0f;
            const GLfloat direction[4] = {sign * n[0], sign * n[1], sign * n[2], 0.0f};
            glLightfv(GL_LIGHT0, GL_POSITION, direction);
            car.draw();
            const Image frame = readFramebuffer();
            glMatrixMode(GL_PROJECTION);
            glPopMatrix();
            glMatrixMode(GL_MODELVIEW);
            const Rgb centre = frame.mean(450, 200, 550, 280);
            EXPECT_EQ(centre.r, centre.b) << "the face is missing (background shows)";
            level[lit] = centre.r;
        }
        EXPECT_GE(level[1], 250) << "face lit from the front";
        EXPECT_LE(level[0], 70) << "face lit from behind shows only ambient light";
    }
    glLoadIdentity();
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    const GLfloat standard[4] = {0, 0, 1, 0};
    glLightfv(GL_LIGHT0, GL_POSITION, standard);
}
