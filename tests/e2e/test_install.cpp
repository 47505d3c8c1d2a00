// The game as a player gets it: installed into a prefix, or unpacked from its Debian package,
// and started from the root folder; its command line; its desktop entry and metainfo.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/Game.h"

namespace fs = std::filesystem;

namespace {
// Started from "/", which has no assets: the game must find its own, show its window, and
// end with 0 on Q, having said nothing.
void playsFromTheRoot(const std::string& binary, const std::vector<std::string>& env = {}) {
    SCOPED_TRACE(binary);
    Game game(true, "/", env, binary);
    ASSERT_TRUE(game.findWindow()) << game.errors();
    EXPECT_TRUE(game.waitFor("installed_start", [](const Image& s) { return s.at(500, 5).b > 40; }));
    game.xdotool("key q");
    EXPECT_EQ(game.waitForExit(), 0);
    EXPECT_EQ(game.errors(), "");
}
}  // namespace

TEST(Installed, FromAPrefixAndFromThePackageTheGameStartsAnywhere) {
    const fs::path top = fs::temp_directory_path() / ("larkmere-install-" + std::to_string(getpid()));
    fs::remove_all(top);
    const std::string prefix = (top / "prefix").string(), root = (top / "root").string();
    ASSERT_EQ(shell("cmake --install " LARKMERE_BUILD_DIR " --prefix " + prefix + " >/dev/null").first, 0);
    for (const char* file : {"bin/larkmere", "share/larkmere/assets/models/Duck.obj", "share/doc/larkmere/LICENSE",
                             "share/doc/larkmere/README.md", "share/icons/hicolor/48x48/apps/org.larkmere.Larkmere.png"})
        EXPECT_TRUE(fs::is_regular_file(prefix + "/" + file)) << file;
    EXPECT_EQ(shell("desktop-file-validate " + prefix + "/share/applications/org.larkmere.Larkmere.desktop").first, 0);
    EXPECT_EQ(shell("appstreamcli validate --no-net " + prefix + "/share/metainfo/org.larkmere.Larkmere.metainfo.xml >/dev/null").first, 0);
    playsFromTheRoot(prefix + "/bin/larkmere");

    // The command line answers without a window: no display is there to open one.
    const std::string bare = "cd / && env -u DISPLAY " + prefix + "/bin/larkmere";
    EXPECT_EQ(shell(bare + " --version 2>&1"), std::make_pair(0, std::string("Larkmere 1.0.0\n")));
    const auto [helped, help] = shell(bare + " --help 2>&1");
    EXPECT_EQ(helped, 0);
    EXPECT_EQ(help.rfind("Usage: larkmere [--uncapped] [--mute] [--help] [--version]\n", 0), 0u) << help;
    EXPECT_NE(help.find("  P           pause / play"), std::string::npos) << help;
    EXPECT_EQ(shell(bare + " --fullscreen 2>&1 >/dev/null"),
              std::make_pair(2, std::string("Larkmere: unknown option \"--fullscreen\" "
                                            "(usage: larkmere [--uncapped] [--mute] [--help] [--version])\n")));

    // A binary with no data beside it: found through LARKMERE_DATA_DIR, or named places.
    fs::create_directories(top / "alone");
    fs::copy_file(prefix + "/bin/larkmere", top / "alone/larkmere");
    const std::string alone = (top / "alone/larkmere").string();
    playsFromTheRoot(alone, {"LARKMERE_DATA_DIR=" + prefix + "/share/larkmere"});
    EXPECT_EQ(shell("cd / && env -u DISPLAY LARKMERE_DATA_DIR=/nowhere " + alone + " 2>&1"),
              std::make_pair(1, "Larkmere: cannot find the game's data: no assets/models/Duck.obj in the working folder, "
                                "/nowhere, " + top.string() + "/alone/../share/larkmere\n"));

    // The package: its dependencies read from the binary, its files unpacked into a root.
    ASSERT_EQ(shell("cd " + top.string() + " && cpack -G DEB -B " + top.string() + " --config " LARKMERE_BUILD_DIR
                    "/CPackConfig.cmake >/dev/null 2>&1").first, 0);
    const std::string deb = shell("ls " + top.string() + "/larkmere_1.0.0_*.deb").second;
    ASSERT_FALSE(deb.empty());
    const std::string depends = shell("dpkg-deb -f " + deb.substr(0, deb.find('\n')) + " Depends").second;
    for (const char* library : {"libsdl2-2.0-0", "libsdl2-mixer-2.0-0", "libfreeimage3", "libglut3.12", "libglu1-mesa", "libgl1"})
        EXPECT_NE(depends.find(library), std::string::npos) << depends;
    ASSERT_EQ(shell("dpkg-deb -x " + deb.substr(0, deb.find('\n')) + " " + root).first, 0);
    playsFromTheRoot(root + "/usr/bin/larkmere");
    fs::remove_all(top);
}
