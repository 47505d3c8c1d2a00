// The sky cube: six pictures around the camera target, drawn first and without depth.
#include "render/Skybox.h"

#include <GL/gl.h>

#include "core/SkyboxFaces.h"
#include "player/Camera.h"

namespace {

void drawFace(GLuint texture, SkyboxSlot slot, float h) {
    glBindTexture(GL_TEXTURE_2D, texture);
    glBegin(GL_QUADS);
    for (const SkyboxCorner& c : SkyboxFaceTable[slot].corners) {
        glTexCoord2f(c.s, c.t);
        glVertex3f(c.x * h, c.y * h, c.z * h);
    }
    glEnd();
}

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
    drawFace(textures.backFace, BackSlot, h);
    drawFace(textures.leftFace, LeftSlot, h);
    drawFace(textures.frontFace, FrontSlot, h);
    drawFace(textures.rightFace, RightSlot, h);
    drawFace(textures.topFace, TopSlot, h);
    drawFace(textures.bottomFace, BottomSlot, h);
    glPopMatrix();

    // Switched on here whatever it was: the previous pass's overlays left it off.
    glEnable(GL_DEPTH_TEST);
    if (!texturingWasOn) glDisable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, 0);
}
