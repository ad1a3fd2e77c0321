// Writes "Pass.wav", the sound of a card sliding over the felt: a short burst
// of filtered noise that rises and fades, as 16-bit mono PCM at 22,050 Hz.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <random>
#include <vector>

namespace {
void Put16(std::FILE* f, uint16_t v) { std::fputc(v & 0xFF, f), std::fputc(v >> 8, f); }
void Put32(std::FILE* f, uint32_t v) { Put16(f, v & 0xFFFF), Put16(f, v >> 16); }
} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_pass_wav <output.wav>\n");
        return 2;
    }
    constexpr int kRate = 22050;
    constexpr double kSeconds = 0.09;
    const int n = static_cast<int>(kRate * kSeconds);
    std::mt19937 noise(1234);
    std::uniform_real_distribution<double> uniform(-1.0, 1.0);
    std::vector<int16_t> samples(n);
    double low = 0, band = 0;
    for (int i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / n;
        const double envelope = std::sin(3.14159265 * std::pow(t, 0.6)) * (1 - t * 0.5);
        // A two-pole filter whose centre sweeps down: the swish of a card.
        const double centre = 0.35 - 0.2 * t;
        const double x = uniform(noise);
        low += centre * band;
        const double high = x - low - 0.9 * band;
        band += centre * high;
        samples[i] = static_cast<int16_t>(std::lround(std::clamp(band * envelope * 0.55, -1.0, 1.0) * 32000));
    }
    std::FILE* f = std::fopen(argv[1], "wb");
    if (!f) return 1;
    const uint32_t bytes = static_cast<uint32_t>(samples.size() * 2);
    std::fwrite("RIFF", 1, 4, f);
    Put32(f, 36 + bytes);
    std::fwrite("WAVEfmt ", 1, 8, f);
    Put32(f, 16);
    Put16(f, 1);  // PCM
    Put16(f, 1);  // mono
    Put32(f, kRate);
    Put32(f, kRate * 2);
    Put16(f, 2);
    Put16(f, 16);
    std::fwrite("data", 1, 4, f);
    Put32(f, bytes);
    for (int16_t s : samples) Put16(f, static_cast<uint16_t>(s));
    return std::fclose(f) == 0 ? 0 : 1;
}
