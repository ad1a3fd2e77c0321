// The received messages that wait until the engine asks for them, in order
// of arrival, and the scan that finds the first one a wait asks for.
#pragma once

#include <deque>
#include <string>

namespace zarv::net {

struct QueuedMessage {
    int Source = 0;  // the connection it came in on
    std::string Command;
    std::string Detail;
};

class MessageQueue {
public:
    // A connection may have at most this many messages waiting; more is a
    // flood, not a game.
    static constexpr size_t kMaxPerConnection = 256;

    // Appends; false (nothing kept) when the connection has too many waiting.
    bool Add(QueuedMessage message);
    // Takes out the first message from source named command whose detail
    // equals detail, or any detail when detail is "".
    bool Take(int source, const std::string& command, const std::string& detail, QueuedMessage& out);
    // Forgets what a closed connection left behind.
    void DropFrom(int source);
    // Whether a message from source named marker comes before the first one
    // named command (with that detail, or any when detail is "").
    bool MarkerFirst(int source, const std::string& marker, const std::string& command, const std::string& detail) const;
    // Forgets what source sent up to and including its first message named
    // marker; false (nothing forgotten) when there is none.
    bool DropThrough(int source, const std::string& marker);
    size_t size() const { return entries_.size(); }
    size_t CountFrom(int source) const;

private:
    std::deque<QueuedMessage> entries_;
};

} // namespace zarv::net
