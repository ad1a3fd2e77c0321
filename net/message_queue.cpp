#include "net/message_queue.h"

#include <algorithm>

namespace zarv::net {

size_t MessageQueue::CountFrom(int source) const {
    return static_cast<size_t>(
        std::count_if(entries_.begin(), entries_.end(), [&](const QueuedMessage& m) { return m.Source == source; }));
}

bool MessageQueue::Add(QueuedMessage message) {
    if (CountFrom(message.Source) >= kMaxPerConnection) return false;
    entries_.push_back(std::move(message));
    return true;
}

bool MessageQueue::Take(int source, const std::string& command, const std::string& detail, QueuedMessage& out) {
    for (auto it = entries_.begin(); it != entries_.end(); ++it) {
        if (it->Source != source || it->Command != command) continue;
        if (!detail.empty() && it->Detail != detail) continue;
        out = std::move(*it);
        entries_.erase(it);
        return true;
    }
    return false;
}

void MessageQueue::DropFrom(int source) {
    entries_.erase(std::remove_if(entries_.begin(), entries_.end(), [&](const QueuedMessage& m) { return m.Source == source; }),
                   entries_.end());
}

} // namespace zarv::net
