// Why a computer player chose its card, as values: the window words them in
// the player's language, the trace names the standard player's tactic.
#pragma once

#include <string>

#include "engine/card.h"

namespace zarv {

// How the standard player turns the suit it chose into one card.
enum class Tactic { PlayHighest, PlayLowest, PlayFirstBig, PlayABig, PlayAnything };

// The tactic's name as the trace shows it ("PlayBigest", "Play Somthing", ...).
const std::string& TacticName(Tactic t);

// The Expert's reckoning: the card's average points over the worlds it
// imagined, and the next best card's (the same card when there is no other).
struct ExpertReckoning {
    CardCode best;
    double bestValue = 0;
    CardCode next;
    double nextValue = 0;
    int worlds = 0;
    bool master = false;  // the Master's reckoning (else the Expert's)
    bool operator==(const ExpertReckoning&) const = default;
};

struct CardReason {
    enum class Kind { None, Tactic, OnlyCard, Reckoning };
    Kind kind = Kind::None;
    Tactic tactic = Tactic::PlayAnything;  // for Kind::Tactic
    ExpertReckoning reckoning;             // for Kind::Reckoning

    static CardReason Of(Tactic t) { return {Kind::Tactic, t, {}}; }
    static CardReason OnlyCardAllowed() { return {Kind::OnlyCard, Tactic::PlayAnything, {}}; }
    static CardReason Of(const ExpertReckoning& r) { return {Kind::Reckoning, Tactic::PlayAnything, r}; }
    bool operator==(const CardReason&) const = default;
};

} // namespace zarv
