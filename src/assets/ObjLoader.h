// Wavefront OBJ reading and the duck's two display lists (solid textured, outlines).
#pragma once

#include <GL/gl.h>
#include <string>

#include "assets/ObjReader.h"

// Compiles the lit, textured model; ends the process with status 1 if path cannot be opened.
GLuint loadObjModel(const std::string& path, GLuint texture, float scale);
// Compiles the face outlines; same reading and failure as loadObjModel.
GLuint loadObjWireframe(const std::string& path, float scale);

struct ObjLists {
    GLuint solid = 0;
    GLuint wireframe = 0;
};
// Both lists from one reading of the file (same failure as loadObjModel).
ObjLists loadObjLists(const std::string& path, GLuint texture, float scale);

// The commands of each list, for a model from readObj (whose faces all name elements it
// has). They run in immediate mode as well as inside glNewList, so
// the same code can be checked under GL_FEEDBACK.
void emitObjModel(const ObjModel& model, GLuint texture, float scale);
void emitObjWireframe(const ObjModel& model, float scale);

// Compile an already read model into a new display list and return its name.
GLuint compileObjModel(const ObjModel& model, GLuint texture, float scale);
GLuint compileObjWireframe(const ObjModel& model, float scale);
