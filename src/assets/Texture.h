// Image files to OpenGL textures.
#pragma once

#include <GL/gl.h>
#include <string>

// Decodes path (format from its extension) at 24 or 32 bits and uploads it as a new
// texture, left bound to GL_TEXTURE_2D. A missing or undecodable file gives a valid,
// empty texture name.
GLuint loadTexture(const std::string& path, int depth, GLint wrap, GLint envMode);
