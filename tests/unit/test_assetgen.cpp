// The committed assets as the game uses them: the duck model read by the game's reader
// (size, closed and outward, winding agreeing with normals, bill and feet colours), sky
// box faces meeting without seams, a grass tile that wraps, a dark blackboard.
#include <gtest/gtest.h>

#include <FreeImage.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "assets/ObjReader.h"

namespace {

const std::string kAssets = std::string(LARKMERE_SOURCE_DIR) + "/assets/";

struct P3 {
    double x = 0, y = 0, z = 0;
};
P3 operator+(P3 a, P3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
P3 operator-(P3 a, P3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
P3 operator*(P3 a, double s) { return {a.x * s, a.y * s, a.z * s}; }
double dot(P3 a, P3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
P3 cross(P3 a, P3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
P3 p3(const ObjTriple& t) { return {t.x, t.y, t.z}; }

struct Rgba {
    double r, g, b, a;
};
double luminance(const Rgba& c) { return 0.299 * c.r + 0.587 * c.g + 0.114 * c.b; }
double distance(const Rgba& a, const Rgba& b) {
    return (std::fabs(a.r - b.r) + std::fabs(a.g - b.g) + std::fabs(a.b - b.b)) / 3.0;
}

// Pixels as the game uploads them: row 0 is the bottom of the picture (t = 0).
struct Picture {
    int width = 0, height = 0, bpp = 0;
    std::vector<Rgba> pixels;
    Rgba at(int x, int row) const { return pixels[static_cast<size_t>(row) * width + x]; }
};

Picture loadPicture(const std::string& path) {
    Picture p;
    FIBITMAP* file = FreeImage_Load(FreeImage_GetFIFFromFilename(path.c_str()), path.c_str(), 0);
    if (!file) return p;
    FIBITMAP* rgba = FreeImage_ConvertTo32Bits(file);
    p.bpp = static_cast<int>(FreeImage_GetBPP(file));
    p.width = static_cast<int>(FreeImage_GetWidth(rgba));
    p.height = static_cast<int>(FreeImage_GetHeight(rgba));
    for (int row = 0; row < p.height; ++row)
        for (int x = 0; x < p.width; ++x) {
            const BYTE* c = FreeImage_GetScanLine(rgba, row) + 4 * x;
            p.pixels.push_back({c[FI_RGBA_RED] / 255.0, c[FI_RGBA_GREEN] / 255.0, c[FI_RGBA_BLUE] / 255.0,
                                c[FI_RGBA_ALPHA] / 255.0});
        }
    FreeImage_Unload(rgba);
    FreeImage_Unload(file);
    return p;
}

class DuckModel : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        model = readObjFile(kAssets + "models/Duck.obj");
        lo = hi = p3(model.positions.at(0));
        for (const ObjTriple& t : model.positions) {
            lo = {std::min(lo.x, double(t.x)), std::min(lo.y, double(t.y)), std::min(lo.z, double(t.z))};
            hi = {std::max(hi.x, double(t.x)), std::max(hi.y, double(t.y)), std::max(hi.z, double(t.z))};
        }
    }
    static P3 at(const ObjFace& f, size_t k) { return p3(model.positions[f.vertex[k % f.corners()]]); }
    static inline ObjModel model;
    static inline P3 lo, hi;
};

TEST_F(DuckModel, EveryLineIsReadAndEveryCornerHasTextureAndNormal) {
    // The reader drops what it cannot use; a dropped line would shift or lose geometry.
    size_t lines = 0;
    std::ifstream in(kAssets + "models/Duck.obj");
    for (std::string line; std::getline(in, line);) lines += !line.empty() && line[0] != '#';
    EXPECT_EQ(lines, model.positions.size() + model.texCoords.size() + model.normals.size() + model.faces.size());
    EXPECT_GT(model.faces.size(), 500u);
    EXPECT_LT(model.faces.size(), 5000u);
    for (const ObjFace& f : model.faces)
        for (size_t k = 0; k < f.corners(); ++k) ASSERT_TRUE(f.texCoord[k] >= 0 && f.normal[k] >= 0);
    for (const ObjTriple& t : model.texCoords) ASSERT_TRUE(t.x >= 0 && t.x <= 1 && t.y >= 0 && t.y <= 1);
    // The game does not rescale normals.
    for (const ObjTriple& n : model.normals) ASSERT_NEAR(std::sqrt(dot(p3(n), p3(n))), 1.0, 2e-3);
}

TEST_F(DuckModel, StandsOnZeroCentredAndThirtyThreeUnitsLong) {
    EXPECT_NEAR(lo.z, 0.0, 1e-3);
    EXPECT_NEAR(lo.x + hi.x, 0.0, 0.1);
    EXPECT_NEAR(lo.y + hi.y, 0.0, 0.1);
    EXPECT_NEAR(hi.y - lo.y, 33.0, 0.5);
    EXPECT_LT(hi.x - lo.x, hi.y - lo.y);
    EXPECT_GT(hi.z, 15.0);
}

TEST_F(DuckModel, ClosedOutwardAndWoundLikeItsNormals) {
    std::map<std::pair<int, int>, int> edges;
    double volume = 0;
    int disagreeing = 0;
    for (const ObjFace& f : model.faces) {
        P3 newell, normals;
        for (size_t k = 0; k < f.corners(); ++k) {
            ++edges[{f.vertex[k], f.vertex[(k + 1) % f.corners()]}];
            newell = newell + cross(at(f, k), at(f, k + 1));  // counter-clockwise from outside: outward
            normals = normals + p3(model.normals[f.normal[k]]);
            if (k >= 2) volume += dot(at(f, 0), cross(at(f, k - 1), at(f, k))) / 6.0;
        }
        disagreeing += dot(newell, normals) <= 0.0;
    }
    EXPECT_EQ(disagreeing, 0);
    int unmatched = 0;
    for (const auto& [edge, count] : edges) {
        const auto back = edges.find({edge.second, edge.first});
        unmatched += count != 1 || back == edges.end() || back->second != 1;
    }
    EXPECT_EQ(unmatched, 0) << "each edge shared by two faces in opposite directions";
    EXPECT_GT(volume, 0.0) << "faces wound inside out";
}

TEST_F(DuckModel, BillTipAndSolesAreOrangeInTheTexture) {
    const Picture tex = loadPicture(kAssets + "textures/Duck.jpg");
    ASSERT_GT(tex.width, 0);
    EXPECT_EQ(tex.bpp, 24);
    int bill = 0, billOrange = 0, feet = 0, feetOrange = 0;
    for (const ObjFace& f : model.faces)
        for (size_t k = 0; k < f.corners(); ++k) {
            const P3 p = at(f, k);
            const ObjTriple& uv = model.texCoords[f.texCoord[k]];
            // The game draws t = -v: file v counts down from the picture's top row.
            const int x = std::clamp(int(uv.x * tex.width), 0, tex.width - 1);
            const int fromTop = std::clamp(int(uv.y * tex.height), 0, tex.height - 1);
            const Rgba c = tex.at(x, tex.height - 1 - fromTop);
            const bool orange = c.r > 0.6 && c.r - c.b > 0.35 && c.g > 0.3 && c.r >= c.g;
            const bool atBillTip = p.y < lo.y + 1.0, onGround = p.z < 0.05;
            bill += atBillTip;
            billOrange += atBillTip && orange;
            feet += onGround;
            feetOrange += onGround && orange;
        }
    ASSERT_GT(bill, 10);
    ASSERT_GT(feet, 10);
    EXPECT_GE(billOrange, bill * 2 / 3) << "the bill's dark nail aside";
    EXPECT_EQ(feetOrange, feet);
}

// The game's sky box: each face is origin + 2s * S + 2t * T on the cube [-1, 1]^3.
struct SkyFace {
    const char* name;
    P3 origin, S, T;
    P3 point(double s, double t) const { return origin + S * (2 * s) + T * (2 * t); }
    bool hit(P3 d, double& s, double& t) const {
        const double k = dot(d, origin + S + T);
        if (k <= 0) return false;
        const P3 q = d * (1.0 / k) - origin;
        s = dot(q, S) / 2;
        t = dot(q, T) / 2;
        return s >= 0 && s <= 1 && t >= 0 && t <= 1;
    }
};
const SkyFace kSky[6] = {
    {"back", {1, -1, 1}, {-1, 0, 0}, {0, 1, 0}},  {"left", {-1, -1, 1}, {0, 0, -1}, {0, 1, 0}},
    {"front", {-1, -1, -1}, {1, 0, 0}, {0, 1, 0}}, {"right", {1, -1, -1}, {0, 0, 1}, {0, 1, 0}},
    {"top", {-1, 1, -1}, {1, 0, 0}, {0, 0, 1}},    {"bottom", {-1, -1, -1}, {1, 0, 0}, {0, 0, 1}},
};

class SkyBox : public ::testing::TestWithParam<const char*> {};

TEST_P(SkyBox, NeighbouringFacesMatchAcrossEveryEdge) {
    const int n = 512;
    std::vector<Picture> pics;
    for (const SkyFace& face : kSky) {
        pics.push_back(loadPicture(kAssets + "textures/skybox/" + face.name + GetParam() + ".png"));
        ASSERT_EQ(pics.back().width, n) << face.name;
        ASSERT_EQ(pics.back().height, n);
        EXPECT_EQ(pics.back().bpp, 24);
    }
    const int steps[4][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};  // outward from each border
    for (int f = 0; f < 6; ++f)
        for (const auto& [dx, drow] : steps) {
            double across = 0, inside = 0;
            int samples = 0;
            for (int i = 2; i < n - 2; i += 3, ++samples) {
                const int x = dx ? (dx < 0 ? 0 : n - 1) : i, row = drow ? (drow < 0 ? 0 : n - 1) : i;
                const P3 out = kSky[f].point((x + dx + 0.5) / n, (row + drow + 0.5) / n);
                int g = 0;
                double s = 0, t = 0;
                while (g < 6 && (g == f || !kSky[g].hit(out, s, t))) ++g;
                ASSERT_LT(g, 6) << kSky[f].name;
                const Rgba there = pics[g].at(std::min(int(s * n), n - 1), std::min(int(t * n), n - 1));
                across += distance(pics[f].at(x, row), there);
                // The same step taken inward is the yardstick of ordinary change.
                inside += distance(pics[f].at(x, row), pics[f].at(x - dx, row - drow));
            }
            EXPECT_LT(across / samples, 0.01 + 2.0 * inside / samples)
                << kSky[f].name << GetParam() << " border (" << dx << ", " << drow << ")";
        }
}

INSTANTIATE_TEST_SUITE_P(DayAndNight, SkyBox, ::testing::Values("", "_night"),
                         [](const auto& info) { return std::string(info.param).empty() ? "Day" : "Night"; });

TEST(GrassTile, IsGreenAndWrapsWithoutASeam) {
    const Picture p = loadPicture(kAssets + "textures/grass.png");
    ASSERT_GT(p.width, 16);
    EXPECT_EQ(p.bpp, 24);
    // Stepping from the last column (row) to the first must look like any inner step.
    double green = 0, inner[2] = {0, 0}, wrap[2] = {0, 0};
    for (int row = 0; row < p.height; ++row)
        for (int x = 0; x < p.width; ++x) {
            const Rgba& c = p.at(x, row);
            green += c.g - std::max(c.r, c.b);
            (x + 1 == p.width ? wrap : inner)[0] += distance(c, p.at((x + 1) % p.width, row)) / p.height;
            (row + 1 == p.height ? wrap : inner)[1] += distance(c, p.at(x, (row + 1) % p.height)) / p.width;
        }
    EXPECT_GT(green / p.pixels.size(), 0.05);
    EXPECT_LT(wrap[0], 1.5 * inner[0] / (p.width - 1));
    EXPECT_LT(wrap[1], 1.5 * inner[1] / (p.height - 1));
}

TEST(Blackboard, TransparentCornersOpaqueFrameAndADarkMiddle) {
    const Picture p = loadPicture(kAssets + "textures/blackboard.png");
    ASSERT_GT(p.width, 64);
    EXPECT_EQ(p.bpp, 32);
    EXPECT_LT(p.at(0, 0).a, 0.05);
    EXPECT_LT(p.at(p.width - 1, p.height - 1).a, 0.05);
    EXPECT_GT(p.at(p.width / 2, 0).a, 0.99);
    EXPECT_GT(p.at(0, p.height / 2).a, 0.99);
    double brightest = 0, minAlpha = 1;  // where the white help texts go
    for (int row = p.height / 8; row < p.height * 7 / 8; ++row)
        for (int x = p.width / 8; x < p.width * 7 / 8; ++x) {
            brightest = std::max(brightest, luminance(p.at(x, row)));
            minAlpha = std::min(minAlpha, p.at(x, row).a);
        }
    EXPECT_GT(minAlpha, 0.99);
    EXPECT_LT(brightest, 0.3) << "white text needs a dark board, smudges faint";
}

}  // namespace
