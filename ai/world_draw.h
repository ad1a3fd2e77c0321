// One imagined world for a seat's decision: the cards it has not seen dealt
// at random (keeping the voids shown), drawn again until the HAKEM would have
// named this ZARV and every seat that plays by the standard tables would have
// played what it played, a few times at most; then the world that disagrees
// least, mended by trading cards between the seats. What the people's plays
// say weighs the world.
#pragma once

#include <random>

#include "ai/play_inference.h"
#include "ai/world_sampler.h"
#include "engine/game_state.h"

namespace zarv::ai {

// Draws before taking the world that disagrees least. Late in a hand few
// random worlds agree with every standard seat's plays, and more draws cost
// more than they gain (on 100 duplicate deals against the Standard player:
// 8 draws 0.617 of the points in 53 s, 24 draws 0.620 in 72 s, one draw
// 0.593 in 38 s).
constexpr int kDrawAttempts = 8;

// Trades tried on the world kept when it still disagrees: the seat whose play
// disagrees first gives up the card the tables would have had it play (or
// another) for a card of another seat's, and the trade stays when the world
// disagrees no more than before.
constexpr int kMendingTrades = 48;

class WorldDraw {
public:
    WorldDraw(const GameState& state, int seat, const SeatModels& models);

    struct Drawn {
        double weight = 1;  // how much the world counts among the others
        int misses = 0;     // disagreements left: the ZARV, or a standard seat's play
        int seat = 0;       // the first standard seat whose play disagrees
        CardCode instead;   // the card it would have played
    };
    // Leaves the world in `world`; `spare` is room for the draws it sets aside.
    Drawn Draw(std::mt19937_64& rng, GameState& world, GameState& spare) const;

private:
    // Trades unseen cards between the seats while the world disagrees.
    void Mend(std::mt19937_64& rng, GameState& world, Drawn& kept) const;
    WorldSampler sampler_;
    PlayInference inference_;
    int master_;
    bool judgeTrump_;  // the HAKEM is another seat and has named the ZARV
};

} // namespace zarv::ai
