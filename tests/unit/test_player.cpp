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
    // The target starts at (x, 3, z), the orbit rows at the start pose (yaw 30.96); arrows: Up Down Left Right.
    const struct { const char* arrows; bool orbit; float x, z; double s; float dx, dz, facing; } cases[] = {
        {"U", false, 0, 60, 0.1, 0, -1.5f, 180}, {"D", false, 0, 60, 0.1, 0, 1.5f, 0},
        {"L", false, 0, 60, 0.1, -1.5f, 0, -90}, {"R", false, 0, 60, 0.1, 1.5f, 0, 90},
        {"UL", false, 0, 60, 0.1, -Diagonal, -Diagonal, -135}, {"UR", false, 0, 60, 0.1, Diagonal, -Diagonal, 135},
        {"DL", false, 0, 60, 0.1, -Diagonal, Diagonal, -45}, {"DR", false, 0, 60, 0.1, Diagonal, Diagonal, 45},
        {"UDL", false, 0, 60, 0.1, -Diagonal, 0, -45}, {"ULR", false, 0, 60, 0.1, 0, -Diagonal, 135},
        {"", false, 0, 60, 0.1, 0, 0, 77},  // nothing held: the last facing is kept
        {"U", true, 0, 60, 0.1, -0.7717436f, -1.2862393f, 210.96376f},  // along the look direction
        {"R", true, 0, 60, 0.1, 1.2862393f, -0.7717436f, 120.96376f},   // square to it
        {"UR", false, 24.9f, 0, 0.1, 0, -Diagonal, 135},  // blocked at the east edge, still slides up
        {"R", false, 24.0625f, 0, 0.0625, 0, 0, 90}, {"L", false, -24.0625f, 0, 0.0625, 0, 0, -90},  // onto an edge:
        {"U", false, 0, -69.0625f, 0.0625, 0, 0, 180}, {"D", false, 0, 69.0625f, 0.0625, 0, 0, 0}};  // dropped whole
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.arrows << (c.orbit ? " orbit at " : " fixed at ") << c.x << ", " << c.z);
        Camera camera;
        camera.orbitView = c.orbit;
        camera.target = {c.x, 3.0f, c.z};
        camera.step(0.0, Field, false);  // places the eye for the view
        uint8_t keys[SDL_NUM_SCANCODES] = {};
        for (const char* a = c.arrows; *a != 0; ++a) keys[SDL_SCANCODE_RIGHT + std::string("RLDU").find(*a)] = 1;
        pollArrowKeys(camera, keys);
        Duck duck(camera, 0, 0);
        duck.facing = 77.0f;  // what the last pass left
        applyFacingRule(duck, readArrowKeys(keys));
        EXPECT_NEAR(duck.facing, c.facing, 1e-4f);
        camera.step(c.s, Field, false);
        camera.step(c.s, Field, false, true);  // a paused pass leaves the duck where it is
        EXPECT_EQ(at(camera.target), at({c.x + c.dx, 3.0f, c.z + c.dz}));
        EXPECT_EQ(at(arm(camera)), at(c.orbit ? Vec3{6, 2, 10} : Vec3{11, 10, 13}));
    }
}

TEST(CameraMoves, MouseOrbitsTheEyeAroundTheTarget) {
    Camera c;
    auto mouse = [&c](float dx, float dy, int passes) {
        for (int i = 0; i < passes; ++i) {
            c.mouseDeltaX = dx;
            c.mouseDeltaY = dy;
            c.step(0.0, Field, false);
        }
    };
    mouse(0, 0, 1);
    EXPECT_EQ(at(c.lookAtEye()) + " / " + at(c.target), at(CameraStartEye) + " / " + at(CameraStartTarget));
    mouse(1, 0, 1);  // one pixel right: the eye swings clockwise seen from above and the yaw falls
    EXPECT_EQ(at(arm(c)), at({5.969973f, 2, 10.017955f}));
    EXPECT_NEAR(c.yaw, 30.96376f - 0.1718873f, 1e-4f);
    mouse(0, 10, 60);  // down raises the eye up to the pitch limit, and no further
    const Vec3 top = c.eye;
    mouse(0, 10, 1);
    EXPECT_EQ(at(c.eye), at(top));
    EXPECT_NEAR(arm(c).y, c.distance, 0.01f);
    mouse(0, -10, 1);  // turning back is always accepted
    EXPECT_LT(c.eye.y, top.y);
    mouse(0, -10, 150);  // under the ground looking up; the view's eye is floored at 0.5
    EXPECT_LT(c.eye.y, 0.0f);
    EXPECT_EQ(at(c.lookAtEye()), at({c.eye.x, 0.5f, c.eye.z}));
}

TEST(KeyTable, EveryEventInEveryState) {
    // What the table of each state changes: Playing, Paused, and the end screens (Won and GameOver).
    const std::string quits = "quit:1", view = "orbit:0 placed:0", fixed = "orbit:1 placed:0", last = "mouse:-7,3";
    struct Row { std::vector<SDL_Event> events; std::string playing, paused = "", ended = ""; bool orbit = true; };
    const Row cases[] = {
        {{key(SDLK_ESCAPE)}, quits, quits, quits}, {{key(SDLK_q)}, quits, quits, quits},
        {{key(0, SDL_QUIT)}, quits, quits, quits}, {{key(SDLK_p)}, "state:1", "state:0"},
        {{key(SDLK_q, SDL_KEYDOWN), key(SDLK_p, SDL_KEYDOWN), key(SDLK_r, SDL_KEYDOWN)}, ""},  // on release only
        {{key(SDLK_r)}, "", "", "state:0 run:0,0,0 cam:" + at(CameraStartTarget)},
        {{key(SDLK_v)}, view, view, view}, {{key(SDLK_v)}, fixed, fixed, fixed, false},
        {{key(SDLK_t)}, "tex:0"}, {{key(SDLK_w)}, "wire:1"}, {{key(SDLK_i)}, "smooth:0"}, {{key(SDLK_l)}, "day:0"},
        {{key(SDLK_l), key(SDLK_l)}, ""}, {{key(SDLK_n)}, "night:1"}, {{key(SDLK_n), key(SDLK_n)}, ""},
        {{key(SDLK_1)}, "speed:0"}, {{key(SDLK_3)}, "speed:2"}, {{key(SDLK_3), key(SDLK_2)}, ""},
        {{key(SDLK_p), key(SDLK_t)}, "state:1 tex:0", "state:0"},  // one table for the whole pass
        {{motion(4, -2), motion(-7, 3)}, last, last, last}, {{motion(4, -2)}, "", "", "", false}};
    for (const Row& c : cases) {
        for (GameState table : {GameState::Playing, GameState::Paused, GameState::Won, GameState::GameOver}) {
            SteadyTime now{};  // a run 75 s and 40 units in, with the camera away from the start
            FrameClock clock([&now] { return now; });
            now += std::chrono::seconds(75);
            GameStatus status{table, GameSpeed::Normal, true, false, true, -40, 75};
            bool quit = false;
            LightingMode lighting;
            Camera camera;
            camera.target = {-5.0f, 3.0f, -30.0f};
            camera.orbitView = c.orbit;
            camera.orbitPlaced = true;
            const FaceList faces;
            InputTargets targets{status, quit, lighting, camera, clock, nullptr, faces, faces};
            auto seen = [&] {  // everything the events may change, as "name:value" words
                std::ostringstream s;
                s << "state:" << int(status.state) << " speed:" << int(status.gameSpeed)
                  << " tex:" << status.texturesEnabled << " wire:" << status.wireframe
                  << " smooth:" << status.smoothShading << " quit:" << quit << " night:" << lighting.nightMode
                  << " day:" << lighting.daylight << " orbit:" << camera.orbitView << " placed:" << camera.orbitPlaced
                  << " mouse:" << camera.mouseDeltaX << ',' << camera.mouseDeltaY << " run:" << status.progress << ','
                  << status.elapsedSeconds << ',' << std::chrono::duration<double>(now - clock.playStart).count()
                  << " cam:" << at(camera.target) << ' ';
                return s.str();
            };
            std::string expected = seen();
            std::istringstream change(table == GameState::Playing  ? c.playing
                                      : table == GameState::Paused ? c.paused : c.ended);
            for (std::string word; change >> word;) {
                const std::size_t start = expected.find(word.substr(0, word.find(':') + 1));
                expected.replace(start, expected.find(' ', start) - start, word);
            }
            for (const SDL_Event& e : c.events) handleEvent(e, table, targets);
            EXPECT_EQ(seen(), expected) << "state " << int(table) << ", key " << c.events[0].key.keysym.sym;
        }
    }
}
