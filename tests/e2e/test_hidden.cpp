// A window taken away while playing: the game sleeps instead of drawing, and the player comes
// back to the help panel, not to a run that went on unseen.
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <thread>

#include "support/Game.h"
#include "support/Gl.h"

namespace {
// Processor seconds the process has used so far (user and system), from /proc.
double cpuSeconds(const std::string& pid) {
    std::ifstream stat("/proc/" + pid + "/stat");
    std::string field;
    for (int i = 1; i <= 13 && stat >> field; ++i) {
        if (field.back() == ')') i = 2;  // the command name may hold spaces
    }
    long user = 0, system = 0;
    stat >> user >> system;
    return static_cast<double>(user + system) / static_cast<double>(sysconf(_SC_CLK_TCK));
}
}  // namespace

TEST(GameHidden, UnmappedWhilePlayingItSleepsAndComesBackPaused) {
    ASSERT_NE(ensureGlContext(), nullptr);
    const TextMask start = textMask("PRESIONE P PARA EMPEZAR A JUGAR!"), help = textMask("FLECHAS:  Mover el pato");
    const TextMask score = textMask("Score: 0");
    Game game;
    ASSERT_TRUE(game.findWindow()) << game.errors();
    ASSERT_TRUE(game.waitFor("hidden_1_help", [&](const Image& s) { return findText(s, start).has_value(); }));
    game.xdotool("key p");
    ASSERT_TRUE(game.waitFor("hidden_2_playing", [&](const Image& s) { return findText(s, score).has_value(); }));

    const std::string window = std::to_string(std::stoul(game.xdotool("search --onlyvisible --name '^Larkmere$'")));
    const std::string pid = std::to_string(std::stoul(game.xdotool("getwindowpid " + window)));
    game.xdotool("windowunmap --sync " + window);
    // Drawing costs most of a core here: a 2 s window under a tenth of one shows it stopped.
    // Under load the first windows may still hold the last frames, so it is sampled until then.
    double share = 1.0;
    for (int tries = 0; tries < 15 && share >= 0.1; ++tries) {
        const double before = cpuSeconds(pid);
        const auto from = std::chrono::steady_clock::now();
        std::this_thread::sleep_for(std::chrono::seconds(2));
        share = (cpuSeconds(pid) - before) / std::chrono::duration<double>(std::chrono::steady_clock::now() - from).count();
    }
    EXPECT_LT(share, 0.1);

    game.xdotool("windowmap --sync " + window);
    EXPECT_TRUE(game.waitFor("hidden_3_back", [&](const Image& s) { return findText(s, help).has_value(); }));
    game.xdotool("key Escape");
    EXPECT_EQ(game.waitForExit(), 0);
    EXPECT_EQ(game.errors(), "");
}
