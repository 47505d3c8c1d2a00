// Before the window: the command line, the data folder search and the frame pacer.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "game/Launch.h"

TEST(Launch, CommandLineDataFolderAndRenderer) {
    const struct { std::vector<const char*> args; LaunchAction action; bool uncapped; const char* refused; } lines[] = {
        {{}, LaunchAction::Play, false, ""}, {{"--uncapped"}, LaunchAction::Play, true, ""},
        {{"--version", "--uncapped"}, LaunchAction::Version, true, ""}, {{"--version", "-h"}, LaunchAction::Help, false, ""},
        {{"--help", "--version"}, LaunchAction::Help, false, ""}, {{"--uncapped", "-x", "--help"}, LaunchAction::Refuse, false, "-x"},
        {{"--mute", "--uncapped"}, LaunchAction::Play, true, ""}, {{"uncapped"}, LaunchAction::Refuse, false, "uncapped"}, {{"--help=1"}, LaunchAction::Refuse, false, "--help=1"}};
    for (const auto& c : lines) {
        std::vector<const char*> argv = {"larkmere"};
        argv.insert(argv.end(), c.args.begin(), c.args.end());
        const CommandLine line = parseCommandLine(static_cast<int>(argv.size()), argv.data());
        EXPECT_EQ(std::make_tuple(line.action, line.uncapped, line.refused), std::make_tuple(c.action, c.uncapped, c.refused))
            << argv.size() - 1 << " options, first " << (c.args.empty() ? "none" : c.args[0]);
        EXPECT_EQ(line.muted, std::find(c.args.begin(), c.args.end(), std::string("--mute")) != c.args.end());
    }

    // Places that hold the model, then what each search looks at and picks.
    const std::set<std::string> models = {"/data/assets/models/Duck.obj", "/opt/bin/../share/larkmere/assets/models/Duck.obj",
                                          "/src/assets/models/Duck.obj"};
    const auto isFile = [&](const std::string& file) { return models.count(file) > 0; };
    const struct { const char *variable, *executable, *source, *folder; std::vector<std::string> looked; } searches[] = {
        {"/data", "/opt/bin/", "/src", "/data", {"/data"}},
        {"/empty", "/opt/bin/", "/src", "/opt/bin/../share/larkmere", {"/empty", "/opt/bin/../share/larkmere"}},
        {"", "/opt/bin", "/src", "/opt/bin/../share/larkmere", {"/opt/bin/../share/larkmere"}},
        {nullptr, "/usr/bin/", "/src", "/src", {"/usr/bin/../share/larkmere", "/src"}},
        {nullptr, "/usr/bin/", nullptr, "", {"/usr/bin/../share/larkmere"}}, {nullptr, nullptr, nullptr, "", {}}};
    for (const auto& c : searches) {
        const DataSearch search = findDataFolder(c.variable, c.executable, c.source, isFile);
        EXPECT_EQ(std::tie(search.folder, search.looked), std::tie(c.folder, c.looked));
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
