// loadTexture on a real GL: what reaches the texture from pictures written to a temp
// directory, and what a missing or undecodable file leaves.
#include <gtest/gtest.h>

#include <FreeImage.h>
#include <GL/gl.h>
#include <malloc.h>

#include <cstddef>
#include <cstdio>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "assets/Texture.h"
#include "support/GlContext.h"
#include "support/Image.h"

#if defined(__SANITIZE_ADDRESS__)
// From the sanitizer runtime (GCC ships no header for it): bytes allocated and not freed.
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace {

std::string tempPath(const std::string& name) {
    return testing::TempDir() + "larkmere_tex_" + std::to_string(getpid()) + "_" + name;
}

struct Rgba {
    int r, g, b, a;
};

// Writes a 32-bit picture given top row first; returns its path.
std::string writeRgbaPicture(const std::string& name, int width, int height, const std::vector<Rgba>& topDown,
                             FREE_IMAGE_FORMAT format = FIF_PNG) {
    FIBITMAP* bitmap = FreeImage_Allocate(width, height, 32);
    for (int y = 0; y < height; ++y) {
        BYTE* row = FreeImage_GetScanLine(bitmap, height - 1 - y);  // FreeImage keeps rows bottom-up
        for (int x = 0; x < width; ++x) {
            const Rgba& p = topDown[static_cast<std::size_t>(y) * width + x];
            row[x * 4 + FI_RGBA_RED] = static_cast<BYTE>(p.r);
            row[x * 4 + FI_RGBA_GREEN] = static_cast<BYTE>(p.g);
            row[x * 4 + FI_RGBA_BLUE] = static_cast<BYTE>(p.b);
            row[x * 4 + FI_RGBA_ALPHA] = static_cast<BYTE>(p.a);
        }
    }
    const std::string path = tempPath(name);
    EXPECT_TRUE(FreeImage_Save(format, bitmap, path.c_str(), 0)) << path;
    FreeImage_Unload(bitmap);
    return path;
}

std::string writeRgbPicture(const std::string& name, const Image& picture) {
    const std::string path = tempPath(name);
    EXPECT_TRUE(saveImage(picture, path)) << path;
    return path;
}

int levelParameter(GLenum name) {
    GLint value = -1;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, name, &value);
    return value;
}

int textureParameter(GLenum name) {
    GLint value = -1;
    glGetTexParameteriv(GL_TEXTURE_2D, name, &value);
    return value;
}

int envMode() {
    GLint mode = 0;
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &mode);
    return mode;
}

// Level 0 of the bound texture as RGBA, texel row 0 first (t = 0).
std::vector<Rgba> boundTexels() {
    const int width = levelParameter(GL_TEXTURE_WIDTH);
    const int height = levelParameter(GL_TEXTURE_HEIGHT);
    std::vector<GLubyte> raw(static_cast<std::size_t>(width) * height * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, raw.data());
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    std::vector<Rgba> texels;
    for (std::size_t i = 0; i + 3 < raw.size(); i += 4) texels.push_back({raw[i], raw[i + 1], raw[i + 2], raw[i + 3]});
    return texels;
}

class TexturesGl : public GlTest {
protected:
    void TearDown() override {
        glBindTexture(GL_TEXTURE_2D, 0);
        glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
        GlTest::TearDown();
    }
};

}  // namespace

TEST_F(TexturesGl, BottomRowLandsAtTZeroWithoutSlantAtOddWidths) {
    // 5 wide: 15 bytes a row at 24 bits, padded to 16 by the decoder.
    Image picture;
    picture.width = 5;
    picture.height = 3;
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 5; ++x) {
            picture.rgb.push_back(static_cast<uint8_t>(10 + 40 * x));
            picture.rgb.push_back(static_cast<uint8_t>(20 + 90 * y));
            picture.rgb.push_back(static_cast<uint8_t>(200 - 30 * x));
        }
    }
    const GLuint texture = loadTexture(writeRgbPicture("five.png", picture), 24, GL_REPEAT, GL_MODULATE);
    ASSERT_EQ(glInteger(GL_TEXTURE_BINDING_2D), static_cast<int>(texture));
    ASSERT_EQ(levelParameter(GL_TEXTURE_WIDTH), 5);
    ASSERT_EQ(levelParameter(GL_TEXTURE_HEIGHT), 3);
    const std::vector<Rgba> texels = boundTexels();
    for (int row = 0; row < 3; ++row) {
        for (int x = 0; x < 5; ++x) {
            const Rgba& t = texels[row * 5 + x];
            const Rgb p = picture.at(x, 2 - row);
            EXPECT_EQ(t.r, p.r) << "texel " << x << "," << row;
            EXPECT_EQ(t.g, p.g) << "texel " << x << "," << row;
            EXPECT_EQ(t.b, p.b) << "texel " << x << "," << row;
        }
    }
    glDeleteTextures(1, &texture);
}

TEST_F(TexturesGl, AlphaIsKeptAtThirtyTwoBitsAndDroppedAtTwentyFour) {
    const std::vector<Rgba> topDown = {{255, 0, 0, 0}, {0, 255, 0, 85}, {0, 0, 255, 170}, {255, 255, 255, 255}};
    const std::string path = writeRgbaPicture("alpha.png", 2, 2, topDown);

    const GLuint rgba = loadTexture(path, 32, GL_REPEAT, GL_MODULATE);
    EXPECT_EQ(levelParameter(GL_TEXTURE_INTERNAL_FORMAT), GL_RGBA);
    std::vector<Rgba> texels = boundTexels();
    ASSERT_EQ(texels.size(), 4u);
    // Texel row 0 is the picture's bottom row: entries 2 and 3 of topDown.
    EXPECT_EQ(texels[0].a, 170);
    EXPECT_EQ(texels[0].b, 255);
    EXPECT_EQ(texels[1].a, 255);
    EXPECT_EQ(texels[2].a, 0);
    EXPECT_EQ(texels[2].r, 255);
    EXPECT_EQ(texels[3].a, 85);
    EXPECT_EQ(texels[3].g, 255);

    const GLuint rgb = loadTexture(path, 24, GL_REPEAT, GL_MODULATE);
    EXPECT_NE(rgb, rgba);
    EXPECT_EQ(levelParameter(GL_TEXTURE_INTERNAL_FORMAT), GL_RGB);
    texels = boundTexels();
    ASSERT_EQ(texels.size(), 4u);
    for (const Rgba& t : texels) EXPECT_EQ(t.a, 255);
    EXPECT_EQ(texels[2].r, 255);
    const GLuint both[] = {rgba, rgb};
    glDeleteTextures(2, both);
}

TEST_F(TexturesGl, FiltersWrapAndEnvironmentModeFollowTheArguments) {
    const std::string path = writeRgbaPicture("plain.png", 1, 1, {{9, 99, 199, 255}});
    const GLuint clamped = loadTexture(path, 24, GL_CLAMP_TO_EDGE, GL_REPLACE);
    EXPECT_EQ(glInteger(GL_TEXTURE_BINDING_2D), static_cast<int>(clamped));
    EXPECT_EQ(textureParameter(GL_TEXTURE_MIN_FILTER), GL_LINEAR);
    EXPECT_EQ(textureParameter(GL_TEXTURE_MAG_FILTER), GL_LINEAR);
    EXPECT_EQ(textureParameter(GL_TEXTURE_WRAP_S), GL_CLAMP_TO_EDGE);
    EXPECT_EQ(textureParameter(GL_TEXTURE_WRAP_T), GL_CLAMP_TO_EDGE);
    EXPECT_EQ(envMode(), GL_REPLACE);

    const GLuint repeated = loadTexture(path, 32, GL_REPEAT, GL_MODULATE);
    EXPECT_NE(repeated, clamped);
    EXPECT_EQ(glInteger(GL_TEXTURE_BINDING_2D), static_cast<int>(repeated));
    EXPECT_EQ(textureParameter(GL_TEXTURE_WRAP_S), GL_REPEAT);
    EXPECT_EQ(textureParameter(GL_TEXTURE_WRAP_T), GL_REPEAT);
    EXPECT_EQ(envMode(), GL_MODULATE);
    const GLuint both[] = {clamped, repeated};
    glDeleteTextures(2, both);
}

TEST_F(TexturesGl, JpegPicturesDecodeByTheirExtension) {
    const std::vector<Rgba> orange(16 * 16, Rgba{240, 120, 30, 255});
    FIBITMAP* rgba = FreeImage_Allocate(16, 16, 32);
    FIBITMAP* rgb = FreeImage_ConvertTo24Bits(rgba);  // JPEG wants 24 bits
    FreeImage_Unload(rgba);
    for (unsigned y = 0; y < 16; ++y) {
        for (unsigned x = 0; x < 16; ++x) {
            RGBQUAD colour{30, 120, 240, 0};  // blue, green, red
            FreeImage_SetPixelColor(rgb, x, y, &colour);
        }
    }
    const std::string path = tempPath("skin.jpg");
    ASSERT_TRUE(FreeImage_Save(FIF_JPEG, rgb, path.c_str(), JPEG_QUALITYSUPERB));
    FreeImage_Unload(rgb);

    const GLuint texture = loadTexture(path, 24, GL_REPEAT, GL_REPLACE);
    ASSERT_EQ(levelParameter(GL_TEXTURE_WIDTH), 16);
    const Rgba centre = boundTexels()[8 * 16 + 8];
    EXPECT_NEAR(centre.r, 240, 6);
    EXPECT_NEAR(centre.g, 120, 6);
    EXPECT_NEAR(centre.b, 30, 6);
    glDeleteTextures(1, &texture);
}

TEST_F(TexturesGl, UnreadablePicturesGiveValidEmptyTextures) {
    const std::string png = writeRgbaPicture("real.png", 2, 2, std::vector<Rgba>(4, Rgba{1, 2, 3, 255}));
    const std::string pngNamedJpg = tempPath("disguised.jpg");
    std::rename(png.c_str(), pngNamedJpg.c_str());
    const std::string garbage = tempPath("garbage.png");
    std::ofstream(garbage, std::ios::binary) << "\x89PNG\r\n\x1a\n not really";

    for (const std::string& path : {tempPath("missing.png"), pngNamedJpg, garbage, tempPath("no_extension"),
                                    tempPath("unknown.xyz"), std::string()}) {
        for (int depth : {24, 32}) {
            glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
            const GLuint texture = loadTexture(path, depth, GL_CLAMP_TO_EDGE, GL_MODULATE);
            EXPECT_NE(texture, 0u) << path;
            EXPECT_TRUE(glIsTexture(texture)) << path;
            EXPECT_EQ(glInteger(GL_TEXTURE_BINDING_2D), static_cast<int>(texture)) << path;
            EXPECT_EQ(levelParameter(GL_TEXTURE_WIDTH), 0) << path;
            EXPECT_EQ(levelParameter(GL_TEXTURE_HEIGHT), 0) << path;
            EXPECT_EQ(textureParameter(GL_TEXTURE_WRAP_S), GL_CLAMP_TO_EDGE) << path;
            EXPECT_EQ(envMode(), GL_MODULATE) << path;
            EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)) << path;
            glDeleteTextures(1, &texture);
        }
    }
    std::remove(pngNamedJpg.c_str());
    std::remove(garbage.c_str());
}

TEST_F(TexturesGl, DecodedPicturesAreReleasedAfterTheUpload) {
    // A 1024 x 1024 picture is 3 MB decoded and 3 or 4 MB converted; a load that kept
    // either would grow the heap by that much every time.
    Image picture;
    picture.width = 1024;
    picture.height = 1024;
    picture.rgb.assign(1024u * 1024u * 3u, 128);
    const std::string path = writeRgbPicture("big.png", picture);
    picture.rgb = {};
    auto heapInUse = []() -> std::size_t {
#if defined(__SANITIZE_ADDRESS__)
        return __sanitizer_get_current_allocated_bytes();  // malloc statistics are ASan's here
#else
        const struct mallinfo2 info = mallinfo2();
        return info.uordblks + info.hblkhd;
#endif
    };
    GLuint first = loadTexture(path, 32, GL_REPEAT, GL_MODULATE);  // let the libraries warm up
    glDeleteTextures(1, &first);
    const std::size_t before = heapInUse();
    ASSERT_GT(before, 0u) << "the allocator reports nothing";
    for (int i = 0; i < 8; ++i) {
        for (int depth : {24, 32}) {
            GLuint texture = loadTexture(path, depth, GL_REPEAT, GL_MODULATE);
            ASSERT_EQ(levelParameter(GL_TEXTURE_WIDTH), 1024);
            glDeleteTextures(1, &texture);
        }
    }
    const std::size_t after = heapInUse();
    EXPECT_LT(after, before + 12u * 1024u * 1024u) << "heap grew from " << before << " to " << after;
    std::remove(path.c_str());
}
