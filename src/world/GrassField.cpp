// Drawing the grass field: one-unit cells, each carrying one whole copy of the texture.
#include "world/GrassField.h"

void GrassField::draw(const GameStatus& status) const {
    glEnable(GL_LIGHTING);
    if (status.texturesEnabled) {
        glEnable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, texture);
    }
    // One primitive for the whole field; in wireframe the cells join into one loop.
    glBegin(status.wireframe ? GL_LINE_LOOP : GL_QUADS);
    glNormal3f(0.0f, 1.0f, 0.0f);
    glColor3f(1.0f, 1.0f, 1.0f);
    // The first cell starts at the edge truncated toward zero; cells go on while their
    // start is below the far edge.
    for (int i = static_cast<int>(minX); static_cast<float>(i) < maxX; ++i) {
        const float x0 = static_cast<float>(i);
        const float x1 = static_cast<float>(i + 1);
        for (int j = static_cast<int>(minZ); static_cast<float>(j) < maxZ; ++j) {
            const float z0 = static_cast<float>(j);
            const float z1 = static_cast<float>(j + 1);
            glTexCoord2f(1.0f, 1.0f);
            glVertex3f(x1, groundY, z1);
            glTexCoord2f(1.0f, 0.0f);
            glVertex3f(x1, groundY, z0);
            glTexCoord2f(0.0f, 0.0f);
            glVertex3f(x0, groundY, z0);
            glTexCoord2f(0.0f, 1.0f);
            glVertex3f(x0, groundY, z1);
        }
    }
    glEnd();
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
}
