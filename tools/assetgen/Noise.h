// Deterministic randomness: a fixed-seed generator and lattice noise built on integer
// hashing, so every run (and every machine with the same build) paints the same pixels.
#pragma once

#include <cstdint>

namespace assetgen {

// SplitMix64: tiny, well mixed, and fully specified here, unlike std:: distributions.
class Random {
public:
    explicit Random(uint64_t seed) : state_(seed) {}
    uint64_t next() {
        uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // Uniform in [0, 1).
    double uniform() { return static_cast<double>(next() >> 11) * (1.0 / 9007199254740992.0); }
    double range(double lo, double hi) { return lo + (hi - lo) * uniform(); }

private:
    uint64_t state_;
};

uint32_t hash32(uint32_t x);
uint32_t hashLattice(int x, int y, uint32_t seed);

// Gradient noise in about [-1, 1]. A period > 0 wraps the lattice on that axis, so an
// image whose size is a multiple of the period (in noise units) tiles without a seam.
double gradientNoise(double x, double y, int periodX, int periodY, uint32_t seed);

// Sum of octaves; each octave doubles the frequency and the period, keeping the wrap.
double fractalNoise(double x, double y, int periodX, int periodY, int octaves, double gain,
                    uint32_t seed);

}  // namespace assetgen
