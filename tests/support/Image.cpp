// Screenshot and framebuffer pixels for assertions.
#include "support/Image.h"

#include <FreeImage.h>
#include <GL/gl.h>
#include <algorithm>
#include <cstdlib>

Rgb Image::at(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height) return {};
    const size_t i = (static_cast<size_t>(y) * width + x) * 3;
    return {rgb[i], rgb[i + 1], rgb[i + 2]};
}

Rgb Image::mean(int x0, int y0, int x1, int y1) const {
    x0 = std::max(x0, 0);
    y0 = std::max(y0, 0);
    x1 = std::min(x1, width);
    y1 = std::min(y1, height);
    long long r = 0, g = 0, b = 0, n = 0;
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            Rgb p = at(x, y);
            r += p.r;
            g += p.g;
            b += p.b;
            ++n;
        }
    }
    if (n == 0) return {};
    return {static_cast<int>(r / n), static_cast<int>(g / n), static_cast<int>(b / n)};
}

int Image::countBright(int x0, int y0, int x1, int y1, int minLevel) const {
    int count = 0;
    for (int y = std::max(y0, 0); y < std::min(y1, height); ++y) {
        for (int x = std::max(x0, 0); x < std::min(x1, width); ++x) {
            Rgb p = at(x, y);
            if (p.r >= minLevel && p.g >= minLevel && p.b >= minLevel) ++count;
        }
    }
    return count;
}

int Image::countDifferent(const Image& other, int tolerance) const {
    if (other.width != width || other.height != height) return width * height;
    return countDifferentIn(other, 0, 0, width, height, tolerance);
}

int Image::countDifferentIn(const Image& other, int x0, int y0, int x1, int y1, int tolerance) const {
    int count = 0;
    for (int y = std::max(y0, 0); y < std::min({y1, height, other.height}); ++y) {
        for (int x = std::max(x0, 0); x < std::min({x1, width, other.width}); ++x) {
            const Rgb p = at(x, y);
            const Rgb q = other.at(x, y);
            if (std::abs(p.r - q.r) > tolerance || std::abs(p.g - q.g) > tolerance || std::abs(p.b - q.b) > tolerance) {
                ++count;
            }
        }
    }
    return count;
}

Image loadImage(const std::string& path) {
    Image image;
    FREE_IMAGE_FORMAT format = FreeImage_GetFileType(path.c_str(), 0);
    if (format == FIF_UNKNOWN) return image;
    FIBITMAP* loaded = FreeImage_Load(format, path.c_str(), 0);
    if (!loaded) return image;
    FIBITMAP* converted = FreeImage_ConvertTo24Bits(loaded);
    FreeImage_Unload(loaded);
    if (!converted) return image;
    image.width = static_cast<int>(FreeImage_GetWidth(converted));
    image.height = static_cast<int>(FreeImage_GetHeight(converted));
    image.rgb.resize(static_cast<size_t>(image.width) * image.height * 3);
    for (int y = 0; y < image.height; ++y) {
        // FreeImage stores rows bottom-up.
        const BYTE* row = FreeImage_GetScanLine(converted, image.height - 1 - y);
        for (int x = 0; x < image.width; ++x) {
            const size_t i = (static_cast<size_t>(y) * image.width + x) * 3;
            image.rgb[i] = row[x * 3 + FI_RGBA_RED];
            image.rgb[i + 1] = row[x * 3 + FI_RGBA_GREEN];
            image.rgb[i + 2] = row[x * 3 + FI_RGBA_BLUE];
        }
    }
    FreeImage_Unload(converted);
    return image;
}

bool saveImage(const Image& image, const std::string& path) {
    FIBITMAP* bitmap = FreeImage_Allocate(image.width, image.height, 24);
    if (!bitmap) return false;
    for (int y = 0; y < image.height; ++y) {
        BYTE* row = FreeImage_GetScanLine(bitmap, image.height - 1 - y);
        for (int x = 0; x < image.width; ++x) {
            Rgb p = image.at(x, y);
            row[x * 3 + FI_RGBA_RED] = static_cast<BYTE>(p.r);
            row[x * 3 + FI_RGBA_GREEN] = static_cast<BYTE>(p.g);
            row[x * 3 + FI_RGBA_BLUE] = static_cast<BYTE>(p.b);
        }
    }
    const bool ok = FreeImage_Save(FIF_PNG, bitmap, path.c_str(), 0) != 0;
    FreeImage_Unload(bitmap);
    return ok;
}

Image readFramebuffer(int width, int height) {
    Image image;
    image.width = width;
    image.height = height;
    std::vector<uint8_t> raw(static_cast<size_t>(width) * height * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, raw.data());
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    image.rgb.resize(raw.size());
    for (int y = 0; y < height; ++y) {
        std::copy_n(raw.begin() + static_cast<long>(height - 1 - y) * width * 3, width * 3,
                    image.rgb.begin() + static_cast<long>(y) * width * 3);
    }
    return image;
}
