// Image files to OpenGL textures through FreeImage.
#include "assets/Texture.h"

#include <FreeImage.h>

#include <memory>

namespace {

struct BitmapRelease {
    void operator()(FIBITMAP* bitmap) const { FreeImage_Unload(bitmap); }
};
using Bitmap = std::unique_ptr<FIBITMAP, BitmapRelease>;

// The decoded picture at the asked depth, or none when the file cannot be decoded. The
// format comes from the extension only, so a PNG named .jpg fails here.
Bitmap decode(const std::string& path, int depth) {
    const FREE_IMAGE_FORMAT format = FreeImage_GetFIFFromFilename(path.c_str());
    if (format == FIF_UNKNOWN) return nullptr;
    const Bitmap loaded(FreeImage_Load(format, path.c_str(), 0));
    if (!loaded) return nullptr;
    return Bitmap(depth == 32 ? FreeImage_ConvertTo32Bits(loaded.get()) : FreeImage_ConvertTo24Bits(loaded.get()));
}

}  // namespace

GLuint loadTexture(const std::string& path, int depth, GLint wrap, GLint envMode) {
    const Bitmap image = decode(path, depth);
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
