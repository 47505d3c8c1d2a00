// The Debian packages as a user and a reviewer get them: built twice from this tree, checked
// by lintian, unpacked together into a root, hardened, and started where a stray assets
// folder lies.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/Game.h"

namespace fs = std::filesystem;

TEST(Package, TwoBuildsAreIdenticalCleanHardenedAndPlayAnywhere) {
    const fs::path top = fs::temp_directory_path() / ("larkmere-package-" + std::to_string(getpid()));
    fs::remove_all(top);
    const std::string a = (top / "a").string(), b = (top / "b").string(), root = (top / "root").string();
    for (const std::string& out : {a, b})
        ASSERT_EQ(shell("LARKMERE_SKIP_DEPS=1 " LARKMERE_SOURCE_DIR "/scripts/package.sh " + out + " >/dev/null").first, 0);
    const std::string debs = "larkmere-data_1.0.0_all.deb larkmere-dbgsym_1.0.0_amd64.deb larkmere_1.0.0_amd64.deb";
    EXPECT_EQ(shell("cd " + a + " && ls *.deb | LC_ALL=C sort | xargs").second, debs + "\n");
    EXPECT_EQ(shell("for f in " + debs + "; do cmp " + a + "/$f " + b + "/$f || exit 1; done").first, 0);

    // No error and no warning; the information tags, should any come, are printed to read.
    const auto [linted, lint] = shell("lintian --allow-root -EvIL +pedantic " + a + "/*.changes 2>&1");
    EXPECT_EQ(linted, 0) << lint;
    EXPECT_EQ(shell("echo '" + lint + "' | grep -c '^[EW]:'").second, "0\n") << lint;

    // The data at its exact version; the libraries, the mixer's among them, read from the binary.
    const std::string depends = shell("dpkg-deb -f " + a + "/larkmere_1.0.0_amd64.deb Depends").second;
    for (const char* wanted : {"larkmere-data (= 1.0.0)", "libsdl2-mixer-2.0-0", "libsdl2-2.0-0", "libfreeimage3"})
        EXPECT_NE(depends.find(wanted), std::string::npos) << depends;
    // Every picture once: the 14 textures and 8 icon sizes; the data's window icon is a link
    // into the icon theme, and the README's pictures are left out.
    const std::string files = shell("cd " + a + " && for f in larkmere_*.deb larkmere-data_*.deb; do dpkg-deb -c $f; done").second;
    EXPECT_EQ(shell("echo '" + files + "' | grep -c '\\.png$'").second, "23\n") << files;
    EXPECT_EQ(shell("echo '" + files + "' | grep -c '^-.*\\.png$'").second, "22\n") << files;
    EXPECT_EQ(files.find("/docs/"), std::string::npos) << files;

    ASSERT_EQ(shell("cd " + a + " && for f in larkmere_*.deb larkmere-data_*.deb; do dpkg-deb -x $f " + root + " || exit 1; done").first, 0);
    const std::string game = root + "/usr/games/larkmere";
    const auto [hardened, report] = shell("hardening-check --nocfprotection " + game + " 2>&1");
    EXPECT_EQ(hardened, 0) << report;

    // Started where a stray assets folder lies, without the game's data: it finds its own.
    fs::create_directories(top / "stray/assets/css");
    Game run((top / "stray").string(), {"-u LARKMERE_DATA_DIR"}, game);
    ASSERT_TRUE(run.findWindow()) << run.errors();
    // The help panel: its blackboard over the sky.
    EXPECT_TRUE(run.waitFor("package_start", [](const Image& s) { return s.at(500, 5).b > 40 && s.at(250, 330).g > s.at(250, 330).b; }));
    run.xdotool("key q");
    EXPECT_EQ(run.waitForExit(), 0);
    EXPECT_EQ(run.errors(), "");
    fs::remove_all(top);
}
