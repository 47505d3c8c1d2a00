// The frame and play clocks, driven by a hand-set time source.
#include <gtest/gtest.h>

#include <chrono>

#include "game/FrameClock.h"

namespace {
using std::chrono::milliseconds;

class FrameClockTest : public ::testing::Test {
protected:
    SteadyTime now{};  // moves only when the test says so
    FrameClock clock{[this] { return now; }};
    GameStatus status;

    // One playing pass lasting ms, as the loop runs it; returns the scaled frame delta.
    double playingPass(milliseconds ms) {
        if (!clock.clockRunning) {
            clock.resumePlay();
            clock.clockRunning = true;
        }
        const double delta = clock.tick() * speedFactor(status.gameSpeed);
        now += ms;
        clock.updatePlayTime(status);
        return delta;
    }
    // One paused (or end-screen) pass lasting ms.
    void otherPass(milliseconds ms) {
        clock.tick();
        now += ms;
        clock.clockRunning = false;
    }
};
}  // namespace

TEST_F(FrameClockTest, TickMeasuresTheTimeSinceThePreviousReading) {
    now += std::chrono::nanoseconds(16'666'667);
    EXPECT_DOUBLE_EQ(clock.tick(), 0.016666667);
    EXPECT_DOUBLE_EQ(clock.tick(), 0.0);
}

TEST_F(FrameClockTest, PlayTimeIsNotCountedWhilePausedAtStartAndIsTruncated) {
    clock.restartPlay();
    for (int i = 0; i < 50; ++i) otherPass(milliseconds(100));  // five seconds on the help panel
    playingPass(milliseconds(900));
    EXPECT_EQ(status.elapsedSeconds, 0);
    playingPass(milliseconds(200));
    EXPECT_EQ(status.elapsedSeconds, 1);
    playingPass(milliseconds(58'890));  // 59.99 s
    EXPECT_EQ(status.elapsedSeconds, 59);
}

TEST_F(FrameClockTest, PauseAtFivePointSevenResumesAtFivePointSeven) {
    for (int i = 0; i < 57; ++i) playingPass(milliseconds(100));
    for (int i = 0; i < 300; ++i) otherPass(milliseconds(100));  // a 30 s pause
    EXPECT_EQ(status.elapsedSeconds, 5);
    playingPass(milliseconds(290));  // 5.99 s
    EXPECT_EQ(status.elapsedSeconds, 5);
    playingPass(milliseconds(20));
    EXPECT_EQ(status.elapsedSeconds, 6);
}

TEST_F(FrameClockTest, RestartCountsFromZeroAgain) {
    for (int i = 0; i < 12; ++i) playingPass(milliseconds(1000));
    otherPass(milliseconds(3000));  // the end screen
    EXPECT_EQ(status.elapsedSeconds, 12);
    status.elapsedSeconds = 0;
    clock.restartPlay();
    playingPass(milliseconds(400));
    EXPECT_EQ(status.elapsedSeconds, 0);
    playingPass(milliseconds(700));
    EXPECT_EQ(status.elapsedSeconds, 1);
}

TEST_F(FrameClockTest, SpeedScalesTheFrameDeltaButNotThePlayTime) {
    status.gameSpeed = GameSpeed::Fast;
    playingPass(milliseconds(100));
    EXPECT_DOUBLE_EQ(playingPass(milliseconds(2900)), 0.2);
    EXPECT_EQ(status.elapsedSeconds, 3);
    status.gameSpeed = GameSpeed::Slow;
    EXPECT_DOUBLE_EQ(playingPass(milliseconds(100)), 1.45);
    EXPECT_EQ(status.elapsedSeconds, 3);
}

TEST_F(FrameClockTest, FirstDeltaAfterAPauseSpansOnePass) {
    playingPass(milliseconds(20));
    for (int i = 0; i < 100; ++i) otherPass(milliseconds(50));  // five seconds paused
    EXPECT_DOUBLE_EQ(playingPass(milliseconds(20)), 0.05);
}
