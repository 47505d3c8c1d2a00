// Before the window: the command line, the frame pacer, the OBJ reader on small named texts and the
// committed model as the game reads it. The data folder search is driven through the real binary in
// the end-to-end tests.
#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <fstream>
#include <sstream>
#include <tuple>

#include "assets/AssetFile.h"
#include "assets/ObjReader.h"
#include "player/Duck.h"
#include "shell/CommandLine.h"
#include "shell/Pacing.h"

TEST(Launch, CommandLineItsEchoRendererAndPacer) {
    using A = LaunchAction;
    // --mute only mutes, whatever comes with it.
    struct Line { std::vector<const char*> args; A action; bool uncapped = false; std::string refused = ""; bool muted = false; };
    const Line lines[] = {
        {{}, A::Play}, {{"--uncapped"}, A::Play, true}, {{"--mute", "--uncapped"}, A::Play, true, "", true},
        {{"--version", "--uncapped"}, A::Version, true}, {{"--version", "-h"}, A::Help}, {{"--help", "--version"}, A::Help},
        {{"--records"}, A::Records}, {{"--records", "-h"}, A::Help}, {{"--uncapped", "-x", "--help"}, A::Refuse, false, "-x"},
        {{"uncapped"}, A::Refuse, false, "uncapped"}, {{"--help=1"}, A::Refuse, false, "--help=1"}};
    for (const auto& c : lines) {
        std::vector<const char*> argv = {"larkmere"};
        argv.insert(argv.end(), c.args.begin(), c.args.end());
        const CommandLine line = parseCommandLine(static_cast<int>(argv.size()), argv.data());
        EXPECT_EQ(std::make_tuple(line.action, line.uncapped, line.refused, line.muted), std::make_tuple(c.action, c.uncapped, c.refused, c.muted))
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

    // The pacer sleeps to each refresh and never catches up.
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

// The OBJ reader on small named texts, and the committed model as the game reads it.
const std::string Square = "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nvt 0 0\nvt 1 0\nvn 0 0 1\nvn 0 1 0\n";

// "positions normals texCoords", then "|" and the 0-based v/vt/vn of each corner of each face (-1: none).
static std::string summary(const ObjModel& m) {
    std::ostringstream s;
    s << m.positions.size() << ' ' << m.normals.size() << ' ' << m.texCoords.size();
    for (const ObjFace& f : m.faces)
        for (size_t k = 0; k < f.corners(); ++k)
            s << (k ? " " : " | ") << f.vertex[k] << '/' << f.texCoord[k] << '/' << f.normal[k];
    return s.str();
}

TEST(ObjReaderTable, CornerFormsIndicesBrokenLinesAndTheCommittedDuck) {
    const struct { const char* name; std::string text; const char* read; } cases[] = {
        {"v, v/vt, v//vn corners", Square + "f 1 2/2 3//2", "4 2 2 | 0/-1/-1 1/1/-1 2/-1/1"},
        {"v/vt/vn quad naming later lines", "f 4/1/2 3/2/1 2/1/1 1/2/2\n" + Square, "4 2 2 | 3/0/1 2/1/0 1/0/0 0/1/1"},
        {"negative indices count back from what was read so far",
         "vt 0 0\nvn 0 0 1\nvn 0 1 0\nv 0 0 0\nv 1 0 0\nv 2 0 0\nf -3 -2 -1\nv 3 0 0\nf -1 -2/-1 -3//-2\n",
         "4 2 1 | 0/-1/-1 1/-1/-1 2/-1/-1 | 3/-1/-1 2/0/-1 1/-1/0"},
        {"index 0 or past a list", Square + "f 0 1 2\nf -5 1 2\nf 1 2 5\nf 1/1 2/3 3/1\nf 1//1 2//1 3//3", "4 2 2"},
        {"a quad with one bad corner", Square + "f 1 2 3 5\nf 1//1 2//1 3//1 4//3\nf 1/1 2/1 3/1 4/0", "4 2 2"},
        {"malformed corners", Square + "f 1 2\nf 1/1/1/1 2 3\nf 1 x 3\nf 1 2 3.5\nf 1 2 3/\nf 1 2 ++3", "4 2 2"},
        {"CRLF, a leading plus, no last newline", "v +1 2 3\r\nv 4 -5 6\r\nv 7 8 +9\r\nf +1 2 3\r\nvn 0 0 1", "3 1 0 | 0/-1/-1 1/-1/-1 2/-1/-1"},
        {"every v, vn and vt line counts, numbers or not, so later faces keep their elements",
         "v 1 x 3\nv 1 2\nv\nvn a b c\nvn 1 2\nvt 0.5\nvt 1 zz\n v 1 1 1\n# v 1 1 1\nvp 1 2\nv ++1 0 0\n"
         "vt 0.25 0.75\nvt 1 2 3 w\nv 1e39 0 0\nf -1 1 2", "4 2 4 | 3/-1/-1 0/-1/-1 1/-1/-1"}};
    for (const auto& c : cases) EXPECT_EQ(summary(readObj(c.text)), c.read) << c.name;
    // Each word as the x of a position: out of range clamps, underflow and no number read as 0.
    const std::pair<const char*, float> numbers[] = {{"1e39", FLT_MAX}, {"-1e400", -FLT_MAX}, {"inf", FLT_MAX},
        {"1e-400", 0}, {"-1e-40", -1e-40f}, {"x", 0}, {"1.5abc", 0}, {"nan", 0}, {"+2.5", 2.5f}, {"3.4028234e38", FLT_MAX}};
    for (const auto& [word, x] : numbers) EXPECT_EQ(readObj(std::string("v ") + word + " 7").positions.at(0).x, x) << word;
    const std::pair<const char*, const char*> unreadable[] = {
        {"./assets/models/Missing.obj", "No such file or directory"}, {"./assets/models", "Is a directory"}};
    for (const auto& [path, why] : unreadable)
        EXPECT_EQ(readObjFile(path).failure, std::string("Larkmere: cannot read the model \"") + path + "\": " + why + "\n");

    const ObjModel model = readObj("v +10 0 -5e0\nvt 0.25 0.75\nvn 0 2 0\nf 1/1/1 1 1/1\n");
    ASSERT_EQ(model.faces.size(), 1u);
    const ObjCorner full = objCorner(model, model.faces[0], 0, 0.5f), bare = objCorner(model, model.faces[0], 1, 2);
    EXPECT_EQ(std::make_tuple(full.hasTexCoord, full.s, full.t, full.hasNormal, full.normal.y, full.position.x,
                              full.position.z, bare.hasTexCoord, bare.hasNormal, bare.position.x),
              std::make_tuple(true, 0.25f, -0.75f, true, 2.0f, 5.0f, -2.5f, false, false, 20.0f)) << "t is -v";

    // The committed model as the game reads it.
    const ObjModel duck = readObjFile("./assets/models/Duck.obj").model;
    std::ifstream file("./assets/models/Duck.obj");
    size_t faceLines = 0;
    for (std::string line; std::getline(file, line);) faceLines += line.rfind("f ", 0) == 0;
    EXPECT_GT(faceLines, 1000u);
    EXPECT_EQ(duck.faces.size(), faceLines) << "every face of the file is valid";
    const auto y = [](const ObjTriple& a, const ObjTriple& b) { return a.y < b.y; };
    const auto z = [](const ObjTriple& a, const ObjTriple& b) { return a.z < b.z; };
    const auto [bill, tail] = std::minmax_element(duck.positions.begin(), duck.positions.end(), y);
    EXPECT_EQ(DuckModelScale, 0.06f);
    EXPECT_NEAR((tail->y - bill->y) * 0.06f, 2.0f, 0.06f) << "33 units long, drawn 2 long like the duck";
    EXPECT_EQ(std::min_element(duck.positions.begin(), duck.positions.end(), z)->z, 0.0f) << "the feet stand at 0";
}
