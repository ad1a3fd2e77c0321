// Network play over a transport, as the engine's Network: what both ends of a
// game share (the message channel, the wait for a message, chat, the reports
// to the people at this machine). The Dealer's end is DealerSession, the
// client's ClientSession; each game builds its own. Plain C++; the window and
// zarv-sim give it a transport (Qt's sockets, or connections inside one process).
#pragma once

#include <array>
#include <string>

#include "engine/game.h"
#include "engine/interfaces.h"
#include "net/message_channel.h"
#include "net/notice.h"
#include "net/transport.h"

namespace zarv::net {

// What the people at this machine are told: the players list and status of the
// network dialog, the chat balloons, a tool's output. Each does nothing unless
// overridden.
class SessionListener {
public:
    virtual ~SessionListener() = default;
    // The Dealer: a player got a seat on that connection, on the side
    // ("Partner" or "Against") the players list shows.
    virtual void PlayerJoined(int /*connection*/, int /*seat*/, const std::string& /*name*/, const std::string& /*side*/) {}
    // A client: the Dealer's answer to joining; seat 3 is a refusal.
    virtual void Seated(int /*seat*/, const std::string& /*text*/) {}
    // A client: another player joined after this one, on that side as seen from here.
    virtual void PlayerAnnounced(const std::string& /*name*/, const std::string& /*side*/) {}
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
    // The Dealer: a connection was refused a seat, for that reason.
    virtual void JoinRefused(int /*connection*/, const std::string& /*why*/) {}
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
    // A client of ours: the Dealer (or the table server) closes the table, and says why.
    virtual void TableClosing(const NoticeText& /*why*/) {}
};

class NetworkSession : public Network, public TransportEvents {
public:
    enum class Role { Dealer, Client };

    ~NetworkSession() override;
    NetworkSession(const NetworkSession&) = delete;
    NetworkSession& operator=(const NetworkSession&) = delete;

    virtual Role role() const = 0;
    // The game whose state the messages act on (set before any traffic).
    void Attach(Game& game) { game_ = &game; }
    void SetListener(SessionListener* listener) { listener_ = listener; }
    // Sends a chat line as this machine's seat ("Chat;seat;text|").
    virtual void SendChat(const std::string& text) = 0;
    // Writes a text as it stands (a whole message, "...|").
    void SendText(int index, const std::string& text) { channel_.Send(index, text); }
    // The connection itself is open (IsConnected also counts a closed one
    // whose last messages are not read yet).
    bool LinkOpen(int index) const { return channel_.transport().IsConnected(index); }
    size_t queuedMessages() const { return channel_.queue().size(); }
    // One of its reports or waits is on the stack: it must live on until they return.
    bool busy() const { return depth_ > 0; }

    // Network (the engine's view)
    int ElementCount() const override { return channel_.transport().ElementCount(); }
    bool IsConnected(int index) const override { return channel_.IsConnected(index); }
    void Send(int index, const TableMessage& message) override;
    bool HandleMessage(int source, const TableMessage& awaited) override;
    void Drop(int index) override;

    // TransportEvents
    void OnData(int index, std::string_view bytes) override;

protected:
    NetworkSession(Transport& transport, EventPump& pump);

    // One message as it arrives, and one taken out of the queue by a wait.
    virtual void Arrive(int source, Piece piece) = 0;
    virtual void HandleQueued(const QueuedMessage& m) = 0;
    // A message that fails the checks.
    virtual void Reject(int source, const std::string& what) = 0;
    // Before a wait looks at the queue; false: the wait ends without a message.
    virtual bool MayWait(int /*source*/, const std::string& /*command*/, const std::string& /*detail*/) { return true; }
    // Bytes came in on that connection (before they are handled).
    virtual void Heard(int /*index*/) {}

    const GameState& state() const { return game_->state(); }
    SessionListener& tell() { return listener_ ? *listener_ : quiet_; }
    Transport& transport() { return channel_.transport(); }
    EventPump& pump() { return channel_.pump(); }
    // Keeps a session alive while one of its calls is under way.
    struct Call {
        explicit Call(int& depth) : depth_(++depth) {}
        ~Call() { --depth_; }
        int& depth_;
    };

    MessageChannel channel_;
    Game* game_ = nullptr;
    int depth_ = 0;

private:
    SessionListener* listener_ = nullptr;
    SessionListener quiet_;
};

} // namespace zarv::net
