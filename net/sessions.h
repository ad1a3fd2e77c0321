// The session for a role, for programs that choose it when they start.
#pragma once

#include <memory>

#include "net/client_session.h"
#include "net/dealer_session.h"

namespace zarv::net {

inline std::unique_ptr<NetworkSession> MakeSession(NetworkSession::Role role, Transport& transport, EventPump& pump) {
    if (role == NetworkSession::Role::Dealer) return std::make_unique<DealerSession>(transport, pump);
    return std::make_unique<ClientSession>(transport, pump);
}

} // namespace zarv::net
