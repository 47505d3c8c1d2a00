// The duck's plumage atlas: a mallard drake (green head, white collar, chestnut breast,
// grey flanks, blue wing patch, black rump) with an orange bill and feet. Patterns that
// run around a part are periodic in a, so the seam of each part does not show.
#include <cmath>
#include <functional>

#include "Assets.h"
#include "DuckAtlas.h"
#include "Noise.h"

namespace assetgen {

namespace {

using Painter = std::function<Color(double a, double b)>;

// Around-the-part noise: the lattice wraps after `cellsAround` cells in a.
double wrappedNoise(double a, double b, int cellsAround, double cellsAlong, int octaves,
                    uint32_t seed) {
    return fractalNoise(a * cellsAround, b * cellsAlong, cellsAround, 0, octaves, 0.5, seed);
}

// Soft rows of overlapping feathers: each feather is a little darker at its rim.
double featherShade(double a, double b, int around, int along, uint32_t seed) {
    // A little wobble keeps the rows from reading as a grid.
    double wobble = 0.25 * wrappedNoise(a, b, around / 2, along / 2.0, 2, seed);
    double row = b * along + wobble;
    int rowIndex = static_cast<int>(std::floor(row));
    double col = a * around + (rowIndex % 2 == 0 ? 0.0 : 0.5) + wobble;
    double fx = col - std::floor(col) - 0.5;
    double fy = row - rowIndex;
    double d = std::sqrt(fx * fx * 1.6 + fy * fy);
    return smoothstep(0.35, 0.62, d);
}

const Color kChestnut = rgb8(122, 62, 38);
const Color kGreen = rgb8(22, 92, 48);
const Color kGreenSheen = rgb8(40, 130, 92);
const Color kOrange = rgb8(246, 136, 32);
const Color kBillYellow = rgb8(240, 176, 40);

Color paintBody(double a, double b) {
    double under = 0.5 - 0.5 * std::cos(2.0 * kPi * a);  // 0 on the back, 1 on the belly
    double n = wrappedNoise(a, b, 8, 6.0, 4, 11u);
    double fine = wrappedNoise(a, b, 64, 48.0, 2, 12u);

    Color back = rgb8(128, 116, 100);
    Color flank = rgb8(204, 202, 196);
    Color belly = rgb8(226, 224, 218);
    Color c = mix(back, flank, smoothstep(0.12, 0.3, under));
    c = mix(c, belly, smoothstep(0.7, 0.92, under));
    // Fine grey vermiculation on the flanks.
    c = c * (1.0 + 0.05 * fine * smoothstep(0.15, 0.35, under));

    double breast = 1.0 - smoothstep(0.26, 0.36, b + 0.04 * n);
    c = mix(c, kChestnut, breast);
    double rump = smoothstep(0.84, 0.9, b + 0.02 * n);
    c = mix(c, rgb8(26, 26, 30), rump);

    double feathers = featherShade(a, b, 24, 18, 13u);
    c = c * (1.0 - 0.05 * feathers * (1.0 - rump)) * (1.0 + 0.05 * n);
    return c;
}

Color paintHead(double a, double b) {
    double top = 0.5 + 0.5 * std::cos(2.0 * kPi * a);  // 1 on the crown
    double n = wrappedNoise(a, b, 6, 4.0, 4, 21u);
    Color c = mix(kGreen, kGreenSheen, clamp01(0.5 + 0.6 * n));
    // A darker crown and a purple-blue sheen toward the back of the head.
    c = mix(c, rgb8(14, 60, 40), 0.45 * smoothstep(0.6, 0.95, top));
    c = mix(c, rgb8(40, 60, 110), 0.35 * smoothstep(0.55, 0.95, b) * top);
    return c;
}

Color paintNeck(double a, double b) {
    double n = wrappedNoise(a, b, 6, 4.0, 3, 31u);
    double ringLow = 0.42 + 0.015 * n, ringHigh = 0.52 + 0.015 * n;
    if (b < ringLow - 0.02) return mix(kChestnut, kChestnut * 0.8, 0.5 + 0.5 * n);
    if (b > ringHigh + 0.02) return paintHead(a, 0.2);
    double white = smoothstep(ringLow - 0.02, ringLow, b) * (1.0 - smoothstep(ringHigh, ringHigh + 0.02, b));
    Color under = b < 0.5 * (ringLow + ringHigh) ? kChestnut : paintHead(a, 0.2);
    return mix(under, rgb8(238, 236, 228), white);
}

Color paintBill(double a, double b) {
    double upper = std::sin(2.0 * kPi * a);  // +1 on the top of the bill
    double n = wrappedNoise(a, b, 4, 3.0, 3, 41u);
    Color c = mix(kBillYellow, kOrange, clamp01(0.5 - 0.4 * upper + 0.2 * n));
    // The dark nail at the tip of the upper bill.
    double nail = smoothstep(0.92, 0.95, b) * smoothstep(0.55, 0.75, upper);
    return mix(c, rgb8(70, 50, 30), nail);
}

Color paintEye(double a, double b) {
    double dx = a - 0.5, dy = b - 0.5;
    double d = std::sqrt(dx * dx + dy * dy);
    Color c = mix(rgb8(12, 8, 6), rgb8(70, 36, 18), smoothstep(0.22, 0.3, d));
    c = mix(c, rgb8(20, 16, 12), smoothstep(0.34, 0.38, d));
    c = mix(c, kGreen, smoothstep(0.42, 0.46, d));
    // Highlight up and toward the bill, plus a faint second one below it.
    double h1 = std::hypot(a - 0.62, b - 0.34);
    double h2 = std::hypot(a - 0.42, b - 0.64);
    c = mix(c, rgb8(255, 255, 255), 1.0 - smoothstep(0.045, 0.075, h1));
    c = mix(c, rgb8(170, 170, 175), 0.6 * (1.0 - smoothstep(0.02, 0.04, h2)));
    return c;
}

Color paintWing(double a, double b) {
    double outer = std::cos(2.0 * kPi * a);   // +1 on the outside of the wing
    double upper = std::sin(2.0 * kPi * a);   // +1 along its upper edge
    double n = wrappedNoise(a, b, 6, 5.0, 3, 51u);
    Color c = mix(rgb8(150, 134, 116), rgb8(120, 106, 92), clamp01(0.5 + 0.5 * n));
    // Long flight feathers: soft dark lines along the wing on its lower half.
    double quills = 0.5 + 0.5 * std::cos(2.0 * kPi * (a * 10.0 + 2.0 * b));
    c = c * (1.0 - 0.12 * quills * smoothstep(0.4, 0.7, b));
    // The speculum: a blue band with white borders on the outer, lower part.
    double onSide = smoothstep(0.2, 0.5, outer) * (1.0 - smoothstep(-0.3, 0.1, upper));
    double bandMid = 0.68, bandHalf = 0.07;
    double distance = std::fabs(b - bandMid);
    double blue = 1.0 - smoothstep(bandHalf - 0.01, bandHalf, distance);
    double border = (1.0 - smoothstep(bandHalf + 0.015, bandHalf + 0.025, distance)) * (1.0 - blue);
    c = mix(c, mix(rgb8(40, 60, 170), rgb8(80, 50, 160), clamp01(0.5 + n)), blue * onSide);
    c = mix(c, rgb8(240, 240, 236), border * onSide);
    // Darker tips.
    c = mix(c, rgb8(70, 62, 56), smoothstep(0.82, 0.95, b));
    return c * (1.0 - 0.05 * featherShade(a, b, 14, 8, 52u) * (1.0 - smoothstep(0.5, 0.6, b)));
}

Color paintTail(double a, double b) {
    double n = wrappedNoise(a, b, 6, 4.0, 3, 61u);
    Color c = mix(rgb8(24, 24, 28), rgb8(210, 208, 200), smoothstep(0.4, 0.6, b));
    double streak = 0.5 + 0.5 * std::cos(2.0 * kPi * a * 8.0);
    return c * (1.0 - 0.1 * streak * smoothstep(0.5, 0.7, b)) * (1.0 + 0.05 * n);
}

Color paintFeet(double a, double b) {
    double n = wrappedNoise(a, b, 6, 6.0, 3, 71u);
    return kOrange * (0.92 + 0.08 * n);
}

void paintRegion(Image& image, const AtlasRegion& region, const Painter& painter) {
    for (int py = region.y; py < region.y + region.height; ++py)
        for (int px = region.x; px < region.x + region.width; ++px) {
            Vec2 ab = region.local(px, py);
            image.set(px, py, painter(ab.x, ab.y));
        }
}

}  // namespace

Image paintDuckTexture() {
    Image image(kDuckAtlasSize, kDuckAtlasSize);
    // Unused atlas space gets a neutral plumage grey.
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) image.set(x, y, rgb8(160, 156, 150));
    paintRegion(image, atlas::kBody, paintBody);
    paintRegion(image, atlas::kHead, paintHead);
    paintRegion(image, atlas::kNeck, paintNeck);
    paintRegion(image, atlas::kWing, paintWing);
    paintRegion(image, atlas::kTail, paintTail);
    paintRegion(image, atlas::kBill, paintBill);
    paintRegion(image, atlas::kFeet, paintFeet);
    paintRegion(image, atlas::kEye, paintEye);
    return image;
}

}  // namespace assetgen
