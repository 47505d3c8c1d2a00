// What happens before any window opens: the command line, the folder the game reads its
// data from, and how fast the loop may present frames. Plain functions, so tests can call
// them without a display.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "game/FrameClock.h"

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

// Where the data is: the first of $LARKMERE_DATA_DIR when set (an explicit choice that
// lacks the model ends the search), the working folder when its assets hold the model, the
// installed data next to the executable (../share/games/larkmere, ../share/larkmere), and
// the source tree of a binary run from its build folder. The places are plain strings;
// whyNot is the one look at the disk: empty when the file is there, else the reason.
struct DataPlaces {
    const char* variable = nullptr;  // LARKMERE_DATA_DIR; null or empty: not set
    std::string workingFolder;
    std::string executableDir;       // empty: unknown
    const char* sourceTree = nullptr;  // null: this binary knows no source tree
    bool inBuildTree = false;          // the binary runs from the build folder of that tree
};
// What whyNot answers for a file that is simply not there.
inline const std::string DataNotThere = "not there";
struct DataSearch {
    std::string folder;   // empty: none holds the model
    std::string failure;  // then: the one line that says where it looked and why each was passed over
};
DataSearch findDataFolder(const DataPlaces& places, const std::function<std::string(const std::string& file)>& whyNot);

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
