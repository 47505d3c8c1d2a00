// How the game starts and ends, with its own files and with damaged ones: the exit status,
// the whole of standard error, and whether the game plays on. One short process per row.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fnmatch.h>
#include <fstream>
#include <sys/stat.h>

#include "support/Game.h"

namespace fs = std::filesystem;

namespace {
const fs::path Assets = fs::path(LARKMERE_SOURCE_DIR) / "assets";
// A working folder whose assets are the game's own, but for one file: replaced by the given
// bytes, by a directory when they are "<dir>", a FIFO when "<fifo>", a link to /dev/zero when
// "<zero>", or left out when they are "<none>".
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
    if (bytes == "<fifo>") mkfifo(damaged.c_str(), 0600);
    if (bytes == "<zero>") fs::create_symlink("/dev/zero", damaged);
    if (bytes[0] != '<' || bytes.size() < 3) std::ofstream(damaged, std::ios::binary) << bytes;
    return top;
}

struct Row {
    const char* name;
    // The damage (no file: the game's own assets), and a shell pattern (fnmatch) for the whole of standard error.
    std::string file, bytes, errors;
    int status = 0;
    std::vector<std::string> keys = {"Escape"};  // pressed in turn ("close": the close request); none: it ends itself
    std::vector<std::string> env = {};  // LARKMERE_DATA_DIR, unless named here, is the assets' folder
    std::string command = LARKMERE_BINARY, dir = "/";
    bool skyAsBoard = false;  // the help panel shows the sky picture: the marked copy's data was chosen
};

void run(const Row& row) {
    SCOPED_TRACE(row.name);
    const fs::path folder = row.file.empty() ? fs::path(LARKMERE_SOURCE_DIR) : damagedFolder(row.file, row.bytes);
    std::vector<std::string> env = row.env;
    if (std::none_of(env.begin(), env.end(), [](const std::string& v) { return v.find("LARKMERE_DATA_DIR") != v.npos; }))
        env.push_back("LARKMERE_DATA_DIR=" + folder.string());
    Game game(row.dir, env, row.command);
    if (!row.keys.empty()) {
        ASSERT_TRUE(game.findWindow()) << game.errors();
        // Plays on: a first frame drawn (the sky is never black) that the keys still reach.
        ASSERT_TRUE(game.waitFor(std::string("start_") + row.name, [&](const Image& s) {
            return s.at(500, 5).b > 40 && (!row.skyAsBoard || s.at(250, 330).b > s.at(250, 330).g + 20);
        }));
    }
    // A * stands for part of one line, except a leading one, which may also hold a library's notice line.
    const auto lines = [](const std::string& text) { return std::count(text.begin(), text.end(), '\n'); };
    const auto said = [&](const Image&) {
        const std::string text = game.errors();
        return fnmatch(row.errors.c_str(), text.c_str(), 0) == 0 && lines(text) <= lines(row.errors) + (row.errors[0] == '*');
    };
    // Each key waits for its screen: after P play, seen by the clock's dark box; after N the
    // night set's warning.
    const auto playing = [](const Image& s) { return s.at(30, 30).b * 2 < s.at(20, 20).b; };
    for (const std::string& key : row.keys) {
        key == "close" ? game.requestClose() : void(game.xdotool("key " + key));
        ASSERT_TRUE(key != "p" || game.waitFor(std::string("playing_") + row.name, playing).has_value());
        EXPECT_TRUE(key != "n" || game.waitFor(std::string("night_") + row.name, said, 30).has_value());
    }
    EXPECT_EQ(game.waitForExit(), row.status) << game.errors();
    EXPECT_TRUE(said({})) << game.errors();
    if (!row.file.empty()) fs::remove_all(folder);
}
}  // namespace

TEST(GameStartup, NoWindowDamagedFilesOrNoDataSayWhyAndEndOrPlayOn) {
    const fs::path top = fs::temp_directory_path() / ("larkmere-data-" + std::to_string(getpid()));
    fs::remove_all(top);
    fs::create_directories(top / "unrelated/assets/css");
    fs::create_directories(top / "alone");
    fs::copy_file(LARKMERE_BINARY, top / "alone/larkmere");
    fs::rename(damagedFolder("textures/blackboard.png", shell("cat " + (Assets / "textures/skybox/top.png").string()).second), top / "marked");
    const std::string unrelated = (top / "unrelated").string(), marked = (top / "marked").string();
    std::string manyFaces = "v 0 0 0\n";
    for (int i = 0; i < 200001; ++i) manyFaces += "f 1 1 1\n";
    const std::string model = "Larkmere: *the model \"./assets/models/Duck.obj\"";
    const std::string grass = shell("cat " + (Assets / "textures/grass.png").string()).second;
    const std::string duck = shell("cat " + (Assets / "textures/Duck.jpg").string()).second;
    const std::string huge = "100000 x 100000 pixels is more than the [0-9]* x [0-9]* this OpenGL takes";
    const std::string grassPng = "textures/grass.png", duckJpg = "textures/Duck.jpg", board = "textures/blackboard.png";
    const auto picture = [](const std::string& file, const std::string& why) { return "Larkmere: picture \"./assets/" + file + "\": " + why + "\n"; };
    const Row rows[] = {
        {"no display", "", "", "*Larkmere: no display available *\n", 1, {}, {"-u DISPLAY"}},
        {"no audio device", "", "", "Larkmere: no sound: cannot start audio \\(Audio target 'nonsense' not available)\n", 0,
         {"p", "Escape"}, {"SDL_AUDIODRIVER=nonsense"}},
        {"a sound missing", "sounds/quack.wav", "<none>", "Larkmere: no sound: ./assets/sounds/quack.wav: *\n", 0, {"p", "Escape"}},
        {"no such video driver", "", "", "No se pudo iniciar SDL: *\n", 1, {}, {"-u DISPLAY", "SDL_VIDEODRIVER=nonsense"}},
        {"model empty", "models/Duck.obj", "", model + " has no faces to draw\n"},
        {"model of binary garbage", "models/Duck.obj", grass, model + " has no faces to draw\n", 0, {"close"}},
        {"model a FIFO", "models/Duck.obj", "<fifo>", model + ": it is a FIFO, not a regular file\n", 1, {}},
        {"model endless", "models/Duck.obj", "<zero>", model + ": it is a character device, not a regular file\n", 1, {}},
        {"model of 16 MiB and a byte", "models/Duck.obj", std::string(16777217, '#'),
         model + ": it is 16777217 bytes, more than the 16777216 a model may have\n", 1, {}},
        {"model of 200001 faces", "models/Duck.obj", manyFaces,
         "Larkmere: cannot use the model \"./assets/models/Duck.obj\": it has 200001 faces, more than the 200000 the game draws\n", 1, {}},
        {"option with a newline and an escape", "", "", "Larkmere: unknown option \"x\\\\nbad\\\\x1b\\[2J\" (usage: *)\n",
         2, {}, {}, LARKMERE_BINARY " \"$(printf 'x\\nbad\\033[2J')\""},
        // Where the data comes from: the first of these folders that holds the model. A copy
        // whose help panel shows the sky picture tells, by the first frame, that it was chosen.
        {"variable set and good", "", "", "", 0, {"q"}, {"LARKMERE_DATA_DIR=" + marked}, LARKMERE_BINARY, "/", true},
        {"variable set, no model there", "", "", "Larkmere: cannot use LARKMERE_DATA_DIR \"" + unrelated + "\": it holds no assets/models/Duck.obj\n",
         1, {}, {"LARKMERE_DATA_DIR=" + unrelated}, LARKMERE_BINARY, marked},
        {"working folder with an unrelated assets", "", "", "", 0, {"q"}, {"-u LARKMERE_DATA_DIR"}, LARKMERE_BINARY, unrelated},
        {"working folder holding the model", "", "", "", 0, {"q"}, {"-u LARKMERE_DATA_DIR"}, LARKMERE_BINARY, marked, true},
        {"none at all", "", "", "Larkmere: cannot find the game's data (assets/models/Duck.obj): LARKMERE_DATA_DIR: not set; working folder " +
             unrelated + ": not there; " + top.string() + "/share/games/larkmere: not there; " + top.string() + "/share/larkmere: not there; " +
             "source tree " LARKMERE_SOURCE_DIR ": serves only a binary in its build folder\n", 1, {}, {"-u LARKMERE_DATA_DIR"},
         top.string() + "/alone/larkmere", unrelated},
        // Damaged pictures: each says why once, and the play goes on.
        {"grass empty", grassPng, "", picture(grassPng, "the file is empty")},
        {"grass truncated", grassPng, grass.substr(0, 3000), picture(grassPng, "Read error: invalid or corrupted PNG file")},
        {"grass of text", grassPng, "v 1 2 3\n", picture(grassPng, "it is not a valid PNG picture")},
        {"grass a directory", grassPng, "<dir>", picture(grassPng, "Is a directory")},
        {"grass a FIFO", grassPng, "<fifo>", picture(grassPng, "it is a FIFO, not a regular file")},
        {"blackboard of 100000 x 100000", board, HugeHeaderPng, picture(board, huge) + picture(board, huge)},
        {"duck a PNG named .jpg", duckJpg, grass, picture(duckJpg, "Not a JPEG file: starts with 0x89 0x50")},
        {"duck truncated", duckJpg, duck.substr(0, duck.size() / 2), picture(duckJpg, "Premature end of JPEG file; showing what could be read")},
        {"night face missing, night on and off", "textures/skybox/left_night.png", "<none>",
         picture("textures/skybox/left_night.png", "No such file or directory"), 0, {"p", "n", "n", "Escape"}},
        {"icon of 2048 x 2048", "icons/duck-64.png", shell("convert -size 2048x2048 xc:orange png:-").second,
         picture("icons/duck-64.png", "2048 x 2048 pixels is more than the 512 x 512 a window icon may be; scaled down")}};
    for (const Row& row : rows) run(row);
    fs::remove_all(top);
}
