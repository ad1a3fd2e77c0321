#include "ai/playout.h"

#include "ai/card_selection.h"
#include "engine/game.h"

namespace zarv::ai {

namespace {
// The slot of every card already in this trick mirrors the trick so far.
void RecordInHands(GameState& s, const TrickRecord& t) {
    for (int k = 1; k <= 13; ++k)
        for (int seat = 1; seat <= 4; ++seat)
            if (!t.Cards[seat].empty() && s.Hands[seat][k].Cards[seat] == t.Cards[seat]) s.Hands[seat][k] = t;
}

int Taken(const GameState& s, bool teamA) {
    int n = 0;
    for (size_t i = 1; i < s.Tricks.size(); ++i)
        if (s.Tricks[i].Winner >= 1 && IsTeamA(s.Tricks[i].Winner) == teamA) ++n;
    return n;
}
} // namespace

double HandOutcome::ValueFor(int seat) const {
    const bool ours = SameTeam(seat, winner);
    const int mine = IsTeamA(seat) ? tricksA : tricksB, theirs = IsTeamA(seat) ? tricksB : tricksA;
    return (ours ? points : -points) + 0.02 * (mine - theirs);
}

bool SimulatePlay(GameState& s, int seat, CardCode card) {
    const int u = static_cast<int>(s.Tricks.size()) - 1;
    TrickRecord& trick = s.Tricks[static_cast<size_t>(u)];
    trick.Number = u;
    bool allEmpty = true;
    for (int p = 1; p <= 4; ++p) allEmpty = allEmpty && trick.Cards[p].empty();
    if (allEmpty) trick.Leader = seat;
    s.TrickPosition = (s.TrickPosition % 4 == 0) ? 1 : s.TrickPosition + 1;
    trick.Cards[seat] = card;
    if (const int d = s.FindCard(card)) s.Deck[d].Owner = static_cast<uint8_t>(seat + 4);
    RecordInHands(s, trick);
    s.Turn = s.Turn % 4 + 1;
    trick.Winner = 0;
    for (int p = 1; p <= 4; ++p)
        if (trick.Cards[p].empty()) return false;

    const int w = TrickWinnerOf(trick, s.MasterCard);
    trick.Winner = w;
    s.Turn = w;
    for (int p = 1; p <= 4; ++p) s.Deck[s.FindCard(trick.Cards[p])].Owner = IsTeamA(w) ? kPileA : kPileB;
    if (Taken(s, IsTeamA(w)) >= 7) return true;
    RecordInHands(s, s.Tricks[static_cast<size_t>(u)]);
    s.Tricks.push_back(TrickRecord{});
    return false;
}

HandOutcome OutcomeOf(const GameState& s) {
    HandOutcome o;
    o.tricksA = Taken(s, true);
    o.tricksB = Taken(s, false);
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
