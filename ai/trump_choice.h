// The trump a computer master player names after seeing his first five cards.
#pragma once

#include <vector>

#include "engine/game_state.h"

namespace zarv::ai {

// 10 x (cards of the suit among others not above card) / (cards of the suit
// among others), rounded; 10 exactly when nothing among others outranks card.
long TopCardShare(CardCode card, const std::vector<CardCode>& others);

// The trump from Deck positions first..first+count-1, judged against the rest of the pack.
Suit ChooseTrump(const GameState& state, int first, int count);
// The same from the cards seen and the rest of the pack.
Suit ChooseTrumpFrom(const std::vector<CardCode>& seen, const std::vector<CardCode>& outside);

} // namespace zarv::ai
