// The play time text of the clock and the end screens, and the score text.
#include <gtest/gtest.h>

#include <climits>

#include "render/Overlay.h"

TEST(PlayTimeFormat, FourPatternsPastNinetyNineMinutesAndExtremes) {
    const struct {
        int32_t seconds;
        const char* text;
    } cases[] = {
        {9, "00 : 09"},     {10, "00 : 10"},      {60, "01 : 00"},     {599, "09 : 59"},
        {609, "10 : 09"},   {610, "10 : 10"},     {5999, "99 : 59"},   {6005, "100 : 05"},
        {-1, "00 : 00"},    {INT32_MIN, "00 : 00"}, {INT32_MAX, "35791394 : 07"},
    };
    for (const auto& c : cases) EXPECT_EQ(formatPlayTime(c.seconds), c.text) << c.seconds << " seconds";
}

TEST(ScoreFormat, ShowsTheNegatedProgress) {
    char text[32];
    for (const auto& [progress, expected] : {std::pair<int32_t, const char*>{0, "0"}, {-121, "121"},
                                             {INT32_MIN, "2147483648"}, {INT32_MAX, "-2147483647"}}) {
        formatScore(progress, text, sizeof text);
        EXPECT_STREQ(text, expected);
    }
}
