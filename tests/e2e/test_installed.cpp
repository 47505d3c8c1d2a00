// The game as a player gets it: installed into a prefix and started from the root folder in
// English and muted; its command line, manual, desktop entry and metainfo; uninstalled again.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "support/Game.h"
#include "support/Gl.h"

namespace {
bool silentFrom(const std::string& stream, size_t from) {
    const std::vector<int16_t> samples = readSamples(stream);
    return std::all_of(samples.begin() + std::min(from, samples.size()), samples.end(), [](int16_t s) { return s == 0; });
}

// Started from "/", which has no assets, the game finds its own data and catalogs: the screens
// speak English, M brings back the sound SDL's disk driver records, and a window taken away
// while playing sleeps instead of drawing and comes back on the help panel, not to a run that
// went on unseen.
void playsInEnglishMuted(const std::string& binary) {
    ASSERT_NE(ensureGlContext(), nullptr);
    const TextMask start = textMask("PRESS P TO START PLAYING!"), arrows = textMask("ARROWS:  Move the duck");
    // Any of the first ten seconds: the clock may tick before the screenshot.
    std::vector<TextMask> times;
    for (int second = 0; second < 10; ++second) times.push_back(textMask(("Time: 00 : 0" + std::to_string(second)).c_str()));
    const std::string heard = "/tmp/larkmere-muted-" + std::to_string(getpid()) + ".raw";
    Game game("/", {"LANG=en_US.UTF-8", "SDL_AUDIODRIVER=disk", "SDL_DISKAUDIOFILE=" + heard}, binary + " --mute");
    ASSERT_TRUE(game.findWindow()) << game.errors();
    ASSERT_TRUE(game.waitFor("english_1_help", [&](const Image& s) { return findText(s, start) && findText(s, arrows); }));
    game.xdotool("key p");  // unmuted, play would start with a quack
    ASSERT_TRUE(game.waitFor("english_2_clock", [&](const Image& s) {
        return std::any_of(times.begin(), times.end(), [&](const TextMask& time) { return findText(s, time).has_value(); });
    }));

    // The stream is polled through the screenshot loop: the pictures are not looked at.
    const auto streamReaches = [&](const char* name, std::function<bool()> ok) {
        return game.waitFor(name, [&](const Image&) { return ok(); }).has_value();
    };
    const size_t playing = readSamples(heard).size();
    ASSERT_TRUE(streamReaches("english_3_a_second_muted", [&] { return readSamples(heard).size() > playing + StreamRate; }));
    EXPECT_TRUE(silentFrom(heard, 0)) << "--mute: nothing from the start to a second into play";
    size_t mark = readSamples(heard).size();
    game.xdotool("key m");
    EXPECT_TRUE(streamReaches("english_4_m_sounds", [&] { return !silentFrom(heard, mark); })) << "M brings the sound back";
    game.xdotool("key m");
    // Silent again: half a second without a sample once the sounds have faded.
    EXPECT_TRUE(streamReaches("english_5_m_silences", [&] {
        const size_t length = readSamples(heard).size();
        mark = std::max(mark, length - std::min(length, size_t(StreamRate / 2)));
        return silentFrom(heard, mark) && length >= mark + StreamRate / 2;
    }));

    const std::string window = std::to_string(std::stoul(game.xdotool("search --onlyvisible --name '^Larkmere$'")));
    const std::string pid = std::to_string(std::stoul(game.xdotool("getwindowpid " + window)));
    game.xdotool("windowunmap --sync " + window);
    // Processor ticks (user and system) from /proc; drawing costs most of a core here. Under
    // load the first 2 s may still hold the last frames, so it is sampled until a quiet one.
    const auto ticks = [&] { return std::stod(shell("awk '{print $14 + $15}' /proc/" + pid + "/stat").second); };
    double share = 1.0;
    for (int tries = 0; tries < 15 && share >= 0.1; ++tries) {
        const double before = ticks();
        sleep(2);
        share = (ticks() - before) / static_cast<double>(sysconf(_SC_CLK_TCK)) / 2.0;
    }
    EXPECT_LT(share, 0.1);
    game.xdotool("windowmap --sync " + window);
    EXPECT_TRUE(game.waitFor("english_6_back_paused", [&](const Image& s) { return findText(s, arrows).has_value(); }));
    game.xdotool("key Escape");
    EXPECT_EQ(game.waitForExit(), 0);
    EXPECT_EQ(game.errors(), "");
    std::remove(heard.c_str());
}
}  // namespace

TEST(Installed, IntoAPrefixTheGameStartsAnywhereInEnglishAndUninstallLeavesNothing) {
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
    EXPECT_EQ(shell("desktop-file-validate " + prefix + "/share/applications/org.larkmere.Larkmere.desktop").first, 0);
    EXPECT_EQ(shell("appstreamcli validate --no-net " + prefix + "/share/metainfo/org.larkmere.Larkmere.metainfo.xml >/dev/null").first, 0);
    playsInEnglishMuted(prefix + "/bin/larkmere");

    // The command line answers without a window: no display is there to open one.
    const auto run = [&](const std::string& language, const std::string& arguments) {
        return shell("cd / && env -u DISPLAY -u LANGUAGE -u LC_ALL -u LC_MESSAGES LANG=" + language + " " + prefix + "/bin/larkmere " + arguments);
    };
    EXPECT_EQ(run("C", "--version 2>&1"), std::make_pair(0, std::string("Larkmere 1.0.0\n")));
    const auto [helped, help] = run("C", "--help 2>&1");
    EXPECT_EQ(helped, 0);
    EXPECT_EQ(help.rfind("Usage: larkmere [--uncapped] [--mute] [--fullscreen] [--records] [--help] [--version]\n", 0), 0u) << help;
    EXPECT_NE(help.find("  P           pause / play"), std::string::npos) << help;
    EXPECT_EQ(run("C", "--windowed 2>&1 >/dev/null"),
              std::make_pair(2, std::string("Larkmere: unknown option \"--windowed\" "
                                            "(usage: larkmere [--uncapped] [--mute] [--fullscreen] [--records] [--help] [--version])\n")));
    // The installed catalogs are found next to the installed data, the build's next to the build.
    EXPECT_EQ(run("es_ES.UTF-8", "--windowed 2>&1").second,
              "Larkmere: opción desconocida «--windowed» (uso: larkmere [--uncapped] [--mute] [--fullscreen] [--records] [--help] [--version])\n");
    const auto built = [](const char* language) {
        return shell("env -u LANGUAGE -u LC_ALL -u LC_MESSAGES LANG=" + std::string(language) + " " LARKMERE_BINARY " --help").second;
    };
    EXPECT_NE(built("en_US.UTF-8").find("  P           pause / play"), std::string::npos);
    EXPECT_NE(built("es_ES.UTF-8").find("  P           pausa / juego"), std::string::npos) << built("es_ES.UTF-8");
    // The manual and --help name the same options: "--mute", "-h", ... after a space or "[" (troff
    // writes a dash as "\-").
    const std::string options = " | sed 's/\\\\-/-/g' | grep -oE '(^|[ [])--?[a-z]+' | tr -d ' [' | LC_ALL=C sort -u";
    EXPECT_EQ(shell("cat " + prefix + "/share/man/man6/larkmere.6" + options).second, run("C", "--help" + options).second);
    EXPECT_EQ(run("C", "--help" + options).second, "--fullscreen\n--help\n--mute\n--records\n--uncapped\n--version\n-h\n");

    ASSERT_EQ(shell("cmake --build " LARKMERE_BUILD_DIR " --target uninstall >/dev/null").first, 0);
    EXPECT_EQ(shell("cd " + prefix + " && find . | sort").second, ".\n./share\n./share/applications\n");
    fs::remove_all(top);
}
