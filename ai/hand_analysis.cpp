#include "ai/hand_analysis.h"

#include <bit>

namespace zarv::ai {

HandAnalysis::HandAnalysis(const GameState& state) : g_(state) {
    std::memset(estimates_, -1, sizeof estimates_);
    const int teamA = TeamTricks(g_, 1), teamB = TeamTricks(g_, 2);
    for (int seat = 1; seat <= 4; ++seat) {
        teamTricks_[seat] = IsTeamA(seat) ? teamA : teamB;
        opponentTricks_[seat] = IsTeamA(seat) ? teamB : teamA;
    }
}

void HandAnalysis::ReadSeat(int seat, SeatCards& cards) const {
    cards.read = true;
    for (int k = 1; k <= 13; ++k) {
        const TrickRecord& slot = g_.Hands[seat][k];
        if (IsHeld(slot)) {
            cards.held |= Bit(slot.Cards[seat]);
        } else {
            for (int s = 1; s <= 4; ++s) cards.logged |= Bit(slot.Cards[s]);
        }
        if (slot.Leader > 0 && slot.Leader <= 4) {
            const int led = SuitIndex(SuitOf(slot.Cards[slot.Leader]));
            if (led >= 0) cards.ledSlots[led][cards.ledSlotCount[led]++] = static_cast<uint8_t>(k);
        }
    }
}

namespace {
CardCode CardAt(int bitIndex) {
    static constexpr Suit kSuits[4] = {'g', 'p', 'h', 'x'};
    return CardCode{kSuits[bitIndex / 16], static_cast<uint8_t>(bitIndex % 16)};
}
} // namespace

CardCode HandAnalysis::LowestOfSuit(int seat, Suit suit) const {
    const CardSet cards = Seat(seat).held & SuitMask(suit);
    return cards ? CardAt(std::countr_zero(cards)) : CardCode{};
}

CardCode HandAnalysis::HighestOfSuit(int seat, Suit suit) const {
    const CardSet cards = Seat(seat).held & SuitMask(suit);
    return cards ? CardAt(63 - std::countl_zero(cards)) : CardCode{};
}

CardCode HandAnalysis::LowestWinnerOfSuit(int seat, Suit suit) const {
    int top = 0;
    const TrickRecord& trick = g_.CurrentTrick();
    for (int s = 1; s <= 4; ++s)
        if (!trick.Cards[s].empty() && trick.Cards[s].suit == suit && trick.Cards[s].rank > top) top = trick.Cards[s].rank;
    const CardSet winners = Seat(seat).held & SuitRanksAbove(suit, top);
    return winners ? CardAt(std::countr_zero(winners)) : LowestOfSuit(seat, suit);
}

CardCode HandAnalysis::MiddleOfSuit(int seat, Suit suit) const {
    CardCode choice;
    for (int k = 1; k <= 13; ++k) {
        const TrickRecord& slot = g_.Hands[seat][k];
        const CardCode c = slot.Cards[seat];
        if (!IsHeld(slot) || c.empty() || c.suit != suit) continue;
        if ((c.rank >= 8 && c.rank <= 12) || choice.empty()) choice = c;
    }
    return choice;
}

int HandAnalysis::HeldCount(int seat, Suit suit) const { return std::popcount(Seat(seat).held & SuitMask(suit)); }

int HandAnalysis::EstimateHolding(int viewer, int target, Suit suit) const {
    if (target == viewer) return HeldCount(viewer, suit);
    int8_t& memo = estimates_[viewer][target][SuitIndex(suit) + 1];
    if (memo < 0) memo = static_cast<int8_t>(ComputeEstimate(viewer, target, suit));
    return memo;
}

int HandAnalysis::ComputeEstimate(int viewer, int target, Suit suit) const {
    bool isVoid[5] = {};
    int n = 0;
    const SeatCards& cards = Seat(viewer);
    const int led = SuitIndex(suit);
    const int tricksLed = led < 0 ? 0 : cards.ledSlotCount[led];
    for (int i = 0; i < tricksLed; ++i) {
        const TrickRecord& slot = g_.Hands[viewer][cards.ledSlots[led][i]];
        const CardCode targetCard = slot.Cards[target];
        if (SuitOf(targetCard) != suit) return 0;  // the target has shown a void
        for (int s = 1; s <= 4; ++s)
            if (SuitOf(slot.Cards[s]) != suit) isVoid[s] = true;
        const bool won = slot.Winner == target;
        const bool fourth = target == PreviousSeat(slot.Leader);
        // A high card given up under a higher one suggests nothing of the suit is left.
        if (!won) {
            if (fourth && targetCard.rank > 10) return 0;
            const int d = RankOf(slot.Cards[slot.Leader]) - targetCard.rank;
            if (targetCard.rank >= 11 && d > 0 && d < 3) return 0;
        }
        ++n;
    }
    int holders = 3;
    for (int s = 1; s <= 4; ++s)
        if (s != viewer && isVoid[s]) --holders;
    if (holders <= 0) return 0;
    const int p = PlayedOfSuit(viewer, suit);
    const int h = HeldCount(viewer, suit);
    const long estimate = RoundHalfEven(static_cast<double>(13 - p - h + n) / holders - n);
    return estimate < 0 ? 0 : static_cast<int>(estimate);
}

int HandAnalysis::PlayedOfSuit(int seat, Suit suit) const { return std::popcount(Seat(seat).logged & SuitMask(suit)); }

bool HandAnalysis::HoldsTopOfSuit(int seat, Suit suit) const {
    const int m = HighestOfSuit(seat, suit).rank;
    if (m == 0) return false;
    return std::popcount(Seat(seat).logged & SuitRanksAbove(suit, m)) == 14 - m;
}

bool HandAnalysis::IsBossCard(int seat, CardCode card) const {
    const int c = std::popcount((Seat(seat).held | Seat(seat).logged) & SuitRanksAbove(card.suit, card.rank));
    return card.rank + c >= 14;
}

int HandAnalysis::HandSituation(int seat) const {
    const int t = teamTricks_[seat], o = opponentTricks_[seat];
    int result = 0;
    if (t == 6) result = 2;
    if (o == 6) result = 3;
    if (t == 0 && o >= 4) result = o - 2;
    return result;
}

int HandAnalysis::TrickSlot(int seat, int number) const {
    if (number == 0) return 0;
    for (int k = 1; k <= 13; ++k)
        if (g_.Hands[seat][k].Number == number) return k;
    return 0;
}

int HandAnalysis::SignalOf(int seat, int who, Suit suit) const {
    int k = teamTricks_[seat] + opponentTricks_[seat];
    int w = 14;
    for (; k > 0; --k, --w) {
        const int slotIndex = TrickSlot(seat, k);
        if (slotIndex == 0) continue;
        const TrickRecord& r = g_.Hands[seat][slotIndex];
        if (r.Winner <= 0 || r.Leader < 1 || r.Leader > 4) continue;
        const Suit card = SuitOf(r.Cards[who]);
        const Suit led = SuitOf(r.Cards[r.Leader]);
        if (r.Leader == who && card == suit) return w;
        if (r.Leader != who && card != led && card == suit) return w;
    }
    return 0;
}

int HandAnalysis::PartnerSignal(int seat, int partner, Suit suit) const { return SignalOf(seat, partner, suit); }

int HandAnalysis::OpponentSignal(int seat, Suit suit) const {
    const int opponents[2] = {NextSeat(seat), PreviousSeat(seat)};
    for (int k = teamTricks_[seat] + opponentTricks_[seat]; k > 0; --k) {
        const int slotIndex = TrickSlot(seat, k);
        if (slotIndex == 0) continue;
        const TrickRecord& r = g_.Hands[seat][slotIndex];
        if (r.Winner <= 0 || r.Leader < 1 || r.Leader > 4) continue;
        const Suit led = SuitOf(r.Cards[r.Leader]);
        for (int who : opponents) {
            const Suit card = SuitOf(r.Cards[who]);
            if (r.Leader == who && card == suit) return 10;
            if (r.Leader != who && card != led && card == suit) return 10;
        }
    }
    return 0;
}

int HandAnalysis::SuitController(int seat, Suit suit) const {
    const int k = teamTricks_[seat] + opponentTricks_[seat];
    if (k == 0) return 0;
    const TrickRecord& r = g_.Hands[seat][TrickSlot(seat, k)];
    if (r.Winner <= 0) return 0;
    const bool mine = HoldsTopOfSuit(seat, suit);
    const int partner = PartnerOf(seat);
    int result = 0;
    if (r.Leader == seat || r.Leader == partner) {
        const bool ownCardOfSuit = SuitOf(r.Cards[seat]) == suit;
        if (r.Winner == seat) {
            if (ownCardOfSuit && !IsTopRemaining(seat, r.Cards[seat])) result = mine ? seat : partner;
        } else if (r.Winner == partner) {
            if (ownCardOfSuit && !IsTopRemaining(seat, r.Cards[partner])) {
                if (mine) return seat;
                result = partner;
            }
        }
    }
    return result;
}

} // namespace zarv::ai
