// The sky box pictures. Every pixel is coloured from the direction it is seen in, using
// the same face table the game draws the box with, so the six faces meet without seams.
#pragma once

#include <string>

#include "Image.h"
#include "MathUtil.h"

namespace assetgen {

constexpr int kSkyFaceSize = 512;

// One face of the box: each corner's texture coordinate (s, t) and its position on the
// cube of half-size 1. t = 0 is the bottom row of the picture.
struct SkyboxFace {
    const char* name;
    Vec2 st[4];
    Vec3 position[4];

    // Point on the face for (s, t), by bilinear interpolation of the corners.
    Vec3 pointAt(double s, double t) const;
    // (s, t) where the ray along dir meets this face's plane; false if it points away.
    bool texCoordOf(Vec3 dir, double& s, double& t) const;
};

// In the order left, back, right, front, top, bottom.
extern const SkyboxFace kSkyboxFaces[6];

Image paintSkyFace(const SkyboxFace& face, bool night);

}  // namespace assetgen
