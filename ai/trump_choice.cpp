#include "ai/trump_choice.h"

namespace zarv::ai {

long TopCardShare(CardCode card, const std::vector<CardCode>& others) {
    int n = 0, higher = 0;
    for (CardCode c : others) {
        if (c.suit != card.suit) continue;
        ++n;
        if (c.rank > card.rank) ++higher;
    }
    if (n == 0) return 10;  // cannot happen with five cards of a full pack
    return RoundHalfEven(10.0 * (n - higher) / n);
}

Suit ChooseTrump(const GameState& state, int first, int count) {
    std::vector<CardCode> seen, outside;
    outside.reserve(52);
    for (int i = 1; i <= 52; ++i) (i >= first && i < first + count ? seen : outside).push_back(state.Deck[i].Card);
    return ChooseTrumpFrom(seen, outside);
}

Suit ChooseTrumpFrom(const std::vector<CardCode>& seen, const std::vector<CardCode>& outside) {
    long score[4] = {};
    for (const CardCode c : seen) {
        const int s = SuitIndex(SuitOf(c));
        if (s >= 0) score[s] += RankOf(c) + 10;
    }

    Suit best = 'g';
    long bestScore = score[0];
    for (Suit s : {'p', 'h', 'x'})
        if (score[SuitIndex(s)] > bestScore) {
            best = s;
            bestScore = score[SuitIndex(s)];
        }

    Suit second = 'g';
    long secondScore = 0;
    for (Suit s : {'x', 'p', 'h', 'g'})
        if (s != best && score[SuitIndex(s)] > secondScore) {
            second = s;
            secondScore = score[SuitIndex(s)];
        }

    // Cards that nothing outside the five can beat count at rank + 0.
    for (const CardCode c : seen) {
        if (TopCardShare(c, outside) != 10) continue;
        if (SuitOf(c) == best) bestScore -= 10;
        if (SuitOf(c) == second) secondScore -= 10;
    }
    return bestScore > secondScore ? best : second;
}

} // namespace zarv::ai
