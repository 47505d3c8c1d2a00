// A blackboard record with its own copy of the board picture. Kept apart from the
// drawing so the panels can be drawn without the image loader.
#include "assets/Texture.h"
#include "render/Panels.h"

Blackboard makeBlackboard() {
    Blackboard board;
    board.texture = loadTexture("./assets/textures/blackboard.png", 32, GL_REPEAT, GL_MODULATE);
    return board;
}
