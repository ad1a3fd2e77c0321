// The local player's mouse and keyboard: naming the trump, playing a card,
// giving up a hand, and Space.
#include "engine/entry.h"
#include "engine/game.h"

namespace zarv {

namespace {
constexpr int kSpaceKey = 32;

bool HoldsSuit(const GameState& s, int seat, Suit suit) {
    for (int k = 1; k <= 13; ++k) {
        const TrickRecord& slot = s.Hands[seat][k];
        if (slot.Winner == -1 && !slot.Cards[seat].empty() && SuitOf(slot.Cards[seat]) == suit) return true;
    }
    return false;
}
} // namespace

int Game::HitTest(int x, int y) const {
    for (int k = 52; k >= 1; --k) {
        const int d = s_.DrawOrder[k];
        if (d < 1 || d > 52) continue;
        const CardRecord& c = s_.Deck[d];
        if (c.X <= x && x <= c.X + kCardWidth && c.Y <= y && y <= c.Y + kCardHeight) return d;
    }
    return 0;
}

bool Game::GiveUpContains(double x, double y) const {
    const SeatRecord& seat = s_.Seats[s_.LocalSeat];
    const double u = s_.LayoutUnit;
    const double left = seat.X + 6 * u + 74, top = seat.Y + 104 + u + 5;
    return left <= x && x <= left + kGiveUpWidth && top <= y && y <= top + kGiveUpHeight;
}

void Game::FormMouseDown(double x, double y) {
    {
        EngineEntry entry(*this);
        if (s_.GiveUpState > 0 && GiveUpContains(x, y)) {
            SetGiveUpState(1);
            GiveUp();
        }
        [&] {
            if (s_.Animating || s_.Turn != s_.LocalSeat || (s_.MasterCard != kNoSuit && !s_.HumanMayPlay)) return;
            s_.HumanMayPlay = false;
            const int d = HitTest(RoundHalfEven(x), RoundHalfEven(y));
            if (d == 0) return;
            const CardRecord& card = s_.Deck[d];
            if (card.Owner != s_.Turn) {
                services_.view.Beep();
                return;
            }
            if (s_.TrickPosition < 2) {
                if (s_.MasterCard == kNoSuit) {
                    s_.MasterCard = SuitOf(card.Card);  // the click names the trump
                    return;
                }
            } else {
                const Suit led = s_.LedSuit();
                if (SuitOf(card.Card) != led && HoldsSuit(s_, s_.LocalSeat, led)) {
                    services_.view.Beep();
                    return;
                }
            }
            PlayLocalCard(d);
        }();
    }
    RunPendingRestart();
}

void Game::PlayLocalCard(int d) {
    const int ownerCode = s_.Deck[d].Owner + 4;
    const CardCode card = s_.Deck[d].Card;
    const int x = RoundHalfEven((s_.ScaleWidth - 74) / 2.0 + s_.Deck[d].X / 30.0);
    const int y = RoundHalfEven((s_.ScaleHeight - 104) / 2.0 + s_.Deck[d].Y / 10.0);
    const std::string move = "IMove" + std::to_string(s_.LocalSeat);
    const std::string msg = move + ";" + card.text() + "|";
    if (!s_.IsDealer) {
        if (services_.network.IsConnected(0)) {
            services_.network.Send(0, msg);
            WaitForMessage(0, "Recived", move);
        }
    } else {
        SendToEveryClient(msg);
    }
    AnimateCard(d, x, y, ownerCode, false);
    PlayCard(ownerCode, card);
    services_.view.RepaintCards({});
}

void Game::FormMouseMove(double x, double y) {
    if (s_.GiveUpState > 0) SetGiveUpState(GiveUpContains(x, y) ? 2 : 1);
}

void Game::SetGiveUpState(int state) {
    if (s_.GiveUpState == state) return;
    s_.GiveUpState = state;
    services_.view.ShowGiveUp(state);
}

void Game::GiveUp() {
    if (TeamTricks(s_, 1) >= 6 || TeamTricks(s_, 2) >= 6) return;
    {
        EngineEntry entry(*this);
        s_.GiveUpState = 0;
        ScoreHand(NextSeat(s_.LocalSeat));
        NewHand();
    }
    RunPendingRestart();
}

void Game::FormKeyUp(int keyCode) {
    if (keyCode != kSpaceKey) return;
    if (s_.TraceMode != 1) {
        s_.WaitStart = 0;
        return;
    }
    ComputerMoveNow();
}

void Game::ComputerMoveNow() {
    if (!computer_ || s_.Turn < 1 || s_.Turn > 4) return;
    {
        EngineEntry entry(*this);
        computer_->SelectCard(s_.Turn, s_.TrickPosition);
    }
    RunPendingRestart();
}

} // namespace zarv
