// The blackboard panel and what is written on it: the help panel and the end screens.
#include "render/Panels.h"


#include <cmath>

#include "core/GameStatus.h"
#include "core/Language.h"
#include "render/Overlay.h"

namespace {
ScreenSize screenOf(const Blackboard& board) {
    ScreenSize size;
    size.height = board.height;
    size.width = board.width;
    return size;
}

const char* const HelpLeftColumn[] = {
    N_("FLECHAS:  Mover el pato"),
    N_("V:  Cambio de vista"),
    N_("P:  Pausar el juego"),
    N_("Q:  Salir del juego"),
    N_("T:  Texturas (ON/OFF)"),
    N_("W:  Wireframe (ON/OFF)"),
    N_("I:  Interpolado / Facetado"),
};

// Row 3 stays empty to set the speed keys apart from the lighting modes.
const char* const HelpRightColumn[] = {
    N_("1:  Velocidad LENTA"),
    N_("2:  Velocidad NORMAL"),
    N_("3:  Velocidad RAPIDA"),
    nullptr,
    N_("N:  Modo nocturno (ON/OFF)"),
    N_("L:  Modo atardecer (ON/OFF)"),
};

template <size_t N>
void drawColumn(const Blackboard& board, const char* const (&rows)[N]) {
    for (size_t row = 0; row < N; ++row) {
        if (rows[row] == nullptr) continue;
        drawText(tr(rows[row]), board.textLeft, board.textTop + static_cast<float>(row) * board.lineHeight);
    }
}
}  // namespace

void drawBoard(const Blackboard& board) {
    const float halfWidth = board.width / 3.0f;
    const float halfHeight = board.height / 2.5f;
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, board.texture);
    glBegin(GL_QUADS);
    glColor4f(1.0f, 1.0f, 1.0f, 0.9f);
    // t = 0 at the top edge on screen, since y runs down in the overlay.
    glTexCoord2f(0.0f, 0.0f);
    glVertex3f(-halfWidth, -halfHeight, 0.0f);
    glTexCoord2f(0.0f, 1.0f);
    glVertex3f(-halfWidth, halfHeight, 0.0f);
    glTexCoord2f(1.0f, 1.0f);
    glVertex3f(halfWidth, halfHeight, 0.0f);
    glTexCoord2f(1.0f, 0.0f);
    glVertex3f(halfWidth, -halfHeight, 0.0f);
    glEnd();
    glDisable(GL_TEXTURE_2D);
}

void drawHelpPanel(const Blackboard& board) {
    beginOverlay(screenOf(board));
    glTranslatef(board.width * 0.5f, board.height * 0.5f, 0.0f);
    drawBoard(board);

    // Origin to the board's top-left corner.
    glTranslatef(-board.width / 3.0f, -board.height / 2.5f, 0.0f);
    drawColumn(board, HelpLeftColumn);
    glTranslatef(board.width / 3.0f - board.textLeft * 0.5f, 0.0f, 0.0f);
    drawColumn(board, HelpRightColumn);

    glTranslatef(-board.width / 7.0f, board.height / 1.6f, 0.0f);
    // Nothing played yet means the first pause of a run: invite to start, not to return.
    const char* prompt = GameStatus::instance().elapsedSeconds == 0 ? tr("PRESIONE P PARA EMPEZAR A JUGAR!")
                                                                    : tr("PRESIONE P PARA VOLVER AL JUEGO!");
    drawText(prompt, 0.0f, 0.0f);
    endOverlay();
}

void drawEndScreen(const Blackboard& board, const std::string& recordLine) {
    const GameStatus& status = GameStatus::instance();
    beginOverlay(screenOf(board));
    glTranslatef(board.width * 0.5f, board.height * 0.5f, 0.0f);
    drawBoard(board);

    const ScoreLines lines = formatScoreLines(status.progress, status.elapsedSeconds);

    glTranslatef(-60.0f, -100.0f, 0.0f);
    drawText(status.state == GameState::GameOver ? tr("GAME OVER") : tr("YOU WON!"), 0.0f, 0.0f);
    drawText(lines.score, board.lineHeight * 0.5f, board.textTop);
    drawText(lines.time, 5.0f - board.lineHeight * 0.5f, board.textTop + board.lineHeight);
    drawText(tr("PRESIONE R PARA REINICIAR"), -2.0f * board.lineHeight - 5.0f, 200.0f);
    if (!recordLine.empty()) {
        // Halfway between the time's baseline and the prompt's, centred on the board.
        const auto width = static_cast<float>(textWidth(recordLine.c_str()));
        drawText(recordLine.c_str(), 60.0f - std::floor(width * 0.5f), 152.0f);
    }
    endOverlay();
}
