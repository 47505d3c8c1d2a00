// The window at other sizes, under a real window manager: --fullscreen, F11 to the window, a
// wide window, F11 to fullscreen again; the picture keeps its shape with black bars.
#include <gtest/gtest.h>

#include <string>

#include "support/Game.h"

namespace {
// The tests' screen is 1280 x 1024: fullscreen scales the picture by 1.28 into 1280 x 614,
// 205 rows down.
constexpr int ScreenW = 1280, ScreenH = 1024;

// Nothing but black in the area: no pixel differs from a black screen.
bool black(const Image& image, Area area) {
    static const Image screen{ScreenW, ScreenH, std::vector<uint8_t>(ScreenW * ScreenH * 3)};
    return countDifferent(image, screen, area, 0) == 0;
}
// The windowed picture seen in the shot at (x0, y0), scaled by `scale`: few samples differ
// by more than the filtering of the scale does.
bool sameScaled(const Image& window, const Image& shot, int x0, int y0, double scale) {
    int differ = 0, seen = 0;
    for (int y = 2; y < 478; y += 4)
        for (int x = 2; x < 998; x += 4, ++seen) {
            const Rgb a = window.at(x, y), b = shot.at(x0 + int(x * scale), y0 + int(y * scale));
            differ += std::abs(a.r - b.r) > 60 || std::abs(a.g - b.g) > 60 || std::abs(a.b - b.b) > 60;
        }
    return differ * 20 < seen;
}
}  // namespace

TEST(Screen, StartsFullscreenWhenAskedF11TogglesAndAWideWindowIsPillarboxed) {
    // openbox answers fullscreen requests as desktops do; started once per test's display.
    ASSERT_EQ(shell("openbox >/dev/null 2>&1 & for i in $(seq 600); do xprop -root _NET_SUPPORTING_WM_CHECK | "
                    "grep -q 'window id' && exit 0; sleep 0.1; done; exit 1").first, 0);
    Game game(LARKMERE_SOURCE_DIR, {}, LARKMERE_BINARY " --fullscreen");
    ASSERT_TRUE(game.findWindow());
    const int top = (ScreenH - 614) / 2;
    const auto fullscreen = [&](const Image& i) {
        return i.width == ScreenW && i.height == ScreenH && black(i, {0, 0, ScreenW, top - 2}) && black(i, {0, top + 616, ScreenW, ScreenH});
    };
    const auto started = game.waitFor("screen-started-fullscreen", fullscreen);
    ASSERT_TRUE(started) << "the help panel fills the screen's width, bars above and below";
    game.xdotool("key F11");
    const auto windowed = game.waitFor("screen-window", [&](const Image& i) {
        return i.width == 1000 && i.height == 480 && !black(i, {0, 0, 1000, 480}) && sameScaled(i, *started, 0, top, 1.28);
    });
    ASSERT_TRUE(windowed);

    // As wide as the test's screen allows: a window reaching past it cannot be read back.
    game.xdotool("search --onlyvisible --name '^Larkmere$' windowsize %@ 1250 480");
    EXPECT_TRUE(game.waitFor("screen-wide", [&](const Image& i) {
        return i.width == 1250 && i.height == 480 && black(i, {0, 0, 124, 480}) && black(i, {1126, 0, 1250, 480}) &&
               sameScaled(*windowed, i, 125, 0, 1.0);
    })) << "unscaled in the middle, bars left and right";
    game.xdotool("key F11");
    EXPECT_TRUE(game.waitFor("screen-fullscreen", [&](const Image& i) { return fullscreen(i) && sameScaled(*windowed, i, 0, top, 1.28); }));
    game.xdotool("key q");
    EXPECT_EQ(game.waitForExit(), 0);
}
