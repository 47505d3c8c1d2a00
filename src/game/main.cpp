// Larkmere: start-up in its fixed order, the frame loop, and shutdown.
#include <GL/gl.h>
#include <SDL2/SDL.h>
#include <cstdio>
#include <string>

#include "assets/ObjLoader.h"
#include "assets/SkyboxTextures.h"
#include "game/GameLoop.h"
#include "game/GameStatus.h"
#include "game/Shell.h"

int main(int argc, char** argv) {
    // 1. Video.
    if (SDL_Init(SDL_INIT_VIDEO) < 0) {
        std::fprintf(stderr, "No se pudo iniciar SDL: %s\n", SDL_GetError());
        return 1;
    }
    // 2-3. Window and context; a game nobody can see is a failure, not a run.
    ShellWindow shell;
    std::string error;
    if (!openGameWindow("Larkmere", shell, error)) {
        std::fprintf(stderr, "Larkmere: %s\n", error.c_str());
        SDL_Quit();
        return 1;
    }
    // 4. Bitmap fonts only.
    initBitmapFonts(&argc, argv);
    // 5. Fixed projection and depth test.
    setupProjection();

    // 6-7. The duck's texture, then its solid and outline display lists from one reading
    // of the model.
    const ObjLists duckLists = loadDuckLists(loadDuckTexture());

    // 8. The camera, which carries the player's place.
    Camera* camera = new Camera();

    // 9. First frame-clock reading.
    GameWorld world;
    world.window = shell.window;
    world.clock.frameLast = world.clock.now();
    world.camera = camera;

    // 10. Sky box face lists and the day set.
    world.dayFaces = daySkyboxFaces();
    world.nightFaces = nightSkyboxFaces();
    world.skybox = &SkyboxTextures::instance(world.dayFaces, *camera);

    // 11. Window size for the overlays.
    world.screen = new ScreenSize();

    // 12. The pause panel's board, then the end screen's.
    world.pauseBoard = new Blackboard(makeBlackboard());
    world.endBoard = new Blackboard(makeBlackboard());

    // 13. The grass field and its texture.
    world.field = &GrassField::instance();

    // 14. Night lamps, the duck, the traffic.
    computeLampPositions(world.lighting, *world.field);
    world.duck = new Duck(*camera, duckLists.solid, duckLists.wireframe);
    world.traffic = makeTraffic();

    // 15. The run's status record (Paused, on the help panel).
    GameStatus::instance();

    // 16. The play clock, stopped.
    world.clock.clockRunning = false;
    world.clock.playStart = world.clock.now();
    world.clock.playLast = world.clock.now();

    const uint8_t* keyState = SDL_GetKeyboardState(nullptr);
    while (!world.quitRequested) runPass(world, keyState);

    closeGameWindow(shell);
    SDL_Quit();
    return 0;
}
