// Whole passes of the frame loop in a real GL context: which rules run in which state,
// state changes taking effect on the next pass, restart, and keys handled through SDL's queue.
#include <gtest/gtest.h>

#include <SDL2/SDL.h>
#include <chrono>
#include <cmath>
#include <memory>

#include "assets/SkyboxTextures.h"
#include "game/GameLoop.h"
#include "support/GlContext.h"
#include "support/Image.h"

namespace {
using std::chrono::milliseconds;

void pushKeyRelease(SDL_Keycode key) {
    SDL_Event event{};
    event.type = SDL_KEYUP;
    event.key.type = SDL_KEYUP;
    event.key.keysym.sym = key;
    SDL_PushEvent(&event);
}

class GameLoopTest : public GlTest {
protected:
    SteadyTime now{};
    Camera camera;
    SkyboxTextures skybox;
    ScreenSize screen;
    Blackboard pauseBoard;
    Blackboard endBoard;
    GrassField field;
    std::unique_ptr<Duck> duck;
    GameWorld world;
    uint8_t keys[SDL_NUM_SCANCODES] = {};

    void SetUp() override {
        GlTest::SetUp();
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
        GameStatus::instance() = GameStatus{};
        skybox.camera = &camera;
        // Empty lists: these tests look at the rules, not at the duck's picture.
        const GLuint lists = glGenLists(2);
        glNewList(lists, GL_COMPILE);
        glEndList();
        glNewList(lists + 1, GL_COMPILE);
        glEndList();
        duck = std::make_unique<Duck>(camera, lists, lists + 1);
        world.clock = FrameClock([this] { return now; });
        world.dayFaces = daySkyboxFaces();
        world.nightFaces = nightSkyboxFaces();
        world.camera = &camera;
        world.skybox = &skybox;
        world.screen = &screen;
        world.pauseBoard = &pauseBoard;
        world.endBoard = &endBoard;
        world.field = &field;
        world.duck = duck.get();
        world.traffic = makeTraffic();
        computeLampPositions(world.lighting, field);
    }
    void TearDown() override {
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
    for (size_t i = 1; i < world.traffic.size(); ++i) EXPECT_EQ(world.traffic[i].position.x, before[i].position.x);
}

TEST_F(GameLoopTest, PlayingMovesTheCarsAndCountsPlayTime) {
    status().state = GameState::Playing;
    pass(milliseconds(0));
    for (int i = 0; i < 10; ++i) pass(milliseconds(110));
    EXPECT_EQ(status().elapsedSeconds, 1);
    for (const Car& car : world.traffic) EXPECT_NE(car.position.x, 10.0f);
}

TEST_F(GameLoopTest, AHitShowsTheEndScreenFromTheNextPassAndFreezesEverything) {
    status().state = GameState::Playing;
    pass();
    parkCarOnTheDuck();
    pass();
    EXPECT_EQ(status().state, GameState::GameOver);

    const Traffic frozen = world.traffic;
    const int32_t progress = status().progress;
    const int32_t seconds = status().elapsedSeconds;
    camera.target.z = -80.0f;
    for (int i = 0; i < 5; ++i) pass(milliseconds(400));
    EXPECT_EQ(status().state, GameState::GameOver);
    EXPECT_EQ(status().progress, progress);
    EXPECT_EQ(status().elapsedSeconds, seconds);
    for (size_t i = 0; i < frozen.size(); ++i) EXPECT_EQ(world.traffic[i].position.x, frozen[i].position.x);
}

TEST_F(GameLoopTest, PReleasedInThePassOfAHitPausesInstead) {
    status().state = GameState::Playing;
    pass();
    parkCarOnTheDuck();
    pushKeyRelease(SDLK_p);
    pass();
    EXPECT_EQ(status().state, GameState::Paused);
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
    for (size_t i = 0; i < atTheEnd.size(); ++i) {
        EXPECT_EQ(world.traffic[i].position.x, atTheEnd[i].position.x) << "car " << i;
        EXPECT_EQ(world.traffic[i].speed, atTheEnd[i].speed) << "car " << i;
    }
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
    const float walked = camera.target.z;
    EXPECT_LT(walked, 60.0f);

    pushKeyRelease(SDLK_p);
    pass();
    ASSERT_EQ(status().state, GameState::Paused);
    const Vec3 target = camera.target;
    for (int i = 0; i < 10; ++i) pass(milliseconds(100));
    EXPECT_EQ(camera.target.z, target.z);
    EXPECT_EQ(camera.target.x, target.x);
    EXPECT_TRUE(camera.keyForward) << "flags keep their last playing value";
}

TEST_F(GameLoopTest, SpeedScalesTheWalkButNotTheClock) {
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
    pushKeyRelease(SDLK_n);
    pass();
    EXPECT_TRUE(world.lighting.nightMode);
    const GLuint night = skybox.frontFace;
    EXPECT_NE(night, firstDay);
    pushKeyRelease(SDLK_n);
    pass();
    EXPECT_FALSE(world.lighting.nightMode);
    EXPECT_NE(skybox.frontFace, night);
    EXPECT_TRUE(glIsTexture(skybox.frontFace));

    // The day picture is back: the top of the sky looks the same as before the toggles.
    pass();
    const Image day = readFramebuffer();
    pushKeyRelease(SDLK_n);
    pass();
    pass();
    const Image nightShot = readFramebuffer();
    const Rgb daySky = day.mean(300, 0, 700, 40);
    const Rgb nightSky = nightShot.mean(300, 0, 700, 40);
    EXPECT_GT(daySky.b, nightSky.b + 60) << "the night sky is darker than the day sky";
}

TEST_F(GameLoopTest, EndScreensDrawWithoutTheCameraView) {
    status().state = GameState::Won;
    camera.target = Vec3{0.0f, 3.0f, 0.0f};
    pass();
    GLfloat modelview[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
    for (int i = 0; i < 16; ++i) EXPECT_FLOAT_EQ(modelview[i], (i % 5 == 0) ? 1.0f : 0.0f);
    EXPECT_FALSE(glEnabled(GL_DEPTH_TEST)) << "the overlay leaves depth testing off for the sky box to restore";
}
