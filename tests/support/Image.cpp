// Screenshot and framebuffer pixels for assertions.
#include "support/Image.h"

#include <FreeImage.h>
#include <algorithm>
#include <cstdlib>

Rgb Image::at(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height) return {};
    const size_t i = (static_cast<size_t>(height - 1 - y) * width + x) * 3;
    return {bgr[i + 2], bgr[i + 1], bgr[i]};
}

const std::string HugeHeaderPng("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\0\x01\x86\xa0\0\x01\x86\xa0\x08\x02\0\0\0\x27\x30\x9c\x9f"
                                "\0\0\0\x0bIDAT\x78\x9c\x63\x60\x40\x05\0\0\x10\0\x01\x39\xbd\x8f\x65\0\0\0\0IEND\xae\x42\x60\x82", 68);

Image loadImage(const std::string& path) {
    FIBITMAP* loaded = FreeImage_Load(FreeImage_GetFileType(path.c_str(), 0), path.c_str(), 0);
    FIBITMAP* converted = loaded ? FreeImage_ConvertTo24Bits(loaded) : nullptr;
    if (loaded) FreeImage_Unload(loaded);
    if (!converted) return {};
    Image image{int(FreeImage_GetWidth(converted)), int(FreeImage_GetHeight(converted)), {}};
    image.bgr.resize(size_t(image.width) * image.height * 3);
    FreeImage_ConvertToRawBits(image.bgr.data(), converted, image.width * 3, 24, FI_RGBA_RED_MASK, FI_RGBA_GREEN_MASK, FI_RGBA_BLUE_MASK);
    FreeImage_Unload(converted);
    return image;
}

bool saveImage(Image image, const std::string& path) {
    FIBITMAP* bitmap = FreeImage_ConvertFromRawBits(image.bgr.data(), image.width, image.height, image.width * 3, 24,
                                                    FI_RGBA_RED_MASK, FI_RGBA_GREEN_MASK, FI_RGBA_BLUE_MASK);
    const bool saved = bitmap && FreeImage_Save(FIF_PNG, bitmap, path.c_str(), 0);
    if (bitmap) FreeImage_Unload(bitmap);
    return saved;
}

int countDifferent(const Image& a, const Image& b, Area area, int tolerance) {
    int count = 0;
    for (int y = std::max(area.y0, 0); y < std::min({area.y1, a.height, b.height}); ++y)
        for (int x = std::max(area.x0, 0); x < std::min({area.x1, a.width, b.width}); ++x) {
            const Rgb p = a.at(x, y), q = b.at(x, y);
            count += std::abs(p.r - q.r) > tolerance || std::abs(p.g - q.g) > tolerance || std::abs(p.b - q.b) > tolerance;
        }
    return count;
}

// The font draws pure white; whatever lies behind the text stays well below this.
static bool white(Rgb p) { return std::min({p.r, p.g, p.b}) >= 200; }

std::optional<std::pair<int, int>> findText(const Image& image, const TextMask& mask, Area area) {
    for (int y = area.y0; y < area.y1; ++y)
        for (int x = area.x0; x < area.x1; ++x) {
            const auto inkAt = [&](const std::pair<int, int>& d) { return white(image.at(x + d.first, y + d.second)); };
            if (std::all_of(mask.ink.begin(), mask.ink.end(), inkAt) && std::none_of(mask.paper.begin(), mask.paper.end(), inkAt))
                return std::make_pair(x, y);
        }
    return std::nullopt;
}
