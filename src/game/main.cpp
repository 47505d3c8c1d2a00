// Larkmere: start-up in its fixed order, the frame loop, and shutdown.
#include <GL/gl.h>
#include <SDL2/SDL.h>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "assets/ObjLoader.h"
#include "assets/SkyboxTextures.h"
#include "game/GameLoop.h"
#include "game/GameStatus.h"
#include "game/Launch.h"
#include "game/Shell.h"

namespace {
// The working folder has no assets folder at all: move into the data folder, wherever the
// game was started from. A folder that is there, even a damaged one, is used as it is.
bool enterDataFolder() {
    std::error_code error;
    if (std::filesystem::exists("assets", error)) return true;
    char* base = SDL_GetBasePath();
    const std::string executableDir = base != nullptr ? base : "";
    SDL_free(base);
    // The source tree only serves a binary run from the build folder it was built in.
    const bool inBuildTree = !executableDir.empty() && std::filesystem::equivalent(executableDir, LARKMERE_BUILD_TREE, error);
    const DataSearch search = findDataFolder(std::getenv("LARKMERE_DATA_DIR"), executableDir.c_str(),
                                             inBuildTree ? LARKMERE_SOURCE_TREE : nullptr, [](const std::string& file) {
                                                 std::error_code ignored;
                                                 return std::filesystem::is_regular_file(file, ignored);
                                             });
    if (!search.folder.empty()) {
        std::filesystem::current_path(search.folder, error);
        if (!error) return true;
    }
    std::string places = "the working folder";
    for (const std::string& place : search.looked) places += ", " + place;
    std::fprintf(stderr, "Larkmere: cannot find the game's data: no assets/models/Duck.obj in %s\n", places.c_str());
    return false;
}
}  // namespace

int main(int argc, char** argv) {
    const CommandLine line = parseCommandLine(argc, argv);
    switch (line.action) {
        case LaunchAction::Help: std::fputs(helpText(), stdout); return 0;
        case LaunchAction::Version: std::printf("Larkmere %s\n", LARKMERE_VERSION); return 0;
        case LaunchAction::Refuse:
            std::fprintf(stderr, "Larkmere: unknown option \"%s\" (%s)\n", line.refused.c_str(), usageLine());
            return 2;
        case LaunchAction::Play: break;
    }
    if (!enterDataFolder()) return 1;

    // 1. Video.
    if (SDL_Init(SDL_INIT_VIDEO) < 0) {
        std::fprintf(stderr, "No se pudo iniciar SDL: %s\n", SDL_GetError());
        return 1;
    }
    // 2-3. Window and context; a game nobody can see is a failure, not a run.
    ShellWindow shell;
    std::string error;
    if (!openGameWindow("Larkmere", shell, error)) {
        std::fprintf(stderr, "Larkmere: %s\n", error.c_str());
        SDL_Quit();
        return 1;
    }
    setWindowIcon(shell.window, "./assets/icons/duck-64.png");
    const double paceHz = startPacing(shell.window, line.uncapped);
    // 4. Bitmap fonts only.
    initBitmapFonts(&argc, argv);
    // 5. Fixed projection and depth test.
    setupProjection();

    // 6-7. The duck's texture, then its solid and outline display lists from one reading
    // of the model.
    const ObjLists duckLists = loadDuckLists(loadDuckTexture());

    // 8. The camera, which carries the player's place.
    Camera* camera = new Camera();

    // 9. First frame-clock reading.
    GameWorld world;
    world.window = shell.window;
    world.clock.frameLast = world.clock.now();
    world.camera = camera;

    // 10. Sky box face lists and the day set.
    world.dayFaces = daySkyboxFaces();
    world.nightFaces = nightSkyboxFaces();
    world.skybox = &SkyboxTextures::instance(world.dayFaces, *camera);

    // 11. Window size for the overlays.
    world.screen = new ScreenSize();

    // 12. The pause panel's board, then the end screen's.
    world.pauseBoard = new Blackboard(makeBlackboard());
    world.endBoard = new Blackboard(makeBlackboard());

    // 13. The grass field and its texture.
    world.field = &GrassField::instance();

    // 14. Night lamps, the duck, the traffic.
    computeLampPositions(world.lighting, *world.field);
    world.duck = new Duck(*camera, duckLists.solid, duckLists.wireframe);
    world.traffic = makeTraffic();

    // 15. The run's status record (Paused, on the help panel).
    GameStatus::instance();

    // 16. The play clock, stopped.
    world.clock.clockRunning = false;
    world.clock.playStart = world.clock.now();
    world.clock.playLast = world.clock.now();

    // Sound comes last: without it the game is still a game.
    SoundPlayer sound;
    std::string noSound;
    if (sound.open(noSound)) {
        world.sound = &sound;
    } else {
        std::fprintf(stderr, "Larkmere: no sound: %s\n", noSound.c_str());
    }
    world.soundMuted = line.muted;

    const uint8_t* keyState = SDL_GetKeyboardState(nullptr);
    FramePacer pacer(paceHz);
    while (!world.quitRequested) {
        runPass(world, keyState);
        pacer.wait();
    }

    sound.close();
    closeGameWindow(shell);
    SDL_Quit();
    return 0;
}
