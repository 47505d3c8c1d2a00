// Screenshot and framebuffer pixels for assertions.
#include "support/Image.h"

#include <FreeImage.h>
#include <algorithm>
#include <cstdlib>

Rgb Image::at(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height) return {};
    const size_t i = (static_cast<size_t>(y) * width + x) * 3;
    return {rgb[i], rgb[i + 1], rgb[i + 2]};
}

Image loadImage(const std::string& path) {
    Image image;
    FIBITMAP* loaded = FreeImage_Load(FreeImage_GetFileType(path.c_str(), 0), path.c_str(), 0);
    FIBITMAP* converted = loaded ? FreeImage_ConvertTo24Bits(loaded) : nullptr;
    if (loaded) FreeImage_Unload(loaded);
    if (!converted) return image;
    image.width = static_cast<int>(FreeImage_GetWidth(converted));
    image.height = static_cast<int>(FreeImage_GetHeight(converted));
    image.rgb.resize(static_cast<size_t>(image.width) * image.height * 3);
    for (int y = 0; y < image.height; ++y) {
        const BYTE* row = FreeImage_GetScanLine(converted, image.height - 1 - y);  // rows bottom-up
        for (int x = 0; x < image.width; ++x) {
            uint8_t* out = &image.rgb[(static_cast<size_t>(y) * image.width + x) * 3];
            out[0] = row[x * 3 + FI_RGBA_RED], out[1] = row[x * 3 + FI_RGBA_GREEN], out[2] = row[x * 3 + FI_RGBA_BLUE];
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
            const Rgb p = image.at(x, y);
            row[x * 3 + FI_RGBA_RED] = p.r, row[x * 3 + FI_RGBA_GREEN] = p.g, row[x * 3 + FI_RGBA_BLUE] = p.b;
        }
    }
    const bool saved = FreeImage_Save(FIF_PNG, bitmap, path.c_str(), 0);
    FreeImage_Unload(bitmap);
    return saved;
}

int countDifferent(const Image& a, const Image& b, Area area, int tolerance) {
    int count = 0;
    for (int y = std::max(area.y0, 0); y < std::min({area.y1, a.height, b.height}); ++y) {
        for (int x = std::max(area.x0, 0); x < std::min({area.x1, a.width, b.width}); ++x) {
            const Rgb p = a.at(x, y), q = b.at(x, y);
            count += std::abs(p.r - q.r) > tolerance || std::abs(p.g - q.g) > tolerance || std::abs(p.b - q.b) > tolerance;
        }
    }
    return count;
}

namespace {
// The font draws pure white; whatever lies behind the text stays well below this.
bool white(Rgb p) { return std::min({p.r, p.g, p.b}) >= 200; }
}  // namespace

std::optional<std::pair<int, int>> findText(const Image& image, const TextMask& mask, Area area) {
    for (int y = area.y0; y < area.y1; ++y) {
        for (int x = area.x0; x < area.x1; ++x) {
            const auto inkAt = [&](const std::pair<int, int>& d) { return white(image.at(x + d.first, y + d.second)); };
            if (std::all_of(mask.ink.begin(), mask.ink.end(), inkAt) && std::none_of(mask.paper.begin(), mask.paper.end(), inkAt)) {
                return std::make_pair(x, y);
            }
        }
    }
    return std::nullopt;
}
