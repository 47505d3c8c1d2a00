// What happens before any window opens: the command line, the folder the game reads its
// data from, and how fast the loop may present frames. Plain functions, so tests can call
// them without a display.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "game/FrameClock.h"

enum class LaunchAction { Play, Help, Version, Refuse };

struct CommandLine {
    LaunchAction action = LaunchAction::Play;
    bool uncapped = false;  // no vsync and no pacing: as many frames as the machine draws
    bool muted = false;     // starts with the sound off (M turns it on)
    std::string refused;    // the option that was not understood
};

CommandLine parseCommandLine(int argc, const char* const* argv);
// What --help prints: usage, options, keys.
const char* helpText();
// The one-line usage that follows a refused option.
const char* usageLine();

// Where the data is, when the working folder has no "assets" folder at all: the first of
// LARKMERE_DATA_DIR, the installed ../share/larkmere next to the executable, and the
// source tree of a binary run from its build folder that holds the duck model. Places
// not given (null or empty) are not looked at.
struct DataSearch {
    std::string folder;               // empty: none holds the model
    std::vector<std::string> looked;  // every place looked at, in order
};
DataSearch findDataFolder(const char* dataDirVariable, const char* executableDir, const char* sourceTree,
                          const std::function<bool(const std::string& file)>& isFile);

// True for the renderers that draw on the processor (Mesa's llvmpipe, softpipe, swrast):
// their swap never waits for the display, whatever the swap interval says.
bool softwareRenderer(const char* rendererName);

// Sleeps after each frame so that frames come no faster than `hz` a second (0: never
// sleeps). A frame that ran late starts the next period from now: no burst to catch up.
class FramePacer {
public:
    using Sleep = std::function<void(SteadyTime until)>;
    FramePacer(double hz, TimeSource now = [] { return std::chrono::steady_clock::now(); }, Sleep sleep = nullptr);
    void wait();

private:
    std::chrono::steady_clock::duration period_;
    TimeSource now_;
    Sleep sleep_;
    SteadyTime deadline_;
};
