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

void HeadlessGame::AllComputerSeats() { game.SeatComputerPlayers(); }

} // namespace zarv
