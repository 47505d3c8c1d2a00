// Larkmere's entry point: the command line, the data folder, the window, then the game's
// start-up, its loop and the shutdown.
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
#include "core/Language.h"
#include "game/GameStart.h"
#include "records/RecordFile.h"
#include "render/Overlay.h"
#include "shell/CommandLine.h"
#include "shell/DataFolder.h"
#include "shell/Pacing.h"
#include "shell/Window.h"

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

    if (SDL_Init(SDL_INIT_VIDEO) < 0) {
        std::fprintf(stderr, tr("No se pudo iniciar SDL: %s\n"), SDL_GetError());
        return 1;
    }
    // A game nobody can see is a failure, not a run.
    ShellWindow shell;
    std::string error;
    if (!openGameWindow("Larkmere", shell, error, line.fullscreen)) {
        std::fprintf(stderr, "Larkmere: %s\n", error.c_str());
        SDL_Quit();
        return 1;
    }
    setWindowIcon(shell.window, "./assets/icons/duck-64.png");
    const double paceHz = startPacing(shell.window, line.uncapped);
    initBitmapFonts(&argc, argv);
    setupProjection();

    {
        GameOptions options;
        options.recordsFolder = playerRecordsFolder();
        options.sound = true;
        options.muted = line.muted;
        options.controllers = true;
        GameParts game = startGame(shell.window, options);

        const uint8_t* keyState = SDL_GetKeyboardState(nullptr);
        FramePacer pacer(paceHz);
        while (!game.world.quitRequested) {
            if (waitWhileHidden(game.world)) continue;
            runPass(game.world, keyState);
            pacer.wait();
        }
    }  // the last run's record is written and the sound closed before the window goes

    closeGameWindow(shell);
    SDL_Quit();
    return 0;
}
