// The duck: stands under the camera target, turned toward the arrows held while playing.
#include "player/Duck.h"

#include <SDL2/SDL_scancode.h>

#include "assets/ObjLoader.h"
#include "assets/Texture.h"
#include "core/GameStatus.h"

ArrowKeys readArrowKeys(const uint8_t* keyState) {
    ArrowKeys keys;
    if (keyState == nullptr) return keys;
    keys.up = keyState[SDL_SCANCODE_UP] != 0;
    keys.down = keyState[SDL_SCANCODE_DOWN] != 0;
    keys.left = keyState[SDL_SCANCODE_LEFT] != 0;
    keys.right = keyState[SDL_SCANCODE_RIGHT] != 0;
    return keys;
}

void applyFacingRule(Duck& duck, const ArrowKeys& keys) {
    // Later assignments override earlier ones, diagonals last.
    if (keys.up) duck.keyAngle = 180.0f;
    if (keys.down) duck.keyAngle = 0.0f;
    if (keys.left) duck.keyAngle = -90.0f;
    if (keys.right) duck.keyAngle = 90.0f;
    if (keys.up) {
        if (keys.left) duck.keyAngle = -135.0f;
        if (keys.right) duck.keyAngle = 135.0f;
    }
    if (keys.down) {
        if (keys.left) duck.keyAngle = -45.0f;
        if (keys.right) duck.keyAngle = 45.0f;
    }
    // With nothing held the duck keeps facing the way it last moved.
    if (!(keys.up || keys.down || keys.left || keys.right)) return;
    duck.facing = duck.camera.orbitView ? duck.camera.yaw + duck.keyAngle : duck.keyAngle;
}

Vec3 duckPositionFor(const Vec3& target, float size) {
    const float half = size * 0.5f;
    return {target.x + half, target.y + half - 2.0f, target.z + half};
}

void Duck::draw(const uint8_t* keyState) {
    const GameStatus& status = GameStatus::instance();
    if (status.state == GameState::Playing) applyFacingRule(*this, readArrowKeys(keyState));

    glPushMatrix();
    const Vec3 target = camera.target;
    position = duckPositionFor(target, size);
    // On the ground whatever the target's height.
    glTranslatef(target.x, 0.0f, target.z);
    glRotatef(facing, 0.0f, 1.0f, 0.0f);
    glEnable(GL_BLEND);
    if (status.texturesEnabled && !status.wireframe) glEnable(GL_TEXTURE_2D);
    // The model's z is its height.
    glRotatef(90.0f, -1.0f, 0.0f, 0.0f);
    glCallList(status.wireframe ? plainList : texturedList);
    glDisable(GL_TEXTURE_2D);
    glPopMatrix();
}

GLuint loadDuckTexture() { return loadTexture("./assets/textures/Duck.jpg", 24, GL_REPEAT, GL_REPLACE); }

ObjLists loadDuckLists(GLuint texture) { return loadObjLists("./assets/models/Duck.obj", texture, DuckModelScale); }
