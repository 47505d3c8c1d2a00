// Before the window: the command line and the frame pacer. The data folder search is
// driven through the real binary in the end-to-end tests.
#include <gtest/gtest.h>

#include <algorithm>

#include "assets/AssetFile.h"
#include "shell/CommandLine.h"
#include "shell/Pacing.h"

TEST(Launch, CommandLineItsEchoAndRenderer) {
    using A = LaunchAction;
    // --mute only mutes, whatever comes with it.
    struct Line { std::vector<const char*> args; A action; bool uncapped = false; std::string refused = ""; };
    const Line lines[] = {
        {{}, A::Play}, {{"--uncapped"}, A::Play, true}, {{"--mute", "--uncapped"}, A::Play, true},
        {{"--version", "--uncapped"}, A::Version, true}, {{"--version", "-h"}, A::Help},
        {{"--help", "--version"}, A::Help}, {{"--records"}, A::Records}, {{"--records", "-h"}, A::Help},
        {{"--uncapped", "-x", "--help"}, A::Refuse, false, "-x"}, {{"uncapped"}, A::Refuse, false, "uncapped"},
        {{"--help=1"}, A::Refuse, false, "--help=1"}};
    for (const auto& c : lines) {
        std::vector<const char*> argv = {"larkmere"};
        argv.insert(argv.end(), c.args.begin(), c.args.end());
        const CommandLine line = parseCommandLine(static_cast<int>(argv.size()), argv.data());
        const bool muted = std::find(c.args.begin(), c.args.end(), std::string("--mute")) != c.args.end();
        EXPECT_EQ(std::make_tuple(line.action, line.uncapped, line.refused, line.muted), std::make_tuple(c.action, c.uncapped, c.refused, muted))
            << argv.size() - 1 << " options, first " << (c.args.empty() ? "none" : c.args[0]);
    }
    // What a refused option echoes of the user's text: one line, no terminal codes.
    const std::pair<std::string, std::string> texts[] = {
        {"--fast", "--fast"}, {"a\nb", "a\\nb"}, {"\x1b[2J", "\\x1b[2J"}, {"tab\there\r", "tab\\there\\r"},
        {std::string("nul\0del\x7f", 8), "nul\\x00del\\x7f"}, {"caf\xc3\xa9 d\xc3\xbc" "ck", "caf\xc3\xa9 d\xc3\xbc" "ck"}};
    for (const auto& [text, shown] : texts) EXPECT_EQ(printable(text), shown);
    for (const char* name : {"llvmpipe (LLVM 15.0.6, 256 bits)", "softpipe", "swrast", "Mesa Intel(R) UHD 620"})
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
    // 0 Hz: vsync or uncapped, never a sleep.
    FramePacer(0.0, [&] { return now; }, [&](SteadyTime) { sleptUntil.clear(); }).wait();
    EXPECT_EQ(sleptUntil.size(), 4u);
}
