#include "tools/lobby_client.h"

#include "engine/card.h"
#include "net/wire.h"

namespace zarv::sim {

void LobbyClient::Send(const std::string& command, const std::string& detail) {
    transport_.Send(0, net::Message(command, detail));
}

void LobbyClient::OnConnected() {
    connected = true;
    // An acknowledgement any Dealer may receive and leave unread: only a
    // table server answers it.
    Send("Recived", net::kLobbyAsk);
}

void LobbyClient::OnConnectFailed(const std::string& why) {
    failed = true;
    failure = why;
}

void LobbyClient::OnClosed(int index) { closed = closed || index == 0; }

void LobbyClient::OnData(int, std::string_view bytes) {
    for (const net::Piece& piece : framer_.Feed(bytes)) Handle(piece);
    if (framer_.overflowed()) transport_.Close(0);
}

void LobbyClient::Make(const net::MakeRequest& request) { Send("LobbyMake", net::MakeText(request)); }
void LobbyClient::Sit(int table, int seat, const std::string& password) {
    Send("LobbySit", net::SitText({table, seat, password}));
}
void LobbyClient::Watch(int table, const std::string& password) {
    Send("LobbyWatch", std::to_string(table) + ";" + password);
}
void LobbyClient::List() { Send("LobbyList", ""); }

std::optional<int> LobbyClient::TableNamed(const std::string& name) const {
    for (const auto& [id, table] : tables)
        if (table.name == name) return id;
    return std::nullopt;
}

void LobbyClient::Handle(const net::Piece& p) {
    if (p.command == "Lobby") {
        lobbyVersion = net::ParseCount(p.detail).value_or(1);
    } else if (p.command == "TableIs") {
        if (const auto line = net::ParseTableLine(p.detail)) tables[line->id] = *line;
    } else if (p.command == "TableGone") {
        if (const auto id = net::ParseCount(p.detail)) tables.erase(*id);
    } else if (p.command == "ListEnd") {
        listed = true;
    } else if (p.command == "LobbyNo") {
        refusal = p.detail.empty() ? "refused" : p.detail;
    } else if (p.command == "LobbyOk") {
        const auto f = net::Fields(p.detail, ';');
        okWhat = std::string(f[0]);
        okTable = f.size() > 1 ? net::ParseCount(f[1]).value_or(0) : 0;
        okSeat = f.size() > 2 ? net::ParseCount(f[2]).value_or(0) : 0;
    } else if (p.command == "Seen") {
        if (onSeen) onSeen(net::Message(p.command, p.detail));
        Seen(p.detail);
    } else if (p.command == "Closing") {
        tableClosed = true;
        closingWords = p.detail;
    }
}

void LobbyClient::Seen(const std::string& detail) {
    const auto seen = net::ParseSeen(detail);
    if (!seen) return;
    const auto f = net::Fields(seen->detail, ';');
    auto number = [&](size_t k) { return k < f.size() ? net::ParseCount(f[k]).value_or(0) : 0; };
    const std::string& what = seen->what;
    if (what == "Hand") {
        tricks_ = teamA_ = teamB_ = 0;
        trick_.clear();
        out_ << "hand " << number(0) << " master " << number(1) << '\n';
    } else if (what == "Trump") {
        out_ << "trump " << (seen->detail == "-" ? std::string() : seen->detail) << '\n';
    } else if (what == "Tricks") {
        teamA_ = number(0);
        teamB_ = number(1);
        tricks_ = teamA_ + teamB_;
    } else if (what == "Card" && f.size() == 2) {
        trick_ += " " + std::string(f[0]) + ":" + std::string(f[1]);
    } else if (what == "Trick") {
        const int winner = number(0);
        ++(IsTeamA(winner) ? teamA_ : teamB_);
        out_ << "trick " << ++tricks_ << trick_ << " winner " << winner << '\n';
        trick_.clear();
    } else if (what == "Result") {
        out_ << "result team " << (IsTeamA(number(0)) ? 'A' : 'B') << " tricks " << teamA_ << '-' << teamB_
             << " points " << number(1) << " next-master " << number(2) << '\n';
    } else if (what == "GameOver") {
        ++gamesSeen;
        out_ << "game-over points " << number(0) << '-' << number(1) << '\n';
    } else if (what == "Chat" && f.size() >= 2) {
        out_ << "chat " << f[0] << ' ' << seen->detail.substr(f[0].size() + 1) << '\n';
    } else if (what == "Closed") {
        tableClosed = true;
        closingWords = seen->detail;
    }
    out_.flush();
}

} // namespace zarv::sim
