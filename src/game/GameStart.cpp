// The start-up order: the duck, the camera, the clocks, the backdrop, the boards, the field,
// the lamps and the traffic, then the status record; records and sound come last.
#include "game/GameStart.h"

#include <cstdio>

#include "assets/ObjLoader.h"
#include "core/Language.h"

GameParts startGame(SDL_Window* window, const GameOptions& options, const TimeSource& now) {
    GameParts game;
    GameWorld& world = game.world;
    world.window = window;

    const ObjLists duckLists = loadDuckLists(loadDuckTexture());
    game.camera = std::make_unique<Camera>();
    world.camera = game.camera.get();
    world.clock = FrameClock(now);  // the frame clock's first reading

    world.dayFaces = daySkyboxFaces();
    world.nightFaces = nightSkyboxFaces();
    world.skybox = &SkyboxTextures::instance(world.dayFaces, *game.camera);
    // A second start in one process (tests, tools) keeps the record but not the old camera.
    world.skybox->camera = game.camera.get();

    game.screen = std::make_unique<ScreenSize>();
    world.screen = game.screen.get();
    game.pauseBoard = std::make_unique<Blackboard>(makeBlackboard());
    game.endBoard = std::make_unique<Blackboard>(makeBlackboard());
    world.pauseBoard = game.pauseBoard.get();
    world.endBoard = game.endBoard.get();

    world.field = &GrassField::instance();
    computeLampPositions(world.lighting, *world.field);
    game.duck = std::make_unique<Duck>(*game.camera, duckLists.solid, duckLists.wireframe);
    world.duck = game.duck.get();
    world.traffic = makeTraffic();

    GameStatus::instance() = GameStatus{};
    world.clock.restartPlay();  // the play clock starts stopped, at zero

    // Runs are kept as they end; the last one is on disk before the window closes.
    if (!options.recordsFolder.empty()) {
        game.records = std::make_unique<RecordBook>(options.recordsFolder);
        world.records = game.records.get();
    }
    // Sound comes last: without it the game is still a game.
    if (options.sound) {
        game.sound = std::make_unique<SoundPlayer>();
        std::string noSound;
        if (game.sound->open(noSound)) {
            world.sound = game.sound.get();
        } else {
            std::fprintf(stderr, tr("Larkmere: no sound: %s\n"), noSound.c_str());
        }
    }
    world.soundMuted = options.muted;

    // Any window size: the designed picture scaled whole. Controllers are an extra: without
    // them the keyboard still plays.
    if (window != nullptr) {
        game.picture = std::make_unique<ScaledPicture>(WindowWidth, WindowHeight);
        world.picture = game.picture.get();
    }
    if (options.controllers) {
        if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0) {
            game.pads = std::make_unique<Gamepads>();
            world.pads = game.pads.get();
        } else {
            std::fprintf(stderr, tr("Larkmere: no game controllers: %s\n"), SDL_GetError());
        }
    }
    return game;
}
