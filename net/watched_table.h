// A table as its watcher knows it, from the server's "Seen" texts: who sits
// where, the points, the hand's HAKEM and ZARV, the tricks taken and the
// cards on the table. Nothing of a hand still held is ever here: only how
// many cards each seat holds.
#pragma once

#include <array>
#include <string>

#include "engine/card.h"
#include "net/lobby_wire.h"

namespace zarv::net {

struct WatchedTable {
    std::array<std::string, 5> names;  // seats 1..4
    std::array<bool, 5> person{};      // else the computer plays the seat
    int pointsA = 0, pointsB = 0;      // seats 1 and 3, seats 2 and 4
    int hand = 0;                      // the hand's number in the game (0: none yet)
    int hakem = 0;
    Suit trump = kNoSuit;
    int tricksA = 0, tricksB = 0;
    std::array<CardCode, 5> trick{};   // the cards on the table, by seat
    int trickWinner = 0;               // the trick on the table is settled: its winner
    bool gameOver = false;
    // The seat the table waits for: the HAKEM naming the ZARV or leading the
    // first trick, then the next in turn; 0 between tricks and hands.
    int turn = 0;
    std::string closed;                // the table closed, with these words

    // Takes one "Seen" detail into account; false when it makes no sense.
    bool Apply(const SeenEvent& seen);
    int CardsHeld(int seat) const;

private:
    void PlayCard(int seat, CardCode card);
    void SettleTrick(int winner);
};

} // namespace zarv::net
