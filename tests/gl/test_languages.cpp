// The game's catalogs: complete for the sources' texts, every conversion kept, and only
// characters the bitmap font can draw. What they say on screen is checked with the screens.
#include <gtest/gtest.h>

#include <string>

#include "support/Game.h"

TEST(Languages, EveryCatalogIsCompleteAndDrawable) {
    for (const char* language : {"en", "es"}) {
        SCOPED_TRACE(language);
        const std::string po = std::string(LARKMERE_SOURCE_DIR "/po/") + language + ".po";
        const auto [checked, statistics] = shell("msgfmt --check --statistics -o /dev/null " + po + " 2>&1");
        EXPECT_EQ(checked, 0) << statistics;
        EXPECT_EQ(statistics.find("untranslated"), std::string::npos) << statistics;
        EXPECT_EQ(statistics.find("fuzzy"), std::string::npos) << statistics;
        const std::string pot = LARKMERE_BUILD_DIR "/larkmere.pot";
        EXPECT_EQ(shell("msgcmp " + po + " " + pot + " 2>&1").first, 0) << "a text of the sources has no translation";
        EXPECT_EQ(shell("msgconv -t ISO-8859-1 -o /dev/null " + po + " 2>&1").first, 0) << "a character the font lacks";
    }
}
