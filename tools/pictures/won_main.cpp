// larkmere_won OUT.png: the "YOU WON!" screen, drawn by the game's own frame of that state in
// a real window, for the README. A script cannot reach this screen reliably through the
// game: holding Up across ten lanes of traffic usually meets a car first.
#include <FreeImage.h>
#include <GL/gl.h>
#include <SDL2/SDL.h>
#include <cstdio>
#include <string>

#include "assets/SkyboxTextures.h"
#include "game/GameLoop.h"
#include "game/Shell.h"

int main(int argc, char** argv) {
    ShellWindow shell;
    std::string error;
    if (argc != 2 || SDL_Init(SDL_INIT_VIDEO) < 0 || !openGameWindow("Larkmere", shell, error)) {
        std::fprintf(stderr, "Larkmere: usage: larkmere_won OUT.png (needs a display) %s\n", error.c_str());
        return argc != 2 ? 2 : 1;
    }
    initBitmapFonts(&argc, argv);
    setupProjection();
    Camera camera;
    ScreenSize screen;
    Blackboard pauseBoard = makeBlackboard(), endBoard = makeBlackboard();
    Duck duck(camera, 0, 0);  // the end screen draws no duck
    GameWorld world{nullptr, FrameClock(), {}, daySkyboxFaces(), nightSkyboxFaces(), &camera,
                    &SkyboxTextures::instance(daySkyboxFaces(), camera), &screen, &pauseBoard, &endBoard,
                    &GrassField::instance(), &duck, makeTraffic()};
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
    if (!saved) std::fprintf(stderr, "Larkmere: cannot write \"%s\"\n", argv[1]);
    return saved ? 0 : 1;
}
