// Pixels of a screenshot or of the GL framebuffer, and finding a line of the game's text in them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

struct Rgb { int r = 0, g = 0, b = 0; };

// A rectangle of window pixels, [x0, x1) x [y0, y1).
struct Area { int x0 = 0, y0 = 0, x1 = 1000, y1 = 480; };

// Stored as FreeImage and glReadPixels(GL_BGR) lay pixels out: blue, green, red, the
// bottom row first. at() counts rows from the top, as the window does.
struct Image {
    int width = 0, height = 0;
    std::vector<uint8_t> bgr;

    Rgb at(int x, int y) const;
};

Image loadImage(const std::string& path);
// A PNG whose header claims 100000 x 100000 pixels, in 68 bytes.
extern const std::string HugeHeaderPng;
bool saveImage(Image image, const std::string& path);
// Pixels in the area that differ by more than tolerance in any channel.
int countDifferent(const Image& a, const Image& b, Area area = {}, int tolerance = 24);

// A line of text as the game's bitmap font draws it, as offsets from its pen position:
// ink pixels are white, paper pixels (a margin around the ink, between the letters and
// one letter's width beyond each end) are not, so one wrong letter or digit misses.
struct TextMask {
    std::string text;
    std::vector<std::pair<int, int>> ink, paper;
};

// Where the line's pen position is in the area, if the text is there.
std::optional<std::pair<int, int>> findText(const Image& image, const TextMask& mask, Area area = {});
