#include "net/notice.h"

#include <array>
#include <charconv>
#include <optional>
#include <string_view>

namespace zarv::net {

namespace {

// The words of each code; "%s" stands for the name where there is one.
constexpr std::array<const char*, kLastNotice + 1> kWords = {
    "",
    "All Positions are ingaged, please try later.",
    "You play as Partner of Dealer.",
    "Partner of Dealer position is ingaged, you must play against of Dealer.",
    "You play against of Dealer.",
    "Against of Dealer position is ingaged, you'll play as Partner of Dealer.",
    "The Dealer has closed the table.",
    "The Dealer has no game in progress; join it again.",
    "That seat is not yours to take back.",
    "The table has closed",
    "The table is closing",
    "The server is closing",
    "The name %s is already at a table of this server; choose another.",
    "You are not watching a table.",
    "Passwords travel only over an encrypted connection; connect to the server with TLS to use one.",
    "A table needs a name (up to 40 characters, without ; or |) and valid settings.",
    "The server has no room for another table now.",
    "You have made as many tables as one connection may.",
    "There is a table of that name already.",
    "There is no such table.",
    "The table's maker does not allow watching.",
    "Wrong password.",
    "Choose a table and seat 1, 2 or 4.",
    "The table is playing; watch it or choose another.",
    "That seat is taken.",
    "Choose a table to watch.",
    "Only the table's maker may start it.",
    "The table is playing already.",
    "The lobby does not know \"%s\".",
    "name the Dealer's computer",
    "'%s' lacks its ']'",
    "'%s' is not [address]:port",
    "'%s' lacks the port after ':'",
    "the port must be a number from 1 to 65535, not '%s'",
    "Slow down: at most 5 chat lines in 10 seconds.",
    "You are banned from this server: %s",
    "You are muted on this server, and nobody reads your chat: %s",
    "The name %s belongs to a registered player; sign in to play under it, or choose another.",
    "Wrong name or password.",
    "The name %s is registered already; choose another.",
    "Too many sign-in attempts; try again in a minute.",
    "Your sign-in has expired; sign in again with your password.",
    "This server cannot sign you in now; try again later.",
    "A name has 1 to 40 letters and a password 8 to 64 characters, neither with ; or |.",
    "Sign in first.",
};

// A sentence longer than this is no notice of ours (a hostile peer's), and
// is not searched.
constexpr size_t kLongestNotice = 1000;

// The name in words that are the words of notice index, if they are.
std::optional<std::string> NameIn(size_t index, const std::string& words) {
    const std::string_view pattern = kWords[index];
    const size_t hole = pattern.find("%s");
    if (hole == std::string_view::npos) {
        if (words == pattern) return std::string();
        return std::nullopt;
    }
    const std::string_view before = pattern.substr(0, hole), after = pattern.substr(hole + 2);
    if (words.size() < before.size() + after.size() || words.compare(0, before.size(), before) != 0 ||
        words.compare(words.size() - after.size(), after.size(), after) != 0)
        return std::nullopt;
    return words.substr(before.size(), words.size() - before.size() - after.size());
}

} // namespace

std::string NoticeWords(Notice code, const std::string& name) {
    const auto index = static_cast<size_t>(code);
    if (index == 0 || index >= kWords.size()) return name;
    std::string words = kWords[index];
    if (const size_t at = words.find("%s"); at != std::string::npos) words.replace(at, 2, name);
    return words;
}

NoticeText MakeNotice(Notice code, const std::string& name) {
    const std::string words = NoticeWords(code, name);
    const bool named = code != Notice::Unknown && std::string_view(kWords[static_cast<size_t>(code)]).find("%s") != std::string_view::npos;
    return {code, named ? name : std::string(), words};
}

NoticeText RecognizeNotice(const std::string& words) {
    if (words.size() > kLongestNotice) return {Notice::Unknown, {}, words};
    for (size_t i = 1; i < kWords.size(); ++i)
        if (auto name = NameIn(i, words)) return {static_cast<Notice>(i), std::move(*name), words};
    return {Notice::Unknown, {}, words};
}

std::string NoticeDetail(const NoticeText& notice) {
    // The name is in the words: the code says where.
    return std::to_string(static_cast<int>(notice.code)) + ";" + notice.words;
}

NoticeText ParseNoticeDetail(const std::string& detail) {
    // "<code>;<words>": the words are the rest, whatever they hold.
    const size_t semi = detail.find(';');
    int code = -1;
    if (semi != std::string::npos && semi > 0) {
        const char* begin = detail.data();
        const auto [end, error] = std::from_chars(begin, begin + semi, code);
        if (error != std::errc() || end != begin + semi) code = -1;
    }
    if (code < 0) return RecognizeNotice(detail);
    const std::string words = detail.substr(semi + 1);
    // A code this program does not know yet, or words that are not the
    // code's: the words are shown as they came.
    if (code < 1 || code > kLastNotice || words.size() > kLongestNotice) return {Notice::Unknown, {}, words};
    auto name = NameIn(static_cast<size_t>(code), words);
    if (!name) return {Notice::Unknown, {}, words};
    return {static_cast<Notice>(code), std::move(*name), words};
}

} // namespace zarv::net
