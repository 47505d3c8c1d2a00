// Text-line checks shared by the overlay and panel tests.
#include "support/TextLines.h"

#include <GL/freeglut.h>
#include <algorithm>
#include <gtest/gtest.h>

TextBox brightBox(const Image& image, int x0, int y0, int x1, int y1) {
    TextBox box{x1, y1, x0 - 1, y0 - 1, 0};
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            const Rgb p = image.at(x, y);
            if (p.r < 200 || p.g < 200 || p.b < 200) continue;
            ++box.count;
            box.left = std::min(box.left, x);
            box.right = std::max(box.right, x);
            box.top = std::min(box.top, y);
            box.bottom = std::max(box.bottom, y);
        }
    }
    return box;
}

int textWidth(const char* text) {
    return glutBitmapLength(GLUT_BITMAP_HELVETICA_18, reinterpret_cast<const unsigned char*>(text));
}

void expectLine(const Image& image, const char* text, int x, int baseline, int x1) {
    SCOPED_TRACE(text);
    const TextBox box = brightBox(image, x - 20, baseline - 20, x1, baseline + 6);
    ASSERT_GT(box.count, 0) << "no text";
    EXPECT_NEAR(box.left, x + 1, 1);
    // The ink ends one to four pixels short of the advance.
    EXPECT_LE(box.width(), textWidth(text) - 1);
    EXPECT_GE(box.width(), textWidth(text) - 4);
    EXPECT_NEAR(box.top, baseline - 14, 1);
    EXPECT_GE(box.bottom, baseline - 1);
}

std::array<GLfloat, 16> currentMatrix(GLenum which) {
    std::array<GLfloat, 16> m{};
    glGetFloatv(which, m.data());
    return m;
}
