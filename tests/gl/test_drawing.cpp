// The drawing functions on a real GL: what each sends down the pipeline, caught in
// GL_FEEDBACK, against a drawing of the expected picture; what shows; the state left behind.
#include <functional>

#include "assets/ObjLoader.h"
#include "game/Lighting.h"
#include "player/Duck.h"
#include "render/Skybox.h"
#include "support/Gl.h"
#include "world/Traffic.h"

// Window position, colour and texture coordinate of every vertex drawing sends must be the
// expected picture's. Each starts from a red colour and a grey material (the car's colour
// material leaves the material white), so a drawing that forgets its own shows.
static void expectDrawsAs(const std::string& what, const std::function<void()>& drawing, const std::function<void()>& expected) {
    SCOPED_TRACE(what);
    std::vector<GLfloat> sent[2] = {std::vector<GLfloat>(1 << 14), std::vector<GLfloat>(1 << 14)};
    for (int i = 0; i < 2; ++i) {
        glColor3f(0.5f, 0.5f, 0.5f), glEnable(GL_COLOR_MATERIAL), glDisable(GL_COLOR_MATERIAL), glColor3f(1, 0, 0);
        glFeedbackBuffer(1 << 14, GL_3D_COLOR_TEXTURE, sent[i].data()), glRenderMode(GL_FEEDBACK), (i == 0 ? drawing : expected)();
        sent[i].resize(static_cast<size_t>(std::max(glRenderMode(GL_RENDER), 0)));  // -1: overflow
    }
    ASSERT_TRUE(!sent[1].empty() && sent[0].size() == sent[1].size()) << sent[0].size() << " values, not " << sent[1].size();
    // Each primitive: a token, then per vertex x, y, z, r, g, b, a, s, t, r, q.
    for (size_t i = 0; i < sent[0].size(); ++i) ASSERT_NEAR(sent[0][i], sent[1][i], 1e-3) << "value " << i;
}

static GLint integer(GLenum name) { GLint value = -1; return glGetIntegerv(name, &value), value; }

static bool isBlack(const Rgb& pixel) { return pixel.r + pixel.g + pixel.b < 30; }

// A view 20 units wide (50 pixels a unit); lights along +x, +y, +z (red, green, blue) and,
// three times dimmer, along -x, -y, -z, so a lit vertex's colour tells its normal (none
// saturates); one-texel textures: black, then red 40, 80, ... 240.
class Draw : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        glMatrixMode(GL_PROJECTION), glLoadIdentity(), glOrtho(-10, 10, -10, 10, -10, 10), glMatrixMode(GL_MODELVIEW);
        for (GLenum i = 0; i < 6; ++i) {
            GLfloat direction[4] = {0, 0, 0, 0}, colour[4] = {0, 0, 0, 1};
            direction[i % 3] = i < 3 ? 1.0f : -1.0f, colour[i % 3] = i < 3 ? 0.45f : 0.15f;
            glEnable(GL_LIGHT0 + i), glLightfv(GL_LIGHT0 + i, GL_POSITION, direction), glLightfv(GL_LIGHT0 + i, GL_DIFFUSE, colour);
        }
        GLubyte texel[4] = {0, 0, 0, 255};
        glGenTextures(7, textures);
        for (int i = 0; i < 7; texel[0] = static_cast<GLubyte>(40 * ++i))
            glBindTexture(GL_TEXTURE_2D, textures[i]), glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, texel);
    }
    GLuint textures[7] = {}, &black = textures[0];
};

// The grass, the duck and a car, in the game's order, as one capture for each case.
TEST_F(Draw, WorldIsGrassCellsThenTheDuckThenTheCarCube) {
    // Edges off the whole numbers start at the edge truncated toward zero: x -1 to 1, z 2 to 4.
    const GrassField field{-1.5f, 1.0f, 2.5f, 4.0f, 0.0f, 0.0f, 0.5f, black};
    Camera camera;
    camera.orbitView = false, camera.target = {3, 7, -4};
    uint8_t keys[SDL_NUM_SCANCODES] = {};
    keys[SDL_SCANCODE_RIGHT] = 1;  // turns the duck toward +x, facing 90, while playing
    GLuint lists[2];               // the duck's model as its x, y and z unit points: red textured, blue plain
    for (GLuint i = 0; i < 2; ++i)
        glNewList(lists[i] = glGenLists(1), GL_COMPILE), glColor3f(1 - i, 0, i), glBegin(GL_POINTS), glVertex3f(1, 0, 0),
            glVertex3f(0, 1, 0), glVertex3f(0, 0, 1), glEnd(), glEndList();
    // The model on the ground under the target, its z up, at facing 0 and at facing 90: the
    // images of its axes and origin.
    const GLfloat placed[2][16] = {{1, 0, 0, 0, 0, 0, -1, 0, 0, 1, 0, 0, 3, 0, -4, 1}, {0, 0, -1, 0, -1, 0, 0, 0, 0, 1, 0, 0, 3, 0, -4, 1}};
    Car car{0.0f, 3.0f, {4, 5, -6}, 50.0f};
    // The car's faces in order, each normal and corners: upper case is the maximum corner's
    // coordinate (4, 5, -6), lower case that less the size (1, 2, -9).
    const std::pair<Vec3, const char*> faces[6] = {{{0, 1, 0}, "XYz xYz xYZ XYZ"}, {{0, -1, 0}, "XyZ xyZ xyz Xyz"}, {{0, 0, 1}, "XYZ xYZ xyZ XyZ"},
                                                   {{0, 0, -1}, "Xyz xyz xYz XYz"}, {{-1, 0, 0}, "xYZ xYz xyz xyZ"}, {{1, 0, 0}, "XYz XYZ XyZ Xyz"}};
    glRotatef(90, 1, 0, 0), glPointSize(9);  // seen from above
    const struct { GameState state; bool textures, wireframe, turned, textured; } cases[] = {
        {GameState::Playing, true, false, true, true}, {GameState::Playing, false, false, true, false}, {GameState::Paused, true, true, false, false}};
    for (const auto& [state, textures, wireframe, turned, textured] : cases) {
        SCOPED_TRACE(testing::Message() << "playing " << turned << ", textures " << textures << ", wireframe " << wireframe);
        GameStatus& status = GameStatus::instance() = GameStatus{state, GameSpeed::Normal, textures, wireframe};
        Duck duck(camera, lists[0], lists[1]);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT), field.draw(status), duck.draw(keys);
        // The texture the grass binds is black: the first cell's middle and the duck's z point
        // show dark only when textured (and the cell's middle is empty in wireframe).
        EXPECT_EQ(std::pair(isBlack(readFramebuffer().at(475, 300)), isBlack(readFramebuffer().at(650, 144))),
                  std::pair(textures || wireframe, textured));
        expectDrawsAs("", [&] {  // each leaves lighting, texturing and colour material off; the duck, blending on
            field.draw(status), duck.draw(keys), car.draw();
            EXPECT_FALSE(glIsEnabled(GL_LIGHTING) || glIsEnabled(GL_TEXTURE_2D) || glIsEnabled(GL_COLOR_MATERIAL) || !glIsEnabled(GL_BLEND));
        }, [&] {
            glEnable(GL_LIGHTING), glBegin(wireframe ? GL_LINE_LOOP : GL_QUADS), glNormal3f(0, 1, 0);
            for (const auto& [x, z] : {std::pair{-1, 2}, {-1, 3}, {0, 2}, {0, 3}})
                for (const auto& [s, t] : {std::pair{1, 1}, {1, 0}, {0, 0}, {0, 1}}) glTexCoord2i(s, t), glVertex3f(x + s, 0.5f, z + t);
            // Drawn after the duck, the car would show a matrix the duck left behind.
            glEnd(), glDisable(GL_LIGHTING), glPushMatrix(), glMultMatrixf(placed[turned]), glCallList(lists[wireframe]), glPopMatrix();
            if (!wireframe) glEnable(GL_LIGHTING), glEnable(GL_COLOR_MATERIAL);
            glBegin(wireframe ? GL_LINE_LOOP : GL_QUADS);
            for (const auto& [n, c] : faces) {
                glColor3f(1, 1, 1), glNormal3f(n.x, n.y, n.z);
                for (int k = 0; k < 16; k += 4) glVertex3f(c[k] < 'a' ? 4 : 1, c[k + 1] < 'a' ? 5 : 2, c[k + 2] < 'a' ? -6 : -9);
            }
            glEnd(), glDisable(GL_COLOR_MATERIAL), glDisable(GL_LIGHTING);
        });
    }
}

TEST_F(Draw, SkyboxIsSixFacesAroundTheTargetEachWithItsOwnPictureUpright) {
    Camera camera;
    camera.target = {2, 3, -1};
    SkyboxTextures sky{textures[1], textures[2], textures[3], textures[4], textures[5], textures[6], &camera};
    // The quads back, left, front, right, top, bottom; each corner's texture coordinate (s, t),
    // then its place in half sizes from the target.
    const char* const corners = "00+-+ 10--+ 11-++ 01+++ 00--+ 10--- 11-+- 01-++ 10+-- 00--- 01-+- 11++- "
                                "00+-- 10+-+ 11+++ 01++- 10++- 00-+- 01-++ 11+++ 11+-+ 01--+ 00--- 10+-- ";
    expectDrawsAs("", [&] { drawSkybox(sky, 10.0f); }, [&] {
        glColor3f(1, 1, 1), glBegin(GL_QUADS);
        for (const char* k = corners; *k; k += 6)
            glTexCoord2i(k[0] - '0', k[1] - '0'), glVertex3f(2 + (k[2] == '+' ? 5 : -5), 3 + (k[3] == '+' ? 5 : -5), -1 + (k[4] == '+' ? 5 : -5));
        glEnd();
    });
    // Looking from the target toward each face in slot order (left, back, right, front, top,
    // bottom) shows that face's own picture; depth testing is left on, texturing as it was
    // found and no texture bound.
    const GLfloat looks[6][4] = {{-90, 0, 1, 0}, {180, 0, 1, 0}, {90, 0, 1, 0}, {0, 0, 1, 0}, {-90, 1, 0, 0}, {90, 1, 0, 0}};
    glMatrixMode(GL_PROJECTION), glLoadIdentity(), glFrustum(-0.1, 0.1, -0.05, 0.05, 0.1, 100), glMatrixMode(GL_MODELVIEW);
    for (int i = 0; i < 6; ++i) {
        i % 2 ? glEnable(GL_TEXTURE_2D) : glDisable(GL_TEXTURE_2D), glDisable(GL_DEPTH_TEST);  // as the overlays leave it
        glLoadIdentity(), glRotatef(looks[i][0], looks[i][1], looks[i][2], looks[i][3]), glTranslatef(-2, -3, 1), drawSkybox(sky, 10.0f);
        EXPECT_NEAR(readFramebuffer().at(500, 240).r, 40 * (i + 1), 2) << "face " << i;
        EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST) && glIsEnabled(GL_TEXTURE_2D) == i % 2 && !integer(GL_TEXTURE_BINDING_2D)) << i;
    }
}

TEST_F(GlTest, EachLookSetsItsLights) {
    LightingMode mode;
    computeLampPositions(mode, GrassField{-10.0f, 20.0f, -34.0f, 17.0f});  // lamps at z -20, 0 and 10
    const Camera camera;                                                     // target (0, 3, 60)
    // Look (0 night, 1 sunset, 2 day), light, position, diffuse colour. Each look follows one
    // that set other values; light 0 keeps the night's attenuation.
    const GLfloat lights[][9] = {
        {0, 0, -10, 3, -20, 1, 1, 0.8f, 0.3f}, {0, 1, 20, 3, -20, 1, 1, 0.8f, 0.3f}, {0, 2, -10, 3, 0, 1, 1, 0.8f, 0.3f},
        {0, 3, 20, 3, 0, 1, 1, 0.8f, 0.3f},    {0, 4, -10, 3, 10, 1, 1, 0.8f, 0.3f}, {0, 5, 20, 3, 10, 1, 1, 0.8f, 0.3f},
        {0, 6, 0, 3, 60, 1, 1, 1, 1},          {1, 0, -0.5f, 1, 0.4f, 0, 1, 0.8f, 0.3f}, {2, 0, 0.5f, 1, 0.4f, 0, 1, 1, 1}};
    for (int look : {0, 2, 1, 2}) {
        mode.nightMode = look == 0, mode.daylight = look == 2, applyLighting(mode, camera);
        for (GLenum i = 1; i <= 6; ++i) EXPECT_EQ(glIsEnabled(GL_LIGHT0 + i), look == 0) << "look " << look << ", light " << i;
        for (const auto& row : lights) {
            GLfloat got[13] = {row[0], row[1]};  // then position, diffuse colour (and alpha), attenuation
            for (const auto& [name, at] : {std::pair{GL_POSITION, 2}, {GL_DIFFUSE, 6}, {GL_CONSTANT_ATTENUATION, 10},
                                           {GL_LINEAR_ATTENUATION, 11}, {GL_QUADRATIC_ATTENUATION, 12}})
                glGetLightfv(GL_LIGHT0 + static_cast<GLenum>(row[1]), name, got + at);
            const bool attenuated = got[10] == 0.2f && got[11] == 0.2f && got[12] == 0;
            EXPECT_TRUE(row[0] != look || (std::equal(row, row + 9, got) && attenuated)) << "look " << look << ", light " << row[1];
        }
    }
}

TEST_F(Draw, ObjFacesGoByCornerCountWithTheirTexCoordsNormalsAndScaledPositions) {
    const ObjModel model = readObj("v 10 0 -5\nv -10 -5 0\nv 0 10 5\nv 5 5 5\nv -5 10 -10\nvt 0.25 0.75\nvn 0 0.5 0\n"
                                   "f 1/1/1 2/1/1 3/1/1\nf 1/1/1 2/1/1 3/1/1 4/1/1\nf 5/1/1 4/1/1 3/1/1 2/1/1 1/1/1\n");
    const GLfloat P[5][3] = {{5, 0, -2.5f}, {-5, -2.5f, 0}, {0, 5, 2.5f}, {2.5f, 2.5f, 2.5f}, {-2.5f, 5, -5}};  // scale 0.5
    const std::pair<GLenum, std::vector<int>> faces[3] = {{GL_TRIANGLES, {0, 1, 2}}, {GL_QUADS, {0, 1, 2, 3}}, {GL_POLYGON, {4, 3, 2, 1, 0}}};
    // A triangle, a quad and a pentagon, with texture coordinate (u, -v) and the normal as
    // read. Outlines are positions only, lit by the caller's lighting and current normal.
    for (bool outlines : {false, true}) {
        expectDrawsAs(outlines ? "outlines" : "solid", [&] {
            glEnable(GL_LIGHTING), outlines ? emitObjWireframe(model, 0.5f) : emitObjModel(model, black, 0.5f);
            EXPECT_TRUE(outlines || (integer(GL_TEXTURE_BINDING_2D) == static_cast<GLint>(black) && !glIsEnabled(GL_LIGHTING)));
        }, [&] {
            for (const auto& [kind, face] : faces) {
                glEnable(GL_LIGHTING), glBegin(outlines ? GL_LINE_LOOP : kind);
                for (int i : face) outlines ? glVertex3fv(P[i]) : (glTexCoord2f(0.25f, -0.75f), glNormal3f(0, 0.5f, 0), glVertex3fv(P[i]));
                glEnd();
            }
        });
    }
    // Compiled, the outlines and then the solid model show, and the solid list leaves its
    // texture modulating whatever it found.
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    const Image blank = readFramebuffer();
    glCallList(compileObjWireframe(model, 0.5f));
    const Image withOutlines = readFramebuffer();
    glCallList(compileObjModel(model, black, 0.5f));
    GLint mode = 0;
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &mode);
    EXPECT_TRUE(countDifferent(withOutlines, blank) > 500 && countDifferent(readFramebuffer(), withOutlines) > 5000 && mode == GL_MODULATE);
}
