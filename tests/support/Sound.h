// What the game played, read from the stream SDL's disk audio driver records: 16-bit mono
// samples at the game's mixing rate, written as they are played.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

constexpr int StreamRate = 22050;

// The samples of a raw stream, or of a WAV file's data (its 44-byte header skipped).
std::vector<int16_t> readSamples(const std::string& path, bool wav = false);
// Where the sound from assets/sounds/<name>.wav starts in the stream at or after `from`: the
// first offset whose window matches it with a normalised correlation of at least `likeness`.
// Polls the growing stream until found or until the deadline.
std::optional<size_t> waitForSound(const std::string& stream, const std::string& name, size_t from,
                                   double likeness = 0.6, double seconds = 60);
