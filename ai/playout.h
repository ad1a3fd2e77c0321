// Playing a hand out in the head: the effects of a played card on a game
// state (as the table records them, without pauses or pictures), and the rest
// of a hand played by the standard computer player for all four seats.
#pragma once

#include "engine/game_state.h"

namespace zarv::ai {

struct HandOutcome {
    int winner = 0;  // a seat of the side that took seven tricks
    int points = 0;  // 1, 2 for seven to none, 3 when the losers drew the first ace
    int tricksA = 0, tricksB = 0;
    // What the hand is worth to the seat's side: its points won, or lost as a
    // negative number, and a little for each trick more than the other side.
    double ValueFor(int seat) const;
    // The points alone: won, or lost as a negative number.
    double PointsFor(int seat) const { return SameTeam(seat, winner) ? points : -points; }
};

// Plays the seat's card into the trick in progress and settles a complete
// trick. Returns true once a side has seven tricks.
bool SimulatePlay(GameState& s, int seat, CardCode card);
// The side that has seven tricks (0 while none has), and the outcome then.
HandOutcome OutcomeOf(const GameState& s);
// Plays the hand to its end with the standard player's choices.
HandOutcome PlayOut(GameState s);

} // namespace zarv::ai
