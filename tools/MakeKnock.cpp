// Synthesises the knock a piece makes when it lands on the board: a short, bright click of hard wood
// on wood, 60 ms of 16-bit mono PCM at 22050 Hz in a WAV file (assets/knock.wav).
//
//   mirutoa-make-knock OUTPUT.wav
//
// The sound is a few damped resonances of the board and the piece, struck by a burst of noise from a
// fixed pseudo-random sequence. Only additions, multiplications and divisions go into it (the sines
// and exponentials are our own short series, not the maths library's), so every machine writes the
// same bytes.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kRate = 22050;
constexpr int kSamples = kRate * 60 / 1000;
constexpr double kPi = 3.14159265358979323846;

// A resonance: its frequency, the time in which it falls to 1/e, and its loudness.
struct TMode {
    double Hz;
    double DecayMs;
    double Gain;
};

// The hollow of the board gives the low body, the piece's edge the bright crack above it; the high
// modes die first, as they do in hard wood.
constexpr std::array<TMode, 5> kModes = {{
    {610.0, 14.0, 0.55},
    {1180.0, 9.0, 1.00},
    {2470.0, 5.5, 0.70},
    {3890.0, 3.5, 0.45},
    {5310.0, 2.2, 0.25},
}};

// Taylor series, exact enough for the arguments used here (|x| <= pi, and the small negative
// exponents of a decay per sample).
double Sine(double x) {
    double term = x, sum = x;
    for (int k = 1; k < 20; ++k) {
        term *= -x * x / double((2 * k) * (2 * k + 1));
        sum += term;
    }
    return sum;
}

double Cosine(double x) {
    double term = 1.0, sum = 1.0;
    for (int k = 1; k < 20; ++k) {
        term *= -x * x / double((2 * k - 1) * (2 * k));
        sum += term;
    }
    return sum;
}

double Exp(double x) {
    double term = 1.0, sum = 1.0;
    for (int k = 1; k < 20; ++k) {
        term *= x / double(k);
        sum += term;
    }
    return sum;
}

// The strike: white noise dying within a millisecond or two, from a linear congruential sequence.
std::vector<double> Strike() {
    std::vector<double> noise(kSamples, 0.0);
    std::uint32_t seed = 20241207u;
    const double fall = Exp(-1000.0 / (0.7 * kRate));
    double level = 1.0;
    for (int n = 0; n < kSamples && level > 1e-6; ++n) {
        seed = seed * 1664525u + 1013904223u;
        noise[std::size_t(n)] = level * (double(seed >> 8) / double(1u << 24) * 2.0 - 1.0);
        level *= fall;
    }
    return noise;
}

std::vector<double> Knock() {
    const std::vector<double> strike = Strike();
    std::vector<double> out(kSamples, 0.0);
    for (const TMode& mode : kModes) {
        // A two-pole resonator rung by the strike: y[n] = x[n] + 2 r cos(w) y[n-1] - r^2 y[n-2].
        const double w = 2.0 * kPi * mode.Hz / kRate;
        const double r = Exp(-1000.0 / (mode.DecayMs * kRate));
        const double a1 = 2.0 * r * Cosine(w), a2 = r * r;
        // Scaled so that each mode's loudness does not depend on its frequency.
        const double norm = mode.Gain * Sine(w);
        double y1 = 0.0, y2 = 0.0;
        for (int n = 0; n < kSamples; ++n) {
            const double y = strike[std::size_t(n)] + a1 * y1 - a2 * y2;
            out[std::size_t(n)] += norm * y;
            y2 = y1;
            y1 = y;
        }
    }
    // A little of the strike itself, for the edge of the click.
    for (int n = 0; n < kSamples; ++n) out[std::size_t(n)] += 0.15 * strike[std::size_t(n)];
    // The last 5 ms fade out, so the sound ends on silence and not on a step.
    const int fade = kRate * 5 / 1000;
    for (int i = 0; i < fade; ++i) out[std::size_t(kSamples - 1 - i)] *= double(i) / fade;
    return out;
}

// 16-bit samples with the loudest at about 70 % of full scale, leaving room for the player's mixing.
std::vector<std::int16_t> Quantised(const std::vector<double>& wave) {
    double peak = 0.0;
    for (double v : wave) peak = std::max(peak, v < 0 ? -v : v);
    std::vector<std::int16_t> samples;
    samples.reserve(wave.size());
    for (double v : wave) {
        const double scaled = v / peak * 0.7 * 32767.0;
        samples.push_back(std::int16_t(scaled < 0 ? -std::floor(-scaled + 0.5) : std::floor(scaled + 0.5)));
    }
    return samples;
}

void Put(std::string& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out += char((value >> (8 * i)) & 0xFF);
}

std::string Wav(const std::vector<std::int16_t>& samples) {
    const std::uint32_t data = std::uint32_t(samples.size() * 2);
    std::string out = "RIFF";
    Put(out, 36 + data, 4);
    out += "WAVEfmt ";
    Put(out, 16, 4);        // the size of the format block
    Put(out, 1, 2);         // PCM
    Put(out, 1, 2);         // mono
    Put(out, kRate, 4);     // samples per second
    Put(out, kRate * 2, 4); // bytes per second
    Put(out, 2, 2);         // bytes per sample frame
    Put(out, 16, 2);        // bits per sample
    out += "data";
    Put(out, data, 4);
    for (std::int16_t s : samples) Put(out, std::uint16_t(s), 2);
    return out;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: mirutoa-make-knock OUTPUT.wav\n");
        return 2;
    }
    const std::string wav = Wav(Quantised(Knock()));
    std::FILE* file = std::fopen(argv[1], "wb");
    if (file == nullptr) {
        std::perror(argv[1]);
        return 1;
    }
    const bool written = std::fwrite(wav.data(), 1, wav.size(), file) == wav.size();
    if (std::fclose(file) != 0 || !written) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
