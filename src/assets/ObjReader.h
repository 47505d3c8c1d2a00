// Reading Wavefront OBJ text into plain lists, without any OpenGL, so the reader can be
// tested and fuzzed on its own. The display lists are compiled from this in ObjLoader.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct ObjTriple {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;
};

// Marks a corner that names no texture coordinate or no normal ("v", "v/vt", "v//vn").
constexpr int32_t ObjNoIndex = -1;

// One face. Corner k uses entry k of each array; the three arrays always have the same
// length (3 or more; four corners make a quad). Indices are 0-based into the model's
// lists: the file's 1-based and negative (relative) indices are resolved while reading.
struct ObjFace {
    std::vector<int32_t> normal;
    std::vector<int32_t> vertex;
    std::vector<int32_t> texCoord;

    std::size_t corners() const { return vertex.size(); }
};

struct ObjModel {
    std::vector<ObjTriple> positions;
    std::vector<ObjTriple> normals;
    std::vector<ObjTriple> texCoords;  // u, v and the unused third number (0 if absent)
    std::vector<ObjFace> faces;        // only faces whose every index names an element
};

// What one corner hands to OpenGL: texture coordinate (u, -v), the normal as read and the
// scaled position; the first two only when the corner names them.
struct ObjCorner {
    bool hasTexCoord = false;
    float s = 0.0f;
    float t = 0.0f;
    bool hasNormal = false;
    ObjTriple normal;
    ObjTriple position;
};

// Reads OBJ text. Lines that are not understood are skipped, and so is every face that
// names an element the file does not have; nothing outside the lists is ever read.
ObjModel readObj(std::string_view text);
// The largest model file and face count the game takes: the duck is 0.5 MB with 3,672
// faces; a model of millions of faces takes minutes to compile and can crash the driver.
constexpr std::uintmax_t MaxModelBytes = 16u << 20;
constexpr std::size_t MaxModelFaces = 200000;

// A model read from a file, or why it cannot be used.
struct ObjFileRead {
    ObjModel model;
    std::string failure;  // empty when read; else the line to print, naming the file and the reason
};
// Reads the file at path. One that cannot be read, is not a regular file or is over either
// limit is a failure; one with no faces to draw is said so on standard error, and read.
ObjFileRead readObjFile(const std::string& path);

// True when the face has at least three corners and every index it holds is in range.
bool objFaceValid(const ObjModel& model, const ObjFace& face);
// Corner k of a valid face.
ObjCorner objCorner(const ObjModel& model, const ObjFace& face, std::size_t k, float scale);
