// The game as a player gets it: installed into a prefix, one whole game played in English from
// the root folder, each screen read off the window by its text and each sound found in what it
// played; its command line, manual, desktop entry and metainfo; uninstalled again.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>

#include "support/Game.h"
#include "support/Gl.h"

namespace {
constexpr Area ClockBox{25, 25, 250, 125};
constexpr Area Board{170, 50, 830, 430};
// The grass before the duck, and the duck: no car comes this near the start, so only the
// player's keys and mouse change it.
constexpr Area NearField{0, 300, 1000, 480};
bool shows(const Image& s, const TextMask& text, Area area = {}) { return findText(s, text, area).has_value(); }
int nearChange(const Image& from, const Image& to) { return countDifferent(from, to, NearField, 8); }

// masks[n] is the line that carries the number n: the number on screen, or -1.
int reading(const Image& shot, const std::vector<TextMask>& masks, Area area) {
    const auto n = std::find_if(masks.begin(), masks.end(), [&](const TextMask& mask) { return shows(shot, mask, area); });
    return n == masks.end() ? -1 : static_cast<int>(n - masks.begin());
}

bool silentFrom(const std::string& stream, size_t from) {
    const std::vector<int16_t> samples = readSamples(stream);
    return std::all_of(samples.begin() + std::min(from, samples.size()), samples.end(), [](int16_t s) { return s == 0; });
}
}  // namespace

TEST(GameWholeRun, InstalledPlayedInEnglishFromTheRootThenUninstalledLeavesNothing) {
    namespace fs = std::filesystem;
    const fs::path top = fs::temp_directory_path() / ("larkmere-install-" + std::to_string(getpid()));
    fs::remove_all(top);
    const std::string prefix = (top / "prefix").string();
    fs::create_directories(prefix + "/share/applications");  // there before: uninstall keeps it
    ASSERT_EQ(shell("cmake --install " LARKMERE_BUILD_DIR " --prefix " + prefix + " >/dev/null").first, 0);
    for (const char* file : {"bin/larkmere", "share/larkmere/assets/models/Duck.obj", "share/doc/larkmere/LICENSE",
                             "share/man/man6/larkmere.6", "share/larkmere/assets/icons/duck-64.png",
                             "share/icons/hicolor/48x48/apps/org.larkmere.Larkmere.png", "share/locale/es/LC_MESSAGES/larkmere.mo"})
        EXPECT_TRUE(fs::is_regular_file(prefix + "/" + file)) << file;
    const std::string share = prefix + "/share/";
    EXPECT_EQ(shell("desktop-file-validate " + share + "applications/org.larkmere.Larkmere.desktop").first, 0);
    EXPECT_EQ(shell("appstreamcli validate --no-net " + share + "metainfo/org.larkmere.Larkmere.metainfo.xml >/dev/null").first, 0);
    const std::string installed = prefix + "/bin/larkmere";

    // Started from "/", which has no assets, the game finds its own data and catalogs.
    ASSERT_NE(ensureGlContext(), nullptr);
    // masks[n] of score and time carry the number n: the lines a player can meet here.
    std::vector<TextMask> score, time;
    for (int n = 0; n < 200; ++n) score.push_back(textMask(("Score: " + std::to_string(n)).c_str()));
    for (int s = 0; s < 120; ++s)
        time.push_back(textMask(("Time: 0" + std::to_string(s / 60) + " : " + (s % 60 < 10 ? "0" : "") + std::to_string(s % 60)).c_str()));
    const TextMask start = textMask("PRESS P TO START PLAYING!"), help = textMask("ARROWS:  Move the duck"), lost = textMask("GAME OVER");
    const TextMask back = textMask("PRESS P TO RETURN TO THE GAME!"), restart = textMask("PRESS R TO PLAY AGAIN"), won = textMask("YOU WON!");

    // What the game plays is recorded: each sound must be found where its key or screen is.
    const std::string heard = "/tmp/larkmere-heard-" + std::to_string(getpid()) + ".raw";
    const auto recorded = [&] { return readSamples(heard).size(); };
    Game game("/", {"LANG=en_US.UTF-8", "SDL_AUDIODRIVER=disk", "SDL_DISKAUDIOFILE=" + heard}, installed + " --mute");
    ASSERT_TRUE(game.findWindow()) << game.errors();
    auto shot = game.waitFor("1_help_panel", [&](const Image& s) { return shows(s, start); });
    ASSERT_TRUE(shot) << game.errors();
    EXPECT_EQ(std::make_pair(shot->width, shot->height), std::make_pair(1000, 480));
    EXPECT_TRUE(shows(*shot, help));

    game.xdotool("key p");  // unmuted, play would start with a quack
    shot = game.waitFor("2_playing", [&](const Image& s) { return shows(s, score[0], ClockBox); });
    ASSERT_TRUE(shot);
    EXPECT_EQ(reading(*shot, time, ClockBox), 0);
    EXPECT_FALSE(shows(*shot, start));
    const size_t playing = recorded();
    // The stream is polled through the screenshot loop: the pictures are not looked at.
    ASSERT_TRUE(game.waitFor("3_a_second_muted", [&](const Image&) { return recorded() > playing + StreamRate; }));
    EXPECT_TRUE(silentFrom(heard, 0)) << "--mute: nothing from the start to a second into play";
    size_t mark = recorded();
    game.xdotool("key m");
    EXPECT_TRUE(game.waitFor("3_m_sounds", [&](const Image&) { return !silentFrom(heard, mark); })) << "M brings the sound back";
    // The clock runs: a late frame may skip a reading, so any later second counts.
    ASSERT_TRUE(game.waitFor("3_one_second", [&](const Image& s) { return reading(s, time, ClockBox) >= 1; }));

    // Arrows are polled, so Up is held; at slow speed, to be released well before the first lane
    // of cars even when frames come late.
    mark = recorded();
    game.xdotool("key 1 keydown Up");
    shot = game.waitFor("4_walked", [&](const Image& s) { return reading(s, score, ClockBox) > 0; });
    game.xdotool("keyup Up");
    ASSERT_TRUE(shot);
    EXPECT_TRUE(playedBetween(heard, "walk1", mark, recorded())) << "no footstep while Up is held";
    const int walked = reading(*shot, score, ClockBox);

    game.xdotool("key p");
    ASSERT_TRUE(game.waitFor("5_paused", [&](const Image& s) { return shows(s, back) && shows(s, help); }));
    mark = recorded();
    game.xdotool("key p");
    ASSERT_TRUE(game.waitFor("5_playing_again", [&](const Image& s) { return reading(s, score, ClockBox) >= walked; }));
    EXPECT_TRUE(playedBetween(heard, "quack", mark, recorded())) << "no quack when play starts";

    mark = recorded();
    game.xdotool("keydown Up");
    shot = game.waitFor("6_end_screen", [&](const Image& s) { return shows(s, restart); });
    game.xdotool("keyup Up");
    ASSERT_TRUE(shot) << "holding Up never reached a car or the goal";
    EXPECT_TRUE(shows(*shot, lost) || shows(*shot, won));
    // The crash or the tune starts in the pass that ended the run, just before the end screen.
    const size_t endSeen = recorded();
    const size_t endFrom = std::max(mark, endSeen - std::min(endSeen, size_t(3 * StreamRate)));
    const char* ending = shows(*shot, lost) ? "crash" : "won";
    const auto endStart = playedBetween(heard, ending, endFrom, endSeen);
    ASSERT_TRUE(endStart) << "no crash or tune as the end screen appears";
    // Once: no second copy follows it (both are longer than the half second skipped).
    EXPECT_FALSE(playedBetween(heard, ending, *endStart + StreamRate / 2, *endStart + 2 * StreamRate)) << ending << " again";
    const int finalScore = reading(*shot, score, Board);
    const bool runWon = shows(*shot, won);
    EXPECT_GT(finalScore, walked);
    EXPECT_GE(reading(*shot, time, Board), 1);
    // The first run of a new player beats no record but sets one.
    EXPECT_TRUE(shows(*shot, textMask(runWon ? "NEW RECORD AND BEST TIME!" : "NEW RECORD!"), Board));
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

    // M again: silent, half a second without a sample once the sounds have faded.
    game.xdotool("key m");
    EXPECT_TRUE(game.waitFor("11_m_silences", [&](const Image&) {
        const size_t length = recorded();
        mark = std::max(mark, length - std::min(length, size_t(StreamRate / 2)));
        return silentFrom(heard, mark) && length >= mark + StreamRate / 2;
    }));

    // A window taken away while playing: the game sleeps instead of drawing, and the player comes
    // back to the help panel, not to a run that went on unseen.
    const std::string window = std::to_string(std::stoul(game.xdotool("search --onlyvisible --name '^Larkmere$'")));
    const std::string pid = std::to_string(std::stoul(game.xdotool("getwindowpid " + window)));
    game.xdotool("windowunmap --sync " + window);
    // Processor ticks (user and system) from /proc; drawing costs most of a core here. Under
    // load the first 2 s may still hold the last frames, so it is sampled until a quiet one.
    const auto ticks = [&] { return std::stod(shell("awk '{print $14 + $15}' /proc/" + pid + "/stat").second); };
    double busy = 1.0;
    for (int tries = 0; tries < 15 && busy >= 0.1; ++tries) {
        const double before = ticks();
        sleep(2);
        busy = (ticks() - before) / static_cast<double>(sysconf(_SC_CLK_TCK)) / 2.0;
    }
    EXPECT_LT(busy, 0.1);
    game.xdotool("windowmap --sync " + window);
    EXPECT_TRUE(game.waitFor("12_back_paused", [&](const Image& s) { return shows(s, help); }));

    // Keys act on release: with Q held the game still goes on playing on P, and quits when Q
    // comes up.
    game.xdotool("keydown q key p");
    EXPECT_TRUE(game.waitFor("13_q_held", [&](const Image& s) { return !shows(s, help); }));
    EXPECT_FALSE(game.waitForExit(0));
    game.xdotool("keyup q");
    EXPECT_EQ(game.waitForExit(), 0);
    EXPECT_EQ(game.errors(), "") << "a game with its own files has nothing to complain about";
    std::remove(heard.c_str());

    // The run is kept, and printed without a window.
    const auto [status, printed] = shell("env -u DISPLAY XDG_DATA_HOME=" + testDataHome() + " " + installed + " --records");
    EXPECT_EQ(status, 0);
    EXPECT_NE(printed.find("best score: " + std::to_string(finalScore) + "\nbest winning time: "), std::string::npos) << printed;
    EXPECT_NE(printed.find("runs: 1\nwins: " + std::to_string(runWon) + "\n"), std::string::npos) << printed;

    // The command line answers without a window: no display is there to open one.
    const auto run = [&](const std::string& language, const std::string& arguments, const std::string& binary) {
        return shell("cd / && env -u DISPLAY -u LANGUAGE -u LC_ALL -u LC_MESSAGES LANG=" + language + " " + binary + " " + arguments);
    };
    const std::string usage = "larkmere [--uncapped] [--mute] [--fullscreen] [--records] [--help] [--version]";
    EXPECT_EQ(run("C", "--version 2>&1", installed), std::make_pair(0, std::string("Larkmere 1.0.0\n")));
    const auto [helped, helpText] = run("C", "--help 2>&1", installed);
    EXPECT_EQ(helped, 0);
    EXPECT_EQ(helpText.rfind("Usage: " + usage + "\n", 0), 0u) << helpText;
    EXPECT_NE(helpText.find("  P           pause / play"), std::string::npos) << helpText;
    EXPECT_EQ(run("C", "--windowed 2>&1 >/dev/null", installed), std::make_pair(2, "Larkmere: unknown option \"--windowed\" (usage: " + usage + ")\n"));
    // The installed catalogs are found next to the installed data, the build's next to the build.
    EXPECT_EQ(run("es_ES.UTF-8", "--windowed 2>&1", installed).second, "Larkmere: opción desconocida «--windowed» (uso: " + usage + ")\n");
    EXPECT_NE(run("en_US.UTF-8", "--help", LARKMERE_BINARY).second.find("  P           pause / play"), std::string::npos);
    EXPECT_NE(run("es_ES.UTF-8", "--help", LARKMERE_BINARY).second.find("  P           pausa / juego"), std::string::npos);
    // The manual and --help name the same options: "--mute", "-h", ... after a space or "[" (troff
    // writes a dash as "\-").
    const std::string options = " | sed 's/\\\\-/-/g' | grep -oE '(^|[ [])--?[a-z]+' | tr -d ' [' | LC_ALL=C sort -u";
    const std::string helpOptions = run("C", "--help" + options, installed).second;
    EXPECT_EQ(shell("cat " + share + "man/man6/larkmere.6" + options).second, helpOptions);
    EXPECT_EQ(helpOptions, "--fullscreen\n--help\n--mute\n--records\n--uncapped\n--version\n-h\n");

    ASSERT_EQ(shell("cmake --build " LARKMERE_BUILD_DIR " --target uninstall >/dev/null").first, 0);
    EXPECT_EQ(shell("cd " + prefix + " && find . | sort").second, ".\n./share\n./share/applications\n");
    fs::remove_all(top);
}
