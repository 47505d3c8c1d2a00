// A virtual game controller driving the real frame loop: plugged in, walking the duck with
// the stick and the D-pad, Start for play, pulled out mid-play and plugged in again; and every button
// in every state doing what its key does.
#include <cmath>
#include <functional>

#include "support/Gl.h"

namespace {
using std::chrono::milliseconds;

class Pad : public GamePass {
protected:
    Gamepads pads;
    int device = -1;
    SDL_Joystick* stick = nullptr;  // the test's own handle, to move the virtual controls

    void SetUp() override {
        GamePass::SetUp();
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER), 0) << SDL_GetError();
        world.pads = &pads;
        plugIn();
    }
    void TearDown() override {
        if (stick != nullptr) SDL_JoystickClose(stick);
        if (device >= 0) SDL_JoystickDetachVirtual(device);
        SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
        GamePass::TearDown();
    }
    // An ordinary pad as SDL's virtual driver builds it: its controls in SDL's own order.
    void plugIn() {
        device = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_CONTROLLER_AXIS_MAX, SDL_CONTROLLER_BUTTON_MISC1, 0);
        ASSERT_GE(device, 0) << SDL_GetError();
        ASSERT_TRUE(SDL_IsGameController(device));
        stick = SDL_JoystickOpen(device);
        ASSERT_NE(stick, nullptr) << SDL_GetError();
        pass();  // the pass that sees it arrive opens it
        ASSERT_EQ(pads.count(), 1u);
    }
    // Pressed in one pump, released in the pass that follows.
    void click(int button) {
        SDL_JoystickSetVirtualButton(stick, button, 1);
        SDL_PumpEvents();
        SDL_JoystickSetVirtualButton(stick, button, 0);
        pass();
    }
    void axis(int which, Sint16 value) {
        SDL_JoystickSetVirtualAxis(stick, which, value);
        SDL_PumpEvents();
    }
};
}  // namespace

TEST_F(Pad, WalksTurnsPausesAndSurvivesBeingPulledOut) {
    const Vec3 start = camera.target;
    axis(SDL_CONTROLLER_AXIS_LEFTY, -32768);
    for (int i = 0; i < 5; ++i) pass();
    EXPECT_EQ(camera.target.z, start.z) << "the stick walks no one on the help panel";

    click(SDL_CONTROLLER_BUTTON_START);
    ASSERT_EQ(status().state, GameState::Playing);
    for (int i = 0; i < 10; ++i) pass(milliseconds(100));
    EXPECT_LT(camera.target.z, start.z - 10.0f) << "a second forward at 15 units a second";

    axis(SDL_CONTROLLER_AXIS_LEFTY, 7000);  // inside the dead zone
    pass();
    const Vec3 rest = camera.target;
    for (int i = 0; i < 5; ++i) pass(milliseconds(100));
    EXPECT_EQ(camera.target.z, rest.z) << "a stick resting off centre stands still";

    SDL_JoystickSetVirtualButton(stick, SDL_CONTROLLER_BUTTON_DPAD_LEFT, 1);
    for (int i = 0; i < 5; ++i) pass(milliseconds(100));
    const auto walked = [&](Vec3 from) { return std::hypot(camera.target.x - from.x, camera.target.z - from.z); };
    EXPECT_GT(walked(rest), 5.0f) << "the D-pad walks as the arrows do";

    // Pulled out while walking: the flags it held are gone with it.
    SDL_JoystickClose(stick);
    stick = nullptr;
    ASSERT_EQ(SDL_JoystickDetachVirtual(device), 0);
    device = -1;
    pass();
    pass();
    EXPECT_EQ(pads.count(), 0u);
    const Vec3 left = camera.target;
    for (int i = 0; i < 5; ++i) pass(milliseconds(100));
    EXPECT_EQ(walked(left), 0.0f);
    EXPECT_EQ(status().state, GameState::Playing);

    // Plugged in again, the pad works: its right stick turns the orbit view only.
    plugIn();
    ASSERT_TRUE(camera.orbitView);
    const Vec3 orbit = camera.eye;
    axis(SDL_CONTROLLER_AXIS_RIGHTX, 32767);
    for (int i = 0; i < 5; ++i) pass();
    EXPECT_GT(std::hypot(camera.eye.x - orbit.x, camera.eye.z - orbit.z), 0.5f);
    click(SDL_CONTROLLER_BUTTON_Y);  // the fixed view
    camera.mouseDeltaX = 0.0f;
    pass();
    EXPECT_EQ(camera.mouseDeltaX, 0.0f) << "the fixed view does not turn";
    click(SDL_CONTROLLER_BUTTON_Y);
    axis(SDL_CONTROLLER_AXIS_RIGHTX, 4000);  // a resting stick leaves the mouse its turn
    pass();
    pass();
    EXPECT_EQ(camera.mouseDeltaX, 0.0f);
}

// Each button (and each trigger let go) does in every state just what its key's release does
// there; the key table's own answers are pinned by the keyboard's tests.
TEST_F(Pad, EveryButtonInEveryStateAsItsKey) {
    const int trigger = 100;  // rows at or above: a trigger axis, not a button
    const std::pair<int, SDL_Keycode> rows[] = {
        {SDL_CONTROLLER_BUTTON_START, SDLK_p}, {SDL_CONTROLLER_BUTTON_A, SDLK_r}, {SDL_CONTROLLER_BUTTON_Y, SDLK_v}, {SDL_CONTROLLER_BUTTON_X, SDLK_t},
        {SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, SDLK_w}, {SDL_CONTROLLER_BUTTON_RIGHTSTICK, SDLK_i}, {SDL_CONTROLLER_BUTTON_LEFTSHOULDER, SDLK_l},
        {SDL_CONTROLLER_BUTTON_B, SDLK_n}, {SDL_CONTROLLER_BUTTON_BACK, SDLK_m}, {trigger + SDL_CONTROLLER_AXIS_TRIGGERLEFT, SDLK_1},
        {SDL_CONTROLLER_BUTTON_LEFTSTICK, SDLK_2}, {trigger + SDL_CONTROLLER_AXIS_TRIGGERRIGHT, SDLK_3},
        {SDL_CONTROLLER_BUTTON_GUIDE, SDLK_UNKNOWN}};  // nothing, and never a quit
    // Everything a key may change, after one press from a fresh start in state s.
    const auto after = [&](int s, SDL_Keycode key, const std::function<void()>& press) {
        // Fast where the key is 2, so that 2 changes it.
        status() = GameStatus{GameState(s), key == SDLK_2 ? GameSpeed::Fast : GameSpeed::Normal};
        camera.orbitView = false;
        world.lighting.nightMode = world.soundMuted = world.quitRequested = false;
        world.lighting.daylight = 1.0f;
        press();
        const GameStatus& run = status();
        return std::make_tuple(run.state, run.gameSpeed, run.texturesEnabled, run.wireframe, run.smoothShading, camera.orbitView,
                               world.lighting.nightMode, world.lighting.daylight, world.soundMuted, world.quitRequested);
    };
    for (const auto& [control, key] : rows) {
        for (int s = 0; s < 4; ++s) {
            SCOPED_TRACE(testing::Message() << "control " << control << ", key " << key << ", state " << s);
            const auto byKey = after(s, key, [&] {
                pushKeyRelease(key);
                pass();
            });
            const auto byPad = after(s, key, [&] {
                if (control < trigger) return click(control);
                // A virtual axis at its lowest is a trigger let go.
                axis(control - trigger, 32767);
                axis(control - trigger, -32768);
                pass();
            });
            EXPECT_EQ(byPad, byKey);
        }
    }
}
