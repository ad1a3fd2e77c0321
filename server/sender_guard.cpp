#include "server/sender_guard.h"

#include <algorithm>

namespace zarv::server {

void SenderGuard::Forget(std::deque<double>& times, double now) {
    while (!times.empty() && times.front() <= now - kChatWindow) times.pop_front();
}

SenderGuard::Verdict SenderGuard::CloseFor(const char* why) {
    why_ = why;
    return Verdict::Close;
}

SenderGuard::Verdict SenderGuard::Chat(double now) {
    Forget(chats_, now);
    Forget(refused_, now);
    if (static_cast<int>(chats_.size()) < kChatLines) {
        chats_.push_back(now);
        return Verdict::Pass;
    }
    refused_.push_back(now);
    return static_cast<int>(refused_.size()) > kRefusedBeforeClose ? CloseFor("chat") : Verdict::Refuse;
}

SenderGuard::Verdict SenderGuard::Message(double now) {
    // A bucket that fills at the rate allowed, up to the burst.
    if (filledAt_ >= 0) tokens_ = std::min(kMessageBurst, tokens_ + (now - filledAt_) * kMessagesPerSecond);
    filledAt_ = now;
    if (tokens_ < 1) return CloseFor("flood");
    tokens_ -= 1;
    return Verdict::Pass;
}

SenderGuard::Verdict SenderGuard::Junk(double now) {
    Forget(junk_, now);
    junk_.push_back(now);
    return static_cast<int>(junk_.size()) > kJunkBeforeClose ? CloseFor("junk") : Verdict::Pass;
}

} // namespace zarv::server
