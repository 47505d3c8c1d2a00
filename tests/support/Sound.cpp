// Finding a known sound in a recorded stream by normalised cross-correlation.
#include "support/Sound.h"

#include <chrono>
#include <cmath>
#include <fstream>
#include <unistd.h>

std::vector<int16_t> readSamples(const std::string& path, bool wav) {
    std::ifstream file(path, std::ios::binary);
    if (wav) file.seekg(44);
    const std::string bytes{std::istreambuf_iterator<char>(file), {}};
    std::vector<int16_t> samples(bytes.size() / 2);
    for (size_t i = 0; i < samples.size(); ++i) samples[i] = static_cast<int16_t>(uint8_t(bytes[2 * i]) | uint8_t(bytes[2 * i + 1]) << 8);
    return samples;
}

std::optional<size_t> waitForSound(const std::string& stream, const std::string& name, size_t from, double likeness,
                                   double seconds) {
    const std::vector<int16_t> sound = readSamples(LARKMERE_SOURCE_DIR "/assets/sounds/" + name + ".wav", true);
    double soundEnergy = 0;
    for (int16_t s : sound) soundEnergy += double(s) * s;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    size_t searched = from;  // offsets before this were tried on an earlier reading
    do {
        const std::vector<int16_t> heard = readSamples(stream);
        for (; searched + sound.size() <= heard.size(); ++searched) {
            double dot = 0, energy = 0;
            for (size_t i = 0; i < sound.size(); ++i) {
                dot += double(sound[i]) * heard[searched + i];
                energy += double(heard[searched + i]) * heard[searched + i];
            }
            if (energy > 0 && dot / std::sqrt(energy * soundEnergy) >= likeness) return searched;
        }
        usleep(100000);
    } while (std::chrono::steady_clock::now() < deadline);
    return std::nullopt;
}
