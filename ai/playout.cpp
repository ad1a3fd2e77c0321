#include "ai/playout.h"

#include "ai/card_selection.h"
#include "engine/game.h"

namespace zarv::ai {


double HandOutcome::ValueFor(int seat) const {
    const bool ours = SameTeam(seat, winner);
    const int mine = IsTeamA(seat) ? tricksA : tricksB, theirs = IsTeamA(seat) ? tricksB : tricksA;
    return (ours ? points : -points) + 0.02 * (mine - theirs);
}

bool SimulatePlay(GameState& s, int seat, CardCode card) {
    // As the table records a played card (without its pauses and pictures).
    if (const int d = s.FindCard(card)) s.Deck[d].Owner = static_cast<uint8_t>(seat + 4);
    if (!RecordPlayedCard(s, seat, card)) return false;
    const size_t u = s.Tricks.size() - 1;
    TrickRecord& trick = s.Tricks[u];
    const int w = TrickWinnerOf(trick, s.Trump);
    trick.Winner = w;
    s.Turn = w;
    for (int p = 1; p <= 4; ++p) s.Deck[s.FindCard(trick.Cards[p])].Owner = IsTeamA(w) ? kPileA : kPileB;
    if (TeamTricks(s, w) >= 7) return true;
    MirrorTrickInHands(s, s.Tricks[u]);
    s.Tricks.push_back(TrickRecord{});
    return false;
}

HandOutcome OutcomeOf(const GameState& s) {
    HandOutcome o;
    o.tricksA = TeamTricks(s, 1);
    o.tricksB = TeamTricks(s, 2);
    if (o.tricksA < 7 && o.tricksB < 7) return o;
    const bool aWon = o.tricksA >= 7;
    o.winner = aWon ? 1 : 2;
    o.points = 1;
    if ((aWon ? o.tricksB : o.tricksA) == 0) {
        o.points = 2;
        const bool losersFirstMaster = aWon ? (s.Seats[2].FirstMaster || s.Seats[4].FirstMaster)
                                            : (s.Seats[1].FirstMaster || s.Seats[3].FirstMaster);
        if (losersFirstMaster) o.points = 3;
    }
    return o;
}

HandOutcome PlayOut(GameState s) {
    for (int cards = 0; cards < 52; ++cards) {
        const int seat = s.Turn;
        if (seat < 1 || seat > 4) break;
        CardCode card = ChooseMove(s, seat, s.TrickPosition).card;
        if (!IsLegalCardOf(s, seat, card)) {
            const auto legal = LegalCardsOf(s, seat);
            if (legal.empty()) break;
            card = legal.front();
        }
        if (SimulatePlay(s, seat, card)) break;
    }
    return OutcomeOf(s);
}

} // namespace zarv::ai
