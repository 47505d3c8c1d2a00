// Small vector and interpolation helpers shared by the asset painters and the model builder;
// the vector arithmetic is the game's own.
#pragma once

#include <algorithm>
#include <cmath>

#include "core/Vec3.h"

namespace assetgen {

constexpr double kPi = 3.14159265358979323846;

struct Vec2 {
    double x = 0, y = 0;
};

struct Vec3 {
    double x = 0, y = 0, z = 0;
};

inline Vec3 operator+(Vec3 a, Vec3 b) { return vecmath::add(a, b); }
inline Vec3 operator-(Vec3 a, Vec3 b) { return vecmath::sub(a, b); }
inline Vec3 operator-(Vec3 a) { return vecmath::neg(a); }
inline Vec3 operator*(Vec3 a, double s) { return vecmath::scale(a, s); }
inline Vec3 operator*(double s, Vec3 a) { return a * s; }
inline double dot(Vec3 a, Vec3 b) { return vecmath::dot(a, b); }
inline Vec3 cross(Vec3 a, Vec3 b) { return vecmath::cross(a, b); }
inline double length(Vec3 a) { return vecmath::length(a); }
inline Vec3 normalize(Vec3 a) {
    double len = length(a);
    return len > 0 ? a * (1.0 / len) : Vec3{0, 0, 1};
}

inline double clamp01(double x) { return std::min(1.0, std::max(0.0, x)); }
inline double lerp(double a, double b, double t) { return a + (b - a) * t; }
inline double smoothstep(double edge0, double edge1, double x) {
    double t = clamp01((x - edge0) / (edge1 - edge0));
    return t * t * (3.0 - 2.0 * t);
}

// Colours are linear-ish floats in [0, 1]; the painters clamp when they store a pixel.
struct Color {
    double r = 0, g = 0, b = 0;
};

inline Color operator+(Color a, Color b) { return {a.r + b.r, a.g + b.g, a.b + b.b}; }
inline Color operator*(Color a, double s) { return {a.r * s, a.g * s, a.b * s}; }
inline Color operator*(Color a, Color b) { return {a.r * b.r, a.g * b.g, a.b * b.b}; }
inline Color mix(Color a, Color b, double t) {
    return {lerp(a.r, b.r, t), lerp(a.g, b.g, t), lerp(a.b, b.b, t)};
}
inline Color rgb8(int r, int g, int b) { return {r / 255.0, g / 255.0, b / 255.0}; }

}  // namespace assetgen
