// Window, context and projection set-up shared by the game and the GL tests.
#pragma once

#include <SDL2/SDL.h>
#include <string>

#include "core/Screen.h"

struct ShellWindow {
    SDL_Window* window = nullptr;
    SDL_GLContext context = nullptr;
};

// Why the game cannot show a window, or empty when it can. SDL may come up on a driver
// that shows nothing (offscreen, dummy); the game must not run invisibly there.
std::string unusableVideoDriverReason(const char* driverName);

// Creates the centred 1000 x 480 window (resizable; desktop fullscreen when asked) and its
// GL context. On failure returns false and puts a one-line reason into error.
bool openGameWindow(const char* title, ShellWindow& shell, std::string& error, bool fullscreen = false);
void closeGameWindow(ShellWindow& shell);

// The largest icon side handed to the window system; a larger picture is scaled down.
constexpr int MaxIconSide = 512;

// The window's icon from a picture file (32 bits with alpha); a file that cannot be used
// is reported as any picture is, and the window keeps the desktop's default icon.
void setWindowIcon(SDL_Window* window, const std::string& path);

// Installs a glut error handler that reports and exits with status 1 instead of letting
// freeglut print its own text, then calls glutInit.
void initBitmapFonts(int* argc, char** argv);

// The fixed projection: 45 degree field of view, window aspect in single precision,
// near 0.1, far 200; depth test on; modelview current.
void setupProjection();
