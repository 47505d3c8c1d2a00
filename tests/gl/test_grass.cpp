// The grass field: cells walked, primitives sent, and the state left behind. The field
// records are built directly; the game's texture file plays no part here.
#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "world/GrassField.h"
#include "support/Feedback.h"
#include "support/GlContext.h"

namespace {

struct Fed {
    int triangles = 0;  // Mesa feeds each quad back as two triangles
    int clockwiseTriangles = 0;
    int lineSegments = 0;
    std::vector<float> firstCell;  // x, z, s, t per corner of the first two triangles
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

class Grass : public GlTest {
protected:
    // Seen from above: window x = 500 + 4 x, window y = 240 - 2 z.
    static Fed drawFed(const GrassField& field, const GameStatus& status) {
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(-125, 125, -120, 120, -10, 10);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glRotatef(90, 1, 0, 0);
        const Unprojection toWorld;
        // 7000 cells of two triangles, 35 values each, and room to spare.
        const std::vector<FedPrimitive> window =
            captureFeedback([&] { field.draw(status); }, GL_3D_COLOR_TEXTURE, 600000);

        Fed fed;
        auto vertex = [&](const FedVertex& seen, bool keep) {
            const FedVertex world = toWorld.toObject(seen);
            fed.minX = std::min(fed.minX, world.x);
            fed.maxX = std::max(fed.maxX, world.x);
            fed.minZ = std::min(fed.minZ, world.z);
            fed.maxZ = std::max(fed.maxZ, world.z);
            if (keep) fed.firstCell.insert(fed.firstCell.end(), {world.x, world.z, world.tex[0], world.tex[1]});
        };
        for (const FedPrimitive& p : window) {
            if (p.token == GL_POLYGON_TOKEN) {
                const int corners = static_cast<int>(p.vertices.size());
                EXPECT_EQ(corners, 3);
                if (corners != 3) break;
                // Winding in window coordinates: counter-clockwise faces the viewer above.
                const FedVertex &a = p.vertices[0], &b = p.vertices[1], &c = p.vertices[2];
                const float area = (b.x - a.x) * (c.y - a.y) - (c.x - a.x) * (b.y - a.y);
                if (area < 0.0f) ++fed.clockwiseTriangles;
                for (const FedVertex& v : p.vertices) vertex(v, fed.triangles < 2);
                ++fed.triangles;
            } else if (p.token == GL_LINE_TOKEN || p.token == GL_LINE_RESET_TOKEN) {
                vertex(p.vertices[0], false);
                vertex(p.vertices[1], false);
                ++fed.lineSegments;
            } else {
                ADD_FAILURE() << "unexpected feedback token " << p.token;
                break;
            }
        }
        return fed;
    }
};

}  // namespace

TEST(GrassCells, WalkStartsAtTruncatedEdgeAndCoversTheFarEdge) {
    EXPECT_EQ(grassCellCount(-25.0f, 25.0f) * grassCellCount(-70.0f, 70.0f), 7000);
    EXPECT_EQ(grassCellCount(-25.5f, 25.0f), 50);  // starts at -25
    EXPECT_EQ(grassCellCount(-25.0f, 24.5f), 50);  // still draws 24..25
    EXPECT_EQ(grassCellCount(0.5f, 3.0f), 3);      // truncation toward zero, not down
    EXPECT_EQ(grassCellCount(-0.5f, 0.5f), 1);
    EXPECT_EQ(grassCellCount(2.0f, 2.0f), 0);
}

TEST_F(Grass, GameFieldIsOneQuadPerCell) {
    GameStatus status;
    const Fed fed = drawFed(GrassField{}, status);
    EXPECT_EQ(fed.triangles, 2 * 7000);
    EXPECT_EQ(fed.clockwiseTriangles, 0);  // every cell faces up
    EXPECT_EQ(fed.lineSegments, 0);
    EXPECT_NEAR(fed.minX, -25, 1e-3);
    EXPECT_NEAR(fed.maxX, 25, 1e-3);
    EXPECT_NEAR(fed.minZ, -70, 1e-3);
    EXPECT_NEAR(fed.maxZ, 70, 1e-3);
    // The first cell (-25..-24, -70..-69) carries one whole copy of the texture, s with
    // x and t with z, starting at its corner 1.
    ASSERT_EQ(fed.firstCell.size(), 24u);
    EXPECT_NEAR(fed.firstCell[0], -24, 1e-3);
    EXPECT_NEAR(fed.firstCell[1], -69, 1e-3);
    for (size_t k = 0; k < fed.firstCell.size(); k += 4) {
        const float x = fed.firstCell[k], z = fed.firstCell[k + 1];
        EXPECT_TRUE(x > -25.001f && x < -23.999f && z > -70.001f && z < -68.999f) << x << "," << z;
        EXPECT_NEAR(fed.firstCell[k + 2], x + 25, 1e-3) << x << "," << z;
        EXPECT_NEAR(fed.firstCell[k + 3], z + 70, 1e-3) << x << "," << z;
    }
}

TEST_F(Grass, NonWholeEdgesAreTruncatedTowardZero) {
    GameStatus status;
    const Fed fed = drawFed(fieldOf(-2.5f, 1.5f, -1.0f, 0.5f), status);
    EXPECT_EQ(fed.triangles, 2 * 4 * 2);
    EXPECT_NEAR(fed.minX, -2, 1e-3);
    EXPECT_NEAR(fed.maxX, 2, 1e-3);
    EXPECT_NEAR(fed.minZ, -1, 1e-3);
    EXPECT_NEAR(fed.maxZ, 1, 1e-3);
}

TEST_F(Grass, WireframeIsOneLoopThroughEveryCorner) {
    GameStatus status;
    status.wireframe = true;
    const Fed fed = drawFed(fieldOf(-2.0f, 2.0f, -1.0f, 1.0f), status);
    EXPECT_EQ(fed.triangles, 0);
    EXPECT_EQ(fed.lineSegments, 8 * 4);  // a closed loop: one segment per vertex
}

TEST_F(Grass, LeavesTexturingAndLightingOff) {
    GrassField field;
    glGenTextures(1, &field.texture);
    GLuint other = 0;
    glGenTextures(1, &other);
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
    glBindTexture(GL_TEXTURE_2D, other);
    glEnable(GL_LIGHTING);
    field.draw(status);
    EXPECT_EQ(glInteger(GL_TEXTURE_BINDING_2D), static_cast<int>(other));
    EXPECT_FALSE(glEnabled(GL_TEXTURE_2D));
    EXPECT_FALSE(glEnabled(GL_LIGHTING));
    glBindTexture(GL_TEXTURE_2D, 0);
    glDeleteTextures(1, &other);
    glDeleteTextures(1, &field.texture);
}
