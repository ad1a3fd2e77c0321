// Tactics: how a chosen row of the candidate tables becomes one card.
#pragma once

#include <string>

#include "ai/hand_analysis.h"
#include "engine/card_reason.h"

namespace zarv::ai {

// The card the tactic picks for the seat; empty when it finds none.
CardCode CardForTactic(const HandAnalysis& a, int seat, Tactic tactic, Suit suit);

} // namespace zarv::ai
