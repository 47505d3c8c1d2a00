// Checks on bitmap text read back from the window.
#pragma once

#include <GL/gl.h>
#include <array>

#include "support/Image.h"

// A line whose baseline starts at window pixel (x, baseline) and that is as wide as the
// expected text (one blank more or less is five pixels); reads up to x1.
void expectLine(const Image& image, const char* text, int x, int baseline, int x1);
std::array<GLfloat, 16> currentMatrix(GLenum which);
