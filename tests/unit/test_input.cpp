// The key table of each state, fed with events built by hand.
#include <gtest/gtest.h>

#include <tuple>

#include "game/Input.h"

namespace {
SDL_Event key(SDL_Keycode sym, Uint32 type = SDL_KEYUP, Uint16 mod = KMOD_NONE) {
    SDL_Event event{};
    event.type = event.key.type = type;
    event.key.keysym.sym = sym;
    event.key.keysym.mod = mod;
    return event;
}

class InputTest : public ::testing::Test {
protected:
    GameStatus status;
    bool quit = false;
    LightingMode lighting;
    Camera camera;
    FrameClock clock;
    FaceList day{"d0", "d1", "d2", "d3", "d4", "d5"};
    FaceList night{"n0", "n1", "n2", "n3", "n4", "n5"};
    InputTargets targets{status, quit, lighting, camera, clock, nullptr, day, night};

    void send(const SDL_Event& event, GameState table) { handleEvent(event, table, targets); }
    void motion(int dx, int dy) {
        SDL_Event event{};
        event.type = event.motion.type = SDL_MOUSEMOTION;
        event.motion.xrel = dx;
        event.motion.yrel = dy;
        send(event, GameState::Playing);
    }
    // Everything a key may change.
    auto snapshot() const {
        return std::make_tuple(status.state, status.gameSpeed, status.texturesEnabled, status.wireframe,
                               status.smoothShading, quit, lighting.nightMode, camera.orbitView, lighting.daylight);
    }
};
}  // namespace

TEST_F(InputTest, PlayingTableTogglesEachSetting) {
    send(key(SDLK_t, SDL_KEYUP, KMOD_LSHIFT), GameState::Playing);  // keycodes are lowercase whatever the modifiers
    for (SDL_Keycode sym : {SDLK_w, SDLK_i, SDLK_l, SDLK_n, SDLK_1}) send(key(sym), GameState::Playing);
    EXPECT_TRUE(!status.texturesEnabled && status.wireframe && !status.smoothShading && lighting.nightMode);
    EXPECT_EQ(lighting.daylight, 0.0f);
    EXPECT_EQ(status.gameSpeed, GameSpeed::Slow);
    send(key(SDLK_l), GameState::Playing);
    send(key(SDLK_3), GameState::Playing);
    EXPECT_EQ(lighting.daylight, 1.0f);
    EXPECT_EQ(status.gameSpeed, GameSpeed::Fast);
    for (SDL_Keycode sym : {SDLK_2, SDLK_KP_1, SDLK_KP_3}) send(key(sym), GameState::Playing);
    EXPECT_EQ(status.gameSpeed, GameSpeed::Normal) << "keypad digits are other keys";
    send(key(SDLK_p), GameState::Playing);
    EXPECT_EQ(status.state, GameState::Paused);
    EXPECT_FALSE(quit);
}

TEST_F(InputTest, KeysActOnlyWhenReleased) {
    const auto before = snapshot();
    for (SDL_Keycode sym : {SDLK_ESCAPE, SDLK_q, SDLK_p, SDLK_v, SDLK_t, SDLK_w, SDLK_i, SDLK_l, SDLK_n, SDLK_1})
        send(key(sym, SDL_KEYDOWN), GameState::Playing);
    EXPECT_TRUE(snapshot() == before);
}

TEST_F(InputTest, SettingKeysAreIgnoredWhilePausedAndOnEndScreens) {
    for (GameState table : {GameState::Paused, GameState::Won, GameState::GameOver}) {
        status.state = table;
        const auto before = snapshot();
        for (SDL_Keycode sym : {SDLK_t, SDLK_w, SDLK_i, SDLK_l, SDLK_n, SDLK_1, SDLK_3}) send(key(sym), table);
        EXPECT_TRUE(snapshot() == before) << static_cast<int>(table);
    }
    send(key(SDLK_p), GameState::GameOver);
    EXPECT_EQ(status.state, GameState::GameOver);
    // The table is the one the pass started with: P then T in one paused pass only resumes.
    send(key(SDLK_p), GameState::Paused);
    send(key(SDLK_t), GameState::Paused);
    EXPECT_EQ(status.state, GameState::Playing);
    EXPECT_TRUE(status.texturesEnabled);
}

TEST_F(InputTest, QuitAndViewKeysWorkInEveryState) {
    SDL_Event close{};
    close.type = SDL_QUIT;
    for (GameState table : {GameState::Playing, GameState::Paused, GameState::Won, GameState::GameOver}) {
        for (const SDL_Event& event : {key(SDLK_ESCAPE), key(SDLK_q, SDL_KEYUP, KMOD_SHIFT | KMOD_CAPS), close}) {
            quit = false;
            send(event, table);
            EXPECT_TRUE(quit) << static_cast<int>(table);
        }
        const bool orbit = camera.orbitView;
        camera.orbitPlaced = true;
        send(key(SDLK_v), table);
        EXPECT_NE(camera.orbitView, orbit);
        EXPECT_FALSE(camera.orbitPlaced) << "the new view is placed afresh";
    }
}

TEST_F(InputTest, LastMouseMotionOfAPassWinsAndOnlyInTheOrbitView) {
    motion(4, -2);
    motion(-7, 3);
    EXPECT_EQ(camera.mouseDeltaX, -7.0f);
    EXPECT_EQ(camera.mouseDeltaY, 3.0f);
    camera.orbitView = false;
    motion(50, 50);
    EXPECT_EQ(camera.mouseDeltaX, -7.0f);
}

TEST_F(InputTest, RRestartsOnlyFromEndScreensKeepingSettingsAndView) {
    status.progress = -40;
    send(key(SDLK_r), GameState::Playing);
    send(key(SDLK_r), GameState::Paused);
    EXPECT_EQ(status.progress, -40);

    status.state = GameState::GameOver;
    status.elapsedSeconds = 75;
    status.wireframe = lighting.nightMode = true;
    camera.reset(Vec3{1.0f, 5.0f, -20.0f}, Vec3{-5.0f, 3.0f, -30.0f});
    camera.orbitView = false;
    send(key(SDLK_r), GameState::GameOver);
    EXPECT_EQ(status.state, GameState::Playing);
    EXPECT_EQ(status.progress, 0);
    EXPECT_EQ(status.elapsedSeconds, 0);
    EXPECT_FLOAT_EQ(camera.target.z, 60.0f);
    EXPECT_FLOAT_EQ(camera.eye.x, 6.0f);
    EXPECT_TRUE(status.wireframe && lighting.nightMode);
    EXPECT_FALSE(camera.orbitView);
}

TEST(PollArrowKeys, SetsEachFlagFromItsScancodeAndClearsTheRest) {
    Camera camera;
    uint8_t keys[SDL_NUM_SCANCODES] = {};
    keys[SDL_SCANCODE_UP] = keys[SDL_SCANCODE_LEFT] = 1;
    pollArrowKeys(camera, keys);
    EXPECT_TRUE(camera.keyForward && camera.keyLeft && !camera.keyBackward && !camera.keyRight);
    keys[SDL_SCANCODE_UP] = keys[SDL_SCANCODE_LEFT] = 0;
    keys[SDL_SCANCODE_DOWN] = keys[SDL_SCANCODE_RIGHT] = keys[SDL_SCANCODE_KP_8] = 1;  // keypad is not arrows
    pollArrowKeys(camera, keys);
    EXPECT_TRUE(!camera.keyForward && !camera.keyLeft && camera.keyBackward && camera.keyRight);
    pollArrowKeys(camera, nullptr);  // no keyboard state: nothing held
    EXPECT_FALSE(camera.keyForward || camera.keyBackward || camera.keyLeft || camera.keyRight);
}
