// Bitmap text, the overlay set-up and the play clock, read back from the real window.
#include <GL/freeglut.h>
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>

#include "game/GameStatus.h"
#include "render/Overlay.h"
#include "support/GlContext.h"
#include "support/Image.h"
#include "support/TextLines.h"

namespace {

class Overlays : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        GameStatus::instance() = GameStatus{};
    }
    void TearDown() override {
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
};
}  // namespace

TEST_F(Overlays, ClockBoxDarkensItsCornerToFortyPercent) {
    clearGrey();
    drawPlayClock(ScreenSize{});
    const Image image = readFramebuffer();
    const int grey = image.at(600, 300).r;
    ASSERT_NEAR(grey, 128, 2);
    // Inside the box, away from the text.
    for (const Rgb inside : {image.mean(26, 26, 249, 42), image.mean(26, 108, 249, 124), image.mean(26, 26, 40, 124),
                             image.mean(200, 26, 249, 124)}) {
        EXPECT_NEAR(inside.r, 0.4 * grey, 2);
        EXPECT_EQ(inside.r, inside.g);
        EXPECT_EQ(inside.g, inside.b);
    }
    // The edges: x 25 to 250, y 25 to 125.
    EXPECT_NEAR(image.at(25, 25).r, 0.4 * grey, 2);
    EXPECT_NEAR(image.at(249, 124).r, 0.4 * grey, 2);
    EXPECT_EQ(image.at(24, 60).r, grey);
    EXPECT_EQ(image.at(250, 60).r, grey);
    EXPECT_EQ(image.at(100, 24).r, grey);
    EXPECT_EQ(image.at(100, 125).r, grey);
    // Nothing elsewhere.
    EXPECT_EQ(image.mean(251, 0, 1000, 480).r, grey);
    EXPECT_EQ(image.mean(0, 126, 251, 480).r, grey);
}

TEST_F(Overlays, ClockShowsScoreAndTimeOnTheirBaselines) {
    const struct {
        int32_t progress;
        int32_t seconds;
        const char* score;
        const char* time;
    } cases[] = {
        {0, 0, "Score: 0", "Tiempo: 00 : 00"},
        {-37, 75, "Score: 37", "Tiempo: 01 : 15"},
        {-121, 6000, "Score: 121", "Tiempo: 100 : 00"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.score);
        clearGrey();
        GameStatus::instance().progress = c.progress;
        GameStatus::instance().elapsedSeconds = c.seconds;
        drawPlayClock(ScreenSize{});
        const Image image = readFramebuffer();
        expectLine(image, c.score, 45, 60, 250);
        expectLine(image, c.time, 45, 100, 250);
        // All the text there is lies on those two lines.
        const int onLines = image.countBright(25, 40, 250, 66) + image.countBright(25, 80, 250, 110);
        EXPECT_EQ(image.countBright(0, 0, 1000, 480), onLines);
        EXPECT_EQ(image.countBright(25, 64, 250, 82), 0);
    }
}

TEST_F(Overlays, ClockLeavesTheStateItFound) {
    glMatrixMode(GL_MODELVIEW);
    glTranslatef(1.0f, 2.0f, 3.0f);
    const auto modelview = currentMatrix(GL_MODELVIEW_MATRIX);
    const auto projection = currentMatrix(GL_PROJECTION_MATRIX);
    const int modelviewDepth = glStackDepth(GL_MODELVIEW_STACK_DEPTH);
    const int projectionDepth = glStackDepth(GL_PROJECTION_STACK_DEPTH);

    drawPlayClock(ScreenSize{});

    EXPECT_FALSE(glEnabled(GL_BLEND));
    EXPECT_FALSE(glEnabled(GL_DEPTH_TEST)) << "left off until the sky box of the next pass";
    EXPECT_FALSE(glEnabled(GL_TEXTURE_2D));
    EXPECT_FALSE(glEnabled(GL_LIGHTING));
    EXPECT_EQ(glInteger(GL_MATRIX_MODE), GL_MODELVIEW);
    EXPECT_EQ(glStackDepth(GL_MODELVIEW_STACK_DEPTH), modelviewDepth);
    EXPECT_EQ(glStackDepth(GL_PROJECTION_STACK_DEPTH), projectionDepth);
    EXPECT_EQ(currentMatrix(GL_MODELVIEW_MATRIX), modelview);
    EXPECT_EQ(currentMatrix(GL_PROJECTION_MATRIX), projection);
}

TEST_F(Overlays, BeginSetsUpWindowPixelsAndEndRestores) {
    const auto projection = currentMatrix(GL_PROJECTION_MATRIX);
    beginOverlay(ScreenSize{});
    EXPECT_EQ(glStackDepth(GL_PROJECTION_STACK_DEPTH), 2);
    EXPECT_EQ(glStackDepth(GL_MODELVIEW_STACK_DEPTH), 2);
    EXPECT_EQ(glInteger(GL_MATRIX_MODE), GL_MODELVIEW);
    EXPECT_TRUE(glEnabled(GL_BLEND));
    EXPECT_FALSE(glEnabled(GL_DEPTH_TEST));
    EXPECT_EQ(glInteger(GL_BLEND_SRC_RGB), GL_SRC_ALPHA);
    EXPECT_EQ(glInteger(GL_BLEND_DST_RGB), GL_ONE_MINUS_SRC_ALPHA);
    const auto identity = std::array<GLfloat, 16>{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    EXPECT_EQ(currentMatrix(GL_MODELVIEW_MATRIX), identity);
    // Top-left origin, y down, one unit per pixel.
    const auto ortho = currentMatrix(GL_PROJECTION_MATRIX);
    EXPECT_FLOAT_EQ(ortho[0], 2.0f / 1000.0f);
    EXPECT_FLOAT_EQ(ortho[5], -2.0f / 480.0f);
    EXPECT_FLOAT_EQ(ortho[10], -1.0f);
    EXPECT_FLOAT_EQ(ortho[12], -1.0f);
    EXPECT_FLOAT_EQ(ortho[13], 1.0f);
    endOverlay();
    EXPECT_FALSE(glEnabled(GL_BLEND));
    EXPECT_FALSE(glEnabled(GL_DEPTH_TEST));
    EXPECT_EQ(glStackDepth(GL_PROJECTION_STACK_DEPTH), 1);
    EXPECT_EQ(glStackDepth(GL_MODELVIEW_STACK_DEPTH), 1);
    EXPECT_EQ(glInteger(GL_MATRIX_MODE), GL_MODELVIEW);
    EXPECT_EQ(currentMatrix(GL_PROJECTION_MATRIX), projection);
}

TEST_F(Overlays, TextIsWhiteFollowsTheOriginAndKeepsTheColour) {
    glClear(GL_COLOR_BUFFER_BIT);
    beginOverlay(ScreenSize{});
    glColor4f(1.0f, 0.0f, 0.0f, 0.5f);
    glTranslatef(300.0f, 200.0f, 0.0f);
    drawText("Larkmere", 10.0f, 20.0f);
    std::array<GLfloat, 4> colour{};
    glGetFloatv(GL_CURRENT_COLOR, colour.data());
    EXPECT_EQ(colour, (std::array<GLfloat, 4>{1.0f, 0.0f, 0.0f, 0.5f}));
    // Nothing to draw: nothing drawn, colour untouched.
    drawText("", 10.0f, 300.0f);
    drawText(nullptr, 10.0f, 300.0f);
    glGetFloatv(GL_CURRENT_COLOR, colour.data());
    EXPECT_EQ(colour, (std::array<GLfloat, 4>{1.0f, 0.0f, 0.0f, 0.5f}));
    endOverlay();

    const Image image = readFramebuffer();
    expectLine(image, "Larkmere", 310, 220, 600);
    EXPECT_EQ(image.countBright(0, 0, 1000, 480), image.countBright(300, 200, 600, 226)) << "white, and only there";
    EXPECT_EQ(image.mean(0, 0, 1000, 480).g, image.mean(0, 0, 1000, 480).r) << "no red in the text";
}
