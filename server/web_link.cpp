#include "server/web_link.h"

#include <algorithm>
#include <optional>

#include "net/framing.h"
#include "net/lobby_wire.h"
#include "net/notice.h"
#include "net/wire.h"

namespace zarv::server {

using nlohmann::json;

namespace {

// A field of the browser's message, or nothing when it is missing or of another type.
std::optional<std::string> Text(const json& m, const char* key) {
    const auto it = m.find(key);
    if (it == m.end() || !it->is_string()) return std::nullopt;
    return it->get<std::string>();
}

std::optional<int> Whole(const json& m, const char* key, int min, int max) {
    const auto it = m.find(key);
    if (it == m.end() || !it->is_number_integer()) return std::nullopt;
    const auto value = it->get<long long>();
    if (value < min || value > max) return std::nullopt;
    return static_cast<int>(value);
}

bool Flag(const json& m, const char* key, bool fallback) {
    const auto it = m.find(key);
    return it != m.end() && it->is_boolean() ? it->get<bool>() : fallback;
}

json NoticeMessage(const char* type, const std::string& detail) {
    const net::NoticeText notice = net::ParseNoticeDetail(detail);
    return {{"t", type}, {"notice", static_cast<int>(notice.code)}, {"name", notice.name}, {"words", notice.words}};
}

json TableLineJson(const net::TableLine& t) {
    json seats = json::array();
    for (int seat = 1; seat <= 4; ++seat) {
        const size_t k = static_cast<size_t>(seat);
        const char* fill = t.fills[k] == net::SeatFill::Person ? "person" : t.fills[k] == net::SeatFill::Computer ? "computer" : "free";
        json place = {{"name", t.names[k]}, {"fill", fill}};
        // A registered person's rating, or that the person is a guest.
        if (t.marks[k] == "G")
            place["guest"] = true;
        else if (const auto rating = net::ParseCount(t.marks[k]); rating && !t.marks[k].empty())
            place["rating"] = *rating;
        seats.push_back(place);
    }
    return {{"id", t.id},           {"name", t.name},         {"playing", t.playing}, {"private", t.isPrivate},
            {"watchable", t.watchable}, {"watchers", t.watchers}, {"level", ai::LevelText(t.level)}, {"moveLimit", t.moveLimit},
            {"rated", t.rated},     {"seats", seats}};
}

// The level a browser asks for: "beginner", "standard", "expert" or "master";
// anything else is the Standard level.
ai::Level LevelOf(const json& m) {
    const auto text = Text(m, "level");
    return text ? ai::LevelFromText(*text).value_or(ai::Level::Standard) : ai::Level::Standard;
}

} // namespace

std::string Dumped(const json& message) { return message.dump(-1, ' ', false, json::error_handler_t::replace); }

std::string BadMessage(const std::string& why) { return Dumped(json{{"t", "bad"}, {"why", why}}); }

std::optional<size_t> Utf8Letters(std::string_view text) {
    size_t letters = 0;
    for (size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        const size_t length = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 0;
        if (length == 0 || i + length > text.size()) return std::nullopt;
        uint32_t code = length == 1 ? c : c & (0x7F >> length);
        for (size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) return std::nullopt;
            code = (code << 6) | (next & 0x3F);
        }
        // The shortest form only, and no surrogate halves or code past U+10FFFF.
        static constexpr uint32_t kLeast[5] = {0, 0, 0x80, 0x800, 0x10000};
        if (code < kLeast[length] || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF) return std::nullopt;
        i += length;
        ++letters;
    }
    return letters;
}

bool IsPlayerName(std::string_view name) {
    if (name.empty() || !net::IsLobbyText(name, net::kMaxPlayerName) || !Utf8Letters(name)) return false;
    return std::any_of(name.begin(), name.end(), [](char c) { return c != ' '; });
}

WebLink::Out WebLink::FromBrowser(std::string_view frame) {
    Out out;
    if (frame.size() > kMaxWebMessage) {
        out.toBrowser.push_back(BadMessage("tooLong"));
        out.close = true;
        return out;
    }
    const json m = json::parse(frame, nullptr, false);
    const auto type = m.is_object() ? Text(m, "t") : std::nullopt;
    if (!type) {
        out.toBrowser.push_back(BadMessage("notJson"));
        // A connection that does not begin with a greeting is no page of ours.
        out.close = stage_ == Stage::New;
        return out;
    }
    if (stage_ == Stage::New) {
        Hello(m, out);
    } else if (stage_ == Stage::Table) {
        TableRequest(*type, m, out);
    } else {
        LobbyRequest(*type, m, out);
    }
    return out;
}

void WebLink::Hello(const json& m, Out& out) {
    const auto type = Text(m, "t");
    if (Whole(m, "v", 0, 1'000'000) != kWebVersion) {
        // A page of another version: the browser loads the server's own.
        out.toBrowser.push_back(Dumped(json{{"t", "reload"}, {"v", kWebVersion}}));
        out.close = true;
        return;
    }
    const auto token = Text(m, "token");
    if (type == "back" && token && net::IsToken(*token)) {
        stage_ = Stage::Table;
        out.toLobby = net::Message("Return", *token);
        return;
    }
    const auto name = Text(m, "name");
    if (type != "hello" || !name || !IsPlayerName(*name)) {
        out.toBrowser.push_back(BadMessage("hello"));
        out.close = true;
        return;
    }
    name_ = guestName_ = *name;
    stage_ = Stage::Lobby;
    out.toLobby = net::Message("Recived", net::kLobbyAsk) + net::Message("LobbyNotices", "1") +
                  net::Message("LobbyRatings", "1") + net::Message("LobbyLevels", "1") + net::Message("LobbyGuest", name_) + net::Message("LobbyList", "") +
                  net::Message("LobbyTop", "");
}

void WebLink::LobbyRequest(const std::string& type, const json& m, Out& out) {
    const auto table = Whole(m, "table", 1, 1'000'000'000);
    const std::string password = Text(m, "password").value_or("");
    if (!net::IsLobbyText(password, net::kMaxPassword)) return out.toBrowser.push_back(BadMessage("password"));
    if (type == "make") {
        net::MakeRequest make;
        make.name = Text(m, "name").value_or("");
        make.password = password;
        make.level = LevelOf(m);
        make.moveLimit = Whole(m, "moveLimit", 0, 600).value_or(60);
        make.watchable = Flag(m, "watchable", true);
        make.rated = Flag(m, "rated", true);
        if (!net::IsLobbyText(make.name, net::kMaxTableName) || !Utf8Letters(make.name))
            return out.toBrowser.push_back(BadMessage("tableName"));
        out.toLobby = net::Message("LobbyMake", net::MakeText(make, true, true));
    } else if (type == "sit" && table) {
        const int seat = Whole(m, "seat", 1, 4).value_or(0);
        out.toLobby = net::Message("LobbySit", net::SitText({*table, seat, password}));
    } else if (type == "watch" && table && stage_ == Stage::Lobby) {
        out.toLobby = net::Message("LobbyWatch", std::to_string(*table) + ";" + password);
    } else if (type == "leave" && stage_ == Stage::Watching) {
        out.toLobby = net::Message("LobbyLeave", "");
    } else if (type == "start" && table) {
        out.toLobby = net::Message("LobbyStart", std::to_string(*table));
    } else if (type == "playNow" && stage_ == Stage::Lobby) {
        out.toLobby = net::Message("LobbyPlayNow", std::string(1, "SEBM"[static_cast<int>(LevelOf(m))]));
    } else if (type == "list") {
        out.toLobby = net::Message("LobbyList", "") + net::Message("LobbyTop", "");
    } else if (stage_ == Stage::Lobby && AccountRequest(type, m, out)) {
    } else {
        out.toBrowser.push_back(BadMessage("unknown"));
    }
}

bool WebLink::AccountRequest(const std::string& type, const json& m, Out& out) {
    // Names and passwords the lobby cannot carry are the lobby's to refuse
    // in words; only its separators are kept out here.
    auto field = [&](const char* key) {
        std::string text = Text(m, key).value_or("");
        return net::IsLobbyText(text, net::kMaxPassword + 16) ? text : std::string();
    };
    if (type == "register" || type == "signIn")
        out.toLobby = net::Message(type == "register" ? "LobbyRegister" : "LobbySignIn", field("name") + ";" + field("password"));
    else if (type == "resume")
        out.toLobby = net::Message("LobbyResume", field("name") + ";" + field("token"));
    else if (type == "signOut")
        out.toLobby = net::Message("LobbySignOut", "");
    else if (type == "changePassword")
        out.toLobby = net::Message("LobbyPassword", field("old") + ";" + field("new"));
    else if (type == "deleteAccount")
        out.toLobby = net::Message("LobbyDeleteAccount", field("password"));
    else
        return false;
    return true;
}

void WebLink::TableRequest(const std::string& type, const json& m, Out& out) {
    if (type == "play") {
        const auto card = Text(m, "card");
        if (!card || !CardCode::Parse(*card)) return out.toBrowser.push_back(Dumped(json{{"t", "refused"}, {"reason", "noSuchCard"}}));
        out.toLobby = net::Message("WebPlay", *card);
    } else if (type == "trump") {
        const auto suit = Text(m, "suit");
        if (!suit || suit->size() != 1 || !IsSuitLetter((*suit)[0]))
            return out.toBrowser.push_back(Dumped(json{{"t", "refused"}, {"reason", "noSuchSuit"}}));
        out.toLobby = net::Message("WebTrump", *suit);
    } else if (type == "chat") {
        std::string text = Text(m, "text").value_or("");
        std::replace_if(text.begin(), text.end(), [](char c) { return c == '|' || static_cast<unsigned char>(c) < 0x20; }, ' ');
        const auto letters = Utf8Letters(text);
        if (!letters || *letters == 0 || *letters > kMaxChatLetters) return out.toBrowser.push_back(BadMessage("chat"));
        out.toLobby = net::Message("WebChat", text);
    } else if (type == "hint") {
        out.toLobby = net::Message("WebHint", "");
    } else if (type == "review") {
        out.toLobby = net::Message("WebReview", "");
    } else if (type == "again") {
        out.toLobby = net::Message("WebAgain", "");
    } else if (type == "start") {
        const auto table = Whole(m, "table", 1, 1'000'000'000);
        if (table) out.toLobby = net::Message("LobbyStart", std::to_string(*table));
    } else {
        out.toBrowser.push_back(BadMessage("unknown"));
    }
}

WebLink::Out WebLink::FromLobby(std::string_view text) {
    Out out;
    pending_.append(text);
    size_t start = 0;
    for (size_t end; (end = pending_.find('|', start)) != std::string::npos; start = end + 1) {
        const net::Piece p = net::SplitPiece(std::string_view(pending_).substr(start, end - start));
        LobbyAnswer(p.command, p.detail, out);
    }
    pending_.erase(0, start);
    return out;
}

void WebLink::LobbyAnswer(const std::string& command, const std::string& detail, Out& out) {
    if (command == "Lobby") {
        out.toBrowser.push_back(Dumped(json{{"t", "welcome"}, {"v", kWebVersion}, {"name", name_}}));
    } else if (command == "LobbyOk") {
        Ok(detail, out);
    } else if (command == "LobbyNo") {
        out.toBrowser.push_back(Dumped(NoticeMessage("no", detail)));
    } else if (command == "Join") {
        // Refused at the door: a name seated elsewhere, a seat not to be taken back.
        out.toBrowser.push_back(Dumped(NoticeMessage("no", detail.size() > 2 ? detail.substr(2) : std::string())));
    } else if (command == "Closing") {
        out.toBrowser.push_back(Dumped(NoticeMessage("closing", detail)));
    } else if (command == "TableIs") {
        if (const auto line = net::ParseTableLine(detail))
            out.toBrowser.push_back(Dumped(json{{"t", "lobbyTable"}, {"table", TableLineJson(*line)}}));
    } else if (command == "ListEnd") {
        out.toBrowser.push_back(Dumped(json{{"t", "listed"}}));
    } else if (command == "TableGone") {
        if (const auto id = net::ParseCount(detail)) out.toBrowser.push_back(Dumped(json{{"t", "lobbyGone"}, {"id", *id}}));
    } else if (command == "Top") {
        if (const auto t = net::ParseTopLine(detail))
            top_.push_back({{"rank", t->rank}, {"name", t->name}, {"games", t->games}, {"wins", t->wins},
                            {"rating", t->rating}, {"deviation", t->deviation}});
    } else if (command == "TopEnd") {
        out.toBrowser.push_back(Dumped(json{{"t", "top"}, {"list", top_}}));
        top_ = json::array();
    }
}

void WebLink::Ok(const std::string& detail, Out& out) {
    const auto f = net::Fields(detail, ';');
    const std::string what(f.empty() ? std::string_view() : f[0]);
    const int table = f.size() > 1 ? net::ParseCount(f[1]).value_or(0) : 0;
    if (what == "Made") {
        out.toBrowser.push_back(Dumped(json{{"t", "made"}, {"table", table}}));
    } else if (what == "Sit") {
        const int seat = f.size() > 2 ? net::ParseCount(f[2]).value_or(0) : 0;
        // The seat is kept for this connection: it asks for it at once.
        stage_ = Stage::Table;
        out.toLobby = net::Message("Connect", name_ + ";" + net::SideWord(seat));
        out.toBrowser.push_back(Dumped(json{{"t", "sitting"}, {"table", table}, {"seat", seat}}));
    } else if (what == "Watch") {
        stage_ = Stage::Watching;
        out.toBrowser.push_back(Dumped(json{{"t", "watching"}, {"table", table}}));
    } else if (what == "Leave") {
        stage_ = Stage::Lobby;
        out.toBrowser.push_back(Dumped(json{{"t", "left"}}));
    } else if (what == "Start") {
        out.toBrowser.push_back(Dumped(json{{"t", "started"}, {"table", table}}));
    } else if (what == "SignedIn" && f.size() == 3) {
        // From now on it sits under the account's name.
        name_ = std::string(f[1]);
        out.toBrowser.push_back(Dumped(json{{"t", "signedIn"}, {"name", name_}, {"token", std::string(f[2])}}));
    } else if (what == "Password" && f.size() == 2) {
        out.toBrowser.push_back(Dumped(json{{"t", "passwordChanged"}, {"token", std::string(f[1])}}));
    } else if (what == "SignedOut" || what == "Deleted") {
        name_ = guestName_;
        out.toBrowser.push_back(Dumped(json{{"t", what == "Deleted" ? "accountDeleted" : "signedOut"}, {"name", name_}}));
    }
}

std::vector<std::string> WebLink::FromTable(std::string_view lines) {
    std::vector<std::string> frames;
    size_t start = 0;
    for (size_t end; (end = lines.find('\n', start)) != std::string_view::npos; start = end + 1)
        if (end > start) frames.emplace_back(lines.substr(start, end - start));
    return frames;
}

} // namespace zarv::server
