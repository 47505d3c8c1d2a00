// Whole passes of the frame loop in a real GL context: which rules run in which state,
// state changes taking effect on the next pass, restart, and keys handled through SDL's queue.
#include <gtest/gtest.h>

#include <SDL2/SDL.h>
#include <chrono>

#include "assets/SkyboxTextures.h"
#include "game/GameLoop.h"
#include "support/GlContext.h"
#include "support/Image.h"

namespace {
using std::chrono::milliseconds;

void pushKeyRelease(SDL_Keycode key) {
    SDL_Event event{};
    event.type = event.key.type = SDL_KEYUP;
    event.key.keysym.sym = key;
    SDL_PushEvent(&event);
}

class GameLoopTest : public GlTest {
protected:
    SteadyTime now{};
    Camera camera;
    SkyboxTextures skybox;
    ScreenSize screen;
    Blackboard pauseBoard, endBoard;
    GrassField field;
    Duck duck{camera, 0, 0};
    GameWorld world;
    uint8_t keys[SDL_NUM_SCANCODES] = {};

    void SetUp() override {
        GlTest::SetUp();
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
        GameStatus::instance() = GameStatus{};
        skybox.camera = &camera;
        // A name without a list: these tests look at the rules, not at the duck's picture.
        duck.texturedList = duck.plainList = glGenLists(1);
        // No window: the passes draw into the test window's back buffer.
        world = GameWorld{nullptr, FrameClock([this] { return now; }), {}, daySkyboxFaces(), nightSkyboxFaces(),
                          &camera, &skybox, &screen, &pauseBoard, &endBoard, &field, &duck, makeTraffic()};
        computeLampPositions(world.lighting, field);
    }
    void TearDown() override {
        glFinish();  // rasterise now rather than when the window is closed at exit
        SDL_SetRelativeMouseMode(SDL_FALSE);
        GlTest::TearDown();
    }

    void pass(milliseconds length = milliseconds(20)) {
        now += length;
        runPass(world, keys);
    }
    // Puts the lane 1 car's centre right on the duck's place.
    void parkCarOnTheDuck() {
        Car& car = world.traffic[0];
        car.position = Vec3{camera.target.x + 1.0f, 2.0f, camera.target.z + 1.0f};
        car.speed = 0.0f;
    }
    void expectCarsAt(const Traffic& before) {
        for (size_t i = 0; i < before.size(); ++i) {
            EXPECT_EQ(world.traffic[i].position.x, before[i].position.x) << "car " << i;
            EXPECT_EQ(world.traffic[i].speed, before[i].speed) << "car " << i;
        }
    }
    GameStatus& status() { return GameStatus::instance(); }
};
}  // namespace

TEST_F(GameLoopTest, ThePausedStartNeitherMovesCarsNorRunsTheRules) {
    parkCarOnTheDuck();
    camera.target.z = -61.0f;  // beyond the goal, yet nothing may be won while paused
    const Traffic before = world.traffic;
    for (int i = 0; i < 5; ++i) pass();
    EXPECT_EQ(status().state, GameState::Paused);
    EXPECT_EQ(status().progress, 0);
    EXPECT_EQ(status().elapsedSeconds, 0);
    expectCarsAt(before);
}

TEST_F(GameLoopTest, PlayingMovesTheCarsAndCountsPlayTime) {
    status().state = GameState::Playing;
    pass(milliseconds(0));
    for (int i = 0; i < 10; ++i) pass(milliseconds(110));
    EXPECT_EQ(status().elapsedSeconds, 1);
    for (const Car& car : world.traffic) EXPECT_NE(car.position.x, 10.0f);
}

TEST_F(GameLoopTest, AHitShowsTheEndScreenFromTheNextPassUnlessPIsReleasedInThatPass) {
    status().state = GameState::Playing;
    pass();
    parkCarOnTheDuck();
    pushKeyRelease(SDLK_p);
    pass();
    EXPECT_EQ(status().state, GameState::Paused);
    status().state = GameState::Playing;
    pass();
    EXPECT_EQ(status().state, GameState::GameOver);

    const Traffic frozen = world.traffic;
    const GameStatus atTheHit = status();
    camera.target.z = -80.0f;
    for (int i = 0; i < 5; ++i) pass(milliseconds(400));
    EXPECT_EQ(status().state, GameState::GameOver);
    EXPECT_EQ(status().progress, atTheHit.progress);
    EXPECT_EQ(status().elapsedSeconds, atTheHit.elapsedSeconds);
    expectCarsAt(frozen);
}

TEST_F(GameLoopTest, RestartKeepsTheCarsWhereTheyStoodAndTheSettingsAsTheyWere) {
    status().state = GameState::Playing;
    pass();
    for (int i = 0; i < 7; ++i) pass(milliseconds(150));
    status().wireframe = true;
    status().gameSpeed = GameSpeed::Fast;
    world.lighting.daylight = 0.0f;
    camera.target = Vec3{3.0f, 3.0f, 20.0f};
    status().state = GameState::GameOver;
    status().progress = -40;
    pass();
    const Traffic atTheEnd = world.traffic;

    pushKeyRelease(SDLK_r);
    pass();
    EXPECT_EQ(status().state, GameState::Playing);
    EXPECT_EQ(status().progress, 0);
    EXPECT_EQ(status().elapsedSeconds, 0);
    EXPECT_FLOAT_EQ(camera.target.z, 60.0f);
    EXPECT_FLOAT_EQ(camera.eye.z, 70.0f);
    expectCarsAt(atTheEnd);
    EXPECT_TRUE(status().wireframe);
    EXPECT_EQ(status().gameSpeed, GameSpeed::Fast);
    EXPECT_EQ(world.lighting.daylight, 0.0f);

    // The clock counts the new run from zero, from the start of its first playing pass.
    for (int i = 0; i < 10; ++i) pass(milliseconds(100));
    EXPECT_EQ(status().elapsedSeconds, 0);
    pass(milliseconds(150));
    EXPECT_EQ(status().elapsedSeconds, 1);
}

TEST_F(GameLoopTest, HeldArrowsDoNotWalkTheDuckWhilePaused) {
    status().state = GameState::Playing;
    keys[SDL_SCANCODE_UP] = 1;
    pass();
    pass(milliseconds(100));
    ASSERT_TRUE(camera.keyForward);
    EXPECT_LT(camera.target.z, 60.0f);

    pushKeyRelease(SDLK_p);
    pass();
    ASSERT_EQ(status().state, GameState::Paused);
    const Vec3 target = camera.target;
    for (int i = 0; i < 10; ++i) pass(milliseconds(100));
    EXPECT_EQ(camera.target.z, target.z);
    EXPECT_EQ(camera.target.x, target.x);
    EXPECT_TRUE(camera.keyForward) << "flags keep their last playing value";
}

TEST_F(GameLoopTest, SpeedScalesTheWalk) {
    keys[SDL_SCANCODE_UP] = 1;
    camera.orbitView = false;
    float distance[3];
    for (GameSpeed speed : {GameSpeed::Slow, GameSpeed::Normal, GameSpeed::Fast}) {
        camera.reset(Vec3{6.0f, 5.0f, 70.0f}, Vec3{0.0f, 3.0f, 60.0f});
        status().state = GameState::Playing;
        status().gameSpeed = speed;
        pass();
        const float start = camera.target.z;
        pass(milliseconds(200));
        distance[static_cast<int>(speed)] = start - camera.target.z;
    }
    EXPECT_NEAR(distance[1], 3.0f, 1e-3f);
    EXPECT_NEAR(distance[0], distance[1] * 0.5f, 1e-3f);
    EXPECT_NEAR(distance[2], distance[1] * 2.0f, 1e-3f);
}

TEST_F(GameLoopTest, NTwiceReloadsTheDayFacesWithNewTextures) {
    skybox.loadFaces(world.dayFaces);
    const GLuint firstDay = skybox.frontFace;
    status().state = GameState::Playing;
    pass();
    const Image day = readFramebuffer();
    pushKeyRelease(SDLK_n);
    pass();
    EXPECT_TRUE(world.lighting.nightMode);
    const GLuint night = skybox.frontFace;
    EXPECT_NE(night, firstDay);
    pass();
    const Image nightShot = readFramebuffer();
    pushKeyRelease(SDLK_n);
    pass();
    EXPECT_FALSE(world.lighting.nightMode);
    EXPECT_NE(skybox.frontFace, night);
    EXPECT_TRUE(glIsTexture(skybox.frontFace));
    pass();
    // The day picture is back: the top of the sky is as bright as before the toggles.
    const Rgb dayAgain = readFramebuffer().mean(300, 0, 700, 40);
    EXPECT_NEAR(dayAgain.b, day.mean(300, 0, 700, 40).b, 3);
    EXPECT_GT(dayAgain.b, nightShot.mean(300, 0, 700, 40).b + 60) << "the night sky is darker than the day sky";
}
