// Network play over a transport: the received-message queue, the handling of
// every message on the Dealer and on a client, and the engine's Network
// interface on top of them. Plain C++; the window and zarv-sim give it a
// transport (Qt's sockets, or connections inside one process).
#pragma once

#include <deque>
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
};

class NetworkSession : public Network, public TransportEvents {
public:
    enum class Role { Dealer, Client };
    // A connection that has not asked for a seat after this long is closed.
    static constexpr double kConnectTimeout = 30.0;

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
    // The Dealer: the game begins, nobody else may join.
    void StopAccepting();
    bool accepting() const { return accepting_; }
    // Sends a chat line as this machine's seat ("Chat;seat;text|").
    void SendChat(const std::string& text);
    // Closes connections that never asked for a seat in time. Returns when
    // it should be called next (kForever when nothing is pending).
    double Housekeep();
    // Seats given in this run; messages kept for the engine.
    int seatedCount() const { return seated_; }
    size_t queuedMessages() const { return queue_.size(); }

    // Network (the engine's view)
    int ElementCount() const override;
    bool IsConnected(int index) const override;
    void Send(int index, const std::string& text) override;
    void CloseAll() override;
    bool HandleMessage(int source, const std::string& command, const std::string& detail) override;

    // TransportEvents
    void OnAccepted(int index) override;
    void OnConnected() override;
    void OnConnectFailed(const std::string& why) override;
    void OnData(int index, std::string_view bytes) override;
    void OnClosed(int index) override;

private:
    struct Connection {
        Framer framer;
        double acceptedAt = 0;
        bool askedForSeat = false;
        int seat = 0;  // the Dealer: the seat given on it (its Tag)
        // Closed, and a wait on it found nothing more: its last words are read.
        bool drained = false;
    };
    struct Arrival {
        int source;
        Piece piece;
    };

    GameState& state() { return game_->state(); }
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
    // Client
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

    SessionListener& tell() { return listener_ ? *listener_ : quiet_; }
};

} // namespace zarv::net
