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

struct Extent {
    int triangles = 0;
    float min[3] = {1e9f, 1e9f, 1e9f};
    float max[3] = {-1e9f, -1e9f, -1e9f};
};

class Skybox : public GlTest {
protected:
    void TearDown() override {
        glBindTexture(GL_TEXTURE_2D, 0);
        glDeleteTextures(static_cast<GLsizei>(made.size()), made.data());
        GlTest::TearDown();
    }

    // 2 x 2 texture: red marks the right half (s > 0.5), green the top half (t > 0.5),
    // blue tells the faces apart.
    GLuint faceTexture(uint8_t blue) {
        GLuint name = 0;
        glGenTextures(1, &name);
        made.push_back(name);
        glBindTexture(GL_TEXTURE_2D, name);
        const uint8_t texels[16] = {0, 0, blue, 255, 255, 0, blue, 255, 0, 255, blue, 255, 255, 255, blue, 255};
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 2, 2, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        glBindTexture(GL_TEXTURE_2D, 0);
        return name;
    }

    SkyboxTextures sixFaces() {
        SkyboxTextures textures;
        textures.leftFace = faceTexture(40);
        textures.backFace = faceTexture(80);
        textures.rightFace = faceTexture(120);
        textures.frontFace = faceTexture(160);
        textures.topFace = faceTexture(200);
        textures.bottomFace = faceTexture(240);
        textures.camera = &camera;
        return textures;
    }

    // World extent of what the box sends, through an orthographic view that holds it.
    static Extent fedExtent(const SkyboxTextures& textures) {
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(-300, 300, -300, 300, -300, 300);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        const Unprojection toWorld;
        Extent extent;
        const std::vector<FedPrimitive> fed = captureFeedback([&] { drawSkybox(textures, 150.0f); }, GL_3D);
        for (const FedPrimitive& p : toWorld.toObject(fed)) {
            EXPECT_EQ(p.token, static_cast<GLenum>(GL_POLYGON_TOKEN));
            if (p.token != GL_POLYGON_TOKEN) break;
            for (const FedVertex& v : p.vertices) {
                const float at[3] = {v.x, v.y, v.z};
                for (int a = 0; a < 3; ++a) {
                    extent.min[a] = std::min(extent.min[a], at[a]);
                    extent.max[a] = std::max(extent.max[a], at[a]);
                }
            }
            ++extent.triangles;
        }
        return extent;
    }

    static void expectExtent(const Extent& e, float x0, float x1, float y0, float y1, float z0, float z1) {
        EXPECT_EQ(e.triangles, 12);  // six quads
        EXPECT_NEAR(e.min[0], x0, 0.01f);
        EXPECT_NEAR(e.max[0], x1, 0.01f);
        EXPECT_NEAR(e.min[1], y0, 0.01f);
        EXPECT_NEAR(e.max[1], y1, 0.01f);
        EXPECT_NEAR(e.min[2], z0, 0.01f);
        EXPECT_NEAR(e.max[2], z1, 0.01f);
    }

    Camera camera;
    std::vector<GLuint> made;
};

}  // namespace

TEST_F(Skybox, CubeIsCentredOnTheTarget) {
    SkyboxTextures textures = sixFaces();
    expectExtent(fedExtent(textures), -75, 75, -72, 78, -15, 135);
    camera.target = {10.0f, 3.0f, -20.0f};
    expectExtent(fedExtent(textures), -65, 85, -72, 78, -95, 55);
    textures.camera = nullptr;  // no camera yet: around the origin
    expectExtent(fedExtent(textures), -75, 75, -75, 75, -75, 75);
}

TEST_F(Skybox, EachDirectionShowsItsFaceUprightAndUnmirrored) {
    const SkyboxTextures textures = sixFaces();
    struct Look {
        const char* face;
        float dx, dy, dz, ux, uy, uz;
        int blue;
        // red, green at the upper-left, upper-right, lower-left, lower-right of the window
        int quadrant[4][2];
    };
    const int side[4][2] = {{0, 255}, {255, 255}, {0, 0}, {255, 0}};
    const Look looks[] = {
        {"front", 0, 0, -1, 0, 1, 0, 160, {}},      {"back", 0, 0, 1, 0, 1, 0, 80, {}},
        {"left", -1, 0, 0, 0, 1, 0, 40, {}},        {"right", 1, 0, 0, 0, 1, 0, 120, {}},
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
        const bool isSide = look.uy != 0.0f;
        for (int q = 0; q < 4; ++q) {
            const Rgb p = frame.at(sampleAt[q][0], sampleAt[q][1]);
            const int* expected = isSide ? side[q] : look.quadrant[q];
            EXPECT_NEAR(p.b, look.blue, 2) << look.face << " quadrant " << q;
            EXPECT_NEAR(p.r, expected[0], 2) << look.face << " quadrant " << q;
            EXPECT_NEAR(p.g, expected[1], 2) << look.face << " quadrant " << q;
        }
    }
}

TEST_F(Skybox, LeavesDepthOnBindingZeroWhiteAndTexturingAsFound) {
    const SkyboxTextures textures = sixFaces();
    for (bool texturingBefore : {false, true}) {
        glDisable(GL_DEPTH_TEST);  // as the overlays leave it
        if (texturingBefore) glEnable(GL_TEXTURE_2D); else glDisable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, textures.topFace);
        glColor4f(1, 0, 0, 0.5f);
        drawSkybox(textures, 150.0f);
        EXPECT_TRUE(glEnabled(GL_DEPTH_TEST));
        EXPECT_EQ(glEnabled(GL_TEXTURE_2D), texturingBefore);
        EXPECT_EQ(glInteger(GL_TEXTURE_BINDING_2D), 0);
        EXPECT_EQ(glStackDepth(GL_MODELVIEW_STACK_DEPTH), 1);
        GLfloat colour[4];
        glGetFloatv(GL_CURRENT_COLOR, colour);
        EXPECT_EQ(colour[0], 1.0f);
        EXPECT_EQ(colour[1], 1.0f);
        EXPECT_EQ(colour[2], 1.0f);
        EXPECT_EQ(colour[3], 1.0f);
    }
    glDisable(GL_TEXTURE_2D);
}
