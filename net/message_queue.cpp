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

bool MessageQueue::MarkerFirst(int source, const std::string& marker, const std::string& command,
                               const std::string& detail) const {
    for (const QueuedMessage& m : entries_) {
        if (m.Source != source) continue;
        if (m.Command == marker) return true;
        if (m.Command == command && (detail.empty() || m.Detail == detail)) return false;
    }
    return false;
}

bool MessageQueue::DropThrough(int source, const std::string& marker) {
    const auto end = std::find_if(entries_.begin(), entries_.end(),
                                  [&](const QueuedMessage& m) { return m.Source == source && m.Command == marker; });
    if (end == entries_.end()) return false;
    entries_.erase(std::remove_if(entries_.begin(), end + 1, [&](const QueuedMessage& m) { return m.Source == source; }),
                   end + 1);
    return true;
}

} // namespace zarv::net
