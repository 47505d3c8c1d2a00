// Drawing the duck: where the model lands, which way it turns, which list runs and the
// state it leaves. Tiny stand-in lists make each of these observable.
#include <GL/gl.h>
#include <SDL2/SDL_scancode.h>
#include <gtest/gtest.h>

#include <vector>

#include "game/GameStatus.h"
#include "player/Duck.h"
#include "support/Feedback.h"
#include "support/GlContext.h"
#include "support/Image.h"

namespace {

class DuckDraw : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        GameStatus& status = GameStatus::instance();
        status.state = GameState::Paused;
        status.texturesEnabled = true;
        status.wireframe = false;
    }
    void TearDown() override {
        GameStatus::instance() = GameStatus{};
        GlTest::TearDown();
    }

    // Model origin, the model's front (-y) and its top (+z), as points.
    static GLuint markerList() {
        const GLuint list = glGenLists(1);
        glNewList(list, GL_COMPILE);
        glBegin(GL_POINTS);
        glVertex3f(0, 0, 0);
        glVertex3f(0, -1, 0);
        glVertex3f(0, 0, 1);
        glEnd();
        glEndList();
        return list;
    }

    // World positions of the points the duck emits, seen through an orthographic
    // projection and an identity view so depth reads back exactly.
    static std::vector<Vec3> drawnPoints(Duck& duck, const uint8_t* keys) {
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(-100, 100, -100, 100, -200, 200);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        const Unprojection toWorld;
        std::vector<Vec3> points;
        const std::vector<FedPrimitive> fed = captureFeedback([&] { duck.draw(keys); }, GL_3D);
        for (const FedPrimitive& p : toWorld.toObject(fed)) {
            EXPECT_EQ(p.token, static_cast<GLenum>(GL_POINT_TOKEN));
            for (const FedVertex& v : p.vertices) points.push_back({v.x, v.y, v.z});
        }
        return points;
    }

    static void expectNear(const Vec3& p, float x, float y, float z) {
        EXPECT_NEAR(p.x, x, 1e-3f);
        EXPECT_NEAR(p.y, y, 1e-3f);
        EXPECT_NEAR(p.z, z, 1e-3f);
    }

    uint8_t keys[SDL_NUM_SCANCODES] = {};
};

// A list that covers the whole window in one colour, whatever the matrices.
GLuint fullWindowList(float r, float g, float b) {
    const GLuint list = glGenLists(1);
    glNewList(list, GL_COMPILE);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glColor3f(r, g, b);
    glBegin(GL_QUADS);
    glTexCoord2f(0.5f, 0.5f);
    glVertex2f(-1, -1);
    glVertex2f(1, -1);
    glVertex2f(1, 1);
    glVertex2f(-1, 1);
    glEnd();
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glEndList();
    return list;
}

}  // namespace

TEST_F(DuckDraw, ModelStandsOnTheGroundUnderTheTarget) {
    Camera camera;
    const GLuint list = markerList();
    Duck duck(camera, list, list);
    const std::vector<Vec3> points = drawnPoints(duck, keys);
    ASSERT_EQ(points.size(), 3u);
    expectNear(points[0], 0, 0, 60);
    expectNear(points[1], 0, 0, 61);  // facing 0: the front looks toward +z
    expectNear(points[2], 0, 1, 60);  // the model's z is up
    EXPECT_EQ(duck.position.x, 1.0f);
    EXPECT_EQ(duck.position.y, 2.0f);
    EXPECT_EQ(duck.position.z, 61.0f);
    EXPECT_EQ(glStackDepth(GL_MODELVIEW_STACK_DEPTH), 1);
}

TEST_F(DuckDraw, TurnsTowardTheArrowsOnlyWhilePlaying) {
    Camera camera;
    camera.orbitView = false;
    camera.target = {-3.0f, 3.0f, 50.0f};
    const GLuint list = markerList();
    Duck duck(camera, list, list);
    keys[SDL_SCANCODE_RIGHT] = 1;

    std::vector<Vec3> points = drawnPoints(duck, keys);  // paused: no turn
    ASSERT_EQ(points.size(), 3u);
    expectNear(points[1], -3, 0, 51);
    EXPECT_EQ(duck.facing, 0.0f);

    GameStatus::instance().state = GameState::Playing;
    points = drawnPoints(duck, keys);
    ASSERT_EQ(points.size(), 3u);
    EXPECT_EQ(duck.facing, 90.0f);
    expectNear(points[1], -2, 0, 50);  // facing the direction of motion, +x

    keys[SDL_SCANCODE_RIGHT] = 0;
    keys[SDL_SCANCODE_UP] = 1;
    camera.orbitView = true;
    camera.yaw = 30.0f;
    points = drawnPoints(duck, keys);
    ASSERT_EQ(points.size(), 3u);
    EXPECT_EQ(duck.facing, 210.0f);
    expectNear(points[1], -3.0f - 0.5f, 0, 50.0f - 0.8660254f);

    GameStatus::instance().state = GameState::GameOver;
    keys[SDL_SCANCODE_UP] = 0;
    keys[SDL_SCANCODE_DOWN] = 1;
    drawnPoints(duck, keys);
    EXPECT_EQ(duck.facing, 210.0f);
}

TEST_F(DuckDraw, ListAndTexturingFollowTheSwitches) {
    Camera camera;
    Duck duck(camera, fullWindowList(1, 0, 0), fullWindowList(0, 1, 0));
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    const uint8_t texel[4] = {128, 128, 255, 255};
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, texel);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);

    struct Case {
        bool textures, wireframe;
        int r, g, b;
    };
    const Case cases[] = {{true, false, 128, 0, 0},
                          {true, true, 0, 255, 0},
                          {false, false, 255, 0, 0},
                          {false, true, 0, 255, 0}};
    for (const Case& c : cases) {
        GameStatus::instance().texturesEnabled = c.textures;
        GameStatus::instance().wireframe = c.wireframe;
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glDisable(GL_BLEND);
        duck.draw(keys);
        const Rgb pixel = readFramebuffer().at(500, 240);
        EXPECT_NEAR(pixel.r, c.r, 2) << "textures " << c.textures << " wireframe " << c.wireframe;
        EXPECT_NEAR(pixel.g, c.g, 2) << "textures " << c.textures << " wireframe " << c.wireframe;
        EXPECT_NEAR(pixel.b, c.b, 2) << "textures " << c.textures << " wireframe " << c.wireframe;
        EXPECT_FALSE(glEnabled(GL_TEXTURE_2D));
        EXPECT_TRUE(glEnabled(GL_BLEND));
        EXPECT_EQ(glStackDepth(GL_MODELVIEW_STACK_DEPTH), 1);
    }

    glEnable(GL_TEXTURE_2D);  // on before the call: still off afterwards
    duck.draw(keys);
    EXPECT_FALSE(glEnabled(GL_TEXTURE_2D));
    glBindTexture(GL_TEXTURE_2D, 0);
    glDeleteTextures(1, &texture);
}
