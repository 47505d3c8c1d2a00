// The sky box face textures and the day and night sets they come from.
#include "assets/SkyboxTextures.h"

#include "assets/Texture.h"

namespace {

FaceList facesNamed(const char* suffix) {
    FaceList faces;
    for (const char* side : {"left", "back", "right", "front", "top", "bottom"}) {
        faces.push_back(std::string("./assets/textures/skybox/") + side + suffix + ".png");
    }
    return faces;
}

}  // namespace

FaceList daySkyboxFaces() { return facesNamed(""); }

FaceList nightSkyboxFaces() { return facesNamed("_night"); }

SkyboxTextures& SkyboxTextures::instance(const FaceList& faces, Camera& camera) {
    static SkyboxTextures* record = nullptr;
    if (record == nullptr) {
        record = new SkyboxTextures();  // lives until the process ends, like its textures
        record->loadFaces(faces);
        record->camera = &camera;
    }
    return *record;
}

void SkyboxTextures::loadFaces(FaceList faces) {
    GLuint* const slots[] = {&leftFace, &backFace, &rightFace, &frontFace, &topFace, &bottomFace};
    GLuint replaced[6] = {};
    GLsizei replacedCount = 0;
    for (std::size_t i = 0; i < 6; ++i) {
        if (*slots[i] != 0) replaced[replacedCount++] = *slots[i];
        // A short list leaves the remaining slots with empty textures rather than reading
        // past its end.
        *slots[i] = loadTexture(i < faces.size() ? faces[i] : std::string(), 24, GL_CLAMP_TO_EDGE, GL_MODULATE);
    }
    // Every night toggle loads six new textures; the ones they replace would otherwise
    // pile up for the rest of the session.
    glDeleteTextures(replacedCount, replaced);
}
