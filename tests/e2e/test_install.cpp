// The game as a player gets it: installed into a prefix and started from the root folder;
// its command line and manual; its desktop entry and metainfo; uninstalled again.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "support/Game.h"

namespace fs = std::filesystem;

namespace {
// Started from "/", which has no assets: the game must find its own, show its window, and
// end with 0 on Q, having said nothing.
void playsFromTheRoot(const std::string& binary) {
    SCOPED_TRACE(binary);
    Game game(true, "/", {}, binary);
    ASSERT_TRUE(game.findWindow()) << game.errors();
    EXPECT_TRUE(game.waitFor("installed_start", [](const Image& s) { return s.at(500, 5).b > 40; }));
    game.xdotool("key q");
    EXPECT_EQ(game.waitForExit(), 0);
    EXPECT_EQ(game.errors(), "");
}
// Option names in a text: "--uncapped", "-h", ... at its start or after a space or "[" (troff
// writes a dash as "\-").
std::set<std::string> options(std::string text) {
    for (size_t i = 0; (i = text.find("\\-", i)) != std::string::npos;) text.erase(i, 1);
    std::set<std::string> found;
    for (size_t i = 0; (i = text.find('-', i)) != std::string::npos;) {
        const size_t letters = i + 1 + (text.compare(i, 2, "--") == 0);
        size_t end = letters;
        while (end < text.size() && std::islower(static_cast<unsigned char>(text[end]))) ++end;
        if ((i == 0 || text[i - 1] == ' ' || text[i - 1] == '[') && end > letters) found.insert(text.substr(i, end - i));
        i = end;
    }
    return found;
}
}  // namespace

TEST(Installed, IntoAPrefixTheGameStartsAnywhereAndUninstallLeavesNothing) {
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
    playsFromTheRoot(prefix + "/bin/larkmere");

    // The command line answers without a window: no display is there to open one.
    const std::string bare = "cd / && env -u DISPLAY -u LANGUAGE -u LC_ALL -u LC_MESSAGES LANG=C " + prefix + "/bin/larkmere";
    EXPECT_EQ(shell(bare + " --version 2>&1"), std::make_pair(0, std::string("Larkmere 1.0.0\n")));
    const auto [helped, help] = shell(bare + " --help 2>&1");
    EXPECT_EQ(helped, 0);
    EXPECT_EQ(help.rfind("Usage: larkmere [--uncapped] [--mute] [--fullscreen] [--records] [--help] [--version]\n", 0), 0u) << help;
    EXPECT_NE(help.find("  P           pause / play"), std::string::npos) << help;
    EXPECT_EQ(shell(bare + " --windowed 2>&1 >/dev/null"),
              std::make_pair(2, std::string("Larkmere: unknown option \"--windowed\" "
                                            "(usage: larkmere [--uncapped] [--mute] [--fullscreen] [--records] [--help] [--version])\n")));
    // The installed catalogs are found next to the installed data.
    EXPECT_EQ(shell("cd / && env -u DISPLAY -u LANGUAGE -u LC_ALL LANG=es_ES.UTF-8 " + prefix + "/bin/larkmere --windowed 2>&1").second,
              "Larkmere: opción desconocida «--windowed» (uso: larkmere [--uncapped] [--mute] [--fullscreen] [--records] [--help] [--version])\n");
    // The manual and --help name the same options.
    const std::string manual = shell("cat " + prefix + "/share/man/man6/larkmere.6").second;
    EXPECT_EQ(options(manual), options(help));
    EXPECT_EQ(options(help), (std::set<std::string>{"--uncapped", "--mute", "--fullscreen", "--records", "--help", "-h", "--version"}));

    ASSERT_EQ(shell("cmake --build " LARKMERE_BUILD_DIR " --target uninstall >/dev/null").first, 0);
    EXPECT_EQ(shell("cd " + prefix + " && find . | sort").second, ".\n./share\n./share/applications\n");
    fs::remove_all(top);
}
