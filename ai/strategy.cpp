#include "ai/strategy.h"

namespace zarv::ai {

namespace {
constexpr Suit kSureTrickSuits[4] = {'x', 'g', 'h', 'p'};
} // namespace

int SureTricks(const HandAnalysis& a, int seat) {
    const GameState& g = a.state();
    const auto& slots = g.Hands[seat];
    const int partner = PartnerOf(seat), next = NextSeat(seat), previous = PreviousSeat(seat);
    const int visit[4] = {seat, partner, next, previous};

    // The limit per suit: one below the last card, in slot and seat order, that
    // nothing unseen can beat.
    int top[4] = {14, 14, 14, 14};
    int count[4] = {};
    for (int i = 0; i < 4; ++i)
        for (int k = 1; k <= 13; ++k)
            for (int who : visit) {
                const CardCode c = slots[k].Cards[who];
                if (c.suit == kSureTrickSuits[i] && a.IsTopRemaining(seat, c)) top[i] = c.rank - 1;
            }

    // Count held cards that reach the limit, pass after pass. A counted card is
    // marked so no later pass counts it again; the slots themselves stay as they are.
    bool counted[14] = {};
    for (bool changed = true; changed;) {
        changed = false;
        for (int k = 1; k <= 13; ++k) {
            const TrickRecord& slot = slots[k];
            if (!HandAnalysis::IsHeld(slot) || counted[k]) continue;
            const CardCode c = slot.Cards[seat];
            for (int i = 0; i < 4; ++i) {
                if (c.suit != kSureTrickSuits[i] || c.rank < top[i]) continue;
                ++count[i];
                top[i] = c.rank - 1;
                counted[k] = true;
                changed = true;
                break;
            }
        }
    }

    // An opponent who runs out of the suit while holding trumps stops the run.
    const Suit trump = a.Trump();
    for (int i = 0; i < 4; ++i) {
        const Suit suit = kSureTrickSuits[i];
        if (suit == trump) continue;
        for (int opponent : {next, previous}) {
            if (a.EstimateHolding(seat, opponent, trump) > 0) {
                const int has = a.EstimateHolding(seat, opponent, suit);
                if (has < count[i]) count[i] = has;
            }
        }
    }
    return count[0] + count[1] + count[2] + count[3];
}

long HandValue(const HandAnalysis& a, int seat) {
    const GameState& g = a.state();
    long sum = 0;
    for (int k = 1; k <= 13; ++k) {
        const TrickRecord& slot = g.Hands[seat][k];
        if (slot.Winner != -1 || slot.Cards[seat].empty()) continue;
        const CardCode c = slot.Cards[seat];
        sum += 1L << c.rank;
        if (a.IsTrump(c.suit)) {
            sum += 1000L * c.rank + 200L * a.PlayedOfSuit(seat, c.suit);
        } else {
            sum -= 200L * a.PlayedOfSuit(seat, c.suit);
        }
    }
    return RoundHalfEven(sum / 4.0 + 8000.0 * SureTricks(a, seat) + 10000.0 * TeamTricks(g, seat));
}

const std::string& ChooseStrategie(const HandAnalysis& a, int seat) {
    const GameState& g = a.state();
    const int t = TeamTricks(g, seat), o = OpponentTricks(g, seat);
    int need = 7 - SureTricks(a, seat) + t;
    if (need < 0) need = 0;
    if (need == 0 || t == 6) return kOnlyBigest;
    if (HandValue(a, seat) > 60000 && o == 0) return kOnlyBigest;
    return kNormal;
}

} // namespace zarv::ai
