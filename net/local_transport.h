// Connections inside one process, as socket pairs would be: each machine's
// end keeps an inbox of what its peers sent, and the thread that runs that
// machine's game takes the inbox in its waits. Tests and benchmarks run a
// Dealer and its clients as threads of one process with it.
#pragma once

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "engine/interfaces.h"
#include "net/transport.h"

namespace zarv::net {

class LocalEndpoint : public Transport {
public:
    LocalEndpoint();
    ~LocalEndpoint() override;

    // The Dealer accepts connections from now on.
    void Listen();
    // A client connects to a Dealer's endpoint (any thread may call it for
    // its own endpoint); the Dealer accepts it when its thread next looks.
    void ConnectTo(LocalEndpoint& dealer);

    // Hands the waiting events to the session, on the owning thread. Returns
    // how many there were.
    int DeliverPending();
    // Sleeps until an event waits or the time (real seconds) has passed.
    bool WaitForInbox(double seconds);

    // Transport
    void SetEvents(TransportEvents* events) override { events_ = events; }
    TransportEvents* events() const override { return events_; }
    int ElementCount() const override;
    bool IsConnected(int index) const override;
    void Send(int index, std::string_view bytes) override;
    void Close(int index) override;
    void StopListening() override;
    void CloseAll() override;

private:
    struct Link;
    enum class EventKind { Accept, Connected, Data, Closed };
    struct Event {
        EventKind kind;
        std::shared_ptr<Link> link;
        std::string bytes;
    };
    void Post(Event event);
    int IndexOf(const std::shared_ptr<Link>& link) const;
    LocalEndpoint* PeerOf(const Link& link) const;

    mutable std::mutex inboxMutex_;
    std::condition_variable inboxReady_;
    std::deque<Event> inbox_;
    // Used on the owning thread only.
    std::vector<std::shared_ptr<Link>> elements_;  // element 0: the link to the Dealer on a client
    // Open as this end has heard so far: what the peer sent before closing is
    // read before the close is seen, as on a socket.
    std::vector<bool> open_;
    bool listening_ = false;
    bool isClient_ = false;
    TransportEvents* events_ = nullptr;
};

// The engine's waits on a local endpoint: time jumps to each deadline (pauses
// cost nothing), and a wait for an event sleeps until a peer sends. A peer that
// never answers within the time limit means a broken test: HeadlessStall.
class LocalPump : public EventPump {
public:
    explicit LocalPump(LocalEndpoint& endpoint, double stallSeconds = 30) : endpoint_(endpoint), stallSeconds_(stallSeconds) {}
    void ProcessEvents() override { endpoint_.DeliverPending(); }
    void WaitForEvents(double deadline) override;
    // A wait for a peer with a deadline: the peer (a thread) gets up to the
    // grace period of real time to answer before the clock jumps to the
    // deadline, so that only a peer that is really silent runs out of time.
    void WaitForMessage(double deadline) override;
    void SetMessageGrace(double seconds) { messageGrace_ = seconds; }
    double Now() const override { return now_; }

private:
    LocalEndpoint& endpoint_;
    double stallSeconds_;
    double messageGrace_ = 30;
    double now_ = 1000.0;
};

} // namespace zarv::net
