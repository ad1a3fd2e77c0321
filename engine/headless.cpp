#include "engine/headless.h"

#include <chrono>
#include <cmath>
#include <stdexcept>

namespace zarv {

void VirtualPump::WaitForEvents(double deadline) {
    ++waitCalls;
    if (!std::isinf(deadline)) {
        if (deadline > now) now = deadline;
        if (onTick) onTick();
        return;
    }
    if (!onIdle) throw HeadlessStall();
    onIdle();
}

SeededRandom::SeededRandom() { Reseed(); }

SeededRandom::SeededRandom(uint64_t seed) : engine_(seed), fixed_(true) {}

double SeededRandom::Next() {
    return static_cast<double>(engine_() >> 11) * (1.0 / 9007199254740992.0);
}

void SeededRandom::Reseed() {
    if (fixed_) return;
    const auto ticks = std::chrono::high_resolution_clock::now().time_since_epoch().count();
    engine_.seed(static_cast<uint64_t>(ticks));
}

} // namespace zarv
