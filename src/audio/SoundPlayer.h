// The one room that talks to SDL2_mixer: opens the device, loads the sounds and carries
// out the cues the sound rules give after each pass.
#pragma once

#include <array>
#include <string>

#include "audio/SoundRules.h"

struct Mix_Chunk;

class SoundPlayer {
public:
    SoundPlayer() = default;
    SoundPlayer(const SoundPlayer&) = delete;
    SoundPlayer& operator=(const SoundPlayer&) = delete;
    ~SoundPlayer() { close(); }

    // Opens the audio device (SDL_AUDIODRIVER chooses the driver) and loads every sound
    // from ./assets/sounds; false with the reason when any of it fails, and then silent.
    bool open(std::string& reason);
    void close();

    // The rules for this pass, then what they ask of the mixer.
    void hear(const SoundView& view) { apply(soundCues(view, memory_)); }
    void apply(const SoundCues& cues);

private:
    bool open_ = false;
    std::array<Mix_Chunk*, SoundCount> chunks_{};
    SoundMemory memory_;
    int ambienceChannel_ = -1;  // -1: no loop playing
    Sound ambienceLoop_ = Sound::Day;
    float ambienceVolume_ = -1.0f;
};
