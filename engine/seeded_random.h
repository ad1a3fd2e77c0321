// The game's random generator: the shuffle and the first-ace draw use it, in
// the window, in tests and in zarv-sim alike.
#pragma once

#include <cstdint>

#include "engine/interfaces.h"

namespace zarv {

// xoshiro256** with 53-bit uniform doubles: small, fast and well tested (a
// hand's shuffle draws about a thousand numbers). Reseed() draws a fresh seed
// from the clock unless the generator was given a fixed seed.
class SeededRandom : public Random {
public:
    SeededRandom();  // seeded from the clock
    explicit SeededRandom(uint64_t seed);
    double Next() override;
    void Reseed() override;

private:
    void Seed(uint64_t seed);
    uint64_t state_[4] = {};
    bool fixed_ = false;
};

} // namespace zarv
