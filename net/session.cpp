#include "net/session.h"

#include <cmath>
#include <cstdio>
#include <random>

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
    tokens_ = {};
    returns_.clear();
    awaitedSeat_ = 0;
    awaitedUntil_ = 0;
    ackSent_ = false;
    dealerIsOurs_ = false;
    token_.clear();
    returnToken_.clear();
    table_.reset();
    inGame_ = false;
    left_ = false;
    toldSilent_ = false;
}

void NetworkSession::SetJoinRequest(const std::string& name, const std::string& side) {
    joinName_ = name;
    joinSide_ = side;
}

void NetworkSession::SetReturnRequest(const std::string& token) {
    returnToken_ = IsToken(token) ? token : std::string();
    if (returnToken_.empty()) return;
    // Only our own Dealer gave a token: it knows what a return is.
    dealerIsOurs_ = true;
    token_ = returnToken_;
    // What the lost connection left behind belongs to it.
    connections_.erase(0);
    queue_.DropFrom(0);
    arrivals_.clear();
    left_ = false;
    toldSilent_ = false;
}

std::optional<TableSnapshot> NetworkSession::TakeTable() {
    auto table = std::move(table_);
    table_.reset();
    return table;
}

void NetworkSession::Leave() {
    left_ = true;
    transport_.Close(0);
}

bool NetworkSession::CanReturn() const {
    return role_ == Role::Client && dealerIsOurs_ && !token_.empty() && !left_ && inGame_;
}

// --- The engine's view ---

int NetworkSession::ElementCount() const { return transport_.ElementCount(); }

bool NetworkSession::IsConnected(int index) const {
    // In a game, the Dealer's game speaks only to seated players: a player at
    // the door (coming back, or a stranger) hears nothing of it until seated.
    if (role_ == Role::Dealer && !accepting_ && index >= 1) {
        const auto it = connections_.find(index);
        if (it == connections_.end() || it->second.seat == 0) return false;
    }
    if (transport_.IsConnected(index)) return true;
    // A connection that closed right after its last messages counts as open
    // until they are read: the Dealer's last card, a player's last move.
    const auto it = connections_.find(index);
    return it != connections_.end() && !it->second.drained && queue_.CountFrom(index) > 0;
}

void NetworkSession::Send(int index, const TableMessage& message) { SendText(index, MessageText(message, state())); }

void NetworkSession::SendText(int index, const std::string& text) {
    if (!transport_.IsConnected(index)) return;
    transport_.Send(index, text);
    connections_[index].lastSent = pump_.Now();
}

void NetworkSession::CloseAll() {
    // A client that closes its connection leaves for good.
    if (role_ == Role::Client) left_ = true;
    // Our clients hear that the Dealer ends the table on purpose, so that
    // they do not try to come back to it.
    if (role_ == Role::Dealer)
        for (auto& [index, c] : connections_)
            if (c.ours && c.seat > 0) SendText(index, Message("Closing", "The Dealer has closed the table."));
    transport_.CloseAll();
}

bool NetworkSession::HandleMessage(int source, const TableMessage& awaited) {
    if (!game_) return false;
    const auto [command, detail] = AwaitedTextOf(awaited);
    // The Dealer started a new game before sending what this wait asks for:
    // the old game is over here too.
    if (role_ == Role::Client && queue_.MarkerFirst(source, "Start", command, detail)) {
        game_->Request(Command::Start);
        return false;
    }
    // A message that arrived before its connection was lost is still handled:
    // look in the queue first, then look at the connections.
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (state().StopRequested) return false;
        QueuedMessage m;
        if (queue_.Take(source, command, detail, m)) {
            HandleQueued(m);
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
    if (game_) game_->SetRole(true);
    // Once the game has started, a new connection may only be a player coming
    // back; anyone else is refused when asking, or closed after a time.
}

void NetworkSession::OnConnected() {
    if (game_) game_->SetRole(false);
    lastHeard_ = pump_.Now();
    if (!returnToken_.empty())
        transport_.Send(0, Message("Return", returnToken_));
    else
        transport_.Send(0, Message("Connect", joinName_ + ";" + joinSide_));
    tell().Connected();
}

void NetworkSession::OnConnectFailed(const std::string& why) { tell().ConnectFailed(why); }

void NetworkSession::OnClosed(int index) {
    // A player who leaves the lobby gives the seat back.
    if (role_ == Role::Dealer && accepting_) {
        const auto it = connections_.find(index);
        if (it != connections_.end() && it->second.seat > 0) LeaveLobby(index);
    }
    tell().ConnectionClosed(index);
}

void NetworkSession::OnData(int index, std::string_view bytes) {
    if (role_ == Role::Client && index == 0) {
        lastHeard_ = pump_.Now();
        if (toldSilent_) {
            toldSilent_ = false;
            tell().DealerHeard();
        }
    }
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
    if (role_ == Role::Dealer) {
        Connection& c = connections_[source];
        if (piece.command == "Recived" && piece.detail == kExtensionAck) return HandleHello(source);
        if (piece.command == "Return") return HandleReturn(source, piece.detail);
        if (c.stale) {
            // Sent for the game that was stopped: nothing waits for it now.
            if (piece.command != "Recived" || piece.detail != "HandIs") return;
            c.stale = false;
        }
    } else if (IsExtension(piece.command)) {
        return HandleExtension(piece);
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
        tell().PlayerAnnounced(JoinedText(TextFromWire(p.detail.substr(0, semi)), TextFromWire(p.detail.substr(semi + 1))));
    } else if (p.command == "Start") {
        HandleStart(p.detail);
    } else if (p.command == "Chat") {
        if (const auto chat = ParseSeatText(p.detail)) tell().ChatReceived(chat->seat, chat->text);
    } else if (p.command == "Disconnected") {
        HandleDisconnected(p.detail);
    }
}

void NetworkSession::HandleQueued(const QueuedMessage& m) {
    const GameState& s = state();
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
        SendText(0, Message("Recived", "HandIs"));
    } else if (m.Command == "MasterPlayerIs") {
        if (m.Detail.size() != 1 || m.Detail[0] < '1' || m.Detail[0] > '4') return Reject(0, what);
        game_->TakeMasterPlayer(m.Detail[0] - '0');
    } else if (m.Command == "MasterCardIs") {
        if (m.Detail.size() != 1 || !IsSuitLetter(m.Detail[0])) return Reject(0, what);
        game_->TakeTrump(m.Detail[0]);
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
        // lost player, and nobody waits for a reply that never comes. A player
        // that broke the rules does not get the seat back.
        const int seat = connections_[source].seat;
        if (seat >= 1 && seat <= 4) tokens_[static_cast<size_t>(seat)].clear();
        queue_.DropFrom(source);
        transport_.Close(source);
        return;
    }
    if (game_) game_->EndHere();
    transport_.Close(0);
}

// --- The Dealer ---

void NetworkSession::HandleConnect(int source, const std::string& detail) {
    Connection& c = connections_[source];
    if (c.askedForSeat) return;  // one seat a connection
    const auto request = ParseConnect(detail);
    if (!accepting_) {
        // The game has started: the Dealer's person hears that someone tried.
        tell().LateJoinRefused(request ? request->name : std::string("Unknown"));
        return Refuse(source);
    }
    if (seated_ >= 3) return Refuse(source);
    if (!request) return;  // no reply: a client of the original protocol keeps waiting
    const GameState& s = state();
    std::array<bool, 5> taken{};
    for (int seat = 1; seat <= 4; ++seat) taken[static_cast<size_t>(seat)] = seat == 3 || s.Seats[seat].Kind == SeatKind::Human;
    JoinReply reply = AssignSeat(request->side, taken);
    if (const int chosen = c.preferredSeat; chosen > 0 && !taken[static_cast<size_t>(chosen)]) {
        // The chosen seat, with the words the protocol has for it.
        std::array<bool, 5> others{true, true, true, true, true};
        others[static_cast<size_t>(chosen)] = false;
        reply = AssignSeat(SideWord(chosen), others);
    }
    if (reply.code == 3) return Refuse(source);

    game_->GiveSeat(reply.code, request->name, source);
    c.askedForSeat = true;
    c.seat = reply.code;
    ++seated_;
    SendText(source, Message("Join", std::to_string(reply.code) + ";" + reply.text));
    tell().PlayerJoined(source, reply.code, JoinedText(request->name, reply.word));
    // The others hear of the newcomer, with the word seen from their own
    // seat; the newcomer does not hear of them (ours get the whole table).
    for (auto& [index, other] : connections_) {
        if (index == source || other.seat == 0 || !transport_.IsConnected(index)) continue;
        if (other.ours)
            SendRoster(index);
        else
            SendText(index, Message("AddedPlayer", request->name + ";" + SideWord(reply.code, other.seat)));
    }
}

void NetworkSession::HandleHello(int source) {
    Connection& c = connections_[source];
    if (c.seat == 0 || c.ours) return;
    c.ours = true;
    std::random_device device;
    std::string token;
    for (int i = 0; i < 4; ++i) {
        char part[9];
        std::snprintf(part, sizeof part, "%08x", static_cast<unsigned>(device()));
        token += part;
    }
    tokens_[static_cast<size_t>(c.seat)] = token;
    SendText(source, Message("Hello", token));
    tell().TokenGiven(source, c.seat, token);
    SendRoster(source);
}

void NetworkSession::SendRoster(int index) {
    std::array<SeatRecord, 5> seats = state().Seats;
    if (seats[3].Name.empty()) seats[3].Name = state().PlayerName;
    seats[3].Kind = SeatKind::Human;
    SendText(index, Message("Roster", StartText(seats)));
}

void NetworkSession::LeaveLobby(int index) {
    Connection& c = connections_[index];
    const int seat = c.seat;
    const std::string name = state().Seats[seat].Name;
    c.seat = 0;
    tokens_[static_cast<size_t>(seat)].clear();
    --seated_;
    queue_.DropFrom(index);
    game_->FreeSeat(seat);
    tell().PlayerLeft(index, seat, name);
    for (auto& [other, oc] : connections_) {
        if (other == index || oc.seat == 0 || !transport_.IsConnected(other)) continue;
        if (oc.ours)
            SendRoster(other);
        else
            SendText(other, Message("Disconnected", SeatNewsText(TableEvent::About(TableEvent::Kind::SeatReplaced, seat, name))));
    }
}

void NetworkSession::HandleReturn(int source, const std::string& detail) {
    Connection& c = connections_[source];
    if (c.askedForSeat) return;
    c.askedForSeat = true;
    if (accepting_) return RefuseReturn(source, "The Dealer has no game in progress; join it again.");
    int seat = 0;
    if (IsToken(detail))
        for (int k = 1; k <= 4; ++k)
            if (tokens_[static_cast<size_t>(k)] == detail) seat = k;
    if (seat == 0) return RefuseReturn(source, "That seat is not yours to take back.");
    c.ours = true;
    // A second try of the same player replaces the first.
    for (auto it = returns_.begin(); it != returns_.end();) {
        if (it->seat == seat) {
            transport_.Close(it->connection);
            it = returns_.erase(it);
        } else {
            ++it;
        }
    }
    returns_.push_back({seat, source});
}

void NetworkSession::RefuseReturn(int source, const std::string& why) {
    SendText(source, Message("Join", "3;" + why));
    transport_.Close(source);
}

std::optional<Network::ReturningPlayer> NetworkSession::TakeReturn() {
    while (!returns_.empty()) {
        const ReturningPlayer back = returns_.front();
        returns_.pop_front();
        if (transport_.IsConnected(back.connection)) return back;
    }
    return std::nullopt;
}

void NetworkSession::WelcomeBack(const ReturningPlayer& player, const TableSnapshot& table, const std::string& name) {
    Connection& c = connections_[player.connection];
    c.seat = player.seat;
    c.ours = true;
    c.stale = false;
    SendText(player.connection, Message("Table", TableText(table)));
    SendWaiting(player.connection);
    // Ours hear it as a return; a program of the original protocol knows no
    // such message, and shows the words of a "Disconnected" (the seat stays
    // a computer's seat to it, which it is as far as it can tell).
    const std::string detail = SeatNewsText(TableEvent::About(TableEvent::Kind::PlayerBack, player.seat, name));
    for (auto& [index, other] : connections_) {
        if (index == player.connection || other.seat == 0 || !transport_.IsConnected(index)) continue;
        SendText(index, Message(other.ours ? "Back" : "Disconnected", detail));
    }
}

void NetworkSession::Drop(int index) {
    queue_.DropFrom(index);
    connections_[index].drained = true;
    transport_.Close(index);
}

void NetworkSession::GameStarting() {
    // A client begins the game the Dealer announced: what came before belongs to the last one.
    if (role_ == Role::Client) {
        queue_.DropThrough(0, "Start");
        return;
    }
    for (auto& [index, c] : connections_) {
        queue_.DropFrom(index);
        c.stale = c.seat > 0;
    }
}

void NetworkSession::AwaitingSeat(int seat, double secondsLeft) {
    if (role_ != Role::Dealer) return;
    awaitedSeat_ = seat;
    awaitedUntil_ = seat > 0 && secondsLeft > 0 ? pump_.Now() + secondsLeft : 0;
    for (auto& [index, c] : connections_)
        if (c.ours && c.seat > 0) SendWaiting(index);
}

void NetworkSession::SendWaiting(int index) {
    int seconds = 0;
    if (awaitedSeat_ > 0 && awaitedUntil_ > 0) seconds = std::max(1, static_cast<int>(std::ceil(awaitedUntil_ - pump_.Now())));
    SendText(index, Message("Waiting", std::to_string(awaitedSeat_) + ";" + std::to_string(seconds)));
}

void NetworkSession::Refuse(int index) {
    connections_[index].askedForSeat = true;
    SendText(index, Message("Join", std::string("3;") + kRefusal));
    transport_.Close(index);  // after the refusal has been written out
}

void NetworkSession::HandleClientTrump(const QueuedMessage& m) {
    const GameState& s = state();
    const int seat = connections_[m.Source].seat;
    if (seat != s.MasterPlayer || s.Trump != kNoSuit || m.Detail.size() != 1 || !IsSuitLetter(m.Detail[0]))
        return Reject(m.Source, "MasterCardIs;" + m.Detail);
    for (int i = 1; i < transport_.ElementCount(); ++i)
        SendText(i, i == m.Source ? Message("Recived", "MasterCardIs") : Message("MasterCardIs", m.Detail));
    game_->TakeTrump(m.Detail[0]);
}

void NetworkSession::HandleClientMove(const QueuedMessage& m) {
    const int seat = MoveSeat(m.Command);
    const auto card = CardCode::Parse(m.Detail);
    if (seat != connections_[m.Source].seat || !card || !game_->IsLegalCard(seat, *card))
        return Reject(m.Source, m.Command + ";" + m.Detail);
    SendText(m.Source, Message("Recived", m.Command));
    game_->PlaySeatCard(seat, *card, CardOrigin::RemotePerson);  // passes it on to the others
}

void NetworkSession::HandleChat(int source, const std::string& detail) {
    const auto chat = ParseSeatText(detail);
    // Only a seated player, and only as its own seat.
    if (!chat || chat->seat != connections_[source].seat) return;
    for (int i = 1; i < transport_.ElementCount(); ++i)
        if (i != source) SendText(i, Message("Chat", detail));
    tell().ChatReceived(chat->seat, chat->text);
}

void NetworkSession::PreferSeat(int index, int seat) {
    if (seat == 1 || seat == 2 || seat == 4) connections_[index].preferredSeat = seat;
}

void NetworkSession::SendToOurs(const std::string& text) {
    for (auto& [index, c] : connections_)
        if (c.ours && c.seat > 0 && transport_.IsConnected(index)) SendText(index, text);
}

bool NetworkSession::IsOurs(int index) const {
    const auto it = connections_.find(index);
    return it != connections_.end() && it->second.ours;
}

void NetworkSession::StopAccepting() {
    accepting_ = false;
    for (auto& [index, c] : connections_)
        if (c.seat == 0 && transport_.IsConnected(index)) transport_.Close(index);
}

double NetworkSession::Housekeep() { return role_ == Role::Dealer ? DealerHousekeep() : ClientHousekeep(); }

double NetworkSession::DealerHousekeep() {
    const double now = pump_.Now();
    double next = kForever;
    for (auto& [index, c] : connections_) {
        if (!transport_.IsConnected(index)) continue;
        if (!c.askedForSeat) {
            const double due = c.acceptedAt + kConnectTimeout;
            if (now >= due)
                transport_.Close(index);
            else
                next = std::min(next, due);
            continue;
        }
        // In a game, our clients hear from the Dealer at least this often.
        if (c.ours && c.seat > 0 && !accepting_) {
            if (now >= c.lastSent + kHeartbeat) SendWaiting(index);
            next = std::min(next, c.lastSent + kHeartbeat);
        }
    }
    return next;
}

double NetworkSession::ClientHousekeep() {
    if (!dealerIsOurs_ || !inGame_ || toldSilent_ || !transport_.IsConnected(0)) return kForever;
    const double due = lastHeard_ + kDealerSilence;
    if (pump_.Now() < due) return due;
    toldSilent_ = true;
    tell().DealerSilent(pump_.Now() - lastHeard_);
    return kForever;
}

void NetworkSession::SendChat(const std::string& line) {
    // A "|" would end the message early on every machine: the line ends there.
    const std::string text = line.substr(0, line.find('|'));
    if (text.empty() || !game_) return;
    const std::string message = Message("Chat", std::to_string(state().LocalSeat) + ";" + text);
    if (role_ == Role::Dealer) {
        for (int i = 1; i < transport_.ElementCount(); ++i) SendText(i, message);
    } else {
        transport_.Send(0, message);
    }
}

// --- A client ---

void NetworkSession::HandleJoin(const std::string& detail) {
    if (detail.size() < 2 || detail[1] != ';' || detail[0] < '1' || detail[0] > '4') return Reject(0, "Join;" + detail);
    const int code = detail[0] - '0';
    if (!returnToken_.empty()) {
        // Asked for a seat back and refused: the Dealer says why.
        returnToken_.clear();
        token_.clear();
        inGame_ = false;
        tell().Seated(3, TextFromWire(detail.substr(2)));
        return;
    }
    game_->SetLocalSeat(code);
    tell().Seated(code, code == 3 ? std::string() : TextFromWire(detail.substr(2)));
    // A program of ours says so by acknowledging its seat; any Dealer may
    // receive an acknowledgement, and ours answers with what goes beyond.
    if (code != 3 && !ackSent_ && speaksExtensions_) {
        ackSent_ = true;
        SendText(0, Message("Recived", kExtensionAck));
    }
}

void NetworkSession::HandleExtension(const Piece& p) {
    const std::string what = p.command + ";" + p.detail;
    if (p.command == "Hello") {
        if (!ackSent_ || !IsToken(p.detail)) return Reject(0, what);
        dealerIsOurs_ = true;
        token_ = p.detail;
        return;
    }
    // The rest only from a Dealer that has shown it is ours.
    if (!dealerIsOurs_) return Reject(0, what);
    const GameState& s = state();
    if (p.command == "Roster") {
        const auto seats = ParseStart(p.detail);
        if (!seats) return Reject(0, what);
        tell().RosterReceived(seats->names, seats->kinds);
    } else if (p.command == "Waiting") {
        const auto waiting = ParseWaiting(p.detail);
        if (!waiting) return Reject(0, what);
        if (inGame_) game_->ShowRemoteWait(waiting->seat, waiting->seconds);
    } else if (p.command == "Back") {
        const auto back = ParseSeatText(p.detail);
        if (!back) return Reject(0, what);
        if (back->seat != s.LocalSeat) game_->SetSeatKind(back->seat, SeatKind::Human);
        tell().PlayerReturned(back->seat, back->text);
        game_->view().Announce(SeatNewsFrom(TableEvent::Kind::PlayerBack, back->seat, s.Seats[back->seat].Name, back->text));
        game_->view().RefreshPage();
    } else if (p.command == "Watchers") {
        const auto watchers = ParseCount(p.detail);
        if (!watchers) return Reject(0, what);
        tell().WatchersCounted(*watchers);
    } else if (p.command == "Closing") {
        left_ = true;  // nothing to come back to
    } else if (p.command == "Table") {
        const auto table = ParseTable(p.detail);
        if (returnToken_.empty() || !table || table->seat != s.LocalSeat) return Reject(0, what);
        returnToken_.clear();
        // Whatever came before the table is in it already.
        queue_.DropFrom(0);
        inGame_ = true;
        if (game_->Running()) {
            // A game here still waits (its connection came back before it
            // noticed the loss): it ends now, before it reads anything of the
            // new connection, and the table is taken up once it has unwound.
            game_->Resume(*table);
        } else {
            table_ = *table;
        }
        tell().TableReceived();
    } else {
        Reject(0, what);  // "Return" is the client's own word
    }
}

void NetworkSession::HandleStart(const std::string& detail) {
    const auto start = ParseStart(detail);
    if (!start) return Reject(0, "Start;" + detail);
    for (int seat = 1; seat <= 4; ++seat)
        game_->SetSeat(seat, start->names[static_cast<size_t>(seat)], start->kinds[static_cast<size_t>(seat)]);
    inGame_ = true;
    lastHeard_ = pump_.Now();
    // Where the new game begins among the messages: what comes before it
    // belongs to the last game, which this machine may still be finishing.
    queue_.Add({0, "Start", ""});
    // A game that waits for this machine's own person will hear nothing more
    // of the Dealer: it was abandoned, and ends here too.
    if (game_->Running() && game_->WaitsForLocalPerson()) game_->Request(Command::Start);
    tell().StartReceived();
}

void NetworkSession::HandleDisconnected(const std::string& detail) {
    const auto lost = ParseDisconnected(detail);
    if (!lost) return Reject(0, "Disconnected;" + detail);
    game_->SetSeatKind(lost->seat, SeatKind::Computer);
    tell().PlayerLost(lost->seat, lost->text);
    // A Dealer of the original protocol ends its game when the HAKEM is lost
    // before naming the ZARV, and sends nothing more: the game ends here too.
    // (This game cannot tell from its own state: it may still be playing out
    // what the Dealer sent before, so the Dealer's word decides.)
    const bool over = lost->outcome == LostPlayer::Outcome::GameOver;
    if (over) game_->EndHere();
    const auto kind = over ? TableEvent::Kind::PlayerLeftGameOver : TableEvent::Kind::SeatReplaced;
    game_->view().Announce(SeatNewsFrom(kind, lost->seat, state().Seats[lost->seat].Name, lost->text));
    game_->view().RefreshPage();
}

} // namespace zarv::net
