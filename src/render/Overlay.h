// Window-pixel overlays: bitmap text, the 2D set-up, the play clock.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/Screen.h"

struct ScreenSize {
    float height = static_cast<float>(WindowHeight);
    float width = static_cast<float>(WindowWidth);
};

// The text is UTF-8; the font draws what Latin-1 holds of it.
void drawText(const char* text, float x, float y);
// Its width in pixels, as drawText draws it.
int textWidth(const char* text);
void beginOverlay(const ScreenSize& size);
void endOverlay();
// "MM : SS" with the leading zeros of the play clock; minutes keep counting past 99.
std::string formatPlayTime(int32_t seconds);
void drawPlayClock(const ScreenSize& size);
// The score text: progress negated, as a decimal number (never overflows).
void formatScore(int32_t progress, char* text, size_t size);

// The two lines the play clock and the end screens show: "Score: N" and "Tiempo: MM : SS".
struct ScoreLines {
    char score[64];
    char time[64];
};
ScoreLines formatScoreLines(int32_t progress, int32_t elapsedSeconds);
