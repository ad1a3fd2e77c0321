#include "ai/tactics.h"

#include <array>


namespace zarv::ai {


CardCode CardForTactic(const HandAnalysis& a, int seat, Tactic tactic, Suit suit) {
    switch (tactic) {
    case Tactic::PlayHighest: return a.HighestOfSuit(seat, suit);
    case Tactic::PlayLowest: return a.LowestOfSuit(seat, suit);
    case Tactic::PlayFirstBig: return a.LowestWinnerOfSuit(seat, suit);
    case Tactic::PlayABig: return a.MiddleOfSuit(seat, suit);
    case Tactic::PlayAnything:
        // The seat's first held card in Deck order, whatever its suit.
        for (int i = 1; i <= 52; ++i)
            if (a.state().Deck[i].Owner == seat) return a.state().Deck[i].Card;
        return {};
    }
    return {};
}

} // namespace zarv::ai
