// How the game starts and ends: its exit status and what it prints, one short process per case.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/Game.h"

namespace fs = std::filesystem;

TEST(GameStartup, ExitStatusAndMessageOfEachWayToStartAndQuit) {
    // A working directory with the textures but not the model.
    const fs::path noModel = fs::temp_directory_path() / ("larkmere-no-model-" + std::to_string(getpid()));
    fs::remove_all(noModel);
    fs::create_directories(noModel / "assets");
    fs::create_directory_symlink(fs::path(LARKMERE_SOURCE_DIR) / "assets/textures", noModel / "assets/textures");
    // quit: an xdotool command, "close" for the close request, or none; errorLine: how one
    // line of stderr starts, or none.
    struct Case {
        const char *name, *workDir;
        bool display;
        std::vector<std::string> env;
        const char *quit, *errorLine;
        int status;
    };
    const Case cases[] = {
        {"no display", LARKMERE_SOURCE_DIR, false, {}, nullptr, "Larkmere: ", 1},
        {"no such video driver", LARKMERE_SOURCE_DIR, false, {"SDL_VIDEODRIVER=nonsense"}, nullptr,
         "No se pudo iniciar SDL: ", 1},
        {"no duck model", noModel.c_str(), true, {}, nullptr, nullptr, 1},
        {"Escape", LARKMERE_SOURCE_DIR, true, {}, "key Escape", nullptr, 0},
        {"close request", LARKMERE_SOURCE_DIR, true, {}, "close", nullptr, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Game game(c.display, c.workDir, c.env);
        if (c.quit != nullptr) {
            ASSERT_TRUE(game.findWindow()) << game.errors();
            c.quit == std::string("close") ? game.requestClose() : void(game.xdotool(c.quit));
        }
        EXPECT_EQ(game.waitForExit(), c.status) << game.errors();
        const std::string errors = "\n" + game.errors();
        EXPECT_TRUE(!c.errorLine || errors.find(std::string("\n") + c.errorLine) != std::string::npos) << errors;
    }
    fs::remove_all(noModel);
}
