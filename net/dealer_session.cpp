#include "net/dealer_session.h"

#include <cmath>
#include <cstdio>
#include <random>

#include "net/wire.h"

namespace zarv::net {

bool DealerSession::IsConnected(int index) const {
    // In a game, the Dealer's game speaks only to seated players: a player at
    // the door (coming back, or a stranger) hears nothing of it until seated.
    if (!accepting_ && index >= 1) {
        const auto it = players_.find(index);
        if (it == players_.end() || it->second.seat == 0) return false;
    }
    return NetworkSession::IsConnected(index);
}

void DealerSession::CloseAll() {
    // Our clients hear that the Dealer ends the table on purpose, so that
    // they do not try to come back to it.
    for (auto& [index, p] : players_)
        if (p.ours && p.seat > 0) SendText(index, Message("Closing", NoticeDetail(MakeNotice(Notice::DealerClosedTable))));
    transport().CloseAll();
}

void DealerSession::OnAccepted(int index) {
    Call call(depth_);
    players_[index].acceptedAt = pump().Now();
    if (game_) game_->SetRole(true);
    // Once the game has started, a new connection may only be a player coming
    // back; anyone else is refused when asking, or closed after a time.
}

void DealerSession::OnClosed(int index) {
    Call call(depth_);
    // A player who leaves the lobby gives the seat back.
    if (accepting_) {
        const auto it = players_.find(index);
        if (it != players_.end() && it->second.seat > 0) LeaveLobby(index);
    }
    tell().ConnectionClosed(index);
}

void DealerSession::Arrive(int source, Piece piece) {
    if (!piece.wellFormed || !game_) return;  // no ";": nothing any wait asks for
    if (IsImmediate(piece.command)) {
        // A client has no business sending the others.
        if (piece.command == "Connect") HandleConnect(source, piece.detail);
        if (piece.command == "Chat") HandleChat(source, piece.detail);
        return;
    }
    Player& p = players_[source];
    if (piece.command == "Recived" && piece.detail == kExtensionAck) return HandleHello(source);
    if (piece.command == "Return") return HandleReturn(source, piece.detail);
    if (p.stale) {
        // Sent for the game that was stopped: nothing waits for it now.
        if (piece.command != "Recived" || piece.detail != "HandIs") return;
        p.stale = false;
    }
    // Only a seated player's messages can be asked for, and only the moves of its own seat.
    if (!DealerMayWaitFor(piece.command) || p.seat == 0) return;
    const int moveSeat = MoveSeat(piece.command);
    if (moveSeat > 0 && moveSeat != p.seat) return Reject(source, piece.command + ";" + piece.detail);
    if (!channel_.queue().Add({source, piece.command, piece.detail}))
        Reject(source, "more than " + std::to_string(MessageQueue::kMaxPerConnection) + " messages waiting");
}

void DealerSession::HandleQueued(const QueuedMessage& m) {
    if (m.Command == "MasterCardIs") HandleClientTrump(m);
    if (MoveSeat(m.Command) > 0) HandleClientMove(m);
}

void DealerSession::Reject(int source, const std::string& what) {
    tell().BadMessage(what);
    channel_.MarkDrained(source);
    // Dropped with its connection: the seat goes to the computer, as for a
    // lost player, and nobody waits for a reply that never comes. A player
    // that broke the rules does not get the seat back.
    const int seat = players_[source].seat;
    if (seat >= 1 && seat <= 4) tokens_[static_cast<size_t>(seat)].clear();
    channel_.queue().DropFrom(source);
    transport().Close(source);
}

void DealerSession::HandleConnect(int source, const std::string& detail) {
    Player& p = players_[source];
    if (p.askedForSeat) return;  // one seat a connection
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
    // The seat chosen for it, in the words of the side it asked for when that is where it would sit anyway.
    if (const int chosen = p.preferredSeat; chosen > 0 && chosen != reply.code && !taken[static_cast<size_t>(chosen)]) {
        // The chosen seat, with the words the protocol has for it.
        std::array<bool, 5> others{true, true, true, true, true};
        others[static_cast<size_t>(chosen)] = false;
        reply = AssignSeat(SideWord(chosen), others);
    }
    if (reply.code == 3) return Refuse(source);

    game_->GiveSeat(reply.code, request->name, source);
    p.askedForSeat = true;
    p.seat = reply.code;
    ++seated_;
    SendText(source, Message("Join", std::to_string(reply.code) + ";" + reply.text));
    tell().PlayerJoined(source, reply.code, request->name, reply.word);
    TellOthersOfNewcomer(source, request->name, reply.code);
}

void DealerSession::TellOthersOfNewcomer(int source, const std::string& name, int seat) {
    // With the word seen from their own seat; the newcomer does not hear of
    // them (ours get the whole table).
    for (auto& [index, other] : players_) {
        if (index == source || other.seat == 0 || !transport().IsConnected(index)) continue;
        if (other.ours)
            SendRoster(index);
        else
            SendText(index, Message("AddedPlayer", name + ";" + SideWord(seat, other.seat)));
    }
}

void DealerSession::HandleHello(int source) {
    Player& p = players_[source];
    if (p.seat == 0 || p.ours) return;
    p.ours = true;
    std::random_device device;
    std::string token;
    for (int i = 0; i < 4; ++i) {
        char part[9];
        std::snprintf(part, sizeof part, "%08x", static_cast<unsigned>(device()));
        token += part;
    }
    tokens_[static_cast<size_t>(p.seat)] = token;
    SendText(source, Message("Hello", token));
    tell().TokenGiven(source, p.seat, token);
    SendRoster(source);
}

void DealerSession::SendRoster(int index) {
    std::array<SeatRecord, 5> seats = state().Seats;
    if (seats[3].Name.empty()) seats[3].Name = state().PlayerName;
    seats[3].Kind = SeatKind::Human;
    SendText(index, Message("Roster", StartText(seats)));
}

void DealerSession::LeaveLobby(int index) {
    Player& p = players_[index];
    const int seat = p.seat;
    const std::string name = state().Seats[seat].Name;
    p.seat = 0;
    tokens_[static_cast<size_t>(seat)].clear();
    --seated_;
    channel_.queue().DropFrom(index);
    game_->FreeSeat(seat);
    tell().PlayerLeft(index, seat, name);
    for (auto& [other, op] : players_) {
        if (other == index || op.seat == 0 || !transport().IsConnected(other)) continue;
        if (op.ours)
            SendRoster(other);
        else
            SendText(other, Message("Disconnected", SeatNewsText(TableEvent::About(TableEvent::Kind::SeatReplaced, seat, name))));
    }
}

void DealerSession::HandleReturn(int source, const std::string& detail) {
    Player& p = players_[source];
    if (p.askedForSeat) return;
    p.askedForSeat = true;
    if (accepting_) return RefuseReturn(source, "The Dealer has no game in progress; join it again.");
    int seat = 0;
    if (IsToken(detail))
        for (int k = 1; k <= 4; ++k)
            if (tokens_[static_cast<size_t>(k)] == detail) seat = k;
    if (seat == 0) return RefuseReturn(source, "That seat is not yours to take back.");
    p.ours = true;
    // A second try of the same player replaces the first.
    for (auto it = returns_.begin(); it != returns_.end();) {
        if (it->seat == seat) {
            transport().Close(it->connection);
            it = returns_.erase(it);
        } else {
            ++it;
        }
    }
    returns_.push_back({seat, source});
}

void DealerSession::RefuseReturn(int source, const std::string& why) {
    SendText(source, Message("Join", "3;" + why));
    transport().Close(source);
}

std::optional<Network::ReturningPlayer> DealerSession::TakeReturn() {
    while (!returns_.empty()) {
        const ReturningPlayer back = returns_.front();
        returns_.pop_front();
        if (transport().IsConnected(back.connection)) return back;
    }
    return std::nullopt;
}

void DealerSession::WelcomeBack(const ReturningPlayer& player, const TableSnapshot& table, const std::string& name) {
    Player& p = players_[player.connection];
    p.seat = player.seat;
    p.ours = true;
    p.stale = false;
    // Who sits where first: a program started again knows nobody's name.
    SendRoster(player.connection);
    SendText(player.connection, Message("Table", TableText(table)));
    SendWaiting(player.connection);
    // Ours hear it as a return; a program of the original protocol knows no
    // such message, and shows the words of a "Disconnected" (the seat stays
    // a computer's seat to it, which it is as far as it can tell).
    const std::string detail = SeatNewsText(TableEvent::About(TableEvent::Kind::PlayerBack, player.seat, name));
    for (auto& [index, other] : players_) {
        if (index == player.connection || other.seat == 0 || !transport().IsConnected(index)) continue;
        SendText(index, Message(other.ours ? "Back" : "Disconnected", detail));
    }
}

void DealerSession::GameStarting() {
    for (auto& [index, p] : players_) {
        channel_.queue().DropFrom(index);
        p.stale = p.seat > 0;
    }
}

void DealerSession::AwaitingSeat(int seat, double secondsLeft) {
    awaitedSeat_ = seat;
    awaitedUntil_ = seat > 0 && secondsLeft > 0 ? pump().Now() + secondsLeft : 0;
    for (auto& [index, p] : players_)
        if (p.ours && p.seat > 0) SendWaiting(index);
}

void DealerSession::SendWaiting(int index) {
    int seconds = 0;
    if (awaitedSeat_ > 0 && awaitedUntil_ > 0) seconds = std::max(1, static_cast<int>(std::ceil(awaitedUntil_ - pump().Now())));
    SendText(index, Message("Waiting", std::to_string(awaitedSeat_) + ";" + std::to_string(seconds)));
}

void DealerSession::Refuse(int index) {
    players_[index].askedForSeat = true;
    tell().JoinRefused(index, accepting_ ? "every seat is taken" : "the game has started");
    SendText(index, Message("Join", std::string("3;") + kRefusal));
    transport().Close(index);  // after the refusal has been written out
}

void DealerSession::HandleClientTrump(const QueuedMessage& m) {
    const GameState& s = state();
    const int seat = players_[m.Source].seat;
    if (seat != s.MasterPlayer || s.Trump != kNoSuit || m.Detail.size() != 1 || !IsSuitLetter(m.Detail[0]))
        return Reject(m.Source, "MasterCardIs;" + m.Detail);
    for (int i = 1; i < transport().ElementCount(); ++i)
        SendText(i, i == m.Source ? Message("Recived", "MasterCardIs") : Message("MasterCardIs", m.Detail));
    game_->TakeTrump(m.Detail[0]);
}

void DealerSession::HandleClientMove(const QueuedMessage& m) {
    const int seat = MoveSeat(m.Command);
    const auto card = CardCode::Parse(m.Detail);
    if (seat != players_[m.Source].seat || !card || !game_->IsLegalCard(seat, *card))
        return Reject(m.Source, m.Command + ";" + m.Detail);
    SendText(m.Source, Message("Recived", m.Command));
    game_->PlaySeatCard(seat, *card, CardOrigin::RemotePerson);  // passes it on to the others
}

void DealerSession::HandleChat(int source, const std::string& detail) {
    const auto chat = ParseSeatText(detail);
    // Only a seated player, and only as its own seat.
    if (!chat || chat->seat != players_[source].seat) return;
    for (int i = 1; i < transport().ElementCount(); ++i)
        if (i != source) SendText(i, Message("Chat", detail));
    tell().ChatReceived(chat->seat, chat->text);
}

void DealerSession::SendChat(const std::string& line) {
    // A "|" would end the message early on every machine: the line ends there.
    const std::string text = line.substr(0, line.find('|'));
    if (text.empty() || !game_) return;
    const std::string message = Message("Chat", std::to_string(state().LocalSeat) + ";" + text);
    for (int i = 1; i < transport().ElementCount(); ++i) SendText(i, message);
}

void DealerSession::PreferSeat(int index, int seat) {
    if (seat == 1 || seat == 2 || seat == 4) players_[index].preferredSeat = seat;
}

void DealerSession::SendToOurs(const std::string& text) {
    for (auto& [index, p] : players_)
        if (p.ours && p.seat > 0 && transport().IsConnected(index)) SendText(index, text);
}

bool DealerSession::IsOurs(int index) const {
    const auto it = players_.find(index);
    return it != players_.end() && it->second.ours;
}

void DealerSession::StopAccepting() {
    accepting_ = false;
    for (auto& [index, p] : players_)
        if (p.seat == 0 && transport().IsConnected(index)) transport().Close(index);
}

double DealerSession::Housekeep() {
    const double now = pump().Now();
    double next = kForever;
    for (auto& [index, p] : players_) {
        if (!transport().IsConnected(index)) continue;
        if (!p.askedForSeat) {
            const double due = p.acceptedAt + kConnectTimeout;
            if (now >= due)
                transport().Close(index);
            else
                next = std::min(next, due);
            continue;
        }
        // In a game, our clients hear from the Dealer at least this often.
        if (p.ours && p.seat > 0 && !accepting_) {
            const double lastSent = channel_.lastSent(index);
            if (now >= lastSent + kHeartbeat) SendWaiting(index);
            next = std::min(next, channel_.lastSent(index) + kHeartbeat);
        }
    }
    return next;
}

} // namespace zarv::net
