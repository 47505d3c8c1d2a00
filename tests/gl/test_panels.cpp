// The blackboard, the help panel and the end screens, read back from the real window.
#include <GL/freeglut.h>
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>

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

// The text drawn straight at a window position (x right, y down), without the overlay.
Image referenceText(const char* text, float x, float baseline) {
    // Bitmaps are depth-tested like everything else.
    const bool depthTest = glEnabled(GL_DEPTH_TEST);
    glDisable(GL_DEPTH_TEST);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glColor3f(1, 1, 1);
    glWindowPos2f(x, 480.0f - baseline);
    for (const char* c = text; *c; ++c) glutBitmapCharacter(GLUT_BITMAP_HELVETICA_18, *c);
    if (depthTest) glEnable(GL_DEPTH_TEST);
    return readFramebuffer();
}

// Pixels in the region that are text in one image and not in the other.
int textMismatch(const Image& a, const Image& b, int x0, int y0, int x1, int y1) {
    int count = 0;
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            const bool inA = a.at(x, y).r >= 200 && a.at(x, y).b >= 200;
            const bool inB = b.at(x, y).r >= 200 && b.at(x, y).b >= 200;
            if (inA != inB) ++count;
        }
    }
    return count;
}

class Panels : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        GameStatus::instance() = GameStatus{};
        const uint8_t black[4] = {0, 0, 0, 255};
        board.texture = makeTexture(1, 1, black);
    }
    void TearDown() override {
        glDeleteTextures(1, &board.texture);
        GameStatus::instance() = GameStatus{};
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

TEST_F(Panels, BoardShowsThePictureUprightAtNinetyPercent) {
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

    // 90 % of the texel over 10 % of the white background.
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
    // Edges at x 166.7 and 833.3, y 48 and 432.
    expectColour(0, 0, 166, 480, 255, 255, 255);
    expectColour(834, 0, 1000, 480, 255, 255, 255);
    expectColour(0, 0, 1000, 48, 255, 255, 255);
    expectColour(0, 432, 1000, 480, 255, 255, 255);
    expectColour(167, 48, 168, 49, 255, 25, 25);
    expectColour(832, 431, 833, 432, 25, 25, 25);
}

TEST_F(Panels, HelpPanelListsTheKeysInTwoColumns) {
    clearGrey();
    drawHelpPanel(board);
    const Image image = readFramebuffer();
    EXPECT_NEAR(image.mean(170, 52, 215, 100).r, 13, 2) << "the board darkens the scene";
    EXPECT_EQ(image.at(160, 240).r, 128);

    const char* left[] = {"FLECHAS:  Mover el pato", "V:  Cambio de vista",   "P:  Pausar el juego",
                          "Q:  Salir del juego",     "T:  Texturas (ON/OFF)", "W:  Wireframe (ON/OFF)",
                          "I:  Interpolado / Facetado"};
    int onLines = 0;
    for (int row = 0; row < 7; ++row) {
        expectLine(image, left[row], 221, 123 + 30 * row, 470);
        onLines += image.countBright(201, 103 + 30 * row, 470, 129 + 30 * row);
    }
    const char* right[] = {"1:  Velocidad LENTA", "2:  Velocidad NORMAL", "3:  Velocidad RAPIDA", nullptr,
                           "N:  Modo nocturno (ON/OFF)", "L:  Modo atardecer (ON/OFF)"};
    for (int row = 0; row < 6; ++row) {
        if (right[row]) {
            expectLine(image, right[row], 527, 123 + 30 * row, 830);
            onLines += image.countBright(507, 103 + 30 * row, 830, 129 + 30 * row);
        }
    }
    EXPECT_EQ(image.countBright(472, 213 - 16, 834, 214), 0) << "the right column skips a row at y 213";

    const char* start = "PRESIONE P PARA EMPEZAR A JUGAR!";
    expectLine(image, start, 329, 348, 830);
    onLines += image.countBright(309, 328, 830, 354);
    EXPECT_EQ(image.countBright(0, 0, 1000, 480), onLines) << "no text outside the lines";
}

TEST_F(Panels, PromptSwitchesAfterTheFirstWholeSecond) {
    const char* start = "PRESIONE P PARA EMPEZAR A JUGAR!";
    const char* resume = "PRESIONE P PARA VOLVER AL JUEGO!";
    // The prompt's origin: window centre, less a third of the width, plus the second
    // column's shift, less a seventh of the width.
    const float x = 500.0f - 1000.0f / 3.0f + (1000.0f / 3.0f - 27.5f) - 1000.0f / 7.0f;
    const Image startText = referenceText(start, x, 348.0f);
    const Image resumeText = referenceText(resume, x, 348.0f);
    ASSERT_GT(textMismatch(startText, resumeText, 300, 325, 700, 355), 100) << "the two prompts look alike";

    for (int32_t seconds : {0, 1, 2, 3600}) {
        SCOPED_TRACE(seconds);
        GameStatus::instance().elapsedSeconds = seconds;
        clearGrey();
        drawHelpPanel(board);
        const Image image = readFramebuffer();
        EXPECT_EQ(textMismatch(image, seconds == 0 ? startText : resumeText, 300, 325, 700, 355), 0);
    }
}

TEST_F(Panels, EndScreenShowsTitleScoreTimeAndPrompt) {
    const struct {
        GameState state;
        int32_t progress;
        int32_t seconds;
        const char* title;
        const char* score;
        const char* time;
    } cases[] = {
        {GameState::GameOver, -12, 75, "GAME OVER", "Score: 12", "Tiempo: 01 : 15"},
        {GameState::Won, -121, 605, "YOU WON!", "Score: 121", "Tiempo: 10 : 05"},
        {GameState::Playing, 0, 0, "YOU WON!", "Score: 0", "Tiempo: 00 : 00"},
        {GameState::Paused, -3, 6000, "YOU WON!", "Score: 3", "Tiempo: 100 : 00"},
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
        EXPECT_EQ(status.progress, c.progress) << "drawing changes nothing";
        EXPECT_EQ(status.state, c.state);
    }
    // The two titles really differ on screen.
    const Image lost = referenceText("GAME OVER", 440, 140);
    const Image won = referenceText("YOU WON!", 440, 140);
    EXPECT_GT(textMismatch(lost, won, 420, 120, 600, 146), 100);
}

TEST_F(Panels, PanelsLeaveTheStateTheyFound) {
    for (int which = 0; which < 2; ++which) {
        SCOPED_TRACE(which == 0 ? "help panel" : "end screen");
        glEnable(GL_DEPTH_TEST);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glTranslatef(1.0f, 2.0f, 3.0f);
        const auto modelview = currentMatrix(GL_MODELVIEW_MATRIX);
        const auto projection = currentMatrix(GL_PROJECTION_MATRIX);
        const int modelviewDepth = glStackDepth(GL_MODELVIEW_STACK_DEPTH);
        const int projectionDepth = glStackDepth(GL_PROJECTION_STACK_DEPTH);

        if (which == 0) {
            drawHelpPanel(board);
        } else {
            drawEndScreen(board);
        }

        EXPECT_FALSE(glEnabled(GL_TEXTURE_2D));
        EXPECT_FALSE(glEnabled(GL_BLEND));
        EXPECT_FALSE(glEnabled(GL_DEPTH_TEST));
        EXPECT_FALSE(glEnabled(GL_LIGHTING));
        EXPECT_EQ(static_cast<GLuint>(glInteger(GL_TEXTURE_BINDING_2D)), board.texture);
        EXPECT_EQ(glInteger(GL_MATRIX_MODE), GL_MODELVIEW);
        EXPECT_EQ(glStackDepth(GL_MODELVIEW_STACK_DEPTH), modelviewDepth);
        EXPECT_EQ(glStackDepth(GL_PROJECTION_STACK_DEPTH), projectionDepth);
        EXPECT_EQ(currentMatrix(GL_MODELVIEW_MATRIX), modelview);
        EXPECT_EQ(currentMatrix(GL_PROJECTION_MATRIX), projection);
    }
}

TEST_F(Panels, EachBlackboardHasItsOwnTexture) {
    const Blackboard pause = makeBlackboard();
    const Blackboard end = makeBlackboard();
    EXPECT_EQ(pause.height, 480.0f);
    EXPECT_EQ(pause.width, 1000.0f);
    EXPECT_EQ(pause.textTop, 75.0f);
    EXPECT_EQ(pause.textLeft, 55.0f);
    EXPECT_EQ(pause.lineHeight, 30.0f);
    EXPECT_TRUE(glIsTexture(pause.texture));
    EXPECT_TRUE(glIsTexture(end.texture));
    EXPECT_NE(pause.texture, end.texture);
    GLuint names[2] = {pause.texture, end.texture};
    glDeleteTextures(2, names);
    glBindTexture(GL_TEXTURE_2D, 0);
}
