// What a screenshot of the game shows, told from its pixels.
#pragma once

#include "support/Image.h"

namespace scene {

// A rectangle of window pixels, [x0, x1) x [y0, y1).
struct Area {
    int x0, y0, x1, y1;
};

// Sky: blue above everything else, bright.
bool looksLikeDaySky(Rgb c);
// Night sky: dark.
bool looksLikeNightSky(Rgb c);
// Lit, textured grass: green clearly above red and blue.
bool looksLikeGrass(Rgb c);

// Light neutral pixels (white or grey cubes under the day light): r, g, b close together
// and above minLevel.
int countNeutral(const Image& image, Area area, int minLevel = 110, int spread = 18);
// Pixels darker than maxLevel in every channel.
int countDark(const Image& image, Area area, int maxLevel = 20);
// Pixels in the area that differ by more than tolerance between two shots.
int countChanged(const Image& a, const Image& b, Area area, int tolerance = 30);
// A mask of white text pixels in the area, row-major.
std::vector<bool> textMask(const Image& image, Area area, int minLevel = 235);
// Number of positions where two masks of the same area differ.
int maskDifference(const std::vector<bool>& a, const std::vector<bool>& b);
int maskCount(const std::vector<bool>& mask);

// Window areas of the overlays.
constexpr Area ClockBox{25, 25, 250, 125};
constexpr Area ScoreLine{40, 40, 250, 66};   // "Score: N", baseline y 60
constexpr Area TimeLine{40, 80, 250, 106};   // "Tiempo: MM : SS", baseline y 100
constexpr Area HelpLeftColumn{215, 105, 420, 310};
constexpr Area PromptRow{320, 328, 700, 354};  // prompt baseline y 348
constexpr Area EndTitleRow{430, 122, 600, 146};  // title baseline y 140
constexpr Area EndRestartRow{370, 322, 680, 346};  // restart prompt baseline y 340

}  // namespace scene

namespace scene {
// Mean absolute difference between horizontal neighbours: high on textured grass,
// low on smooth surfaces.
double roughness(const Image& image, Area area);
}  // namespace scene
