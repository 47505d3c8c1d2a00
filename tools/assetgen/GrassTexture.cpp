// The grass tile: periodic noise in several greens with blade strokes that wrap around
// the edges, so the 7,000 copies across the field join without seams.
#include <cmath>

#include "Assets.h"
#include "Noise.h"

namespace assetgen {

namespace {

constexpr int kGrassSize = 128;

int wrap(int v) { return ((v % kGrassSize) + kGrassSize) % kGrassSize; }

// One blade: a tapering, slightly bent stroke from its root to its tip.
void drawBlade(Image& image, double x0, double y0, double angle, double length, double width,
               double bend, Color color, double opacity) {
    const int steps = 12;
    double minX = x0 - length - 2, maxX = x0 + length + 2;
    double minY = y0 - length - 2, maxY = y0 + length + 2;
    for (int py = static_cast<int>(std::floor(minY)); py <= static_cast<int>(std::ceil(maxY)); ++py) {
        for (int px = static_cast<int>(std::floor(minX)); px <= static_cast<int>(std::ceil(maxX)); ++px) {
            double best = 1e9, along = 0.0;
            double prevX = x0, prevY = y0;
            for (int i = 1; i <= steps; ++i) {
                double f = static_cast<double>(i) / steps;
                double a = angle + bend * f;
                double nx = x0 + std::sin(a) * length * f, ny = y0 - std::cos(a) * length * f;
                double sx = nx - prevX, sy = ny - prevY;
                double h = clamp01(((px + 0.5 - prevX) * sx + (py + 0.5 - prevY) * sy) / (sx * sx + sy * sy));
                double dx = px + 0.5 - (prevX + sx * h), dy = py + 0.5 - (prevY + sy * h);
                double d = std::sqrt(dx * dx + dy * dy);
                if (d < best) {
                    best = d;
                    along = (i - 1 + h) / steps;
                }
                prevX = nx;
                prevY = ny;
            }
            double halfWidth = 0.5 * width * (1.0 - 0.8 * along);
            double coverage = clamp01(halfWidth + 0.5 - best);
            if (coverage <= 0.0) continue;
            // The root sits in shadow, the tip catches the light.
            Color shaded = color * (0.8 + 0.35 * along);
            image.blend(wrap(px), wrap(py), shaded, coverage * opacity);
        }
    }
}

}  // namespace

Image paintGrassTexture() {
    Image image(kGrassSize, kGrassSize);
    const Color dark = rgb8(46, 92, 30);
    const Color mid = rgb8(74, 128, 42);
    const Color light = rgb8(108, 150, 52);
    const Color dry = rgb8(128, 140, 64);
    for (int y = 0; y < kGrassSize; ++y) {
        for (int x = 0; x < kGrassSize; ++x) {
            double u = (x + 0.5) / kGrassSize, v = (y + 0.5) / kGrassSize;
            double n = fractalNoise(u * 4, v * 4, 4, 4, 4, 0.55, 701u);
            double fine = fractalNoise(u * 16, v * 16, 16, 16, 2, 0.5, 702u);
            double tint = fractalNoise(u * 3, v * 3, 3, 3, 2, 0.5, 703u);
            Color c = mix(dark, mid, clamp01(0.55 + 0.5 * n));
            c = mix(c, light, clamp01(0.6 * fine));
            c = mix(c, dry, clamp01(0.2 * tint));
            image.set(x, y, c);
        }
    }
    Random random(0x6A55ull);
    for (int layer = 0; layer < 3; ++layer) {
        // Darker blades underneath, lighter ones on top.
        int count = layer == 0 ? 260 : (layer == 1 ? 240 : 140);
        for (int i = 0; i < count; ++i) {
            double x = random.range(0, kGrassSize), y = random.range(0, kGrassSize);
            double angle = random.range(-0.6, 0.6) + (random.uniform() < 0.5 ? 0.0 : kPi * 0.15);
            double length = random.range(5.0, 13.0);
            double width = random.range(0.9, 1.6);
            double bend = random.range(-0.4, 0.4);
            double shade = random.uniform();
            Color color = layer == 0 ? mix(rgb8(30, 66, 22), rgb8(44, 86, 28), shade)
                        : layer == 1 ? mix(rgb8(70, 124, 40), rgb8(92, 140, 46), shade)
                                     : mix(rgb8(118, 160, 60), rgb8(140, 168, 72), shade);
            drawBlade(image, x, y, angle, length, width, bend, color, layer == 2 ? 0.7 : 0.85);
        }
    }
    return image;
}

}  // namespace assetgen
