// Before the window: the command line, the data folder search and the frame pacer.
#include <gtest/gtest.h>

#include <set>

#include "game/Launch.h"

TEST(Launch, CommandLineDataFolderAndRenderer) {
    const struct { std::vector<const char*> args; LaunchAction action; bool uncapped; const char* refused; } lines[] = {
        {{}, LaunchAction::Play, false, ""}, {{"--uncapped"}, LaunchAction::Play, true, ""},
        {{"--version", "--uncapped"}, LaunchAction::Version, true, ""}, {{"--version", "-h"}, LaunchAction::Help, false, ""},
        {{"--help", "--version"}, LaunchAction::Help, false, ""}, {{"--uncapped", "-x", "--help"}, LaunchAction::Refuse, false, "-x"},
        {{"uncapped"}, LaunchAction::Refuse, false, "uncapped"}, {{"--help=1"}, LaunchAction::Refuse, false, "--help=1"}};
    for (const auto& c : lines) {
        std::vector<const char*> argv = {"larkmere"};
        argv.insert(argv.end(), c.args.begin(), c.args.end());
        const CommandLine line = parseCommandLine(static_cast<int>(argv.size()), argv.data());
        EXPECT_EQ(std::make_tuple(line.action, line.uncapped, line.refused), std::make_tuple(c.action, c.uncapped, c.refused))
            << argv.size() - 1 << " options, first " << (c.args.empty() ? "none" : c.args[0]);
    }

    // Places that hold the model, then what each search picks or says.
    const std::set<std::string> models = {"/data/assets/models/Duck.obj", "/game/assets/models/Duck.obj",
                                          "/usr/share/games/larkmere/assets/models/Duck.obj",
                                          "/opt/share/larkmere/assets/models/Duck.obj", "/src/assets/models/Duck.obj"};
    const auto isFile = [&](const std::string& file) { return models.count(file) > 0; };
    const std::string none = "cannot find the game's data (assets/models/Duck.obj): LARKMERE_DATA_DIR: not set; working folder /home: not there";
    const struct { DataPlaces places; std::string folder, failure; } searches[] = {
        {{"/data", "/game", "/usr/games/"}, "/data", ""},
        {{"/home", "/game", "/usr/games/"}, "", "cannot use LARKMERE_DATA_DIR \"/home\": it holds no assets/models/Duck.obj"},
        {{"", "/game", "/usr/games/"}, "/game", ""},
        {{nullptr, "/home", "/usr/games/"}, "/usr/share/games/larkmere", ""},
        {{nullptr, "/home", "/opt/bin", "/src", true}, "/opt/share/larkmere", ""},
        {{nullptr, "/home", "/build/", "/src", true}, "/src", ""},
        {{nullptr, "/home", "/bin/", "/src", false}, "",
         none + "; /share/games/larkmere: not there; /share/larkmere: not there; source tree /src: serves only a binary in its build folder"},
        {{nullptr, "/home", "", "/none", true}, "", none + "; source tree /none: not there"}};
    for (const auto& c : searches) {
        const DataSearch search = findDataFolder(c.places, isFile);
        EXPECT_EQ(std::tie(search.folder, search.failure), std::tie(c.folder, c.failure)) << c.places.workingFolder;
    }

    for (const char* name : {"llvmpipe (LLVM 15.0.6, 256 bits)", "softpipe", "swrast", "Mesa Intel(R) UHD Graphics 620"})
        EXPECT_EQ(softwareRenderer(name), name[0] != 'M') << name;
    EXPECT_TRUE(softwareRenderer(nullptr));
}

TEST(Launch, PacerSleepsToEachRefreshAndNeverCatchesUp) {
    using std::chrono::milliseconds;
    SteadyTime now{};
    std::vector<long> sleptUntil;  // milliseconds
    FramePacer pacer(50.0, [&] { return now; }, [&](SteadyTime until) {
        sleptUntil.push_back(std::chrono::duration_cast<milliseconds>(until.time_since_epoch()).count());
        now = until;
    });
    // Frames of 5, 5, 30 (late), 5 and 19.9 ms of drawing: each waits for its 20 ms slot.
    for (int drawing : {5, 5, 30, 5, 19}) {
        now += milliseconds(drawing);
        pacer.wait();
    }
    EXPECT_EQ(sleptUntil, (std::vector<long>{20, 40, 90, 110}));
    FramePacer(0.0, [&] { return now; }, [&](SteadyTime) { sleptUntil.clear(); }).wait();  // 0 Hz: vsync or uncapped
    EXPECT_EQ(sleptUntil.size(), 4u);
}
