// The table's set-up as the window and the network change it: names, seats,
// roles, and what a client hears of the Dealer's hand.
#include "engine/game.h"

namespace zarv {

namespace {
bool IsSeat(int seat) { return seat >= 1 && seat <= 4; }
} // namespace

void Game::FreeSeat(int seat) {
    if (!IsSeat(seat) || seat == s_.LocalSeat) return;
    // The next game gives the seat its usual computer player and name.
    s_.Seats[seat] = s_.Seats[0];
}

void Game::SetSpeed(int speed) {
    s_.TurnDelay = TurnDelayForSpeed(speed);
    s_.StepCount = StepCountForSpeed(speed);
}

void Game::SetLocalSeat(int seat) {
    if (IsSeat(seat)) s_.LocalSeat = seat;
}

void Game::BecomeOwnDealer() {
    s_.IsDealer = true;
    s_.LocalSeat = 3;
    for (int seat = 1; seat <= 4; ++seat) s_.Seats[seat] = s_.Seats[0];
}

void Game::SetSeat(int seat, const std::string& name, SeatKind kind) {
    if (!IsSeat(seat)) return;
    s_.Seats[seat].Name = name;
    s_.Seats[seat].Kind = kind;
}

void Game::SeatComputerPlayers() {
    for (int seat = 1; seat <= 4; ++seat) SetSeat(seat, ComputerName(seat), SeatKind::Computer);
}

void Game::SetSeatKind(int seat, SeatKind kind) {
    if (!IsSeat(seat)) return;
    s_.Seats[seat].Kind = kind;
    // A seat the computer plays is waited for no more.
    if (kind != SeatKind::Human && s_.WaitingForSeat == seat) ClearRemoteWait();
}

void Game::GiveSeat(int seat, const std::string& name, int connection) {
    if (!IsSeat(seat)) return;
    SetSeat(seat, name, SeatKind::Human);
    s_.Seats[seat].Socket = connection;
}

void Game::TakeMasterPlayer(int seat) {
    if (IsSeat(seat)) s_.MasterPlayer = seat;
}

void Game::TakeTrump(Suit trump) { s_.Trump = trump; }

void Game::ClearTurn() {
    s_.HumanMayPlay = false;
    s_.Turn = 0;
    s_.WaitingForSeat = 0;
    s_.WaitingDeadline = 0;
    SetGiveUpFlag(GiveUpFlag::Hidden);
}

} // namespace zarv
