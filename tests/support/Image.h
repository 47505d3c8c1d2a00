// Reading pixels back from screenshots and from the GL framebuffer.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct Rgb {
    int r = 0;
    int g = 0;
    int b = 0;
};

// An RGB image with row 0 at the TOP (window convention).
struct Image {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;

    bool empty() const { return width == 0 || height == 0; }
    Rgb at(int x, int y) const;
    // Mean colour over the rectangle [x0, x1) x [y0, y1), clipped to the image.
    Rgb mean(int x0, int y0, int x1, int y1) const;
    // Pixels in the rectangle whose every channel is at least minLevel (white-ish text).
    int countBright(int x0, int y0, int x1, int y1, int minLevel = 200) const;
    // Number of pixels that differ by more than tolerance in any channel, over the whole
    // image or in the rectangle [x0, x1) x [y0, y1).
    int countDifferent(const Image& other, int tolerance = 24) const;
    int countDifferentIn(const Image& other, int x0, int y0, int x1, int y1, int tolerance) const;
};

// Loads a PNG (or any FreeImage format) file; empty image on failure.
Image loadImage(const std::string& path);
// Saves as PNG; returns false on failure.
bool saveImage(const Image& image, const std::string& path);
// glReadPixels of the current framebuffer region, flipped so row 0 is the top.
Image readFramebuffer(int width = 1000, int height = 480);
