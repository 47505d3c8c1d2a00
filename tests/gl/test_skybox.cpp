// The sky box: its extent around the target, the picture on each face and the state it
// leaves for the rest of the pass. Face textures are made here, one look per slot.
#include <GL/gl.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "render/Skybox.h"
#include "support/Feedback.h"
#include "support/GlContext.h"
#include "support/Image.h"

namespace {

class Skybox : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        // 2 x 2 textures: red marks the right half (s > 0.5), green the top half (t > 0.5),
        // blue tells the faces apart.
        GLuint* const slots[] = {&textures.leftFace, &textures.backFace, &textures.rightFace,
                                 &textures.frontFace, &textures.topFace, &textures.bottomFace};
        for (int i = 0; i < 6; ++i) {
            const uint8_t blue = static_cast<uint8_t>(40 * (i + 1));
            const uint8_t texels[16] = {0, 0, blue, 255, 255, 0, blue, 255, 0, 255, blue, 255, 255, 255, blue, 255};
            glGenTextures(1, slots[i]);
            glBindTexture(GL_TEXTURE_2D, *slots[i]);
            glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 2, 2, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        }
        glBindTexture(GL_TEXTURE_2D, 0);
        textures.camera = &camera;
    }
    void TearDown() override {
        glFinish();  // rasterise now rather than when the window is closed at exit
        const GLuint names[] = {textures.leftFace, textures.backFace, textures.rightFace,
                                textures.frontFace, textures.topFace, textures.bottomFace};
        glDeleteTextures(6, names);
        GlTest::TearDown();
    }

    // Twelve triangles spanning x0..x1, y0..y1, z0..z1 in the world.
    void expectExtent(float x0, float x1, float y0, float y1, float z0, float z1) {
        orthoBox(300);
        float min[3] = {1e9f, 1e9f, 1e9f}, max[3] = {-1e9f, -1e9f, -1e9f};
        const auto fed = captureFeedback([&] { drawSkybox(textures, 150.0f); }, GL_3D);
        EXPECT_EQ(fed.size(), 12u);  // six quads
        for (const FedPrimitive& p : fed) {
            EXPECT_EQ(p.token, static_cast<GLenum>(GL_POLYGON_TOKEN));
            for (const FedVertex& v : p.vertices) {
                const float at[3] = {v.x, v.y, v.z};
                for (int a = 0; a < 3; ++a) {
                    min[a] = std::min(min[a], at[a]);
                    max[a] = std::max(max[a], at[a]);
                }
            }
        }
        const float expected[2][3] = {{x0, y0, z0}, {x1, y1, z1}};
        for (int a = 0; a < 3; ++a) {
            EXPECT_NEAR(min[a], expected[0][a], 0.01f) << "axis " << a;
            EXPECT_NEAR(max[a], expected[1][a], 0.01f) << "axis " << a;
        }
    }

    Camera camera;
    SkyboxTextures textures;
};

}  // namespace

TEST_F(Skybox, CubeIsCentredOnTheTarget) {
    expectExtent(-75, 75, -72, 78, -15, 135);
    camera.target = {10.0f, 3.0f, -20.0f};
    expectExtent(-65, 85, -72, 78, -95, 55);
    textures.camera = nullptr;  // no camera yet: around the origin
    expectExtent(-75, 75, -75, 75, -75, 75);
}

TEST_F(Skybox, EachDirectionShowsItsFaceUprightAndUnmirrored) {
    struct Look {
        const char* face;
        float dx, dy, dz, ux, uy, uz;
        int blue;
        // red, green at the upper-left, upper-right, lower-left, lower-right of the window
        int quadrant[4][2];
    };
    const Look looks[] = {
        {"front", 0, 0, -1, 0, 1, 0, 160, {{0, 255}, {255, 255}, {0, 0}, {255, 0}}},
        {"back", 0, 0, 1, 0, 1, 0, 80, {{0, 255}, {255, 255}, {0, 0}, {255, 0}}},
        {"left", -1, 0, 0, 0, 1, 0, 40, {{0, 255}, {255, 255}, {0, 0}, {255, 0}}},
        {"right", 1, 0, 0, 0, 1, 0, 120, {{0, 255}, {255, 255}, {0, 0}, {255, 0}}},
        {"top", 0, 1, 0, 0, 0, -1, 200, {{255, 0}, {0, 0}, {255, 255}, {0, 255}}},
        {"bottom", 0, -1, 0, 0, 0, -1, 240, {{0, 0}, {255, 0}, {0, 255}, {255, 255}}},
    };
    const int sampleAt[4][2] = {{250, 120}, {750, 120}, {250, 360}, {750, 360}};
    const Vec3 t = camera.target;
    for (const Look& look : looks) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glLoadIdentity();
        gluLookAt(t.x, t.y, t.z, t.x + look.dx, t.y + look.dy, t.z + look.dz, look.ux, look.uy, look.uz);
        drawSkybox(textures, 150.0f);
        const Image frame = readFramebuffer();
        for (int q = 0; q < 4; ++q) {
            const Rgb p = frame.at(sampleAt[q][0], sampleAt[q][1]);
            EXPECT_NEAR(p.b, look.blue, 2) << look.face << " quadrant " << q;
            EXPECT_NEAR(p.r, look.quadrant[q][0], 2) << look.face << " quadrant " << q;
            EXPECT_NEAR(p.g, look.quadrant[q][1], 2) << look.face << " quadrant " << q;
        }
    }
}

TEST_F(Skybox, LeavesDepthOnBindingZeroWhiteAndTexturingAsFound) {
    for (bool texturingBefore : {false, true}) {
        glDisable(GL_DEPTH_TEST);  // as the overlays leave it
        texturingBefore ? glEnable(GL_TEXTURE_2D) : glDisable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, textures.topFace);
        glColor4f(1, 0, 0, 0.5f);
        drawSkybox(textures, 150.0f);
        EXPECT_TRUE(glEnabled(GL_DEPTH_TEST));
        EXPECT_EQ(glEnabled(GL_TEXTURE_2D), texturingBefore);
        EXPECT_EQ(glInteger(GL_TEXTURE_BINDING_2D), 0);
        EXPECT_EQ(glStackDepth(GL_MODELVIEW_STACK_DEPTH), 1);
        GLfloat colour[4];
        glGetFloatv(GL_CURRENT_COLOR, colour);
        EXPECT_TRUE(colour[0] == 1 && colour[1] == 1 && colour[2] == 1 && colour[3] == 1);
    }
}
