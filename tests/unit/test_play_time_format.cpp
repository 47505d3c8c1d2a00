// The play time text of the clock and the end screens, and the score text.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>

#include "render/Overlay.h"

TEST(PlayTimeFormat, FourPatternsAroundTenSecondsAndTenMinutes) {
    const struct {
        int32_t seconds;
        const char* text;
    } cases[] = {
        {0, "00 : 00"},    {9, "00 : 09"},    {10, "00 : 10"},   {59, "00 : 59"},   {60, "01 : 00"},
        {65, "01 : 05"},   {75, "01 : 15"},   {599, "09 : 59"},  {600, "10 : 00"},  {605, "10 : 05"},
        {609, "10 : 09"},  {610, "10 : 10"},  {675, "11 : 15"},  {5999, "99 : 59"}, {6000, "100 : 00"},
        {6005, "100 : 05"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(formatPlayTime(c.seconds), c.text) << c.seconds << " seconds";
    }
}

TEST(PlayTimeFormat, ExtremesStayReadable) {
    EXPECT_EQ(formatPlayTime(INT32_MAX), "35791394 : 07");
    EXPECT_EQ(formatPlayTime(-1), "00 : 00");
    EXPECT_EQ(formatPlayTime(INT32_MIN), "00 : 00");
}

TEST(ScoreFormat, ShowsTheNegatedProgress) {
    char text[32];
    formatScore(0, text, sizeof text);
    EXPECT_STREQ(text, "0");
    formatScore(-37, text, sizeof text);
    EXPECT_STREQ(text, "37");
    formatScore(-121, text, sizeof text);
    EXPECT_STREQ(text, "121");
    formatScore(INT32_MIN, text, sizeof text);
    EXPECT_STREQ(text, "2147483648");
    formatScore(INT32_MAX, text, sizeof text);
    EXPECT_STREQ(text, "-2147483647");
}
