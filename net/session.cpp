#include "net/session.h"

#include "net/wire.h"

namespace zarv::net {

NetworkSession::NetworkSession(Transport& transport, EventPump& pump)
    : channel_(
          transport, pump, [this](int source, Piece piece) { Arrive(source, std::move(piece)); },
          [this](int source) {
              Reject(source, "more than " + std::to_string(Framer::kMaxPending) + " bytes without \"|\"");
          }) {
    transport.SetEvents(this);
}

NetworkSession::~NetworkSession() {
    if (transport().events() == this) transport().SetEvents(nullptr);
}

void NetworkSession::Send(int index, const TableMessage& message) { SendText(index, MessageText(message, state())); }

bool NetworkSession::HandleMessage(int source, const TableMessage& awaited) {
    if (!game_) return false;
    Call call(depth_);
    const auto [command, detail] = AwaitedTextOf(awaited);
    if (!MayWait(source, command, detail)) return false;
    // A message that arrived before its connection was lost is still handled:
    // look in the queue first, then look at the connections.
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (state().StopRequested) return false;
        QueuedMessage m;
        if (channel_.queue().Take(source, command, detail, m)) {
            HandleQueued(m);
            return true;
        }
        if (!transport().IsConnected(source)) channel_.MarkDrained(source);
        if (attempt == 0) game_->CheckConnections();
    }
    return false;
}

void NetworkSession::OnData(int index, std::string_view bytes) {
    Call call(depth_);
    Heard(index);
    channel_.Feed(index, bytes);
}

void NetworkSession::Drop(int index) {
    channel_.queue().DropFrom(index);
    channel_.MarkDrained(index);
    transport().Close(index);
}

} // namespace zarv::net
