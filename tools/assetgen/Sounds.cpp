// Sound synthesis: each sound is a few oscillators and noise bands shaped by envelopes.
// The two ambience loops are built as circles (events wrap around, noise is cross-faded
// into its own start) so that the mixer can repeat them without a seam.
#include "Sounds.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <stdexcept>

#include "Noise.h"

namespace assetgen {

namespace {

constexpr double Pi = 3.14159265358979323846;
constexpr double Rate = SoundRate;

int samplesFor(double seconds) { return static_cast<int>(std::lround(seconds * Rate)); }
double timeOf(int i) { return i / Rate; }
double noteHz(int midi) { return 440.0 * std::pow(2.0, (midi - 69) / 12.0); }

// Band-pass biquad with unit gain at its centre; the centre may move from sample to sample.
class BandPass {
public:
    double step(double x, double centreHz, double q) {
        const double w = 2.0 * Pi * centreHz / Rate;
        const double alpha = std::sin(w) / (2.0 * q);
        const double a0 = 1.0 + alpha;
        const double y = (alpha * x - alpha * x2_ + 2.0 * std::cos(w) * y1_ - (1.0 - alpha) * y2_) / a0;
        x2_ = x1_;
        x1_ = x;
        y2_ = y1_;
        y1_ = y;
        return y;
    }

private:
    double x1_ = 0, x2_ = 0, y1_ = 0, y2_ = 0;
};

class LowPass {
public:
    explicit LowPass(double cutoffHz) : a_(1.0 - std::exp(-2.0 * Pi * cutoffHz / Rate)) {}
    double step(double x) { return y_ += a_ * (x - y_); }

private:
    double a_;
    double y_ = 0;
};

double white(Random& random) { return random.range(-1.0, 1.0); }

// Raised-cosine ramps at both ends, so that no sound starts or stops with a jump.
void fadeEnds(std::vector<double>& s, double inSeconds, double outSeconds) {
    const int in = samplesFor(inSeconds), out = samplesFor(outSeconds), n = static_cast<int>(s.size());
    for (int i = 0; i < in && i < n; ++i) s[i] *= 0.5 - 0.5 * std::cos(Pi * i / in);
    for (int i = 0; i < out && i < n; ++i) s[n - 1 - i] *= 0.5 - 0.5 * std::cos(Pi * i / out);
}

// Same loudness for every sound (RMS -20 dBFS), with the peak kept at or below -1 dBFS.
void level(std::vector<double>& s) {
    double sum = 0, peak = 0;
    for (double v : s) {
        sum += v * v;
        peak = std::max(peak, std::fabs(v));
    }
    const double rms = std::sqrt(sum / s.size());
    const double gain = std::min(0.1 / rms, std::pow(10.0, -1.05 / 20.0) / peak);
    for (double& v : s) v *= gain;
}

// A loop of `seconds` of filtered noise whose end runs into its start: the first samples
// are blended (equal power) with the samples that follow the end.
std::vector<double> noiseLoop(double seconds, double cutoffHz, uint64_t seed) {
    const int n = samplesFor(seconds), blend = samplesFor(0.5);
    Random random(seed);
    LowPass a(cutoffHz), b(cutoffHz);
    std::vector<double> w(n + blend);
    for (double& v : w) v = b.step(a.step(white(random)));
    std::vector<double> loop(w.begin(), w.begin() + n);
    for (int i = 0; i < blend; ++i) {
        const double x = 0.5 * Pi * i / blend;
        loop[i] = w[i] * std::sin(x) + w[n + i] * std::cos(x);
    }
    return loop;
}

// Adds an event of `length` samples starting at `start`, wrapping past the loop's end.
template <typename Voice>
void addWrapped(std::vector<double>& loop, int start, int length, Voice voice) {
    const int n = static_cast<int>(loop.size());
    for (int i = 0; i < length; ++i) loop[(start + i) % n] += voice(i);
}

// A webbed foot: a soft low thud with a short wet slap on top.
std::vector<double> footstep(double slapHz, double thudHz, uint64_t seed) {
    std::vector<double> s(samplesFor(0.11));
    Random random(seed);
    BandPass slap;
    LowPass soft(2500);
    double phase = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        const double t = timeOf(static_cast<int>(i));
        phase += 2.0 * Pi * thudHz * (0.6 + 0.4 * std::exp(-t / 0.02)) / Rate;
        const double thud = std::sin(phase) * std::exp(-t / 0.025);
        s[i] = 0.8 * thud + 0.9 * slap.step(soft.step(white(random)), slapHz, 1.5) * std::exp(-t / 0.012);
    }
    fadeEnds(s, 0.003, 0.02);
    return s;
}

// A car going by: a noise band that swells, rises in pitch and falls away.
std::vector<double> whoosh() {
    std::vector<double> s(samplesFor(0.6));
    Random random(71);
    BandPass band, body;
    LowPass smooth(2500);
    const double peak = 0.18;
    for (size_t i = 0; i < s.size(); ++i) {
        const double t = timeOf(static_cast<int>(i)), u = t / peak;
        const double envelope = std::pow(u, 1.5) * std::exp(1.5 * (1.0 - u));
        const double centre = 450.0 + 1100.0 * std::exp(-std::pow((t - peak) / 0.12, 2.0));
        const double x = smooth.step(white(random));
        s[i] = envelope * (band.step(x, centre, 1.3) + 0.5 * body.step(x, centre * 0.5, 0.8));
    }
    fadeEnds(s, 0.005, 0.05);
    return s;
}

// A car meeting the duck: a falling thump, a crunch of noise and a metal clank.
std::vector<double> crash() {
    std::vector<double> s(samplesFor(1.1));
    Random random(1303);
    LowPass crunchTone(3000);
    double phase = 0;
    const double clankHz[] = {440.0, 1214.0, 2376.0, 3929.0}, clankTau[] = {0.5, 0.35, 0.25, 0.15};
    for (size_t i = 0; i < s.size(); ++i) {
        const double t = timeOf(static_cast<int>(i));
        phase += 2.0 * Pi * (45.0 + 65.0 * std::exp(-t / 0.05)) / Rate;
        double v = 1.2 * std::sin(phase) * std::exp(-t / 0.12);
        // Crackle: the noise comes in random grains during the first third of a second.
        const double grain = random.uniform() < std::exp(-t / 0.12) ? 1.0 : 0.3;
        v += 1.4 * grain * crunchTone.step(white(random)) * std::exp(-t / 0.18);
        for (int k = 0; k < 4; ++k) v += 0.25 * std::sin(2.0 * Pi * clankHz[k] * t) * std::exp(-t / clankTau[k]);
        s[i] = v;
    }
    fadeEnds(s, 0.002, 0.1);
    return s;
}

// A bright rising arpeggio that rests on its top note.
std::vector<double> winTune() {
    std::vector<double> s(samplesFor(1.5));
    const int notes[] = {72, 76, 79, 84};
    for (int n = 0; n < 4; ++n) {
        const double onset = 0.13 * n, tau = n == 3 ? 0.45 : 0.22;
        for (size_t i = samplesFor(onset); i < s.size(); ++i) {
            const double t = timeOf(static_cast<int>(i)) - onset;
            // A gentle vibrato on the last note, as a phase swing that grows in over 0.3 s.
            const double vibrato = n == 3 ? 0.35 * std::sin(2.0 * Pi * 5.5 * t) * std::min(1.0, t / 0.3) : 0.0;
            const double envelope = std::min(1.0, t / 0.005) * std::exp(-t / tau);
            double tone = 0;
            for (int k = 1; k <= 5; ++k) tone += std::sin(2.0 * Pi * k * noteHz(notes[n]) * t + k * vibrato) / std::pow(k, 1.5);
            s[i] += envelope * tone;
        }
    }
    fadeEnds(s, 0.002, 0.15);
    return s;
}

// A quack: a buzzing source, falling in pitch, through two nasal formants.
std::vector<double> quack() {
    std::vector<double> s(samplesFor(0.32));
    BandPass low, high;
    double phase = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        const double t = timeOf(static_cast<int>(i));
        const double f0 = 300.0 - 70.0 * std::min(1.0, t / 0.25);
        phase += f0 / Rate;
        double source = 0;
        // Harmonics thin out above 4 kHz instead of stopping at a hard edge.
        for (int k = 1; k * f0 < 6000.0; ++k) source += std::sin(2.0 * Pi * k * phase) / k * std::min(1.0, (6000.0 - k * f0) / 2000.0);
        const double envelope = std::min(1.0, t / 0.015) * (t < 0.16 ? 1.0 : std::exp(-(t - 0.16) / 0.04));
        s[i] = envelope * (low.step(source, 1050.0, 4.0) + 0.7 * high.step(source, 2450.0, 6.0) + 0.05 * source);
    }
    fadeEnds(s, 0.004, 0.03);
    return s;
}

// Day and sunset: wind in gusts that repeat with the loop, and a few birds.
std::vector<double> dayAmbience() {
    constexpr double Length = 6.0;
    std::vector<double> s = noiseLoop(Length, 350.0, 2024);
    for (size_t i = 0; i < s.size(); ++i) {
        const double x = 2.0 * Pi * timeOf(static_cast<int>(i)) / Length;
        s[i] *= 6.0 * (0.65 + 0.25 * std::sin(2.0 * x + 0.7) + 0.1 * std::sin(3.0 * x + 2.1));
    }
    struct Chirp {
        double at, fromHz, toHz, seconds, gain;
    };
    const Chirp chirps[] = {{0.40, 3200, 4300, 0.07, 0.30}, {0.52, 3300, 4400, 0.07, 0.26}, {0.66, 4200, 3000, 0.12, 0.28},
                            {2.70, 2600, 3400, 0.09, 0.18}, {2.84, 2700, 3500, 0.09, 0.16}, {4.60, 3800, 4600, 0.05, 0.22},
                            {4.68, 3800, 4600, 0.05, 0.20}, {4.76, 3800, 4600, 0.05, 0.18}, {5.85, 4400, 3100, 0.14, 0.20}};
    for (const Chirp& c : chirps) {
        double phase = 0;
        const int length = samplesFor(c.seconds);
        addWrapped(s, samplesFor(c.at), length, [&](int i) {
            const double u = static_cast<double>(i) / length;
            const double trill = 1.0 + 0.04 * std::sin(2.0 * Pi * 45.0 * i / Rate);
            phase += 2.0 * Pi * (c.fromHz + (c.toHz - c.fromHz) * u) * trill / Rate;
            return 2.0 * c.gain * std::pow(std::sin(Pi * u), 2.0) * std::sin(phase);
        });
    }
    return s;
}

// Night: two crickets chirping at their own rates, a faint far chorus and a breath of wind.
std::vector<double> nightAmbience() {
    constexpr double Length = 6.0;
    std::vector<double> s = noiseLoop(Length, 250.0, 1987);
    for (double& v : s) v *= 2.0;
    Random random(404);
    struct Cricket {
        double hz, every, offset, pulseSeconds, pulseEvery;
        int pulses;
        double gain;
    };
    for (const Cricket& c : {Cricket{4400, 0.5, 0.05, 0.018, 0.040, 3, 0.30}, Cricket{4950, 0.75, 0.27, 0.014, 0.032, 4, 0.18}}) {
        for (double at = c.offset; at < Length; at += c.every) {
            const double gain = c.gain * random.range(0.75, 1.0);
            for (int p = 0; p < c.pulses; ++p) {
                const int start = samplesFor(at + p * c.pulseEvery), length = samplesFor(c.pulseSeconds);
                addWrapped(s, start, length, [&](int i) {
                    return gain * std::pow(std::sin(Pi * i / length), 2.0) * std::sin(2.0 * Pi * c.hz * (start + i) / Rate);
                });
            }
        }
    }
    // The far chorus trills 25 times a second and swells twice a loop.
    for (size_t i = 0; i < s.size(); ++i) {
        const double t = timeOf(static_cast<int>(i));
        const double swell = 0.5 + 0.5 * std::sin(2.0 * Pi * 2.0 * t / Length);
        s[i] += 0.03 * swell * std::pow(std::sin(Pi * 25.0 * t), 2.0) * std::sin(2.0 * Pi * 3900.0 * t);
    }
    return s;
}

void put16(std::ofstream& out, uint32_t value) { out.put(char(value & 0xFF)).put(char((value >> 8) & 0xFF)); }
void put32(std::ofstream& out, uint32_t value) {
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

}  // namespace

std::vector<Sound> synthesiseSounds() {
    std::vector<Sound> sounds = {{"walk1", footstep(900.0, 150.0, 11)},
                                 {"walk2", footstep(1150.0, 170.0, 12)},
                                 {"whoosh", whoosh()},
                                 {"crash", crash()},
                                 {"won", winTune()},
                                 {"quack", quack()},
                                 {"day", dayAmbience()},
                                 {"night", nightAmbience()}};
    for (Sound& sound : sounds) level(sound.samples);
    return sounds;
}

void writeWav(const Sound& sound, const std::string& path) {
    std::ofstream out(path, std::ios::binary);
    const uint32_t bytes = static_cast<uint32_t>(sound.samples.size() * 2);
    out << "RIFF";
    put32(out, 36 + bytes);
    out << "WAVEfmt ";
    put32(out, 16);
    put16(out, 1);  // PCM
    put16(out, 1);  // mono
    put32(out, SoundRate);
    put32(out, SoundRate * 2);
    put16(out, 2);
    put16(out, 16);
    out << "data";
    put32(out, bytes);
    for (double v : sound.samples) {
        const long q = std::lround(std::clamp(v, -1.0, 1.0) * 32767.0);
        put16(out, static_cast<uint32_t>(static_cast<int16_t>(q)) & 0xFFFF);
    }
    if (!out.flush()) throw std::runtime_error("cannot write " + path);
}

}  // namespace assetgen
