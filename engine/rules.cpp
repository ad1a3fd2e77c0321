// The rules of a trick and the scoring of a hand.
#include "engine/game.h"
#include "engine/table_layout.h"

namespace zarv {

int Game::TrickWinner(const TrickRecord& trick) const { return TrickWinnerOf(trick, s_.Trump); }

int TrickWinnerOf(const TrickRecord& trick, Suit trumpSuit) {
    const Suit led = (trick.Leader >= 1 && trick.Leader <= 4) ? SuitOf(trick.Cards[trick.Leader]) : kNoSuit;
    long best = -1;
    int winner = 0;
    for (int seat = 1; seat <= 4; ++seat) {
        const CardCode c = trick.Cards[seat];
        const long follows = (SuitOf(c) == led) ? 1 : 0;
        const long trump = (trumpSuit != kNoSuit && SuitOf(c) == trumpSuit) ? 1 : 0;
        const long score = (follows + 100 * trump) * (RankOf(c) + 100 * trump);
        if (score > best) {
            best = score;
            winner = seat;
        }
    }
    return winner;
}

void MirrorTrickInHands(GameState& s, const TrickRecord& t) {
    for (int k = 1; k <= 13; ++k)
        for (int seat = 1; seat <= 4; ++seat)
            if (!t.Cards[seat].empty() && s.Hands[seat][k].Cards[seat] == t.Cards[seat]) s.Hands[seat][k] = t;
}

bool RecordPlayedCard(GameState& s, int seat, CardCode card) {
    const int u = static_cast<int>(s.Tricks.size()) - 1;
    TrickRecord& trick = s.Tricks[static_cast<size_t>(u)];
    trick.Number = u;
    bool allEmpty = true;
    for (int p = 1; p <= 4; ++p) allEmpty = allEmpty && trick.Cards[p].empty();
    if (allEmpty) trick.Leader = seat;
    s.TrickPosition = (s.TrickPosition % 4 == 0) ? 1 : s.TrickPosition + 1;
    trick.Cards[seat] = card;
    // The slot of every card already in this trick mirrors the trick so far.
    MirrorTrickInHands(s, trick);
    s.Turn = s.Turn % 4 + 1;
    trick.Winner = 0;
    for (int p = 1; p <= 4; ++p)
        if (trick.Cards[p].empty()) return false;
    return true;
}

void Game::PlayCard(int ownerCode, CardCode card) {
    const int u = static_cast<int>(s_.Tricks.size()) - 1;
    const int p = ownerCode - 4;
    if (p < 1 || p > 4 || u < 1) return;
    const bool trickComplete = RecordPlayedCard(s_, p, card);
    if (observer_) observer_->CardPlayed(p, card);
    if (!trickComplete) return;

    s_.Turn = 0;
    Pause(1);
    const int w = TrickWinner(s_.Tricks[u]);
    s_.Tricks[u].Winner = w;
    s_.Turn = w;
    if (observer_) observer_->TrickSettled(s_.Tricks[u]);

    int n = 0;
    for (int i = 1; i <= u; ++i)
        if (SameTeam(s_.Tricks[i].Winner, w)) ++n;

    // The four cards just played lie at the end of the painting order.
    const layout::Point pilePoint = layout::TrickPilePoint(s_, w, n);
    const int x = static_cast<int>(pilePoint.x), y = static_cast<int>(pilePoint.y);
    const int pile = IsTeamA(w) ? kPileA : kPileB;
    std::array<CardMove, 4> toPile;
    for (int k = 0; k < 4; ++k) toPile[k] = CardMove{s_.DrawOrder[49 + k], x, y, pile};
    AnimateCards(toPile, true);
    services_.view.RepaintCards({});

    if (n < 7) {
        MirrorTrickInHands(s_, s_.Tricks[u]);
        s_.Tricks.push_back(TrickRecord{});
        return;
    }
    // A table being caught up with never ends a hand: the Dealer's was mid-hand.
    if (instant_) {
        resumeFailed_ = true;
        return;
    }
    ScoreHand(w);
    NewHand();
}

void Game::ScoreHand(int w) {
    struct Scoring {
        bool& flag;
        explicit Scoring(bool& f) : flag(f) { flag = true; }
        ~Scoring() { flag = false; }
    } scoring(scoring_);
    // Kept before the master role passes on.
    lastPlayedHand_ = CurrentHand();
    lastPlayedHand_->plays = PlayedCardsOf(s_);
    const int k = ++s_.HandsPlayed;
    const bool onSheet = k >= 1 && k <= 14;  // a game lasts at most 13 hands

    int points = 1;
    const bool teamB = !IsTeamA(w);
    int& winnersPoints = teamB ? s_.PointsB : s_.PointsA;
    winnersPoints += 1;
    if (OpponentTricks(s_, w) == 0) {
        winnersPoints += 1;
        points = 2;
        const bool losersFirstMaster = teamB ? (s_.Seats[1].FirstMaster || s_.Seats[3].FirstMaster)
                                             : (s_.Seats[2].FirstMaster || s_.Seats[4].FirstMaster);
        if (losersFirstMaster) {
            winnersPoints += 1;
            points = 3;
        }
    }
    if (onSheet) (teamB ? s_.ResultsB : s_.ResultsA)[k] = points;
    // The master role passes on exactly when the master's side lost.
    if (!SameTeam(s_.MasterPlayer, w) && s_.MasterPlayer >= 1) s_.MasterPlayer = NextSeat(s_.MasterPlayer);
    if (observer_) observer_->HandScored(w, points);

    for (int i = 1; i <= 52; ++i)
        if (s_.Deck[i].Owner >= 1 && s_.Deck[i].Owner <= 4) s_.Deck[i].FaceDown = false;
    services_.view.RepaintCards({});
    services_.view.DrawBoard();
    TableEvent won = TableEvent::About(TableEvent::Kind::HandWon, w, s_.Seats[w].Name);
    won.partner = s_.Seats[PartnerOf(w)].Name;
    won.points = points;
    won.byFirstSide = !teamB;
    Announce(won);
    Pause(3);
}

} // namespace zarv
