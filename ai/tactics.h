// Tactics: how a chosen row of the candidate tables becomes one card.
#pragma once

#include <string>

#include "ai/hand_analysis.h"

namespace zarv::ai {

enum class Tactic { PlayHighest, PlayLowest, PlayFirstBig, PlayABig, PlayAnything };

// The names as the trace shows them ("PlayBigest", "Play Somthing", ...).
const std::string& TacticName(Tactic t);

// The card the tactic picks for the seat; empty when it finds none.
CardCode CardForTactic(const HandAnalysis& a, int seat, Tactic tactic, Suit suit);

} // namespace zarv::ai
