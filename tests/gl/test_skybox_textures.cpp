// The sky box texture record: which picture lands in which slot, what a set swap creates
// and deletes, and how long a night toggle's six loads take with the game's own pictures.
#include <gtest/gtest.h>

#include <GL/gl.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>
#include <unistd.h>
#include <vector>

#include "assets/SkyboxTextures.h"
#include "support/GlContext.h"
#include "support/Image.h"

namespace {

const char* const sides[] = {"left", "back", "right", "front", "top", "bottom"};

std::string tempPath(const std::string& name) {
    return testing::TempDir() + "larkmere_sky_" + std::to_string(getpid()) + "_" + name;
}

// Six 4 x 4 one-colour pictures, a different colour per slot and per set.
FaceList writeFaceSet(const std::string& set, int shade) {
    FaceList faces;
    for (int i = 0; i < 6; ++i) {
        Image picture;
        picture.width = 4;
        picture.height = 4;
        for (int p = 0; p < 16; ++p) {
            picture.rgb.push_back(static_cast<uint8_t>(40 * i));
            picture.rgb.push_back(static_cast<uint8_t>(shade));
            picture.rgb.push_back(static_cast<uint8_t>(255 - 40 * i));
        }
        faces.push_back(tempPath(std::string(sides[i]) + set + ".png"));
        EXPECT_TRUE(saveImage(picture, faces.back()));
    }
    return faces;
}

std::vector<GLuint> slotsOf(const SkyboxTextures& sky) {
    return {sky.leftFace, sky.backFace, sky.rightFace, sky.frontFace, sky.topFace, sky.bottomFace};
}

int levelWidth(GLuint texture) {
    glBindTexture(GL_TEXTURE_2D, texture);
    GLint width = -1;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    return width;
}

// The one colour of a face texture, as (red, green, blue); -1s when it has no picture.
Rgb colourOf(GLuint texture) {
    if (levelWidth(texture) <= 0) return {-1, -1, -1};
    std::vector<GLubyte> texels(4 * 4 * 4);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    return {texels[0], texels[1], texels[2]};
}

void expectSet(const SkyboxTextures& sky, int shade, const char* when) {
    const std::vector<GLuint> slots = slotsOf(sky);
    for (int i = 0; i < 6; ++i) {
        const Rgb colour = colourOf(slots[i]);
        EXPECT_EQ(colour.r, 40 * i) << sides[i] << " slot " << when;
        EXPECT_EQ(colour.g, shade) << sides[i] << " slot " << when;
        EXPECT_EQ(colour.b, 255 - 40 * i) << sides[i] << " slot " << when;
    }
}

void expectAllDeleted(const std::vector<GLuint>& names, const char* when) {
    for (GLuint name : names) EXPECT_FALSE(glIsTexture(name)) << "texture " << name << " kept " << when;
}

class SkyboxTexturesGl : public GlTest {
protected:
    void TearDown() override {
        glBindTexture(GL_TEXTURE_2D, 0);
        GlTest::TearDown();
    }
};

}  // namespace

TEST(SkyboxFaceLists, NameTheFilesInSlotOrder) {
    const FaceList day = daySkyboxFaces();
    const FaceList night = nightSkyboxFaces();
    ASSERT_EQ(day.size(), 6u);
    ASSERT_EQ(night.size(), 6u);
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(day[i], std::string("./assets/textures/skybox/") + sides[i] + ".png");
        EXPECT_EQ(night[i], std::string("./assets/textures/skybox/") + sides[i] + "_night.png");
    }
}

TEST_F(SkyboxTexturesGl, InstanceLoadsOnceAndEachSwapReplacesAndDeletesTheSix) {
    const FaceList day = writeFaceSet("_day", 10);
    const FaceList night = writeFaceSet("_night", 200);
    Camera camera;
    Camera otherCamera;

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
    for (GLuint name : slotsOf(sky)) EXPECT_TRUE(glIsTexture(name));

    // A long session of toggles keeps exactly six live sky textures.
    std::vector<GLuint> everyName;
    for (int toggle = 0; toggle < 20; ++toggle) {
        sky.loadFaces(toggle % 2 ? day : night);
        for (GLuint name : slotsOf(sky)) everyName.push_back(name);
    }
    int live = 0;
    for (GLuint name : everyName) live += glIsTexture(name) ? 1 : 0;
    EXPECT_EQ(live, 6);
    expectSet(sky, 10, "after an even number of toggles");
    for (const std::string& path : day) std::remove(path.c_str());
    for (const std::string& path : night) std::remove(path.c_str());
}

TEST_F(SkyboxTexturesGl, MissingFacesAndShortListsGiveEmptyTexturesInThoseSlots) {
    FaceList faces = writeFaceSet("_partial", 77);
    std::remove(faces[2].c_str());  // right
    SkyboxTextures sky;
    sky.loadFaces(faces);
    std::vector<GLuint> slots = slotsOf(sky);
    for (int i = 0; i < 6; ++i) {
        ASSERT_TRUE(glIsTexture(slots[i])) << sides[i];
        EXPECT_EQ(levelWidth(slots[i]), i == 2 ? 0 : 4) << sides[i];
    }
    GLint wrap = 0;
    glBindTexture(GL_TEXTURE_2D, sky.topFace);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &wrap);
    EXPECT_EQ(wrap, GL_CLAMP_TO_EDGE);
    GLint mode = 0;
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &mode);
    EXPECT_EQ(mode, GL_MODULATE);

    sky.loadFaces(FaceList(faces.begin(), faces.begin() + 2));
    expectAllDeleted(slots, "by the short list");
    slots = slotsOf(sky);
    for (int i = 0; i < 6; ++i) {
        ASSERT_TRUE(glIsTexture(slots[i])) << sides[i];
        EXPECT_EQ(levelWidth(slots[i]), i < 2 ? 4 : 0) << sides[i];
    }
    sky.loadFaces({});
    for (GLuint name : slotsOf(sky)) EXPECT_EQ(levelWidth(name), 0);
    for (const std::string& path : faces) std::remove(path.c_str());
}

TEST_F(SkyboxTexturesGl, NightToggleLoadTimeWithTheGamesPictures) {
    for (const std::string& path : nightSkyboxFaces()) {
        if (!std::ifstream(path)) GTEST_SKIP() << path << " is not there yet";
    }
    SkyboxTextures sky;
    sky.loadFaces(daySkyboxFaces());
    glFinish();
    const auto start = std::chrono::steady_clock::now();
    sky.loadFaces(nightSkyboxFaces());
    glFinish();
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    for (GLuint name : slotsOf(sky)) EXPECT_GT(levelWidth(name), 0);
    RecordProperty("night_toggle_ms", std::to_string(ms));
    std::cout << "night toggle: six sky box loads took " << ms << " ms\n";
}
