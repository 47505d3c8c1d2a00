// The six sky box face textures and the day and night sets they are loaded from.
#pragma once

#include <GL/gl.h>
#include <string>
#include <vector>

struct Camera;

using FaceList = std::vector<std::string>;

// Paths in slot order: left, back, right, front, top, bottom.
FaceList daySkyboxFaces();
FaceList nightSkyboxFaces();

struct SkyboxTextures {
    GLuint leftFace = 0;
    GLuint backFace = 0;
    GLuint rightFace = 0;
    GLuint frontFace = 0;
    GLuint topFace = 0;
    GLuint bottomFace = 0;
    Camera* camera = nullptr;

    // First call creates the record, loads faces, stores the camera; later calls
    // return it unchanged.
    static SkyboxTextures& instance(const FaceList& faces, Camera& camera);
    // Loads the six paths into the six slots, then deletes the textures they replaced.
    // Slots beyond a shorter list get empty textures.
    void loadFaces(FaceList faces);
};
