// Checks on bitmap text read back from the window: where a line starts, its baseline, its width.
#pragma once

#include <GL/gl.h>
#include <array>

#include "support/Image.h"

// The bounding box of the bright (text) pixels in a window region; count 0 when none.
struct TextBox {
    int left = 0, top = 0, right = 0, bottom = 0, count = 0;
    int width() const { return right - left + 1; }
};

TextBox brightBox(const Image& image, int x0, int y0, int x1, int y1);
// Advance width of a text in the game's font, from freeglut's own metrics.
int textWidth(const char* text);
// A line whose baseline starts at window pixel (x, baseline) and that is as wide as the
// expected text (one blank more or less is five pixels); reads up to x1.
void expectLine(const Image& image, const char* text, int x, int baseline, int x1);
std::array<GLfloat, 16> currentMatrix(GLenum which);
