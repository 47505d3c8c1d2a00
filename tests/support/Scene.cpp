// Pixel classification for end-to-end screenshots.
#include "support/Scene.h"

#include <algorithm>
#include <cstdlib>

namespace scene {

bool looksLikeDaySky(Rgb c) { return c.b > 150 && c.b > c.r + 20 && c.b >= c.g; }

bool looksLikeNightSky(Rgb c) { return c.r < 60 && c.g < 60 && c.b < 90; }

bool looksLikeGrass(Rgb c) { return c.g > c.r + 15 && c.g > c.b + 15; }

int countNeutral(const Image& image, Area area, int minLevel, int spread) {
    int count = 0;
    for (int y = std::max(area.y0, 0); y < std::min(area.y1, image.height); ++y) {
        for (int x = std::max(area.x0, 0); x < std::min(area.x1, image.width); ++x) {
            const Rgb p = image.at(x, y);
            const int lo = std::min({p.r, p.g, p.b});
            const int hi = std::max({p.r, p.g, p.b});
            if (lo >= minLevel && hi - lo <= spread) ++count;
        }
    }
    return count;
}

int countDark(const Image& image, Area area, int maxLevel) {
    int count = 0;
    for (int y = std::max(area.y0, 0); y < std::min(area.y1, image.height); ++y) {
        for (int x = std::max(area.x0, 0); x < std::min(area.x1, image.width); ++x) {
            const Rgb p = image.at(x, y);
            if (p.r <= maxLevel && p.g <= maxLevel && p.b <= maxLevel) ++count;
        }
    }
    return count;
}

int countChanged(const Image& a, const Image& b, Area area, int tolerance) {
    return a.countDifferentIn(b, area.x0, area.y0, area.x1, area.y1, tolerance);
}

std::vector<bool> textMask(const Image& image, Area area, int minLevel) {
    std::vector<bool> mask;
    for (int y = area.y0; y < area.y1; ++y) {
        for (int x = area.x0; x < area.x1; ++x) {
            const Rgb p = image.at(x, y);
            mask.push_back(p.r >= minLevel && p.g >= minLevel && p.b >= minLevel);
        }
    }
    return mask;
}

int maskDifference(const std::vector<bool>& a, const std::vector<bool>& b) {
    if (a.size() != b.size()) return static_cast<int>(std::max(a.size(), b.size()));
    int count = 0;
    for (size_t i = 0; i < a.size(); ++i) count += a[i] != b[i] ? 1 : 0;
    return count;
}

int maskCount(const std::vector<bool>& mask) { return static_cast<int>(std::count(mask.begin(), mask.end(), true)); }

}  // namespace scene

namespace scene {
double roughness(const Image& image, Area area) {
    long long sum = 0;
    long long n = 0;
    for (int y = std::max(area.y0, 0); y < std::min(area.y1, image.height); ++y) {
        for (int x = std::max(area.x0, 0); x + 1 < std::min(area.x1, image.width); ++x) {
            const Rgb p = image.at(x, y);
            const Rgb q = image.at(x + 1, y);
            sum += std::abs(p.r - q.r) + std::abs(p.g - q.g) + std::abs(p.b - q.b);
            ++n;
        }
    }
    return n == 0 ? 0.0 : static_cast<double>(sum) / static_cast<double>(n);
}
}  // namespace scene
