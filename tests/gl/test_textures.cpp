// Pictures to textures on a real GL: what loadTexture makes of pictures written to a temp
// directory and of missing or undecodable files, and the sky box record of six of them.
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

#include "assets/SkyboxTextures.h"
#include "assets/Texture.h"
#include "support/GlContext.h"

#if defined(__SANITIZE_ADDRESS__)
// From the sanitizer runtime (GCC ships no header for it): bytes allocated and not freed.
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace {

const char* const sides[] = {"left", "back", "right", "front", "top", "bottom"};

std::string tempPath(const std::string& name) {
    return testing::TempDir() + "larkmere_tex_" + std::to_string(getpid()) + "_" + name;
}

// Writes a 32-bit PNG of RGBA texels given top row first; returns its path.
std::string writePicture(const std::string& name, int width, int height, const std::vector<BYTE>& rgba) {
    std::vector<BYTE> bits;  // in FreeImage's little-endian order
    for (std::size_t i = 0; i + 3 < rgba.size(); i += 4) bits.insert(bits.end(), {rgba[i + 2], rgba[i + 1], rgba[i], rgba[i + 3]});
    FIBITMAP* bitmap = FreeImage_ConvertFromRawBits(bits.data(), width, height, width * 4, 32, FI_RGBA_RED_MASK,
                                                    FI_RGBA_GREEN_MASK, FI_RGBA_BLUE_MASK, TRUE);
    const std::string path = tempPath(name);
    EXPECT_TRUE(FreeImage_Save(FIF_PNG, bitmap, path.c_str(), 0)) << path;
    FreeImage_Unload(bitmap);
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

// Level 0 of the texture as RGBA bytes, texel row 0 (t = 0) first.
std::vector<GLubyte> texelsOf(GLuint texture) {
    glBindTexture(GL_TEXTURE_2D, texture);
    std::vector<GLubyte> texels(static_cast<std::size_t>(levelParameter(GL_TEXTURE_WIDTH)) * levelParameter(GL_TEXTURE_HEIGHT) * 4);
    if (!texels.empty()) glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    return texels;
}

// Six 4 x 4 one-colour pictures: red tells the slots apart, green the sets.
FaceList writeFaceSet(const std::string& set, int shade) {
    FaceList faces;
    for (int i = 0; i < 6; ++i) {
        std::vector<BYTE> rgba;
        for (int p = 0; p < 16; ++p) rgba.insert(rgba.end(), {BYTE(40 * i), BYTE(shade), 0, 255});
        faces.push_back(writePicture(std::string(sides[i]) + set + ".png", 4, 4, rgba));
    }
    return faces;
}

std::vector<GLuint> slotsOf(const SkyboxTextures& sky) {
    return {sky.leftFace, sky.backFace, sky.rightFace, sky.frontFace, sky.topFace, sky.bottomFace};
}

void expectSet(const SkyboxTextures& sky, int shade, const char* when) {
    const std::vector<GLuint> slots = slotsOf(sky);
    for (int i = 0; i < 6; ++i) {
        const std::vector<GLubyte> texels = texelsOf(slots[i]);
        ASSERT_EQ(texels.size(), 64u) << sides[i] << " slot " << when;
        EXPECT_EQ(texels[0], 40 * i) << sides[i] << " slot " << when;
        EXPECT_EQ(texels[1], shade) << sides[i] << " slot " << when;
    }
}

void expectAllDeleted(const std::vector<GLuint>& names, const char* when) {
    for (GLuint name : names) EXPECT_FALSE(glIsTexture(name)) << "texture " << name << " kept " << when;
}

class TexturesGl : public GlTest {};

}  // namespace

TEST_F(TexturesGl, BottomRowLandsAtTZeroWithoutSlantAtOddWidths) {
    // 5 wide: 15 bytes a row at 24 bits, padded to 16 by the decoder.
    auto colour = [](int x, int y) { return std::vector<BYTE>{BYTE(10 + 40 * x), BYTE(20 + 90 * y), BYTE(200 - 30 * x), 255}; };
    std::vector<BYTE> rgba;
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 5; ++x) {
            const std::vector<BYTE> c = colour(x, y);
            rgba.insert(rgba.end(), c.begin(), c.end());
        }
    }
    const GLuint texture = loadTexture(writePicture("five.png", 5, 3, rgba), 24, GL_REPEAT, GL_REPLACE);
    ASSERT_EQ(glInteger(GL_TEXTURE_BINDING_2D), static_cast<int>(texture));
    EXPECT_EQ(textureParameter(GL_TEXTURE_MIN_FILTER), GL_LINEAR);
    EXPECT_EQ(textureParameter(GL_TEXTURE_MAG_FILTER), GL_LINEAR);
    EXPECT_EQ(textureParameter(GL_TEXTURE_WRAP_S), GL_REPEAT);
    EXPECT_EQ(textureParameter(GL_TEXTURE_WRAP_T), GL_REPEAT);
    EXPECT_EQ(envMode(), GL_REPLACE);
    ASSERT_EQ(levelParameter(GL_TEXTURE_WIDTH), 5);
    ASSERT_EQ(levelParameter(GL_TEXTURE_HEIGHT), 3);
    const std::vector<GLubyte> texels = texelsOf(texture);
    for (int row = 0; row < 3; ++row) {
        for (int x = 0; x < 5; ++x) {
            const GLubyte* t = &texels[(row * 5 + x) * 4];
            EXPECT_EQ(std::vector<BYTE>(t, t + 4), colour(x, 2 - row)) << "texel " << x << "," << row;
        }
    }
    glDeleteTextures(1, &texture);
}

TEST_F(TexturesGl, AlphaIsKeptAtThirtyTwoBitsAndDroppedAtTwentyFour) {
    const std::string path = writePicture("alpha.png", 2, 2, {255, 0, 0, 0, 0, 255, 0, 85, 0, 0, 255, 170, 255, 255, 255, 255});
    const GLuint rgba = loadTexture(path, 32, GL_REPEAT, GL_MODULATE);
    EXPECT_EQ(levelParameter(GL_TEXTURE_INTERNAL_FORMAT), GL_RGBA);
    // Texel row 0 is the picture's bottom row.
    EXPECT_EQ(texelsOf(rgba), (std::vector<GLubyte>{0, 0, 255, 170, 255, 255, 255, 255, 255, 0, 0, 0, 0, 255, 0, 85}));

    const GLuint rgb = loadTexture(path, 24, GL_REPEAT, GL_MODULATE);
    EXPECT_EQ(levelParameter(GL_TEXTURE_INTERNAL_FORMAT), GL_RGB);
    EXPECT_EQ(texelsOf(rgb), (std::vector<GLubyte>{0, 0, 255, 255, 255, 255, 255, 255, 255, 0, 0, 255, 0, 255, 0, 255}));
    const GLuint both[] = {rgba, rgb};
    glDeleteTextures(2, both);
}

TEST_F(TexturesGl, JpegPicturesDecodeByTheirExtension) {
    const GLuint texture = loadTexture("./assets/textures/Duck.jpg", 24, GL_REPEAT, GL_REPLACE);
    EXPECT_GT(levelParameter(GL_TEXTURE_WIDTH), 0);
    EXPECT_GT(levelParameter(GL_TEXTURE_HEIGHT), 0);
    glDeleteTextures(1, &texture);
}

TEST_F(TexturesGl, UnreadablePicturesGiveValidEmptyTextures) {
    const std::string png = writePicture("real.png", 1, 1, {1, 2, 3, 255});
    const std::string pngNamedJpg = tempPath("disguised.jpg");
    std::rename(png.c_str(), pngNamedJpg.c_str());
    const std::string garbage = tempPath("garbage.png");
    std::ofstream(garbage, std::ios::binary) << "\x89PNG\r\n\x1a\n not really";

    for (const std::string& path : {tempPath("missing.png"), pngNamedJpg, garbage, tempPath("no_extension"),
                                    tempPath("unknown.xyz"), std::string()}) {
        for (int depth : {24, 32}) {
            glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
            const GLuint texture = loadTexture(path, depth, GL_CLAMP_TO_EDGE, GL_MODULATE);
            EXPECT_TRUE(glIsTexture(texture)) << path;
            EXPECT_EQ(glInteger(GL_TEXTURE_BINDING_2D), static_cast<int>(texture)) << path;
            EXPECT_EQ(levelParameter(GL_TEXTURE_WIDTH), 0) << path;
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
    const std::string path = writePicture("big.png", 1024, 1024, std::vector<BYTE>(1024u * 1024u * 4u, 128));
    auto heapInUse = []() -> std::size_t {
#if defined(__SANITIZE_ADDRESS__)
        return __sanitizer_get_current_allocated_bytes();  // malloc statistics are ASan's here
#else
        const struct mallinfo2 info = mallinfo2();
        return info.uordblks + info.hblkhd;
#endif
    };
    std::size_t before = 0;
    for (int i = 0; i < 17; ++i) {
        GLuint texture = loadTexture(path, i % 2 ? 24 : 32, GL_REPEAT, GL_MODULATE);
        ASSERT_EQ(levelParameter(GL_TEXTURE_WIDTH), 1024);
        glDeleteTextures(1, &texture);
        if (i == 0) before = heapInUse();  // after the libraries have warmed up
    }
    ASSERT_GT(before, 0u) << "the allocator reports nothing";
    EXPECT_LT(heapInUse(), before + 12u * 1024u * 1024u) << "heap grew from " << before;
    std::remove(path.c_str());
}

TEST(SkyboxFaceLists, NameTheFilesInSlotOrder) {
    const FaceList day = daySkyboxFaces(), night = nightSkyboxFaces();
    ASSERT_EQ(day.size(), 6u);
    ASSERT_EQ(night.size(), 6u);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(day[i], std::string("./assets/textures/skybox/") + sides[i] + ".png");
        EXPECT_EQ(night[i], std::string("./assets/textures/skybox/") + sides[i] + "_night.png");
    }
}

TEST_F(TexturesGl, SkyboxInstanceLoadsOnceAndEachSwapReplacesAndDeletesTheSix) {
    const FaceList day = writeFaceSet("_day", 10);
    const FaceList night = writeFaceSet("_night", 200);
    Camera camera, otherCamera;

    SkyboxTextures& sky = SkyboxTextures::instance(day, camera);
    EXPECT_EQ(sky.camera, &camera);
    expectSet(sky, 10, "after start-up");
    const std::vector<GLuint> firstDay = slotsOf(sky);

    SkyboxTextures& again = SkyboxTextures::instance(night, otherCamera);
    EXPECT_EQ(&again, &sky);
    EXPECT_EQ(slotsOf(sky), firstDay);
    EXPECT_EQ(sky.camera, &camera);
    expectSet(sky, 10, "after a second instance call");

    sky.loadFaces(night);
    expectSet(sky, 200, "after night on");
    EXPECT_EQ(sky.camera, &camera);
    expectAllDeleted(firstDay, "by night on");
    const std::vector<GLuint> firstNight = slotsOf(sky);

    sky.loadFaces(day);
    expectSet(sky, 10, "after night off");
    expectAllDeleted(firstNight, "by night off");
    for (const std::string& path : day) std::remove(path.c_str());
    for (const std::string& path : night) std::remove(path.c_str());
}

TEST_F(TexturesGl, SkyboxMissingFacesAndShortListsGiveEmptyTexturesInThoseSlots) {
    FaceList faces = writeFaceSet("_partial", 77);
    std::remove(faces[2].c_str());  // right
    SkyboxTextures sky;
    sky.loadFaces(faces);
    std::vector<GLuint> slots = slotsOf(sky);
    for (int i = 0; i < 6; ++i) {
        ASSERT_TRUE(glIsTexture(slots[i])) << sides[i];
        EXPECT_EQ(texelsOf(slots[i]).size(), i == 2 ? 0u : 64u) << sides[i];
    }
    glBindTexture(GL_TEXTURE_2D, sky.topFace);
    EXPECT_EQ(textureParameter(GL_TEXTURE_WRAP_S), GL_CLAMP_TO_EDGE);
    EXPECT_EQ(envMode(), GL_MODULATE);

    sky.loadFaces(FaceList(faces.begin(), faces.begin() + 2));
    expectAllDeleted(slots, "by the short list");
    slots = slotsOf(sky);
    for (int i = 0; i < 6; ++i) {
        ASSERT_TRUE(glIsTexture(slots[i])) << sides[i];
        EXPECT_EQ(texelsOf(slots[i]).size(), i < 2 ? 64u : 0u) << sides[i];
    }
    sky.loadFaces({});
    for (GLuint name : slotsOf(sky)) EXPECT_TRUE(texelsOf(name).empty());
    for (const std::string& path : faces) std::remove(path.c_str());
}
