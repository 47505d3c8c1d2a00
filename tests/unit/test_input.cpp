// The key table of each state, fed with events built by hand.
#include <gtest/gtest.h>

#include "game/Input.h"

namespace {
SDL_Event keyEvent(Uint32 type, SDL_Keycode key, Uint16 mod = KMOD_NONE) {
    SDL_Event event{};
    event.type = type;
    event.key.type = type;
    event.key.keysym.sym = key;
    event.key.keysym.mod = mod;
    return event;
}
SDL_Event release(SDL_Keycode key, Uint16 mod = KMOD_NONE) { return keyEvent(SDL_KEYUP, key, mod); }

SDL_Event motion(int dx, int dy) {
    SDL_Event event{};
    event.type = SDL_MOUSEMOTION;
    event.motion.type = SDL_MOUSEMOTION;
    event.motion.xrel = dx;
    event.motion.yrel = dy;
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

    // Everything a key may change, to check that a key changed nothing.
    struct Snapshot {
        GameState state;
        GameSpeed speed;
        bool textures, wireframe, smooth, quit, night, orbit;
        float daylight;
        bool operator==(const Snapshot& o) const {
            return state == o.state && speed == o.speed && textures == o.textures && wireframe == o.wireframe &&
                   smooth == o.smooth && quit == o.quit && night == o.night && orbit == o.orbit &&
                   daylight == o.daylight;
        }
    };
    Snapshot snapshot() const {
        return {status.state,  status.gameSpeed,     status.texturesEnabled, status.wireframe, status.smoothShading,
                quit,          lighting.nightMode,   camera.orbitView,       lighting.daylight};
    }
};
}  // namespace

TEST_F(InputTest, PlayingTableTogglesEachSetting) {
    send(release(SDLK_t), GameState::Playing);
    EXPECT_FALSE(status.texturesEnabled);
    send(release(SDLK_w), GameState::Playing);
    EXPECT_TRUE(status.wireframe);
    send(release(SDLK_i), GameState::Playing);
    EXPECT_FALSE(status.smoothShading);
    send(release(SDLK_l), GameState::Playing);
    EXPECT_EQ(lighting.daylight, 0.0f);
    send(release(SDLK_l), GameState::Playing);
    EXPECT_EQ(lighting.daylight, 1.0f);
    send(release(SDLK_1), GameState::Playing);
    EXPECT_EQ(status.gameSpeed, GameSpeed::Slow);
    send(release(SDLK_3), GameState::Playing);
    EXPECT_EQ(status.gameSpeed, GameSpeed::Fast);
    send(release(SDLK_2), GameState::Playing);
    EXPECT_EQ(status.gameSpeed, GameSpeed::Normal);
    send(release(SDLK_n), GameState::Playing);
    EXPECT_TRUE(lighting.nightMode);
    send(release(SDLK_p), GameState::Playing);
    EXPECT_EQ(status.state, GameState::Paused);
    EXPECT_FALSE(quit);
}

TEST_F(InputTest, KeysActOnlyWhenReleased) {
    const Snapshot before = snapshot();
    for (SDL_Keycode key : {SDLK_ESCAPE, SDLK_q, SDLK_p, SDLK_v, SDLK_t, SDLK_w, SDLK_i, SDLK_l, SDLK_n, SDLK_1,
                            SDLK_3}) {
        send(keyEvent(SDL_KEYDOWN, key), GameState::Playing);
    }
    EXPECT_TRUE(snapshot() == before);
}

TEST_F(InputTest, KeypadDigitsDoNotChangeTheSpeed) {
    send(release(SDLK_KP_1), GameState::Playing);
    send(release(SDLK_KP_3), GameState::Playing);
    EXPECT_EQ(status.gameSpeed, GameSpeed::Normal);
}

TEST_F(InputTest, ShiftMakesNoDifference) {
    // Letter keycodes are lowercase whatever the modifiers.
    send(release(SDLK_t, KMOD_LSHIFT), GameState::Playing);
    EXPECT_FALSE(status.texturesEnabled);
    send(release(SDLK_q, KMOD_LSHIFT | KMOD_CAPS), GameState::Paused);
    EXPECT_TRUE(quit);
}

TEST_F(InputTest, SettingKeysAreIgnoredWhilePausedAndOnEndScreens) {
    for (GameState table : {GameState::Paused, GameState::Won, GameState::GameOver}) {
        status.state = table;
        const Snapshot before = snapshot();
        for (SDL_Keycode key : {SDLK_t, SDLK_w, SDLK_i, SDLK_l, SDLK_n, SDLK_1, SDLK_3}) send(release(key), table);
        EXPECT_TRUE(snapshot() == before) << "table " << static_cast<int>(table);
    }
}

TEST_F(InputTest, PStartsAndPausesButNotOnEndScreens) {
    send(release(SDLK_p), GameState::Paused);
    EXPECT_EQ(status.state, GameState::Playing);
    status.state = GameState::GameOver;
    send(release(SDLK_p), GameState::GameOver);
    EXPECT_EQ(status.state, GameState::GameOver);
}

TEST_F(InputTest, PThenTInOnePausedPassOnlyResumes) {
    // The table is the one the pass started with: T is a Paused-table key here.
    send(release(SDLK_p), GameState::Paused);
    send(release(SDLK_t), GameState::Paused);
    EXPECT_EQ(status.state, GameState::Playing);
    EXPECT_TRUE(status.texturesEnabled);
}

TEST_F(InputTest, QuitKeysAndCloseRequestWorkInEveryState) {
    for (GameState table : {GameState::Playing, GameState::Paused, GameState::Won, GameState::GameOver}) {
        for (SDL_Keycode key : {SDLK_ESCAPE, SDLK_q}) {
            quit = false;
            send(release(key), table);
            EXPECT_TRUE(quit);
        }
        quit = false;
        SDL_Event close{};
        close.type = SDL_QUIT;
        send(close, table);
        EXPECT_TRUE(quit);
    }
}

TEST_F(InputTest, VTogglesTheViewInEveryState) {
    for (GameState table : {GameState::Playing, GameState::Paused, GameState::Won, GameState::GameOver}) {
        const bool before = camera.orbitView;
        camera.orbitPlaced = true;
        send(release(SDLK_v), table);
        EXPECT_NE(camera.orbitView, before);
        EXPECT_FALSE(camera.orbitPlaced) << "the new view is placed afresh";
    }
}

TEST_F(InputTest, LastMouseMotionOfAPassWinsAndOnlyInTheOrbitView) {
    send(motion(4, -2), GameState::Playing);
    send(motion(-7, 3), GameState::Playing);
    EXPECT_EQ(camera.mouseDeltaX, -7.0f);
    EXPECT_EQ(camera.mouseDeltaY, 3.0f);
    camera.orbitView = false;
    send(motion(50, 50), GameState::Playing);
    EXPECT_EQ(camera.mouseDeltaX, -7.0f);
    EXPECT_EQ(camera.mouseDeltaY, 3.0f);
}

TEST_F(InputTest, RRestartsOnlyFromEndScreens) {
    status.state = GameState::Playing;
    status.progress = -40;
    send(release(SDLK_r), GameState::Playing);
    send(release(SDLK_r), GameState::Paused);
    EXPECT_EQ(status.progress, -40);

    status.state = GameState::GameOver;
    status.elapsedSeconds = 75;
    status.wireframe = true;
    lighting.nightMode = true;
    camera.reset(Vec3{1.0f, 5.0f, -20.0f}, Vec3{-5.0f, 3.0f, -30.0f});
    camera.orbitView = false;
    send(release(SDLK_r), GameState::GameOver);
    EXPECT_EQ(status.state, GameState::Playing);
    EXPECT_EQ(status.progress, 0);
    EXPECT_EQ(status.elapsedSeconds, 0);
    EXPECT_FLOAT_EQ(camera.target.z, 60.0f);
    EXPECT_FLOAT_EQ(camera.eye.x, 6.0f);
    // Settings and the view survive a restart.
    EXPECT_TRUE(status.wireframe);
    EXPECT_TRUE(lighting.nightMode);
    EXPECT_FALSE(camera.orbitView);
}

TEST(PollArrowKeys, SetsEachFlagFromItsScancodeAndClearsTheRest) {
    Camera camera;
    uint8_t keys[SDL_NUM_SCANCODES] = {};
    keys[SDL_SCANCODE_UP] = 1;
    keys[SDL_SCANCODE_LEFT] = 1;
    pollArrowKeys(camera, keys);
    EXPECT_TRUE(camera.keyForward);
    EXPECT_TRUE(camera.keyLeft);
    EXPECT_FALSE(camera.keyBackward);
    EXPECT_FALSE(camera.keyRight);

    keys[SDL_SCANCODE_UP] = 0;
    keys[SDL_SCANCODE_LEFT] = 0;
    keys[SDL_SCANCODE_DOWN] = 1;
    keys[SDL_SCANCODE_RIGHT] = 1;
    keys[SDL_SCANCODE_KP_8] = 1;  // keypad arrows are not the arrow keys
    pollArrowKeys(camera, keys);
    EXPECT_FALSE(camera.keyForward);
    EXPECT_FALSE(camera.keyLeft);
    EXPECT_TRUE(camera.keyBackward);
    EXPECT_TRUE(camera.keyRight);
}
