#include "net/lobby_client.h"

#include <algorithm>

#include "engine/card.h"
#include "net/wire.h"

namespace zarv::net {

void LobbyClient::Send(const std::string& command, const std::string& detail) {
    transport_.Send(0, Message(command, detail));
}

void LobbyClient::OnConnected() {
    connected = true;
    // An acknowledgement any Dealer may receive and leave unread: only a
    // table server answers it.
    Send("Recived", kLobbyAsk);
}

void LobbyClient::OnConnectFailed(const std::string& why) {
    failed = true;
    failure = why;
    if (onNews) onNews();
}

void LobbyClient::OnClosed(int index) {
    closed = closed || index == 0;
    if (onNews) onNews();
}

void LobbyClient::OnData(int, std::string_view bytes) {
    for (const Piece& piece : framer_.Feed(bytes)) Handle(piece);
    if (framer_.overflowed()) transport_.Close(0);
    if (onNews) onNews();
}

void LobbyClient::Make(const MakeRequest& request) {
    Send("LobbyMake", MakeText(request, ratingsAgreed, levelsAgreed));
}
void LobbyClient::Sit(int table, int seat, const std::string& password) {
    Send("LobbySit", SitText({table, seat, password}));
}
void LobbyClient::Watch(int table, const std::string& password) {
    Send("LobbyWatch", std::to_string(table) + ";" + password);
}
void LobbyClient::List() { Send("LobbyList", ""); }
void LobbyClient::AskTop() {
    top.clear();
    topListed = false;
    Send("LobbyTop", "");
}
void LobbyClient::Start(int table) { Send("LobbyStart", std::to_string(table)); }
void LobbyClient::Leave() { Send("LobbyLeave", ""); }
void LobbyClient::Register(const std::string& name, const std::string& password) { Send("LobbyRegister", name + ";" + password); }
void LobbyClient::SignIn(const std::string& name, const std::string& password) { Send("LobbySignIn", name + ";" + password); }
void LobbyClient::Resume(const std::string& name, const std::string& token) { Send("LobbyResume", name + ";" + token); }
void LobbyClient::SignOut() { Send("LobbySignOut", ""); }
void LobbyClient::ChangePassword(const std::string& oldPassword, const std::string& newPassword) {
    Send("LobbyPassword", oldPassword + ";" + newPassword);
}
void LobbyClient::DeleteAccount(const std::string& password) { Send("LobbyDeleteAccount", password); }

std::optional<int> LobbyClient::TableNamed(const std::string& name) const {
    for (const auto& [id, table] : tables)
        if (table.name == name) return id;
    return std::nullopt;
}

void LobbyClient::Handle(const Piece& p) {
    if (p.command == "Lobby") {
        if (lobbyVersion > 0) return;  // one answer a connection
        lobbyVersion = std::max(1, ParseCount(p.detail).value_or(1));
        // Shows that this program reads notices by their codes. The answer
        // comes before any other (the server answers in order); a server that
        // does not know the request refuses it, and the words stay words.
        noticesAsked_ = true;
        Send("LobbyNotices", "1");
        // And that it shows ratings: answered next, in the same way.
        ratingsAsked_ = true;
        Send("LobbyRatings", "1");
        // And that it knows the four computer levels.
        levelsAsked_ = true;
        Send("LobbyLevels", "1");
    } else if (p.command == "TableIs") {
        // A server lists what it has; a list without end is not believed.
        if (const auto line = ParseTableLine(p.detail); line && (tables.count(line->id) || tables.size() < kMaxTables))
            tables[line->id] = *line;
    } else if (p.command == "TableGone") {
        if (const auto id = ParseCount(p.detail)) tables.erase(*id);
    } else if (p.command == "ListEnd") {
        listed = true;
    } else if (p.command == "LobbyNo") {
        Refused(p.detail);
    } else if (p.command == "LobbyOk") {
        Done(p.detail);
    } else if (p.command == "Seen") {
        if (onSeen) onSeen(Message(p.command, p.detail));
        Seen(p.detail);
    } else if (p.command == "Top") {
        if (const auto line = ParseTopLine(p.detail); line && top.size() < 10) top.push_back(*line);
    } else if (p.command == "TopEnd") {
        topListed = true;
    } else if (p.command == "Closing") {
        tableClosed = true;
        closingNotice = noticesAgreed ? ParseNoticeDetail(p.detail) : RecognizeNotice(p.detail);
        closingWords = closingNotice.words;
    }
}

void LobbyClient::Refused(const std::string& detail) {
    if (noticesAsked_) {
        noticesAsked_ = false;  // a server that reads no codes: nothing refused that the person asked
        return;
    }
    if (ratingsAsked_) {
        ratingsAsked_ = false;  // a server without ratings: the lines it sends are the older ones
        return;
    }
    if (levelsAsked_) {
        levelsAsked_ = false;  // a server with two levels: a table is Standard or Expert
        return;
    }
    refusalNotice = noticesAgreed ? ParseNoticeDetail(detail) : RecognizeNotice(detail);
    refusal = refusalNotice.words.empty() ? "refused" : refusalNotice.words;
}

void LobbyClient::Done(const std::string& detail) {
    const auto f = Fields(detail, ';');
    if (noticesAsked_ && f[0] == "Notices") {
        noticesAsked_ = false;
        noticesAgreed = true;
        return;
    }
    if (ratingsAsked_ && f[0] == "Ratings") {
        ratingsAsked_ = false;
        ratingsAgreed = true;
        return;
    }
    if (levelsAsked_ && f[0] == "Levels") {
        levelsAsked_ = false;
        levelsAgreed = true;
        return;
    }
    okWhat = std::string(f[0]);
    if (okWhat == "SignedIn" && f.size() == 3) {
        signedInAs = TextFromWire(f[1]);
        sessionToken = std::string(f[2]);
    } else if (okWhat == "Password" && f.size() == 2) {
        sessionToken = std::string(f[1]);
    } else if (okWhat == "SignedOut" || okWhat == "Deleted") {
        signedInAs.clear();
        sessionToken.clear();
    } else {
        okTable = f.size() > 1 ? ParseCount(f[1]).value_or(0) : 0;
        okSeat = f.size() > 2 ? ParseCount(f[2]).value_or(0) : 0;
    }
}

void LobbyClient::Seen(const std::string& detail) {
    const auto seen = ParseSeen(detail);
    if (!seen) return;
    const bool applied = watched.Apply(*seen);
    const std::string& kind = seen->what;
    if (applied && onTableNews && (kind == "Hand" || kind == "Trump" || kind == "Result" || kind == "GameOver"))
        onTableNews(*seen);
    const auto f = Fields(seen->detail, ';');
    auto number = [&](size_t k) { return k < f.size() ? ParseCount(f[k]).value_or(0) : 0; };
    const std::string& what = seen->what;
    if (what == "Hand") {
        tricks_ = teamA_ = teamB_ = 0;
        trick_.clear();
        if (out_) *out_ << "hand " << number(0) << " master " << number(1) << '\n';
    } else if (what == "Trump") {
        if (out_) *out_ << "trump " << (seen->detail == "-" ? std::string() : seen->detail) << '\n';
    } else if (what == "Tricks") {
        teamA_ = number(0);
        teamB_ = number(1);
        tricks_ = teamA_ + teamB_;
    } else if (what == "Card" && f.size() == 2) {
        trick_ += " " + std::string(f[0]) + ":" + std::string(f[1]);
    } else if (what == "Trick") {
        const int winner = number(0);
        ++(IsTeamA(winner) ? teamA_ : teamB_);
        if (out_) *out_ << "trick " << ++tricks_ << trick_ << " winner " << winner << '\n';
        trick_.clear();
    } else if (what == "Result") {
        if (out_) *out_ << "result team " << (IsTeamA(number(0)) ? 'A' : 'B') << " tricks " << teamA_ << '-' << teamB_
             << " points " << number(1) << " next-master " << number(2) << '\n';
    } else if (what == "GameOver") {
        ++gamesSeen;
        if (out_) *out_ << "game-over points " << number(0) << '-' << number(1) << '\n';
    } else if (what == "Chat" && f.size() >= 2) {
        const std::string text = seen->detail.substr(f[0].size() + 1);
        if (out_) *out_ << "chat " << f[0] << ' ' << text << '\n';
        if (onChat) onChat(number(0), text);
    } else if (what == "Closed") {
        tableClosed = true;
        closingNotice = RecognizeNotice(seen->detail);
        closingWords = seen->detail;
    }
    if (out_) out_->flush();
}

} // namespace zarv::net
