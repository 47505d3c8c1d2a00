// The frame and play clocks, driven by a hand-set time source.
#include <gtest/gtest.h>

#include <chrono>

#include "game/FrameClock.h"

namespace {
using std::chrono::milliseconds;

// A clock that only moves when the test says so.
struct ManualTime {
    SteadyTime current{};
    void advance(std::chrono::nanoseconds span) { current += span; }
    TimeSource source() {
        return [this] { return current; };
    }
};

class FrameClockTest : public ::testing::Test {
protected:
    ManualTime time;
    FrameClock clock{time.source()};
    GameStatus status;

    // One playing pass lasting ms, as the loop runs it.
    double playingPass(milliseconds ms) {
        if (!clock.clockRunning) {
            clock.resumePlay();
            clock.clockRunning = true;
        }
        const double delta = clock.tick() * speedFactor(status.gameSpeed);
        time.advance(ms);
        clock.updatePlayTime(status);
        return delta;
    }
    // One paused (or end-screen) pass lasting ms.
    double otherPass(milliseconds ms) {
        const double delta = clock.tick();
        time.advance(ms);
        clock.clockRunning = false;
        return delta;
    }
};
}  // namespace

TEST(SpeedFactor, HalvesKeepsOrDoubles) {
    EXPECT_EQ(speedFactor(GameSpeed::Slow), 0.5);
    EXPECT_EQ(speedFactor(GameSpeed::Normal), 1.0);
    EXPECT_EQ(speedFactor(GameSpeed::Fast), 2.0);
}

TEST_F(FrameClockTest, TickMeasuresNanosecondsSinceThePreviousReading) {
    time.advance(std::chrono::nanoseconds(16'666'667));
    EXPECT_DOUBLE_EQ(clock.tick(), 0.016666667);
    EXPECT_DOUBLE_EQ(clock.tick(), 0.0);
    time.advance(milliseconds(250));
    EXPECT_DOUBLE_EQ(clock.tick(), 0.25);
}

TEST_F(FrameClockTest, PlayTimeIsNotCountedWhilePausedAtStart) {
    clock.restartPlay();
    for (int i = 0; i < 50; ++i) otherPass(milliseconds(100));  // five seconds on the help panel
    EXPECT_EQ(status.elapsedSeconds, 0);
    playingPass(milliseconds(900));
    EXPECT_EQ(status.elapsedSeconds, 0);
    playingPass(milliseconds(200));
    EXPECT_EQ(status.elapsedSeconds, 1);
}

TEST_F(FrameClockTest, PauseAtFivePointSevenResumesAtFivePointSeven) {
    for (int i = 0; i < 57; ++i) playingPass(milliseconds(100));
    EXPECT_EQ(status.elapsedSeconds, 5);
    for (int i = 0; i < 300; ++i) otherPass(milliseconds(100));  // a 30 s pause
    EXPECT_EQ(status.elapsedSeconds, 5);
    // 0.29 s more play reaches 5.99 s, 0.02 s more crosses 6.
    playingPass(milliseconds(290));
    EXPECT_EQ(status.elapsedSeconds, 5);
    playingPass(milliseconds(20));
    EXPECT_EQ(status.elapsedSeconds, 6);
}

TEST_F(FrameClockTest, ElapsedSecondsAreTruncatedNotRounded) {
    playingPass(milliseconds(59'990));
    EXPECT_EQ(status.elapsedSeconds, 59);
}

TEST_F(FrameClockTest, RestartCountsFromZeroAgain) {
    for (int i = 0; i < 12; ++i) playingPass(milliseconds(1000));
    EXPECT_EQ(status.elapsedSeconds, 12);
    otherPass(milliseconds(3000));  // the end screen
    EXPECT_EQ(status.elapsedSeconds, 12);
    status.elapsedSeconds = 0;
    clock.restartPlay();
    // The restart's own pass still sits on the end screen; the clock is stopped.
    playingPass(milliseconds(400));
    EXPECT_EQ(status.elapsedSeconds, 0);
    playingPass(milliseconds(700));
    EXPECT_EQ(status.elapsedSeconds, 1);
}

TEST_F(FrameClockTest, SpeedScalesTheFrameDeltaButNotThePlayTime) {
    for (GameSpeed speed : {GameSpeed::Slow, GameSpeed::Normal, GameSpeed::Fast}) {
        ManualTime localTime;
        FrameClock local{localTime.source()};
        GameStatus localStatus;
        localStatus.gameSpeed = speed;
        local.resumePlay();
        local.clockRunning = true;
        localTime.advance(milliseconds(100));
        const double delta = local.tick() * speedFactor(speed);
        EXPECT_DOUBLE_EQ(delta, 0.1 * speedFactor(speed));
        localTime.advance(milliseconds(2900));
        local.updatePlayTime(localStatus);
        EXPECT_EQ(localStatus.elapsedSeconds, 3) << "play time follows real time at every speed";
    }
}

TEST_F(FrameClockTest, FirstDeltaAfterAPauseSpansOnePass) {
    playingPass(milliseconds(20));
    for (int i = 0; i < 100; ++i) otherPass(milliseconds(50));  // five seconds paused
    // The first playing pass after the pause measures from the last paused pass only.
    const double delta = playingPass(milliseconds(20));
    EXPECT_DOUBLE_EQ(delta, 0.05);
}
