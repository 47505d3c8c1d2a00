// The blackboard panels: the pause and help panel, and the end screens.
#pragma once

#include <GL/gl.h>

#include <string>

#include "core/Screen.h"

struct Blackboard {
    float height = static_cast<float>(WindowHeight);
    float width = static_cast<float>(WindowWidth);
    float textTop = 75.0f;
    float textLeft = 55.0f;
    float lineHeight = 30.0f;
    GLuint texture = 0;
};

// A board with its own texture from "./assets/textures/blackboard.png".
Blackboard makeBlackboard();
void drawBoard(const Blackboard& board);
void drawHelpPanel(const Blackboard& board);
// recordLine, when not empty, is centred in the free space between the time and the prompt.
void drawEndScreen(const Blackboard& board, const std::string& recordLine = "");
