// The command line: what the player asked for before any window opens. Plain functions,
// so tests can call them without a display.
#pragma once

#include <string>

enum class LaunchAction { Play, Help, Version, Records, Refuse };

struct CommandLine {
    LaunchAction action = LaunchAction::Play;
    bool uncapped = false;  // no vsync and no pacing: as many frames as the machine draws
    bool muted = false;     // starts with the sound off (M turns it on)
    bool fullscreen = false;  // starts in desktop fullscreen (F11 leaves it)
    std::string refused;    // the option that was not understood
};

CommandLine parseCommandLine(int argc, const char* const* argv);
// What --help prints: usage, options, keys.
const char* helpText();
// The one-line usage that follows a refused option.
const char* usageLine();
