// The folder the game reads its data from. A plain function over plain strings, so tests
// can call it without a display.
#pragma once

#include <functional>
#include <string>

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
