// The command line and the texts it answers with.
#include "shell/CommandLine.h"

#include <string>

#include "core/Language.h"

namespace {
// The one synopsis: the usage line and the help's first line both show it.
constexpr const char* Synopsis = "larkmere [--uncapped] [--mute] [--fullscreen] [--records] [--help] [--version]";
}  // namespace

CommandLine parseCommandLine(int argc, const char* const* argv) {
    CommandLine line;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (option == "--uncapped") {
            line.uncapped = true;
        } else if (option == "--mute") {
            line.muted = true;
        } else if (option == "--fullscreen") {
            line.fullscreen = true;
        } else if (option == "--help" || option == "-h") {
            line.action = LaunchAction::Help;
        } else if (option == "--version" || option == "--records") {
            // Help wins when asked for with either.
            if (line.action != LaunchAction::Help) line.action = option == "--version" ? LaunchAction::Version : LaunchAction::Records;
        } else {
            CommandLine refused;
            refused.action = LaunchAction::Refuse;
            refused.refused = option;
            return refused;
        }
    }
    return line;
}

const char* usageLine() {
    static const std::string line = formatText(tr("usage: %s"), Synopsis);
    return line.c_str();
}

const char* helpText() {
    static const std::string text = formatText(tr("Usage: %s\n"), Synopsis) + tr(
           "Steer the duck across ten lanes of traffic to the far side of the field.\n"
           "\n"
           "Options:\n"
           "  --uncapped   present frames as fast as the machine draws them (no vsync, no pacing)\n"
           "  --mute       start with the sound off\n"
           "  --fullscreen start in fullscreen (F11 or Alt+Enter switches back)\n"
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
           "  Q, Escape   quit                    F11, Alt+Enter  fullscreen / window\n"
           "\n"
           "Game controller (buttons act when released):\n"
           "  Left stick, D-pad  move the duck    Right stick  turn the orbit view\n"
           "  Start       pause / play            A           play again after the end\n"
           "  Y           orbit / fixed view      X           textures on / off\n"
           "  B           night on / off          LB          sunset on / off\n"
           "  RB          wireframe on / off      R3          smooth / flat shading\n"
           "  LT, L3, RT  slow, normal, fast      Back        sound off / on\n"
           "  Quitting stays on the keyboard and the window's close button.\n"
           "\n"
           "Data: the folder in $LARKMERE_DATA_DIR when set, else the working folder when it holds\n"
           "assets/models/Duck.obj, else the installed ../share/games/larkmere or ../share/larkmere\n"
           "next to the executable.\n"
           "Records are kept in $XDG_DATA_HOME/larkmere/records (~/.local/share/larkmere/records\n"
           "when XDG_DATA_HOME is unset); a damaged file is moved aside, never overwritten.\n"
           "\n"
           "Exit status: 0 after quitting, 1 when the game cannot start, 2 for an unknown option.\n");
    return text.c_str();
}
