#include "engine/no_pause_pump.h"

#include <cmath>

namespace zarv {

void NoPausePump::WaitForEvents(double deadline) {
    if (std::isinf(deadline)) {
        inner_.WaitForEvents(deadline);
        return;
    }
    inner_.ProcessEvents();
    const double now = Now();
    if (deadline > now) skipped_ += deadline - now;
}

} // namespace zarv
