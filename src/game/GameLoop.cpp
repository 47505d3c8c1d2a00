// The frames of the four game states, in the order the scene must be drawn.
#include "game/GameLoop.h"

#include <GL/gl.h>

#include "game/Input.h"
#include "render/Skybox.h"
#include "world/Rules.h"

namespace {
InputTargets inputTargets(GameWorld& world) {
    return InputTargets{GameStatus::instance(), world.quitRequested, world.lighting, *world.camera,
                        world.clock,            world.skybox,        world.dayFaces, world.nightFaces,
                        &world.soundMuted,      world.window,        world.pads};
}

void clearFrame() {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();
}

void swap(GameWorld& world) {
    if (world.picture != nullptr) world.picture->present();
    if (world.window != nullptr) SDL_GL_SwapWindow(world.window);
}

// Paused and end-screen passes: the mouse is released and the play clock stands still.
void beginStillFrame() {
    SDL_SetRelativeMouseMode(SDL_FALSE);
    clearFrame();
}

void endStillFrame(GameWorld& world) {
    world.clock.clockRunning = false;
    swap(world);
}

void drawSkyAndGrass(GameWorld& world, const GameStatus& status) {
    glEnable(GL_LIGHT0);
    drawSkybox(*world.skybox, SkyboxSize);
    world.field->draw(status);
}
// Every step of a long pass but the last: the motion and the rules, in the pass's order,
// with nothing drawn.
void undrawnStep(GameWorld& world, double seconds, GameStatus& status) {
    world.camera->step(seconds, world.field->bounds(), false);
    world.duck->position = duckPositionFor(world.camera->target, world.duck->size);
    for (Car& car : world.traffic) car.move(static_cast<float>(seconds));
    checkCarCollisions(*world.duck, world.traffic, status);
    updateProgress(*world.camera, status);
}
}  // namespace

bool waitWhileHidden(GameWorld& world) {
    const Uint32 away = SDL_WINDOW_HIDDEN | SDL_WINDOW_MINIMIZED;
    if (world.window == nullptr || (SDL_GetWindowFlags(world.window) & away) == 0) return false;
    GameStatus& status = GameStatus::instance();
    if (status.state == GameState::Playing) {
        // As P does: the play clock stops at the last playing pass and the mouse is let go.
        status.state = GameState::Paused;
        world.clock.clockRunning = false;
        SDL_SetRelativeMouseMode(SDL_FALSE);
    }
    SDL_Event event;
    if (SDL_WaitEvent(&event) != 0) {
        InputTargets targets = inputTargets(world);
        handleEvent(event, status.state, targets);
    }
    return true;
}

namespace {
// The frames of the four states; only the pass chooses among them.
void playingFrame(GameWorld& world, const uint8_t* keyState) {
    GameStatus& status = GameStatus::instance();
    if (!world.clock.clockRunning) {
        world.clock.resumePlay();
        world.clock.clockRunning = true;
    }
    SDL_SetRelativeMouseMode(SDL_TRUE);
    world.runKept = false;
    clearFrame();
    const double passSeconds = world.clock.tick();
    const PassSteps steps = passSteps(passSeconds, speedFactor(status.gameSpeed));
    for (int i = 1; i < steps.count && status.state == GameState::Playing; ++i) undrawnStep(world, steps.seconds, status);
    // A run that ended in an early step stays where it ended.
    const double frameDelta = status.state == GameState::Playing ? steps.seconds : 0.0;
    world.camera->update(frameDelta, world.field->bounds(), false);
    glEnable(GL_LIGHT0);
    drawSkybox(*world.skybox, SkyboxSize);
    glShadeModel(status.smoothShading ? GL_SMOOTH : GL_FLAT);
    world.field->draw(status);
    world.duck->draw(keyState);
    for (Car& car : world.traffic) car.moveAndDraw(static_cast<float>(frameDelta));
    checkCarCollisions(*world.duck, world.traffic, status);
    updateProgress(*world.camera, status);
    drawPlayClock(*world.screen);
    InputTargets targets = inputTargets(world);
    handlePlayingInput(targets);
    pollArrowKeys(*world.camera, keyState);
    if (world.pads != nullptr) applyPad(world.pads->read(), *world.camera, passSeconds);
    world.clock.updatePlayTime(status);
    swap(world);
}

void pausedFrame(GameWorld& world, const uint8_t* keyState) {
    beginStillFrame();
    const double frameDelta = world.clock.tick();
    // Arrow flags left over from the last playing pass must not walk the duck while paused.
    world.camera->update(frameDelta, world.field->bounds(), true, true);
    drawSkyAndGrass(world, GameStatus::instance());
    world.duck->draw(keyState);
    drawHelpPanel(*world.pauseBoard);
    InputTargets targets = inputTargets(world);
    handlePausedInput(targets);
    endStillFrame(world);
}

void endScreenFrame(GameWorld& world) {
    // The first end-screen pass of a run hands it to the records, once, with what it shows.
    if (world.records != nullptr && !world.runKept) {
        const GameStatus& status = GameStatus::instance();
        const RunResult run{status.state == GameState::Won, status.progress < 0 ? -status.progress : 0, status.elapsedSeconds};
        world.recordLine = recordLineText(world.records->finishRun(run));
        world.runKept = true;
    }
    beginStillFrame();
    world.clock.tick();
    // No camera view: the end screen's backdrop is drawn from the identity matrix.
    drawSkyAndGrass(world, GameStatus::instance());
    drawEndScreen(*world.endBoard, world.records != nullptr ? world.recordLine : "");
    InputTargets targets = inputTargets(world);
    handleEndScreenInput(targets);
    endStillFrame(world);
}

}  // namespace

void runPass(GameWorld& world, const uint8_t* keyState) {
    if (world.picture != nullptr) world.picture->begin(world.window);
    applyLighting(world.lighting, *world.camera);
    switch (GameStatus::instance().state) {
        case GameState::Playing: playingFrame(world, keyState); break;
        case GameState::Paused: pausedFrame(world, keyState); break;
        case GameState::Won:
        case GameState::GameOver: endScreenFrame(world); break;
    }
    if (world.sound != nullptr) {
        world.sound->hear({GameStatus::instance().state, world.duck->position, world.duck->size, &world.traffic,
                           world.lighting.nightMode, world.lighting.daylight, world.soundMuted});
    }
}
