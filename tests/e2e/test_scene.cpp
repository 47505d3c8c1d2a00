// The scene through the real binary: first frame, walking, views, looks and drawing modes.
#include <gtest/gtest.h>

#include "support/GameProcess.h"
#include "support/Scene.h"

using namespace scene;

namespace {
// Regions of the 1000 x 480 window, away from the overlays and the duck.
constexpr Area TopSky{300, 0, 1000, 20};
constexpr Area NearGrass{0, 440, 1000, 480};
constexpr Area NearGrassLeft{0, 380, 400, 480};
constexpr Area RightOfBoard{840, 140, 1000, 240};  // where far cars show at the start
constexpr Area Field{0, 140, 1000, 480};
constexpr Area Duck{440, 290, 560, 400};

Rgb meanOf(const Image& image, Area area) { return image.mean(area.x0, area.y0, area.x1, area.y1); }

class SceneTest : public ::testing::Test {
protected:
    GameProcess game;
    void SetUp() override {
        ASSERT_FALSE(game.waitForWindow().empty()) << game.output();
        GameProcess::pause(600);
    }
    void TearDown() override {
        if (!game.running()) return;
        game.tapKey("Escape");
        EXPECT_EQ(game.waitForExit(3000).value_or(-1), 0);
    }
    void startPlaying() {
        game.tapKey("p");
        GameProcess::pause(500);
    }
    // Shots before a key, after it, and after pressing it a second time.
    struct Toggled {
        Image before, once, twice;
    };
    Toggled toggleTwice(const std::string& key, const std::string& name) {
        Toggled shots;
        shots.before = game.screenshot(name + "_before");
        game.tapKey(key);
        GameProcess::pause(600);
        shots.once = game.screenshot(name + "_once");
        game.tapKey(key);
        GameProcess::pause(600);
        shots.twice = game.screenshot(name + "_twice");
        return shots;
    }
    // Cars are the only light neutral things on the field; the duck is left out.
    int carPixels(const Image& shot) {
        return countNeutral(shot, Field) - countNeutral(shot, Duck);
    }
};
}  // namespace

TEST_F(SceneTest, FirstFrameShowsSkyAndGrassAndNoCars) {
    const Image shot = game.screenshot("scene_first_frame");
    ASSERT_FALSE(shot.empty());
    EXPECT_TRUE(looksLikeDaySky(meanOf(shot, TopSky)));
    EXPECT_TRUE(looksLikeGrass(meanOf(shot, NearGrass)));
    EXPECT_GT(roughness(shot, NearGrass), 8.0) << "the grass carries its texture";
    EXPECT_LT(countNeutral(shot, RightOfBoard), 20) << "no cars while paused";
    EXPECT_GT(maskCount(textMask(shot, PromptRow)), 100) << "the help panel invites the player to start";
}

TEST_F(SceneTest, PlayShowsTheDuckAndTheCars) {
    startPlaying();
    const Image shot = game.screenshot("scene_playing");
    // The duck: its orange bill and feet, its green head, none of which the grass has.
    int orange = 0;
    for (int y = Duck.y0; y < Duck.y1; ++y) {
        for (int x = Duck.x0; x < Duck.x1; ++x) {
            const Rgb p = shot.at(x, y);
            if (p.r > 180 && p.g > 70 && p.g < 190 && p.b < 80) ++orange;
        }
    }
    EXPECT_GT(orange, 15) << "the duck's bill and feet";
    EXPECT_GT(carPixels(shot), 150) << "the cars are on the field";
}

TEST_F(SceneTest, HoldingUpMovesTheViewOverTheField) {
    startPlaying();
    const Image before = game.screenshot("scene_before_walk");
    GameProcess::pause(400);
    const Image stillStanding = game.screenshot("scene_standing");
    game.holdKey("Up", 800);
    GameProcess::pause(200);
    const Image after = game.screenshot("scene_after_walk");
    // Standing still, only cars change the near grass; walking shifts all of it.
    // Standing still, nothing moves on the near grass (the cars are further away);
    // walking shifts the grass texture under the view.
    EXPECT_LT(countChanged(before, stillStanding, NearGrassLeft, 12), 500);
    EXPECT_GT(countChanged(before, after, NearGrassLeft, 12), 8000);
    EXPECT_GT(maskDifference(textMask(before, ScoreLine), textMask(after, ScoreLine)), 10) << "the score rose";
}

TEST_F(SceneTest, VChangesTheViewEvenWhilePaused) {
    const Image orbit = game.screenshot("scene_orbit_view");
    game.tapKey("v");
    GameProcess::pause(400);
    const Image fixedView = game.screenshot("scene_fixed_view");
    // Paused frames are still: only the view can change the field beside the panel.
    EXPECT_GT(countChanged(orbit, fixedView, Area{0, 0, 160, 480}) + countChanged(orbit, fixedView, NearGrass), 10000);
    // Back in the orbit view, the eye keeps the fixed view's direction at the orbit distance.
    game.tapKey("v");
    GameProcess::pause(400);
    const Image orbitAgain = game.screenshot("scene_orbit_again");
    EXPECT_GT(countChanged(fixedView, orbitAgain, Area{0, 0, 160, 480}), 5000);
}

TEST_F(SceneTest, NTurnsTheSkyToNightAndBack) {
    startPlaying();
    const Toggled night = toggleTwice("n", "scene_night");
    EXPECT_TRUE(looksLikeDaySky(meanOf(night.before, TopSky)));
    EXPECT_TRUE(looksLikeNightSky(meanOf(night.once, TopSky)));
    EXPECT_TRUE(looksLikeDaySky(meanOf(night.twice, TopSky)));
}

TEST_F(SceneTest, LChangesTheLightToSunsetAndBack) {
    startPlaying();
    const Toggled light = toggleTwice("l", "scene_sunset");
    const Rgb day = meanOf(light.before, NearGrass);
    const Rgb sunset = meanOf(light.once, NearGrass);
    const Rgb dayAgain = meanOf(light.twice, NearGrass);
    // The warm sunset light has far less blue and somewhat less green than the white sun.
    EXPECT_LT(sunset.b * 2, day.b + 4);
    EXPECT_LT(sunset.g, day.g - 8);
    EXPECT_NEAR(dayAgain.g, day.g, 4);
    EXPECT_NEAR(dayAgain.b, day.b, 4);
}

TEST_F(SceneTest, WTurnsTheGroundAndTheDuckIntoLines) {
    startPlaying();
    const Toggled shots = toggleTwice("w", "scene_wireframe");
    const Image& solid = shots.before;
    const Image& lines = shots.once;
    // Between the grass lines the smooth ground of the sky box shows through.
    EXPECT_LT(roughness(lines, NearGrass), roughness(solid, NearGrass) * 0.6);
    // The duck becomes white outlines.
    EXPECT_GT(countNeutral(lines, Duck, 200, 20), countNeutral(solid, Duck, 200, 20) + 100);
    EXPECT_GT(roughness(shots.twice, NearGrass), roughness(lines, NearGrass) * 1.5);
}

TEST_F(SceneTest, TTakesTheGrassTextureOff) {
    startPlaying();
    const Toggled shots = toggleTwice("t", "scene_textures");
    const Rgb ground = meanOf(shots.once, NearGrass);
    EXPECT_FALSE(looksLikeGrass(ground));
    EXPECT_LT(std::abs(ground.r - ground.g), 12) << "lit, untextured ground is grey-white";
    EXPECT_LT(roughness(shots.once, NearGrass), 3.0);
    EXPECT_TRUE(looksLikeGrass(meanOf(shots.twice, NearGrass)));
}

TEST_F(SceneTest, MouseTurnsTheOrbitViewWhilePlaying) {
    startPlaying();
    const Image before = game.screenshot("scene_before_turn");
    GameProcess::pause(300);
    const Image still = game.screenshot("scene_no_turn");
    game.moveMouseRelative(120, 0);
    GameProcess::pause(400);
    const Image turned = game.screenshot("scene_after_turn");
    // Without the mouse only the cars move; turning swings the near grass sideways.
    const Area nearGround{0, 300, 1000, 480};
    EXPECT_LT(countChanged(before, still, nearGround, 12), 3000);
    EXPECT_GT(countChanged(before, turned, nearGround, 12), 40000);
}
