// What one connection may ask of its table, so that one person cannot spoil
// a table or the server for the others: a few chat lines in a short time, no
// pieces that no table takes, and no more messages than any game needs.
// Plain C++, on the socket thread; times in seconds.
#pragma once

#include <deque>
#include <string>

namespace zarv::server {

class SenderGuard {
public:
    enum class Verdict { Pass, Refuse, Close };

    static constexpr int kChatLines = 5;         // lines a connection may chat...
    static constexpr double kChatWindow = 10;    // ...in so many seconds
    static constexpr int kRefusedBeforeClose = 10;  // lines refused in a window before the connection goes
    static constexpr int kJunkBeforeClose = 20;  // pieces no table takes, in a window
    // Messages of any kind: the fastest table (no pauses, no thinking) hears
    // about a thousand a second from each player; a sender far past that
    // floods.
    static constexpr double kMessagesPerSecond = 5000;
    static constexpr double kMessageBurst = 10000;

    // A chat line: passes, is refused ("slow down"), or the connection goes.
    Verdict Chat(double now);
    // Any message for the table, a chat line included.
    Verdict Message(double now);
    // A piece that no table takes from a client (not delivered).
    Verdict Junk(double now);
    // Why the connection is to be closed, for the log: "chat", "junk" or "flood".
    const std::string& why() const { return why_; }

private:
    // Forgets what is older than the window.
    static void Forget(std::deque<double>& times, double now);
    Verdict CloseFor(const char* why);

    std::deque<double> chats_, refused_, junk_;
    double tokens_ = kMessageBurst;
    double filledAt_ = -1;
    std::string why_;
};

} // namespace zarv::server
