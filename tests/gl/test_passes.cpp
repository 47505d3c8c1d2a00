// Whole passes of the frame loop in a real GL context: which rules run in which state and in
// what order, what each screen shows and says, the textures and projection start-up sets, and
// a virtual game controller driving them.
#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <malloc.h>
#include <tuple>

#include "assets/Texture.h"
#include "core/Language.h"
#include "game/Input.h"
#include "shell/Window.h"
#include "render/Skybox.h"
#include "support/Gl.h"
#include "support/Game.h"
// After gtest: Xlib's macros would clash with its names.
#include <SDL2/SDL_syswm.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

namespace {
namespace fs = std::filesystem;
using std::chrono::milliseconds;
using std::chrono::seconds;

// Units a second each lane's car covers at normal speed, nearest lane first.
constexpr float LaneSpeed[10] = {34.2f, 18.0f, 25.2f, 27.0f, 36.0f, 21.6f, 16.2f, 27.0f, 36.0f, 54.0f};

// A point in eye coordinates through a modelview matrix (column-major), and to the thousandth.
Vec3 inView(const Matrix& m, Vec3 p) {
    const auto row = [&](int r) { return m[r] * p.x + m[4 + r] * p.y + m[8 + r] * p.z + m[12 + r]; };
    return {row(0), row(1), row(2)};
}
std::string at(Vec3 v) {
    const auto milli = [](float f) { return std::to_string(std::lround(f * 1e3f)); };
    return milli(v.x) + ',' + milli(v.y) + ',' + milli(v.z);
}

using Pass = GamePass;
// The glyphs `draw` sends down the pipeline, caught in GL_FEEDBACK.
int glyphsDrawn(const std::function<void()>& draw) {
    std::vector<GLfloat> buffer(1 << 22);
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_2D, buffer.data());
    glRenderMode(GL_FEEDBACK);
    draw();
    const GLint size = glRenderMode(GL_RENDER);
    // Window coordinates (x below 1000, y below 480) and vertex counts never reach the token's
    // value, 1796, so every value equal to it is a glyph's token.
    return static_cast<int>(std::count(buffer.begin(), buffer.begin() + std::max(size, 0), static_cast<GLfloat>(GL_BITMAP_TOKEN)));
}
// The passes with a virtual game controller plugged in: plugged in, walking the duck with the
// stick and the D-pad, Start for play, pulled out mid-play and plugged in again; then every
// button in every state.
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

// Paused and end-screen passes run no rule and stop both clocks. The paused pass draws the
// duck but no car, from the camera's view; the end screen draws the sky from no view at all.
TEST_F(Pass, PausedPassesRunNoRulesAndStopBothClocks) {
    world.skybox->loadFaces(world.dayFaces);
    // The help panel's world is seen from the camera each pass afresh, the view's eye floored
    // at 0.5: eye (6, 0.5, 70) at the origin, the target sqrt(142.25) straight ahead, y up.
    camera.reset({6.0f, -1.0f, 70.0f}, {0.0f, 3.0f, 60.0f});
    pass();
    pass();
    const Matrix view = currentMatrix(GL_MODELVIEW_MATRIX);
    EXPECT_EQ(at(inView(view, {6.0f, 0.5f, 70.0f})) + " / " + at(inView(view, {0.0f, 3.0f, 60.0f})), "0,0,0 / 0,0,-11927");
    EXPECT_TRUE(std::fabs(inView(view, {0.0f, 4.0f, 60.0f}).x) < 1e-4f && inView(view, {0.0f, 4.0f, 60.0f}).y > 0.9f);
    EXPECT_GT(readFramebuffer().at(500, 5).b, 100) << "the day sky above the field";

    camera.target.z = -61.0f;  // past the goal and hit, yet nothing ends while paused
    parkCarOnTheDuck();
    camera.keyForward = true;  // a flag left from play must not walk the duck
    const Vec3 target = camera.target;
    const std::vector<float> cars = carsX();
    for (int i = 0; i < 5; ++i) pass();
    const Image withCar = readFramebuffer();  // the sun set through this view, as next time
    EXPECT_EQ(std::tie(status().state, status().progress, camera.target.z), std::make_tuple(GameState::Paused, 0, target.z));
    EXPECT_EQ(carsX(), cars);
    for (Car& car : world.traffic) car.position.x = -1000.0f;
    pass();
    EXPECT_EQ(countDifferent(withCar, readFramebuffer(), {}, 0), 0) << "no car is drawn while paused";

    // 1.5 s of play, 10 s paused, then 0.1 s of play: one second of play time, and the cars
    // of the first pass back move by that pass's delta only.
    camera.target.z = 60.0f, camera.keyForward = false, world.traffic = makeTraffic(), status().state = GameState::Playing;
    for (int i = 0; i < 16; ++i) pass(milliseconds(i == 0 ? 0 : 100));
    EXPECT_GT(readFramebuffer().at(500, 5).b, 100) << "the day sky above the field in play";
    ASSERT_TRUE(SDL_GetRelativeMouseMode()) << "play holds the mouse";
    release(SDLK_p, milliseconds(0));
    for (int i = 0; i < 10; ++i) pass(milliseconds(1000));
    EXPECT_FALSE(SDL_GetRelativeMouseMode()) << "a pause lets it go";
    release(SDLK_p, milliseconds(0));
    const std::vector<float> before = carsX();
    pass(milliseconds(100));
    EXPECT_EQ(status().elapsedSeconds, 1);
    for (size_t i = 0; i < before.size(); ++i) EXPECT_NEAR(std::fabs(carsX()[i] - before[i]), LaneSpeed[i] * 0.1f, 1e-3f) << i;

    // A duck that paints the whole view red wherever it stands.
    glNewList(game.duck->texturedList, GL_COMPILE);
    glPushAttrib(GL_COLOR_BUFFER_BIT), glClearColor(1, 0, 0, 1), glClear(GL_COLOR_BUFFER_BIT), glPopAttrib();
    glEndList();
    // Below the help panel, where no later drawing covers the duck's red.
    const auto red = [](const Image& image) { return image.at(5, 470).r > 200 && image.at(5, 470).g < 50; };
    status().state = GameState::Paused;
    pass();
    ASSERT_TRUE(red(readFramebuffer())) << "the paused pass draws the duck";

    status().state = GameState::GameOver;
    pass();
    const Image end = readFramebuffer();
    EXPECT_FALSE(red(end));
    const Matrix still = currentMatrix(GL_MODELVIEW_MATRIX);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(still[i], i % 5 == 0 ? 1.0f : 0.0f) << "no camera view, element " << i;
    // Neither the cars nor the eye change the picture; the sky around the board is the
    // sky box of size 150 around the target, seen from the identity.
    for (Car& car : world.traffic) car.position.x = -6.0f;
    camera.eye = Vec3{30.0f, 1.0f, 0.0f};
    pass();
    EXPECT_EQ(countDifferent(end, readFramebuffer(), {}, 0), 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
    drawSkybox(*world.skybox, 150.0f);
    const Image sky = readFramebuffer();
    EXPECT_EQ(countDifferent(end, sky, Area{0, 0, 1000, 44}, 2), 0);
    EXPECT_GT(sky.at(500, 20).b, 100) << "a day sky, not black";
}

TEST_F(Pass, RulesRunInOrderCollisionGoalThenKeys) {
    status().state = GameState::Playing;
    pass();
    // A hit and the goal in one pass: the goal rule runs last and wins.
    camera.target.z = -61.0f;
    pass();
    status().state = GameState::Playing;
    parkCarOnTheDuck();
    pass();
    EXPECT_EQ(status().state, GameState::Won);
    // A hit and a P release in one pass: the keys come after the rules.
    status() = GameStatus{GameState::Playing}, camera.target.z = 60.0f;
    parkCarOnTheDuck();
    release(SDLK_p);
    EXPECT_EQ(status().state, GameState::Paused);
    status().state = GameState::Playing;
    pass();
    ASSERT_EQ(status().state, GameState::GameOver);

    // The end screen stands still; R starts a new run where the cars stand, settings kept.
    const GameStatus atTheHit = status();
    const std::vector<float> cars = carsX();
    status().wireframe = true, camera.target.z = -80.0f;
    for (int i = 0; i < 5; ++i) pass(milliseconds(400));
    EXPECT_EQ(std::tie(status().state, status().progress, status().elapsedSeconds), std::tie(atTheHit.state, atTheHit.progress, atTheHit.elapsedSeconds));
    EXPECT_EQ(carsX(), cars);
    release(SDLK_r);
    EXPECT_EQ(std::tie(status().state, status().progress, status().wireframe, camera.target.z), std::make_tuple(GameState::Playing, 0, true, 60.0f));
    EXPECT_EQ(carsX(), cars);
}

// A pass that comes seconds late (the process stopped, the machine suspended) moves the world
// no further than a quarter of a second of play, and a car crossing the duck's place on the way
// still ends the run; then the walk, the cars and the play clock at each speed.
TEST_F(Pass, ALatePassMovesAQuarterSecondAndSpeedScalesTheCarsAndTheWalk) {
    keys[SDL_SCANCODE_UP] = 1;
    camera.orbitView = false;
    status().state = GameState::Playing;
    pass();  // polls the arrow held
    // Ten seconds late with Up held: 0.25 s of walking at 15 units a second, not 150 units
    // through every lane; the play clock still counts the ten seconds.
    const float start = camera.target.z;
    pass(seconds(10));
    EXPECT_NEAR(start - camera.target.z, 3.75f, 1e-3f);
    EXPECT_EQ(std::make_pair(status().state, status().elapsedSeconds), std::make_pair(GameState::Playing, 10));

    // The fastest car 6 units west of the duck covers 13.5 units in that quarter second: in
    // one leap it would land 7.5 units east, never touching; in steps it meets the duck.
    keys[SDL_SCANCODE_UP] = 0;
    pass(milliseconds(0));
    Car& fastest = world.traffic[9];
    const Vec3 duck = game.duck->position;
    fastest.position = Vec3{duck.x - 6.0f, 3.0f, duck.z};
    pass(seconds(10));
    EXPECT_EQ(status().state, GameState::GameOver);
    EXPECT_LT(fastest.position.x, duck.x + 2.0f) << "the cars stop where the run ended";

    // 1.2 s of passes with Up held in the fixed view: the walk and the cars follow the speed,
    // the play clock real time.
    keys[SDL_SCANCODE_UP] = 1;
    for (const auto& [speed, factor, walk] : {std::tuple{GameSpeed::Slow, 0.5f, 9.0f}, {GameSpeed::Normal, 1.0f, 18.0f}, {GameSpeed::Fast, 2.0f, 36.0f}}) {
        SCOPED_TRACE(factor);
        camera.target = {0.0f, 3.0f, 60.0f}, world.traffic = makeTraffic(), world.clock = FrameClock([this] { return now; });
        status() = GameStatus{GameState::Playing, speed};
        pass();  // polls the arrows held
        const float z = camera.target.z;
        const std::vector<float> cars = carsX();
        pass(milliseconds(100));  // short enough that no car reaches its lane's end
        for (size_t i = 0; i < cars.size(); ++i) EXPECT_NEAR(carsX()[i] - cars[i], LaneSpeed[i] * 0.1f * factor, 1e-3f) << i;
        for (Car& car : world.traffic) car.position.z += 1000.0f;  // out of the walk's way
        for (int i = 0; i < 5; ++i) pass(milliseconds(200));
        pass(milliseconds(100));
        EXPECT_NEAR(z - camera.target.z, walk, 1e-3f);
        EXPECT_EQ(status().elapsedSeconds, 1);
    }
}

// Within a pass, the arrows are polled after the events are drained, and the lights are set
// with the view of the pass before.
TEST_F(Pass, ArrowsArePolledAfterTheEventsAndLightsSetWithThePreviousPassView) {
    // A real key press through the X server: the event drain of the pass brings it into
    // SDL's key state, and the poll that follows must already see it.
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    ASSERT_TRUE(SDL_GetWindowWMInfo(ensureGlContext(), &info));
    Display* display = info.info.x11.display;
    XSetInputFocus(display, info.info.x11.window, RevertToParent, CurrentTime);
    status().state = GameState::Playing;
    for (const bool down : {true, false}) {
        XTestFakeKeyEvent(display, XKeysymToKeycode(display, XK_Up), down, CurrentTime), XSync(display, False);
        pass(milliseconds(20), SDL_GetKeyboardState(nullptr));
        EXPECT_EQ(camera.keyForward, down);
    }

    world.lighting.nightMode = true;
    keys[SDL_SCANCODE_LEFT] = 1;  // every pass's view differs from the last one's
    pass(), pass();
    const Matrix view = currentMatrix(GL_MODELVIEW_MATRIX);
    const Vec3 target = camera.target;
    pass();
    ASSERT_NE(camera.target.x, target.x);
    // Light positions are kept in eye space, through the modelview in force when set.
    for (const auto& [light, place] : {std::pair{GL_LIGHT6, target}, {GL_LIGHT1, Vec3{25.0f, 3.0f, -41.176472f}},
                                            {GL_LIGHT5, Vec3{25.0f, 3.0f, 41.176472f}}}) {
        GLfloat stored[4];
        glGetLightfv(light, GL_POSITION, stored);
        EXPECT_EQ(at({stored[0], stored[1], stored[2]}), at(inView(view, place))) << "light " << light - GL_LIGHT0;
    }
}

// Every screen in Spanish and English, every text letter for letter at its place and within
// its room (the widest values shown); then through a catalog that marks each line: every glyph
// a pass draws belongs to a marked text. Each catalog is whole and drawable.
TEST_F(Pass, ScreensSayWhatTheyShouldWhereTheyShould) {
    struct Text {
        int x, y, right;  // the pen's position (x 0: anywhere) and what the text must end before
        const char *es, *en;
    };
    // The help panel's two columns, row by row.
    const std::vector<Text> help = {
        {221, 123, 518, "FLECHAS:  Mover el pato", "ARROWS:  Move the duck"}, {527, 123, 823, "1:  Velocidad LENTA", "1:  Speed SLOW"},
        {221, 153, 518, "V:  Cambio de vista", "V:  Change the view"}, {527, 153, 823, "2:  Velocidad NORMAL", "2:  Speed NORMAL"},
        {221, 183, 518, "P:  Pausar el juego", "P:  Pause the game"}, {527, 183, 823, "3:  Velocidad RAPIDA", "3:  Speed FAST"},
        {221, 213, 518, "Q:  Salir del juego", "Q:  Quit the game"},
        {221, 243, 518, "T:  Texturas (ON/OFF)", "T:  Textures (ON/OFF)"}, {527, 243, 823, "N:  Modo nocturno (ON/OFF)", "N:  Night mode (ON/OFF)"},
        {221, 273, 518, "W:  Wireframe (ON/OFF)", "W:  Wireframe (ON/OFF)"}, {527, 273, 823, "L:  Modo atardecer (ON/OFF)", "L:  Sunset mode (ON/OFF)"},
        {221, 303, 518, "I:  Interpolado / Facetado", "I:  Smooth / Flat shading"}};
    const Text again{375, 340, 823, "PRESIONE R PARA REINICIAR", "PRESS R TO PLAY AGAIN"};
    const std::vector<Text> won = {{440, 140, 823, "YOU WON!", "YOU WON!"}, {455, 215, 823, "Score: 121", "Score: 121"},
                                   {430, 245, 823, "Tiempo: 10 : 00", "Time: 10 : 00"}, again};
    const auto with = [](std::vector<Text> texts, const Text& more) { texts.push_back(more); return texts; };
    struct Screen {
        GameState state;
        int32_t progress, elapsed;
        RecordLine record;  // the end screens' record line, from records 888 and 99 : 58
        std::vector<Text> shown;
    };
    const std::vector<Screen> screens = {
        {GameState::Paused, 0, 0, {}, with(help, {329, 348, 823, "PRESIONE P PARA EMPEZAR A JUGAR!", "PRESS P TO START PLAYING!"})},
        {GameState::Paused, -37, 65, {}, with(help, {329, 348, 823, "PRESIONE P PARA VOLVER AL JUEGO!", "PRESS P TO RETURN TO THE GAME!"})},
        // The highest score and the longest time play can show.
        {GameState::Playing, -120, 5998, {}, {{45, 60, 230, "Score: 120", "Score: 120"}, {45, 100, 230, "Tiempo: 99 : 58", "Time: 99 : 58"}}},
        {GameState::GameOver, -37, 65, RecordLine::ToBeat,
         {{440, 140, 823, "GAME OVER", "GAME OVER"}, {455, 215, 823, "Score: 37", "Score: 37"}, {430, 245, 823, "Tiempo: 01 : 05", "Time: 01 : 05"},
          again, {0, 0, 823, "Record: 888   Mejor tiempo: 99 : 58", "Record: 888   Best time: 99 : 58"}}},
        {GameState::Won, -121, 600, RecordLine::NewScore, with(won, {0, 0, 823, "NUEVO RECORD!", "NEW RECORD!"})},
        {GameState::Won, -121, 600, RecordLine::NewTime, with(won, {0, 0, 823, "NUEVO MEJOR TIEMPO!", "NEW BEST TIME!"})},
        {GameState::Won, -121, 600, RecordLine::NewScoreAndTime, with(won, {0, 0, 823, "NUEVO RECORD Y MEJOR TIEMPO!", "NEW RECORD AND BEST TIME!"})},
    };
    *game.pauseBoard = makeBlackboard(), *game.endBoard = makeBlackboard();
    RecordBook unused("");  // never asked: the record line is set by hand
    world.records = &unused;
    for (const auto& [locale, mark, language] : {std::tuple{"es_ES.UTF-8", "", "es"}, {"en_US.UTF-8", "", "en"}, {"en_US.UTF-8", "~", "en"}}) {
        const bool spanish = std::string(language) == "es";
        setenv("LC_MESSAGES", locale, 1);
        startLanguage(*mark ? LARKMERE_BUILD_DIR "/tests/marked" : LARKMERE_BUILD_DIR "/locale");
        // The catalog itself: complete for the sources' texts, every conversion kept, and only
        // characters the bitmap font can draw.
        const std::string po = std::string(LARKMERE_SOURCE_DIR "/po/") + language + ".po";
        const auto [checked, statistics] = shell("msgfmt --check --statistics -o /dev/null " + po + " 2>&1");
        EXPECT_TRUE(checked == 0 && statistics.find("untranslated") == std::string::npos && statistics.find("fuzzy") == std::string::npos) << statistics;
        EXPECT_EQ(shell("msgcmp " + po + " " LARKMERE_BUILD_DIR "/larkmere.pot 2>&1").first, 0) << "a text without translation";
        EXPECT_EQ(shell("msgconv -t ISO-8859-1 -o /dev/null " + po + " 2>&1").first, 0) << "a character the font lacks";
        for (const Screen& screen : screens) {
            SCOPED_TRACE(testing::Message() << locale << mark << ", state " << static_cast<int>(screen.state));
            status() = GameStatus{screen.state, GameSpeed::Normal, true, false, true, screen.progress, screen.elapsed};
            world.clock.playLast = now, world.clock.playStart = now - std::chrono::seconds(screen.elapsed);
            world.recordLine = recordLineText({Records{888, 5998, 9, 9}, screen.record});
            world.runKept = true;
            pass();
            const Image image = readFramebuffer();
            int letters = 0;
            for (const Text& text : screen.shown) {
                const std::string shown = mark + std::string(spanish ? text.es : text.en);
                const Area where = text.x == 0 ? Area{} : Area{text.x - 2, text.y - 2, text.x + 3, text.y + 3};
                const auto pen = findText(image, textMask(shown.c_str()), where);
                EXPECT_TRUE(pen) << "\"" << shown << "\" at " << text.x << ", " << text.y;
                EXPECT_TRUE(!pen || *mark || pen->first + textWidth(shown.c_str()) <= text.right) << shown << " fits";
                letters += static_cast<int>(shown.size());
            }
            EXPECT_EQ(glyphsDrawn([&] { pass(milliseconds(0)); }), letters) << "glyphs beyond the listed texts";
            // The clock's box darkens exactly its 225 x 100 pixels from (25, 25).
            const bool playing = screen.state == GameState::Playing;
            for (const auto& [x, y, dx, dy] : {std::array{25, 25, -1, -1}, {249, 25, 1, -1}, {25, 124, -1, 1}, {249, 124, 1, 1}}) {
                const Rgb in = image.at(x, y), out = image.at(x + dx, y + dy);
                EXPECT_EQ(in.r + in.g + in.b < 0.6 * (out.r + out.g + out.b), playing) << x << ", " << y;
            }
        }
    }
    setenv("LC_MESSAGES", "C", 1);  // the message ids back, for the tests that follow in this process
    startLanguage(LARKMERE_BUILD_DIR "/locale");
    // Both boards show their picture upright, its first row at the top, at 90 % opacity.
    const GLubyte redAboveBlue[8] = {200, 0, 0, 255, 0, 0, 200, 255};
    Blackboard board = makeBlackboard();
    glGenTextures(1, &board.texture), glBindTexture(GL_TEXTURE_2D, board.texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST), glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 2, 0, GL_RGBA, GL_UNSIGNED_BYTE, redAboveBlue);
    for (const bool help : {true, false}) {
        glClear(GL_COLOR_BUFFER_BIT), help ? drawHelpPanel(board) : drawEndScreen(board);
        const Image shot = readFramebuffer();
        const Rgb top = shot.at(180, 55), bottom = shot.at(180, 425);
        EXPECT_TRUE(std::abs(top.r - 180) < 3 && top.b == 0 && bottom.r == 0 && std::abs(bottom.b - 180) < 3)
            << top.r << ' ' << top.b << ' ' << bottom.r << ' ' << bottom.b;
    }
}

// The record line goes into the free space between the time and the prompt, centred, and
// leaves every designed pixel as it was; each run is kept once, on its first end-screen pass.
TEST_F(Pass, EndScreenRecordLineFillsTheFreeSpaceOnly) {
    char base[] = "/tmp/larkmere-gl-records-XXXXXX";
    const fs::path folder = fs::path(mkdtemp(base)) / "larkmere";
    RecordBook book(folder);
    *game.endBoard = makeBlackboard();
    const auto endOfRun = [&](int32_t progress, bool withRecords) {
        status().state = GameState::Playing;
        pass();
        status() = GameStatus{GameState::GameOver, GameSpeed::Normal, true, false, true, progress, 65};
        world.records = withRecords ? &book : nullptr;
        for (int i = 0; i < 3; ++i) pass();
        return readFramebuffer();
    };
    // Each run's end screen without records, then with: the first run sets the record, the second is below it.
    const Image plain = endOfRun(-37, false), first = endOfRun(-37, true);
    const Image plainBelow = endOfRun(-20, false), second = endOfRun(-20, true);
    for (const auto& [shot, text, plain] : {std::tuple{&first, "NUEVO RECORD!", &plain}, {&second, "Record: 37", &plainBelow}}) {
        const TextMask mask = textMask(text);
        const auto pen = findText(*shot, mask, Area{170, 290, 830, 295});
        ASSERT_TRUE(pen) << text;
        int left = 1000, right = 0;
        for (const auto& [x, y] : mask.ink) left = std::min(left, x), right = std::max(right, x);
        EXPECT_NEAR(pen->first + (left + right) / 2.0, 500.0, 2.0) << text;
        // Below the time's lowest ink and above the prompt's highest, nothing else moves.
        EXPECT_EQ(countDifferent(*plain, *shot, Area{0, 0, 1000, 252}, 0) + countDifferent(*plain, *shot, Area{0, 326, 1000, 480}, 0), 0);
        EXPECT_GT(countDifferent(*plain, *shot, Area{0, 252, 1000, 326}, 0), 50);
    }
    book.waitForWrite();
    EXPECT_EQ(readRecordFile(folder / "records").records.runs, 2);
    fs::remove_all(folder.parent_path());
}

TEST_F(GlTest, ProjectionIsTheFixedPerspectiveAndTexturesLoadWithTheirDepthWrapAndMode) {
    // 45 degrees vertically, the window's aspect, near 0.1, far 200; the modelview left current.
    const Matrix projection = currentMatrix(GL_PROJECTION_MATRIX);
    // A window not asked to be fullscreen opens at the designed size.
    int matrixMode = 0, width = 0, height = 0;
    glGetIntegerv(GL_MATRIX_MODE, &matrixMode);
    SDL_GetWindowSize(ensureGlContext(), &width, &height);
    EXPECT_TRUE(matrixMode == GL_MODELVIEW && glIsEnabled(GL_DEPTH_TEST) && width == 1000 && height == 480) << width << " x " << height;
    const float perspective[16] = {1.1588225f, 0, 0, 0, 0, 2.4142136f, 0, 0, 0, 0, -1.0010005f, -1, 0, 0, -0.2001001f, 0};
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(projection[i], perspective[i], 1e-6f) << i;

    // Checked right after each load: the texture environment is shared, not per texture.
    const auto check = [](const std::string& name, GLuint texture, GLint width, GLint height, GLint format, GLint wrap, GLint mode = GL_MODULATE) {
        SCOPED_TRACE(name);
        std::vector<GLint> value(8);
        glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &value[7]);
        glBindTexture(GL_TEXTURE_2D, texture);
        const GLenum names[] = {GL_TEXTURE_WIDTH, GL_TEXTURE_HEIGHT, GL_TEXTURE_INTERNAL_FORMAT, GL_TEXTURE_WRAP_S,
                                GL_TEXTURE_WRAP_T, GL_TEXTURE_MIN_FILTER, GL_TEXTURE_MAG_FILTER};
        for (int i = 0; i < 7; ++i)
            i < 3 ? glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, names[i], &value[i]) : glGetTexParameteriv(GL_TEXTURE_2D, names[i], &value[i]);
        EXPECT_EQ(value, (std::vector<GLint>{width, height, format, wrap, wrap, GL_LINEAR, GL_LINEAR, mode}));
        // The picture goes up unchanged, its bottom row first.
        std::vector<uint8_t> texels(size_t(width) * height * 3);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_BGR, GL_UNSIGNED_BYTE, texels.data());
        EXPECT_TRUE(width == 0 || texels == loadImage(name).bgr) << "texels differ from the file";
    };
    check("./assets/textures/Duck.jpg", loadDuckTexture(), 512, 512, GL_RGB, GL_REPEAT, GL_REPLACE);
    check("./assets/textures/grass.png", GrassField::instance().texture, 128, 128, GL_RGB, GL_REPEAT);
    check("./assets/textures/blackboard.png", makeBlackboard().texture, 512, 256, GL_RGBA, GL_REPEAT);
    check("missing", loadTexture("./assets/textures/none.png", 24, GL_REPEAT, GL_MODULATE), 0, 0, GL_RGB, GL_REPEAT);
    // Refused from its header alone: neither decoded nor uploaded.
    const std::string huge = testing::TempDir() + "huge.png";
    std::ofstream(huge, std::ios::binary) << HugeHeaderPng;
    check("huge", loadTexture(huge, 32, GL_CLAMP_TO_EDGE, GL_MODULATE), 0, 0, GL_RGBA, GL_CLAMP_TO_EDGE);
    // Rows of an odd width, padded in memory, go up without a slant.
    const std::string odd = testing::TempDir() + "odd.png";
    ASSERT_TRUE(saveImage(Image{3, 2, {9, 18, 27, 36, 45, 54, 63, 72, 81, 90, 99, 108, 117, 126, 135, 144, 153, 162}}, odd));
    check(odd, loadTexture(odd, 24, GL_REPEAT, GL_MODULATE), 3, 2, GL_RGB, GL_REPEAT);
    // The record loads the set of its first call (start-up's, by day) only; N while playing
    // swaps in the night set, and N again a fresh day set, each deleting the faces it replaces.
    GameParts game = startGame(nullptr);
    GameWorld& world = game.world;
    SkyboxTextures& sky = *world.skybox;
    const GLuint first = sky.topFace;
    SkyboxTextures::instance(world.nightFaces, *game.camera);
    EXPECT_EQ(sky.topFace, first) << "a later call loads nothing";
    InputTargets targets{GameStatus::instance(), world.quitRequested, world.lighting, *game.camera, world.clock, &sky, world.dayFaces, world.nightFaces};
    SDL_Event n{SDL_KEYUP};
    n.key.keysym.sym = SDLK_n;
    const FaceList* sets[] = {&world.dayFaces, &world.nightFaces, &world.dayFaces};
    // Night toggles without end open no file for good.
    const auto openFiles = [] { return std::distance(fs::directory_iterator("/proc/self/fd"), fs::directory_iterator{}); };
    const auto before = openFiles();
    for (int toggles = 0; toggles < 3; ++toggles) {
        const GLuint replaced = sky.topFace;
        if (toggles > 0) handleEvent(n, GameState::Playing, targets);
        EXPECT_FALSE(toggles > 0 && glIsTexture(replaced)) << "a replaced sky face is deleted";
        size_t slot = 0;
        for (GLuint face : {sky.leftFace, sky.backFace, sky.rightFace, sky.frontFace, sky.topFace, sky.bottomFace})
            check((*sets[toggles])[slot++], face, 512, 512, GL_RGB, GL_CLAMP_TO_EDGE);
    }
    EXPECT_EQ(openFiles(), before);
    glBindTexture(GL_TEXTURE_2D, 0);
}

TEST_F(GlTest, WindowIconIsTheDuckUpright) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    ASSERT_TRUE(SDL_GetWindowWMInfo(ensureGlContext(), &info));
    // Set again and again and scaled down each time, the icon keeps no decoded picture behind.
    const std::string large = testing::TempDir() + "larkmere-icon-" + std::to_string(getpid()) + ".png";
    ASSERT_TRUE(saveImage(Image{1024, 1024, std::vector<uint8_t>(1024 * 1024 * 3, 200)}, large));
    setWindowIcon(ensureGlContext(), large);
    const size_t heapBefore = mallinfo2().uordblks + mallinfo2().hblkhd;
    for (int i = 0; i < 4; ++i) setWindowIcon(ensureGlContext(), large);
    EXPECT_LT(mallinfo2().uordblks + mallinfo2().hblkhd, heapBefore + 256 * 1024) << "a leaked icon is 1 MiB";
    std::remove(large.c_str());
    setWindowIcon(ensureGlContext(), "./assets/icons/duck-64.png");
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, left = 0;
    unsigned char* data = nullptr;
    XGetWindowProperty(info.info.x11.display, info.info.x11.window, XInternAtom(info.info.x11.display, "_NET_WM_ICON", False),
                       0, 1 << 20, False, AnyPropertyType, &type, &format, &count, &left, &data);
    // Width and height (64 each), then ARGB rows from the top, each 32-bit item in a long.
    // Every opaque pixel is the picture's.
    const std::vector<unsigned long> icon(reinterpret_cast<unsigned long*>(data), reinterpret_cast<unsigned long*>(data) + count);
    XFree(data);
    const Image duck = loadImage("./assets/icons/duck-64.png");
    ASSERT_EQ(icon.size(), 2u + 64 * 64);
    EXPECT_EQ(icon[2 + 32 * 64 + 32] >> 24 & 255, 255u) << "the badge's middle is opaque";
    for (int i = 0; i < 64 * 64; ++i) {
        const unsigned long p = icon[2 + i];
        const Rgb want = duck.at(i % 64, i / 64);
        ASSERT_TRUE((p >> 24 & 255) != 255 || (p & 0xffffff) == unsigned(want.r << 16 | want.g << 8 | want.b)) << i % 64 << ", " << i / 64;
    }
}

TEST_F(Pad, WalksTurnsSurvivesBeingPulledOutAndEveryButtonInEveryStateActsAsItsKey) {
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
    pass();
    EXPECT_FLOAT_EQ(camera.mouseDeltaX, 18.0f) << "full right: 900 pixels of mouse a second";
    for (int i = 0; i < 4; ++i) pass();
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

    // Each button (and each trigger let go) does in every state just what its key's release does
    // there; the key table's own answers are pinned by the keyboard's tests.
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
            const auto byKey = after(s, key, [&] { release(key); });
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
