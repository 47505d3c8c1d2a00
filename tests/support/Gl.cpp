// The GL test window: a real Mesa context on the display the test runs on.
#include "support/Gl.h"

#include <algorithm>
#include <cstdlib>
#include <string>

#include "shell/Window.h"
#include "render/Overlay.h"

static ShellWindow shell;

SDL_Window* ensureGlContext() {
    if (shell.window != nullptr) return shell.window;
    setenv("SDL_VIDEODRIVER", "x11", 1);
    std::string error;
    if (SDL_Init(SDL_INIT_VIDEO) < 0 || !openGameWindow("Larkmere GL test", shell, error)) {
        ADD_FAILURE() << "no GL window: " << SDL_GetError() << " " << error;
        return nullptr;
    }
    // Registered before glutInit, so it runs after freeglut's own exit handler, which
    // still talks to the X server.
    std::atexit([] {
        closeGameWindow(shell);
        SDL_Quit();
    });
    static int argc = 1;
    static char name[] = "gl_tests";
    static char* argv[] = {name, nullptr};
    initBitmapFonts(&argc, argv);
    return shell.window;
}

void GlTest::SetUp() {
    ASSERT_NE(ensureGlContext(), nullptr);
    while (glGetError() != GL_NO_ERROR) continue;
    SDL_SetRelativeMouseMode(SDL_FALSE);  // a playing pass of an earlier test may have taken the mouse
    SDL_PumpEvents();
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    setupProjection();
    glLoadIdentity();
    for (GLenum cap : {GL_LIGHTING, GL_TEXTURE_2D, GL_BLEND, GL_COLOR_MATERIAL}) glDisable(cap);
    glBindTexture(GL_TEXTURE_2D, 0);
    glColor4f(1, 1, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void GlTest::TearDown() {
    // Drawing still queued in llvmpipe when the context is deleted at exit can hang it.
    glFinish();
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)) << "GL error left behind";
}

Image readFramebuffer() {
    Image image{WindowWidth, WindowHeight, std::vector<uint8_t>(size_t(WindowWidth) * WindowHeight * 3)};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, WindowWidth, WindowHeight, GL_BGR, GL_UNSIGNED_BYTE, image.bgr.data());
    return image;
}

TextMask textMask(const char* text) {
    constexpr int PenX = 40, PenY = 100;
    glClearColor(0, 0, 0, 1), glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    beginOverlay(ScreenSize{}), drawText(text, PenX, PenY), endOverlay(), glEnable(GL_DEPTH_TEST);
    const Image image = readFramebuffer();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);

    TextMask mask{text, {}, {}};
    int x0 = image.width, x1 = 0, y0 = image.height, y1 = 0;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            if (image.at(x, y).r >= 128)
                mask.ink.emplace_back(x - PenX, y - PenY), x0 = std::min(x0, x), x1 = std::max(x1, x), y0 = std::min(y0, y), y1 = std::max(y1, y);
    // Paper: two rows above and below the ink, and one letter's width at each end.
    for (int y = y0 - 2; y <= y1 + 2; ++y)
        for (int x = x0 - 10; x <= x1 + 10; ++x)
            if (image.at(x, y).r < 128) mask.paper.emplace_back(x - PenX, y - PenY);
    return mask;
}

Matrix currentMatrix(GLenum which) {
    Matrix matrix{};
    glGetFloatv(which, matrix.data());
    return matrix;
}
