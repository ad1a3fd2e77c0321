#include "engine/headless.h"

#include <cmath>
#include <stdexcept>

namespace zarv {

void VirtualPump::WaitForEvents(double deadline) {
    ++waitCalls;
    if (!std::isinf(deadline)) {
        if (advanceTime && deadline > now) now = deadline;
        if (onTick) onTick();
        return;
    }
    if (!onIdle) throw HeadlessStall();
    onIdle();
}

void HeadlessGame::AllComputerSeats() {
    static const char* const kNames[5] = {"", "Tib ", "Vrel", "Zarv", "Dastrel"};
    for (int seat = 1; seat <= 4; ++seat) {
        s().Seats[seat].Name = kNames[seat];
        s().Seats[seat].Kind = SeatKind::Computer;
    }
}

} // namespace zarv
