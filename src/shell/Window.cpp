// Window and context creation, bitmap-font start-up and the fixed projection.
#include "shell/Window.h"

#include <GL/freeglut.h>
#include <GL/gl.h>
#include <GL/glu.h>
#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "assets/AssetFile.h"
#include "assets/Texture.h"
#include "core/Language.h"

#if defined(__SANITIZE_ADDRESS__)
#include <dlfcn.h>
#include <link.h>

// Sanitizer builds: D-Bus's connection record, which SDL's video start-up opens and libdbus keeps
// for the life of the process, is not ours to free; left out of the leak report, quietly, any
// leak the report shows is the game's own.
extern "C" const char* __lsan_default_suppressions() { return "leak:libdbus-1.so\n"; }
extern "C" const char* __lsan_default_options() { return "print_suppressions=0"; }

namespace {
// The GL driver stays loaded to the end, so its records are still reachable at the leak check.
void keepGlDriverLoaded() {
    dl_iterate_phdr(
        [](dl_phdr_info* info, size_t, void*) {
            if (std::strstr(info->dlpi_name, "_dri.so") != nullptr) dlopen(info->dlpi_name, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
            return 0;
        },
        nullptr);
}
}  // namespace
#else
namespace {
void keepGlDriverLoaded() {}
}  // namespace
#endif

std::string unusableVideoDriverReason(const char* driverName) {
    if (driverName == nullptr) return tr("no video driver is active");
    if (std::strcmp(driverName, "offscreen") == 0 || std::strcmp(driverName, "dummy") == 0 ||
        std::strcmp(driverName, "evdev") == 0) {
        return formatText(tr("no display available (SDL video driver '%s' shows nothing)"), driverName);
    }
    return {};
}

bool openGameWindow(const char* title, ShellWindow& shell, std::string& error, bool fullscreen) {
    const std::string reason = unusableVideoDriverReason(SDL_GetCurrentVideoDriver());
    if (!reason.empty()) {
        error = reason;
        return false;
    }
    shell.window = SDL_CreateWindow(title, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, WindowWidth,
                                    WindowHeight,
                                    SDL_WINDOW_OPENGL | SDL_WINDOW_SHOWN | SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI |
                                        (fullscreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0));
    if (shell.window == nullptr) {
        error = formatText(tr("could not create the window: %s"), SDL_GetError());
        return false;
    }
    shell.context = SDL_GL_CreateContext(shell.window);
    if (shell.context == nullptr) {
        error = formatText(tr("could not create the OpenGL context: %s"), SDL_GetError());
        SDL_DestroyWindow(shell.window);
        shell.window = nullptr;
        return false;
    }
    keepGlDriverLoaded();
    return true;
}

void closeGameWindow(ShellWindow& shell) {
    // Let llvmpipe finish queued drawing before its context goes away; deleting it under
    // pending work can leave the driver spinning at exit.
    if (shell.context) {
        glFinish();
        SDL_GL_DeleteContext(shell.context);
    }
    if (shell.window) SDL_DestroyWindow(shell.window);
    shell = ShellWindow{};
}

void setWindowIcon(SDL_Window* window, const std::string& path) {
    FIBITMAP* icon = decodePicture(path, 32);
    if (icon == nullptr) return;  // said why; the window keeps the desktop's default icon
    // The icon goes to X in one request; a large one is refused and X ends the game (2048
    // pixels square already is). Desktops show icons far smaller than this anyway.
    const unsigned width = FreeImage_GetWidth(icon), height = FreeImage_GetHeight(icon);
    if (width > MaxIconSide || height > MaxIconSide) {
        const double shrink = static_cast<double>(MaxIconSide) / std::max(width, height);
        FIBITMAP* smaller = FreeImage_Rescale(icon, std::max(1, static_cast<int>(width * shrink)),
                                              std::max(1, static_cast<int>(height * shrink)), FILTER_BOX);
        std::fprintf(stderr, smaller ? tr("Larkmere: picture \"%s\": %u x %u pixels is more than the %d x %d a window icon may be; scaled down\n")
                             : tr("Larkmere: picture \"%s\": %u x %u pixels is more than the %d x %d a window icon may be; left out\n"),
                     printable(path).c_str(), width, height, MaxIconSide, MaxIconSide);
        FreeImage_Unload(icon);
        if (smaller == nullptr) return;
        icon = smaller;
    }
    FreeImage_FlipVertical(icon);  // FreeImage keeps the bottom row first, SDL the top row
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(
        FreeImage_GetBits(icon), static_cast<int>(FreeImage_GetWidth(icon)), static_cast<int>(FreeImage_GetHeight(icon)), 32,
        static_cast<int>(FreeImage_GetPitch(icon)), SDL_PIXELFORMAT_BGRA32);
    if (surface != nullptr) SDL_SetWindowIcon(window, surface);  // SDL keeps its own copy
    SDL_FreeSurface(surface);
    FreeImage_Unload(icon);
}

namespace {
// freeglut calls this on a fatal error (no display for its fonts); it must not return.
void glutFatal(const char* format, va_list args) {
    char text[512];
    std::vsnprintf(text, sizeof text, format, args);
    std::fprintf(stderr, tr("Larkmere: cannot start the bitmap font (freeglut): %s\n"), text);
    std::exit(1);
}
}  // namespace

void initBitmapFonts(int* argc, char** argv) {
    glutInitErrorFunc(glutFatal);
    glutInit(argc, argv);
}

void setupProjection() {
    glMatrixMode(GL_PROJECTION);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    const float aspect = static_cast<float>(WindowWidth) / static_cast<float>(WindowHeight);
    gluPerspective(45.0, aspect, 0.1, 200.0);
    glEnable(GL_DEPTH_TEST);
    glMatrixMode(GL_MODELVIEW);
}
