// The Beginner computer player: plays like a person learning the game. It
// follows a few simple ideas (take a trick with the cheapest card that wins
// it, leave a trick its partner is winning, throw its lowest card when it
// cannot win, lead its aces and kings, name its longest suit the ZARV), and at
// a set rate makes a learner's mistake instead: any card it may play, or any
// suit it holds for the ZARV. Always legal; the same state and seed decide
// the same.
#pragma once

#include <cstdint>

#include "engine/game_state.h"
#include "engine/interfaces.h"

namespace zarv::ai {

// One decision in this many, on average, is a learner's mistake: with the
// ideas alone the Beginner is close to the Standard player's strength, and
// a new player should win often but not always.
constexpr double kBeginnerMistakeRate = 0.3;

struct BeginnerOptions {
    double mistakeRate = kBeginnerMistakeRate;
    uint64_t seed = 1;
};

class BeginnerPlayer : public ComputerPlayer {
public:
    BeginnerPlayer(const GameState& state, BeginnerOptions options) : state_(state), options_(options) {}
    CardChoice SelectCard(int seat, int position) override;
    Suit ChooseTrump(int first, int count) override;
    void SetOptions(BeginnerOptions options) { options_ = options; }

private:
    // A number in [0, 1) fixed by the seed, the seat and everything played so far.
    double Chance(int seat, uint64_t salt) const;
    const GameState& state_;
    BeginnerOptions options_;
};

} // namespace zarv::ai
