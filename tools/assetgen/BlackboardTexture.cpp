// The panel behind the help and end-screen texts: a dark chalkboard, faintly smudged,
// in a rounded wooden frame with transparent corners. The writing area stays dark and
// even so white text on it reads well.
#include <cmath>

#include "Assets.h"
#include "Noise.h"

namespace assetgen {

namespace {

constexpr int kBoardWidth = 512;
constexpr int kBoardHeight = 256;
// The panel is shown wider than tall on screen (666 x 384 pixels), so the side bars
// are a little wider in the picture than the top and bottom ones to look even.
constexpr double kSideBar = 22.0;
constexpr double kEndBar = 19.0;
constexpr double kCornerRadius = 14.0;

// Signed distance to a rounded rectangle (negative inside).
double roundedBoxDistance(double x, double y, double halfW, double halfH, double radius) {
    double qx = std::fabs(x) - (halfW - radius), qy = std::fabs(y) - (halfH - radius);
    double outside = std::hypot(std::max(qx, 0.0), std::max(qy, 0.0));
    return outside + std::min(std::max(qx, qy), 0.0) - radius;
}

Color wood(double along, double across, uint32_t seed) {
    // Grain runs along the bar: stretched noise plus fine ring lines.
    double grain = fractalNoise(along * 0.015, across * 0.35, 0, 0, 4, 0.5, seed);
    double rings = 0.5 + 0.5 * std::sin(across * 0.9 + grain * 9.0);
    Color c = mix(rgb8(104, 64, 34), rgb8(150, 98, 56), clamp01(0.5 + 0.8 * grain));
    return c * (0.9 + 0.1 * rings);
}

}  // namespace

Image paintBlackboardTexture() {
    Image image(kBoardWidth, kBoardHeight);
    const double halfW = kBoardWidth * 0.5, halfH = kBoardHeight * 0.5;
    const Color slate = rgb8(30, 46, 38);
    for (int y = 0; y < kBoardHeight; ++y) {
        for (int x = 0; x < kBoardWidth; ++x) {
            double px = x + 0.5 - halfW, py = y + 0.5 - halfH;
            double outer = roundedBoxDistance(px, py, halfW, halfH, kCornerRadius);
            double alpha = clamp01(0.5 - outer);
            double innerW = halfW - kSideBar, innerH = halfH - kEndBar;
            double inner = roundedBoxDistance(px, py, innerW, innerH, 3.0);

            // Chalk: a faint haze of old writing and a few broad eraser swipes.
            double u = (x + 0.5) / kBoardWidth, v = (y + 0.5) / kBoardHeight;
            double haze = fractalNoise(u * 6.0, v * 3.0, 0, 0, 5, 0.55, 801u);
            double swipe = fractalNoise(u * 2.0, v * 10.0, 0, 0, 3, 0.5, 802u);
            Color board = slate * (1.0 + 0.06 * fractalNoise(u * 40.0, v * 20.0, 0, 0, 2, 0.5, 803u));
            board = mix(board, rgb8(200, 210, 204), 0.07 * smoothstep(0.0, 0.6, haze) +
                                                        0.035 * smoothstep(0.2, 0.7, swipe));
            // The frame casts a soft shadow onto the board's edge.
            board = board * (1.0 - 0.35 * smoothstep(-6.0, 0.0, inner));

            // Frame: side bars meet the end bars on mitred diagonals.
            double toSide = halfW - std::fabs(px), toEnd = halfH - std::fabs(py);
            bool sideBar = toSide / kSideBar < toEnd / kEndBar;
            double across = sideBar ? toSide : toEnd;
            double along = sideBar ? py : px;
            uint32_t seed = sideBar ? (px < 0 ? 811u : 812u) : (py < 0 ? 813u : 814u);
            Color frame = wood(along, across, seed);
            double width = sideBar ? kSideBar : kEndBar;
            // Rounded profile: light on the outer rim, darker toward the board.
            frame = frame * (1.12 - 0.3 * smoothstep(0.2, 1.0, across / width));
            frame = frame * (1.0 - 0.25 * smoothstep(3.0, 0.0, -outer));
            double joint = std::fabs(toSide / kSideBar - toEnd / kEndBar);
            frame = frame * (1.0 - 0.25 * (1.0 - smoothstep(0.0, 0.06, joint)) * (inner > 0 ? 1.0 : 0.0));

            Color c = mix(board, frame, clamp01(0.5 + inner));
            image.set(x, y, c, alpha);
        }
    }
    return image;
}

}  // namespace assetgen
