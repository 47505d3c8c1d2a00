// GL test fixture: one real 1000 x 480 window and OpenGL context per test process, on a
// private Xvfb, with glutInit called once so bitmap text can be drawn.
#pragma once

#include <gtest/gtest.h>

// Opens the window and context on first use; later calls return at once.
void ensureGlContext();
// Swaps the test window's buffers (for tests that look at a shown frame).
void swapGlWindow();

class GlTest : public ::testing::Test {
protected:
    // Resets the GL state a test may depend on to what the game has after start-up:
    // identity matrices, the game's projection, depth test on, lighting, texturing and
    // blending off, colour white, buffers cleared.
    void SetUp() override;
    void TearDown() override;
};

int glStackDepth(unsigned int which);  // GL_MODELVIEW_STACK_DEPTH or GL_PROJECTION_STACK_DEPTH
bool glEnabled(unsigned int capability);
int glInteger(unsigned int name);
