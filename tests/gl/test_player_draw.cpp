// The player on a real GL: the view the camera loads, and where the duck lands, which way
// it turns, which list runs and the state it leaves (tiny stand-in lists make these
// observable).
#include <GL/gl.h>
#include <GL/glu.h>
#include <SDL2/SDL_scancode.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "game/GameStatus.h"
#include "player/Duck.h"
#include "support/Feedback.h"
#include "support/GlContext.h"
#include "support/Image.h"

namespace {

const MoveBounds Field{-25.0f, 25.0f, -70.0f, 70.0f};

// Largest element difference between the modelview in force and gluLookAt((6, ey, 70) -> (0, 3, 60)).
float distanceFromLookAt(double ey) {
    float view[16], expected[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, view);
    glPushMatrix();
    glLoadIdentity();
    gluLookAt(6, ey, 70, 0, 3, 60, 0, 1, 0);
    glGetFloatv(GL_MODELVIEW_MATRIX, expected);
    glPopMatrix();
    float worst = 0.0f;
    for (int i = 0; i < 16; ++i) worst = std::max(worst, std::fabs(view[i] - expected[i]));
    return worst;
}

using CameraView = GlTest;

class DuckDraw : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        GameStatus::instance() = GameStatus{};  // paused, textures on, no wireframe
    }
    void TearDown() override {
        glFinish();  // rasterise now rather than when the window is closed at exit
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

    // World positions of the points the duck sends, through an orthographic projection.
    std::vector<FedVertex> drawnPoints(Duck& duck) {
        orthoBox(100);
        std::vector<FedVertex> points;
        for (const FedPrimitive& p : captureFeedback([&] { duck.draw(keys); }, GL_3D)) {
            EXPECT_EQ(p.token, static_cast<GLenum>(GL_POINT_TOKEN));
            points.insert(points.end(), p.vertices.begin(), p.vertices.end());
        }
        EXPECT_EQ(points.size(), 3u);
        points.resize(3);
        return points;
    }

    static void expectNear(const FedVertex& p, float x, float y, float z) {
        EXPECT_NEAR(p.x, x, 1e-3f);
        EXPECT_NEAR(p.y, y, 1e-3f);
        EXPECT_NEAR(p.z, z, 1e-3f);
    }

    uint8_t keys[SDL_NUM_SCANCODES] = {};
};

// A list that covers the whole window in one colour, whatever the matrices it is given.
GLuint fullWindowList(float r, float g, float b) {
    const GLuint list = glGenLists(1);
    glNewList(list, GL_COMPILE);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glColor3f(r, g, b);
    glRectf(-1, -1, 1, 1);
    glEndList();
    return list;
}

}  // namespace

TEST_F(CameraView, StartViewIsTheLookAtOfTheStartEye) {
    Camera c;
    glLoadIdentity();
    c.update(0.0, Field, false);
    EXPECT_LT(distanceFromLookAt(5), 1e-5f);
    EXPECT_EQ(glStackDepth(GL_MODELVIEW_STACK_DEPTH), 1);
}

TEST_F(CameraView, EyeBelowHalfAUnitIsViewedFromHalfAUnit) {
    Camera c;
    c.reset({6.0f, 0.2f, 70.0f}, {0.0f, 3.0f, 60.0f});
    c.orbitPlaced = true;
    glLoadIdentity();
    c.update(0.0, Field, false);
    EXPECT_LT(distanceFromLookAt(0.5), 1e-5f);
    EXPECT_GT(distanceFromLookAt(0.2), 1e-3f);
    EXPECT_EQ(c.eye.y, 0.2f);  // only the view is lifted, not the stored eye
}

TEST_F(DuckDraw, ModelStandsOnTheGroundUnderTheTarget) {
    Camera camera;
    const GLuint list = markerList();
    Duck duck(camera, list, list);
    const std::vector<FedVertex> points = drawnPoints(duck);
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
    for (GameState state : {GameState::Paused, GameState::GameOver}) {
        GameStatus::instance().state = state;
        expectNear(drawnPoints(duck)[1], -3, 0, 51);
    }
    GameStatus::instance().state = GameState::Playing;
    expectNear(drawnPoints(duck)[1], -2, 0, 50);  // facing the direction of motion, +x
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
    glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);

    // Red modulated by the texel when textured, green for the wireframe list.
    const struct {
        bool textures, wireframe;
        int r, g, b;
    } cases[] = {{true, false, 128, 0, 0}, {true, true, 0, 255, 0}, {false, false, 255, 0, 0}, {false, true, 0, 255, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "textures " << c.textures << " wireframe " << c.wireframe);
        GameStatus::instance().texturesEnabled = c.textures;
        GameStatus::instance().wireframe = c.wireframe;
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glDisable(GL_BLEND);
        duck.draw(keys);
        const Rgb pixel = readFramebuffer().at(500, 240);
        EXPECT_NEAR(pixel.r, c.r, 2);
        EXPECT_NEAR(pixel.g, c.g, 2);
        EXPECT_NEAR(pixel.b, c.b, 2);
        EXPECT_FALSE(glEnabled(GL_TEXTURE_2D));
        EXPECT_TRUE(glEnabled(GL_BLEND));
        EXPECT_EQ(glStackDepth(GL_MODELVIEW_STACK_DEPTH), 1);
    }
    glEnable(GL_TEXTURE_2D);  // on before the call: still off afterwards
    duck.draw(keys);
    EXPECT_FALSE(glEnabled(GL_TEXTURE_2D));
    glDeleteTextures(1, &texture);
}
