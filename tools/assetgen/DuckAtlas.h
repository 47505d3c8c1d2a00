// Layout of the duck's texture atlas, shared by the model (texture coordinates) and the
// painter (what colour each region gets). Pixel rectangles in a square atlas, y down.
#pragma once

#include "MathUtil.h"

namespace assetgen {

constexpr int kDuckAtlasSize = 512;

// Texture coordinates stay this many pixels inside a region, so linear filtering and
// JPEG blocks never pull in the neighbouring colour.
constexpr int kDuckAtlasMargin = 4;

struct AtlasRegion {
    int x, y, width, height;

    // (a, b) in [0, 1]^2 across the usable part of the region, b downward. The result is
    // an OBJ texture coordinate: the game samples file v = 0 at the picture's top row.
    Vec2 texCoord(double a, double b) const {
        double px = x + kDuckAtlasMargin + a * (width - 2 * kDuckAtlasMargin);
        double py = y + kDuckAtlasMargin + b * (height - 2 * kDuckAtlasMargin);
        return {px / kDuckAtlasSize, py / kDuckAtlasSize};
    }
    // Inverse of texCoord for the painter: pixel centre to (a, b), clamped so the margin
    // repeats the edge colour.
    Vec2 local(int px, int py) const {
        double a = (px + 0.5 - x - kDuckAtlasMargin) / (width - 2 * kDuckAtlasMargin);
        double b = (py + 0.5 - y - kDuckAtlasMargin) / (height - 2 * kDuckAtlasMargin);
        return {clamp01(a), clamp01(b)};
    }
    bool contains(int px, int py) const {
        return px >= x && px < x + width && py >= y && py < y + height;
    }
};

namespace atlas {
// a runs around the part, b along it (front to back, or base to tip).
constexpr AtlasRegion kBody{0, 0, 256, 256};
constexpr AtlasRegion kHead{256, 0, 128, 128};
constexpr AtlasRegion kNeck{384, 0, 128, 128};
constexpr AtlasRegion kWing{256, 128, 256, 128};
constexpr AtlasRegion kTail{0, 256, 128, 128};
constexpr AtlasRegion kBill{128, 256, 128, 128};
constexpr AtlasRegion kFeet{256, 256, 128, 128};
// The eye is mapped by projection: the region's centre looks straight out of the eye.
constexpr AtlasRegion kEye{384, 256, 128, 128};
}  // namespace atlas

}  // namespace assetgen
