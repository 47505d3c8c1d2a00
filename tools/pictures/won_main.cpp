// larkmere_won OUT.png: the "YOU WON!" screen, drawn by the game's own frame of that state in
// a real window, for the README. A script cannot reach this screen reliably through the
// game: holding Up across ten lanes of traffic usually meets a car first.
#include <FreeImage.h>
#include <GL/gl.h>
#include <SDL2/SDL.h>
#include <cstdio>
#include <string>

#include "game/GameStart.h"
#include "shell/Window.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "Larkmere: pictures: no output file given (usage: larkmere_won OUT.png)\n");
        return 2;
    }
    if (SDL_Init(SDL_INIT_VIDEO) < 0) {
        std::fprintf(stderr, "Larkmere: pictures: cannot start SDL: %s\n", SDL_GetError());
        return 1;
    }
    ShellWindow shell;
    std::string error;
    if (!openGameWindow("Larkmere", shell, error)) {
        std::fprintf(stderr, "Larkmere: pictures: %s\n", error.c_str());
        SDL_Quit();
        return 1;
    }
    initBitmapFonts(&argc, argv);
    setupProjection();
    // Drawn into the back buffer and read from there: no swap.
    GameParts game = startGame(nullptr);
    GameWorld& world = game.world;
    // A run that crossed all ten lanes (score 121) in 47 seconds.
    GameStatus& status = GameStatus::instance();
    status.state = GameState::Won;
    status.progress = -121;
    status.elapsedSeconds = 47;
    runPass(world, SDL_GetKeyboardState(nullptr));

    // The back buffer as drawn; FreeImage, like OpenGL, keeps the bottom row first.
    FIBITMAP* picture = FreeImage_Allocate(WindowWidth, WindowHeight, 24);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(0, 0, WindowWidth, WindowHeight, GL_BGR, GL_UNSIGNED_BYTE, FreeImage_GetBits(picture));
    const bool saved = FreeImage_Save(FIF_PNG, picture, argv[1], 0);
    FreeImage_Unload(picture);
    closeGameWindow(shell);
    SDL_Quit();
    if (!saved) std::fprintf(stderr, "Larkmere: pictures: cannot write \"%s\": FreeImage could not save it\n", argv[1]);
    return saved ? 0 : 1;
}
