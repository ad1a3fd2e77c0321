// The local player's mouse and keyboard: naming the trump, playing a card,
// giving up a hand, and Space.
#include "engine/entry.h"
#include "engine/game.h"
#include "engine/table_layout.h"

namespace zarv {

int Game::HitTest(int x, int y) const {
    for (int k = 52; k >= 1; --k) {
        const int d = s_.DrawOrder[k];
        if (d < 1 || d > 52) continue;
        const CardRecord& c = s_.Deck[d];
        if (c.X <= x && x <= c.X + kCardWidth && c.Y <= y && y <= c.Y + kCardHeight) return d;
    }
    return 0;
}

bool Game::GiveUpContains(double x, double y) const { return layout::GiveUpBox(s_).Contains(x, y); }

void Game::ClickAt(double x, double y) {
    if (s_.GiveUp != GiveUpFlag::Hidden && GiveUpContains(x, y)) {
        SetGiveUpFlag(GiveUpFlag::Shown);
        GiveUp();
    }
    ChooseCard(HitTest(static_cast<int>(RoundHalfEven(x)), static_cast<int>(RoundHalfEven(y))), true);
}

void Game::ChooseCard(int d, bool byClick) {
    if (s_.Animating || s_.Turn != s_.LocalSeat || (s_.Trump != kNoSuit && !s_.HumanMayPlay)) return;
    // A click that hits nothing still uses the turn's one try; a key names a card.
    if (byClick || d != 0) s_.HumanMayPlay = false;
    if (d != 0) CardClicked(d);
}

void Game::CardClicked(int d) {
    const CardRecord& card = s_.Deck[d];
    if (card.Owner != s_.Turn) {
        services_.view.Beep();
        return;
    }
    if (s_.TrumpBeingNamed()) {
        s_.Trump = SuitOf(card.Card);  // the click names the trump; the deal's wait goes on
        return;
    }
    if (!IsLegalCard(s_.LocalSeat, card.Card)) {
        services_.view.Beep();
        return;
    }
    // The awaited move: played now, not kept like a command.
    const bool wasBetweenTurns = betweenTurns_;
    betweenTurns_ = false;
    {
        EngineEntry entry(*this);
        PlaySeatCard(s_.LocalSeat, card.Card, CardOrigin::LocalPerson);
    }
    betweenTurns_ = wasBetweenTurns;
    RunPendingCommands();
}

void Game::PointerAt(double x, double y) {
    if (s_.GiveUp != GiveUpFlag::Hidden) SetGiveUpFlag(GiveUpContains(x, y) ? GiveUpFlag::PointedAt : GiveUpFlag::Shown);
}

bool Game::GiveUpPossible() const {
    const int a = TeamTricks(s_, s_.LocalSeat), b = OpponentTricks(s_, s_.LocalSeat);
    return a > 0 && b > 0 && a < 6 && b < 6;
}

void Game::SetGiveUpFlag(GiveUpFlag flag) {
    if (s_.GiveUp == flag) return;
    s_.GiveUp = flag;
    services_.view.ShowGiveUp(flag);
}

void Game::DoGiveUp() {
    // A give-up kept while the hand ended is not carried over to the next one.
    if (giveUpDeal_ != deals_) return;
    if (TeamTricks(s_, 1) >= 6 || TeamTricks(s_, 2) >= 6) return;
    s_.GiveUp = GiveUpFlag::Hidden;
    ScoreHand(NextSeat(s_.LocalSeat));
    NewHand();
}

void Game::SpaceReleased() {
    if (!s_.Tracing) {
        s_.WaitStart = 0;  // ends the pause in progress
        return;
    }
    Request(Command::ComputerStep);
}

void Game::DoComputerStep() {
    // A step kept while trace mode was switched off again is not made.
    if (!s_.Tracing || s_.Turn < 1 || s_.Turn > 4) return;
    ComputerMove(s_.Turn);
    // Stepping waits for the next Space: the table shows whose move it is.
    services_.view.ShowTurn();
}

} // namespace zarv
