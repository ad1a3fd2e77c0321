#include "net/message_channel.h"

#include <utility>

namespace zarv::net {

MessageChannel::MessageChannel(Transport& transport, EventPump& pump, MessageHandler onMessage,
                               OverflowHandler onOverflow)
    : transport_(transport), pump_(pump), onMessage_(std::move(onMessage)), onOverflow_(std::move(onOverflow)) {}

void MessageChannel::Feed(int index, std::string_view bytes) {
    Link& link = links_[index];
    for (Piece& piece : link.framer.Feed(bytes)) arrivals_.push_back({index, std::move(piece)});
    if (link.framer.overflowed() && transport_.IsConnected(index)) onOverflow_(index);
    if (delivering_) return;
    delivering_ = true;
    while (!arrivals_.empty()) {
        Arrival a = std::move(arrivals_.front());
        arrivals_.pop_front();
        onMessage_(a.source, std::move(a.piece));
    }
    delivering_ = false;
}

void MessageChannel::Send(int index, const std::string& text) {
    if (!transport_.IsConnected(index)) return;
    transport_.Send(index, text);
    links_[index].lastSent = pump_.Now();
}

double MessageChannel::lastSent(int index) const {
    const auto it = links_.find(index);
    return it == links_.end() ? 0 : it->second.lastSent;
}

bool MessageChannel::IsConnected(int index) const {
    if (transport_.IsConnected(index)) return true;
    const auto it = links_.find(index);
    return it != links_.end() && !it->second.drained && queue_.CountFrom(index) > 0;
}

void MessageChannel::Forget(int index) {
    links_.erase(index);
    queue_.DropFrom(index);
    std::erase_if(arrivals_, [index](const Arrival& a) { return a.source == index; });
}

} // namespace zarv::net
