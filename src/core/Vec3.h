// A plain three-float vector shared by the camera, the duck and the cars, and the vector
// helpers the camera and the asset generator both use.
#pragma once

#include <cmath>
#include <cstdlib>

struct Vec3 {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;

    // 0 is x, 1 is y, 2 is z; any other index is a fault in the caller, not a reading of x.
    float operator[](int index) const {
        switch (index) {
            case 0: return x;
            case 1: return y;
            case 2: return z;
        }
        std::abort();
    }
};

// Over any record with x, y and z: the game's floats and the asset generator's doubles.
// Roots go through double and back, so a float result is the same on every build.
namespace vecmath {
template <class V> constexpr V add(V a, V b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
template <class V> constexpr V sub(V a, V b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
template <class V, class S> constexpr V scale(V a, S s) { return {a.x * s, a.y * s, a.z * s}; }
template <class V> constexpr V neg(V a) { return {-a.x, -a.y, -a.z}; }
template <class V> constexpr auto dot(V a, V b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
template <class V> constexpr V cross(V a, V b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
template <class V> auto length(V a) { return static_cast<decltype(a.x)>(std::sqrt(static_cast<double>(dot(a, a)))); }
}  // namespace vecmath
