// The game's sounds, synthesised from oscillators, filtered noise and envelopes: no
// recording is involved, and the same samples come out on every run.
#pragma once

#include <string>
#include <vector>

namespace assetgen {

constexpr int SoundRate = 22050;  // mono; enough for crickets and birds, half the bytes

struct Sound {
    std::string name;  // file name without ".wav"
    std::vector<double> samples;
};

// Every sound, already levelled to the same loudness and faded at its ends (or, for the
// two ambience loops, made to join its own start without a seam).
std::vector<Sound> synthesiseSounds();
// 16-bit PCM mono WAV; throws std::runtime_error when the file cannot be written.
void writeWav(const Sound& sound, const std::string& path);

}  // namespace assetgen
