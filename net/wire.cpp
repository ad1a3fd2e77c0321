#include "net/wire.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace zarv::net {

namespace {
std::string_view Trim(std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}
} // namespace

const char* const kRefusal = "All Positions are ingaged, please try later.";  // Notice::TableFull

std::string Message(std::string_view command, std::string_view detail) {
    std::string text;
    text.reserve(command.size() + detail.size() + 2);
    text.append(command).append(1, ';').append(detail).append(1, kEnd);
    return text;
}

int MoveSeat(std::string_view command) {
    if (command.size() == 6 && command.substr(0, 5) == "IMove" && command[5] >= '1' && command[5] <= '4')
        return command[5] - '0';
    return 0;
}

bool IsImmediate(std::string_view c) {
    return c == "Connect" || c == "Start" || c == "Chat" || c == "Disconnected" || c == "AddedPlayer" || c == "Join";
}

bool DealerMayWaitFor(std::string_view c) { return c == "Recived" || c == "MasterCardIs" || MoveSeat(c) > 0; }

bool ClientMayWaitFor(std::string_view c) {
    return c == "Recived" || c == "HandIs" || c == "MasterPlayerIs" || c == "MasterCardIs" || MoveSeat(c) > 0;
}

std::optional<std::array<CardCode, 52>> DecodeDeal(std::string_view detail) {
    if (detail.size() != 156) return std::nullopt;
    std::array<CardCode, 52> deal;
    std::array<bool, 128> seen{};  // index: suit letter's rank slot
    for (int i = 0; i < 52; ++i) {
        const auto code = CardCode::Parse(Trim(detail.substr(static_cast<size_t>(3 * i), 3)));
        if (!code) return std::nullopt;
        const int key = (code->suit == 'g' ? 0 : code->suit == 'p' ? 1 : code->suit == 'h' ? 2 : 3) * 16 + code->rank;
        if (seen[static_cast<size_t>(key)]) return std::nullopt;
        seen[static_cast<size_t>(key)] = true;
        deal[static_cast<size_t>(i)] = *code;
    }
    return deal;
}

JoinReply AssignSeat(std::string_view side, const std::array<bool, 5>& taken) {
    if (side == "Partner") {
        if (!taken[1]) return {1, "You play as Partner of Dealer.", "Partner"};
        if (!taken[2]) return {2, "Partner of Dealer position is ingaged, you must play against of Dealer.", "Against"};
        if (!taken[4]) return {4, "Partner of Dealer position is ingaged, you must play against of Dealer.", "Against"};
    } else {
        if (!taken[2]) return {2, "You play against of Dealer.", "Against"};
        if (!taken[4]) return {4, "You play against of Dealer.", "Against"};
        if (!taken[1]) return {1, "Against of Dealer position is ingaged, you'll play as Partner of Dealer.", "Partner"};
    }
    return {3, kRefusal, ""};
}

std::optional<ConnectRequest> ParseConnect(std::string_view detail) {
    const size_t semi = detail.find(';');
    if (semi == std::string_view::npos) return std::nullopt;
    ConnectRequest r;
    r.name = semi == 0 ? std::string("Unknown") : TextFromWire(detail.substr(0, semi));
    r.side = std::string(detail.substr(semi + 1));
    return r;
}

std::optional<StartSeats> ParseStart(std::string_view detail) {
    StartSeats start;
    for (int seat = 1; seat <= 4; ++seat) {
        const size_t a = detail.find(';');
        if (a == std::string_view::npos) return std::nullopt;
        const size_t b = detail.find(';', a + 1);
        if (b == std::string_view::npos) return std::nullopt;
        const auto kind = SeatKindFromText(detail.substr(a + 1, b - a - 1));
        if (!kind) return std::nullopt;
        start.names[seat] = TextFromWire(detail.substr(0, a));
        start.kinds[seat] = *kind;
        detail.remove_prefix(b + 1);
    }
    return start;
}

std::optional<SeatText> ParseSeatText(std::string_view detail) {
    if (detail.size() < 2 || detail[0] < '1' || detail[0] > '4' || detail[1] != ';') return std::nullopt;
    return SeatText{detail[0] - '0', TextFromWire(detail.substr(2))};
}

std::string TextFromWire(std::string_view bytes) {
    // Valid UTF-8 (no overlong forms, no surrogates, nothing above U+10FFFF)?
    size_t i = 0;
    bool valid = true;
    while (i < bytes.size() && valid) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        int extra = 0;
        unsigned min = 0, cp = 0;
        if (c < 0x80) {
            ++i;
            continue;
        } else if ((c & 0xE0) == 0xC0) {
            extra = 1, min = 0x80, cp = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            extra = 2, min = 0x800, cp = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            extra = 3, min = 0x10000, cp = c & 0x07;
        } else {
            valid = false;
            break;
        }
        if (i + static_cast<size_t>(extra) >= bytes.size()) {
            valid = false;
            break;
        }
        for (int k = 1; k <= extra; ++k) {
            const auto d = static_cast<unsigned char>(bytes[i + static_cast<size_t>(k)]);
            if ((d & 0xC0) != 0x80) valid = false;
            cp = (cp << 6) | (d & 0x3F);
        }
        if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) valid = false;
        i += static_cast<size_t>(extra) + 1;
    }
    if (valid) return std::string(bytes);
    std::string utf8;
    utf8.reserve(bytes.size() * 2);
    for (char ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x80) {
            utf8 += ch;
        } else {
            utf8 += static_cast<char>(0xC0 | (c >> 6));
            utf8 += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return utf8;
}

std::optional<HostPort> ParseHostPort(std::string_view text, NoticeText* error) {
    auto fail = [&](Notice why, std::string_view about) -> std::optional<HostPort> {
        if (error) *error = MakeNotice(why, std::string(about));
        return std::nullopt;
    };
    text = Trim(text);
    HostPort hp;
    std::string_view portText;
    if (!text.empty() && text[0] == '[') {
        const size_t close = text.find(']');
        if (close == std::string_view::npos) return fail(Notice::AddressLacksBracket, text);
        hp.host = std::string(text.substr(1, close - 1));
        if (close + 1 < text.size()) {
            if (text[close + 1] != ':') return fail(Notice::AddressNotBracketPort, text);
            portText = text.substr(close + 2);
            if (portText.empty()) return fail(Notice::AddressLacksPort, text);
        }
    } else if (std::count(text.begin(), text.end(), ':') == 1) {
        const size_t colon = text.find(':');
        hp.host = std::string(text.substr(0, colon));
        portText = text.substr(colon + 1);
        if (portText.empty()) return fail(Notice::AddressLacksPort, text);
    } else {
        hp.host = std::string(text);  // a name, an IPv4 address or a bare IPv6 address
    }
    if (hp.host.empty()) return fail(Notice::NoDealerName, {});
    if (!portText.empty()) {
        if (portText.size() > 5 || portText.find_first_not_of("0123456789") != std::string_view::npos)
            return fail(Notice::PortNotANumber, portText);
        hp.port = std::stoi(std::string(portText));
        if (hp.port < 1 || hp.port > 65535) return fail(Notice::PortNotANumber, portText);
    }
    return hp;
}

std::optional<LostPlayer> ParseDisconnected(std::string_view detail) {
    auto seatText = ParseSeatText(detail);
    if (!seatText) return std::nullopt;
    constexpr std::string_view kGameOver = " disconnected, Game is over.";
    const std::string_view text = seatText->text;
    const bool over = text.size() >= kGameOver.size() && text.substr(text.size() - kGameOver.size()) == kGameOver;
    return LostPlayer{seatText->seat, std::move(seatText->text),
                      over ? LostPlayer::Outcome::GameOver : LostPlayer::Outcome::Replaced};
}

std::string DealText(const std::array<CardRecord, 53>& deck) {
    std::string deal;
    deal.reserve(156);
    for (int k = 1; k <= 52; ++k) {
        char field[8];
        std::snprintf(field, sizeof field, "%3s", deck[k].Card.text().c_str());
        deal += field;
    }
    return deal;
}

std::string StartText(const std::array<SeatRecord, 5>& seats) {
    std::string start;
    for (int seat = 1; seat <= 4; ++seat) start += seats[seat].Name + ";" + SeatKindText(seats[seat].Kind) + ";";
    return start;
}

std::string CommandOf(const TableMessage& message) {
    using Kind = TableMessage::Kind;
    switch (message.kind) {
    case Kind::Start: return "Start";
    case Kind::MasterPlayer: return "MasterPlayerIs";
    case Kind::Deal: return "HandIs";
    case Kind::Trump: return "MasterCardIs";
    case Kind::Move: return "IMove" + std::to_string(message.seat);
    case Kind::Received: return "Recived";
    case Kind::SeatReplaced: return "Disconnected";
    }
    return {};
}

AwaitedText AwaitedTextOf(const TableMessage& awaited) {
    if (awaited.kind != TableMessage::Kind::Received) return {CommandOf(awaited), {}};
    return {"Recived", CommandOf(TableMessage{awaited.acknowledges, awaited.seat, {}, {}})};
}

std::string MessageText(const TableMessage& message, const GameState& s) {
    using Kind = TableMessage::Kind;
    const std::string command = CommandOf(message);
    switch (message.kind) {
    case Kind::Start: return Message(command, StartText(s.Seats));
    case Kind::MasterPlayer: return Message(command, std::to_string(message.seat));
    case Kind::Deal: return Message(command, DealText(s.Deck));
    case Kind::Trump: return Message(command, std::string(1, s.Trump));
    case Kind::Move: return Message(command, message.card.text());
    case Kind::Received: return Message(command, AwaitedTextOf(message).detail);
    case Kind::SeatReplaced:
        return Message(command, SeatNewsText(TableEvent::About(TableEvent::Kind::SeatReplaced, message.seat,
                                                               s.Seats[message.seat].Name)));
    }
    return {};
}

} // namespace zarv::net

namespace zarv::net {

bool IsExtension(std::string_view c) {
    return c == "Hello" || c == "Roster" || c == "Waiting" || c == "Return" || c == "Table" || c == "Back" ||
           c == "Closing" || c == "Watchers";
}

bool IsToken(std::string_view text) {
    return text.size() == 32 &&
           std::all_of(text.begin(), text.end(), [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); });
}

namespace {

// A whole number of at most `digits` decimal digits, nothing else.
std::optional<int> SmallNumber(std::string_view text, size_t digits) {
    if (text.empty() || text.size() > digits) return std::nullopt;
    int n = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        n = n * 10 + (c - '0');
    }
    return n;
}

} // namespace

std::optional<int> ParseCount(std::string_view text) { return SmallNumber(text, 6); }

std::vector<std::string_view> Fields(std::string_view text, char separator) {
    std::vector<std::string_view> fields;
    size_t from = 0;
    while (true) {
        const size_t at = text.find(separator, from);
        fields.push_back(text.substr(from, at == std::string_view::npos ? std::string_view::npos : at - from));
        if (at == std::string_view::npos) return fields;
        from = at + 1;
    }
}


std::optional<WaitingFor> ParseWaiting(std::string_view detail) {
    const auto f = Fields(detail, ';');
    if (f.size() != 2) return std::nullopt;
    const auto seat = SmallNumber(f[0], 1);
    const auto seconds = SmallNumber(f[1], 6);
    if (!seat || *seat > 4 || !seconds) return std::nullopt;
    return WaitingFor{*seat, *seconds};
}

std::string TableText(const TableSnapshot& t) {
    std::string text = std::to_string(t.seat) + ";";
    for (int k = 1; k <= 4; ++k) text += t.kinds[static_cast<size_t>(k)] == SeatKind::Human ? 'H' : 'C';
    text += ";" + std::to_string(t.firstMaster) + ";" + std::to_string(t.master) + ";";
    text += t.trump == kNoSuit ? '-' : t.trump;
    text += ";" + std::to_string(t.pointsA) + ";" + std::to_string(t.pointsB) + ";" + std::to_string(t.handsPlayed) + ";";
    for (int k = 1; k <= 14; ++k) text += static_cast<char>('0' + std::clamp(t.resultsA[static_cast<size_t>(k)], 0, 9));
    text += ";";
    for (int k = 1; k <= 14; ++k) text += static_cast<char>('0' + std::clamp(t.resultsB[static_cast<size_t>(k)], 0, 9));
    text += ";";
    for (const CardCode& c : t.deal) {
        const std::string code = c.text();
        text += std::string(3 - std::min<size_t>(3, code.size()), ' ') + code;
    }
    text += ";";
    for (size_t i = 0; i < t.played.size(); ++i) text += (i ? "," : "") + t.played[i].text();
    return text;
}

std::optional<TableSnapshot> ParseTable(std::string_view detail) {
    const auto f = Fields(detail, ';');
    if (f.size() != 12) return std::nullopt;
    TableSnapshot t;
    const auto seat = SmallNumber(f[0], 1), first = SmallNumber(f[2], 1), master = SmallNumber(f[3], 1);
    const auto pointsA = SmallNumber(f[5], 2), pointsB = SmallNumber(f[6], 2), hands = SmallNumber(f[7], 2);
    if (!seat || !first || !master || !pointsA || !pointsB || !hands) return std::nullopt;
    if (*seat < 1 || *seat > 4 || *seat == 3 || *first > 4 || *master < 1 || *master > 4) return std::nullopt;
    // A hand in progress: neither side has won the game yet.
    if (*pointsA > 6 || *pointsB > 6 || *hands > 14) return std::nullopt;
    t.seat = *seat;
    t.firstMaster = *first;
    t.master = *master;
    t.pointsA = *pointsA;
    t.pointsB = *pointsB;
    t.handsPlayed = *hands;
    if (f[1].size() != 4) return std::nullopt;
    for (int k = 1; k <= 4; ++k) {
        const char kind = f[1][static_cast<size_t>(k - 1)];
        if (kind != 'H' && kind != 'C') return std::nullopt;
        t.kinds[static_cast<size_t>(k)] = kind == 'H' ? SeatKind::Human : SeatKind::Computer;
    }
    if (f[4].size() != 1 || (f[4][0] != '-' && !IsSuitLetter(f[4][0]))) return std::nullopt;
    t.trump = f[4][0] == '-' ? kNoSuit : f[4][0];
    for (int side = 0; side < 2; ++side) {
        const std::string_view r = f[8 + static_cast<size_t>(side)];
        if (r.size() != 14) return std::nullopt;
        for (int k = 1; k <= 14; ++k) {
            const char c = r[static_cast<size_t>(k - 1)];
            if (c < '0' || c > '3') return std::nullopt;
            (side == 0 ? t.resultsA : t.resultsB)[static_cast<size_t>(k)] = c - '0';
        }
    }
    const auto deal = DecodeDeal(f[10]);
    if (!deal) return std::nullopt;
    t.deal = *deal;
    if (!f[11].empty()) {
        const auto codes = Fields(f[11], ',');
        if (codes.size() > 51) return std::nullopt;
        for (std::string_view code : codes) {
            const auto card = CardCode::Parse(code);
            if (!card) return std::nullopt;
            t.played.push_back(*card);
        }
    }
    // Cards can be played only once the trump is named.
    if (!t.played.empty() && t.trump == kNoSuit) return std::nullopt;
    return t;
}

std::string SeatNewsText(const TableEvent& event) { return std::to_string(event.seat) + ";" + EnglishText(event); }

const char* SideWord(int seat, int of) { return SameTeam(seat, of) ? "Partner" : "Against"; }


TableEvent SeatNewsFrom(TableEvent::Kind kind, int seat, const std::string& name, const std::string& text) {
    const TableEvent ours = TableEvent::About(kind, seat, name);
    return EnglishText(ours) == text ? ours : TableEvent::AsWords(text);
}

} // namespace zarv::net
