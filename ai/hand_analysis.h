// What the computer player knows: read-only queries over the seat's hand
// slots, the completed tricks copied into them, and the trick in progress.
//
// A seat's slot is "held" while its Winner is -1 (Cards[seat] is the card);
// otherwise it is "logged" and holds a copy of the trick the card went into.
// Queries that pick a card return its code; an empty code stands for "none"
// (Deck position 0, rank 0).
#pragma once

#include <cstdint>

#include "engine/game_state.h"

namespace zarv::ai {

class HandAnalysis {
public:
    // Reads the state once into card sets; the state must not change while
    // the analysis is in use.
    explicit HandAnalysis(const GameState& state);

    const GameState& state() const { return g_; }
    Suit Trump() const { return g_.MasterCard; }
    bool IsTrump(Suit suit) const { return suit == g_.MasterCard; }

    CardCode LowestOfSuit(int seat, Suit suit) const;
    CardCode HighestOfSuit(int seat, Suit suit) const;
    CardCode LowestWinnerOfSuit(int seat, Suit suit) const;
    CardCode MiddleOfSuit(int seat, Suit suit) const;
    int HeldCount(int seat, Suit suit) const;
    int EstimateHolding(int viewer, int target, Suit suit) const;
    int PlayedOfSuit(int seat, Suit suit) const;
    bool IsTopRemaining(int seat, CardCode card) const;
    bool HoldsTopOfSuit(int seat, Suit suit) const;
    bool IsBossCard(int seat, CardCode card) const;
    int HandSituation(int seat) const;
    int TrickSlot(int seat, int number) const;
    int PartnerSignal(int seat, int partner, Suit suit) const;
    int OpponentSignal(int seat, Suit suit) const;
    int SuitController(int seat, Suit suit) const;
    int CompletedTricks() const { return static_cast<int>(g_.Tricks.size()) - 2; }

    static bool IsHeld(const TrickRecord& slot) { return slot.Winner == -1; }
    static bool IsLogged(const TrickRecord& slot) { return slot.Winner >= 0; }

    // Card sets: bit 16 * suit index + rank.
    using CardSet = uint64_t;
    static int SuitIndex(Suit suit);
    static CardSet Bit(CardCode c);
    static CardSet SuitRanksAbove(Suit suit, int rank);  // ranks rank+1..14 of the suit
    static CardSet SuitMask(Suit suit);
    CardSet Held(int seat) const { return held_[seat]; }
    CardSet Logged(int seat) const { return logged_[seat]; }

private:
    // The signal walk of PartnerSignal for one seat: the weight of the most
    // recent completed trick in which `who` led suit or threw it away, or 0.
    int SignalOf(int seat, int who, Suit suit) const;
    // The signal walk of PartnerSignal for one seat: the weight of the most
    // recent completed trick in which `who` led suit or threw it away, or 0.

    const GameState& g_;
    CardSet held_[5] = {};    // cards in held slots
    CardSet logged_[5] = {};  // every card of every logged slot
    int teamTricks_[5] = {};
    int opponentTricks_[5] = {};
};

} // namespace zarv::ai
