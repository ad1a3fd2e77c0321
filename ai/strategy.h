// How a computer seat should play this card: "Normal", or "OnlyBigest" when it
// expects to need (or take) every trick it can.
#pragma once

#include <string>

#include "ai/hand_analysis.h"

namespace zarv::ai {

// The seat's certain winners, suit by suit, cut where an opponent can trump.
int SureTricks(const HandAnalysis& a, int seat);
// A weighted strength of the seat's hand.
long HandValue(const HandAnalysis& a, int seat);
// "Normal" or "OnlyBigest".
const std::string& ChooseStrategie(const HandAnalysis& a, int seat);

inline const std::string kNormal = "Normal";
inline const std::string kOnlyBigest = "OnlyBigest";

} // namespace zarv::ai
