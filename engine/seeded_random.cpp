#include "engine/seeded_random.h"

#include <chrono>

namespace zarv {

SeededRandom::SeededRandom() { Reseed(); }

SeededRandom::SeededRandom(uint64_t seed) : fixed_(true) { Seed(seed); }

void SeededRandom::Seed(uint64_t seed) {
    // SplitMix64 spreads one number over the four words of state.
    for (uint64_t& word : state_) {
        seed += 0x9E3779B97F4A7C15ULL;
        uint64_t z = seed;
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        word = z ^ (z >> 31);
    }
}

double SeededRandom::Next() {
    auto rotl = [](uint64_t x, int k) { return (x << k) | (x >> (64 - k)); };
    const uint64_t result = rotl(state_[1] * 5, 7) * 9;
    const uint64_t t = state_[1] << 17;
    state_[2] ^= state_[0];
    state_[3] ^= state_[1];
    state_[1] ^= state_[2];
    state_[0] ^= state_[3];
    state_[2] ^= t;
    state_[3] = rotl(state_[3], 45);
    return static_cast<double>(result >> 11) * (1.0 / 9007199254740992.0);
}

void SeededRandom::Reseed() {
    if (fixed_) return;
    const auto ticks = std::chrono::high_resolution_clock::now().time_since_epoch().count();
    Seed(static_cast<uint64_t>(ticks));
}

} // namespace zarv
