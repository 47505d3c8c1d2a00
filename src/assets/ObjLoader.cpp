// Compiles a read OBJ model into the duck's display lists.
#include "assets/ObjLoader.h"

#include <cstdio>
#include <cstdlib>

namespace {

GLenum solidPrimitive(std::size_t corners) {
    if (corners == 3) return GL_TRIANGLES;
    if (corners == 4) return GL_QUADS;
    return GL_POLYGON;
}

// The game cannot run without its model: a failure ends the process here, said in one line.
ObjModel readModelOrEnd(const std::string& path) {
    ObjFileRead read = readObjFile(path);
    if (!read.failure.empty()) {
        std::fputs(read.failure.c_str(), stderr);
        std::exit(1);
    }
    return std::move(read.model);
}

}  // namespace

void emitObjModel(const ObjModel& model, GLuint texture, float scale) {
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glColor3f(1.0f, 1.0f, 1.0f);
    for (const ObjFace& face : model.faces) {
        // Lighting is switched per face so the list leaves it off for whatever follows.
        glEnable(GL_LIGHTING);
        glBegin(solidPrimitive(face.corners()));
        for (std::size_t k = 0; k < face.corners(); ++k) {
            const ObjCorner corner = objCorner(model, face, k, scale);
            if (corner.hasTexCoord) glTexCoord2f(corner.s, corner.t);
            if (corner.hasNormal) glNormal3f(corner.normal.x, corner.normal.y, corner.normal.z);
            glVertex3f(corner.position.x, corner.position.y, corner.position.z);
        }
        glEnd();
        glDisable(GL_LIGHTING);
    }
}

void emitObjWireframe(const ObjModel& model, float scale) {
    // Nothing but vertices: the outlines take the colour and state of whoever calls them.
    for (const ObjFace& face : model.faces) {
        glBegin(GL_LINE_LOOP);
        for (std::size_t k = 0; k < face.corners(); ++k) {
            const ObjTriple p = objCorner(model, face, k, scale).position;
            glVertex3f(p.x, p.y, p.z);
        }
        glEnd();
    }
}

GLuint compileObjModel(const ObjModel& model, GLuint texture, float scale) {
    const GLuint list = glGenLists(1);
    glNewList(list, GL_COMPILE);
    emitObjModel(model, texture, scale);
    glEndList();
    return list;
}

GLuint compileObjWireframe(const ObjModel& model, float scale) {
    const GLuint list = glGenLists(1);
    glNewList(list, GL_COMPILE);
    emitObjWireframe(model, scale);
    glEndList();
    return list;
}

GLuint loadObjModel(const std::string& path, GLuint texture, float scale) {
    return compileObjModel(readModelOrEnd(path), texture, scale);
}

GLuint loadObjWireframe(const std::string& path, float scale) {
    return compileObjWireframe(readModelOrEnd(path), scale);
}

ObjLists loadObjLists(const std::string& path, GLuint texture, float scale) {
    const ObjModel model = readModelOrEnd(path);
    ObjLists lists;
    lists.solid = compileObjModel(model, texture, scale);
    lists.wireframe = compileObjWireframe(model, scale);
    return lists;
}
