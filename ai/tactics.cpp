#include "ai/tactics.h"

#include <array>

#include "engine/game.h"

namespace zarv::ai {

namespace {
const std::array<std::string, 5> kTacticNames = {"PlayBigest", "PlaySmallest", "PlayFirstBig", "PlayABig",
                                                 "Play Somthing"};
} // namespace

const std::string& TacticName(Tactic t) { return kTacticNames[static_cast<int>(t)]; }

std::optional<Tactic> TacticFromName(const std::string& name) {
    for (size_t i = 0; i < kTacticNames.size(); ++i)
        if (kTacticNames[i] == name) return static_cast<Tactic>(i);
    return std::nullopt;
}

CardCode CardForTactic(const HandAnalysis& a, int seat, Tactic tactic, Suit suit) {
    switch (tactic) {
    case Tactic::PlayBigest: return a.HighestOfSuit(seat, suit);
    case Tactic::PlaySmallest: return a.LowestOfSuit(seat, suit);
    case Tactic::PlayFirstBig: return a.LowestWinnerOfSuit(seat, suit);
    case Tactic::PlayABig: return a.MiddleOfSuit(seat, suit);
    case Tactic::PlaySomthing:
        // The seat's first held card in Deck order, whatever its suit.
        for (int i = 1; i <= 52; ++i)
            if (a.state().Deck[i].Owner == seat) return a.state().Deck[i].Card;
        return {};
    }
    return {};
}

void PlayTactic(Game& game, int seat, Tactic tactic, Suit suit) {
    PlayChosenCard(game, seat, CardForTactic(HandAnalysis(game.state()), seat, tactic, suit));
}

void PlayChosenCard(Game& game, int seat, CardCode card) {
    GameState& s = game.state();
    const int d = card.empty() ? 0 : s.FindCard(card);
    if (d == 0) return;
    int x = 0, y = 0;
    game.LandingPoint(seat, x, y);
    game.AnimateCard(d, x, y, seat + 4, std::nullopt);
    game.PlayCard(seat + 4, card);
    game.view().RepaintCards({&d, 1});
    if (s.IsDealer && game.HasConnectedClient())
        game.SendToEveryClient("IMove" + std::to_string(seat) + ";" + card.text() + "|");
}

} // namespace zarv::ai
