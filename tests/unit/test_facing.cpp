// The facing rule: which way the duck turns for the arrows held.
#include <gtest/gtest.h>

#include "player/Duck.h"

TEST(FacingRule, FixedViewTableIncludingOverrides) {
    const struct {
        ArrowKeys keys;  // up, down, left, right
        float angle;
    } cases[] = {
        {{true, false, false, false}, 180}, {{false, true, false, false}, 0},  {{false, false, true, false}, -90},
        {{false, false, false, true}, 90},  {{true, false, true, false}, -135}, {{true, false, false, true}, 135},
        {{false, true, true, false}, -45},  {{false, true, false, true}, 45},   {{true, true, true, false}, -45},
        {{true, true, false, false}, 0},    {{false, false, true, true}, 90},   {{true, false, true, true}, 135},
    };
    Camera camera;
    camera.orbitView = false;
    for (const auto& c : cases) {
        Duck duck(camera, 0, 0);
        applyFacingRule(duck, c.keys);
        EXPECT_EQ(duck.facing, c.angle) << c.keys.up << c.keys.down << c.keys.left << c.keys.right;
    }
}

TEST(FacingRule, OrbitViewAddsTheYawAndNoArrowKeepsTheLastFacing) {
    Camera camera;
    Duck duck(camera, 0, 0);
    applyFacingRule(duck, ArrowKeys{true, false, true, false});
    EXPECT_EQ(duck.keyAngle, -135.0f);
    EXPECT_NEAR(duck.facing, -104.036f, 1e-3f);
    camera.yaw = -20.0f;
    applyFacingRule(duck, ArrowKeys{false, true, false, false});
    EXPECT_EQ(duck.facing, -20.0f);
    camera.yaw = 80.0f;
    applyFacingRule(duck, ArrowKeys{});
    EXPECT_EQ(duck.facing, -20.0f);
}
