// What each card a seat may play is worth to its side in one imagined world,
// where every hand is known: the hand played out to its end by the standard
// player for all four seats, or, with few cards left, solved exactly.
#pragma once

#include <vector>

#include "ai/trick_search.h"
#include "engine/game_state.h"

namespace zarv::ai {

struct WorldValuing {
    bool exact = false;  // few cards are left: solve the world exactly
    // The other side is known to play by the standard tables. Exact play
    // (they find their best every time) and a play-out (they play as they do,
    // and so do we) both undervalue what our side can make of the world: the
    // better of the two is nearer.
    bool standardOpponents = false;
    // Points alone, without the little for each trick more (a review's numbers).
    bool pointsOnly = false;
};

// Each legal card's value to the seat's side: points won, or lost as a
// negative number (a 7-0 counts two or three), and in the played-out worlds a
// little for each trick more unless points alone are asked for.
std::vector<double> ValuesInWorld(const GameState& world, int seat, const std::vector<CardCode>& legal,
                                  const WorldValuing& how, TrickSearch& search);

} // namespace zarv::ai
