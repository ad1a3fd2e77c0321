// How the network session reaches the connections: an indexed family of
// elements, as the Dealer and the client see them. Element 0 listens on the
// Dealer and is the one connection on a client; the Dealer's accepted
// connections are 1, 2, 3, ... in order of acceptance and are never renumbered.
#pragma once

#include <string>
#include <string_view>

namespace zarv::net {

// What a transport reports, on the thread that runs the game.
class TransportEvents {
public:
    virtual ~TransportEvents() = default;
    virtual void OnAccepted(int index) = 0;                 // the Dealer: a new connection
    virtual void OnConnected() = 0;                         // a client: element 0 is connected
    virtual void OnConnectFailed(const std::string& why) = 0;  // a client: it could not connect
    virtual void OnData(int index, std::string_view bytes) = 0;
    virtual void OnClosed(int index) = 0;
};

class Transport {
public:
    virtual ~Transport() = default;
    virtual void SetEvents(TransportEvents* events) = 0;
    virtual TransportEvents* events() const = 0;
    virtual int ElementCount() const = 0;
    virtual bool IsConnected(int index) const = 0;
    virtual void Send(int index, std::string_view bytes) = 0;
    // Closes one connection once what was sent on it has been written out.
    virtual void Close(int index) = 0;
    // No further connections are accepted (the game starts).
    virtual void StopListening() = 0;
    virtual void CloseAll() = 0;
};

} // namespace zarv::net
