// The Dealer's end of a network game: the lobby where players take seats,
// the game's messages from the seated players (checked against the rules),
// chat passed on to the others, and players who come back to their seats.
#pragma once

#include <array>
#include <deque>
#include <map>
#include <optional>
#include <string>

#include "net/session.h"

namespace zarv::net {

class DealerSession : public NetworkSession {
public:
    // A connection that has not asked for a seat after this long is closed.
    static constexpr double kConnectTimeout = 30.0;

    DealerSession(Transport& transport, EventPump& pump) : NetworkSession(transport, pump) {}

    Role role() const override { return Role::Dealer; }
    // A game is being played (the lobby is over).
    bool gameRunning() const { return !accepting_; }
    // The game begins, nobody else may join (the Dealer still listens for
    // players who come back to their seats).
    void StopAccepting();
    bool accepting() const { return accepting_; }
    // The player on this connection chose the seat (1, 2 or 4); its "Connect"
    // gets that seat when it is free.
    void PreferSeat(int index, int seat);
    // A text for every seated program of ours (never for one of the original protocol).
    void SendToOurs(const std::string& text);
    // The connection is a program of ours (it acknowledged its seat).
    bool IsOurs(int index) const;
    // Players back at the door, not seated yet.
    size_t pendingReturns() const { return returns_.size(); }
    // Seats given in this run.
    int seatedCount() const { return seated_; }
    void SendChat(const std::string& text) override;
    // Closes connections that never asked for a seat in time and sends the
    // heartbeat to our clients; returns when it should be called next.
    double Housekeep() override;

    // Network
    bool IsConnected(int index) const override;
    void CloseAll() override;
    void AwaitingSeat(int seat, double secondsLeft) override;
    std::optional<ReturningPlayer> TakeReturn() override;
    void WelcomeBack(const ReturningPlayer& player, const TableSnapshot& table, const std::string& name) override;
    void GameStarting() override;

    // TransportEvents
    void OnAccepted(int index) override;
    void OnConnected() override {}
    void OnConnectFailed(const std::string&) override {}
    void OnClosed(int index) override;

private:
    struct Player {
        double acceptedAt = 0;
        bool askedForSeat = false;
        int seat = 0;           // the seat given on it (its Tag)
        int preferredSeat = 0;  // the seat its player chose before asking
        // One of our own programs: it may hear what goes beyond the original protocol.
        bool ours = false;
        // A new game began: what it sends before acknowledging the new deal
        // belongs to the old game.
        bool stale = false;
    };

    void Arrive(int source, Piece piece) override;
    void HandleQueued(const QueuedMessage& m) override;
    // A player that sent what the protocol does not allow loses its
    // connection (its seat goes to the computer).
    void Reject(int source, const std::string& what) override;
    void HandleConnect(int source, const std::string& detail);
    void HandleClientTrump(const QueuedMessage& m);
    void HandleClientMove(const QueuedMessage& m);
    void HandleChat(int source, const std::string& detail);
    void Refuse(int index);
    void HandleHello(int source);
    void HandleReturn(int source, const std::string& detail);
    void RefuseReturn(int source, const std::string& why);
    void LeaveLobby(int index);
    void TellOthersOfNewcomer(int source, const std::string& name, int seat);
    void SendRoster(int index);
    void SendWaiting(int index);

    std::map<int, Player> players_;
    bool accepting_ = true;
    int seated_ = 0;
    // Each seat's return token, the players back and not seated yet, and the
    // seat being waited for (with its deadline; 0: none).
    std::array<std::string, 5> tokens_;
    std::deque<ReturningPlayer> returns_;
    int awaitedSeat_ = 0;
    double awaitedUntil_ = 0;
};

} // namespace zarv::net
