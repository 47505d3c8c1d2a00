// Integer-hash lattice noise used by all the painters.
#include "Noise.h"

#include <cmath>

namespace assetgen {

uint32_t hash32(uint32_t x) {
    x ^= x >> 16;
    x *= 0x7FEB352Du;
    x ^= x >> 15;
    x *= 0x846CA68Bu;
    x ^= x >> 16;
    return x;
}

uint32_t hashLattice(int x, int y, uint32_t seed) {
    uint32_t h = hash32(static_cast<uint32_t>(x) + 0x9E3779B9u * seed);
    return hash32(h ^ (static_cast<uint32_t>(y) * 0x85EBCA6Bu + 0x27D4EB2Fu));
}

namespace {

int wrapIndex(int i, int period) {
    if (period <= 0) return i;
    int m = i % period;
    return m < 0 ? m + period : m;
}

// Eight fixed gradient directions: no trigonometry, so nothing depends on libm rounding.
double cornerDot(int ix, int iy, double dx, double dy, uint32_t seed) {
    static const double kGradients[8][2] = {
        {1.0, 0.0}, {-1.0, 0.0}, {0.0, 1.0}, {0.0, -1.0},
        {0.70710678, 0.70710678}, {-0.70710678, 0.70710678},
        {0.70710678, -0.70710678}, {-0.70710678, -0.70710678}};
    const double* g = kGradients[hashLattice(ix, iy, seed) & 7u];
    return g[0] * dx + g[1] * dy;
}

double fade(double t) { return t * t * t * (t * (t * 6.0 - 15.0) + 10.0); }

}  // namespace

double gradientNoise(double x, double y, int periodX, int periodY, uint32_t seed) {
    double fx = std::floor(x), fy = std::floor(y);
    int x0 = static_cast<int>(fx), y0 = static_cast<int>(fy);
    double dx = x - fx, dy = y - fy;
    int xa = wrapIndex(x0, periodX), xb = wrapIndex(x0 + 1, periodX);
    int ya = wrapIndex(y0, periodY), yb = wrapIndex(y0 + 1, periodY);
    double n00 = cornerDot(xa, ya, dx, dy, seed);
    double n10 = cornerDot(xb, ya, dx - 1.0, dy, seed);
    double n01 = cornerDot(xa, yb, dx, dy - 1.0, seed);
    double n11 = cornerDot(xb, yb, dx - 1.0, dy - 1.0, seed);
    double u = fade(dx), v = fade(dy);
    double nx0 = n00 + (n10 - n00) * u;
    double nx1 = n01 + (n11 - n01) * u;
    return 1.4142 * (nx0 + (nx1 - nx0) * v);
}

double fractalNoise(double x, double y, int periodX, int periodY, int octaves, double gain,
                    uint32_t seed) {
    double sum = 0.0, amplitude = 1.0, norm = 0.0, frequency = 1.0;
    for (int i = 0; i < octaves; ++i) {
        int px = periodX > 0 ? periodX << i : 0;
        int py = periodY > 0 ? periodY << i : 0;
        sum += amplitude * gradientNoise(x * frequency, y * frequency, px, py,
                                         seed + 101u * static_cast<uint32_t>(i));
        norm += amplitude;
        amplitude *= gain;
        frequency *= 2.0;
    }
    return sum / norm;
}

}  // namespace assetgen
