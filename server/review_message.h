// A hand's review as the browser of one seat receives it: the tricks as they
// fell, the seat's own cards as dealt, and the Master's numbers for its
// decisions. Nothing else: the others' cards that were never played are not
// in it, so the review tells a seat nothing the table did not show it.
#pragma once

#include <nlohmann/json.hpp>

#include "ai/hand_review.h"

namespace zarv::server {

// {"t":"review", "seat", "hakem", "trump", "hand": [13 cards], "tricks":
// [{"leader", "winner", "cards": [seat 1..4, "" while unplayed]}],
// "decisions": [{"trick", "played", "best", "cost", "values": [[card, points]]}]}
// The points are rounded to hundredths.
nlohmann::json ReviewMessage(const ai::HandReview& review, const SavedHand& hand);

} // namespace zarv::server
