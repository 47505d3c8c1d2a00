// The player's locale picks the language of the screens and of the command line.
#include <gtest/gtest.h>

#include "support/Game.h"
#include "support/Gl.h"

TEST(Languages, EnglishLocaleShowsEnglishScreensAndHelpFollowsTheLocale) {
    const std::string run = "env -u LANGUAGE -u LC_ALL -u LC_MESSAGES LANG=";
    const auto help = [&](const char* locale) { return shell(run + locale + " " LARKMERE_BINARY " --help").second; };
    EXPECT_EQ(help("C").rfind("Usage: larkmere [--uncapped]", 0), 0u);
    EXPECT_NE(help("en_US.UTF-8").find("  P           pause / play"), std::string::npos);
    EXPECT_NE(help("es_ES.UTF-8").find("  P           pausa / juego"), std::string::npos) << help("es_ES.UTF-8");

    ASSERT_NE(ensureGlContext(), nullptr);
    const TextMask start = textMask("PRESS P TO START PLAYING!"), arrows = textMask("ARROWS:  Move the duck");
    // Any of the first ten seconds: the clock may tick before the screenshot.
    std::vector<TextMask> times;
    for (int second = 0; second < 10; ++second) times.push_back(textMask(("Time: 00 : 0" + std::to_string(second)).c_str()));
    Game game(true, LARKMERE_SOURCE_DIR, {"LANG=en_US.UTF-8"});
    ASSERT_TRUE(game.findWindow()) << game.errors();
    ASSERT_TRUE(game.waitFor("english_1_help", [&](const Image& s) { return findText(s, start) && findText(s, arrows); }));
    game.xdotool("key p");
    EXPECT_TRUE(game.waitFor("english_2_clock", [&](const Image& s) {
        for (const TextMask& time : times)
            if (findText(s, time)) return true;
        return false;
    }));
    game.xdotool("key Escape");
    EXPECT_EQ(game.waitForExit(), 0);
    EXPECT_EQ(game.errors(), "");
}
