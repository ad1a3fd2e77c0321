#include "ui/table_status.h"

#include "ui/language.h"

#include "ui/card_names.h"

#include <QCoreApplication>
#include <cmath>

namespace zarv::ui {

namespace {
// The words of this file, under one translation context.
struct TableStatus {
    Q_DECLARE_TR_FUNCTIONS(TableStatus)
};
QString NameOf(const GameState& s, int seat) { return QString::fromStdString(s.Seats[seat].Name).trimmed(); }

} // namespace


QString TrickCount(int n) { return n == 1 ? TableStatus::tr("1 trick") : TableStatus::tr("%1 tricks").arg(n); }

QString PointCount(int n) { return n == 1 ? TableStatus::tr("1 point") : TableStatus::tr("%1 points").arg(n); }

QString WaitText(const Game& game, int secondsLeft) {
    using Kind = Game::TableWait::Kind;
    const GameState& s = game.state();
    const Game::TableWait wait = game.Awaiting();
    const int l = s.LocalSeat;
    switch (wait.kind) {
    case Kind::Nothing: return s.GameStarted ? QString() : TableStatus::tr("Press F2 or choose Game > Start to deal");
    case Kind::Deal: return TableStatus::tr("Dealing...");
    case Kind::HandResult: return TableStatus::tr("The hand is over");
    case Kind::GameOver: return GameResultText(s);
    case Kind::Trump:
    case Kind::Card: break;
    }
    const int seat = wait.seat;
    const bool local = seat == l && s.Seats[l].Kind == SeatKind::Human && !s.Tracing;
    if (wait.kind == Kind::Trump)
        return local ? TableStatus::tr("You are HAKEM \u2014 click a card to name the ZARV")
                     : TableStatus::tr("%1 is choosing the ZARV").arg(NameOf(s, seat));
    if (!local) {
        if (secondsLeft >= 0) return TableStatus::tr("Waiting for %1 \u2014 %2 s").arg(NameOf(s, seat)).arg(secondsLeft);
        return TableStatus::tr("%1 to play").arg(NameOf(s, seat));
    }
    const Suit led = s.LedSuit();
    if (secondsLeft >= 0) {
        const QString what = led == kNoSuit ? TableStatus::tr("lead any card") : TableStatus::tr("follow %1 if you can").arg(SuitSign(led));
        return TableStatus::tr("Your turn \u2014 %1; %2 s left, then the computer plays").arg(what).arg(secondsLeft);
    }
    if (led == kNoSuit) return TableStatus::tr("Your turn \u2014 lead any card");
    if (SuitToFollow(s, l) != kNoSuit) return TableStatus::tr("Your turn \u2014 follow %1").arg(SuitSign(led));
    return TableStatus::tr("Your turn \u2014 no %1 left, play any card").arg(SuitSign(led));
}

QString TrumpText(const GameState& s) {
    if (!s.GameStarted) return {};
    const QString trump = s.Trump == kNoSuit ? TableStatus::tr("not named") : SuitSign(s.Trump);
    const QString master = s.MasterPlayer >= 1 && s.MasterPlayer <= 4 ? NameOf(s, s.MasterPlayer) : QStringLiteral("-");
    return TableStatus::tr("ZARV %1").arg(trump) + QLatin1Char('\n') + TableStatus::tr("HAKEM %1").arg(master);
}

QString SidesText(const GameState& s) {
    if (!s.GameStarted) return {};
    const int l = s.LocalSeat;
    const int ourPoints = IsTeamA(l) ? s.PointsA : s.PointsB, theirPoints = IsTeamA(l) ? s.PointsB : s.PointsA;
    auto points = [](int n) { return n == 1 ? TableStatus::tr("1 pt") : TableStatus::tr("%1 pts").arg(n); };
    const QString us = TableStatus::tr("You & %1: %2, %3").arg(NameOf(s, PartnerOf(l)), TrickCount(TeamTricks(s, l)), points(ourPoints));
    const QString them = TableStatus::tr("%1 & %2: %3, %4")
                             .arg(NameOf(s, NextSeat(l)), NameOf(s, PreviousSeat(l)), TrickCount(OpponentTricks(s, l)),
                                  points(theirPoints));
    return us + QLatin1Char('\n') + them;
}

QString GameResultText(const GameState& s) {
    const int l = s.LocalSeat;
    const int ours = IsTeamA(l) ? s.PointsA : s.PointsB, theirs = IsTeamA(l) ? s.PointsB : s.PointsA;
    if (ours >= 7 && ours > theirs)
        return TableStatus::tr("You and %1 won the game, %2 to %3.").arg(NameOf(s, PartnerOf(l))).arg(ours).arg(theirs);
    return TableStatus::tr("%1 and %2 won the game, %3 to %4.").arg(NameOf(s, NextSeat(l)), NameOf(s, PreviousSeat(l))).arg(theirs).arg(ours);
}

QString ReasonInWords(const CardReason& reason) {
    switch (reason.kind) {
    case CardReason::Kind::Tactic:
        switch (reason.tactic) {
        case Tactic::PlayHighest: return TableStatus::tr("its highest card of the suit");
        case Tactic::PlayLowest: return TableStatus::tr("its lowest card of the suit");
        case Tactic::PlayFirstBig: return TableStatus::tr("the lowest card that can take the trick");
        case Tactic::PlayABig: return TableStatus::tr("a middle card of the suit");
        case Tactic::PlayAnything: return TableStatus::tr("any card: nothing better to do");
        }
        break;
    case CardReason::Kind::OnlyCard: return TableStatus::tr("the only card that may be played");
    case CardReason::Kind::Reckoning: {
        // The card's average points over the deals the Expert imagined, and the next best card's.
        const ExpertReckoning& r = reason.reckoning;
        // Rounded as shown first, so that a loss too small to show reads as no loss.
        const double points = std::nearbyint(r.bestValue * 100) / 100;
        const QString amount = Number(std::abs(points), 2);
        QString outlook;
        if (r.master)
            outlook = points < 0 ? TableStatus::tr("the Master expects to lose %1 points with %2").arg(amount, CardName(r.best))
                                 : TableStatus::tr("the Master expects to win %1 points with %2").arg(amount, CardName(r.best));
        else
            outlook = points < 0 ? TableStatus::tr("the Expert expects to lose %1 points with %2").arg(amount, CardName(r.best))
                                 : TableStatus::tr("the Expert expects to win %1 points with %2").arg(amount, CardName(r.best));
        if (r.next == r.best) return outlook;
        return outlook + TableStatus::tr(" \u2014 next best %1").arg(CardName(r.next));
    }
    case CardReason::Kind::None: break;
    }
    return QString();
}

QString WaitKey(const Game& game) {
    const GameState& s = game.state();
    const Game::TableWait wait = game.Awaiting();
    return QStringLiteral("%1 %2 %3 %4 %5 %6 %7 %8 %9")
        .arg(int(wait.kind))
        .arg(wait.seat)
        .arg(s.Tricks.size())
        .arg(s.TrickPosition)
        .arg(int(s.Trump))
        .arg(s.WaitingForSeat)
        .arg(s.WaitingDeadline)
        .arg(s.GameStarted)
        .arg(int(s.Tracing));
}

QString TurnKey(const Game& game) {
    const GameState& s = game.state();
    using Kind = Game::TableWait::Kind;
    const Kind wait = game.Awaiting().kind;
    const bool between = wait == Kind::Deal || wait == Kind::HandResult || wait == Kind::GameOver;
    return QStringLiteral("%1 %2 %3 %4 %5 %6 %7 %8")
        .arg(s.StopRequested)
        .arg(s.Turn)
        .arg(s.Tricks.size())
        .arg(s.TrickPosition)
        .arg(int(s.Trump))
        .arg(s.HandsPlayed)
        .arg(between)
        .arg(s.GameStarted);
}

} // namespace zarv::ui
