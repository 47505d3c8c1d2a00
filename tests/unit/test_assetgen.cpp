// The committed assets as the game will use them: the duck model's format, size, winding
// and colours, the sky box faces joining without seams, the grass tile wrapping without
// a seam, and a blackboard dark and even enough for white text.
#include <gtest/gtest.h>

#include <FreeImage.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

const std::string kAssets = std::string(LARKMERE_SOURCE_DIR) + "/assets/";

struct P3 {
    double x = 0, y = 0, z = 0;
};
P3 operator-(P3 a, P3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
P3 operator+(P3 a, P3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
P3 scaled(P3 a, double s) { return {a.x * s, a.y * s, a.z * s}; }
double dotP(P3 a, P3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
P3 unit(P3 a) { return scaled(a, 1.0 / std::sqrt(dotP(a, a))); }

// ---------------------------------------------------------------- images

struct Unload {
    void operator()(FIBITMAP* b) const { FreeImage_Unload(b); }
};
using Bitmap = std::unique_ptr<FIBITMAP, Unload>;

struct Rgba {
    double r, g, b, a;
};

// Pixels as the game's upload sees them: row 0 is the bottom of the picture (t = 0).
struct Picture {
    int width = 0, height = 0, bpp = 0;
    std::vector<Rgba> pixels;
    Rgba at(int x, int row) const { return pixels[static_cast<size_t>(row) * width + x]; }
};

Picture loadPicture(const std::string& path) {
    Picture picture;
    FREE_IMAGE_FORMAT format = FreeImage_GetFIFFromFilename(path.c_str());
    Bitmap bitmap(FreeImage_Load(format, path.c_str(), 0));
    if (!bitmap) return picture;
    picture.bpp = static_cast<int>(FreeImage_GetBPP(bitmap.get()));
    Bitmap rgba(FreeImage_ConvertTo32Bits(bitmap.get()));
    picture.width = static_cast<int>(FreeImage_GetWidth(rgba.get()));
    picture.height = static_cast<int>(FreeImage_GetHeight(rgba.get()));
    for (int row = 0; row < picture.height; ++row) {
        const BYTE* line = FreeImage_GetScanLine(rgba.get(), row);
        for (int x = 0; x < picture.width; ++x) {
            const BYTE* p = line + 4 * x;
            picture.pixels.push_back({p[FI_RGBA_RED] / 255.0, p[FI_RGBA_GREEN] / 255.0,
                                      p[FI_RGBA_BLUE] / 255.0, p[FI_RGBA_ALPHA] / 255.0});
        }
    }
    return picture;
}

double luminance(const Rgba& c) { return 0.299 * c.r + 0.587 * c.g + 0.114 * c.b; }
double colourDistance(const Rgba& a, const Rgba& b) {
    return (std::fabs(a.r - b.r) + std::fabs(a.g - b.g) + std::fabs(a.b - b.b)) / 3.0;
}

// ---------------------------------------------------------------- the duck model

struct ObjCorner {
    int v, t, n;  // 1-based, as written
};

struct ObjModel {
    std::vector<P3> positions, normals;
    std::vector<std::pair<double, double>> texCoords;
    std::vector<std::vector<ObjCorner>> faces;
    std::vector<std::string> problems;
};

bool parseNumbers(const std::string& text, size_t count, std::vector<double>& out) {
    std::istringstream in(text);
    out.assign(count, 0.0);
    for (double& value : out)
        if (!(in >> value)) return false;
    std::string rest;
    return !(in >> rest);
}

// A strict reader of the line forms the game's loader accepts, noting anything else.
ObjModel readObj(const std::string& path) {
    ObjModel model;
    std::ifstream file(path);
    if (!file) {
        model.problems.push_back("cannot open " + path);
        return model;
    }
    std::string line;
    int number = 0;
    while (std::getline(file, line)) {
        ++number;
        const std::string where = "line " + std::to_string(number) + ": ";
        if (line.empty() || line[0] == '#') continue;
        if (line.back() == ' ' || line.find("  ") != std::string::npos || line.back() == '\r') {
            model.problems.push_back(where + "stray white space");
            continue;
        }
        std::vector<double> values;
        if (line.rfind("v ", 0) == 0) {
            if (!parseNumbers(line.substr(2), 3, values)) model.problems.push_back(where + line);
            else model.positions.push_back({values[0], values[1], values[2]});
        } else if (line.rfind("vn ", 0) == 0) {
            if (!parseNumbers(line.substr(3), 3, values)) model.problems.push_back(where + line);
            else model.normals.push_back({values[0], values[1], values[2]});
        } else if (line.rfind("vt ", 0) == 0) {
            if (!parseNumbers(line.substr(3), 2, values)) model.problems.push_back(where + line);
            else model.texCoords.push_back({values[0], values[1]});
        } else if (line.rfind("f ", 0) == 0) {
            std::istringstream in(line.substr(2));
            std::string group;
            std::vector<ObjCorner> face;
            bool ok = true;
            while (in >> group) {
                ObjCorner c{};
                char s1 = 0, s2 = 0;
                std::istringstream g(group);
                std::string rest;
                if (!(g >> c.v >> s1 >> c.t >> s2 >> c.n) || s1 != '/' || s2 != '/' || (g >> rest)) ok = false;
                face.push_back(c);
            }
            if (!ok || (face.size() != 3 && face.size() != 4)) model.problems.push_back(where + line);
            else model.faces.push_back(face);
        } else {
            model.problems.push_back(where + "not a v, vt, vn or f line: " + line);
        }
    }
    return model;
}

class DuckModel : public ::testing::Test {
protected:
    static void SetUpTestSuite() { model = new ObjModel(readObj(kAssets + "models/Duck.obj")); }
    static void TearDownTestSuite() {
        delete model;
        model = nullptr;
    }
    static ObjModel* model;

    static P3 lowCorner() {
        P3 lo = model->positions.front();
        for (const P3& p : model->positions) lo = {std::min(lo.x, p.x), std::min(lo.y, p.y), std::min(lo.z, p.z)};
        return lo;
    }
    static P3 highCorner() {
        P3 hi = model->positions.front();
        for (const P3& p : model->positions) hi = {std::max(hi.x, p.x), std::max(hi.y, p.y), std::max(hi.z, p.z)};
        return hi;
    }
};
ObjModel* DuckModel::model = nullptr;

TEST_F(DuckModel, UsesOnlyTheLineFormsTheLoaderReads) {
    ASSERT_FALSE(model->positions.empty());
    EXPECT_TRUE(model->problems.empty()) << model->problems.size() << " bad lines, first: "
                                          << (model->problems.empty() ? "" : model->problems.front());
}

TEST_F(DuckModel, HasAFewThousandFacesWithIndicesInRange) {
    EXPECT_GT(model->faces.size(), 500u);
    EXPECT_LT(model->faces.size(), 5000u);
    const int nv = static_cast<int>(model->positions.size());
    const int nt = static_cast<int>(model->texCoords.size());
    const int nn = static_cast<int>(model->normals.size());
    for (size_t f = 0; f < model->faces.size(); ++f)
        for (const ObjCorner& c : model->faces[f]) {
            ASSERT_TRUE(c.v >= 1 && c.v <= nv) << "face " << f << " position " << c.v;
            ASSERT_TRUE(c.t >= 1 && c.t <= nt) << "face " << f << " texture coordinate " << c.t;
            ASSERT_TRUE(c.n >= 1 && c.n <= nn) << "face " << f << " normal " << c.n;
        }
}

TEST_F(DuckModel, StandsOnZeroCentredAndThirtyThreeUnitsLong) {
    P3 lo = lowCorner(), hi = highCorner();
    EXPECT_NEAR(lo.z, 0.0, 1e-3) << "feet must touch z = 0";
    EXPECT_NEAR(0.5 * (lo.x + hi.x), 0.0, 0.05);
    EXPECT_NEAR(0.5 * (lo.y + hi.y), 0.0, 0.05);
    EXPECT_NEAR(hi.y - lo.y, 33.0, 0.5);
    // Longer than wide, and with the head well above the feet.
    EXPECT_LT(hi.x - lo.x, hi.y - lo.y);
    EXPECT_GT(hi.z, 15.0);
}

TEST_F(DuckModel, NormalsAreUnitLengthBecauseTheGameDoesNotRescaleThem) {
    for (size_t i = 0; i < model->normals.size(); ++i)
        ASSERT_NEAR(std::sqrt(dotP(model->normals[i], model->normals[i])), 1.0, 2e-3) << "normal " << i + 1;
}

TEST_F(DuckModel, WindingAgreesWithTheVertexNormals) {
    int disagreeing = 0;
    size_t firstBad = 0;
    for (size_t f = 0; f < model->faces.size(); ++f) {
        const auto& face = model->faces[f];
        P3 geometric, average;
        for (size_t k = 0; k < face.size(); ++k) {
            // Newell's normal: counter-clockwise corners seen from outside point it outward.
            P3 a = model->positions[face[k].v - 1], b = model->positions[face[(k + 1) % face.size()].v - 1];
            geometric = geometric + P3{(a.y - b.y) * (a.z + b.z), (a.z - b.z) * (a.x + b.x), (a.x - b.x) * (a.y + b.y)};
            average = average + model->normals[face[k].n - 1];
        }
        if (dotP(geometric, average) <= 0.0 && disagreeing++ == 0) firstBad = f + 1;
    }
    EXPECT_EQ(disagreeing, 0) << "first such face: " << firstBad;
}

TEST_F(DuckModel, EveryPartIsClosedWithEachEdgeSharedByTwoFacesInOppositeDirections) {
    std::map<std::pair<int, int>, int> directed;
    for (const auto& face : model->faces)
        for (size_t k = 0; k < face.size(); ++k) ++directed[{face[k].v, face[(k + 1) % face.size()].v}];
    int unmatched = 0;
    for (const auto& [edge, count] : directed) {
        auto reverse = directed.find({edge.second, edge.first});
        if (count != 1 || reverse == directed.end() || reverse->second != 1) ++unmatched;
    }
    EXPECT_EQ(unmatched, 0);
}

TEST_F(DuckModel, NormalsPointOutOfTheModelOnItsExtremes) {
    // At the extreme vertex along each axis the surface must face that way.
    const P3 axes[6] = {{1, 0, 0}, {-1, 0, 0}, {0, 1, 0}, {0, -1, 0}, {0, 0, 1}, {0, 0, -1}};
    for (const P3& axis : axes) {
        double best = -1e9;
        int bestNormal = -1;
        for (const auto& face : model->faces)
            for (const ObjCorner& c : face) {
                double along = dotP(model->positions[c.v - 1], axis);
                if (along > best) {
                    best = along;
                    bestNormal = c.n - 1;
                }
            }
        EXPECT_GT(dotP(model->normals[bestNormal], axis), 0.0)
            << "axis (" << axis.x << ", " << axis.y << ", " << axis.z << ")";
    }
}

// The colour the game shows at an OBJ texture coordinate: file v = 0 is the picture's top row.
Rgba sampleDuckTexture(const Picture& texture, double u, double v) {
    int x = std::clamp(static_cast<int>(u * texture.width), 0, texture.width - 1);
    int fromTop = std::clamp(static_cast<int>(v * texture.height), 0, texture.height - 1);
    return texture.at(x, texture.height - 1 - fromTop);
}

bool isOrange(const Rgba& c) { return c.r > 0.6 && c.r - c.b > 0.35 && c.g > 0.3 && c.r >= c.g; }

TEST_F(DuckModel, BillAtMinusYAndFeetAtTheGroundAreOrangeInTheTexture) {
    Picture texture = loadPicture(kAssets + "textures/Duck.jpg");
    ASSERT_GT(texture.width, 0);
    EXPECT_EQ(texture.bpp, 24);
    P3 lo = lowCorner(), hi = highCorner();
    // The tip of the bill (its dark nail aside) and the soles of the feet.
    int billCorners = 0, billOrange = 0, footCorners = 0, footOrange = 0;
    for (const auto& face : model->faces)
        for (const ObjCorner& c : face) {
            const P3& p = model->positions[c.v - 1];
            auto [u, v] = model->texCoords[c.t - 1];
            bool orange = isOrange(sampleDuckTexture(texture, u, v));
            if (p.y < lo.y + 1.0) {
                ++billCorners;
                billOrange += orange;
            }
            if (p.z < 0.05) {
                ++footCorners;
                footOrange += orange;
            }
        }
    EXPECT_GT(billCorners, 10);
    EXPECT_GT(footCorners, 10);
    EXPECT_GE(billOrange, billCorners * 2 / 3) << "of " << billCorners << " bill-tip corners";
    EXPECT_EQ(footOrange, footCorners);
    // The bill is at the head's height, not on the ground: the duck faces -y.
    double billHeight = 0;
    int count = 0;
    for (const P3& p : model->positions)
        if (p.y < lo.y + 1.0) {
            billHeight += p.z;
            ++count;
        }
    EXPECT_GT(billHeight / count, 0.6 * hi.z);
}

TEST_F(DuckModel, TextureCoordinatesStayInsideTheAtlas) {
    for (const auto& [u, v] : model->texCoords) {
        ASSERT_TRUE(u >= 0.0 && u <= 1.0) << u;
        ASSERT_TRUE(v >= 0.0 && v <= 1.0) << v;
    }
}

// ---------------------------------------------------------------- the sky box

// The game's sky box drawing: each face's corners as (s, t) -> position on a unit cube.
struct SkyFace {
    std::string name;
    std::array<std::pair<std::array<double, 2>, P3>, 4> corners;

    P3 corner(double s, double t) const {
        for (const auto& [st, p] : corners)
            if (st[0] == s && st[1] == t) return p;
        ADD_FAILURE() << "no corner (" << s << ", " << t << ") on " << name;
        return {};
    }
    P3 point(double s, double t) const {
        return scaled(corner(0, 0), (1 - s) * (1 - t)) + scaled(corner(1, 0), s * (1 - t)) +
               scaled(corner(0, 1), (1 - s) * t) + scaled(corner(1, 1), s * t);
    }
    // Where the ray along d crosses this face, if it does.
    bool hit(P3 d, double& s, double& t) const {
        P3 axis = point(0.5, 0.5);
        double k = dotP(d, axis);
        if (k <= 0) return false;
        P3 q = scaled(d, 1.0 / k) - corner(0, 0);
        P3 es = corner(1, 0) - corner(0, 0), et = corner(0, 1) - corner(0, 0);
        s = dotP(q, es) / dotP(es, es);
        t = dotP(q, et) / dotP(et, et);
        return s >= 0 && s <= 1 && t >= 0 && t <= 1;
    }
};

const std::vector<SkyFace>& skyFaces() {
    static const std::vector<SkyFace> faces = {
        {"back", {{{{0, 0}, {+1, -1, +1}}, {{1, 0}, {-1, -1, +1}}, {{1, 1}, {-1, +1, +1}}, {{0, 1}, {+1, +1, +1}}}}},
        {"left", {{{{0, 0}, {-1, -1, +1}}, {{1, 0}, {-1, -1, -1}}, {{1, 1}, {-1, +1, -1}}, {{0, 1}, {-1, +1, +1}}}}},
        {"front", {{{{1, 0}, {+1, -1, -1}}, {{0, 0}, {-1, -1, -1}}, {{0, 1}, {-1, +1, -1}}, {{1, 1}, {+1, +1, -1}}}}},
        {"right", {{{{0, 0}, {+1, -1, -1}}, {{1, 0}, {+1, -1, +1}}, {{1, 1}, {+1, +1, +1}}, {{0, 1}, {+1, +1, -1}}}}},
        {"top", {{{{1, 0}, {+1, +1, -1}}, {{0, 0}, {-1, +1, -1}}, {{0, 1}, {-1, +1, +1}}, {{1, 1}, {+1, +1, +1}}}}},
        {"bottom", {{{{1, 1}, {+1, -1, +1}}, {{0, 1}, {-1, -1, +1}}, {{0, 0}, {-1, -1, -1}}, {{1, 0}, {+1, -1, -1}}}}},
    };
    return faces;
}

class SkyBox : public ::testing::TestWithParam<const char*> {
protected:
    std::vector<Picture> load() {
        std::vector<Picture> pictures;
        for (const SkyFace& face : skyFaces())
            pictures.push_back(loadPicture(kAssets + "textures/skybox/" + face.name + GetParam() + ".png"));
        return pictures;
    }
};

TEST_P(SkyBox, FacesAre24BitSquarePictures) {
    for (const Picture& p : load()) {
        EXPECT_EQ(p.bpp, 24);
        EXPECT_EQ(p.width, 512);
        EXPECT_EQ(p.height, 512);
    }
}

TEST_P(SkyBox, NeighbouringFacesMatchAcrossEveryEdge) {
    std::vector<Picture> pictures = load();
    const auto& faces = skyFaces();
    for (const Picture& p : pictures) ASSERT_EQ(p.width, 512);
    const int n = 512;
    for (size_t f = 0; f < faces.size(); ++f) {
        // Walk each border; step one pixel outward, find that direction on whichever face
        // it lands on and compare with the border pixel.
        struct Border {
            const char* name;
            int dx, drow;  // outward step
        };
        const Border borders[4] = {{"left", -1, 0}, {"right", 1, 0}, {"bottom", 0, -1}, {"top", 0, 1}};
        for (const Border& border : borders) {
            double across = 0.0, inside = 0.0;
            int samples = 0;
            for (int i = 2; i < n - 2; i += 3) {
                int x = border.dx < 0 ? 0 : (border.dx > 0 ? n - 1 : i);
                int row = border.drow < 0 ? 0 : (border.drow > 0 ? n - 1 : i);
                P3 out = unit(faces[f].point((x + border.dx + 0.5) / n, (row + border.drow + 0.5) / n));
                bool found = false;
                for (size_t g = 0; g < faces.size() && !found; ++g) {
                    double s, t;
                    if (g == f || !faces[g].hit(out, s, t)) continue;
                    int gx = std::clamp(static_cast<int>(s * n), 0, n - 1);
                    int grow = std::clamp(static_cast<int>(t * n), 0, n - 1);
                    across += colourDistance(pictures[f].at(x, row), pictures[g].at(gx, grow));
                    found = true;
                }
                ASSERT_TRUE(found) << faces[f].name << " " << border.name;
                // The same step taken inward is the yardstick of ordinary change.
                inside += colourDistance(pictures[f].at(x, row), pictures[f].at(x - border.dx, row - border.drow));
                ++samples;
            }
            EXPECT_LT(across / samples, 0.01 + 2.0 * inside / samples)
                << faces[f].name << GetParam() << " " << border.name << " border";
        }
    }
}

TEST_P(SkyBox, SkyAboveTheMiddleHeightAndGroundBelowOnTheSideFaces) {
    std::vector<Picture> pictures = load();
    for (size_t f = 0; f < 4; ++f) {  // back, left, front, right
        const Picture& p = pictures[f];
        ASSERT_EQ(p.height, 512);
        double above = 0, below = 0;
        for (int x = 0; x < p.width; x += 4) {
            above += luminance(p.at(x, 300)) + p.at(x, 300).b - p.at(x, 300).g;
            below += luminance(p.at(x, 200)) + p.at(x, 200).b - p.at(x, 200).g;
        }
        EXPECT_GT(above, below) << skyFaces()[f].name << GetParam();
    }
}

INSTANTIATE_TEST_SUITE_P(DayAndNight, SkyBox, ::testing::Values("", "_night"),
                         [](const auto& info) { return std::string(info.param).empty() ? "Day" : "Night"; });

TEST(SkyBoxDay, SunStandsHighOverTheFrontFaceAwayFromItsEdges) {
    // The sun is the only near-white spot: find it by its brightest pixels on all faces.
    std::map<std::string, int> counts;
    double sumX = 0, sumRow = 0;
    for (const SkyFace& face : skyFaces()) {
        Picture p = loadPicture(kAssets + "textures/skybox/" + face.name + ".png");
        ASSERT_GT(p.width, 0) << face.name;
        for (int row = 0; row < p.height; ++row)
            for (int x = 0; x < p.width; ++x)
                if (luminance(p.at(x, row)) >= 0.97) {
                    ++counts[face.name];
                    if (face.name == "front") {
                        sumX += x;
                        sumRow += row;
                    }
                }
    }
    ASSERT_GT(counts["front"], 20);
    EXPECT_EQ(counts.size(), 1u) << "bright pixels off the front face";
    double x = sumX / counts["front"], row = sumRow / counts["front"];
    EXPECT_GT(row, 256 + 60) << "the sun should be well above the horizon";
    EXPECT_TRUE(x > 40 && x < 472 && row < 472) << "sun at " << x << ", " << row << " is near an edge";
}

// ---------------------------------------------------------------- grass and blackboard

TEST(GrassTile, Is24BitGreenAndWrapsWithoutASeam) {
    Picture p = loadPicture(kAssets + "textures/grass.png");
    ASSERT_GT(p.width, 16);
    EXPECT_EQ(p.bpp, 24);
    double r = 0, g = 0, b = 0;
    for (const Rgba& c : p.pixels) {
        r += c.r;
        g += c.g;
        b += c.b;
    }
    EXPECT_GT(g, 1.2 * r);
    EXPECT_GT(g, 1.2 * b);

    // The step from the last column to the first (and last row to first) must look like
    // any step inside the picture.
    auto columnStep = [&](int a, int c) {
        double sum = 0;
        for (int row = 0; row < p.height; ++row) sum += colourDistance(p.at(a, row), p.at(c, row));
        return sum / p.height;
    };
    auto rowStep = [&](int a, int c) {
        double sum = 0;
        for (int x = 0; x < p.width; ++x) sum += colourDistance(p.at(x, a), p.at(x, c));
        return sum / p.width;
    };
    double columns = 0, rows = 0;
    for (int i = 0; i + 1 < p.width; ++i) columns += columnStep(i, i + 1);
    for (int i = 0; i + 1 < p.height; ++i) rows += rowStep(i, i + 1);
    columns /= p.width - 1;
    rows /= p.height - 1;
    EXPECT_LT(columnStep(p.width - 1, 0), 1.5 * columns);
    EXPECT_LT(rowStep(p.height - 1, 0), 1.5 * rows);
}

TEST(Blackboard, IsRgbaWithTransparentCornersAndADarkEvenWritingArea) {
    Picture p = loadPicture(kAssets + "textures/blackboard.png");
    ASSERT_GT(p.width, 64);
    EXPECT_EQ(p.bpp, 32);
    EXPECT_LT(p.at(0, 0).a, 0.05);
    EXPECT_LT(p.at(p.width - 1, p.height - 1).a, 0.05);
    EXPECT_GT(p.at(p.width / 2, 0).a, 0.99) << "the frame is opaque";
    EXPECT_GT(p.at(0, p.height / 2).a, 0.99);

    // Where the help texts go: the middle of the board, well inside the frame.
    double sum = 0, sumSquares = 0, minAlpha = 1;
    int count = 0;
    for (int row = p.height / 8; row < p.height * 7 / 8; ++row)
        for (int x = p.width / 8; x < p.width * 7 / 8; ++x) {
            double l = luminance(p.at(x, row));
            sum += l;
            sumSquares += l * l;
            minAlpha = std::min(minAlpha, p.at(x, row).a);
            ++count;
        }
    double mean = sum / count;
    double deviation = std::sqrt(std::max(0.0, sumSquares / count - mean * mean));
    EXPECT_GT(minAlpha, 0.99);
    EXPECT_LT(mean, 0.25) << "white text needs a dark board";
    EXPECT_LT(deviation, 0.04) << "smudges must stay faint";
}

}  // namespace
