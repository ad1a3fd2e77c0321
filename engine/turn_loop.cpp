// The loop that drives play from turn to turn, the pause, the wait for a
// network message, and the handling of players whose connection is lost.
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
        if (s_.PointsA >= 7 || s_.PointsB >= 7 || s_.StopRequested || s_.TraceMode != 0) break;
        const int seat = s_.Turn;
        services_.view.ShowTurn();
        // No seat to move, or the local player's move: it comes as an event.
        bool localMove = seat < 1 || seat > 4;
        if (!localMove) {
            const SeatRecord& rec = s_.Seats[seat];
            if (s_.IsDealer) {
                if (rec.Kind != SeatKind::Human) {
                    ComputerMove(seat);
                } else if (seat != s_.LocalSeat) {
                    if (rec.Socket > 0 && net.IsConnected(rec.Socket))
                        WaitForMessage(rec.Socket, "IMove" + std::to_string(seat), "", seat);
                } else if (localAutoplay_) {
                    ComputerMove(seat);
                } else {
                    s_.HumanMayPlay = true;
                    localMove = true;
                }
            } else {
                if (rec.Kind != SeatKind::Human || seat != s_.LocalSeat) {
                    if (rec.Kind == SeatKind::Human || net.IsConnected(0))
                        WaitForMessage(0, "IMove" + std::to_string(seat), "");
                } else if (localAutoplay_) {
                    ComputerMove(seat);
                } else {
                    s_.HumanMayPlay = true;
                    localMove = true;
                }
            }
        }

        // The flag shows only while giving up would do something.
        if (s_.GiveUpState < 1 && GiveUpPossible())
            SetGiveUpState(1);
        else if (s_.GiveUpState > 0 && !GiveUpPossible())
            SetGiveUpState(0);
        // Once the game is over nobody's connection matters any more.
        if (!s_.StopRequested && s_.PointsA < 7 && s_.PointsB < 7) CheckConnections();
        betweenTurns([&] {
            if (localMove && !s_.StopRequested && pending_.empty()) {
                services_.view.ShowTurn();
                // Sleep until an event arrives instead of passing every few milliseconds.
                services_.pump.WaitForEvents(kForever);
            } else {
                Pause(s_.TurnDelay);
            }
        });
    }
    services_.view.EnableMenu(MenuItem::PlayerName, true);
}

void Game::Pause(double seconds) {
    EventPump& pump = services_.pump;
    if (s_.TraceMode == 1) {
        seconds = 0;
        pump.ProcessEvents();
    }
    s_.WaitStart = pump.Now();
    pump.ProcessEvents();
    // Space sets WaitStart to 0, which ends the pause at once.
    while (s_.WaitStart != 0 && !s_.StopRequested) {
        const double deadline = s_.WaitStart + seconds;
        if (pump.Now() >= deadline) break;
        pump.WaitForEvents(deadline);
    }
}

void Game::WaitForMessage(int source, const std::string& command, const std::string& detail,
                          int seatThatMayBeLost) {
    EngineEntry entry(*this);
    s_.ExpectedMessage = command;
    s_.AwaitingMessage = true;
    Network& net = services_.network;
    // A message may already be queued: look first, then sleep until the next event.
    while (true) {
        if (net.HandleMessage(source, command, detail) || s_.StopRequested) break;
        // A remote seat handed to the computer needs no message any more, and
        // a lost connection sends none (an acknowledgement never comes).
        if (seatThatMayBeLost > 0 && s_.Seats[seatThatMayBeLost].Kind != SeatKind::Human) break;
        if (!net.IsConnected(source)) break;
        services_.pump.WaitForEvents(kForever);
    }
    s_.AwaitingMessage = false;
}

bool Game::HasConnectedClient() const {
    for (int i = 1; i < services_.network.ElementCount(); ++i)
        if (services_.network.IsConnected(i)) return true;
    return false;
}

void Game::SendToEveryClient(const std::string& text, int except, bool letEventsRun) {
    Network& net = services_.network;
    for (int i = 1; i < net.ElementCount(); ++i) {
        if (i == except || !services_.network.IsConnected(i)) continue;
        net.Send(i, text);
        if (letEventsRun) services_.pump.ProcessEvents();
    }
}

void Game::CheckConnections() {
    Network& net = services_.network;
    if (!s_.IsDealer) {
        if (!net.IsConnected(0)) {
            SayMsg(0, " You are disconnected, game is over.");
            s_.StopRequested = true;
        }
        return;
    }
    for (int seat = 1; seat <= 4; ++seat) {
        SeatRecord& rec = s_.Seats[seat];
        const int k = rec.Socket;
        if (k < 1 || k >= net.ElementCount() || net.IsConnected(k)) continue;
        rec.Socket = 0;
        rec.Kind = SeatKind::Computer;
        if (observer_) observer_->PlayerLost(seat);
        const std::string digit = std::to_string(seat);
        if (seat == s_.MasterPlayer && s_.MasterCard == kNoSuit) {
            const std::string text = rec.Name + " disconnected, Game is over.";
            SendToEveryClient("Disconnected;" + digit + ";" + text + "|");
            SayMsg(0, text);
            s_.StopRequested = true;
        } else {
            const std::string text = rec.Name + " disconnected, A Computer Player Replaced by him/her.";
            SendToEveryClient("Disconnected;" + digit + ";" + text + "|");
            SayMsg(0, text);
            services_.view.RefreshPage();
        }
    }
}

} // namespace zarv
