// Network play over a transport: the received-message queue, the handling of
// every message on the Dealer and on a client, and the engine's Network
// interface on top of them. Plain C++; the window and zarv-sim give it a
// transport (Qt's sockets, or connections inside one process).
#pragma once

#include <array>
#include <deque>
#include <optional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/game.h"
#include "engine/interfaces.h"
#include "net/framing.h"
#include "net/message_queue.h"
#include "net/transport.h"

namespace zarv::net {

// What the people at this machine are told: the players list and status of the
// network dialog, the chat balloons, a tool's output. Each does nothing unless
// overridden.
class SessionListener {
public:
    virtual ~SessionListener() = default;
    // The Dealer: a player got a seat ("name joined.  (Partner)"), on that connection.
    virtual void PlayerJoined(int /*connection*/, int /*seat*/, const std::string& /*line*/) {}
    // A client: the Dealer's answer to joining; seat 3 is a refusal.
    virtual void Seated(int /*seat*/, const std::string& /*text*/) {}
    // A client: another player joined after this one ("name joined.  (Against)").
    virtual void PlayerAnnounced(const std::string& /*line*/) {}
    // A client: the Dealer starts the game (the seats are set).
    virtual void StartReceived() {}
    virtual void ChatReceived(int /*seat*/, const std::string& /*text*/) {}
    // A client was told that a seat's player is gone.
    virtual void PlayerLost(int /*seat*/, const std::string& /*text*/) {}
    // A message that fails the checks: on a client the game ends; on the
    // Dealer the sender's connection is closed.
    virtual void BadMessage(const std::string& /*what*/) {}
    virtual void ConnectFailed(const std::string& /*why*/) {}
    virtual void Connected() {}
    virtual void ConnectionClosed(int /*index*/) {}

    // The Dealer: a seated player left the lobby; the seat is free again.
    virtual void PlayerLeft(int /*connection*/, int /*seat*/, const std::string& /*name*/) {}
    // The Dealer: someone asked to join a game that has started (and was refused).
    virtual void LateJoinRefused(const std::string& /*name*/) {}
    // A client of our own Dealer: the seats as they stand in the lobby.
    virtual void RosterReceived(const std::array<std::string, 5>& /*names*/, const std::array<SeatKind, 5>& /*kinds*/) {}
    // The Dealer: a program of ours on that connection got seat's return token.
    virtual void TokenGiven(int /*connection*/, int /*seat*/, const std::string& /*token*/) {}
    // A client of a table server: so many people watch the table.
    virtual void WatchersCounted(int /*watchers*/) {}
    // A client: a player who had left is back ("Eve is back.").
    virtual void PlayerReturned(int /*seat*/, const std::string& /*text*/) {}
    // A returning client: the Dealer sent the table; TakeTable() has it.
    virtual void TableReceived() {}
    // A client of our own Dealer: nothing came from it for that long.
    virtual void DealerSilent(double /*seconds*/) {}
    // ... and then it spoke again.
    virtual void DealerHeard() {}
};

class NetworkSession : public Network, public TransportEvents {
public:
    enum class Role { Dealer, Client };
    // A connection that has not asked for a seat after this long is closed.
    static constexpr double kConnectTimeout = 30.0;
    // A client of our own Dealer that hears nothing for this long in a game
    // (the Dealer sends a heartbeat every kHeartbeat seconds) says so.
    static constexpr double kDealerSilence = 30.0;

    NetworkSession(Transport& transport, EventPump& pump, Role role);
    ~NetworkSession() override;
    NetworkSession(const NetworkSession&) = delete;
    NetworkSession& operator=(const NetworkSession&) = delete;

    // Forgets every connection and message and takes the role anew (the
    // transport is reset by its owner).
    void Reset(Role role);
    // The game whose state the messages act on (set before any traffic).
    void Attach(Game& game) { game_ = &game; }
    void SetListener(SessionListener* listener) { listener_ = listener; }
    Role role() const { return role_; }

    // A client: the name and side ("Partner" or "Against") it asks for on connecting.
    void SetJoinRequest(const std::string& name, const std::string& side);
    // A client: the next connection asks for its seat back with this token
    // (given by our own Dealer) instead of joining.
    void SetReturnRequest(const std::string& token);
    // A client: the Dealer is one of ours and gave this seat's return token.
    bool dealerIsOurs() const { return dealerIsOurs_; }
    const std::string& returnToken() const { return token_; }
    // A client of our own Dealer: it has been silent too long (DealerSilent was told).
    bool dealerSilent() const { return toldSilent_; }
    // A returning client: the table the Dealer sent, once.
    std::optional<TableSnapshot> TakeTable();
    // A client leaves the game on purpose: the connection closes and the
    // program does not come back.
    void Leave();
    // The Dealer: a game is being played (the lobby is over).
    bool gameRunning() const { return !accepting_; }
    // The Dealer: the game begins, nobody else may join (the Dealer still
    // listens for players who come back to their seats).
    void StopAccepting();
    bool accepting() const { return accepting_; }
    // The Dealer: the player on this connection chose the seat (1, 2 or 4);
    // its "Connect" gets that seat when it is free.
    void PreferSeat(int index, int seat);
    // The Dealer: a text for every seated program of ours (never for one of
    // the original protocol).
    void SendToOurs(const std::string& text);
    // The Dealer: the connection is a program of ours (it acknowledged its seat).
    bool IsOurs(int index) const;
    // Sends a chat line as this machine's seat ("Chat;seat;text|").
    void SendChat(const std::string& text);
    // Work that is due at a time: the Dealer closes connections that never
    // asked for a seat in time and sends its heartbeat to our clients; a
    // client of ours notices a silent Dealer. Returns when it should be called
    // next (kForever when nothing is pending).
    double Housekeep() override;
    // The connection itself is open (IsConnected also counts a closed one
    // whose last messages are not read yet).
    bool LinkOpen(int index) const { return transport_.IsConnected(index); }
    // A client that speaks only the original protocol (for tests of what
    // such a program receives): it never shows that it knows more.
    void SetSpeaksExtensions(bool on) { speaksExtensions_ = on; }
    // The Dealer: players back at the door, not seated yet.
    size_t pendingReturns() const { return returns_.size(); }
    // Seats given in this run; messages kept for the engine.
    int seatedCount() const { return seated_; }
    size_t queuedMessages() const { return queue_.size(); }

    // Network (the engine's view)
    int ElementCount() const override;
    bool IsConnected(int index) const override;
    void Send(int index, const TableMessage& message) override;
    void CloseAll() override;
    bool HandleMessage(int source, const TableMessage& awaited) override;
    // Writes a text as it stands (a whole message, "...|").
    void SendText(int index, const std::string& text);

    // TransportEvents
    void OnAccepted(int index) override;
    void OnConnected() override;
    void OnConnectFailed(const std::string& why) override;
    void OnData(int index, std::string_view bytes) override;
    void OnClosed(int index) override;

    // Network, beyond the original protocol
    void Drop(int index) override;
    void AwaitingSeat(int seat, double secondsLeft) override;
    std::optional<ReturningPlayer> TakeReturn() override;
    void WelcomeBack(const ReturningPlayer& player, const TableSnapshot& table, const std::string& name) override;
    void GameStarting() override;
    bool CanReturn() const override;

private:
    struct Connection {
        Framer framer;
        double acceptedAt = 0;
        bool askedForSeat = false;
        int seat = 0;  // the Dealer: the seat given on it (its Tag)
        int preferredSeat = 0;  // the Dealer: the seat its player chose before asking
        // Closed, and a wait on it found nothing more: its last words are read.
        bool drained = false;
        // One of our own programs: it may hear what goes beyond the original protocol.
        bool ours = false;
        double lastSent = 0;
        // A new game began: what it sends before acknowledging the new deal
        // belongs to the old game.
        bool stale = false;
    };
    struct Arrival {
        int source;
        Piece piece;
    };

    const GameState& state() const { return game_->state(); }
    void Deliver();
    void Arrive(int source, Piece piece);
    // The handling of one message: immediate ones on arrival, the others when
    // a wait takes them out of the queue.
    void HandleImmediate(int source, const Piece& piece);
    void HandleQueued(const QueuedMessage& m);
    // Dealer
    void HandleConnect(int source, const std::string& detail);
    void HandleClientTrump(const QueuedMessage& m);
    void HandleClientMove(const QueuedMessage& m);
    void HandleChat(int source, const std::string& detail);
    void Refuse(int index);
    // A client that sent what the protocol does not allow loses its connection
    // (its seat goes to the computer); a Dealer that did ends the client's game.
    void Reject(int source, const std::string& what);
    void HandleHello(int source);
    void HandleReturn(int source, const std::string& detail);
    void RefuseReturn(int source, const std::string& why);
    void LeaveLobby(int index);
    void SendRoster(int index);
    void SendWaiting(int index);
    double DealerHousekeep();
    // Client
    double ClientHousekeep();
    void HandleExtension(const Piece& piece);
    void HandleJoin(const std::string& detail);
    void HandleStart(const std::string& detail);
    void HandleDisconnected(const std::string& detail);

    Transport& transport_;
    EventPump& pump_;
    Role role_;
    Game* game_ = nullptr;
    SessionListener* listener_ = nullptr;
    SessionListener quiet_;
    MessageQueue queue_;
    std::map<int, Connection> connections_;
    std::deque<Arrival> arrivals_;  // cut from the bytes, not yet handled
    bool delivering_ = false;
    bool accepting_ = true;
    int seated_ = 0;
    std::string joinName_ = "Unknown";
    std::string joinSide_ = "Against";
    // The Dealer: each seat's return token, the players back and not seated
    // yet, and the seat being waited for (with its deadline; 0: none).
    std::array<std::string, 5> tokens_;
    std::deque<ReturningPlayer> returns_;
    int awaitedSeat_ = 0;
    double awaitedUntil_ = 0;
    // A client: what our own Dealer told it, and when it last heard anything.
    bool ackSent_ = false;
    bool speaksExtensions_ = true;
    bool dealerIsOurs_ = false;
    std::string token_;
    std::string returnToken_;
    std::optional<TableSnapshot> table_;
    bool inGame_ = false;
    bool left_ = false;
    double lastHeard_ = 0;
    bool toldSilent_ = false;

    SessionListener& tell() { return listener_ ? *listener_ : quiet_; }
};

} // namespace zarv::net
