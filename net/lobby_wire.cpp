#include "net/lobby_wire.h"

#include <algorithm>

#include "net/wire.h"

namespace zarv::net {

namespace {

std::string Clean(std::string_view text) {
    std::string s(text);
    std::replace_if(s.begin(), s.end(), [](char c) { return c == ';' || c == '|'; }, ' ');
    return s;
}

std::optional<bool> Flag(std::string_view text) {
    if (text == "0") return false;
    if (text == "1") return true;
    return std::nullopt;
}

std::optional<int> Seat(std::string_view text) {
    const auto seat = ParseCount(text);
    if (!seat || (*seat != 1 && *seat != 2 && *seat != 4)) return std::nullopt;
    return seat;
}

} // namespace

bool IsLobbyText(std::string_view text, size_t limit) {
    if (text.size() > limit) return false;
    // Control characters and the protocol's separators would break a line.
    return std::none_of(text.begin(), text.end(),
                        [](char c) { return c == ';' || c == '|' || static_cast<unsigned char>(c) < 0x20 || c == 0x7f; });
}

namespace {
// The level's letter in a table line: B S E M, or for a program that knows
// only two levels, the nearer of S and E.
char LevelLetter(ai::Level level, bool withLevels) {
    switch (level) {
    case ai::Level::Beginner: return withLevels ? 'B' : 'S';
    case ai::Level::Expert: return 'E';
    case ai::Level::Master: return withLevels ? 'M' : 'E';
    case ai::Level::Standard: break;
    }
    return 'S';
}

std::optional<ai::Level> LevelOfLetter(std::string_view letter) {
    if (letter == "B") return ai::Level::Beginner;
    if (letter == "S") return ai::Level::Standard;
    if (letter == "E") return ai::Level::Expert;
    if (letter == "M") return ai::Level::Master;
    return std::nullopt;
}

// A seat's mark: a rating, "G", or nothing.
bool IsMark(std::string_view mark) {
    return mark.empty() || mark == "G" || (mark.size() <= 4 && ParseCount(mark).has_value());
}
} // namespace

std::string TableLineText(const TableLine& t, bool withRatings, bool withLevels) {
    std::string text = std::to_string(t.id) + ";" + Clean(t.name) + ";" + (t.playing ? "P" : "W") + ";" +
                       (t.isPrivate ? "1" : "0") + ";" + (t.watchable ? "1" : "0") + ";" + std::to_string(t.watchers) +
                       ";" + LevelLetter(t.level, withLevels) + ";" + std::to_string(t.moveLimit);
    for (int seat = 1; seat <= 4; ++seat) {
        const size_t k = static_cast<size_t>(seat);
        text += ";" + Clean(t.names[k]) + ";" + static_cast<char>(t.fills[k]);
    }
    if (withRatings) {
        text += t.rated ? ";1" : ";0";
        for (int seat = 1; seat <= 4; ++seat) {
            const std::string& mark = t.marks[static_cast<size_t>(seat)];
            text += ";" + (IsMark(mark) ? mark : std::string());
        }
    }
    return text;
}

std::string TopLineText(const TopLine& t, bool withRatings) {
    return std::to_string(t.rank) + ";" + Clean(t.name) + ";" + std::to_string(t.games) + ";" + std::to_string(t.wins) +
           ";" + std::to_string(t.points) + ";" + std::to_string(t.hakemWins) +
           (withRatings ? ";" + std::to_string(t.rating) + ";" + std::to_string(t.deviation) : std::string());
}

std::optional<TopLine> ParseTopLine(std::string_view detail) {
    const auto f = Fields(detail, ';');
    if ((f.size() != 6 && f.size() != 8) || !IsLobbyText(f[1], kMaxPlayerName)) return std::nullopt;
    const auto rank = ParseCount(f[0]), games = ParseCount(f[2]), wins = ParseCount(f[3]), points = ParseCount(f[4]),
               hakem = ParseCount(f[5]);
    if (!rank || !games || !wins || !points || !hakem) return std::nullopt;
    TopLine line{*rank, std::string(f[1]), *games, *wins, *points, *hakem, 0, 0};
    if (f.size() == 8) {
        const auto rating = ParseCount(f[6]), deviation = ParseCount(f[7]);
        if (!rating || !deviation || *rating > 9999 || *deviation > 9999) return std::nullopt;
        line.rating = *rating;
        line.deviation = *deviation;
    }
    return line;
}

std::optional<TableLine> ParseTableLine(std::string_view detail) {
    const auto f = Fields(detail, ';');
    if (f.size() != 16 && f.size() != 21) return std::nullopt;
    TableLine t;
    const auto id = ParseCount(f[0]);
    const auto isPrivate = Flag(f[3]);
    const auto watchable = Flag(f[4]);
    const auto watchers = ParseCount(f[5]);
    const auto limit = ParseCount(f[7]);
    const auto level = LevelOfLetter(f[6]);
    if (!id || !isPrivate || !watchable || !watchers || !limit || (f[2] != "W" && f[2] != "P") || !level ||
        !IsLobbyText(f[1], kMaxTableName))
        return std::nullopt;
    t.id = *id;
    t.name = f[1];
    t.playing = f[2] == "P";
    t.isPrivate = *isPrivate;
    t.watchable = *watchable;
    t.watchers = *watchers;
    t.level = *level;
    t.moveLimit = *limit;
    for (int seat = 1; seat <= 4; ++seat) {
        const std::string_view name = f[static_cast<size_t>(6 + seat * 2)];
        const std::string_view fill = f[static_cast<size_t>(7 + seat * 2)];
        if (fill.size() != 1 || (fill[0] != '-' && fill[0] != 'H' && fill[0] != 'C')) return std::nullopt;
        t.names[static_cast<size_t>(seat)] = name;
        t.fills[static_cast<size_t>(seat)] = static_cast<SeatFill>(fill[0]);
    }
    if (f.size() == 21) {
        const auto rated = Flag(f[16]);
        if (!rated) return std::nullopt;
        t.rated = *rated;
        for (int seat = 1; seat <= 4; ++seat) {
            const std::string_view mark = f[static_cast<size_t>(16 + seat)];
            if (!IsMark(mark)) return std::nullopt;
            t.marks[static_cast<size_t>(seat)] = mark;
        }
    }
    return t;
}

std::string MakeText(const MakeRequest& r, bool withRated, bool withLevels) {
    const char* level = withLevels ? ai::LevelText(r.level) : LevelLetter(r.level, false) == 'E' ? "expert" : "standard";
    return r.name + ";" + r.password + ";" + level + ";" + std::to_string(r.moveLimit) +
           ";" + (r.watchable ? "1" : "0") + (withRated ? (r.rated ? ";1" : ";0") : "");
}

std::optional<MakeRequest> ParseMake(std::string_view detail) {
    const auto f = Fields(detail, ';');
    if (f.size() != 5 && f.size() != 6) return std::nullopt;
    const auto rated = f.size() == 6 ? Flag(f[5]) : std::optional<bool>(true);
    if (!rated) return std::nullopt;
    const auto limit = ParseCount(f[3]);
    const auto watchable = Flag(f[4]);
    const auto level = ai::LevelFromText(f[2]);
    if (f[0].empty() || !IsLobbyText(f[0], kMaxTableName) || !IsLobbyText(f[1], kMaxPassword) || !limit ||
        !watchable || !level)
        return std::nullopt;
    // A limit, when there is one, gives a person at least ten seconds.
    if (*limit != 0 && (*limit < 10 || *limit > 600)) return std::nullopt;
    return MakeRequest{std::string(f[0]), std::string(f[1]), *level, *limit, *watchable, *rated};
}

std::string SitText(const SitRequest& r) {
    return std::to_string(r.table) + ";" + std::to_string(r.seat) + ";" + r.password;
}

std::optional<SitRequest> ParseSit(std::string_view detail) {
    const auto f = Fields(detail, ';');
    if (f.size() != 3) return std::nullopt;
    const auto table = ParseCount(f[0]);
    const auto seat = Seat(f[1]);
    if (!table || !seat || !IsLobbyText(f[2], kMaxPassword)) return std::nullopt;
    return SitRequest{*table, *seat, std::string(f[2])};
}

std::optional<WatchRequest> ParseWatch(std::string_view detail) {
    const auto f = Fields(detail, ';');
    if (f.size() != 2) return std::nullopt;
    const auto table = ParseCount(f[0]);
    if (!table || !IsLobbyText(f[1], kMaxPassword)) return std::nullopt;
    return WatchRequest{*table, std::string(f[1])};
}

std::optional<int> ParseTableId(std::string_view detail) { return ParseCount(detail); }

std::optional<SeenEvent> ParseSeen(std::string_view detail) {
    const size_t semi = detail.find(';');
    if (semi == std::string_view::npos || semi == 0) return std::nullopt;
    return SeenEvent{std::string(detail.substr(0, semi)), std::string(detail.substr(semi + 1))};
}

} // namespace zarv::net
