// One whole game through the real binary, each screen read off the window by its text and
// each sound found in what it played.
#include <gtest/gtest.h>

#include <array>

#include "support/Game.h"
#include "support/Gl.h"

constexpr Area ClockBox{25, 25, 250, 125};
constexpr Area Board{170, 50, 830, 430};
// The grass before the duck, and the duck: no car comes this near the start, so only the
// player's keys and mouse change it.
constexpr Area NearField{0, 300, 1000, 480};
static bool shows(const Image& s, const TextMask& text, Area area = {}) { return findText(s, text, area).has_value(); }
static int nearChange(const Image& from, const Image& to) { return countDifferent(from, to, NearField, 8); }

// masks[n] is the line that carries the number n: the number on screen, or -1.
static int reading(const Image& shot, const std::vector<TextMask>& masks, Area area) {
    for (size_t n = 0; n < masks.size(); ++n)
        if (shows(shot, masks[n], area)) return static_cast<int>(n);
    return -1;
}

TEST(GameWholeRun, HelpPlayPauseEndScreenRestartLooksAndQuit) {
    ASSERT_NE(ensureGlContext(), nullptr);
    // masks[n] of score and time carry the number n: the lines a player can meet here.
    std::vector<TextMask> score, time;
    for (int n = 0; n < 200; ++n) score.push_back(textMask(("Score: " + std::to_string(n)).c_str()));
    for (int s = 0; s < 120; ++s) {
        const std::string seconds = (s % 60 < 10 ? "0" : "") + std::to_string(s % 60);
        time.push_back(textMask(("Tiempo: 0" + std::to_string(s / 60) + " : " + seconds).c_str()));
    }
    const TextMask start = textMask("PRESIONE P PARA EMPEZAR A JUGAR!"), lost = textMask("GAME OVER");
    const TextMask help = textMask("FLECHAS:  Mover el pato");
    const TextMask back = textMask("PRESIONE P PARA VOLVER AL JUEGO!"), won = textMask("YOU WON!");
    const TextMask restart = textMask("PRESIONE R PARA REINICIAR");

    // What the game plays is recorded: each sound must be found where its key or screen is.
    const std::string heard = "/tmp/larkmere-heard-" + std::to_string(getpid()) + ".raw";
    Game game(LARKMERE_SOURCE_DIR, {"SDL_AUDIODRIVER=disk", "SDL_DISKAUDIOFILE=" + heard});
    ASSERT_TRUE(game.findWindow()) << game.errors();
    auto shot = game.waitFor("1_help_panel", [&](const Image& s) { return shows(s, start); });
    ASSERT_TRUE(shot) << game.errors();
    EXPECT_EQ(std::make_pair(shot->width, shot->height), std::make_pair(1000, 480));
    EXPECT_TRUE(shows(*shot, help));

    size_t mark = readSamples(heard).size();
    game.xdotool("key p");
    shot = game.waitFor("2_playing", [&](const Image& s) { return shows(s, score[0], ClockBox); });
    ASSERT_TRUE(shot);
    EXPECT_TRUE(playedBetween(heard, "quack", mark, readSamples(heard).size())) << "no quack when play starts";
    EXPECT_EQ(reading(*shot, time, ClockBox), 0);
    EXPECT_FALSE(shows(*shot, start));
    // The clock runs: a late frame may skip a reading, so any later second counts.
    ASSERT_TRUE(game.waitFor("3_one_second", [&](const Image& s) { return reading(s, time, ClockBox) >= 1; }));

    // Arrows are polled, so Up is held; at slow speed, to be released well before the first lane
    // of cars even when frames come late.
    mark = readSamples(heard).size();
    game.xdotool("key 1 keydown Up");
    shot = game.waitFor("4_walked", [&](const Image& s) { return reading(s, score, ClockBox) > 0; });
    game.xdotool("keyup Up");
    ASSERT_TRUE(shot);
    EXPECT_TRUE(playedBetween(heard, "walk1", mark, readSamples(heard).size())) << "no footstep while Up is held";
    const int walked = reading(*shot, score, ClockBox);

    game.xdotool("key p");
    ASSERT_TRUE(game.waitFor("5_paused", [&](const Image& s) { return shows(s, back) && shows(s, help); }));

    mark = readSamples(heard).size();
    game.xdotool("key p keydown Up");
    shot = game.waitFor("6_end_screen", [&](const Image& s) { return shows(s, restart); });
    game.xdotool("keyup Up");
    ASSERT_TRUE(shot) << "holding Up never reached a car or the goal";
    EXPECT_TRUE(shows(*shot, lost) || shows(*shot, won));
    // The crash or the tune starts in the pass that ended the run, just before the end screen.
    const size_t endSeen = readSamples(heard).size();
    const size_t endFrom = std::max(mark, endSeen - std::min(endSeen, size_t(3 * StreamRate)));
    EXPECT_TRUE(playedBetween(heard, shows(*shot, lost) ? "crash" : "won", endFrom, endSeen)) << "no crash or tune as the end screen appears";
    const int finalScore = reading(*shot, score, Board), finalTime = reading(*shot, time, Board);
    const bool runWon = shows(*shot, won);
    EXPECT_GT(finalScore, walked);
    EXPECT_GE(finalTime, 1);
    // The first run of a new player beats no record but sets one.
    EXPECT_TRUE(shows(*shot, textMask(runWon ? "NUEVO RECORD Y MEJOR TIEMPO!" : "NUEVO RECORD!"), Board));
    // The end screen stands still, its time included: no shot differs over seconds of watching.
    EXPECT_FALSE(game.waitFor("7_end_still", [&](const Image& s) { return countDifferent(*shot, s, {}, 0) > 0; }, 2.5));

    game.xdotool("key r");
    ASSERT_TRUE(game.waitFor("8_restarted", [&](const Image& s) { return shows(s, time[0], ClockBox); }));

    // Each look key, and the mouse that swings the orbit view around the duck, changes the near
    // field; pressing the key again, or the opposite motion, changes it back.
    for (const auto& [name, on, off] : std::vector<std::array<std::string, 3>>{
             {"t", "key t", "key t"}, {"w", "key w", "key w"}, {"i", "key i", "key i"}, {"l", "key l", "key l"},
             {"n", "key n", "key n"}, {"mouse", "mousemove_relative -- 120 0", "mousemove_relative -- -120 0"}}) {
        SCOPED_TRACE(name);
        const Image before = game.screenshot("9_" + name + "_before");
        game.xdotool(on);
        EXPECT_TRUE(game.waitFor("9_" + name + "_on", [&](const Image& s) { return nearChange(before, s) > 100; }));
        game.xdotool(off);
        EXPECT_TRUE(game.waitFor("9_" + name + "_off", [&](const Image& s) { return nearChange(before, s) == 0; }));
    }
    // V swaps to the fixed view and back to an orbit view placed along the fixed one.
    const Image orbit = game.screenshot("10_orbit");
    game.xdotool("key v");
    const auto fixedView = game.waitFor("10_fixed_view", [&](const Image& s) { return nearChange(orbit, s) > 10000; });
    ASSERT_TRUE(fixedView);
    game.xdotool("key v");
    EXPECT_TRUE(game.waitFor("10_orbit_again", [&](const Image& s) { return nearChange(*fixedView, s) > 10000; }));

    // Keys act on release: with Q held the game still pauses on P, and quits when Q comes up.
    game.xdotool("keydown q key p");
    EXPECT_TRUE(game.waitFor("11_q_held", [&](const Image& s) { return shows(s, help); }));
    EXPECT_FALSE(game.waitForExit(0));
    game.xdotool("keyup q");
    EXPECT_EQ(game.waitForExit(), 0);
    EXPECT_EQ(game.errors(), "") << "a game with its own files has nothing to complain about";
    std::remove(heard.c_str());

    // The run is kept, and printed without a window.
    const auto [status, printed] = shell("env -u DISPLAY XDG_DATA_HOME=" + testDataHome() + " " LARKMERE_BINARY " --records");
    EXPECT_EQ(status, 0);
    EXPECT_NE(printed.find("best score: " + std::to_string(finalScore) + "\nbest winning time: "), std::string::npos) << printed;
    EXPECT_NE(printed.find("runs: 1\nwins: " + std::to_string(runWon) + "\n"), std::string::npos) << printed;
}
