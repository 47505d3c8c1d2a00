// Wavefront OBJ reading and the duck's two display lists (solid textured, outlines).
#pragma once

#include <GL/gl.h>
#include <string>

// Compiles the lit, textured model; ends the process with status 1 if path cannot be opened.
GLuint loadObjModel(const std::string& path, GLuint texture, float scale);
// Compiles the face outlines; same reading and failure as loadObjModel.
GLuint loadObjWireframe(const std::string& path, float scale);
