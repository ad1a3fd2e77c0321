#include "ai/card_selection.h"

#include "ai/strategy.h"
#include "ai/trump_choice.h"
#include "engine/game.h"

namespace zarv::ai {

namespace {

constexpr long kDisabledScore = -9000000;

// The facts every position's table reads for the suit being examined.
struct Facts {
    const HandAnalysis& a;
    int seat, partner, next, previous;
    bool ob;
    Suit s, trump, led;
    bool isTr, same, top;
    int sit, ownTr, lowLed, lowTr;
    const TrickRecord& trick;

    int Est(int who, Suit suit) const { return a.EstimateHolding(seat, who, suit); }
    CardCode CardOf(int who) const { return trick.Cards[who]; }
};

void Set(Candidate& row, bool cond, long len, long played, long priority, long bonus, Tactic tactic,
         long signal = 0, long threat = 0) {
    row.Cond = cond;
    row.LenWeight = len;
    row.PlayedWeight = played;
    row.SignalWeight = signal;
    row.ThreatWeight = threat;
    row.Priority = priority;
    row.Bonus = bonus;
    row.TacticName = tactic;
}

void FillLeading(Candidate* rows, const Facts& f) {
    const int nextS = f.Est(f.next, f.s), nextTr = f.Est(f.next, f.trump);
    const int prevS = f.Est(f.previous, f.s), prevTr = f.Est(f.previous, f.trump);
    const int ownS = f.Est(f.seat, f.s);
    const bool safe = (nextTr == 0 || nextS > 0) && (prevTr == 0 || prevS > 0);
    const bool risk = (ownS >= 5 && (nextTr > 0 || prevTr > 0)) || (prevS < 3 && prevTr > 0) || (nextS < 3 && nextTr > 0);
    const bool partnerRuff = f.Est(f.partner, f.s) == 0 && f.Est(f.partner, f.trump) > 0;
    const bool partnerLeads = f.a.SuitController(f.seat, f.s) == f.partner;
    const int hiTr = RankOf(f.a.HighestOfSuit(f.seat, f.trump));
    const int done = f.a.TeamTricksOf(f.seat) + f.a.OpponentTricksOf(f.seat);
    const bool isLong = 13 - done - f.ownTr < f.ownTr;
    const bool isTr = f.isTr, top = f.top, ob = f.ob;
    using T = Tactic;
    //   row      condition                                              len played priority           bonus     tactic           signal threat
    Set(rows[1], !isTr && risk && top && safe,                            -1, -1, ob ? 14 : 4,          0,        T::PlayHighest,   3, 0);
    Set(rows[2], ob && top && isTr,                                        1,  2, 4,                    2 * f.sit, T::PlayHighest,   3, -3);
    Set(rows[3], !isTr && safe,                                           -1,  0, 3,                    0,        T::PlayABig,     5, -3);
    Set(rows[4], !isTr && ((partnerLeads && safe) || partnerRuff),        -1, -1, safe ? 4 : 3,         0,        T::PlayLowest, 5, safe ? -3 : 0);
    Set(rows[5], !isTr && safe,                                           -1, -1, 2,                    0,        T::PlayLowest, 10, -1);
    Set(rows[6], isTr,                                                     1,  0, 1,                    f.sit,    T::PlayLowest, 3, -3);
    Set(rows[7], isTr && isLong,                                           1,  2, hiTr >= 12 ? 3 : (ob ? 11 : 1), 2 * f.sit,
        hiTr >= 12 ? T::PlayLowest : T::PlayHighest, 3, -3);
}

void FillSecond(Candidate* rows, const Facts& f) {
    const int nextS = f.Est(f.next, f.s), nextTr = f.Est(f.next, f.trump);
    const bool safeNext = nextTr == 0 || nextS > 0;
    const bool risk = f.Est(f.seat, f.s) > 5 || nextS < 2;
    const bool partnerRuff = f.Est(f.partner, f.s) == 0 && f.Est(f.partner, f.trump) >= 1;
    const CardCode leaderCard = f.CardOf(f.trick.Leader >= 1 && f.trick.Leader <= 4 ? f.trick.Leader : 0);
    const bool leaderTop = f.a.IsTopRemaining(f.seat, leaderCard);
    const bool leaderHigh = RankOf(leaderCard) > 10;
    const bool same = f.same, isTr = f.isTr;
    const long trumpPriority = f.lowTr < 12 ? 3 : (f.lowTr <= 13 ? 2 : 1);
    const bool ownTrNone = f.ownTr < 1;
    using T = Tactic;
    Set(rows[1], same && risk && f.top && safeNext, -1, 0, f.ob ? 14 : 4, 0, T::PlayHighest);
    Set(rows[2], !same && !partnerRuff && isTr, 1, -1, trumpPriority, 0, T::PlayLowest);
    // Rows 3 and 5 would need a trump suit that is not safe from the next seat,
    // which cannot be: they are never enabled.
    rows[3].Cond = false;
    rows[5].Cond = false;
    Set(rows[4], same, -1, 0, 3, 0,
        (f.lowLed >= 7 && !leaderTop && !leaderHigh) ? T::PlayABig : T::PlayLowest);
    Set(rows[6], !isTr && !same, ownTrNone ? 1 : -1, ownTrNone ? -1 : 1, 1, 0, T::PlayLowest);
    Set(rows[7], same, 1, 0, 3, 0, T::PlayFirstBig);
}

void FillThird(Candidate* rows, const Facts& f) {
    const HandAnalysis& a = f.a;
    const bool safeNext = f.Est(f.next, f.trump) == 0 || f.Est(f.next, f.led) > 0;
    const bool topHere = (f.same || f.isTr) && f.top;
    const CardCode partnerCard = f.CardOf(f.partner), prevCard = f.CardOf(f.previous);
    const bool prevRuffed = SuitOf(prevCard) == f.trump && f.led != f.trump;
    const bool partnerSafe =
        ((a.IsBossCard(f.seat, partnerCard) && topHere) || a.IsTopRemaining(f.seat, partnerCard)) && !prevRuffed;
    // Judged from the previous seat's own slots, which already hold this trick.
    const bool prevTop = a.IsTopRemaining(f.previous, prevCard);
    const bool canOvertrump = prevRuffed ? RankOf(prevCard) < f.lowTr : true;
    const bool climb = f.lowLed > RankOf(partnerCard) + 1 && RankOf(prevCard) < f.lowLed;
    const bool plain = f.same || !f.isTr;
    const CardCode lowest = a.LowestOfSuit(f.seat, f.s);
    const bool lowestIsTop = a.IsTopRemaining(f.seat, lowest);
    const bool ownTrNone = f.ownTr < 1;
    const bool same = f.same, isTr = f.isTr, ob = f.ob;

    long row3Priority = 2;
    if (f.sit > 1 && topHere)
        row3Priority = 4;
    else if (f.ownTr >= 3 || (f.lowTr >= 9 && f.lowTr <= 11))
        row3Priority = 4;

    using T = Tactic;
    Set(rows[1], !partnerSafe && !prevRuffed && same && topHere, -1, 0, ob ? 15 : 5, 0, T::PlayHighest);
    Set(rows[2], !partnerSafe && !same && isTr && canOvertrump, 1, 1, ob ? 12 : 2, 0, T::PlayABig);
    Set(rows[3], (!safeNext || !partnerSafe) && !same && isTr && canOvertrump, 2, -1, row3Priority, f.sit, T::PlayFirstBig);
    Set(rows[4], !partnerSafe && !prevRuffed && same && climb, 1, -3, ob ? 12 : 2, 0, T::PlayHighest);
    Set(rows[5], plain && safeNext && partnerSafe, ownTrNone ? 1 : -1, ownTrNone ? -1 : 1, 6, 0, T::PlayLowest);
    // Row 6 keeps the priority it had for the previous suit when neither rule applies.
    long row6Priority = rows[6].Priority;
    if (same)
        row6Priority = 3;
    else if (lowestIsTop)
        row6Priority = 2;
    Set(rows[6], (!climb || prevRuffed) && plain && !partnerSafe, ownTrNone ? 1 : -1, ownTrNone ? -1 : 1, row6Priority, 0,
        T::PlayLowest);
    Set(rows[7], (prevTop || partnerSafe) && plain, -1, 0, !lowestIsTop ? 2 : 1, 0, T::PlayLowest);
    Set(rows[8], prevTop && isTr, -1, -1, 1, 0, T::PlayLowest);
}

long CardPower(CardCode c, Suit trump, Suit led) {
    const long trumpPart = (SuitOf(c) == trump) ? 100L * RankOf(c) : 0;
    const long ledPart = (SuitOf(c) == led) ? RankOf(c) : 0;
    const long power = trumpPart - ledPart;
    return power < 0 ? -power : power;
}

void FillFourth(Candidate* rows, const Facts& f) {
    const CardCode partnerCard = f.CardOf(f.partner), prevCard = f.CardOf(f.previous), leaderCard = f.CardOf(f.next);
    const long partnerPower = CardPower(partnerCard, f.trump, f.led);
    const bool partnerWins =
        partnerPower > CardPower(prevCard, f.trump, f.led) && partnerPower > CardPower(leaderCard, f.trump, f.led);
    const bool prevRuffed = SuitOf(prevCard) == f.trump && SuitOf(prevCard) != f.led;
    const bool prevThrew = SuitOf(prevCard) != f.led && !prevRuffed;
    const bool beatBoth = RankOf(leaderCard) < f.lowLed && (RankOf(prevCard) < f.lowLed || prevThrew);
    const bool canOvertrump = !prevRuffed || RankOf(prevCard) < f.lowTr;
    const bool same = f.same, isTr = f.isTr, ob = f.ob;
    const long row2Priority = (f.sit == 0 && f.lowTr == 14) ? (ob ? 11 : 1) : (ob ? 13 : 3);
    using T = Tactic;
    Set(rows[1], !prevRuffed && !partnerWins && same && beatBoth, -1, 0, ob ? 15 : 5, 0, T::PlayFirstBig);
    Set(rows[2], !partnerWins && !same && isTr && canOvertrump, 1, 0, row2Priority, f.sit, T::PlayFirstBig);
    Set(rows[3], !isTr && partnerWins, -1, 1, 3, 0, T::PlayLowest);
    Set(rows[4], partnerWins, -1, 0, 2, 0, T::PlayLowest);
    Set(rows[5], !partnerWins && !isTr, -1, 1, 2, 0, T::PlayLowest);
    Set(rows[6], !prevRuffed && !partnerWins && !same && isTr, 1, 0, 3, 0, T::PlayLowest);
    Set(rows[7], !partnerWins, -1, 1, 1, 0, T::PlayLowest);
}

} // namespace

Choice ChooseMove(const GameState& state, int seat, int position) {
    return ChooseMove(HandAnalysis(state), seat, position);
}

namespace {
// One candidate row's score for suit s, by the one formula.
long RowScore(const Candidate& row, const HandAnalysis& a, int seat, Suit s, double lengthTerm, int fallen) {
    double score = 3000.0 * row.Priority + 3000.0 * row.Bonus + 11.0 * row.LenWeight * lengthTerm +
                   10.0 * row.PlayedWeight * fallen;
    if (row.SignalWeight != 0) score += 50.0 * row.SignalWeight * a.PartnerSignal(seat, PartnerOf(seat), s);
    if (row.ThreatWeight != 0) score += 30.0 * row.ThreatWeight * a.OpponentSignal(seat, s);
    return RoundHalfEven(score);
}
} // namespace

Choice ChooseMove(const HandAnalysis& a, int seat, int position) {
    const GameState& state = a.state();
    Candidate rows[11];
    rows[0].TacticName = Tactic::PlayAnything;
    Choice best;

    const bool ob = ChooseStrategy(a, seat) == Strategy::OnlyHighest;
    const Suit trump = state.Trump;
    const Suit led = state.LedSuit();
    const int partner = PartnerOf(seat);
    const int done = a.TeamTricksOf(seat) + a.OpponentTricksOf(seat);
    const int sit = a.HandSituation(seat);
    const int ownTr = a.EstimateHolding(seat, seat, trump);
    const int lowLed = RankOf(a.LowestWinnerOfSuit(seat, led));
    const int lowTr = RankOf(a.LowestWinnerOfSuit(seat, trump));

    Suit suits[4] = {};
    int suitCount = 0;
    if (position == 1) {
        for (Suit s : {'p', 'x', 'g', 'h'}) suits[suitCount++] = s;
    } else if (a.HeldCount(seat, led) > 0) {
        suits[suitCount++] = led;
    } else {
        for (Suit s : {'h', 'x', 'g', 'p'}) suits[suitCount++] = s;
    }

    const int rowCount = position == 3 ? 8 : 7;
    for (int i = 0; i < suitCount; ++i) {
        const Suit s = suits[i];
        const int own = a.EstimateHolding(seat, seat, s);
        if (own == 0) continue;
        const Facts f{a,     seat,     partner,          NextSeat(seat), PreviousSeat(seat), ob,     s,      trump, led,
                      s == trump, s == led, a.HoldsTopOfSuit(seat, s), sit, ownTr, lowLed, lowTr, state.CurrentTrick()};
        switch (position) {
        case 1: FillLeading(rows, f); break;
        case 2: FillSecond(rows, f); break;
        case 3: FillThird(rows, f); break;
        default: FillFourth(rows, f); break;
        }

        const int fallen = a.PlayedOfSuit(seat, s);
        const double lengthTerm = own - (13 - done) / 2.0;
        for (int r = 1; r <= rowCount; ++r) {
            Candidate& row = rows[r];
            row.Score = row.Cond ? RowScore(row, a, seat, s, lengthTerm, fallen) : kDisabledScore;
            if (row.Score > best.score) {
                best.score = row.Score;
                best.row = r;
                best.suit = s;
            }
        }
    }
    best.tactic = rows[best.row].TacticName;
    best.card = CardForTactic(a, seat, best.tactic, best.suit);
    return best;
}

CardChoice ComputerSeatPlayer::SelectCard(int seat, int position) {
    if (seat < 1 || seat > 4) return {};
    const Choice choice = ChooseMove(state_, seat, position);
    return {choice.card, CardReason::Of(choice.tactic)};
}

Suit ComputerSeatPlayer::ChooseTrump(int first, int count) { return ai::ChooseTrump(state_, first, count); }

} // namespace zarv::ai
