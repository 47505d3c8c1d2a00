// How the game starts and ends, with its own files and with damaged ones: the exit status,
// the whole of standard error, and whether the game plays on. One short process per row.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>

#include "support/Game.h"

namespace fs = std::filesystem;

namespace {
const fs::path Assets = fs::path(LARKMERE_SOURCE_DIR) / "assets";
// A working folder whose assets are the game's own, but for one file: replaced by the given
// bytes, by a directory when they are "<dir>", or left out when they are "<none>".
fs::path damagedFolder(const std::string& file, const std::string& bytes) {
    const fs::path top = fs::temp_directory_path() / ("larkmere-damaged-" + std::to_string(getpid()));
    fs::remove_all(top);
    for (const auto& entry : fs::recursive_directory_iterator(Assets)) {
        const fs::path copy = top / "assets" / fs::relative(entry.path(), Assets);
        entry.is_directory() ? void(fs::create_directories(copy)) : fs::create_symlink(entry.path(), copy);
    }
    const fs::path damaged = top / "assets" / file;
    fs::remove(damaged);
    if (bytes == "<dir>") fs::create_directory(damaged);
    if (bytes != "<dir>" && bytes != "<none>") std::ofstream(damaged, std::ios::binary) << bytes;
    return top;
}

struct Row {
    const char* name;
    std::string file, bytes;        // the damage; no file: the game's own assets
    std::vector<std::string> keys;  // pressed in turn ("close": the close request); none: it ends itself
    int status;
    std::string errors;  // a pattern for the whole of standard error
    std::vector<std::string> env = {};
    bool display = true;
};

void run(const Row& row) {
    SCOPED_TRACE(row.name);
    const fs::path folder = row.file.empty() ? fs::path(LARKMERE_SOURCE_DIR) : damagedFolder(row.file, row.bytes);
    Game game(row.display, folder, row.env);
    if (!row.keys.empty()) {
        ASSERT_TRUE(game.findWindow()) << game.errors();
        // Plays on: a first frame drawn (the sky is never black) that the keys still reach.
        ASSERT_TRUE(game.waitFor(std::string("start_") + row.name, [](const Image& s) { return s.at(500, 5).b > 40; }));
    }
    const auto said = [&](const Image&) { return std::regex_search(game.errors(), std::regex(row.errors)); };
    for (const std::string& key : row.keys) {
        const Image before = key == "p" ? game.screenshot(std::string("start_help_") + row.name) : Image{};
        key == "close" ? game.requestClose() : void(game.xdotool("key " + key));
        // P takes the help panel away: the next key must wait for the play it belongs to.
        if (key == "p") {
            ASSERT_TRUE(game.waitFor(std::string("start_play_") + row.name,
                                     [&](const Image& s) { return countDifferent(before, s, {170, 50, 830, 430}, 8) > 10000; }));
        }
        // While playing the night set loads on N: its warning comes before any later key.
        if (key == "n") {
            EXPECT_TRUE(game.waitFor(std::string("start_night_") + row.name, said, 30));
        }
    }
    EXPECT_EQ(game.waitForExit(), row.status) << game.errors();
    EXPECT_TRUE(std::regex_match(game.errors(), std::regex(row.errors))) << game.errors();
    if (!row.file.empty()) fs::remove_all(folder);
}

std::string picture(const std::string& file, const std::string& why) {
    return "Larkmere: picture \"\\./assets/textures/" + file + "\": " + why + "\n";
}
}  // namespace

TEST(GameStartup, NoWindowOrADamagedModelSaysWhyAndEndsOrPlaysOn) {
    const std::string model = "Larkmere: (cannot read )?the model \"\\./assets/models/Duck\\.obj\"";
    const Row rows[] = {
        {"no display", "", "", {}, 1, "([^\n]*\n)?Larkmere: no display available .*\n", {}, false},
        {"no audio device", "", "", {"p", "Escape"}, 0, "Larkmere: no sound: cannot start audio \\(Audio target 'nonsense' not available\\)\n",
         {"SDL_AUDIODRIVER=nonsense"}},
        {"a sound missing", "sounds/quack.wav", "<none>", {"p", "Escape"}, 0, "Larkmere: no sound: \\./assets/sounds/quack\\.wav: .*\n"},
        {"no such video driver", "", "", {}, 1, "No se pudo iniciar SDL: .*\n", {"SDL_VIDEODRIVER=nonsense"}, false},
        {"model missing", "models/Duck.obj", "<none>", {}, 1, model + ": No such file or directory\n"},
        {"model a directory", "models/Duck.obj", "<dir>", {}, 1, model + ": Is a directory\n"},
        {"model empty", "models/Duck.obj", "", {"Escape"}, 0, model + " has no faces to draw\n"},
        {"model of binary garbage", "models/Duck.obj", shell("cat " LARKMERE_SOURCE_DIR "/assets/textures/grass.png").second, {"close"}, 0,
         model + " has no faces to draw\n"}};
    for (const Row& row : rows) run(row);
}

TEST(GameStartup, DamagedPicturesSayWhyOnceAndThePlayGoesOn) {
    const std::string grass = shell("cat " LARKMERE_SOURCE_DIR "/assets/textures/grass.png").second, duck = shell("cat " LARKMERE_SOURCE_DIR "/assets/textures/Duck.jpg").second;
    const Row rows[] = {
        {"grass empty", "textures/grass.png", "", {"Escape"}, 0, picture("grass\\.png", "the file is empty")},
        {"grass truncated", "textures/grass.png", grass.substr(0, 3000), {"Escape"}, 0,
         picture("grass\\.png", "Read error: invalid or corrupted PNG file")},
        {"grass of text", "textures/grass.png", "v 1 2 3\n", {"Escape"}, 0, picture("grass\\.png", "it is not a valid PNG picture")},
        {"grass a directory", "textures/grass.png", "<dir>", {"Escape"}, 0, picture("grass\\.png", "Is a directory")},
        {"blackboard of 100000 x 100000", "textures/blackboard.png", HugeHeaderPng, {"Escape"}, 0,
         picture("blackboard\\.png", "100000 x 100000 pixels is more than the ([0-9]+) x \\1 this OpenGL takes") +
             picture("blackboard\\.png", "100000 x 100000 pixels is more than the ([0-9]+) x \\2 this OpenGL takes")},
        {"duck a PNG named .jpg", "textures/Duck.jpg", grass, {"Escape"}, 0,
         picture("Duck\\.jpg", "Not a JPEG file: starts with 0x89 0x50")},
        {"duck truncated", "textures/Duck.jpg", duck.substr(0, duck.size() / 2), {"Escape"}, 0,
         picture("Duck\\.jpg", "Premature end of JPEG file; showing what could be read")},
        {"night face missing, night on and off", "textures/skybox/left_night.png", "<none>", {"p", "n", "n", "Escape"}, 0,
         picture("skybox/left_night\\.png", "No such file or directory")}};
    for (const Row& row : rows) run(row);
}
