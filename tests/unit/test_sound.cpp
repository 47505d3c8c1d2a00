// The sound rules, pass by pass: which sounds a run of passes starts and stops.
#include <gtest/gtest.h>

#include "audio/SoundRules.h"

namespace {
using S = GameState;
constexpr S Play = S::Playing, Pause = S::Paused, Over = S::GameOver, Win = S::Won;
constexpr float Far = 1000.0f;

// One pass: the state at its end, the duck's z, the x of car 0 (its lane moved onto the
// duck's row; the other cars far away), and what the player chose.
struct Pass { GameState state; float duckZ = 60.0f, carX = Far; bool muted = false; };

// Each pass as words joined by ",": the sounds it starts, "cut" when it cuts steps and whooshes
// short, "mute" when it stops everything, "hush" without ambience; "-" for none of these.
std::string cuesOf(const std::vector<Pass>& passes, std::vector<SoundCues>* cues = nullptr) {
    const char* const names[] = {"walk1", "walk2", "whoosh", "crash", "won", "quack", "day", "night"};
    Traffic traffic = makeTraffic();
    for (Car& car : traffic) car.position = {Far, 1.0f, Far};
    SoundMemory memory;
    std::string seen;
    for (const Pass& pass : passes) {
        // Duck and car 0 given by their centres; boxes of size 2 keep their maximum corner.
        traffic[0].position = {pass.carX + 1.0f, 1.0f, 61.0f};
        const SoundCues c = soundCues({pass.state, {1.0f, 0.0f, pass.duckZ + 1.0f}, 2.0f, &traffic, false, 1.0f, pass.muted}, memory);
        std::string words;
        for (const SoundStart& s : c.start) words += std::string(",") + names[static_cast<int>(s.sound)];
        words += std::string(c.stopMotion ? ",cut" : "") + (c.stopAll ? ",mute" : "") + (c.ambience ? "" : ",hush");
        seen += (seen.empty() ? "" : " ") + (words.empty() ? "-" : words.substr(1));
        if (cues != nullptr) cues->push_back(c);
    }
    return seen;
}
}  // namespace

TEST(SoundRules, StateChangesStartTheirSoundsOnce) {
    const struct { const char* name; std::vector<Pass> passes; const char* cues; } cases[] = {
        {"P starts play with a quack", {{Pause}, {Pause}, {Play}, {Play}}, "- - quack -"}, {"the first pass is no transition", {{Play}}, "-"},
        {"R restarts with a quack; the jump home is no step", {{Over, 20}, {Play}, {Play}}, "- quack -"},
        {"a step on setting off, one a stride, none standing, one on setting off again",
         {{Play, 60}, {Play, 59.5f}, {Play, 58}, {Play, 56.5f}, {Play, 56.5f}, {Play, 56.4f}}, "- walk1 - walk2 - walk1"},
        {"a car passing near: one whoosh as it starts to draw away",
         {{Play, 60, -9}, {Play, 60, -5}, {Play, 60, -3}, {Play, 60, 1}, {Play, 60, 5}, {Play, 60, 9}}, "- - - - whoosh -"},
        {"turning back inside the radius is the same pass-by; leaving it ends it",
         {{Play, 60, 5}, {Play, 60, 3}, {Play, 60, 4}, {Play, 60, 3}, {Play, 60, 6}, {Play, 60, 8}, {Play, 60, 4}, {Play, 60, 6}},
         "- - whoosh - - - - whoosh"},
        {"a crash once", {{Play, 60, 3}, {Over, 60, 1}, {Over, 60, 3}, {Over}}, "- crash,cut - -"},
        {"the tune once", {{Play, -61}, {Win, -61}, {Win, -61}}, "- won,cut -"},
        {"nothing on a paused pass, whatever moves; the ambience plays on",
         {{Play, 60, 3}, {Pause, 58, 2}, {Pause, 55, 5}, {Pause, 50, 9}}, "- cut - -"},
        {"muted: no quack, step, whoosh or crash, and no ambience",
         {{Pause, 60, 9, true}, {Play, 60, 3, true}, {Play, 57, 4, true}, {Over, 57, 1, true}}, "mute,hush mute,hush mute,hush cut,mute,hush"}};
    for (const auto& c : cases) EXPECT_EQ(cuesOf(c.passes), c.cues) << c.name;
}

TEST(SoundRules, NearerPassesAreLouderAndTheAmbienceFollowsTheLook) {
    std::vector<SoundCues> near, far;
    ASSERT_EQ(cuesOf({{Play, 60, -4}, {Play, 60, -2.5f}, {Play, 60, 4}}, &near), "- - whoosh");
    ASSERT_EQ(cuesOf({{Play, 60, -8}, {Play, 60, -6.5f}, {Play, 60, 8}}, &far), "- - whoosh");
    EXPECT_GT(near[2].start[0].volume, far[2].start[0].volume + 0.3f);
    EXPECT_LE(near[2].start[0].volume, 1.0f);

    // The ambience follows the look: the night loop by night, the day loop by day and, calmer, at sunset.
    const auto look = [](bool night, float daylight) {
        SoundMemory memory;
        return soundCues({Play, {}, 2.0f, nullptr, night, daylight, false}, memory);
    };
    EXPECT_EQ(std::make_tuple(look(false, 1).ambienceLoop, look(false, 0).ambienceLoop, look(true, 1).ambienceLoop, look(true, 0).ambienceLoop),
              std::make_tuple(Sound::Day, Sound::Day, Sound::Night, Sound::Night));
    EXPECT_LT(look(false, 0).ambienceVolume, look(false, 1).ambienceVolume);
    EXPECT_GT(look(false, 0).ambienceVolume, 0.0f);
}
