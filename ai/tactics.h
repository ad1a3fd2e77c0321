// Tactics: how a chosen row of the candidate tables becomes one card.
#pragma once

#include <optional>
#include <string>

#include "ai/hand_analysis.h"

namespace zarv {
class Game;
}

namespace zarv::ai {

enum class Tactic { PlayBigest, PlaySmallest, PlayFirstBig, PlayABig, PlaySomthing };

// The names as the candidate tables write them ("PlayBigest", "Play Somthing", ...).
const std::string& TacticName(Tactic t);
std::optional<Tactic> TacticFromName(const std::string& name);

// The card the tactic picks for the seat; empty when it finds none.
CardCode CardForTactic(const HandAnalysis& a, int seat, Tactic tactic, Suit suit);

// Picks the card and plays it (PlayChosenCard).
void PlayTactic(Game& game, int seat, Tactic tactic, Suit suit);

// Plays the seat's card: to its landing place on the table, through PlayCard,
// and to every connected client when this machine deals.
void PlayChosenCard(Game& game, int seat, CardCode card);

} // namespace zarv::ai
