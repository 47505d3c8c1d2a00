// The sky cube: six pictures around the camera target, drawn first and without depth.
#include "render/Skybox.h"

#include <GL/gl.h>

namespace {

struct Corner {
    float s, t;
    float x, y, z;  // in half sizes
};

void drawFace(GLuint texture, const Corner (&corners)[4], float h) {
    glBindTexture(GL_TEXTURE_2D, texture);
    glBegin(GL_QUADS);
    for (const Corner& c : corners) {
        glTexCoord2f(c.s, c.t);
        glVertex3f(c.x * h, c.y * h, c.z * h);
    }
    glEnd();
}

// Side faces are upright and unmirrored seen from inside; top and bottom run s with +x
// and t with +z.
constexpr Corner BackCorners[4] = {{0, 0, 1, -1, 1}, {1, 0, -1, -1, 1}, {1, 1, -1, 1, 1}, {0, 1, 1, 1, 1}};
constexpr Corner LeftCorners[4] = {{0, 0, -1, -1, 1}, {1, 0, -1, -1, -1}, {1, 1, -1, 1, -1}, {0, 1, -1, 1, 1}};
constexpr Corner FrontCorners[4] = {{1, 0, 1, -1, -1}, {0, 0, -1, -1, -1}, {0, 1, -1, 1, -1}, {1, 1, 1, 1, -1}};
constexpr Corner RightCorners[4] = {{0, 0, 1, -1, -1}, {1, 0, 1, -1, 1}, {1, 1, 1, 1, 1}, {0, 1, 1, 1, -1}};
constexpr Corner TopCorners[4] = {{1, 0, 1, 1, -1}, {0, 0, -1, 1, -1}, {0, 1, -1, 1, 1}, {1, 1, 1, 1, 1}};
constexpr Corner BottomCorners[4] = {{1, 1, 1, -1, 1}, {0, 1, -1, -1, 1}, {0, 0, -1, -1, -1}, {1, 0, 1, -1, -1}};

}  // namespace

void drawSkybox(const SkyboxTextures& textures, float size) {
    const float h = size * 0.5f;
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    const bool texturingWasOn = glIsEnabled(GL_TEXTURE_2D) == GL_TRUE;
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_TEXTURE_2D);

    // Without a camera the box stays around the origin rather than reading through null.
    const Vec3 centre = textures.camera != nullptr ? textures.camera->target : Vec3{};
    glPushMatrix();
    glTranslatef(centre.x, centre.y, centre.z);
    drawFace(textures.backFace, BackCorners, h);
    drawFace(textures.leftFace, LeftCorners, h);
    drawFace(textures.frontFace, FrontCorners, h);
    drawFace(textures.rightFace, RightCorners, h);
    drawFace(textures.topFace, TopCorners, h);
    drawFace(textures.bottomFace, BottomCorners, h);
    glPopMatrix();

    // Switched on here whatever it was: the previous pass's overlays left it off.
    glEnable(GL_DEPTH_TEST);
    if (!texturingWasOn) glDisable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, 0);
}
