// A plain three-float vector shared by the camera, the duck and the cars.
#pragma once

struct Vec3 {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;

    // Index 1 is y, 2 is z, anything else reads x: the lighting code indexes the
    // camera target this way and must never read outside the record.
    float operator[](int index) const {
        if (index == 1) return y;
        if (index == 2) return z;
        return x;
    }
};
