// Image files to OpenGL textures.
#pragma once

#include <FreeImage.h>
#include <GL/gl.h>
#include <string>

// The picture at path decoded at 24 or 32 bits, in FreeImage's layout (bottom row first,
// BGR(A), rows padded to 4 bytes); or null, after one line on standard error that names
// the file and says why. The caller releases it with FreeImage_Unload.
FIBITMAP* decodePicture(const std::string& path, int depth);

// Decodes path (format from its extension) at 24 or 32 bits and uploads it as a new
// texture, left bound to GL_TEXTURE_2D. A missing or undecodable file gives a valid,
// empty texture name.
GLuint loadTexture(const std::string& path, int depth, GLint wrap, GLint envMode);
