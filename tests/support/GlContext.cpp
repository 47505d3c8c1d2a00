// The GL test window: a real Mesa context on a private Xvfb.
#include "support/GlContext.h"

#include <GL/gl.h>
#include <GL/glu.h>
#include <SDL2/SDL.h>
#include <cstdlib>
#include <memory>
#include <string>

#include "game/Shell.h"
#include "support/Xvfb.h"

namespace {
std::unique_ptr<XvfbServer> server;
ShellWindow shell;
bool opened = false;
}  // namespace

void ensureGlContext() {
    if (opened) return;
    server = std::make_unique<XvfbServer>();
    setenv("DISPLAY", server->display().c_str(), 1);
    setenv("SDL_VIDEODRIVER", "x11", 1);
    if (SDL_Init(SDL_INIT_VIDEO) < 0) {
        FAIL() << "SDL_Init failed: " << SDL_GetError();
    }
    std::string error;
    if (!openGameWindow("Larkmere GL test", shell, error)) {
        FAIL() << error;
    }
    // Registered before glutInit so it runs after freeglut's own exit handler, which
    // still talks to the X server.
    std::atexit([] {
        closeGameWindow(shell);
        SDL_Quit();
        server.reset();
    });
    static int argc = 1;
    static char name[] = "larkmere_gl_tests";
    static char* argv[] = {name, nullptr};
    initBitmapFonts(&argc, argv);
    opened = true;
}

void swapGlWindow() { SDL_GL_SwapWindow(shell.window); }

void GlTest::SetUp() {
    ensureGlContext();
    ASSERT_TRUE(opened);
    while (glGetError() != GL_NO_ERROR) {
    }
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    setupProjection();
    glLoadIdentity();
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    glDisable(GL_COLOR_MATERIAL);
    glBindTexture(GL_TEXTURE_2D, 0);
    glColor4f(1, 1, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

void GlTest::TearDown() {
    // Drawing still queued in llvmpipe when the context is deleted at exit can hang it.
    glFinish();
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)) << "GL error left behind";
}

int glStackDepth(unsigned int which) { return glInteger(which); }

bool glEnabled(unsigned int capability) { return glIsEnabled(capability) == GL_TRUE; }

int glInteger(unsigned int name) {
    GLint value = 0;
    glGetIntegerv(name, &value);
    return value;
}
