// The loop that drives play from turn to turn, the pause, the wait for a
// network message, and the handling of players whose connection is lost.
#include <algorithm>

#include "engine/entry.h"
#include "engine/game.h"

namespace zarv {

void Game::TurnLoop() {
    EngineEntry entry(*this);
    // One loop at a time: a loop asked for while one runs is that loop.
    if (turnLoopDepth_ >= 0) return;
    struct LoopMark {
        Game& g;
        ~LoopMark() {
            g.turnLoopDepth_ = -1;
            g.betweenTurns_ = false;
        }
    } mark{*this};
    turnLoopDepth_ = entryDepth_;
    dealing_ = false;
    s_.ComputerMoving = false;
    Network& net = services_.network;
    auto betweenTurns = [&](auto&& wait) {
        betweenTurns_ = true;
        wait();
        betweenTurns_ = false;
    };
    while (true) {
        // Between two turns: carry out what the person asked for meanwhile.
        betweenTurns([&] { RunPendingCommands(); });
        if (s_.PointsA >= 7 || s_.PointsB >= 7 || s_.StopRequested || s_.Tracing) break;
        // The table is settled: players who came back get their seats now.
        SeatReturningPlayers();
        const int seat = s_.Turn;
        services_.view.ShowTurn();
        // No seat to move, or the local player's move: it comes as an event.
        const bool localMove = seat < 1 || seat > 4 || TakeTurn(seat);
        // The flag shows only while giving up would do something.
        if (s_.GiveUp == GiveUpFlag::Hidden && GiveUpPossible())
            SetGiveUpFlag(GiveUpFlag::Shown);
        else if (s_.GiveUp != GiveUpFlag::Hidden && !GiveUpPossible())
            SetGiveUpFlag(GiveUpFlag::Hidden);
        // Once the game is over nobody's connection matters any more.
        if (!s_.StopRequested && s_.PointsA < 7 && s_.PointsB < 7) CheckConnections();
        betweenTurns([&] {
            if (localMove && !s_.StopRequested && pending_.empty()) {
                services_.view.ShowTurn();
                // Sleep until an event arrives instead of passing every few
                // milliseconds (or the connections have work that is due).
                localWaitDepth_ = entryDepth_;
                services_.pump.WaitForEvents(net.Housekeep());
                localWaitDepth_ = -1;
            } else {
                Pause(s_.TurnDelay);
            }
        });
    }
    services_.view.EnableMenu(MenuItem::PlayerName, true);
}

bool Game::TakeTurn(int seat) {
    Network& net = services_.network;
    const SeatRecord& rec = s_.Seats[seat];
    const bool remote = s_.IsDealer ? rec.Kind == SeatKind::Human && seat != s_.LocalSeat
                                    : rec.Kind != SeatKind::Human || seat != s_.LocalSeat;
    if (s_.IsDealer && rec.Kind != SeatKind::Human) {
        ComputerMove(seat);
    } else if (remote && s_.IsDealer) {
        if (rec.Socket > 0 && net.IsConnected(rec.Socket)) WaitForMessage(rec.Socket, TableMessage::Move(seat), seat, true);
    } else if (remote) {
        if (rec.Kind == SeatKind::Human || net.IsConnected(0)) WaitForMessage(0, TableMessage::Move(seat));
    } else if (localAutoplay_) {
        ComputerMove(seat);
    } else {
        KeepUndoPoint();
        s_.HumanMayPlay = true;
        return true;
    }
    return false;
}

void Game::Pause(double seconds) {
    EventPump& pump = services_.pump;
    // The table shows what it waits for (perhaps nothing: a trick settling).
    if (!instant_) services_.view.ShowTurn();
    if (s_.Tracing) {
        seconds = 0;
        pump.ProcessEvents();
    }
    if (instant_) return;
    s_.WaitStart = pump.Now();
    pump.ProcessEvents();
    // Space sets WaitStart to 0, which ends the pause at once.
    while (s_.WaitStart != 0 && !s_.StopRequested) {
        const double deadline = s_.WaitStart + seconds;
        if (pump.Now() >= deadline) break;
        pump.WaitForEvents(deadline);
    }
}

void Game::WaitForMessage(int source, const TableMessage& awaited, int seatThatMayBeLost, bool limited) {
    EngineEntry entry(*this);
    Network& net = services_.network;
    EventPump& pump = services_.pump;
    // Only the Dealer keeps a limit: it alone can hand a seat to the computer.
    const double limit = limited && s_.IsDealer ? moveLimit_ : 0;
    const double deadline = limit > 0 ? pump.Now() + limit : kForever;
    int seat = seatThatMayBeLost;
    for (int k = 1; k <= 4 && seat == 0 && limited; ++k)
        if (s_.Seats[k].Socket == source && s_.Seats[k].Kind == SeatKind::Human) seat = k;
    const bool decision = limited && s_.IsDealer && seatThatMayBeLost > 0;
    if (decision) {
        s_.WaitingForSeat = seat;
        s_.WaitingDeadline = limit > 0 ? deadline : 0;
        net.AwaitingSeat(seat, limit);
        services_.view.ShowTurn();
    }
    takeOver_ = false;
    // A message may already be queued: look first, then sleep until the next event.
    while (true) {
        if (net.HandleMessage(source, awaited) || s_.StopRequested) break;
        // A remote seat handed to the computer needs no message any more, and
        // a lost connection sends none (an acknowledgement never comes).
        if (seatThatMayBeLost > 0 && s_.Seats[seatThatMayBeLost].Kind != SeatKind::Human) break;
        if (!net.IsConnected(source)) break;
        // Waiting for a move, the table is settled: a player who came back
        // may sit down (if it is this seat's player, the wait goes on with
        // the new connection).
        if (decision) {
            SeatReturningPlayers();
            if (s_.Seats[seatThatMayBeLost].Socket != source) break;
        }
        if ((limited && pump.Now() >= deadline) || (decision && takeOver_)) {
            // Silent past the limit: treated as lost, so that a late answer can
            // never become a second card for this turn.
            if (observer_ && seat > 0) observer_->SeatSilent(seat, takeOver_ ? 0 : limit);
            net.Drop(source);
            CheckConnections();
            break;
        }
        // Housekeeping may find the peer gone (a silent Dealer is left): look again first.
        const double next = std::min(deadline, net.Housekeep());
        if (s_.StopRequested || !net.IsConnected(source)) continue;
        pump.WaitForMessage(next);
    }
    takeOver_ = false;
    if (decision) {
        ClearRemoteWait();
        net.AwaitingSeat(0, 0);
    }
}

void Game::ClearRemoteWait() {
    if (s_.WaitingForSeat == 0) return;
    s_.WaitingForSeat = 0;
    s_.WaitingDeadline = 0;
    services_.view.ShowTurn();
}

void Game::ShowRemoteWait(int seat, double secondsLeft) {
    if (s_.IsDealer) return;
    s_.WaitingForSeat = seat >= 1 && seat <= 4 ? seat : 0;
    s_.WaitingDeadline = s_.WaitingForSeat && secondsLeft > 0 ? services_.pump.Now() + secondsLeft : 0;
    services_.view.ShowTurn();
}

void Game::SeatReturningPlayers() {
    // Settled means a hand in play: dealt, with its trump named.
    if (!s_.IsDealer || !s_.GameStarted || s_.Trump == kNoSuit) return;
    Network& net = services_.network;
    while (const auto back = net.TakeReturn()) {
        if (back->seat < 1 || back->seat > 4 || back->seat == s_.LocalSeat) continue;
        SeatRecord& rec = s_.Seats[back->seat];
        // The player's old connection may still look open (a network that
        // went away without a word): it is closed, and what it sent forgotten.
        if (rec.Socket > 0 && rec.Socket != back->connection) net.Drop(rec.Socket);
        rec.Kind = SeatKind::Human;
        rec.Socket = back->connection;
        net.WelcomeBack(*back, Snapshot(back->seat), rec.Name);
        if (observer_) observer_->PlayerReturned(back->seat);
        services_.view.RefreshPage();
        services_.view.ShowTurn();
        Announce(TableEvent::About(TableEvent::Kind::PlayerBack, back->seat, rec.Name));
    }
}

bool Game::HasConnectedClient() const {
    for (int i = 1; i < services_.network.ElementCount(); ++i)
        if (services_.network.IsConnected(i)) return true;
    return false;
}

void Game::SendToEveryClient(const TableMessage& message, int except, bool letEventsRun) {
    Network& net = services_.network;
    for (int i = 1; i < net.ElementCount(); ++i) {
        if (i == except || !services_.network.IsConnected(i)) continue;
        net.Send(i, message);
        if (letEventsRun) services_.pump.ProcessEvents();
    }
}

void Game::CheckConnections() {
    Network& net = services_.network;
    if (!s_.IsDealer) {
        if (!net.IsConnected(0)) {
            // Our own Dealer keeps the seat for a player who comes back.
            Announce(TableEvent::Just(net.CanReturn() ? TableEvent::Kind::Reconnecting : TableEvent::Kind::Disconnected));
            s_.StopRequested = true;
        }
        return;
    }
    for (int seat = 1; seat <= 4; ++seat) {
        SeatRecord& rec = s_.Seats[seat];
        const int k = rec.Socket;
        if (k < 1 || k >= net.ElementCount() || net.IsConnected(k)) continue;
        rec.Socket = 0;
        SetSeatKind(seat, SeatKind::Computer);
        if (observer_) observer_->PlayerLost(seat);
        // Even a master lost before naming the trump is replaced: the computer
        // names it, and the game goes on for the others.
        SendToEveryClient(TableMessage::Of(TableMessage::Kind::SeatReplaced, seat));
        // The table shows the computer's seat before the news is told: the
        // plate, the turn and the status change together.
        services_.view.RefreshPage();
        Announce(TableEvent::About(TableEvent::Kind::SeatReplaced, seat, rec.Name));
    }
}

} // namespace zarv
