// The player's side without a window: where the arrows take the duck and which way it turns, the mouse
// orbit, and the key table of every state fed with SDL events built by hand.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <vector>

#include "game/Input.h"
#include "player/Duck.h"

const MoveBounds Field{-25.0f, 25.0f, -70.0f, 70.0f};
const float Diagonal = 1.0606602f;  // 0.1 s at 15 units per second, over sqrt(2)

// A point to the thousandth, so near and equal points compare and print alike.
static std::string at(Vec3 v) {
    auto milli = [](float f) { return std::to_string(std::lround(f * 1e3f)); };
    return milli(v.x) + ',' + milli(v.y) + ',' + milli(v.z);
}
static Vec3 arm(const Camera& c) { return {c.eye.x - c.target.x, c.eye.y - c.target.y, c.eye.z - c.target.z}; }
static SDL_Event key(SDL_Keycode k, Uint32 type = SDL_KEYUP) { SDL_Event e{type}; e.key.keysym.sym = k; return e; }
static SDL_Event motion(int x, int y) { SDL_Event e{SDL_MOUSEMOTION}; e.motion.xrel = x; e.motion.yrel = y; return e; }

TEST(ArrowKeys, MoveTheDuckInsideTheFieldAndTurnIt) {
    // Each row starts in the fixed view with the target at (x, 3, z), then takes its own view (the orbit view
    // keeps the fixed direction, yaw 40.24); two passes of s seconds with a paused pass between, which leaves the
    // duck where it is. Arrows: Up Down Left Right; each pass moves the target by (dx, 0, dz).
    // Nothing held keeps the last facing (77); a step onto an edge is dropped.
    const struct { const char* arrows; float dx, dz, facing; bool orbit = false; float x = 0, z = 60; double s = 0.1; } cases[] = {
        {"U", 0, -1.5f, 180}, {"D", 0, 1.5f, 0}, {"L", -1.5f, 0, -90}, {"R", 1.5f, 0, 90}, {"UL", -Diagonal, -Diagonal, -135},
        {"UR", Diagonal, -Diagonal, 135}, {"DL", -Diagonal, Diagonal, -45}, {"DR", Diagonal, Diagonal, 45}, {"UDL", -Diagonal, 0, -45},
        {"ULR", 0, -Diagonal, 135}, {"", 0, 0, 77}, {"UR", 0, -Diagonal, 135, false, 24.9f, 0},  // blocked right, slides
        {"U", -0.9689134f, -1.1450794f, 220.23636f, true},  // along the look direction
        {"R", 1.1450794f, -0.9689134f, 130.23636f, true},   // square to it
        {"R", 0, 0, 90, false, 24.0625f, 0, 0.0625}, {"L", 0, 0, -90, false, -24.0625f, 0, 0.0625},
        {"U", 0, 0, 180, false, 0, -69.0625f, 0.0625}, {"D", 0, 0, 0, false, 0, 69.0625f, 0.0625}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.arrows << (c.orbit ? " orbit at " : " fixed at ") << c.x << ", " << c.z);
        Camera camera;
        camera.orbitView = false, camera.target = {c.x, 3.0f, c.z};
        camera.step(0.0, Field, false);
        camera.orbitView = c.orbit;
        camera.step(0.0, Field, false);
        uint8_t keys[SDL_NUM_SCANCODES] = {};
        for (const char* a = c.arrows; *a != 0; ++a) keys[SDL_SCANCODE_RIGHT + std::string("RLDU").find(*a)] = 1;
        pollArrowKeys(camera, keys);
        Duck duck(camera, 0, 0);
        duck.facing = 77.0f;
        applyFacingRule(duck, readArrowKeys(keys));
        EXPECT_NEAR(duck.facing, c.facing, 1e-4f);
        for (const bool paused : {false, true, false}) camera.step(c.s, Field, false, paused);
        EXPECT_EQ(at(camera.target), at({c.x + 2 * c.dx, 3.0f, c.z + 2 * c.dz}));
        EXPECT_EQ(at(arm(camera)), at(c.orbit ? Vec3{6.5905916f, 5.9914469f, 7.7888810f} : Vec3{11, 10, 13}));
    }
}

TEST(CameraMoves, MouseOrbitsTheEyeAroundTheTarget) {
    Camera c;
    EXPECT_EQ(at(c.lookAtEye()) + " / " + at(c.target), "6000,5000,70000 / 0,3000,60000");
    auto mouse = [&c](float dx, float dy, int passes) {
        for (int i = 0; i < passes; ++i) c.mouseDeltaX = dx, c.mouseDeltaY = dy, c.step(0.0, Field, false);
    };
    mouse(1, 0, 1);  // the smallest motion turns the view: right lowers the yaw
    EXPECT_NEAR(c.yaw, 30.79187f, 1e-4f);
    mouse(30, 10, 1);  // right swings the eye clockwise seen from above, down raises it
    EXPECT_EQ(at(arm(c)), at({5.017187f, 2.348905f, 10.455165f}));
    EXPECT_EQ(std::make_pair(c.mouseDeltaX, c.mouseDeltaY), std::make_pair(0.0f, 0.0f)) << "used up";
    c.mouseDeltaX = 40.0f;  // held back while paused, for the next playing pass
    c.step(0.0, Field, true);
    EXPECT_EQ(c.mouseDeltaX, 40.0f);
    mouse(0, 10, 60);  // down raises the eye up to the pitch limit, and no further
    const Vec3 top = c.eye;
    mouse(0, 10, 1);
    EXPECT_EQ(at(c.eye), at(top));
    mouse(0, -10, 150);  // turning back is accepted, down to under the ground; the view's eye is floored at 0.5
    EXPECT_LT(c.eye.y, 0.0f);
    EXPECT_EQ(at(c.lookAtEye()), at({c.eye.x, 0.5f, c.eye.z}));
}

TEST(KeyTable, EveryEventInEveryState) {
    // What the table of each state changes: Playing, Paused, and the end screens (Won and GameOver).
    const std::string quits = "quit:1", view = "orbit:0 placed:0", fixed = "orbit:1 placed:0", last = "mouse:-7,3";
    const struct { std::vector<SDL_Event> sent; std::string play, pause = "", end = ""; bool orbit = true; } cases[] = {
        {{key(SDLK_ESCAPE)}, quits, quits, quits}, {{key(SDLK_q)}, quits, quits, quits}, {{key(0, SDL_QUIT)}, quits, quits, quits},
        {{key(SDLK_p)}, "state:1", "state:0"}, {{key(SDLK_r)}, "", "", "state:0 run:0,0,0 cam:6000,5000,70000;0,3000,60000"},
        {{key(SDLK_q, SDL_KEYDOWN), key(SDLK_p, SDL_KEYDOWN), key(SDLK_r, SDL_KEYDOWN)}, ""},  // on release only
        {{key(SDLK_v)}, view, view, view}, {{key(SDLK_v)}, fixed, fixed, fixed, false}, {{key(SDLK_t)}, "tex:1"}, {{key(SDLK_w)}, "wire:0"},
        {{key(SDLK_i)}, "smooth:1"}, {{key(SDLK_l)}, "day:1"}, {{key(SDLK_l), key(SDLK_l)}, ""}, {{key(SDLK_n)}, "night:0"},
        {{key(SDLK_n), key(SDLK_n)}, ""}, {{key(SDLK_1)}, "speed:0"}, {{key(SDLK_1), key(SDLK_3)}, ""}, {{key(SDLK_3), key(SDLK_2)}, "speed:1"},
        {{key(SDLK_p), key(SDLK_t)}, "state:1 tex:1", "state:0"},  // one table for the whole pass
        {{motion(4, -2), motion(-7, 3)}, last, last, last}, {{motion(4, -2)}, "", "", "", false}};
    for (const auto& c : cases) {
        for (GameState table : {GameState::Playing, GameState::Paused, GameState::Won, GameState::GameOver}) {
            SteadyTime now{};  // a run 75 s and 40 units in, settings changed, the camera away from the start
            FrameClock clock([&now] { return now; });
            now += std::chrono::seconds(75);
            GameStatus status{table, GameSpeed::Fast, false, true, false, -40, 75};
            bool quit = false;
            LightingMode lighting{true, 0.0f};
            Camera camera;
            camera.reset({1.0f, 5.0f, -20.0f}, {-5.0f, 3.0f, -30.0f});
            camera.orbitView = c.orbit, camera.orbitPlaced = true;
            const FaceList faces;
            InputTargets targets{status, quit, lighting, camera, clock, nullptr, faces, faces};
            auto seen = [&] {  // everything the events may change, as "name:value" words
                std::ostringstream s;
                s << "state:" << int(status.state) << " speed:" << int(status.gameSpeed) << " tex:" << status.texturesEnabled
                  << " wire:" << status.wireframe << " smooth:" << status.smoothShading << " quit:" << quit << " night:" << lighting.nightMode
                  << " day:" << lighting.daylight << " orbit:" << camera.orbitView << " placed:" << camera.orbitPlaced << " mouse:"
                  << camera.mouseDeltaX << ',' << camera.mouseDeltaY << " run:" << status.progress << ',' << status.elapsedSeconds << ','
                  << std::chrono::duration<double>(now - clock.playStart).count() << " cam:" << at(camera.eye) << ';' << at(camera.target) << ' ';
                return s.str();
            };
            std::string expected = seen();
            std::istringstream change(table == GameState::Playing ? c.play : table == GameState::Paused ? c.pause : c.end);
            for (std::string word; change >> word;) {
                const std::size_t start = expected.find(word.substr(0, word.find(':') + 1));
                expected.replace(start, expected.find(' ', start) - start, word);
            }
            for (const SDL_Event& e : c.sent) handleEvent(e, table, targets);
            EXPECT_EQ(seen(), expected) << "state " << int(table) << ", key " << c.sent[0].key.keysym.sym;
        }
    }
}
