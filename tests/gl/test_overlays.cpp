// The overlays read back from the real window: bitmap text, the play clock, the
// blackboard, the help panel and the end screens.
#include <GL/freeglut.h>
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdint>

#include "game/GameStatus.h"
#include "render/Overlay.h"
#include "render/Panels.h"
#include "support/GlContext.h"
#include "support/Image.h"
#include "support/TextLines.h"

namespace {

// A texture from RGBA texels, drawn sharp so each texel shows as a block.
GLuint makeTexture(int width, int height, const uint8_t* texels) {
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glBindTexture(GL_TEXTURE_2D, 0);
    return name;
}

// Whether a pixel is text in the image.
bool isText(const Image& image, int x, int y) { return image.at(x, y).r >= 200 && image.at(x, y).b >= 200; }

// The text drawn straight at a window position (x right, y down), without the overlay.
Image referenceText(const char* text, float x, float baseline) {
    glDisable(GL_DEPTH_TEST);  // bitmaps are depth-tested like everything else
    glClear(GL_COLOR_BUFFER_BIT);
    glColor3f(1, 1, 1);
    glWindowPos2f(x, 480.0f - baseline);
    for (const char* c = text; *c; ++c) glutBitmapCharacter(GLUT_BITMAP_HELVETICA_18, *c);
    glEnable(GL_DEPTH_TEST);
    return readFramebuffer();
}

// Pixels around the prompt that are text in one image and not in the other.
int promptMismatch(const Image& a, const Image& b) {
    int count = 0;
    for (int y = 325; y < 355; ++y) {
        for (int x = 300; x < 700; ++x) count += isText(a, x, y) != isText(b, x, y) ? 1 : 0;
    }
    return count;
}

class Overlays : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        GameStatus::instance() = GameStatus{};
        const uint8_t black[4] = {0, 0, 0, 255};
        board.texture = makeTexture(1, 1, black);
        clearGrey();
    }
    void TearDown() override {
        glFinish();  // rasterise now rather than when the window is closed at exit
        glDeleteTextures(1, &board.texture);
        glClearColor(0, 0, 0, 1);
        glClearDepth(1.0);
        GlTest::TearDown();
    }
    // A grey background whose depth would reject anything drawn with the depth test on.
    void clearGrey() {
        glClearColor(0.5f, 0.5f, 0.5f, 1.0f);
        glClearDepth(0.0);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }
    Blackboard board;
};
}  // namespace

TEST_F(Overlays, ClockDarkensItsBoxToFortyPercentAndShowsScoreAndTimeOnTheirBaselines) {
    GameStatus::instance().progress = -37;
    GameStatus::instance().elapsedSeconds = 75;
    drawPlayClock(ScreenSize{});
    const Image image = readFramebuffer();
    const int grey = image.at(600, 300).r;
    ASSERT_NEAR(grey, 128, 2);
    // Inside the box, away from the text.
    for (const Rgb inside : {image.mean(26, 26, 249, 42), image.mean(26, 108, 249, 124), image.mean(26, 26, 40, 124)}) {
        EXPECT_NEAR(inside.r, 0.4 * grey, 2);
        EXPECT_EQ(inside.r, inside.b);
    }
    // The edges: x 25 to 250, y 25 to 125.
    EXPECT_NEAR(image.at(25, 25).r, 0.4 * grey, 2);
    EXPECT_NEAR(image.at(249, 124).r, 0.4 * grey, 2);
    EXPECT_EQ(image.at(24, 60).r, grey);
    EXPECT_EQ(image.at(250, 60).r, grey);
    EXPECT_EQ(image.at(100, 24).r, grey);
    EXPECT_EQ(image.at(100, 125).r, grey);

    expectLine(image, "Score: 37", 45, 60, 250);
    expectLine(image, "Tiempo: 01 : 15", 45, 100, 250);
    // All the text there is lies on those two lines.
    EXPECT_EQ(image.countBright(0, 0, 1000, 480), image.countBright(25, 40, 250, 66) + image.countBright(25, 80, 250, 110));
}

TEST_F(Overlays, TextIsWhiteFollowsTheOriginAndKeepsTheColour) {
    beginOverlay(ScreenSize{});
    const std::array<GLfloat, 4> red{1.0f, 0.0f, 0.0f, 0.5f};
    glColor4fv(red.data());
    glTranslatef(300.0f, 200.0f, 0.0f);
    drawText("Larkmere", 10.0f, 20.0f);
    // Nothing to draw: nothing drawn.
    drawText("", 10.0f, 300.0f);
    drawText(nullptr, 10.0f, 300.0f);
    std::array<GLfloat, 4> colour{};
    glGetFloatv(GL_CURRENT_COLOR, colour.data());
    EXPECT_EQ(colour, red);
    endOverlay();

    const Image image = readFramebuffer();
    expectLine(image, "Larkmere", 310, 220, 600);
    EXPECT_EQ(image.countBright(0, 0, 1000, 480), image.countBright(300, 200, 600, 226)) << "white, and only there";
}

TEST_F(Overlays, BoardShowsThePictureUprightAtNinetyPercent) {
    // Red, green on the first texel row; blue, black on the second.
    const uint8_t quadrants[16] = {255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 0, 0, 0, 255};
    Blackboard picture;
    picture.texture = makeTexture(2, 2, quadrants);
    glClearColor(1, 1, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    beginOverlay(ScreenSize{});
    glTranslatef(500.0f, 240.0f, 0.0f);
    drawBoard(picture);
    EXPECT_FALSE(glEnabled(GL_TEXTURE_2D));
    EXPECT_EQ(static_cast<GLuint>(glInteger(GL_TEXTURE_BINDING_2D)), picture.texture) << "the binding stays";
    endOverlay();
    const Image image = readFramebuffer();
    glDeleteTextures(1, &picture.texture);

    // 90 % of the texel over 10 % of the white background; edges at x 166.7 and 833.3, y 48 and 432.
    auto expectColour = [&](int x0, int y0, int x1, int y1, int r, int g, int b) {
        const Rgb m = image.mean(x0, y0, x1, y1);
        EXPECT_NEAR(m.r, r, 2) << x0 << "," << y0;
        EXPECT_NEAR(m.g, g, 2) << x0 << "," << y0;
        EXPECT_NEAR(m.b, b, 2) << x0 << "," << y0;
    };
    expectColour(168, 50, 498, 238, 255, 25, 25);  // top left: first texel
    expectColour(502, 50, 832, 238, 25, 255, 25);  // top right
    expectColour(168, 242, 498, 430, 25, 25, 255); // bottom left
    expectColour(502, 242, 832, 430, 25, 25, 25);  // bottom right
    expectColour(167, 48, 168, 49, 255, 25, 25);
    expectColour(832, 431, 833, 432, 25, 25, 25);
    expectColour(0, 0, 166, 480, 255, 255, 255);
    expectColour(834, 0, 1000, 480, 255, 255, 255);
    expectColour(0, 0, 1000, 48, 255, 255, 255);
    expectColour(0, 432, 1000, 480, 255, 255, 255);
}

TEST_F(Overlays, HelpPanelListsTheKeysInTwoColumnsAndSwitchesPromptsAfterOneSecond) {
    // The prompt's origin: window centre, less a third of the width, plus the second
    // column's shift, less a seventh of the width.
    const float x = 500.0f - 1000.0f / 3.0f + (1000.0f / 3.0f - 27.5f) - 1000.0f / 7.0f;
    const Image startText = referenceText("PRESIONE P PARA EMPEZAR A JUGAR!", x, 348.0f);
    const Image resumeText = referenceText("PRESIONE P PARA VOLVER AL JUEGO!", x, 348.0f);
    ASSERT_GT(promptMismatch(startText, resumeText), 100) << "the two prompts look alike";
    GameStatus::instance().elapsedSeconds = 1;
    clearGrey();
    drawHelpPanel(board);
    EXPECT_EQ(promptMismatch(readFramebuffer(), resumeText), 0) << "after one second";

    GameStatus::instance().elapsedSeconds = 0;
    clearGrey();
    drawHelpPanel(board);
    const Image image = readFramebuffer();
    EXPECT_EQ(promptMismatch(image, startText), 0) << "before the first second";
    EXPECT_NEAR(image.mean(170, 52, 215, 100).r, 13, 2) << "the board darkens the scene";
    EXPECT_EQ(image.at(160, 240).r, 128);
    const char* left[] = {"FLECHAS:  Mover el pato", "V:  Cambio de vista",   "P:  Pausar el juego",
                          "Q:  Salir del juego",     "T:  Texturas (ON/OFF)", "W:  Wireframe (ON/OFF)",
                          "I:  Interpolado / Facetado"};
    const char* right[] = {"1:  Velocidad LENTA", "2:  Velocidad NORMAL", "3:  Velocidad RAPIDA", nullptr,
                           "N:  Modo nocturno (ON/OFF)", "L:  Modo atardecer (ON/OFF)"};
    int onLines = image.countBright(309, 328, 830, 354);  // the prompt
    for (int row = 0; row < 7; ++row) {
        const int baseline = 123 + 30 * row;
        expectLine(image, left[row], 221, baseline, 470);
        onLines += image.countBright(201, baseline - 20, 470, baseline + 6);
        if (row < 6 && right[row]) {
            expectLine(image, right[row], 527, baseline, 830);
            onLines += image.countBright(507, baseline - 20, 830, baseline + 6);
        }
    }
    EXPECT_EQ(image.countBright(472, 213 - 16, 834, 214), 0) << "the right column skips a row at y 213";
    EXPECT_EQ(image.countBright(0, 0, 1000, 480), onLines) << "no text outside the lines";
}

TEST_F(Overlays, EndScreenShowsTitleScoreTimeAndPrompt) {
    const struct {
        GameState state;
        int32_t progress, seconds;
        const char *title, *score, *time;
    } cases[] = {
        {GameState::GameOver, -12, 75, "GAME OVER", "Score: 12", "Tiempo: 01 : 15"},
        {GameState::Won, -121, 605, "YOU WON!", "Score: 121", "Tiempo: 10 : 05"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.title);
        GameStatus& status = GameStatus::instance();
        status.state = c.state;
        status.progress = c.progress;
        status.elapsedSeconds = c.seconds;
        clearGrey();
        drawEndScreen(board);
        const Image image = readFramebuffer();
        EXPECT_NEAR(image.mean(170, 52, 400, 100).r, 13, 2);
        expectLine(image, c.title, 440, 140, 830);
        expectLine(image, c.score, 455, 215, 830);
        expectLine(image, c.time, 430, 245, 830);
        expectLine(image, "PRESIONE R PARA REINICIAR", 375, 340, 830);
        const int onLines = image.countBright(355, 120, 830, 146) + image.countBright(355, 195, 830, 221) +
                            image.countBright(355, 225, 830, 251) + image.countBright(355, 320, 830, 346);
        EXPECT_EQ(image.countBright(0, 0, 1000, 480), onLines);
    }
}

TEST_F(Overlays, OverlaysLeaveTheStateTheyFound) {
    for (int which = 0; which < 3; ++which) {
        SCOPED_TRACE(which);
        glEnable(GL_DEPTH_TEST);
        glBindTexture(GL_TEXTURE_2D, board.texture);
        glLoadIdentity();
        glTranslatef(1.0f, 2.0f, 3.0f);
        const auto modelview = currentMatrix(GL_MODELVIEW_MATRIX);
        const auto projection = currentMatrix(GL_PROJECTION_MATRIX);
        which == 0 ? drawPlayClock(ScreenSize{}) : which == 1 ? drawHelpPanel(board) : drawEndScreen(board);
        EXPECT_FALSE(glEnabled(GL_TEXTURE_2D));
        EXPECT_FALSE(glEnabled(GL_BLEND));
        EXPECT_FALSE(glEnabled(GL_DEPTH_TEST)) << "left off until the sky box of the next pass";
        EXPECT_FALSE(glEnabled(GL_LIGHTING));
        EXPECT_EQ(static_cast<GLuint>(glInteger(GL_TEXTURE_BINDING_2D)), board.texture);
        EXPECT_EQ(glInteger(GL_MATRIX_MODE), GL_MODELVIEW);
        EXPECT_EQ(glStackDepth(GL_MODELVIEW_STACK_DEPTH), 1);
        EXPECT_EQ(glStackDepth(GL_PROJECTION_STACK_DEPTH), 1);
        EXPECT_EQ(currentMatrix(GL_MODELVIEW_MATRIX), modelview);
        EXPECT_EQ(currentMatrix(GL_PROJECTION_MATRIX), projection);
    }
}

TEST_F(Overlays, EachBlackboardHasItsOwnCopyOfThePicture) {
    const Blackboard pause = makeBlackboard();
    const Blackboard end = makeBlackboard();
    EXPECT_NE(pause.texture, end.texture);
    for (GLuint texture : {pause.texture, end.texture}) {
        glBindTexture(GL_TEXTURE_2D, texture);
        GLint width = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
        EXPECT_GT(width, 0) << "the picture is loaded";
    }
    GLuint names[2] = {pause.texture, end.texture};
    glDeleteTextures(2, names);
    glBindTexture(GL_TEXTURE_2D, 0);
}
