// The game in each of its languages: complete catalogs whose texts the font can draw and whose
// lines fit their places, the screens in English, and no text that bypasses the catalog.
#include <gtest/gtest.h>

#include <GL/freeglut.h>
#include <libintl.h>

#include <clocale>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/GameStatus.h"
#include "core/Language.h"
#include "records/Records.h"
#include "render/Overlay.h"
#include "render/Panels.h"
#include "support/Game.h"
#include "support/Gl.h"

namespace {
// Messages from the catalogs in `folder` for `locale`; the C locale gives the ids back.
void speak(const char* locale, const std::string& folder = LARKMERE_BUILD_DIR "/locale") {
    setenv("LC_MESSAGES", locale, 1);
    startLanguage(folder);
}

class Languages : public GlTest {
protected:
    void TearDown() override {
        speak("C");
        GlTest::TearDown();
    }
};

int glyphsDrawn(const std::function<void()>& draw) {
    std::vector<GLfloat> buffer(1 << 16);
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_2D, buffer.data());
    glRenderMode(GL_FEEDBACK);
    draw();
    const GLint size = glRenderMode(GL_RENDER);
    int glyphs = 0;
    for (GLint i = 0; i < size;) {
        const auto token = static_cast<GLint>(buffer[i]);
        glyphs += token == GL_BITMAP_TOKEN;
        i += token == GL_POLYGON_TOKEN ? 2 + 2 * static_cast<GLint>(buffer[i + 1])
             : token == GL_LINE_TOKEN || token == GL_LINE_RESET_TOKEN ? 5
             : token == GL_PASS_THROUGH_TOKEN ? 2 : 3;
    }
    return glyphs;
}
}  // namespace

// Each catalog is complete for the sources' texts, keeps every conversion, holds only what the
// font draws, and each screen text fits its place (window pixels, the widest values shown).
TEST_F(Languages, EveryCatalogIsCompleteDrawableAndFits) {
    struct Place {
        const char* id;
        int left, right;  // the pen's start, and what the text must end before
    };
    const int helpLeft = 222, helpRight = 528, boardEnd = 823, clockEnd = 230;
    std::vector<Place> places;
    for (const char* id : {"FLECHAS:  Mover el pato", "V:  Cambio de vista", "P:  Pausar el juego", "Q:  Salir del juego",
                           "T:  Texturas (ON/OFF)", "W:  Wireframe (ON/OFF)", "I:  Interpolado / Facetado"}) {
        places.push_back({id, helpLeft, helpRight - 10});
    }
    for (const char* id : {"1:  Velocidad LENTA", "2:  Velocidad NORMAL", "3:  Velocidad RAPIDA", "N:  Modo nocturno (ON/OFF)",
                           "L:  Modo atardecer (ON/OFF)"}) {
        places.push_back({id, helpRight, boardEnd});
    }
    places.insert(places.end(), {{"PRESIONE P PARA EMPEZAR A JUGAR!", 330, boardEnd}, {"PRESIONE P PARA VOLVER AL JUEGO!", 330, boardEnd},
                                 {"GAME OVER", 440, boardEnd}, {"YOU WON!", 440, boardEnd}, {"PRESIONE R PARA REINICIAR", 375, boardEnd},
                                 {"NUEVO RECORD Y MEJOR TIEMPO!", 177, boardEnd}, {"NUEVO RECORD!", 177, boardEnd},
                                 {"NUEVO MEJOR TIEMPO!", 177, boardEnd}});
    for (const char* language : {"en", "es"}) {
        SCOPED_TRACE(language);
        const std::string po = std::string(LARKMERE_SOURCE_DIR "/po/") + language + ".po";
        const auto [checked, statistics] = shell("msgfmt --check --statistics -o /dev/null " + po + " 2>&1");
        EXPECT_EQ(checked, 0) << statistics;
        EXPECT_EQ(statistics.find("untranslated"), std::string::npos) << statistics;
        EXPECT_EQ(statistics.find("fuzzy"), std::string::npos) << statistics;
        EXPECT_EQ(shell("msgcmp " + po + " " LARKMERE_BUILD_DIR "/larkmere.pot 2>&1").first, 0) << "a text of the sources has no translation";
        EXPECT_EQ(shell("msgconv -t ISO-8859-1 -o /dev/null " + po + " 2>&1").first, 0) << "a character the font lacks";

        speak(std::string(language) == "en" ? "en_US.UTF-8" : "es_ES.UTF-8");
        std::vector<std::string> texts;
        for (const Place& place : places) texts.push_back(tr(place.id));
        texts.push_back(formatScoreLines(-888, 99 * 60 + 58).score);
        texts.push_back(formatScoreLines(-888, 99 * 60 + 58).time);
        texts.push_back(recordLineText({Records{888, 5998, 9, 9}, RecordLine::ToBeat}));
        places.insert(places.end(), {{"score", 45, clockEnd}, {"time", 45, clockEnd}, {"record", 177, boardEnd}});
        for (size_t i = 0; i < texts.size(); ++i) {
            bool drawable = true;
            toLatin1(texts[i], &drawable);
            EXPECT_TRUE(drawable) << texts[i];
            EXPECT_LE(places[i].left + textWidth(texts[i].c_str()), places[i].right) << texts[i];
        }
        places.resize(places.size() - 3);
    }
}

// Every screen in English, letter for letter at the design's places; then through a catalog
// that marks each line: every glyph drawn belongs to a marked text.
TEST_F(Languages, ScreensSpeakEnglishAndEveryTextComesFromTheCatalog) {
    using Text = std::tuple<std::string, int, int>;  // the text and its pen position
    struct Screen {
        GameState state;
        int32_t progress, elapsed;
        std::vector<Text> shown;
    };
    const std::vector<Text> help = {
        {"ARROWS:  Move the duck", 221, 123}, {"V:  Change the view", 221, 153}, {"P:  Pause the game", 221, 183},
        {"Q:  Quit the game", 221, 213}, {"T:  Textures (ON/OFF)", 221, 243}, {"W:  Wireframe (ON/OFF)", 221, 273},
        {"I:  Smooth / Flat shading", 221, 303}, {"1:  Speed SLOW", 527, 123}, {"2:  Speed NORMAL", 527, 153},
        {"3:  Speed FAST", 527, 183}, {"N:  Night mode (ON/OFF)", 527, 243}, {"L:  Sunset mode (ON/OFF)", 527, 273}};
    std::vector<Text> firstPause = help, laterPause = help;
    firstPause.push_back({"PRESS P TO START PLAYING!", 329, 348});
    laterPause.push_back({"PRESS P TO RETURN TO THE GAME!", 329, 348});
    const std::vector<Screen> screens = {
        {GameState::Paused, 0, 0, firstPause},
        {GameState::Paused, -37, 65, laterPause},
        {GameState::Playing, -37, 65, {{"Score: 37", 45, 60}, {"Time: 01 : 05", 45, 100}}},
        {GameState::GameOver, -37, 65,
         {{"GAME OVER", 440, 140}, {"Score: 37", 455, 215}, {"Time: 01 : 05", 430, 245}, {"PRESS R TO PLAY AGAIN", 375, 340},
          {"Record: 40   Best time: 02 : 03", 0, 0}}},
        {GameState::Won, -121, 600, {{"YOU WON!", 440, 140}, {"Score: 121", 455, 215}, {"Time: 10 : 00", 430, 245}, {"PRESS R TO PLAY AGAIN", 375, 340},
          {"NEW RECORD!", 0, 0}}},
    };
    const Blackboard board = makeBlackboard();
    ScreenSize size;
    for (const std::string mark : {"", "~"}) {
        SCOPED_TRACE(mark);
        speak("en_US.UTF-8", mark.empty() ? LARKMERE_BUILD_DIR "/locale" : LARKMERE_BUILD_DIR "/tests/marked");
        for (const Screen& screen : screens) {
            SCOPED_TRACE(static_cast<int>(screen.state));
            GameStatus::instance() = GameStatus{screen.state};
            GameStatus::instance().progress = screen.progress;
            GameStatus::instance().elapsedSeconds = screen.elapsed;
            const auto draw = [&] {
                if (screen.state == GameState::Paused) drawHelpPanel(board);
                if (screen.state == GameState::Playing) drawPlayClock(size);
                const RecordLine line = screen.state == GameState::Won ? RecordLine::NewScore : RecordLine::ToBeat;
                if (screen.state > GameState::Paused) drawEndScreen(board, recordLineText({Records{40, 123, 2, 1}, line}));
            };
            glClear(GL_COLOR_BUFFER_BIT);
            draw();
            const Image image = readFramebuffer();
            size_t letters = 0;
            for (const auto& [text, x, y] : screen.shown) {
                const Area where = x == 0 ? Area{} : Area{x - 2, y - 2, x + 3, y + 3};
                EXPECT_TRUE(findText(image, textMask((mark + text).c_str()), where)) << mark + text << " at " << x << ", " << y;
                letters += mark.size() + text.size();
            }
            EXPECT_EQ(glyphsDrawn(draw), static_cast<int>(letters)) << "glyphs beyond the listed texts";
        }
    }
}
