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
    // Walk the visiting order backwards: the first match of a suit is its last.
    bool found[4] = {};
    int suitsFound = 0;
    for (int k = 13; k >= 1 && suitsFound < 4; --k)
        for (int v = 3; v >= 0; --v) {
            const CardCode c = slots[k].Cards[visit[v]];
            if (c.empty()) continue;
            int i = 0;
            while (i < 4 && c.suit != kSureTrickSuits[i]) ++i;
            if (i == 4 || found[i] || !a.IsTopRemaining(seat, c)) continue;
            top[i] = c.rank - 1;
            found[i] = true;
            ++suitsFound;
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

namespace {
long HandValueWith(const HandAnalysis& a, int seat, int sureTricks) {
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
    return RoundHalfEven(sum / 4.0 + 8000.0 * sureTricks + 10000.0 * a.TeamTricksOf(seat));
}
} // namespace

long HandValue(const HandAnalysis& a, int seat) { return HandValueWith(a, seat, SureTricks(a, seat)); }

Strategy ChooseStrategy(const HandAnalysis& a, int seat) {
    const int t = a.TeamTricksOf(seat), o = a.OpponentTricksOf(seat);
    const int sure = SureTricks(a, seat);
    int need = 7 - sure + t;
    if (need < 0) need = 0;
    if (need == 0 || t == 6) return Strategy::OnlyHighest;
    if (o == 0 && HandValueWith(a, seat, sure) > 60000) return Strategy::OnlyHighest;
    return Strategy::Normal;
}

} // namespace zarv::ai
