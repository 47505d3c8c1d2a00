// A pass that comes seconds late (the process stopped, the machine suspended): the world moves
// no further than a quarter of a second of play, and a car crossing the duck's place on the
// way still ends the run.
#include "game/GameStart.h"
#include "support/Gl.h"

TEST_F(GlTest, ALatePassMovesAQuarterSecondAndStillSeesEveryCar) {
    SteadyTime now{};
    GameParts game = startGame(nullptr, {}, [&] { return now; });
    GameWorld& world = game.world;
    Camera& camera = *game.camera;
    Duck& duck = *game.duck;
    duck.texturedList = duck.plainList = glGenLists(1);
    uint8_t keys[SDL_NUM_SCANCODES] = {};
    keys[SDL_SCANCODE_UP] = 1;
    camera.orbitView = false;
    GameStatus& status = GameStatus::instance() = GameStatus{GameState::Playing};
    runPass(world, keys);  // polls the arrow held

    // Ten seconds late with Up held: 0.25 s of walking at 15 units a second, not 150 units
    // through every lane; the play clock still counts the ten seconds.
    const float z = camera.target.z;
    now += std::chrono::seconds(10);
    runPass(world, keys);
    EXPECT_NEAR(z - camera.target.z, 3.75f, 1e-3f);
    EXPECT_EQ(std::make_pair(status.state, status.elapsedSeconds), std::make_pair(GameState::Playing, 10));

    // The fastest car 6 units west of the duck covers 13.5 units in that quarter second: in
    // one leap it would land 7.5 units east, never touching; in steps it meets the duck.
    keys[SDL_SCANCODE_UP] = 0;
    runPass(world, keys);
    Car& car = world.traffic[9];
    car.position = Vec3{duck.position.x - 6.0f, 3.0f, duck.position.z};
    now += std::chrono::seconds(10);
    runPass(world, keys);
    EXPECT_EQ(status.state, GameState::GameOver);
    EXPECT_LT(car.position.x, duck.position.x + 2.0f) << "the cars stop where the run ended";
}
