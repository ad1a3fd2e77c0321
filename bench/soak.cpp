// Plays many headless games in one process and reports the resident memory
// at the start and at the end, and how deep the stack stands whenever a game
// ends: both should stay flat, however many games are played.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <unistd.h>

#include "ai/card_selection.h"
#include "engine/game.h"
#include "engine/headless.h"

namespace {

long ResidentKiB() {
    std::ifstream statm("/proc/self/statm");
    long size = 0, resident = 0;
    statm >> size >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

} // namespace

int main(int argc, char** argv) {
    const long games = argc > 1 ? std::max(1L, std::stol(argv[1])) : 10000;
    zarv::HeadlessGame h(2026);
    h.AllComputerSeats();
    zarv::ai::ComputerSeatPlayer computer(h.game.positionForTests());
    h.game.SetComputerPlayer(&computer);
    long played = 0;
    uintptr_t lowest = UINTPTR_MAX, highest = 0;
    long firstKiB = 0;
    // Every game but the last asks for the next: the games follow one another
    // inside one call, as a person answering Yes to "Game Over" would play.
    h.view.askNewGame = [&] {
        int marker = 0;
        const auto depth = reinterpret_cast<uintptr_t>(&marker);
        lowest = std::min(lowest, depth);
        highest = std::max(highest, depth);
        if (++played == 1) firstKiB = ResidentKiB();
        return played < games;
    };
    const long startKiB = ResidentKiB();
    h.game.StartClick();
    const long endKiB = ResidentKiB();
    std::printf("games %ld resident-start %ld KiB after-first-game %ld KiB end %ld KiB stack-depth-spread %lu bytes\n",
                played, startKiB, firstKiB, endKiB, static_cast<unsigned long>(highest - lowest));
    return 0;
}
