// A window taken away while playing: the game sleeps instead of drawing, and the player comes
// back to the help panel, not to a run that went on unseen.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "support/Game.h"
#include "support/Gl.h"

TEST(GameHidden, UnmappedWhilePlayingItSleepsAndComesBackPaused) {
    ASSERT_NE(ensureGlContext(), nullptr);
    const TextMask start = textMask("PRESIONE P PARA EMPEZAR A JUGAR!"), help = textMask("FLECHAS:  Mover el pato");
    Game game;
    ASSERT_TRUE(game.findWindow()) << game.errors();
    ASSERT_TRUE(game.waitFor("hidden_1_help", [&](const Image& s) { return findText(s, start).has_value(); }));
    game.xdotool("key p");
    ASSERT_TRUE(game.waitFor("hidden_2_playing", [&](const Image& s) { return !findText(s, help); }));

    const std::string window = std::to_string(std::stoul(game.xdotool("search --onlyvisible --name '^Larkmere$'")));
    const std::string pid = std::to_string(std::stoul(game.xdotool("getwindowpid " + window)));
    game.xdotool("windowunmap --sync " + window);
    // Processor ticks (user and system) from /proc; drawing costs most of a core here. Under
    // load the first 2 s may still hold the last frames, so it is sampled until a quiet one.
    const auto ticks = [&] { return std::stod(shell("awk '{print $14 + $15}' /proc/" + pid + "/stat").second); };
    double share = 1.0;
    for (int tries = 0; tries < 15 && share >= 0.1; ++tries) {
        const double before = ticks();
        std::this_thread::sleep_for(std::chrono::seconds(2));
        share = (ticks() - before) / static_cast<double>(sysconf(_SC_CLK_TCK)) / 2.0;
    }
    EXPECT_LT(share, 0.1);

    game.xdotool("windowmap --sync " + window);
    EXPECT_TRUE(game.waitFor("hidden_3_back", [&](const Image& s) { return findText(s, help).has_value(); }));
    game.xdotool("key Escape");
    EXPECT_EQ(game.waitForExit(), 0);
    EXPECT_EQ(game.errors(), "");
}
