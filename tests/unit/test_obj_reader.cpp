// The OBJ reader on text from memory: the line forms, index resolution and everything a
// broken or foreign file may hold.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

#include "assets/ObjReader.h"

namespace {

const int32_t No = ObjNoIndex;

void expectTriple(const ObjTriple& t, float x, float y, float z) {
    EXPECT_FLOAT_EQ(t.x, x);
    EXPECT_FLOAT_EQ(t.y, y);
    EXPECT_FLOAT_EQ(t.z, z);
}

// The faces, one a line as "v/t/n v/t/n ...": 0-based, -1 for no index.
std::string faces(const ObjModel& m) {
    std::ostringstream out;
    for (const ObjFace& f : m.faces) {
        for (size_t k = 0; k < f.corners(); ++k)
            out << (k ? " " : "") << f.vertex[k] << '/' << f.texCoord[k] << '/' << f.normal[k];
        out << '\n';
    }
    return out.str();
}

// Everything read, as text, so two models compare in one check.
std::string dump(const ObjModel& m) {
    std::ostringstream out;
    for (const auto* list : {&m.positions, &m.normals, &m.texCoords}) {
        for (const ObjTriple& t : *list) out << t.x << ' ' << t.y << ' ' << t.z << ',';
        out << '\n';
    }
    return out.str() + faces(m);
}

const std::string FourCorners =
    "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\n"
    "vt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\n"
    "vn 0 0 1\nvn 0 1 0\nvn 1 0 0\nvn 0 0 -1\n";

}  // namespace

TEST(ObjReader, EachFormLandsInItsListAndOtherLinesAreSkipped) {
    const ObjModel model = readObj(
        "# a comment v 9 9 9\n"
        "o Duck\ng body\ns 1\nmtllib duck.mtl\nusemtl skin\nvp 0.5 0.5\n"
        "v 1.5 -2 3e1\nvn 0 -1 0.5\nvt 0.25 0.75\nvt 0.1 0.2 0.3\n"
        " v 7 7 7\n\tf 1/1/1 1/1/1 1/1/1\n\n"
        "f 1/2/1 1/1/1 1/2/1\n");
    EXPECT_EQ(dump(model), "1.5 -2 30,\n0 -1 0.5,\n0.25 0.75 0,0.1 0.2 0.3,\n0/1/0 0/0/0 0/1/0\n");
}

TEST(ObjReader, CornersKeepTheirOrderMayNameLaterElementsAndMakeOnePolygon) {
    const ObjModel model = readObj("f 3/4/2 1/2/3 2/1/4\n" + FourCorners + "f 1/1/1 2/2/2 3/3/3 4/4/4\nf 1 2 3 4 2\n");
    EXPECT_EQ(faces(model),
              "2/3/1 0/1/2 1/0/3\n"
              "0/0/0 1/1/1 2/2/2 3/3/3\n"
              "0/-1/-1 1/-1/-1 2/-1/-1 3/-1/-1 1/-1/-1\n");
}

TEST(ObjReader, LastLineWithoutEndOfLineAndCrlfReadAlike) {
    const std::string lf = FourCorners + "f 1/1/1 2/2/2 3/3/3\n";
    std::string crlf;
    for (char c : lf) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    EXPECT_EQ(dump(readObj(crlf)), dump(readObj(lf)));
    EXPECT_EQ(dump(readObj(lf.substr(0, lf.size() - 1))), dump(readObj(lf)));
    EXPECT_EQ(readObj("v 1 2 3\nvn 0 0 1").normals.size(), 1u);
}

TEST(ObjReader, ScaleTouchesPositionsOnlyAndVIsNegated) {
    const ObjModel model = readObj("v 10 0 -5\nvt 0.25 0.75\nvn 0 2 0\nf 1/1/1 1/1/1 1/1/1\n");
    ASSERT_EQ(model.faces.size(), 1u);
    const ObjCorner corner = objCorner(model, model.faces[0], 0, 0.06f);
    expectTriple(corner.position, 0.6f, 0.0f, -0.3f);
    ASSERT_TRUE(corner.hasTexCoord && corner.hasNormal);
    EXPECT_FLOAT_EQ(corner.s, 0.25f);
    EXPECT_FLOAT_EQ(corner.t, -0.75f);
    expectTriple(corner.normal, 0.0f, 2.0f, 0.0f);  // neither scaled nor normalised
}

TEST(ObjReader, OnlyTheIndicesACornerGivesAreUsed) {
    const ObjModel model = readObj(FourCorners + "f 1 2 3\nf 1/4 2/3 3/2\nf 1//2 2//3 3//4\nf 1/1/1 2 3//2\n");
    EXPECT_EQ(faces(model),
              "0/-1/-1 1/-1/-1 2/-1/-1\n0/3/-1 1/2/-1 2/1/-1\n0/-1/1 1/-1/2 2/-1/3\n0/0/0 1/-1/-1 2/-1/1\n");
    const ObjCorner bare = objCorner(model, model.faces.at(0), 1, 2.0f);
    EXPECT_FALSE(bare.hasTexCoord || bare.hasNormal);
    expectTriple(bare.position, 2.0f, 0.0f, 0.0f);
}

TEST(ObjReader, NegativeIndicesCountBackFromWhatWasReadSoFar) {
    const ObjModel model = readObj(
        "v 0 0 0\nv 1 0 0\nv 2 0 0\nvt 0 0\nvn 0 0 1\n"
        "f -3/-1/-1 -2/-1/-1 -1/-1/-1\n"
        "v 3 0 0\n"
        "f -1 -2 -3\n"
        "f -4 -5 -1\n");  // -5 reaches before the first position: skipped
    EXPECT_EQ(faces(model), "0/0/0 1/0/0 2/0/0\n3/-1/-1 2/-1/-1 1/-1/-1\n");
}

TEST(ObjReaderMalformed, LinesWithoutTheirNumbersAreSkipped) {
    const ObjModel model = readObj(
        "v 1 2\nv 1 x 3\nv\nvn 1 2\nvn a b c\nvt 0.5\nvt\nvt 0.5 zz\n"
        "v 1e999 0 0\nv 1..2 0 0\nv 1,5 2 3\n"
        "v +1 -2 +3\nvn 0 0 1\nvt 0.5 0.5\n");
    EXPECT_EQ(dump(model), "1 -2 3,\n0 0 1,\n0.5 0.5 0,\n");
}

TEST(ObjReaderMalformed, BrokenFacesAreSkippedAndOthersKept) {
    const ObjModel model = readObj(FourCorners +
                                   "f 1/1/1 2/2/2\n"              // two corners
                                   "f 1/1/1 2/2/2 x/3/3\n"        // text for an index
                                   "f 1/1/1 2/2/2 3/3/\n"         // missing number
                                   "f 1/1/1/1 2/2/2 3/3/3\n"      // four indices
                                   "f 1/1/1 2/2/2 3/3/3.5\n"      // not an integer
                                   "f 99999999999/1/1 2 3\n"      // beyond any integer
                                   "f 0/1/1 2/2/2 3/3/3\n"        // index 0
                                   "f 1/1/1 2/2/2 5/3/3\n"        // position past the end
                                   "f 1/1/1 2/5/2 3/3/3\n"        // texcoord past the end
                                   "f 1/1/1 2/2/2 3/3/9\n"        // normal past the end
                                   "f 1/1/1  2/2/2\t3/3/3 \n");   // odd spacing is fine
    EXPECT_EQ(faces(model), "0/0/0 1/1/1 2/2/2\n");
    EXPECT_TRUE(readObj("f 1/1/1 2/2/2 3/3/3\n").faces.empty());
    EXPECT_TRUE(readObj("").faces.empty());
    EXPECT_TRUE(readObj(std::string("v 1 2 3\0f 1 1 1\n", 16)).faces.empty());
}

TEST(ObjReaderMalformed, HandMadeFacesAreCheckedBeforeUse) {
    const ObjModel model = readObj("v 0 0 0\nv 1 0 0\nv 0 1 0\n");
    ObjFace face;
    face.vertex = {0, 1, 2};
    face.texCoord = face.normal = {No, No, No};
    EXPECT_TRUE(objFaceValid(model, face));
    for (auto bad : {std::vector<int32_t>{No, No}, {No, No, -7}}) {
        face.normal = bad;
        EXPECT_FALSE(objFaceValid(model, face));
    }
    face.normal = {No, No, No};
    face.vertex = {0, 1, 3};
    EXPECT_FALSE(objFaceValid(model, face));
}

TEST(ObjReaderMalformed, VeryLongLinesAreReadWhole) {
    std::string text = "# " + std::string(100000, 'x') + "\n";
    text += "v 1 2 3" + std::string(5000, ' ') + "\n";
    text += "v " + std::string(300, '0') + "4 5 6\n";
    text += "v 7 8 9\nf";
    for (int i = 0; i < 400; ++i) text += " " + std::to_string(1 + i % 3);
    text += "\nvn 0 0 1";
    const ObjModel model = readObj(text);
    EXPECT_EQ(dump(model).substr(0, 24), "1 2 3,4 5 6,7 8 9,\n0 0 1");
    ASSERT_EQ(model.faces.size(), 1u);
    EXPECT_EQ(model.faces[0].corners(), 400u);
}

TEST(ObjReaderFile, ReadsTheFileAsFromMemory) {
    const std::string path = testing::TempDir() + "obj_reader_" + std::to_string(getpid()) + ".obj";
    const std::string text = FourCorners + "f 4/4/4 3/3/3 2/2/2 1/1/1";
    std::ofstream(path, std::ios::binary) << text;
    EXPECT_EQ(dump(readObjFile(path)), dump(readObj(text)));
    std::remove(path.c_str());
}

TEST(ObjReaderFileDeathTest, AMissingFileEndsTheProcessSilently) {
    EXPECT_EXIT(readObjFile("/nonexistent/larkmere/Duck.obj"), testing::ExitedWithCode(1), "^$");
}
