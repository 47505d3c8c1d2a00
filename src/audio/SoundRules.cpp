// The sound rules: transitions of the game state start the one-shots, the duck's own
// motion paces its footsteps, each car's nearest approach gives its whoosh.
#include "audio/SoundRules.h"

#include <algorithm>
#include <cmath>

namespace {
float groundDistance(Vec3 a, Vec3 b) { return std::hypot(a.x - b.x, a.z - b.z); }
// Boxes keep their maximum corner; the rules compare centres, as the collision test does.
Vec3 centreOf(Vec3 corner, float size) { return {corner.x - size * 0.5f, corner.y, corner.z - size * 0.5f}; }
}  // namespace

const char* soundFile(Sound sound) {
    static const char* const files[SoundCount] = {
        "./assets/sounds/walk1.wav", "./assets/sounds/walk2.wav", "./assets/sounds/whoosh.wav",
        "./assets/sounds/crash.wav", "./assets/sounds/won.wav",   "./assets/sounds/quack.wav",
        "./assets/sounds/day.wav",   "./assets/sounds/night.wav"};
    return files[static_cast<int>(sound)];
}

SoundCues soundCues(const SoundView& view, SoundMemory& memory) {
    SoundCues cues;
    const GameState before = memory.seen ? memory.state : view.state;
    const bool stillPlaying = memory.seen && before == GameState::Playing && view.state == GameState::Playing;
    const Vec3 duck = centreOf(view.duck, view.duckSize);
    const float moved = groundDistance(duck, memory.duck);
    const bool wasWalking = memory.walked >= 0.0f;

    cues.stopAll = view.muted;
    cues.stopMotion = before == GameState::Playing && view.state != GameState::Playing;
    auto play = [&](Sound sound, float volume) {
        if (!view.muted) cues.start.push_back({sound, volume});
    };
    if (before != GameState::Playing && view.state == GameState::Playing) play(Sound::Quack, 0.8f);
    if (cues.stopMotion && view.state == GameState::GameOver) play(Sound::Crash, 1.0f);
    if (cues.stopMotion && view.state == GameState::Won) play(Sound::Won, 0.9f);

    // A step as soon as the duck sets off, then one every stride; standing resets the stride.
    if (stillPlaying && moved > 0.0f) {
        memory.walked = wasWalking ? memory.walked + moved : StrideLength;
        if (memory.walked >= StrideLength) {
            memory.walked = std::fmod(memory.walked, StrideLength);
            memory.leftFoot = !memory.leftFoot;
            play(memory.leftFoot ? Sound::Walk1 : Sound::Walk2, 0.5f);
        }
    } else {
        memory.walked = -1.0f;
    }

    // A whoosh once the car has come as near as it will and starts to draw away; louder
    // the nearer that was. A car heard is heard again only after it has left the radius.
    if (view.traffic != nullptr) {
        const float touching = (view.duckSize + (*view.traffic)[0].size) * 0.5f;
        for (size_t i = 0; i < view.traffic->size(); ++i) {
            const Car& car = (*view.traffic)[i];
            const float distance = groundDistance(duck, centreOf(car.position, car.size));
            const float nearest = memory.carDistance[i];
            if (stillPlaying && !memory.carHeard[i] && nearest <= WhooshRadius && distance > nearest) {
                const float closeness = std::clamp((WhooshRadius - nearest) / (WhooshRadius - touching), 0.0f, 1.0f);
                play(Sound::Whoosh, 0.25f + 0.75f * closeness);
                memory.carHeard[i] = true;
            }
            if (distance > WhooshRadius) memory.carHeard[i] = false;
            memory.carDistance[i] = distance;
        }
    }

    cues.ambience = !view.muted;
    cues.ambienceLoop = view.night ? Sound::Night : Sound::Day;
    // Sunset is the calmer end of the day.
    cues.ambienceVolume = view.night || view.daylight != 0.0f ? 0.35f : 0.25f;

    memory.seen = true;
    memory.state = view.state;
    memory.duck = duck;
    return cues;
}
