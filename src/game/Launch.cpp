// The command line, the data folder search and the frame pacer.
#include "game/Launch.h"

#include <cstring>
#include <filesystem>
#include <thread>

#include "assets/AssetFile.h"
#include "game/Language.h"

CommandLine parseCommandLine(int argc, const char* const* argv) {
    CommandLine line;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (option == "--uncapped") {
            line.uncapped = true;
        } else if (option == "--mute") {
            line.muted = true;
        } else if (option == "--help" || option == "-h") {
            line.action = LaunchAction::Help;
        } else if (option == "--version" || option == "--records") {
            // Help wins when asked for with either.
            if (line.action != LaunchAction::Help) line.action = option == "--version" ? LaunchAction::Version : LaunchAction::Records;
        } else {
            return CommandLine{LaunchAction::Refuse, false, false, option};
        }
    }
    return line;
}

const char* usageLine() { return tr("usage: larkmere [--uncapped] [--mute] [--records] [--help] [--version]"); }

const char* helpText() {
    return tr("Usage: larkmere [--uncapped] [--mute] [--records] [--help] [--version]\n"
           "Steer the duck across ten lanes of traffic to the far side of the field.\n"
           "\n"
           "Options:\n"
           "  --uncapped   present frames as fast as the machine draws them (no vsync, no pacing)\n"
           "  --mute       start with the sound off\n"
           "  --records    print your best score, best winning time, runs and wins, and exit\n"
           "  -h, --help   print this help and exit\n"
           "  --version    print the version and exit\n"
           "\n"
           "Keys (they act when released; hold the arrows):\n"
           "  Arrows      move the duck           Mouse       turn the orbit view\n"
           "  P           pause / play            R           play again after the end\n"
           "  V           orbit / fixed view      T           textures on / off\n"
           "  W           wireframe on / off      I           smooth / flat shading\n"
           "  L           sunset on / off         N           night on / off\n"
           "  1, 2, 3     slow, normal, fast      M           sound off / on\n"
           "  Q, Escape   quit\n"
           "\n"
           "Data: the folder in $LARKMERE_DATA_DIR when set, else the working folder when it holds\n"
           "assets/models/Duck.obj, else the installed ../share/games/larkmere or ../share/larkmere\n"
           "next to the executable.\n"
           "Records are kept in $XDG_DATA_HOME/larkmere/records (~/.local/share/larkmere/records\n"
           "when XDG_DATA_HOME is unset); a damaged file is moved aside, never overwritten.\n"
           "\n"
           "Exit status: 0 after quitting, 1 when the game cannot start, 2 for an unknown option.\n");
}

DataSearch findDataFolder(const DataPlaces& places, const std::function<std::string(const std::string& file)>& whyNot) {
    const auto problem = [&](const std::string& folder) { return whyNot(folder + "/assets/models/Duck.obj"); };
    const std::string variable = places.variable != nullptr ? places.variable : "";
    if (!variable.empty()) {
        const std::string why = problem(variable);
        if (why.empty()) return {variable, ""};
        return {"", why == DataNotThere ? formatText(tr("cannot use LARKMERE_DATA_DIR \"%s\": it holds no assets/models/Duck.obj"), printable(variable).c_str())
                                        : formatText(tr("cannot use LARKMERE_DATA_DIR \"%s\": assets/models/Duck.obj: %s"), printable(variable).c_str(), why.c_str())};
    }
    std::string failure = tr("cannot find the game's data (assets/models/Duck.obj): LARKMERE_DATA_DIR: not set");
    // A place passed over says why, so that a folder the user may not enter is not taken for a missing one.
    const auto tryPlace = [&](const std::string& label, const std::string& folder) {
        const std::string why = problem(folder);
        if (!why.empty()) failure += "; " + label + printable(folder) + ": " + (why == DataNotThere ? tr("not there") : why);
        return why.empty();
    };
    if (tryPlace(tr("working folder "), places.workingFolder)) return {places.workingFolder, ""};
    if (!places.executableDir.empty()) {
        for (const char* installed : {"../share/games/larkmere", "../share/larkmere"}) {
            const std::string folder = (std::filesystem::path(places.executableDir) / installed).lexically_normal().string();
            if (tryPlace("", folder)) return {folder, ""};
        }
    }
    if (places.sourceTree != nullptr) {
        if (!places.inBuildTree) {
            failure += formatText(tr("; source tree %s: serves only a binary in its build folder"), printable(places.sourceTree).c_str());
        } else if (tryPlace(tr("source tree "), places.sourceTree)) {
            return {places.sourceTree, ""};
        }
    }
    return {"", failure};
}

bool softwareRenderer(const char* rendererName) {
    if (rendererName == nullptr) return true;  // nothing known about it: do not trust its swap
    for (const char* name : {"llvmpipe", "softpipe", "swrast", "Software Rasterizer"}) {
        if (std::strstr(rendererName, name) != nullptr) return true;
    }
    return false;
}

FramePacer::FramePacer(double hz, TimeSource now, Sleep sleep)
    : period_(hz > 0.0 ? std::chrono::duration_cast<std::chrono::steady_clock::duration>(std::chrono::duration<double>(1.0 / hz))
                       : std::chrono::steady_clock::duration::zero()),
      now_(std::move(now)),
      sleep_(sleep ? std::move(sleep) : [](SteadyTime until) { std::this_thread::sleep_until(until); }),
      deadline_(now_()) {}

void FramePacer::wait() {
    if (period_ == std::chrono::steady_clock::duration::zero()) return;
    deadline_ += period_;
    const SteadyTime now = now_();
    if (deadline_ <= now) {
        deadline_ = now;
    } else {
        sleep_(deadline_);
    }
}
