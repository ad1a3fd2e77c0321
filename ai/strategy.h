// How a computer seat should play this card: normally, or taking every trick
// it can when it expects to need (or take) them all.
#pragma once

#include "ai/hand_analysis.h"

namespace zarv::ai {

// The seat's certain winners, suit by suit, cut where an opponent can trump.
int SureTricks(const HandAnalysis& a, int seat);
// A weighted strength of the seat's hand.
long HandValue(const HandAnalysis& a, int seat);
enum class Strategy { Normal, OnlyHighest };
Strategy ChooseStrategy(const HandAnalysis& a, int seat);

} // namespace zarv::ai
