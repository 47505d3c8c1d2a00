// A whole game through the real binary: help panel, play, an end screen, restart, pause, quit.
#include <gtest/gtest.h>

#include "support/GameProcess.h"
#include "support/Scene.h"

using namespace scene;

namespace {
bool isEndScreen(const Image& shot) {
    // Title and restart prompt on the board, nothing in the help panel's left column.
    return maskCount(textMask(shot, EndTitleRow)) > 40 && maskCount(textMask(shot, EndRestartRow)) > 100 &&
           maskCount(textMask(shot, HelpLeftColumn)) < 10;
}

bool isHelpPanel(const Image& shot) {
    return maskCount(textMask(shot, HelpLeftColumn)) > 500 && maskCount(textMask(shot, PromptRow)) > 100;
}

// The clock box darkens the sky behind it to 40 %.
bool showsPlayClock(const Image& shot) {
    const Rgb box = shot.mean(ClockBox.x0 + 2, ClockBox.y0 + 2, ClockBox.x1 - 2, ClockBox.y0 + 12);
    return box.b < 110 && maskCount(textMask(shot, TimeLine)) > 40;
}

// The rightmost column of a text mask of the score line.
int rightmostText(const std::vector<bool>& mask) {
    const int width = ScoreLine.x1 - ScoreLine.x0;
    int rightmost = -1;
    for (size_t i = 0; i < mask.size(); ++i) {
        if (mask[i]) rightmost = std::max(rightmost, static_cast<int>(i % width));
    }
    return rightmost;
}

int carPixels(const Image& shot) {
    return countNeutral(shot, Area{0, 140, 1000, 480}) - countNeutral(shot, Area{440, 290, 560, 400});
}
}  // namespace

TEST(WholeGame, FromHelpPanelThroughAnEndScreenAndRestartToQuit) {
    GameProcess game;
    ASSERT_FALSE(game.waitForWindow().empty()) << game.output();
    GameProcess::pause(600);

    // The help panel with the invitation to start, no clock and no cars.
    const Image help = game.screenshot("game_1_help_panel");
    ASSERT_TRUE(isHelpPanel(help));
    EXPECT_FALSE(showsPlayClock(help));
    const std::vector<bool> startPrompt = textMask(help, PromptRow);

    // P: the clock at 00 : 00 and the cars.
    game.tapKey("p");
    GameProcess::pause(300);
    const Image playing = game.screenshot("game_2_playing");
    EXPECT_TRUE(showsPlayClock(playing));
    EXPECT_FALSE(isHelpPanel(playing));
    EXPECT_GT(carPixels(playing), 150);
    const std::vector<bool> clockAtZero = textMask(playing, TimeLine);
    const std::vector<bool> scoreAtZero = textMask(playing, ScoreLine);

    // Holding Up runs into a car or through to the goal: either way an end screen.
    game.keyDown("Up");
    bool ended = false;
    Image end;
    for (int i = 0; i < 30 && !ended; ++i) {
        GameProcess::pause(500);
        end = game.screenshot("game_3_end_screen");
        ended = isEndScreen(end);
    }
    game.keyUp("Up");
    ASSERT_TRUE(ended) << "holding Up for 15 s never reached GAME OVER or YOU WON!";
    EXPECT_FALSE(showsPlayClock(end));
    // The board fills the middle of the window.
    const Rgb board = end.mean(300, 160, 700, 200);
    EXPECT_LT(board.r + board.g + board.b, 240) << "a dark board behind the texts";

    // The end screen stands still: the time shown does not run on.
    GameProcess::pause(1200);
    const Image endLater = game.screenshot("game_3b_end_screen_later");
    EXPECT_LT(maskDifference(textMask(end, Area{420, 220, 600, 250}), textMask(endLater, Area{420, 220, 600, 250})), 5);

    // R: a new run, the clock back at 00 : 00 and the score at 0.
    game.tapKey("r");
    GameProcess::pause(300);
    const Image restarted = game.screenshot("game_4_restarted");
    EXPECT_TRUE(showsPlayClock(restarted));
    EXPECT_LT(maskDifference(textMask(restarted, TimeLine), clockAtZero), 5) << "Tiempo: 00 : 00";
    // The arrow flags of the last playing pass survive a restart, so the first pass of the
    // new run may still step once: the score is back to a single digit, 0 or 1.
    EXPECT_NEAR(rightmostText(textMask(restarted, ScoreLine)), rightmostText(scoreAtZero), 3);

    // After more than a second of play, P pauses with the resume prompt.
    GameProcess::pause(1300);
    game.tapKey("p");
    GameProcess::pause(300);
    const Image paused = game.screenshot("game_5_paused");
    ASSERT_TRUE(isHelpPanel(paused));
    EXPECT_GT(maskDifference(textMask(paused, PromptRow), startPrompt), 100) << "VOLVER, not EMPEZAR";

    game.tapKey("q");
    const std::optional<int> status = game.waitForExit(3000);
    ASSERT_TRUE(status.has_value());
    EXPECT_EQ(*status, 0);
}

TEST(WholeGame, PausingWithinTheFirstSecondStillInvitesToStart) {
    GameProcess game;
    ASSERT_FALSE(game.waitForWindow().empty()) << game.output();
    GameProcess::pause(600);
    const std::vector<bool> startPrompt = textMask(game.screenshot("game_start_prompt"), PromptRow);
    game.tapKey("p");
    GameProcess::pause(150);
    game.tapKey("p");
    GameProcess::pause(300);
    const Image paused = game.screenshot("game_paused_early");
    ASSERT_TRUE(isHelpPanel(paused));
    EXPECT_LT(maskDifference(textMask(paused, PromptRow), startPrompt), 5);
    game.tapKey("Escape");
    EXPECT_EQ(game.waitForExit(3000).value_or(-1), 0);
}
