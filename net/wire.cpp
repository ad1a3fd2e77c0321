#include "net/wire.h"

#include <algorithm>

namespace zarv::net {

namespace {
constexpr std::string_view kGameOver = " disconnected, Game is over.";
constexpr std::string_view kReplaced = " disconnected, A Computer Player Replaced by him/her.";

std::string_view Trim(std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}
} // namespace

const char* const kRefusal = "All Positions are ingaged, please try later.";

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

std::optional<HostPort> ParseHostPort(std::string_view text, std::string* error) {
    auto fail = [&](std::string why) -> std::optional<HostPort> {
        if (error) *error = std::move(why);
        return std::nullopt;
    };
    text = Trim(text);
    HostPort hp;
    std::string_view portText;
    if (!text.empty() && text[0] == '[') {
        const size_t close = text.find(']');
        if (close == std::string_view::npos) return fail("'" + std::string(text) + "' lacks its ']'");
        hp.host = std::string(text.substr(1, close - 1));
        if (close + 1 < text.size()) {
            if (text[close + 1] != ':') return fail("'" + std::string(text) + "' is not [address]:port");
            portText = text.substr(close + 2);
            if (portText.empty()) return fail("'" + std::string(text) + "' lacks the port after ':'");
        }
    } else if (std::count(text.begin(), text.end(), ':') == 1) {
        const size_t colon = text.find(':');
        hp.host = std::string(text.substr(0, colon));
        portText = text.substr(colon + 1);
        if (portText.empty()) return fail("'" + std::string(text) + "' lacks the port after ':'");
    } else {
        hp.host = std::string(text);  // a name, an IPv4 address or a bare IPv6 address
    }
    if (hp.host.empty()) return fail("name the Dealer's computer");
    if (!portText.empty()) {
        if (portText.size() > 5 || portText.find_first_not_of("0123456789") != std::string_view::npos)
            return fail("the port must be a number from 1 to 65535, not '" + std::string(portText) + "'");
        hp.port = std::stoi(std::string(portText));
        if (hp.port < 1 || hp.port > 65535)
            return fail("the port must be a number from 1 to 65535, not '" + std::string(portText) + "'");
    }
    return hp;
}

std::string GameOverText(const std::string& name) { return name + std::string(kGameOver); }
std::string ReplacedText(const std::string& name) { return name + std::string(kReplaced); }
bool IsGameOverText(std::string_view text) {
    return text.size() >= kGameOver.size() && text.substr(text.size() - kGameOver.size()) == kGameOver;
}

} // namespace zarv::net
