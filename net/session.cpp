#include "net/session.h"

#include "net/wire.h"

namespace zarv::net {

NetworkSession::NetworkSession(Transport& transport, EventPump& pump, Role role)
    : transport_(transport), pump_(pump), role_(role) {
    transport_.SetEvents(this);
}

NetworkSession::~NetworkSession() { transport_.SetEvents(nullptr); }

void NetworkSession::Reset(Role role) {
    role_ = role;
    queue_ = MessageQueue();
    connections_.clear();
    arrivals_.clear();
    accepting_ = true;
    seated_ = 0;
}

void NetworkSession::SetJoinRequest(const std::string& name, const std::string& side) {
    joinName_ = name;
    joinSide_ = side;
}

// --- The engine's view ---

int NetworkSession::ElementCount() const { return transport_.ElementCount(); }

bool NetworkSession::IsConnected(int index) const {
    if (transport_.IsConnected(index)) return true;
    // A connection that closed right after its last messages counts as open
    // until they are read: the Dealer's last card, a player's last move.
    const auto it = connections_.find(index);
    return it != connections_.end() && !it->second.drained && queue_.CountFrom(index) > 0;
}

void NetworkSession::Send(int index, const std::string& text) {
    if (transport_.IsConnected(index)) transport_.Send(index, text);
}

void NetworkSession::CloseAll() { transport_.CloseAll(); }

bool NetworkSession::HandleMessage(int source, const std::string& command, const std::string& detail) {
    if (!game_) return false;
    // A message that arrived before its connection was lost is still handled:
    // look in the queue first, then look at the connections.
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (state().StopRequested) return false;
        QueuedMessage m;
        if (queue_.Take(source, command, detail, m)) {
            HandleQueued(m);
            if (m.Command == state().ExpectedMessage) {
                state().AwaitingMessage = false;
                state().ExpectedMessage.clear();
            }
            return true;
        }
        if (!transport_.IsConnected(source)) connections_[source].drained = true;
        if (attempt == 0) game_->CheckConnections();
    }
    return false;
}

// --- Arrival ---

void NetworkSession::OnAccepted(int index) {
    Connection& c = connections_[index];
    c.acceptedAt = pump_.Now();
    if (game_) state().IsDealer = true;
    if (!accepting_) transport_.Close(index);
}

void NetworkSession::OnConnected() {
    if (game_) state().IsDealer = false;
    transport_.Send(0, Message("Connect", joinName_ + ";" + joinSide_));
    tell().Connected();
}

void NetworkSession::OnConnectFailed(const std::string& why) { tell().ConnectFailed(why); }

void NetworkSession::OnClosed(int index) { tell().ConnectionClosed(index); }

void NetworkSession::OnData(int index, std::string_view bytes) {
    Connection& c = connections_[index];
    for (Piece& piece : c.framer.Feed(bytes)) arrivals_.push_back({index, std::move(piece)});
    if (c.framer.overflowed() && transport_.IsConnected(index))
        Reject(index, "more than " + std::to_string(Framer::kMaxPending) + " bytes without \"|\"");
    Deliver();
}

void NetworkSession::Deliver() {
    // One message at a time, in order: a handler that lets events run (a
    // balloon) leaves what arrives meanwhile for this loop.
    if (delivering_) return;
    delivering_ = true;
    while (!arrivals_.empty()) {
        Arrival a = std::move(arrivals_.front());
        arrivals_.pop_front();
        Arrive(a.source, std::move(a.piece));
    }
    delivering_ = false;
}

void NetworkSession::Arrive(int source, Piece piece) {
    if (!piece.wellFormed || !game_) return;  // no ";": nothing any wait asks for
    if (IsImmediate(piece.command)) {
        HandleImmediate(source, piece);
        return;
    }
    const bool waitable = role_ == Role::Dealer ? DealerMayWaitFor(piece.command) : ClientMayWaitFor(piece.command);
    // On the Dealer only a seated player's messages can be asked for, and only
    // the moves of its own seat.
    if (!waitable || (role_ == Role::Dealer && connections_[source].seat == 0)) return;
    const int moveSeat = MoveSeat(piece.command);
    if (role_ == Role::Dealer && moveSeat > 0 && moveSeat != connections_[source].seat)
        return Reject(source, piece.command + ";" + piece.detail);
    if (!queue_.Add({source, piece.command, piece.detail}))
        Reject(source, "more than " + std::to_string(MessageQueue::kMaxPerConnection) + " messages waiting");
}

void NetworkSession::HandleImmediate(int source, const Piece& p) {
    if (role_ == Role::Dealer) {
        if (p.command == "Connect") HandleConnect(source, p.detail);
        if (p.command == "Chat") HandleChat(source, p.detail);
        return;  // a client has no business sending the others
    }
    if (p.command == "Join") {
        HandleJoin(p.detail);
    } else if (p.command == "AddedPlayer") {
        const size_t semi = p.detail.find(';');
        if (semi == std::string::npos) return Reject(source, "AddedPlayer;" + p.detail);
        tell().PlayerAnnounced(TextFromWire(p.detail.substr(0, semi)) + " joined. " + " (" +
                               TextFromWire(p.detail.substr(semi + 1)) + ")");
    } else if (p.command == "Start") {
        HandleStart(p.detail);
    } else if (p.command == "Chat") {
        if (const auto chat = ParseSeatText(p.detail)) tell().ChatReceived(chat->seat, chat->text);
    } else if (p.command == "Disconnected") {
        HandleDisconnected(p.detail);
    }
}

void NetworkSession::HandleQueued(const QueuedMessage& m) {
    GameState& s = state();
    if (m.Command == "Recived") return;
    if (role_ == Role::Dealer) {
        if (m.Command == "MasterCardIs") HandleClientTrump(m);
        if (MoveSeat(m.Command) > 0) HandleClientMove(m);
        return;
    }
    const std::string what = m.Command + ";" + m.Detail;
    if (m.Command == "HandIs") {
        const auto deal = DecodeDeal(m.Detail);
        if (!deal) return Reject(0, what);
        game_->TakeDealOrder(*deal);
        Send(0, Message("Recived", "HandIs"));
    } else if (m.Command == "MasterPlayerIs") {
        if (m.Detail.size() != 1 || m.Detail[0] < '1' || m.Detail[0] > '4') return Reject(0, what);
        s.MasterPlayer = m.Detail[0] - '0';
    } else if (m.Command == "MasterCardIs") {
        if (m.Detail.size() != 1 || !IsSuitLetter(m.Detail[0])) return Reject(0, what);
        s.MasterCard = m.Detail[0];
    } else if (const int seat = MoveSeat(m.Command); seat > 0) {
        const auto card = CardCode::Parse(m.Detail);
        if (!card || !game_->PlaySeatCard(seat, *card, CardOrigin::RemotePerson)) {
            if (!s.StopRequested) Reject(0, what);
        }
    }
}

void NetworkSession::Reject(int source, const std::string& what) {
    tell().BadMessage(what);
    connections_[source].drained = true;
    if (role_ == Role::Dealer) {
        // Dropped with its connection: the seat goes to the computer, as for a
        // lost player, and nobody waits for a reply that never comes.
        queue_.DropFrom(source);
        transport_.Close(source);
        return;
    }
    if (game_) state().StopRequested = true;
    transport_.Close(0);
}

// --- The Dealer ---

void NetworkSession::HandleConnect(int source, const std::string& detail) {
    Connection& c = connections_[source];
    if (c.askedForSeat) return;  // one seat a connection
    if (!accepting_ || seated_ >= 3) return Refuse(source);
    const auto request = ParseConnect(detail);
    if (!request) return;  // no reply: the spec's client keeps waiting
    GameState& s = state();
    std::array<bool, 5> taken{};
    for (int seat = 1; seat <= 4; ++seat) taken[static_cast<size_t>(seat)] = seat == 3 || s.Seats[seat].Kind == SeatKind::Human;
    const JoinReply reply = AssignSeat(request->side, taken);
    if (reply.code == 3) return Refuse(source);

    SeatRecord& seat = s.Seats[reply.code];
    seat.Kind = SeatKind::Human;
    seat.Name = request->name;
    seat.Socket = source;
    c.askedForSeat = true;
    c.seat = reply.code;
    ++seated_;
    Send(source, Message("Join", std::to_string(reply.code) + ";" + reply.text));
    tell().PlayerJoined(source, reply.code, request->name + " joined. " + " (" + reply.word + ")");
    // The others hear of the newcomer; the newcomer does not hear of them.
    for (auto& [index, other] : connections_) {
        if (index == source || other.seat == 0 || !transport_.IsConnected(index)) continue;
        Send(index, Message("AddedPlayer", request->name + ";" + (other.seat == 1 ? "Against" : "Partner")));
    }
}

void NetworkSession::Refuse(int index) {
    connections_[index].askedForSeat = true;
    Send(index, Message("Join", std::string("3;") + kRefusal));
    transport_.Close(index);  // after the refusal has been written out
}

void NetworkSession::HandleClientTrump(const QueuedMessage& m) {
    GameState& s = state();
    const int seat = connections_[m.Source].seat;
    if (seat != s.MasterPlayer || s.MasterCard != kNoSuit || m.Detail.size() != 1 || !IsSuitLetter(m.Detail[0]))
        return Reject(m.Source, "MasterCardIs;" + m.Detail);
    for (int i = 1; i < transport_.ElementCount(); ++i)
        Send(i, i == m.Source ? Message("Recived", "MasterCardIs") : Message("MasterCardIs", m.Detail));
    s.MasterCard = m.Detail[0];
}

void NetworkSession::HandleClientMove(const QueuedMessage& m) {
    const int seat = MoveSeat(m.Command);
    const auto card = CardCode::Parse(m.Detail);
    if (seat != connections_[m.Source].seat || !card || !game_->IsLegalCard(seat, *card))
        return Reject(m.Source, m.Command + ";" + m.Detail);
    Send(m.Source, Message("Recived", m.Command));
    game_->PlaySeatCard(seat, *card, CardOrigin::RemotePerson);  // passes it on to the others
}

void NetworkSession::HandleChat(int source, const std::string& detail) {
    const auto chat = ParseSeatText(detail);
    // Only a seated player, and only as its own seat.
    if (!chat || chat->seat != connections_[source].seat) return;
    for (int i = 1; i < transport_.ElementCount(); ++i)
        if (i != source) Send(i, Message("Chat", detail));
    tell().ChatReceived(chat->seat, chat->text);
}

void NetworkSession::StopAccepting() {
    accepting_ = false;
    transport_.StopListening();
    for (auto& [index, c] : connections_)
        if (c.seat == 0 && transport_.IsConnected(index)) transport_.Close(index);
}

double NetworkSession::Housekeep() {
    if (role_ != Role::Dealer) return kForever;
    const double now = pump_.Now();
    double next = kForever;
    for (auto& [index, c] : connections_) {
        if (c.askedForSeat || !transport_.IsConnected(index)) continue;
        const double due = c.acceptedAt + kConnectTimeout;
        if (now >= due)
            transport_.Close(index);
        else
            next = std::min(next, due);
    }
    return next;
}

void NetworkSession::SendChat(const std::string& line) {
    // A "|" would end the message early on every machine: the line ends there.
    const std::string text = line.substr(0, line.find('|'));
    if (text.empty() || !game_) return;
    const std::string message = Message("Chat", std::to_string(state().LocalSeat) + ";" + text);
    if (role_ == Role::Dealer) {
        for (int i = 1; i < transport_.ElementCount(); ++i) Send(i, message);
    } else {
        transport_.Send(0, message);
    }
}

// --- A client ---

void NetworkSession::HandleJoin(const std::string& detail) {
    if (detail.size() < 2 || detail[1] != ';' || detail[0] < '1' || detail[0] > '4') return Reject(0, "Join;" + detail);
    const int code = detail[0] - '0';
    state().LocalSeat = code;
    tell().Seated(code, code == 3 ? std::string() : TextFromWire(detail.substr(2)));
}

void NetworkSession::HandleStart(const std::string& detail) {
    const auto start = ParseStart(detail);
    if (!start) return Reject(0, "Start;" + detail);
    GameState& s = state();
    for (int seat = 1; seat <= 4; ++seat) {
        s.Seats[seat].Name = start->names[static_cast<size_t>(seat)];
        s.Seats[seat].Kind = start->kinds[static_cast<size_t>(seat)];
    }
    tell().StartReceived();
}

void NetworkSession::HandleDisconnected(const std::string& detail) {
    const auto lost = ParseSeatText(detail);
    if (!lost) return Reject(0, "Disconnected;" + detail);
    GameState& s = state();
    s.Seats[lost->seat].Kind = SeatKind::Computer;
    tell().PlayerLost(lost->seat, lost->text);
    // The Dealer has ended the game and sends nothing more: end it here too.
    if (IsGameOverText(lost->text)) s.StopRequested = true;
    game_->view().SayMsg(0, lost->text);
    game_->view().RefreshPage();
}

} // namespace zarv::net
