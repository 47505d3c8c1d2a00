// The real game binary: its window, the ways to quit, and its start-up failures.
#include <gtest/gtest.h>

#include "support/GameProcess.h"

namespace {
// Starts the game and waits for its window; the help panel is up from the first pass.
void startAndFindWindow(GameProcess& game) {
    ASSERT_FALSE(game.waitForWindow().empty()) << "no window titled Larkmere; output:\n" << game.output();
    GameProcess::pause(500);
}

void expectQuitsCleanly(GameProcess& game) {
    const std::optional<int> status = game.waitForExit(3000);
    ASSERT_TRUE(status.has_value()) << "the game did not exit within 3 s";
    EXPECT_EQ(*status, 0) << game.output();
}
}  // namespace

TEST(GameWindow, IsTitledLarkmereAndMeasures1000By480) {
    GameProcess game;
    startAndFindWindow(game);
    const auto size = game.windowSize();
    ASSERT_TRUE(size.has_value());
    EXPECT_EQ(size->first, 1000);
    EXPECT_EQ(size->second, 480);
    const Image shot = game.screenshot("shell_first_frame");
    ASSERT_EQ(shot.width, 1000);
    ASSERT_EQ(shot.height, 480);
    EXPECT_TRUE(game.running());
}

TEST(Quitting, ReleasingEscapeEndsTheGameWithStatusZero) {
    GameProcess game;
    startAndFindWindow(game);
    game.tapKey("Escape");
    expectQuitsCleanly(game);
}

TEST(Quitting, ReleasingQEndsTheGameWithStatusZero) {
    GameProcess game;
    startAndFindWindow(game);
    game.tapKey("q");
    expectQuitsCleanly(game);
}

TEST(Quitting, HoldingQDoesNothingUntilItIsReleased) {
    GameProcess game;
    startAndFindWindow(game);
    game.keyDown("q");
    GameProcess::pause(600);
    EXPECT_TRUE(game.running()) << "Q must act on release";
    game.keyUp("q");
    expectQuitsCleanly(game);
}

TEST(Quitting, ClosingTheWindowEndsTheGameWithStatusZero) {
    GameProcess game;
    startAndFindWindow(game);
    game.closeWindow();
    expectQuitsCleanly(game);
}

TEST(Quitting, EscapeQuitsWhilePlayingToo) {
    GameProcess game;
    startAndFindWindow(game);
    game.tapKey("p");
    GameProcess::pause(400);
    game.tapKey("Escape");
    expectQuitsCleanly(game);
}

TEST(StartupFailures, SdlThatCannotStartPrintsTheMessageAndExitsOne) {
    GameOptions options;
    options.env["SDL_VIDEODRIVER"] = "no-such-driver";
    GameProcess game(options);
    const std::optional<int> status = game.waitForExit(10000);
    ASSERT_TRUE(status.has_value());
    EXPECT_EQ(*status, 1);
    const std::string output = game.output();
    EXPECT_EQ(output.rfind("No se pudo iniciar SDL: ", 0), 0u) << output;
    EXPECT_NE(output.find("no-such-driver"), std::string::npos) << "SDL's own error text follows: " << output;
    EXPECT_EQ(output.back(), '\n');
}

TEST(StartupFailures, NoDisplayAtAllExitsOneWithAClearMessage) {
    GameOptions options;
    options.withDisplay = false;
    GameProcess game(options);
    const std::optional<int> status = game.waitForExit(10000);
    ASSERT_TRUE(status.has_value()) << "the game must not run invisibly";
    EXPECT_EQ(*status, 1);
    const std::string output = game.output();
    // Mesa may add its own warning; the game's line names what failed.
    EXPECT_NE(output.find("Larkmere: no display available"), std::string::npos) << output;
    EXPECT_EQ(output.find("freeglut"), std::string::npos) << "the game reports, not freeglut: " << output;
}

TEST(StartupFailures, AMissingModelEndsTheGameWithStatusOne) {
    GameOptions options;
    options.withAssets = false;
    GameProcess game(options);
    const std::optional<int> status = game.waitForExit(10000);
    ASSERT_TRUE(status.has_value());
    EXPECT_EQ(*status, 1);
}
