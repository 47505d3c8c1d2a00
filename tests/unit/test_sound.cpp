// The sound rules, pass by pass: which sounds a run of passes starts and stops.
#include <gtest/gtest.h>

#include "audio/SoundRules.h"

namespace {
using S = GameState;
constexpr float Far = 1000.0f;

// One pass: the state at its end, the duck's z, the x of car 0 (its lane moved onto the
// duck's row; the other cars far away), and what the player chose.
struct Pass {
    GameState state;
    float duckZ = 60.0f, carX = Far;
    bool muted = false;
};

std::vector<std::vector<Sound>> startsOf(const std::vector<Pass>& passes, std::vector<SoundCues>* cues = nullptr) {
    Traffic traffic = makeTraffic();
    for (Car& car : traffic) car.position = {Far, 1.0f, Far};
    SoundMemory memory;
    std::vector<std::vector<Sound>> starts;
    for (const Pass& pass : passes) {
        // Duck and car 0 given by their centres; boxes of size 2 keep their maximum corner.
        traffic[0].position = {pass.carX + 1.0f, 1.0f, 61.0f};
        const SoundCues c = soundCues({pass.state, {1.0f, 0.0f, pass.duckZ + 1.0f}, 2.0f, &traffic, false, 1.0f, pass.muted}, memory);
        starts.emplace_back();
        for (const SoundStart& s : c.start) starts.back().push_back(s.sound);
        if (cues != nullptr) cues->push_back(c);
    }
    return starts;
}
}  // namespace

TEST(SoundRules, StateChangesStartTheirSoundsOnce) {
    const std::vector<Sound> none, quack{Sound::Quack}, step1{Sound::Walk1}, step2{Sound::Walk2}, whoosh{Sound::Whoosh};
    const struct { const char* name; std::vector<Pass> passes; std::vector<std::vector<Sound>> starts; } cases[] = {
        {"P starts play with a quack", {{S::Paused}, {S::Paused}, {S::Playing}, {S::Playing}}, {none, none, quack, none}},
        {"R restarts with a quack, and the duck's jump home is no step",
         {{S::GameOver, 20.0f}, {S::Playing, 60.0f}, {S::Playing, 60.0f}}, {none, quack, none}},
        {"the first pass is no transition", {{S::Playing}}, {none}},
        {"a step on setting off, one a stride, none standing, one on setting off again",
         {{S::Playing, 60.0f}, {S::Playing, 59.5f}, {S::Playing, 58.0f}, {S::Playing, 56.5f}, {S::Playing, 56.5f}, {S::Playing, 56.4f}},
         {none, step1, none, step2, none, step1}},
        {"a car passing near: one whoosh as it starts to draw away",
         {{S::Playing, 60, -9}, {S::Playing, 60, -5}, {S::Playing, 60, -3}, {S::Playing, 60, 1}, {S::Playing, 60, 5}, {S::Playing, 60, 9}},
         {none, none, none, none, whoosh, none}},
        {"turning back inside the radius is the same pass-by; leaving it ends it",
         {{S::Playing, 60, 5}, {S::Playing, 60, 3}, {S::Playing, 60, 4}, {S::Playing, 60, 3}, {S::Playing, 60, 6}, {S::Playing, 60, 8},
          {S::Playing, 60, 4}, {S::Playing, 60, 6}},
         {none, none, whoosh, none, none, none, none, whoosh}},
        {"a crash once", {{S::Playing, 60, 3}, {S::GameOver, 60, 1}, {S::GameOver, 60, 3}, {S::GameOver}}, {none, {Sound::Crash}, none, none}},
        {"the tune once", {{S::Playing, -61}, {S::Won, -61}, {S::Won, -61}}, {none, {Sound::Won}, none}},
        {"nothing on a paused pass, whatever moves",
         {{S::Playing, 60, 3}, {S::Paused, 58, 2}, {S::Paused, 55, 5}, {S::Paused, 50, 9}}, {none, none, none, none}},
        {"muted: no quack, step, whoosh or crash",
         {{S::Paused, 60, 9, true}, {S::Playing, 60, 3, true}, {S::Playing, 57, 4, true}, {S::GameOver, 57, 1, true}}, {none, none, none, none}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(startsOf(c.passes), c.starts);
    }
}

TEST(SoundRules, NearerPassesAreLouderAndStillWorldsAndMuteStopSounds) {
    std::vector<SoundCues> near, far, paused;
    startsOf({{S::Playing, 60, -4}, {S::Playing, 60, -2.5f}, {S::Playing, 60, 4}}, &near);
    startsOf({{S::Playing, 60, -8}, {S::Playing, 60, -6.5f}, {S::Playing, 60, 8}}, &far);
    ASSERT_EQ(near[2].start.size(), 1u);
    ASSERT_EQ(far[2].start.size(), 1u);
    EXPECT_GT(near[2].start[0].volume, far[2].start[0].volume + 0.3f);
    EXPECT_LE(near[2].start[0].volume, 1.0f);

    // Leaving play cuts steps and whooshes short; the ambience plays on until muted.
    startsOf({{S::Playing}, {S::Paused}, {S::Paused}, {S::Paused, 60, Far, true}}, &paused);
    EXPECT_EQ(std::make_tuple(paused[0].stopMotion, paused[1].stopMotion, paused[2].stopMotion), std::make_tuple(false, true, false));
    EXPECT_EQ(std::make_tuple(paused[2].ambience, paused[2].stopAll, paused[3].ambience, paused[3].stopAll),
              std::make_tuple(true, false, false, true));
}

TEST(SoundRules, TheAmbienceFollowsTheLook) {
    const struct { bool night; float daylight; Sound loop; } looks[] = {{false, 1.0f, Sound::Day}, {false, 0.0f, Sound::Day}, {true, 1.0f, Sound::Night}, {true, 0.0f, Sound::Night}};
    float dayVolume = 0, sunsetVolume = 0;
    for (const auto& look : looks) {
        SoundMemory memory;
        const SoundCues cues = soundCues({S::Playing, {}, 2.0f, nullptr, look.night, look.daylight, false}, memory);
        EXPECT_EQ(cues.ambienceLoop, look.loop) << look.night << look.daylight;
        if (!look.night) (look.daylight == 0.0f ? sunsetVolume : dayVolume) = cues.ambienceVolume;
    }
    EXPECT_LT(sunsetVolume, dayVolume) << "sunset is calmer than day";
    EXPECT_GT(sunsetVolume, 0.0f);
}
