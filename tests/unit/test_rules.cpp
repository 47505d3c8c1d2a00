// The rules of a run without a window: play clock and its text, car motion and lanes, collision and
// goal, the sounds a run of passes starts and stops, and the player's side: where the arrows take the
// duck and which way it turns, the mouse orbit, and the key table of every state fed with SDL events
// built by hand.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <sstream>
#include <tuple>
#include <vector>

#include "audio/SoundRules.h"
#include "game/FrameClock.h"
#include "game/Input.h"
#include "pad/PadMap.h"
#include "player/Duck.h"
#include "render/Overlay.h"
#include "world/Rules.h"

constexpr int32_t Max = std::numeric_limits<int32_t>::max(), Min = std::numeric_limits<int32_t>::min();

TEST(PlayClock, CountsOnlyPlayingTimeAndShowsItTruncated) {
    // A run opens on the help panel at normal speed, textured, filled and smooth, at nought, in full daylight.
    const GameStatus& run = GameStatus::instance();
    EXPECT_EQ(std::make_tuple(run.state, run.gameSpeed, run.texturesEnabled, run.wireframe, run.smoothShading, run.progress, run.elapsedSeconds,
                              LightingMode{}.nightMode, LightingMode{}.daylight),
              std::make_tuple(GameState::Paused, GameSpeed::Normal, true, false, true, 0, 0, false, 1.0f));
    // Milliseconds on the help panel, playing, paused or ended, then playing again after a resume or a restart.
    const struct { const char* name; int help, play, pause; bool restart; int again, seconds; } cases[] = {
        {"help panel, 5.7 s, pause, 0.3 s", 5000, 5700, 30000, false, 300, 6},
        {"59.99 s", 0, 59990, 0, false, 0, 59}, {"12 s, end screen, restart, 1.1 s", 0, 12000, 3000, true, 1100, 1}};
    for (const auto& c : cases) {
        SteadyTime now{};
        FrameClock clock([&now] { return now; });
        auto after = [&](int ms) -> FrameClock& { now += std::chrono::milliseconds(ms); return clock; };
        GameStatus status;
        after(c.help).resumePlay();
        after(c.play).updatePlayTime(status);
        c.restart ? after(c.pause).restartPlay() : after(c.pause).resumePlay();
        after(c.again).updatePlayTime(status);
        EXPECT_EQ(status.elapsedSeconds, c.seconds) << c.name;
    }

    // The two lines shown while playing: progress and seconds, then what they read.
    const std::tuple<int32_t, int32_t, const char*> lines[] = {{0, 0, "Score: 0 / Tiempo: 00 : 00"},
        {-1, 9, "Score: 1 / Tiempo: 00 : 09"}, {0, 10, "Score: 0 / Tiempo: 00 : 10"}, {-37, 65, "Score: 37 / Tiempo: 01 : 05"},
        {0, 599, "Score: 0 / Tiempo: 09 : 59"}, {Min, 600, "Score: 2147483648 / Tiempo: 10 : 00"}, {0, 609, "Score: 0 / Tiempo: 10 : 09"},
        {0, 675, "Score: 0 / Tiempo: 11 : 15"}, {0, 6000, "Score: 0 / Tiempo: 100 : 00"}, {0, -5, "Score: 0 / Tiempo: 00 : 00"},
        {0, Max, "Score: 0 / Tiempo: 35791394 : 07"}};
    for (const auto& [p, s, shown] : lines)
        EXPECT_EQ(std::string(formatScoreLines(p, s).score) + " / " + formatScoreLines(p, s).time, shown) << s << " s";
}

TEST(Traffic, CarsStepTurnAndKeepLanesATouchOrTheGoalEndsTheRun) {
    // 0.125 x 0.125 s x 600 is exactly 9.375 units, so a step can land on the bound exactly.
    const struct { const char* name; float speed, x, endX, endSpeed; } steps[] = {
        {"east, on 25", 0.125f, 15.625f, 25, -0.125f}, {"east, past 25, no clamp", 0.125f, 24, 33.375f, -0.125f},
        {"west, on -25", -0.125f, -15.625f, -25, 0.125f}, {"west, past -25", -0.125f, -24, -33.375f, 0.125f},
        {"east, back from -30", 0.125f, -30, -20.625f, 0.125f}, {"west, back from 30", -0.125f, 30, 20.625f, -0.125f}};
    for (const auto& c : steps) {
        Car car{c.speed, 2.0f, {c.x, 2.0f, 40.0f}, 50.0f};
        car.move(0.125f);
        EXPECT_EQ(std::make_pair(car.position.x, car.speed), std::make_pair(c.endX, c.endSpeed)) << c.name;
    }
    const std::array<std::pair<float, float>, 10> lanes = {{{0.057f, 2}, {0.03f, 3}, {0.042f, 2}, {0.045f, 3.9f},
        {0.06f, 3}, {0.036f, 2}, {0.027f, 3.9f}, {0.045f, 2}, {0.06f, 3.9f}, {0.09f, 3}}};  // speed, top
    const Traffic made = makeTraffic();
    for (size_t i = 0; i < made.size(); ++i) {  // exactly ten: an eleventh has no lane
        const Car& car = made[i];
        EXPECT_EQ(std::tie(car.speed, car.size, car.position.x, car.position.y, car.position.z, car.laneLength),
                  std::make_tuple(lanes.at(i).first, 2.0f, 10.0f, lanes.at(i).second, 40.0f - 10 * i, 50.0f)) << i;
    }

    // Collision. Centres in the ground plane. Each row in turn moves each car there, the other cars far away.
    const struct { const char* relation; float duckX, duckZ, duckSize, carX, carZ, carSize; bool hit; } cases[] = {
        {"apart in x", 11.01f, 39, 2, 9, 39, 2, false}, {"apart in z", 9, 41.01f, 2, 9, 39, 2, false},
        {"apart, squares overlap", 10.5f, 40.5f, 2, 9, 39, 2, false}, {"apart, big", 12.05f, 39, 4, 9, 39, 2, false},
        {"touching in +x", 11, 39, 2, 9, 39, 2, true}, {"touching in -z", 9, 37, 2, 9, 39, 2, true},
        {"touching, big duck", 12, 39, 4, 9, 39, 2, true}, {"touching, big car", 9, 36, 2, 9, 39, 4, true},
        {"overlapping", 10.4f, 40.4f, 2, 9, 39, 2, true}, {"same centre", -3, -21, 2, -3, -21, 2, true}};
    Camera camera;
    Duck duck(camera, 0, 0);
    EXPECT_EQ(duck.size, 2.0f) << "the duck is 2 units across";
    for (const auto& c : cases) {
        duck.size = c.duckSize;
        duck.position = duckPositionFor({c.duckX, 3.0f, c.duckZ}, c.duckSize);  // the duck under the target
        for (size_t moved = 0; moved < 10; ++moved) {
            Traffic traffic = makeTraffic();
            for (Car& car : traffic) car.position.x = -1000.0f;
            traffic[moved].size = c.carSize;
            traffic[moved].position = {c.carX + c.carSize / 2, 3.9f, c.carZ + c.carSize / 2};  // positions are maximum corners
            GameStatus status;
            checkCarCollisions(duck, traffic, status);
            EXPECT_EQ(status.state, c.hit ? GameState::GameOver : GameState::Paused) << c.relation << ", car " << moved;
        }
    }
    // Walking to each z in turn: the progress that z stands for, the progress kept (only ever lowered), won or not.
    const std::tuple<float, int32_t, int32_t, bool> walk[] = {{60.7f, 0, 0, false}, {59.5f, -1, -1, false}, {-0.5f, -60, -60, false},
        {50.0f, -10, -60, false}, {NAN, Max, -60, false}, {3e9f, Max, -60, false}, {2147483648.0f, Max - 59, -60, false}, {INFINITY, Max, -60, false},
        {-60.9f, -120, -120, false}, {-61.0f, -121, -121, true}, {-3e9f, Min, Min, true}, {-INFINITY, Min, Min, true}};
    GameStatus status{GameState::Playing};
    for (const auto& [z, p, progress, won] : walk) {
        camera.target.z = z;
        updateProgress(camera, status);
        EXPECT_EQ(std::make_tuple(progressFor(z), status.progress, status.state == GameState::Won), std::tie(p, progress, won)) << z;
    }
}

namespace {
using S = GameState;
constexpr S Play = S::Playing, Pause = S::Paused, Over = S::GameOver, Win = S::Won;
constexpr float Far = 1000.0f;

// One pass: the state at its end, the duck's z, the x of car 0 (its lane moved onto the
// duck's row; the other cars far away), and what the player chose.
struct Pass { GameState state; float duckZ = 60.0f, carX = Far; bool muted = false; };

// Each pass as words joined by ",": "cut" when it cuts steps and whooshes short, "mute" when it
// stops everything, "hush" without ambience, then the sounds it starts; "-" for none of these.
std::string cuesOf(const std::vector<Pass>& passes, std::vector<SoundCues>* cues = nullptr) {
    const char* const names[] = {"walk1", "walk2", "whoosh", "crash", "won", "quack", "day", "night"};
    Traffic traffic = makeTraffic();
    for (Car& car : traffic) car.position = {Far, 1.0f, Far};
    SoundMemory memory;
    std::string seen;
    for (const Pass& pass : passes) {
        // Duck and car 0 given by their centres; boxes of size 2 keep their maximum corner.
        traffic[0].position = {pass.carX + 1.0f, 1.0f, 61.0f};
        const SoundCues c = soundCues({pass.state, {1.0f, 0.0f, pass.duckZ + 1.0f}, 2.0f, &traffic, false, 1.0f, pass.muted}, memory);
        std::string words = std::string(c.stopMotion ? ",cut" : "") + (c.stopAll ? ",mute" : "") + (c.ambience ? "" : ",hush");
        for (const SoundStart& s : c.start) words += std::string(",") + names[static_cast<int>(s.sound)];
        seen += (seen.empty() ? "" : " ") + (words.empty() ? "-" : words.substr(1));
        if (cues != nullptr) cues->push_back(c);
    }
    return seen;
}
}  // namespace

TEST(SoundRules, StateChangesStartTheirSoundsOnceNearerPassesLouder) {
    const struct { const char* name; std::vector<Pass> passes; const char* cues; } cases[] = {
        {"P starts play with a quack", {{Pause}, {Pause}, {Play}, {Play}}, "- - quack -"}, {"the first pass is no transition", {{Play}}, "-"},
        {"R restarts with a quack; the jump home is no step", {{Over, 20}, {Play}, {Play}}, "- quack -"},
        {"a step on setting off, one a stride, none standing, one on setting off again",
         {{Play, 60}, {Play, 59.5f}, {Play, 58}, {Play, 56.5f}, {Play, 56.5f}, {Play, 56.4f}}, "- walk1 - walk2 - walk1"},
        {"a car passing near: one whoosh as it starts to draw away",
         {{Play, 60, -9}, {Play, 60, -5}, {Play, 60, -3}, {Play, 60, 1}, {Play, 60, 5}, {Play, 60, 9}}, "- - - - whoosh -"},
        {"turning back inside the radius is the same pass-by; leaving it ends it",
         {{Play, 60, 5}, {Play, 60, 3}, {Play, 60, 4}, {Play, 60, 3}, {Play, 60, 6}, {Play, 60, 8}, {Play, 60, 4}, {Play, 60, 6}},
         "- - whoosh - - - - whoosh"},
        {"a crash once", {{Play, 60, 3}, {Over, 60, 1}, {Over, 60, 3}, {Over}}, "- cut,crash - -"},
        {"the tune once", {{Play, -61}, {Win, -61}, {Win, -61}}, "- cut,won -"},
        {"nothing on a paused pass, whatever moves; the ambience plays on",
         {{Play, 60, 3}, {Pause, 58, 2}, {Pause, 55, 5}, {Pause, 50, 9}}, "- cut - -"},
        {"muted: no quack, step, whoosh or crash, and no ambience",
         {{Pause, 60, 9, true}, {Play, 60, 3, true}, {Play, 57, 4, true}, {Over, 57, 1, true}}, "mute,hush mute,hush mute,hush cut,mute,hush"}};
    for (const auto& c : cases) EXPECT_EQ(cuesOf(c.passes), c.cues) << c.name;

    // A nearer pass-by whooshes louder; the ambience follows the look.
    std::vector<SoundCues> near, far;
    ASSERT_EQ(cuesOf({{Play, 60, -4}, {Play, 60, -2.5f}, {Play, 60, 4}}, &near), "- - whoosh");
    ASSERT_EQ(cuesOf({{Play, 60, -8}, {Play, 60, -6.5f}, {Play, 60, 8}}, &far), "- - whoosh");
    EXPECT_GT(near[2].start[0].volume, far[2].start[0].volume + 0.3f);
    EXPECT_LE(near[2].start[0].volume, 1.0f);
    // The ambience: the night loop by night, the day loop by day and, calmer, at sunset.
    const auto look = [](bool night, float daylight) {
        SoundMemory memory;
        return soundCues({Play, {}, 2.0f, nullptr, night, daylight, false}, memory);
    };
    EXPECT_EQ(std::make_tuple(look(false, 1).ambienceLoop, look(false, 0).ambienceLoop, look(true, 1).ambienceLoop, look(true, 0).ambienceLoop),
              std::make_tuple(Sound::Day, Sound::Day, Sound::Night, Sound::Night));
    EXPECT_LT(look(false, 0).ambienceVolume, look(false, 1).ambienceVolume);
    EXPECT_GT(look(false, 0).ambienceVolume, 0.0f);
}


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

TEST(CameraMoves, ArrowsMoveAndTurnTheDuckInsideTheFieldMouseOrbitsTheEye) {
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

    // The mouse orbits the eye around the target.
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

TEST(PadMoves, TheLeftStickOutOfItsDeadZoneAndTheDPadSetTheArrowFlags) {
    // Left stick x and y, the D-pad button held (u d l r), the flags set: Forward Backward Left Right.
    const std::tuple<Sint16, Sint16, char, std::string> cases[] = {{0, -32768, ' ', "F"}, {0, 32767, ' ', "B"}, {-32768, 0, ' ', "L"},
        {32767, 0, ' ', "R"}, {8191, -8191, ' ', ""}, {9000, 9000, ' ', "BR"}, {-9000, -9000, ' ', "FL"}, {0, 0, 'u', "F"},
        {0, 0, 'd', "B"}, {0, 0, 'l', "L"}, {0, 0, 'r', "R"}};
    for (const auto& [x, y, dpad, flags] : cases) {
        const PadState pad{x, y, 0, 0, dpad == 'u', dpad == 'd', dpad == 'l', dpad == 'r'};
        Camera camera;
        applyPad(pad, camera, 0.02);
        const std::string set = std::string(camera.keyForward ? "F" : "") + (camera.keyBackward ? "B" : "") +
                                (camera.keyLeft ? "L" : "") + (camera.keyRight ? "R" : "");
        EXPECT_EQ(set, flags) << x << ", " << y << ", " << dpad;
    }
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
