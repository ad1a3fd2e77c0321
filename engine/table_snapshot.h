// The table as it stands in the middle of a hand, for a player who comes back
// after losing the connection: everything a machine needs to take up the game
// exactly where the Dealer is. The names are not in it: the returning machine
// keeps them from the game's start.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "engine/card.h"
#include "engine/game_state.h"

namespace zarv {

struct TableSnapshot {
    int seat = 0;                     // the seat of the player it is for
    std::array<SeatKind, 5> kinds{};  // seats 1..4, as the Dealer plays them now
    int firstMaster = 0;              // the seat that drew the first ace
    int master = 0;                   // this hand's HAKEM
    Suit trump = kNoSuit;
    int pointsA = 0, pointsB = 0;
    int handsPlayed = 0;
    std::array<int, 15> resultsA{}, resultsB{};  // the board, hands 1..14
    std::array<CardCode, 52> deal{};  // the hand's pack order, as "HandIs" carried it
    std::vector<CardCode> played;     // this hand's cards, in the order they were played
    // The seats' names, where the returning machine heard them (our Dealers
    // send their roster first); not part of the table's text.
    std::array<std::string, 5> names{};
};

} // namespace zarv
