// The command line, the data folder search and the frame pacer.
#include "game/Launch.h"

#include <cstring>
#include <thread>

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
        } else if (option == "--version") {
            // Help wins when both are asked for.
            if (line.action != LaunchAction::Help) line.action = LaunchAction::Version;
        } else {
            return CommandLine{LaunchAction::Refuse, false, false, option};
        }
    }
    return line;
}

const char* usageLine() { return "usage: larkmere [--uncapped] [--mute] [--help] [--version]"; }

const char* helpText() {
    return "Usage: larkmere [--uncapped] [--mute] [--help] [--version]\n"
           "Steer the duck across ten lanes of traffic to the far side of the field.\n"
           "\n"
           "Options:\n"
           "  --uncapped   present frames as fast as the machine draws them (no vsync, no pacing)\n"
           "  --mute       start with the sound off\n"
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
           "The game reads ./assets; started where there is none, it looks in $LARKMERE_DATA_DIR,\n"
           "then in ../share/larkmere next to the executable.\n";
}

DataSearch findDataFolder(const char* dataDirVariable, const char* executableDir, const char* sourceTree,
                          const std::function<bool(const std::string& file)>& isFile) {
    DataSearch search;
    std::string installed = executableDir != nullptr && *executableDir != 0 ? executableDir : "";
    if (!installed.empty()) installed += (installed.back() == '/' ? "" : "/") + std::string("../share/larkmere");
    for (const std::string& place : {std::string(dataDirVariable ? dataDirVariable : ""), installed,
                                     std::string(sourceTree ? sourceTree : "")}) {
        if (place.empty()) continue;
        search.looked.push_back(place);
        if (isFile(place + "/assets/models/Duck.obj")) {
            search.folder = place;
            break;
        }
    }
    return search;
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
