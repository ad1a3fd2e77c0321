// The review of a hand after it was played: its tricks as they fell, each
// seat's cards before every trick, and, for each card one seat chose among
// others, what the Master sitting there (knowing only what that seat knew at
// that moment) expected each of its cards to bring, so that the cost of a
// card against the best one can be shown.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "ai/expert.h"
#include "engine/saved_hand.h"

namespace zarv::ai {

struct ReviewedTrick {
    int leader = 0;
    int winner = 0;                          // 0: the trick was not finished
    std::array<CardCode, 5> cards{};         // by seat, 1..4
    std::array<std::vector<CardCode>, 5> held{};  // by seat: its cards before the trick, as dealt
};

struct ReviewedDecision {
    int trick = 0;  // 1 for the first
    CardCode played;
    CardCode best;
    double cost = 0;                  // the best card's expected points less the played card's
    std::vector<CardValue> values;    // every card the seat could play, best first, in hundredths
};

struct HandReview {
    int seat = 0;
    int master = 0;
    Suit trump = kNoSuit;
    std::vector<ReviewedTrick> tricks;
    std::vector<ReviewedDecision> decisions;  // in the order played
    // The decisions' indexes, the costliest first (the order played among equals).
    std::vector<size_t> CostliestFirst() const;
};

// The review's budget: the Master's, counted in worlds rather than time so
// that the same hand is always reviewed the same.
ExpertOptions ReviewOptions(int threads);

// Each seat's cards as dealt (seat 1..4), from a saved hand's deal order.
std::array<std::vector<CardCode>, 5> DealtHands(const SavedHand& hand);

// Why a hand cannot be reviewed.
struct ReviewFault {
    enum class Kind { None, BadSeat, NoTrump, NoPlays, BadPlay };
    Kind kind = Kind::None;
    int play = 0;   // BadPlay: which card of the plays (1 for the first)
    CardCode card;  // BadPlay: that card
};
std::string EnglishText(const ReviewFault& fault);

// Reviews the decisions of `seat` in a hand; the other seats are read as
// people (a reasonable player who now and then plays otherwise). Returns
// nothing, and why in *fault, when the hand cannot have been played so (a
// card out of turn or against the rules, no ZARV named, no card played).
std::optional<HandReview> ReviewHand(const SavedHand& hand, int seat, const ExpertOptions& options,
                                     ReviewFault* fault = nullptr);
// The same hand's tricks and the seat's decisions without the Master's
// numbers (at once, where the review takes seconds).
std::optional<HandReview> ReplayHand(const SavedHand& hand, int seat, ReviewFault* fault = nullptr);

} // namespace zarv::ai
