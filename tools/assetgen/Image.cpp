// FreeImage output of painted pictures.
#include "Image.h"

#include <FreeImage.h>

#include <cmath>
#include <memory>
#include <stdexcept>

namespace assetgen {

namespace {

struct BitmapDeleter {
    void operator()(FIBITMAP* bitmap) const { FreeImage_Unload(bitmap); }
};
using BitmapPtr = std::unique_ptr<FIBITMAP, BitmapDeleter>;

BYTE toByte(double v) {
    return static_cast<BYTE>(std::lround(clamp01(v) * 255.0));
}

BitmapPtr toBitmap(const Image& image, int bpp) {
    BitmapPtr bitmap(FreeImage_Allocate(image.width(), image.height(), bpp));
    if (!bitmap) throw std::runtime_error("cannot allocate a bitmap");
    const int bytesPerPixel = bpp / 8;
    for (int y = 0; y < image.height(); ++y) {
        // FreeImage scan line 0 is the bottom row of the picture.
        BYTE* line = FreeImage_GetScanLine(bitmap.get(), image.height() - 1 - y);
        for (int x = 0; x < image.width(); ++x) {
            Color c = image.get(x, y);
            BYTE* px = line + x * bytesPerPixel;
            px[FI_RGBA_RED] = toByte(c.r);
            px[FI_RGBA_GREEN] = toByte(c.g);
            px[FI_RGBA_BLUE] = toByte(c.b);
            if (bytesPerPixel == 4) px[FI_RGBA_ALPHA] = toByte(image.alpha(x, y));
        }
    }
    return bitmap;
}

void save(FREE_IMAGE_FORMAT format, FIBITMAP* bitmap, const std::string& path, int flags) {
    if (!FreeImage_Save(format, bitmap, path.c_str(), flags))
        throw std::runtime_error("cannot write " + path);
}

}  // namespace

Image::Image(int width, int height)
    : width_(width), height_(height), rgba_(static_cast<size_t>(width) * height * 4, 0.0) {
    for (size_t i = 3; i < rgba_.size(); i += 4) rgba_[i] = 1.0;
}

void Image::set(int x, int y, Color c, double alpha) {
    double* p = &rgba_[(static_cast<size_t>(y) * width_ + x) * 4];
    p[0] = c.r;
    p[1] = c.g;
    p[2] = c.b;
    p[3] = alpha;
}

Color Image::get(int x, int y) const {
    const double* p = &rgba_[(static_cast<size_t>(y) * width_ + x) * 4];
    return {p[0], p[1], p[2]};
}

double Image::alpha(int x, int y) const {
    return rgba_[(static_cast<size_t>(y) * width_ + x) * 4 + 3];
}

void Image::blend(int x, int y, Color c, double coverage) {
    coverage = clamp01(coverage);
    set(x, y, mix(get(x, y), c, coverage), alpha(x, y));
}

void Image::savePng24(const std::string& path) const {
    save(FIF_PNG, toBitmap(*this, 24).get(), path, PNG_Z_DEFAULT_COMPRESSION);
}

void Image::savePng32(const std::string& path) const {
    save(FIF_PNG, toBitmap(*this, 32).get(), path, PNG_Z_DEFAULT_COMPRESSION);
}

void Image::saveJpeg(const std::string& path, int quality) const {
    // Full-resolution chroma keeps the small atlas regions from bleeding colour.
    save(FIF_JPEG, toBitmap(*this, 24).get(), path, quality | JPEG_SUBSAMPLING_444);
}

}  // namespace assetgen
