// Image files to OpenGL textures through FreeImage.
#include "assets/Texture.h"

#include "assets/AssetFile.h"
#include "core/Language.h"

#include <FreeImage.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

namespace {

struct BitmapRelease {
    void operator()(FIBITMAP* bitmap) const { FreeImage_Unload(bitmap); }
};
using Bitmap = std::unique_ptr<FIBITMAP, BitmapRelease>;

// FreeImage's first complaint about the file being decoded: the reason a player can act on.
std::string decoderComplaint;

void keepComplaint(FREE_IMAGE_FORMAT, const char* message) {
    if (decoderComplaint.empty() && message != nullptr) decoderComplaint = message;
}

// A decoder's message on one line of plain text, whatever bytes of the file it quotes.
std::string oneLine(std::string text) {
    for (char& c : text) c = static_cast<unsigned char>(c) < 0x20 ? ' ' : c;
    return text;
}

// Why the file cannot be read at all, or nothing when it can.
std::string unreadable(const std::string& path) {
    std::string why;
    std::FILE* file = openAsset(path, why);
    if (file == nullptr) return why;
    char byte = 0;
    const bool empty = std::fread(&byte, 1, 1, file) != 1;
    why = !empty ? "" : std::ferror(file) ? std::strerror(errno) : tr("the file is empty");
    std::fclose(file);
    return why;
}

// Why OpenGL cannot hold a picture of this size, or nothing when it can.
std::string tooLarge(unsigned width, unsigned height) {
    GLint largest = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largest);
    if (width <= static_cast<unsigned>(largest) && height <= static_cast<unsigned>(largest)) return "";
    return formatText(tr("%u x %u pixels is more than the %d x %d this OpenGL takes"), width, height, largest, largest);
}

// Why a picture FreeImage decoded cannot be brought to the asked depth: its own pixel type
// (16-bit grey, floats, 16 bits a channel) has no conversion to 8 bits a channel.
std::string unconvertible(FIBITMAP* loaded, int depth) {
    static const char* const names[] = {"FIT_UNKNOWN", "FIT_BITMAP", "FIT_UINT16", "FIT_INT16",  "FIT_UINT32", "FIT_INT32",
                                        "FIT_FLOAT",   "FIT_DOUBLE", "FIT_COMPLEX", "FIT_RGB16", "FIT_RGBA16", "FIT_RGBF", "FIT_RGBAF"};
    const unsigned type = FreeImage_GetImageType(loaded);
    const std::string name = type < sizeof names / sizeof *names ? names[type] : "type " + std::to_string(type);
    return formatText(tr("FreeImage reads it as %s at %u bits a pixel and cannot convert that to %d bits"), name.c_str(),
                  FreeImage_GetBPP(loaded), depth);
}

// The decoded picture at the asked depth, or none, with why in `why`. The format comes from
// the extension only, so a PNG named .jpg fails here. The size is read from the header
// first, so a huge or lying header costs no decoding and no memory.
Bitmap decode(const std::string& path, int depth, std::string& why) {
    why = unreadable(path);
    const FREE_IMAGE_FORMAT format = FreeImage_GetFIFFromFilename(path.c_str());
    if (why.empty() && format == FIF_UNKNOWN) why = tr("its extension names no picture format");
    if (!why.empty()) return nullptr;
    FreeImage_SetOutputMessage(keepComplaint);
    decoderComplaint.clear();
    const std::string notValid = formatText(tr("it is not a valid %s picture"), FreeImage_GetFormatFromFIF(format));
    Bitmap image;
    if (FreeImage_FIFSupportsNoPixels(format)) {
        const Bitmap header(FreeImage_Load(format, path.c_str(), FIF_LOAD_NOPIXELS));
        why = !header ? notValid : tooLarge(FreeImage_GetWidth(header.get()), FreeImage_GetHeight(header.get()));
    }
    if (why.empty()) {
        const Bitmap loaded(FreeImage_Load(format, path.c_str(), 0));
        if (loaded) image.reset(depth == 32 ? FreeImage_ConvertTo32Bits(loaded.get()) : FreeImage_ConvertTo24Bits(loaded.get()));
        why = !image || FreeImage_GetBits(image.get()) == nullptr
                  ? (loaded ? unconvertible(loaded.get(), depth) : notValid)
                  : tooLarge(FreeImage_GetWidth(image.get()), FreeImage_GetHeight(image.get()));
        if (!why.empty()) image.reset();
    }
    // The decoder's own words say more than ours; a picture it still gave is shown.
    if (!decoderComplaint.empty() && (image || why == notValid)) why = image ? formatText(tr("%s; showing what could be read"), decoderComplaint.c_str()) : decoderComplaint;
    return image;
}

}  // namespace

FIBITMAP* decodePicture(const std::string& path, int depth) {
    std::string why;
    Bitmap image = decode(path, depth, why);
    // Once per load, never per frame.
    if (!why.empty()) std::fprintf(stderr, tr("Larkmere: picture \"%s\": %s\n"), printable(path).c_str(), oneLine(why).c_str());
    return image.release();
}

GLuint loadTexture(const std::string& path, int depth, GLint wrap, GLint envMode) {
    // A damaged picture leaves its surface plain.
    const Bitmap image(decodePicture(path, depth));
    GLsizei width = 0;
    GLsizei height = 0;
    const void* pixels = nullptr;
    if (image && FreeImage_GetBits(image.get()) != nullptr) {
        width = static_cast<GLsizei>(FreeImage_GetWidth(image.get()));
        height = static_cast<GLsizei>(FreeImage_GetHeight(image.get()));
        pixels = FreeImage_GetBits(image.get());
    }

    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, wrap);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, wrap);
    // FreeImage rows are bottom-up, BGR(A), padded to 4 bytes: exactly what GL unpacks by
    // default, so the memory goes up unchanged and t = 0 is the picture's bottom row.
    // Without a picture the level is defined as 0 x 0, which is what an empty texture is.
    if (depth == 32) {
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, GL_BGRA, GL_UNSIGNED_BYTE, pixels);
    } else {
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, width, height, 0, GL_BGR, GL_UNSIGNED_BYTE, pixels);
    }
    glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, static_cast<GLfloat>(envMode));
    return texture;
}
