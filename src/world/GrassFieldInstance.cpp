// The one grass field of the run, with its texture.
#include "assets/Texture.h"
#include "world/GrassField.h"

GrassField& GrassField::instance() {
    static GrassField* field = [] {
        auto* created = new GrassField();
        created->texture = loadTexture("./assets/textures/grass.png", 24, GL_REPEAT, GL_MODULATE);
        return created;
    }();
    return *field;
}
