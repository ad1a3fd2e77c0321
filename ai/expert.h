// The Expert computer player: for the seat to move it deals the cards it has
// not seen at random many times into worlds consistent with what it has seen
// (the voids shown, the HAKEM's ZARV, and each seat's plays, as likely as its
// way of playing makes them), plays each card it may play out to the end of
// the hand in every world (the standard player playing all four seats), and
// plays the card with the best weighted average for its side. The trump is
// chosen the same way, suit by suit. The Master is the same player with more
// worlds, more exact play and more threads.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "ai/play_inference.h"
#include "ai/trick_search.h"
#include "engine/game_state.h"
#include "engine/interfaces.h"

namespace zarv::ai {

// Worlds a decision looks at unless told otherwise (the table also stops at
// its time cap, the tools never do).
constexpr int kDefaultWorlds = 128;

struct ExpertOptions {
    int samples = 0;       // at most this many worlds a decision (0: no limit but the time)
    double millis = 100;   // at most this long a decision (0: no limit but the samples)
    uint64_t seed = 1;     // the same seed and state give the same decision
    int exactCards = 6;    // a world is played exactly once the seat holds this few cards
    // Seconds on a steady clock, for the time cap; empty: the system's steady clock.
    std::function<double()> clock{};
    int threads = 1;       // worlds are looked at on this many threads at once
    // How each other seat chooses its cards, for what its plays tell of its
    // hand. Unset: as the table's seats are, people and computers that
    // reason at this level (SeatsAsTheyAre).
    std::optional<SeatModels> models{};
    // Worlds played out are worth their points alone, as exact play values
    // them, without the little for each trick more (a review's numbers).
    bool pointsOnly = false;
    // The Master's budget (its choices say so).
    bool master = false;
    // Once this says so, decisions look at no more worlds (a review nobody
    // waits for any more ends at once). Empty: never.
    std::function<bool()> stop{};
};

// A card the seat may play, and the points its side may expect of it (what
// the hand is worth to the side, averaged over the worlds looked at).
struct CardValue {
    CardCode card;
    double value = 0;
};

class ExpertPlayer : public ComputerPlayer {
public:
    ExpertPlayer(const GameState& state, ExpertOptions options) : state_(state), options_(options) {}
    CardChoice SelectCard(int seat, int position) override;
    Suit ChooseTrump(int first, int count) override;
    // Each card the seat may play now with its expected points, as SelectCard
    // weighs them (a single card allowed is worth 0: there was no choice).
    std::vector<CardValue> ValuesOfCards(int seat);
    void SetOptions(ExpertOptions options) { options_ = options; }
    // Worlds the last decision looked at.
    int lastWorlds() const { return lastWorlds_; }

private:
    uint64_t DecisionSeed(int seat) const;
    // Each legal card's weighted sum over the worlds, then the sum of weights.
    std::vector<double> Reckon(int seat, const std::vector<CardCode>& legal);
    // Runs look(world, thread) for worlds 0, 1, ... on the options' threads
    // until the budget ends; returns how many were looked at.
    template <typename Look> int ForEachWorld(Look look);
    const GameState& state_;
    ExpertOptions options_;
    int lastWorlds_ = 0;
    std::vector<TrickSearch> searches_;  // one a thread
};

// The Master's options from the Expert's: four times the worlds (or the time),
// exact play from two cards more, and two threads.
ExpertOptions MasterOptions(ExpertOptions expert);

} // namespace zarv::ai
