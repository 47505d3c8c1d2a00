// The window and launcher icon: the mallard's head and neck in profile, facing right, on a
// round badge of sky over grass. Every size is drawn from the same signed-distance shapes
// with about one pixel of antialiasing, so the small icons stay sharp instead of being
// shrunk from a large bitmap.
#include <cmath>

#include "Assets.h"

namespace assetgen {

namespace {

// The plumage colours of the duck texture, so the icon looks like the duck in the game.
const Color kHeadGreen = rgb8(22, 92, 48);
const Color kHeadSheen = rgb8(40, 130, 92);
const Color kCollar = rgb8(238, 236, 228);
const Color kChestnut = rgb8(122, 62, 38);
const Color kBillYellow = rgb8(240, 176, 40);
const Color kOrange = rgb8(246, 136, 32);
const Color kEye = rgb8(12, 8, 6);
const Color kOutline = rgb8(18, 30, 22);

double circle(double x, double y, double cx, double cy, double r) {
    return std::hypot(x - cx, y - cy) - r;
}

// Close to the true distance near the rim of the ellipse, which is all antialiasing needs.
double ellipse(double x, double y, double cx, double cy, double rx, double ry) {
    double px = (x - cx) / rx, py = (y - cy) / ry;
    double k0 = std::hypot(px, py), k1 = std::hypot(px / rx, py / ry);
    return k1 > 0 ? k0 * (k0 - 1.0) / k1 : -std::min(rx, ry);
}

double capsule(double x, double y, double ax, double ay, double bx, double by, double r) {
    double dx = bx - ax, dy = by - ay;
    double h = clamp01(((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy));
    return std::hypot(x - ax - dx * h, y - ay - dy * h) - r;
}

// Union that rounds the crease where two shapes meet.
double smoothUnion(double a, double b, double k) {
    double h = clamp01(0.5 + 0.5 * (b - a) / k);
    return lerp(b, a, h) - k * h * (1.0 - h);
}

}  // namespace

Image paintIcon(int size) {
    Image image(size, size);
    const double pixel = 2.0 / size;  // one pixel in badge units (the badge spans -1..1)
    auto cover = [pixel](double d) { return clamp01(0.5 - d / pixel); };
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            double u = (x + 0.5) * pixel - 1.0, v = (y + 0.5) * pixel - 1.0;  // v grows downward

            // Badge: a sky top over a gently rounded hill of grass, in a dark green rim.
            double disc = circle(u, v, 0.0, 0.0, 0.97);
            double hill = v - (0.30 + 0.12 * u * u);
            Color sky = mix(rgb8(196, 228, 250), rgb8(120, 180, 236), clamp01(0.5 - 0.5 * v));
            Color grass = mix(rgb8(132, 196, 84), rgb8(84, 150, 56), clamp01(v));
            Color c = mix(sky, grass, cover(-hill));
            c = mix(c, rgb8(46, 104, 44), cover(-(disc + 0.07)));

            // The duck: a round head with a long bill, a thick neck and the top of the breast.
            double head = circle(u, v, -0.08, -0.27, 0.36);
            double bill = ellipse(u, v, 0.41, -0.22, 0.32, 0.13);
            double neck = capsule(u, v, -0.10, -0.12, -0.26, 0.60, 0.24);
            double breast = ellipse(u, v, -0.10, 0.92, 0.62, 0.38);
            double body = smoothUnion(smoothUnion(head, neck, 0.12), breast, 0.15);
            double duck = std::max(smoothUnion(body, bill, 0.05), disc + 0.07);

            // Green above the white collar, chestnut below; the collar dips toward the back.
            double collarLine = v - (0.14 - 0.18 * u);
            double sheen = 1.0 - smoothstep(0.0, 0.45, std::hypot(u + 0.02, v + 0.48));
            Color plumage = mix(kHeadGreen, kHeadSheen, sheen);
            plumage = mix(plumage, kChestnut, cover(-(collarLine - 0.05)));
            plumage = mix(plumage, kCollar, cover(std::fabs(collarLine) - 0.05));
            // The bill has its own outline where it meets the head.
            Color billColor = mix(kBillYellow, kOrange, clamp01((v + 0.27) / 0.15));
            Color duckColor = mix(plumage, kOutline, cover(bill - 0.04));
            duckColor = mix(duckColor, billColor, cover(bill));
            // A pale ring keeps the dark eye visible on the dark head at small sizes.
            duckColor = mix(duckColor, kCollar, cover(circle(u, v, 0.05, -0.34, 0.13)));
            duckColor = mix(duckColor, kEye, cover(circle(u, v, 0.07, -0.34, 0.085)));
            duckColor = mix(duckColor, rgb8(255, 255, 255), cover(circle(u, v, 0.095, -0.375, 0.025)));

            c = mix(c, kOutline, cover(duck - 0.05));
            c = mix(c, duckColor, cover(duck));
            image.set(x, y, c, cover(disc));
        }
    }
    return image;
}

}  // namespace assetgen
