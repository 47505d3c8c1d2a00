// The OBJ reader on text from memory: the line forms, index resolution and everything a
// broken or foreign file may hold.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <unistd.h>

#include "assets/ObjReader.h"

namespace {

std::vector<int32_t> ints(std::initializer_list<int32_t> values) { return values; }

void expectTriple(const ObjTriple& t, float x, float y, float z) {
    EXPECT_FLOAT_EQ(t.x, x);
    EXPECT_FLOAT_EQ(t.y, y);
    EXPECT_FLOAT_EQ(t.z, z);
}

void expectSameModel(const ObjModel& a, const ObjModel& b) {
    auto sameTriples = [](const std::vector<ObjTriple>& x, const std::vector<ObjTriple>& y) {
        ASSERT_EQ(x.size(), y.size());
        for (std::size_t i = 0; i < x.size(); ++i) expectTriple(x[i], y[i].x, y[i].y, y[i].z);
    };
    sameTriples(a.positions, b.positions);
    sameTriples(a.normals, b.normals);
    sameTriples(a.texCoords, b.texCoords);
    ASSERT_EQ(a.faces.size(), b.faces.size());
    for (std::size_t i = 0; i < a.faces.size(); ++i) {
        EXPECT_EQ(a.faces[i].vertex, b.faces[i].vertex);
        EXPECT_EQ(a.faces[i].texCoord, b.faces[i].texCoord);
        EXPECT_EQ(a.faces[i].normal, b.faces[i].normal);
        EXPECT_EQ(a.faces[i].quad, b.faces[i].quad);
    }
}

const char* const fourCorners =
    "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\n"
    "vt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\n"
    "vn 0 0 1\nvn 0 1 0\nvn 1 0 0\nvn 0 0 -1\n";

}  // namespace

TEST(ObjReaderLines, EachFormLandsInItsList) {
    const ObjModel model = readObj(
        "# a comment v 9 9 9\n"
        "o Duck\ng body\ns 1\nmtllib duck.mtl\nusemtl skin\nvp 0.5 0.5\n"
        "v 1.5 -2 3e1\n"
        "vn 0 -1 0.5\n"
        "vt 0.25 0.75\n"
        "vt 0.1 0.2 0.3\n"
        " v 7 7 7\n\tf 1/1/1 1/1/1 1/1/1\n\n"
        "f 1/2/1 1/1/1 1/2/1\n");
    ASSERT_EQ(model.positions.size(), 1u);
    expectTriple(model.positions[0], 1.5f, -2.0f, 30.0f);
    ASSERT_EQ(model.normals.size(), 1u);
    expectTriple(model.normals[0], 0.0f, -1.0f, 0.5f);
    ASSERT_EQ(model.texCoords.size(), 2u);
    expectTriple(model.texCoords[0], 0.25f, 0.75f, 0.0f);
    expectTriple(model.texCoords[1], 0.1f, 0.2f, 0.3f);
    ASSERT_EQ(model.faces.size(), 1u);
    EXPECT_EQ(model.faces[0].vertex, ints({0, 0, 0}));
    EXPECT_EQ(model.faces[0].texCoord, ints({1, 0, 1}));
    EXPECT_FALSE(model.faces[0].quad);
}

TEST(ObjReaderLines, FaceIndicesKeepTheirCornerOrder) {
    const ObjModel model = readObj(std::string(fourCorners) + "f 1/1/1 2/2/2 3/3/3 4/4/4\nf 3/4/2 1/2/3 2/1/4\n");
    ASSERT_EQ(model.faces.size(), 2u);
    EXPECT_TRUE(model.faces[0].quad);
    EXPECT_EQ(model.faces[0].vertex, ints({0, 1, 2, 3}));
    EXPECT_EQ(model.faces[1].vertex, ints({2, 0, 1}));
    EXPECT_EQ(model.faces[1].texCoord, ints({3, 1, 0}));
    EXPECT_EQ(model.faces[1].normal, ints({1, 2, 3}));
    EXPECT_FALSE(model.faces[1].quad);
}

TEST(ObjReaderLines, FacesMayNameElementsDefinedLater) {
    const ObjModel model = readObj("f 1/1/1 2/1/1 3/1/1\nv 1 0 0\nv 0 1 0\nv 0 0 1\nvt 0 0\nvn 0 0 1\n");
    ASSERT_EQ(model.faces.size(), 1u);
    EXPECT_EQ(model.faces[0].vertex, ints({0, 1, 2}));
    expectTriple(objCorner(model, model.faces[0], 2, 1.0f).position, 0.0f, 0.0f, 1.0f);
}

TEST(ObjReaderLines, LastLineWithoutEndOfLineAndCrlfReadAlike) {
    const std::string lf = std::string(fourCorners) + "f 1/1/1 2/2/2 3/3/3\n";
    std::string crlf;
    for (char c : lf) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    expectSameModel(readObj(crlf), readObj(lf));
    expectSameModel(readObj(lf.substr(0, lf.size() - 1)), readObj(lf));
    // A CR ending a face line must not count as a corner separator or spoil the last index.
    EXPECT_EQ(readObj(crlf).faces.at(0).normal, ints({0, 1, 2}));

    const ObjModel noEol = readObj("v 1 2 3\nvn 0 0 1");
    EXPECT_EQ(noEol.normals.size(), 1u);
}

TEST(ObjReaderCorners, ScaleTouchesPositionsOnlyAndVIsNegated) {
    const ObjModel model = readObj("v 10 0 -5\nvt 0.25 0.75\nvn 0 2 0\nf 1/1/1 1/1/1 1/1/1\n");
    ASSERT_EQ(model.faces.size(), 1u);
    const ObjCorner corner = objCorner(model, model.faces[0], 0, 0.06f);
    expectTriple(corner.position, 0.6f, 0.0f, -0.3f);
    ASSERT_TRUE(corner.hasTexCoord);
    EXPECT_FLOAT_EQ(corner.s, 0.25f);
    EXPECT_FLOAT_EQ(corner.t, -0.75f);
    ASSERT_TRUE(corner.hasNormal);
    expectTriple(corner.normal, 0.0f, 2.0f, 0.0f);  // neither scaled nor normalised
}

TEST(ObjReaderCorners, OnlyTheIndicesACornerGivesAreUsed) {
    const ObjModel model = readObj(std::string(fourCorners) +
                                   "f 1 2 3\n"
                                   "f 1/4 2/3 3/2\n"
                                   "f 1//2 2//3 3//4\n"
                                   "f 1/1/1 2 3//2\n");
    ASSERT_EQ(model.faces.size(), 4u);
    EXPECT_EQ(model.faces[0].texCoord, ints({ObjNoIndex, ObjNoIndex, ObjNoIndex}));
    EXPECT_EQ(model.faces[0].normal, ints({ObjNoIndex, ObjNoIndex, ObjNoIndex}));
    EXPECT_EQ(model.faces[1].texCoord, ints({3, 2, 1}));
    EXPECT_EQ(model.faces[1].normal, ints({ObjNoIndex, ObjNoIndex, ObjNoIndex}));
    EXPECT_EQ(model.faces[2].texCoord, ints({ObjNoIndex, ObjNoIndex, ObjNoIndex}));
    EXPECT_EQ(model.faces[2].normal, ints({1, 2, 3}));
    EXPECT_EQ(model.faces[3].texCoord, ints({0, ObjNoIndex, ObjNoIndex}));
    EXPECT_EQ(model.faces[3].normal, ints({0, ObjNoIndex, 1}));

    const ObjCorner bare = objCorner(model, model.faces[0], 1, 2.0f);
    EXPECT_FALSE(bare.hasTexCoord);
    EXPECT_FALSE(bare.hasNormal);
    expectTriple(bare.position, 2.0f, 0.0f, 0.0f);
    const ObjCorner normalOnly = objCorner(model, model.faces[2], 0, 1.0f);
    EXPECT_FALSE(normalOnly.hasTexCoord);
    ASSERT_TRUE(normalOnly.hasNormal);
    expectTriple(normalOnly.normal, 0.0f, 1.0f, 0.0f);
}

TEST(ObjReaderCorners, NegativeIndicesCountBackFromWhatWasReadSoFar) {
    const ObjModel model = readObj(
        "v 0 0 0\nv 1 0 0\nv 2 0 0\nvt 0 0\nvn 0 0 1\n"
        "f -3/-1/-1 -2/-1/-1 -1/-1/-1\n"
        "v 3 0 0\n"
        "f -1 -2 -3\n"
        "f -4 -5 -1\n");  // -5 reaches before the first position: skipped
    ASSERT_EQ(model.faces.size(), 2u);
    EXPECT_EQ(model.faces[0].vertex, ints({0, 1, 2}));
    EXPECT_EQ(model.faces[0].texCoord, ints({0, 0, 0}));
    EXPECT_EQ(model.faces[1].vertex, ints({3, 2, 1}));
}

TEST(ObjReaderCorners, MoreThanFourCornersMakeOnePolygon) {
    const ObjModel model = readObj(
        "v 0 0 0\nv 1 0 0\nv 2 1 0\nv 1 2 0\nv 0 1 0\nf 1 2 3 4 5\nf 5 4 3 2 1 5 4 3\n");
    ASSERT_EQ(model.faces.size(), 2u);
    EXPECT_EQ(model.faces[0].vertex, ints({0, 1, 2, 3, 4}));
    EXPECT_FALSE(model.faces[0].quad);
    EXPECT_EQ(model.faces[1].corners(), 8u);
}

TEST(ObjReaderMalformed, LinesWithoutTheirNumbersAreSkipped) {
    const ObjModel model = readObj(
        "v 1 2\nv 1 x 3\nv\nvn 1 2\nvn a b c\nvt 0.5\nvt\nvt 0.5 zz\n"
        "v 1e999 0 0\nv 1..2 0 0\nv 1,5 2 3\n"
        "v +1 -2 +3\nvn 0 0 1\nvt 0.5 0.5\n");
    ASSERT_EQ(model.positions.size(), 1u);
    expectTriple(model.positions[0], 1.0f, -2.0f, 3.0f);
    EXPECT_EQ(model.normals.size(), 1u);
    EXPECT_EQ(model.texCoords.size(), 1u);
}

TEST(ObjReaderMalformed, BrokenFacesAreSkippedAndOthersKept) {
    const ObjModel model = readObj(std::string(fourCorners) +
                                   "f 1/1/1 2/2/2\n"              // two corners
                                   "f\n"                          // none
                                   "f 1/1/1 2/2/2 x/3/3\n"        // text for an index
                                   "f 1/1/1 2/2/2 3/3/\n"         // missing number
                                   "f 1/ 2/ 3/\n"                 // missing number
                                   "f 1/1/1/1 2/2/2 3/3/3\n"      // four indices
                                   "f 1//1/ 2/2/2 3/3/3\n"        // trailing slash
                                   "f 1/1/1 2/2/2 3/3/3.5\n"      // not an integer
                                   "f 99999999999/1/1 2 3\n"      // beyond any integer
                                   "f 0/1/1 2/2/2 3/3/3\n"        // index 0
                                   "f 1/1/1 2/2/2 5/3/3\n"        // position past the end
                                   "f 1/1/1 2/5/2 3/3/3\n"        // texcoord past the end
                                   "f 1/1/1 2/2/2 3/3/9\n"        // normal past the end
                                   "f 1/1/1 2/2/2 3/3/-5\n"       // before the first
                                   "f 1/1/1  2/2/2\t3/3/3 \n");   // odd spacing is fine
    ASSERT_EQ(model.faces.size(), 1u);
    EXPECT_EQ(model.faces[0].vertex, ints({0, 1, 2}));
    EXPECT_FALSE(model.faces[0].quad);
    for (const ObjFace& face : model.faces) EXPECT_TRUE(objFaceValid(model, face));
}

TEST(ObjReaderMalformed, AFaceOnNothingIsDropped) {
    EXPECT_TRUE(readObj("f 1/1/1 2/2/2 3/3/3\n").faces.empty());
    EXPECT_TRUE(readObj("").faces.empty());
    EXPECT_TRUE(readObj(std::string("v 1 2 3\0f 1 1 1\n", 16)).faces.empty());
}

TEST(ObjReaderMalformed, HandMadeFacesAreCheckedBeforeUse) {
    ObjModel model = readObj("v 0 0 0\nv 1 0 0\nv 0 1 0\n");
    ObjFace face;
    face.vertex = ints({0, 1, 2});
    face.texCoord = ints({ObjNoIndex, ObjNoIndex, ObjNoIndex});
    face.normal = ints({ObjNoIndex, ObjNoIndex, ObjNoIndex});
    EXPECT_TRUE(objFaceValid(model, face));
    face.normal = ints({ObjNoIndex, ObjNoIndex});
    EXPECT_FALSE(objFaceValid(model, face));
    face.normal = ints({ObjNoIndex, ObjNoIndex, -7});
    EXPECT_FALSE(objFaceValid(model, face));
    face.normal = ints({ObjNoIndex, ObjNoIndex, ObjNoIndex});
    face.vertex = ints({0, 1, 3});
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
    ASSERT_EQ(model.positions.size(), 3u);
    expectTriple(model.positions[0], 1.0f, 2.0f, 3.0f);
    expectTriple(model.positions[1], 4.0f, 5.0f, 6.0f);
    ASSERT_EQ(model.faces.size(), 1u);
    EXPECT_EQ(model.faces[0].corners(), 400u);
    EXPECT_EQ(model.normals.size(), 1u);
}

TEST(ObjReaderFile, ReadsTheFileAsFromMemory) {
    const std::string path = testing::TempDir() + "obj_reader_" + std::to_string(getpid()) + ".obj";
    const std::string text = std::string(fourCorners) + "f 4/4/4 3/3/3 2/2/2 1/1/1";
    {
        std::ofstream out(path, std::ios::binary);
        out << text;
    }
    expectSameModel(readObjFile(path), readObj(text));
    std::remove(path.c_str());
}

TEST(ObjReaderFileDeathTest, AMissingFileEndsTheProcessSilently) {
    EXPECT_EXIT(readObjFile("/nonexistent/larkmere/Duck.obj"), testing::ExitedWithCode(1), "^$");
}
