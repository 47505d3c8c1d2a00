// The facing rule: which way the duck turns for the arrows held.
#include <gtest/gtest.h>

#include <SDL2/SDL_scancode.h>

#include "player/Duck.h"

namespace {

struct FacingCase {
    bool up, down, left, right;
    float angle;
};

ArrowKeys keys(const FacingCase& c) { return ArrowKeys{c.up, c.down, c.left, c.right}; }

}  // namespace

TEST(FacingRule, FixedViewTableIncludingOverrides) {
    const FacingCase cases[] = {
        {true, false, false, false, 180},  {false, true, false, false, 0},
        {false, false, true, false, -90},  {false, false, false, true, 90},
        {true, false, true, false, -135},  {true, false, false, true, 135},
        {false, true, true, false, -45},   {false, true, false, true, 45},
        {true, true, true, false, -45},    {true, true, false, false, 0},
        {false, false, true, true, 90},    {true, false, true, true, 135},
    };
    Camera camera;
    camera.orbitView = false;
    for (const FacingCase& c : cases) {
        Duck duck(camera, 0, 0);
        duck.facing = 7.0f;
        applyFacingRule(duck, keys(c));
        EXPECT_EQ(duck.keyAngle, c.angle) << c.up << c.down << c.left << c.right;
        EXPECT_EQ(duck.facing, c.angle) << c.up << c.down << c.left << c.right;
    }
}

TEST(FacingRule, OrbitViewAddsTheCameraYaw) {
    Camera camera;
    Duck duck(camera, 0, 0);
    applyFacingRule(duck, ArrowKeys{true, false, true, false});
    EXPECT_EQ(duck.keyAngle, -135.0f);
    EXPECT_NEAR(duck.facing, -104.036f, 1e-3f);
    camera.yaw = -20.0f;
    applyFacingRule(duck, ArrowKeys{false, true, false, false});
    EXPECT_EQ(duck.facing, -20.0f);
}

TEST(FacingRule, NoArrowKeepsTheLastFacing) {
    Camera camera;
    Duck duck(camera, 0, 0);
    applyFacingRule(duck, ArrowKeys{false, false, false, true});
    const float facing = duck.facing;
    camera.yaw = 80.0f;
    applyFacingRule(duck, ArrowKeys{});
    EXPECT_EQ(duck.facing, facing);
    EXPECT_EQ(duck.keyAngle, 90.0f);
}

TEST(FacingRule, ArrowsAreReadByScancode) {
    uint8_t state[SDL_NUM_SCANCODES] = {};
    state[SDL_SCANCODE_UP] = 1;
    state[SDL_SCANCODE_RIGHT] = 1;
    state[SDL_SCANCODE_W] = 1;
    ArrowKeys held = readArrowKeys(state);
    EXPECT_TRUE(held.up);
    EXPECT_TRUE(held.right);
    EXPECT_FALSE(held.down);
    EXPECT_FALSE(held.left);
    state[SDL_SCANCODE_UP] = 0;
    state[SDL_SCANCODE_DOWN] = 1;
    state[SDL_SCANCODE_LEFT] = 1;
    held = readArrowKeys(state);
    EXPECT_FALSE(held.up);
    EXPECT_TRUE(held.down);
    EXPECT_TRUE(held.left);
    held = readArrowKeys(nullptr);
    EXPECT_FALSE(held.up || held.down || held.left || held.right);
}
