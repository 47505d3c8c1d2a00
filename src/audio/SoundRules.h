// When each sound plays: plain functions of the game's records, one call a pass, so that
// tests can feed made-up passes without an audio device.
#pragma once

#include <array>
#include <vector>

#include "core/GameStatus.h"
#include "core/Vec3.h"
#include "world/Traffic.h"

enum class Sound { Walk1, Walk2, Whoosh, Crash, Won, Quack, Day, Night };
constexpr int SoundCount = 8;

// The files, in the order of Sound, under ./assets/sounds/.
const char* soundFile(Sound sound);

// What one pass shows, read after it ran.
struct SoundView {
    GameState state = GameState::Paused;  // at the end of the pass
    Vec3 duck;                            // the duck's maximum corner
    float duckSize = 2.0f;
    const Traffic* traffic = nullptr;
    bool night = false;
    float daylight = 1.0f;  // 0: sunset
    bool muted = false;
};

struct SoundStart {
    Sound sound;
    float volume;  // 0 to 1
};

// What the mixer must do after a pass: one-shots to start, a one-shot group to cut short,
// and which ambience loop should be playing (none when muted) and how loud.
struct SoundCues {
    std::vector<SoundStart> start;
    bool stopMotion = false;  // footsteps and whooshes of a world that stands still
    bool stopAll = false;     // mute
    bool ambience = false;
    Sound ambienceLoop = Sound::Day;
    float ambienceVolume = 0.0f;
};

// A car is heard within this distance of the duck (centre to centre, in the ground plane);
// the whoosh is loudest for a car that passes at the touching distance.
constexpr float WhooshRadius = 7.0f;
// The duck takes a step each time it has walked this far, so the patter follows the speed.
constexpr float StrideLength = 3.0f;

// What the rules remember from one pass to the next.
struct SoundMemory {
    bool seen = false;  // false until the first pass
    GameState state = GameState::Paused;
    Vec3 duck;
    float walked = -1.0f;  // distance since the last step; negative while standing
    bool leftFoot = false;
    std::array<float, 10> carDistance{};
    std::array<bool, 10> carHeard{};  // whooshed already on this pass-by
};

SoundCues soundCues(const SoundView& view, SoundMemory& memory);
