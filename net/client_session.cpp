#include "net/client_session.h"

#include "net/wire.h"

namespace zarv::net {

void ClientSession::SetJoinRequest(const std::string& name, const std::string& side) {
    joinName_ = name;
    joinSide_ = side;
}

void ClientSession::SetReturnRequest(const std::string& token) {
    returnToken_ = IsToken(token) ? token : std::string();
    if (returnToken_.empty()) return;
    // Only our own Dealer gave a token: it knows what a return is.
    dealerIsOurs_ = true;
    token_ = returnToken_;
    // What the lost connection left behind belongs to it.
    channel_.Forget(0);
    left_ = false;
    toldSilent_ = false;
}

std::optional<TableSnapshot> ClientSession::TakeTable() {
    auto table = std::move(table_);
    table_.reset();
    return table;
}

void ClientSession::Leave() {
    left_ = true;
    transport().Close(0);
}

bool ClientSession::CanReturn() const { return dealerIsOurs_ && !token_.empty() && !left_ && inGame_; }

void ClientSession::CloseAll() {
    // A client that closes its connection leaves for good.
    left_ = true;
    transport().CloseAll();
}

void ClientSession::GameStarting() {
    // The game the Dealer announced begins: what came before belongs to the last one.
    channel_.queue().DropThrough(0, "Start");
}

bool ClientSession::MayWait(int source, const std::string& command, const std::string& detail) {
    if (!channel_.queue().MarkerFirst(source, "Start", command, detail)) return true;
    game_->Request(Command::Start);
    return false;
}

void ClientSession::OnConnected() {
    Call call(depth_);
    if (game_) game_->SetRole(false);
    lastHeard_ = pump().Now();
    if (!returnToken_.empty())
        transport().Send(0, Message("Return", returnToken_));
    else
        transport().Send(0, Message("Connect", joinName_ + ";" + joinSide_));
    tell().Connected();
}

void ClientSession::OnConnectFailed(const std::string& why) {
    Call call(depth_);
    tell().ConnectFailed(why);
}

void ClientSession::OnClosed(int index) {
    Call call(depth_);
    tell().ConnectionClosed(index);
}

void ClientSession::Heard(int index) {
    if (index != 0) return;
    lastHeard_ = pump().Now();
    if (!toldSilent_) return;
    toldSilent_ = false;
    tell().DealerHeard();
}

void ClientSession::Arrive(int source, Piece piece) {
    if (!piece.wellFormed || !game_) return;  // no ";": nothing any wait asks for
    if (IsImmediate(piece.command)) return HandleImmediate(piece);
    if (IsExtension(piece.command)) return HandleExtension(piece);
    if (!ClientMayWaitFor(piece.command)) return;
    if (!channel_.queue().Add({source, piece.command, piece.detail}))
        Reject(source, "more than " + std::to_string(MessageQueue::kMaxPerConnection) + " messages waiting");
}

void ClientSession::HandleImmediate(const Piece& p) {
    if (p.command == "Join") {
        HandleJoin(p.detail);
    } else if (p.command == "AddedPlayer") {
        const size_t semi = p.detail.find(';');
        if (semi == std::string::npos) return Reject(0, "AddedPlayer;" + p.detail);
        tell().PlayerAnnounced(TextFromWire(p.detail.substr(0, semi)), TextFromWire(p.detail.substr(semi + 1)));
    } else if (p.command == "Start") {
        HandleStart(p.detail);
    } else if (p.command == "Chat") {
        if (const auto chat = ParseSeatText(p.detail)) tell().ChatReceived(chat->seat, chat->text);
    } else if (p.command == "Disconnected") {
        HandleDisconnected(p.detail);
    }
}

void ClientSession::HandleQueued(const QueuedMessage& m) {
    if (m.Command == "Recived") return;
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
            if (!state().StopRequested) Reject(0, what);
        }
    }
}

void ClientSession::Reject(int source, const std::string& what) {
    tell().BadMessage(what);
    channel_.MarkDrained(source);
    if (game_) game_->EndHere();
    transport().Close(0);
}

void ClientSession::HandleJoin(const std::string& detail) {
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

void ClientSession::HandleExtension(const Piece& p) {
    if (p.command == "Hello") {
        if (!ackSent_ || !IsToken(p.detail)) return Reject(0, p.command + ";" + p.detail);
        dealerIsOurs_ = true;
        token_ = p.detail;
        return;
    }
    // The rest only from a Dealer that has shown it is ours.
    if (!dealerIsOurs_) return Reject(0, p.command + ";" + p.detail);
    HandleOurDealersNews(p);
}

void ClientSession::HandleOurDealersNews(const Piece& p) {
    const std::string what = p.command + ";" + p.detail;
    const GameState& s = state();
    if (p.command == "Roster") {
        const auto seats = ParseStart(p.detail);
        if (!seats) return Reject(0, what);
        // Asking for a seat back: the names go with the table that follows.
        if (!returnToken_.empty()) rosterNames_ = seats->names;
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
        tell().TableClosing(ParseNoticeDetail(p.detail));
    } else if (p.command == "Table") {
        HandleTable(p.detail);
    } else {
        Reject(0, what);  // "Return" is the client's own word
    }
}

void ClientSession::HandleTable(const std::string& detail) {
    auto table = ParseTable(detail);
    if (returnToken_.empty() || !table || table->seat != state().LocalSeat) return Reject(0, "Table;" + detail);
    returnToken_.clear();
    table->names = rosterNames_;
    // Whatever came before the table is in it already.
    channel_.queue().DropFrom(0);
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
}

void ClientSession::HandleStart(const std::string& detail) {
    const auto start = ParseStart(detail);
    if (!start) return Reject(0, "Start;" + detail);
    for (int seat = 1; seat <= 4; ++seat)
        game_->SetSeat(seat, start->names[static_cast<size_t>(seat)], start->kinds[static_cast<size_t>(seat)]);
    inGame_ = true;
    lastHeard_ = pump().Now();
    // Where the new game begins among the messages: what comes before it
    // belongs to the last game, which this machine may still be finishing.
    channel_.queue().Add({0, "Start", ""});
    // A game that waits for this machine's own person will hear nothing more
    // of the Dealer: it was abandoned, and ends here too.
    if (game_->Running() && game_->WaitsForLocalPerson()) game_->Request(Command::Start);
    tell().StartReceived();
}

void ClientSession::HandleDisconnected(const std::string& detail) {
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
    // The plate shows the computer before the news is told.
    game_->view().RefreshPage();
    game_->view().Announce(SeatNewsFrom(kind, lost->seat, state().Seats[lost->seat].Name, lost->text));
}

double ClientSession::Housekeep() {
    if (!dealerIsOurs_ || !inGame_ || toldSilent_ || !transport().IsConnected(0)) return kForever;
    const double due = lastHeard_ + kDealerSilence;
    if (pump().Now() < due) return due;
    toldSilent_ = true;
    tell().DealerSilent(pump().Now() - lastHeard_);
    return kForever;
}

void ClientSession::SendChat(const std::string& line) {
    // A "|" would end the message early on every machine: the line ends there.
    const std::string text = line.substr(0, line.find('|'));
    if (text.empty() || !game_) return;
    transport().Send(0, Message("Chat", std::to_string(state().LocalSeat) + ";" + text));
}

} // namespace zarv::net
