#include "net/local_transport.h"

#include <chrono>
#include <cmath>

#include "engine/headless.h"

namespace zarv::net {

struct LocalEndpoint::Link {
    LocalEndpoint* client = nullptr;
    LocalEndpoint* dealer = nullptr;
    std::mutex mutex;
    bool open = true;

    bool IsOpen() {
        std::lock_guard lock(mutex);
        return open;
    }
    // Closes the link; true for the call that closed it.
    bool Shut() {
        std::lock_guard lock(mutex);
        const bool was = open;
        open = false;
        return was;
    }
};

LocalEndpoint::LocalEndpoint() {
    elements_.push_back(nullptr);
    open_.push_back(false);
}

LocalEndpoint::~LocalEndpoint() { CloseAll(); }

void LocalEndpoint::Listen() { listening_ = true; }

void LocalEndpoint::ConnectTo(LocalEndpoint& dealer) {
    auto link = std::make_shared<Link>();
    link->client = this;
    link->dealer = &dealer;
    isClient_ = true;
    elements_[0] = link;
    open_[0] = false;
    dealer.Post({EventKind::Accept, link, {}});
}

void LocalEndpoint::Post(Event event) {
    {
        std::lock_guard lock(inboxMutex_);
        inbox_.push_back(std::move(event));
    }
    inboxReady_.notify_all();
}

int LocalEndpoint::IndexOf(const std::shared_ptr<Link>& link) const {
    for (size_t i = 0; i < elements_.size(); ++i)
        if (elements_[i] == link) return static_cast<int>(i);
    return -1;
}

LocalEndpoint* LocalEndpoint::PeerOf(const Link& link) const { return link.client == this ? link.dealer : link.client; }

int LocalEndpoint::DeliverPending() {
    std::deque<Event> events;
    {
        std::lock_guard lock(inboxMutex_);
        events.swap(inbox_);
    }
    for (Event& e : events) {
        switch (e.kind) {
        case EventKind::Accept: {
            if (!listening_ || !e.link->IsOpen()) {
                if (e.link->Shut()) e.link->client->Post({EventKind::Closed, e.link, {}});
                break;
            }
            elements_.push_back(e.link);
            open_.push_back(true);
            e.link->client->Post({EventKind::Connected, e.link, {}});
            if (events_) events_->OnAccepted(static_cast<int>(elements_.size()) - 1);
            break;
        }
        case EventKind::Connected:
            if (IndexOf(e.link) == 0) open_[0] = true;
            if (events_) events_->OnConnected();
            break;
        case EventKind::Data: {
            const int index = IndexOf(e.link);
            if (index >= 0 && events_) events_->OnData(index, e.bytes);
            break;
        }
        case EventKind::Closed: {
            const int index = IndexOf(e.link);
            if (index < 0) break;
            open_[static_cast<size_t>(index)] = false;
            if (events_) events_->OnClosed(index);
            break;
        }
        }
    }
    return static_cast<int>(events.size());
}

bool LocalEndpoint::WaitForInbox(double seconds) {
    std::unique_lock lock(inboxMutex_);
    return inboxReady_.wait_for(lock, std::chrono::duration<double>(seconds), [this] { return !inbox_.empty(); });
}

int LocalEndpoint::ElementCount() const { return static_cast<int>(elements_.size()); }

bool LocalEndpoint::IsConnected(int index) const {
    return index >= 0 && index < static_cast<int>(elements_.size()) && open_[static_cast<size_t>(index)];
}

void LocalEndpoint::Send(int index, std::string_view bytes) {
    if (!IsConnected(index)) return;
    const auto& link = elements_[static_cast<size_t>(index)];
    if (link->IsOpen()) PeerOf(*link)->Post({EventKind::Data, link, std::string(bytes)});
}

void LocalEndpoint::Close(int index) {
    if (index < 0 || index >= static_cast<int>(elements_.size()) || !elements_[static_cast<size_t>(index)]) return;
    const auto link = elements_[static_cast<size_t>(index)];
    open_[static_cast<size_t>(index)] = false;
    // What was sent before lies in the peer's inbox already: it arrives first.
    if (link->Shut()) PeerOf(*link)->Post({EventKind::Closed, link, {}});
}

void LocalEndpoint::StopListening() { listening_ = false; }

void LocalEndpoint::CloseAll() {
    listening_ = false;
    for (int i = 0; i < static_cast<int>(elements_.size()); ++i) Close(i);
}

void LocalPump::WaitForEvents(double deadline) {
    if (endpoint_.DeliverPending() > 0) return;
    if (!std::isinf(deadline)) {
        if (deadline > now_) now_ = deadline;
        return;
    }
    if (!endpoint_.WaitForInbox(stallSeconds_)) throw HeadlessStall();
    endpoint_.DeliverPending();
}

void LocalPump::WaitForMessage(double deadline) {
    if (std::isinf(deadline)) return WaitForEvents(deadline);
    if (endpoint_.DeliverPending() > 0) return;
    if (endpoint_.WaitForInbox(messageGrace_)) {
        endpoint_.DeliverPending();
        return;
    }
    if (deadline > now_) now_ = deadline;
}

} // namespace zarv::net
