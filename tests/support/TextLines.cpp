// Text-line checks shared by the overlay and panel tests.
#include "support/TextLines.h"

#include <GL/freeglut.h>
#include <algorithm>
#include <gtest/gtest.h>

void expectLine(const Image& image, const char* text, int x, int baseline, int x1) {
    SCOPED_TRACE(text);
    const int advance = glutBitmapLength(GLUT_BITMAP_HELVETICA_18, reinterpret_cast<const unsigned char*>(text));
    // Bounding box of the bright pixels around the line.
    int left = x1, top = baseline + 6, right = x - 21, bottom = baseline - 21, count = 0;
    for (int py = baseline - 20; py < baseline + 6; ++py) {
        for (int px = x - 20; px < x1; ++px) {
            const Rgb p = image.at(px, py);
            if (p.r < 200 || p.g < 200 || p.b < 200) continue;
            ++count;
            left = std::min(left, px);
            right = std::max(right, px);
            top = std::min(top, py);
            bottom = std::max(bottom, py);
        }
    }
    ASSERT_GT(count, 0) << "no text";
    EXPECT_NEAR(left, x + 1, 1);
    // The ink ends one to four pixels short of the advance.
    EXPECT_LE(right - left + 1, advance - 1);
    EXPECT_GE(right - left + 1, advance - 4);
    EXPECT_NEAR(top, baseline - 14, 1);
    EXPECT_GE(bottom, baseline - 1);
}

std::array<GLfloat, 16> currentMatrix(GLenum which) {
    std::array<GLfloat, 16> m{};
    glGetFloatv(which, m.data());
    return m;
}
