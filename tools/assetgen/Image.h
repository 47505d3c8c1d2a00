// An RGBA float picture, rows top-down as a painter thinks of them, written out through
// FreeImage (which stores rows bottom-up).
#pragma once

#include <string>
#include <vector>

#include "MathUtil.h"

namespace assetgen {

class Image {
public:
    Image(int width, int height);

    int width() const { return width_; }
    int height() const { return height_; }

    // (x, y) with y = 0 the top row of the picture.
    void set(int x, int y, Color c, double alpha = 1.0);
    Color get(int x, int y) const;
    double alpha(int x, int y) const;
    // Paints c over the pixel with the given coverage (0 leaves it, 1 replaces it).
    void blend(int x, int y, Color c, double coverage);

    // Each writer throws std::runtime_error when the file cannot be written.
    void savePng24(const std::string& path) const;
    void savePng32(const std::string& path) const;
    void saveJpeg(const std::string& path, int quality) const;

private:
    int width_, height_;
    std::vector<double> rgba_;
};

}  // namespace assetgen
