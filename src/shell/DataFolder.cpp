// The data folder search: the places in their order, and why each was passed over.
#include "shell/DataFolder.h"

#include <filesystem>

#include "assets/AssetFile.h"
#include "core/Language.h"

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
