// The sky box's six faces: each corner's texture coordinate and its place on the cube of
// half-size 1. The game draws the box from this table and the asset generator paints the
// pictures from it, so the faces meet without seams.
#pragma once

struct SkyboxCorner {
    float s, t;     // t = 0 is the bottom row of the picture
    float x, y, z;  // in half sizes
};

struct SkyboxFaceCorners {
    const char* name;
    SkyboxCorner corners[4];
};

// The slots of the table, in the order the face pictures are listed.
enum SkyboxSlot : int { LeftSlot, BackSlot, RightSlot, FrontSlot, TopSlot, BottomSlot };

// Side faces are upright and unmirrored seen from inside; top and bottom run s with +x
// and t with +z.
constexpr SkyboxFaceCorners SkyboxFaceTable[6] = {
    {"left", {{0, 0, -1, -1, 1}, {1, 0, -1, -1, -1}, {1, 1, -1, 1, -1}, {0, 1, -1, 1, 1}}},
    {"back", {{0, 0, 1, -1, 1}, {1, 0, -1, -1, 1}, {1, 1, -1, 1, 1}, {0, 1, 1, 1, 1}}},
    {"right", {{0, 0, 1, -1, -1}, {1, 0, 1, -1, 1}, {1, 1, 1, 1, 1}, {0, 1, 1, 1, -1}}},
    {"front", {{1, 0, 1, -1, -1}, {0, 0, -1, -1, -1}, {0, 1, -1, 1, -1}, {1, 1, 1, 1, -1}}},
    {"top", {{1, 0, 1, 1, -1}, {0, 0, -1, 1, -1}, {0, 1, -1, 1, 1}, {1, 1, 1, 1, 1}}},
    {"bottom", {{1, 1, 1, -1, 1}, {0, 1, -1, -1, 1}, {0, 0, -1, -1, -1}, {1, 0, 1, -1, -1}}},
};
