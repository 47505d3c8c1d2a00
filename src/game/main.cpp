// Larkmere: start-up in its fixed order, the frame loop, and shutdown.
#include <GL/gl.h>
#include <SDL2/SDL.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "assets/AssetFile.h"
#include "assets/ObjLoader.h"
#include "assets/SkyboxTextures.h"
#include "game/GameLoop.h"
#include "game/GameStatus.h"
#include "game/Language.h"
#include "game/Launch.h"
#include "game/Shell.h"
#include "records/RecordFile.h"
#include "render/Overlay.h"

namespace {
// Where the game's data is, and the catalogs of the player's language found next to it.
DataSearch findDataAndLanguage() {
    std::error_code error;
    char* base = SDL_GetBasePath();
    DataPlaces places;
    const char* buildTree = nullptr;  // the catalogs built next to this binary
    places.variable = std::getenv("LARKMERE_DATA_DIR");
    places.workingFolder = std::filesystem::current_path(error).string();
    places.executableDir = base != nullptr ? base : "";
    SDL_free(base);
#ifdef LARKMERE_SOURCE_TREE
    places.sourceTree = LARKMERE_SOURCE_TREE;
    places.inBuildTree = !places.executableDir.empty() && std::filesystem::equivalent(places.executableDir, LARKMERE_BUILD_TREE, error);
    if (places.inBuildTree) buildTree = LARKMERE_BUILD_TREE;
#endif
    // Anything but a folder counts as the model here; the loader then says what is wrong with it.
    const auto whyNot = [](const std::string& file) -> std::string {
        struct stat info {};
        if (::stat(file.c_str(), &info) == 0) return S_ISDIR(info.st_mode) ? tr("it is a directory") : "";
        return errno == ENOENT || errno == ENOTDIR ? DataNotThere : std::strerror(errno);
    };
    DataSearch search = findDataFolder(places, whyNot);
    startLanguage(catalogFolder(buildTree, search.folder, places.executableDir));
    // Said in the player's language, now that it is known.
    if (search.folder.empty()) search = findDataFolder(places, whyNot);
    return search;
}

// Moves into the folder that holds the game's data, so that the relative asset paths work
// wherever the game was started from.
bool enterDataFolder(const DataSearch& search) {
    std::error_code error;
    if (search.folder.empty()) {
        std::fprintf(stderr, "Larkmere: %s\n", search.failure.c_str());
        return false;
    }
    std::filesystem::current_path(search.folder, error);
    if (error) std::fprintf(stderr, tr("Larkmere: cannot enter the data folder \"%s\": %s\n"), printable(search.folder).c_str(), error.message().c_str());
    return !error;
}

std::string playerRecordsFolder() { return recordsFolder(std::getenv("XDG_DATA_HOME"), std::getenv("HOME")); }

int printRecords() {
    const std::string path = recordsPath(playerRecordsFolder());
    const RecordRead read = readRecordFile(path);
    if (read.status == ReadStatus::Damaged || read.status == ReadStatus::Unreadable) {
        std::fprintf(stderr, tr("Larkmere: cannot read the records file %s: %s\n"), path.c_str(), read.why.c_str());
        return 1;
    }
    const Records& r = read.records;
    std::printf(read.status == ReadStatus::Missing ? tr("Records in %s (no run finished yet)\n") : tr("Records in %s\n"), path.c_str());
    std::printf(tr("best score: %d\nbest winning time: %s\nruns: %d\nwins: %d\n"), r.bestScore,
                r.bestWinSeconds ? formatPlayTime(*r.bestWinSeconds).c_str() : tr("none"), r.runs, r.wins);
    return 0;
}
}  // namespace

int main(int argc, char** argv) {
    const DataSearch data = findDataAndLanguage();
    const CommandLine line = parseCommandLine(argc, argv);
    switch (line.action) {
        case LaunchAction::Help: std::fputs(helpText(), stdout); return 0;
        case LaunchAction::Version: std::printf("Larkmere %s\n", LARKMERE_VERSION); return 0;
        case LaunchAction::Records: return printRecords();
        case LaunchAction::Refuse:
            std::fprintf(stderr, tr("Larkmere: unknown option \"%s\" (%s)\n"), printable(line.refused).c_str(), usageLine());
            return 2;
        case LaunchAction::Play: break;
    }
    if (!enterDataFolder(data)) return 1;

    // 1. Video.
    if (SDL_Init(SDL_INIT_VIDEO) < 0) {
        std::fprintf(stderr, tr("No se pudo iniciar SDL: %s\n"), SDL_GetError());
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

    // Runs are kept as they end; the last one is on disk before the window closes.
    RecordBook records(playerRecordsFolder());
    world.records = &records;

    // Sound comes last: without it the game is still a game.
    SoundPlayer sound;
    std::string noSound;
    if (sound.open(noSound)) {
        world.sound = &sound;
    } else {
        std::fprintf(stderr, tr("Larkmere: no sound: %s\n"), noSound.c_str());
    }
    world.soundMuted = line.muted;

    const uint8_t* keyState = SDL_GetKeyboardState(nullptr);
    FramePacer pacer(paceHz);
    while (!world.quitRequested) {
        if (waitWhileHidden(world)) continue;
        runPass(world, keyState);
        pacer.wait();
    }

    records.waitForWrite();
    sound.close();
    closeGameWindow(shell);
    SDL_Quit();
    return 0;
}
