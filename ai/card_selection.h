// The computer's choice of a card: for every suit it may play, a fixed table of
// candidate moves per place in the trick, each scored by one formula; the best
// names a tactic and a suit.
#pragma once

#include "ai/tactics.h"
#include "engine/interfaces.h"

namespace zarv::ai {

struct Candidate {
    bool Cond = false;
    long Score = 0;
    long LenWeight = 0;
    long PlayedWeight = 0;
    long SignalWeight = 0;
    long ThreatWeight = 0;
    long Priority = 0;
    Tactic TacticName = Tactic::PlayAnything;
    long Bonus = 0;
};

struct Choice {
    Tactic tactic = Tactic::PlayAnything;
    Suit suit = kNoSuit;
    long score = -100000;
    int row = 0;
    CardCode card;  // what the tactic picks
};

// Decides the move of seat at position (1 = leading .. 4 = last) without playing it.
Choice ChooseMove(const HandAnalysis& analysis, int seat, int position);
Choice ChooseMove(const GameState& state, int seat, int position);

// The engine's computer player.
class ComputerSeatPlayer : public ComputerPlayer {
public:
    explicit ComputerSeatPlayer(const GameState& state) : state_(state) {}
    CardChoice SelectCard(int seat, int position) override;
    Suit ChooseTrump(int first, int count) override;

private:
    const GameState& state_;
};

} // namespace zarv::ai
