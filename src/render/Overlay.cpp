// Bitmap text, the 2D window-pixel set-up shared by the overlays, and the play clock.
#include "render/Overlay.h"

#include <GL/freeglut.h>
#include <GL/gl.h>
#include <cinttypes>
#include <cstdio>

#include "core/GameStatus.h"
#include "core/Language.h"

void drawText(const char* text, float x, float y) {
    if (text == nullptr) return;
    const std::string latin1 = toLatin1(text);
    glPushAttrib(GL_CURRENT_BIT);
    glColor3f(1.0f, 1.0f, 1.0f);
    glRasterPos2f(x, y);
    for (const unsigned char* c = reinterpret_cast<const unsigned char*>(latin1.c_str()); *c != 0; ++c) {
        glutBitmapCharacter(GLUT_BITMAP_HELVETICA_18, *c);
    }
    glPopAttrib();
}

int textWidth(const char* text) {
    const std::string latin1 = toLatin1(text);
    return glutBitmapLength(GLUT_BITMAP_HELVETICA_18, reinterpret_cast<const unsigned char*>(latin1.c_str()));
}

void beginOverlay(const ScreenSize& size) {
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0.0, size.width, size.height, 0.0, -1.0, 1.0);
    // Left off on purpose: the sky box of the next pass switches it on again.
    glDisable(GL_DEPTH_TEST);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}

void endOverlay() {
    glDisable(GL_BLEND);
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
}

std::string formatPlayTime(int32_t seconds) {
    // The clock never runs backwards; a negative count would print as nonsense.
    const int32_t t = seconds < 0 ? 0 : seconds;
    const int32_t minutes = t / 60;
    const int32_t rest = t - 60 * minutes;
    const char* pattern;
    if (rest < 10) {
        pattern = t < 600 ? "0%d : 0%d" : "%d : 0%d";
    } else {
        pattern = t < 600 ? "0%d : %d" : "%d : %d";
    }
    char text[32];
    std::snprintf(text, sizeof text, pattern, static_cast<int>(minutes), static_cast<int>(rest));
    return text;
}

void formatScore(int32_t progress, char* text, size_t size) {
    // Negated in 64 bits: the lowest int32 has no int32 negation.
    std::snprintf(text, size, "%" PRId64, -static_cast<int64_t>(progress));
}

ScoreLines formatScoreLines(int32_t progress, int32_t elapsedSeconds) {
    ScoreLines lines{};
    char score[32];
    formatScore(progress, score, sizeof score);
    std::snprintf(lines.score, sizeof lines.score, tr("Score: %s"), score);
    std::snprintf(lines.time, sizeof lines.time, tr("Tiempo: %s"), formatPlayTime(elapsedSeconds).c_str());
    return lines;
}

void drawPlayClock(const ScreenSize& size) {
    const GameStatus& status = GameStatus::instance();
    beginOverlay(size);
    glTranslatef(25.0f, 25.0f, 0.0f);

    glBegin(GL_QUADS);
    glColor4f(0.0f, 0.0f, 0.0f, 0.6f);
    glVertex3f(0.0f, 0.0f, 0.0f);
    glVertex3f(0.0f, 100.0f, 0.0f);
    glVertex3f(225.0f, 100.0f, 0.0f);
    glVertex3f(225.0f, 0.0f, 0.0f);
    glEnd();

    const ScoreLines lines = formatScoreLines(status.progress, status.elapsedSeconds);

    drawText(lines.score, 20.0f, 35.0f);
    drawText(lines.time, 20.0f, 75.0f);
    endOverlay();
}
