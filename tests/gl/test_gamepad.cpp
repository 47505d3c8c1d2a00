// A virtual game controller driving the real frame loop: plugged in, walking the duck with
// the stick and the D-pad, Start for play and pause, pulled out mid-play; and every button
// in every state against the key table's answers.
#include <cmath>
#include <functional>

#include "game/GameStart.h"
#include "support/Gl.h"

namespace {
using std::chrono::milliseconds;

class Pad : public GlTest {
public:  // read by the table's probes
    SteadyTime now{};
    GameParts game = (ensureGlContext(), startGame(nullptr, {}, [this] { return now; }));
    Camera& camera = *game.camera;
    GameWorld& world = game.world;
    Gamepads pads;
    uint8_t keys[SDL_NUM_SCANCODES] = {};
    int device = -1;
    SDL_Joystick* stick = nullptr;  // the test's own handle, to move the virtual controls

    void SetUp() override {
        GlTest::SetUp();
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER), 0) << SDL_GetError();
        world.pads = &pads;
        plugIn();
    }
    void TearDown() override {
        if (stick != nullptr) SDL_JoystickClose(stick);
        if (device >= 0) SDL_JoystickDetachVirtual(device);
        SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
        GlTest::TearDown();
    }
    // An ordinary pad as SDL's virtual driver builds it: its controls in SDL's own order.
    void plugIn() {
        SDL_VirtualJoystickDesc desc{};
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        desc.naxes = SDL_CONTROLLER_AXIS_MAX;
        desc.nbuttons = SDL_CONTROLLER_BUTTON_MISC1;
        desc.button_mask = (1u << SDL_CONTROLLER_BUTTON_MISC1) - 1;
        desc.axis_mask = (1u << SDL_CONTROLLER_AXIS_MAX) - 1;
        desc.name = "Larkmere test pad";
        device = SDL_JoystickAttachVirtualEx(&desc);
        ASSERT_GE(device, 0) << SDL_GetError();
        ASSERT_TRUE(SDL_IsGameController(device));
        stick = SDL_JoystickOpen(device);
        ASSERT_NE(stick, nullptr) << SDL_GetError();
        pass();  // the pass that sees it arrive opens it
        ASSERT_EQ(pads.count(), 1u);
    }
    void pass(milliseconds length = milliseconds(20)) {
        now += length;
        runPass(world, keys);
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
    GameStatus& status() { return GameStatus::instance(); }
};
}  // namespace

TEST_F(Pad, WalksPausesAndSurvivesBeingPulledOut) {
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

    plugIn();  // and plugged in again, Start still pauses
    click(SDL_CONTROLLER_BUTTON_START);
    EXPECT_EQ(status().state, GameState::Paused);
}

TEST_F(Pad, RightStickTurnsTheOrbitViewOnly) {
    click(SDL_CONTROLLER_BUTTON_START);
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

TEST_F(Pad, EveryButtonInEveryStateAsItsKey) {
    using Probe = std::function<float(Pad&)>;
    const Probe state = [](Pad& t) { return float(t.status().state); };
    const Probe speed = [](Pad& t) { return float(t.status().gameSpeed); };
    const int trigger = 100;  // rows at or above: a trigger axis, not a button
    struct Row {
        const char* name;
        int control;
        Probe probe;
        float before[4], after[4];  // the probe in Playing, Paused, Won, GameOver
    };
    const Row rows[] = {
        {"Start: P", SDL_CONTROLLER_BUTTON_START, state, {0, 1, 2, 3}, {1, 0, 2, 3}},
        {"A: R", SDL_CONTROLLER_BUTTON_A, state, {0, 1, 2, 3}, {0, 1, 0, 0}},
        {"Y: V", SDL_CONTROLLER_BUTTON_Y, [](Pad& t) { return float(t.camera.orbitView); }, {0, 0, 0, 0}, {1, 1, 1, 1}},
        {"X: T", SDL_CONTROLLER_BUTTON_X, [](Pad& t) { return float(t.status().texturesEnabled); }, {1, 1, 1, 1}, {0, 1, 1, 1}},
        {"RB: W", SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, [](Pad& t) { return float(t.status().wireframe); }, {0, 0, 0, 0}, {1, 0, 0, 0}},
        {"R3: I", SDL_CONTROLLER_BUTTON_RIGHTSTICK, [](Pad& t) { return float(t.status().smoothShading); }, {1, 1, 1, 1}, {0, 1, 1, 1}},
        {"LB: L", SDL_CONTROLLER_BUTTON_LEFTSHOULDER, [](Pad& t) { return t.world.lighting.daylight; }, {1, 1, 1, 1}, {0, 1, 1, 1}},
        {"B: N", SDL_CONTROLLER_BUTTON_B, [](Pad& t) { return float(t.world.lighting.nightMode); }, {0, 0, 0, 0}, {1, 0, 0, 0}},
        {"Back: M", SDL_CONTROLLER_BUTTON_BACK, [](Pad& t) { return float(t.world.soundMuted); }, {0, 0, 0, 0}, {1, 1, 1, 1}},
        {"LT: 1", trigger + SDL_CONTROLLER_AXIS_TRIGGERLEFT, speed, {1, 1, 1, 1}, {0, 1, 1, 1}},
        {"L3: 2", SDL_CONTROLLER_BUTTON_LEFTSTICK, speed, {2, 2, 2, 2}, {1, 2, 2, 2}},
        {"RT: 3", trigger + SDL_CONTROLLER_AXIS_TRIGGERRIGHT, speed, {1, 1, 1, 1}, {2, 1, 1, 1}},
        {"Guide: nothing, never a quit", SDL_CONTROLLER_BUTTON_GUIDE, state, {0, 1, 2, 3}, {0, 1, 2, 3}},
    };
    for (const Row& row : rows) {
        for (int s = 0; s < 4; ++s) {
            SCOPED_TRACE(std::string(row.name) + " in state " + std::to_string(s));
            status() = GameStatus{};
            status().state = GameState(s);
            status().gameSpeed = row.control == SDL_CONTROLLER_BUTTON_LEFTSTICK ? GameSpeed::Fast : GameSpeed::Normal;
            camera.orbitView = false;
            world.lighting.nightMode = world.soundMuted = false;
            world.lighting.daylight = 1.0f;
            world.quitRequested = false;
            ASSERT_EQ(row.probe(*this), row.before[s]);
            if (row.control >= trigger) {
                // A virtual axis at its lowest is a trigger let go.
                axis(row.control - trigger, 32767);
                axis(row.control - trigger, -32768);
                pass();
            } else {
                click(row.control);
            }
            EXPECT_EQ(row.probe(*this), row.after[s]);
            EXPECT_FALSE(world.quitRequested);
        }
    }
}
