// What the computer player knows: read-only queries over the seat's hand
// slots, the completed tricks copied into them, and the trick in progress.
//
// A seat's slot is "held" while its Winner is -1 (Cards[seat] is the card);
// otherwise it is "logged" and holds a copy of the trick the card went into.
// Queries that pick a card return its code; an empty code stands for "none"
// (Deck position 0, rank 0).
#pragma once

#include <cstdint>
#include <cstring>

#include "engine/game_state.h"

namespace zarv::ai {

class HandAnalysis {
public:
    // Reads the state once into card sets; the state must not change while
    // the analysis is in use.
    explicit HandAnalysis(const GameState& state);

    const GameState& state() const { return g_; }
    Suit Trump() const { return g_.Trump; }
    bool IsTrump(Suit suit) const { return suit == g_.Trump; }

    CardCode LowestOfSuit(int seat, Suit suit) const;
    CardCode HighestOfSuit(int seat, Suit suit) const;
    CardCode LowestWinnerOfSuit(int seat, Suit suit) const;
    CardCode MiddleOfSuit(int seat, Suit suit) const;
    int HeldCount(int seat, Suit suit) const;
    int EstimateHolding(int viewer, int target, Suit suit) const;
    int PlayedOfSuit(int seat, Suit suit) const;
    bool IsTopRemaining(int seat, CardCode card) const {
        if (card.empty()) return false;
        const CardSet above = SuitRanksAbove(card.suit, card.rank);
        return (Seat(seat).logged & above) == above;
    }
    bool HoldsTopOfSuit(int seat, Suit suit) const;
    bool IsBossCard(int seat, CardCode card) const;
    int HandSituation(int seat) const;
    int TrickSlot(int seat, int number) const;
    int PartnerSignal(int seat, int partner, Suit suit) const;
    int OpponentSignal(int seat, Suit suit) const;
    int SuitController(int seat, Suit suit) const;

    static bool IsHeld(const TrickRecord& slot) { return slot.Winner == -1; }
    static bool IsLogged(const TrickRecord& slot) { return slot.Winner >= 0; }

    // Card sets: bit 16 * suit index + rank.
    using CardSet = uint64_t;
    static CardSet Bit(CardCode c) {
        const int s = SuitIndex(c.suit);
        return s < 0 ? 0 : CardSet{1} << (16 * s + c.rank);
    }
    static CardSet SuitMask(Suit suit) {
        const int s = SuitIndex(suit);
        return s < 0 ? 0 : CardSet{0x7FFC} << (16 * s);  // ranks 2..14
    }
    // Ranks rank+1..14 of the suit.
    static CardSet SuitRanksAbove(Suit suit, int rank) {
        const int s = SuitIndex(suit);
        if (s < 0 || rank >= 14) return 0;
        return (CardSet{0x7FFF} & ~((CardSet{2} << rank) - 1)) << (16 * s);
    }
    int TeamTricksOf(int seat) const { return teamTricks_[seat]; }
    int OpponentTricksOf(int seat) const { return opponentTricks_[seat]; }

private:
    // The signal walk of PartnerSignal for one seat: the weight of the most
    // recent completed trick in which `who` led suit or threw it away, or 0.
    int SignalOf(int seat, int who, Suit suit) const;
    int ComputeEstimate(int viewer, int target, Suit suit) const;
    // The signal walk of PartnerSignal for one seat: the weight of the most
    // recent completed trick in which `who` led suit or threw it away, or 0.

    // What one seat's slots hold, read when first asked for.
    struct SeatCards {
        bool read = false;
        CardSet held = 0;    // cards in held slots
        CardSet logged = 0;  // every card of every logged slot
        // Slots that record a trick (Leader above 0), in slot order, by the suit led.
        uint8_t ledSlots[4][14] = {};
        uint8_t ledSlotCount[4] = {};
    };
    const SeatCards& Seat(int seat) const {
        SeatCards& c = seats_[seat];
        if (!c.read) ReadSeat(seat, c);
        return c;
    }
    void ReadSeat(int seat, SeatCards& cards) const;

    const GameState& g_;
    mutable SeatCards seats_[5];
    int teamTricks_[5] = {};
    int opponentTricks_[5] = {};
    // EstimateHolding per viewer, target and suit (index 0: no suit); -1 until asked.
    mutable int8_t estimates_[5][5][5];
};

} // namespace zarv::ai
