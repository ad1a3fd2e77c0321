// The messages of a session's connections: the bytes of each cut into
// messages and handed on one at a time in order of arrival, the messages kept
// until a wait of the game asks for them, and what was last written to each.
// The Dealer's and the client's sessions share it.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "engine/interfaces.h"
#include "net/framing.h"
#include "net/message_queue.h"
#include "net/transport.h"

namespace zarv::net {

class MessageChannel {
public:
    // Each message, in order; a connection that sent too much without "|".
    using MessageHandler = std::function<void(int source, Piece piece)>;
    using OverflowHandler = std::function<void(int source)>;

    MessageChannel(Transport& transport, EventPump& pump, MessageHandler onMessage, OverflowHandler onOverflow);

    Transport& transport() { return transport_; }
    const Transport& transport() const { return transport_; }
    EventPump& pump() { return pump_; }
    MessageQueue& queue() { return queue_; }
    const MessageQueue& queue() const { return queue_; }

    // Bytes from a connection. A handler that lets events run (a balloon)
    // leaves what arrives meanwhile for the loop already delivering.
    void Feed(int index, std::string_view bytes);
    // Writes a whole message, if the connection is open.
    void Send(int index, const std::string& text);
    double lastSent(int index) const;
    // Open, or closed right after messages that are not read yet: the
    // Dealer's last card, a player's last move.
    bool IsConnected(int index) const;
    // A wait found nothing more on the closed connection: its last words are read.
    void MarkDrained(int index) { links_[index].drained = true; }
    // A connection's leftovers are forgotten (closed for good, or replaced).
    void Forget(int index);

private:
    struct Link {
        Framer framer;
        bool drained = false;
        double lastSent = 0;
    };
    struct Arrival {
        int source;
        Piece piece;
    };

    Transport& transport_;
    EventPump& pump_;
    MessageHandler onMessage_;
    OverflowHandler onOverflow_;
    MessageQueue queue_;
    std::map<int, Link> links_;
    std::deque<Arrival> arrivals_;  // cut from the bytes, not yet handled
    bool delivering_ = false;
};

} // namespace zarv::net
