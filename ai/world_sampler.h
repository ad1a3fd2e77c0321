// Worlds a seat cannot tell apart from the real one: the cards it has not
// seen dealt at random to the other seats, each keeping as many as it holds,
// and none of a suit it showed void in (it did not follow that suit).
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <random>
#include <utility>
#include <vector>

#include "engine/game_state.h"

namespace zarv::ai {

class WorldSampler {
public:
    // What the seat knows of the state: its own hand and every card played.
    WorldSampler(const GameState& state, int seat);
    // A world: the state with the unseen cards dealt anew. False when the
    // voids cannot all be kept (then the world keeps the unseen cards where
    // the random order put them, voids or not).
    bool Sample(std::mt19937_64& rng, GameState& world) const;
    // Trades an unseen card of the seat's (this card when the world gave it
    // the seat, else one at random) for another seat's, when each may hold
    // the other's suit; returns their Deck indexes, or nothing (and the world
    // unchanged) when no trade was found. The hand slots are left as they
    // were: SettleHeldSlots mends them.
    std::optional<std::pair<int, int>> TradeUnseen(std::mt19937_64& rng, GameState& world, int seat, CardCode card) const;
    // The other seats' hand slots take the cards the world gave them.
    void SettleHeldSlots(GameState& world) const;
    // The suits each seat has shown void in, as a bit per suit (g p h x).
    const std::array<uint8_t, 5>& voids() const { return voids_; }
    const std::vector<int>& unseen() const { return unseen_; }  // Deck indexes

private:
    const GameState& state_;
    int seat_;
    std::vector<int> unseen_;
    std::array<int, 5> holding_{};  // how many cards each other seat holds
    std::array<uint8_t, 5> voids_{};
};

// Whether the world's master, given five of its thirteen cards at random as
// the first five, names the world's trump as the standard player would.
bool MasterWouldNameTrump(const GameState& world, int master, std::mt19937_64& rng);

// Bit of a suit in a void mask.
uint8_t SuitBit(Suit suit);

} // namespace zarv::ai
