#include "engine/saved_hand.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "engine/game_state.h"

namespace zarv {

namespace {

using Kind = HandFault::Kind;

bool Fail(HandFault* fault, Kind kind, std::string subject = {}, int count = 0, std::string reason = {}) {
    if (fault) *fault = HandFault{kind, std::move(subject), std::move(reason), count, 0};
    return false;
}

std::optional<int> ParseSeat(const std::string& text) {
    if (text.size() == 1 && text[0] >= '1' && text[0] <= '4') return text[0] - '0';
    return std::nullopt;
}
} // namespace

std::string Printable(std::string_view text) {
    std::string out;
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (c >= 0x20 && c < 0x7F) {
            out += ch;
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        }
    }
    return out;
}

std::string EnglishText(const HandFault& f) {
    std::string text;
    switch (f.kind) {
    case Kind::None: break;
    case Kind::CannotRead: text = "cannot read " + f.subject + (f.reason.empty() ? std::string() : ": " + f.reason); break;
    case Kind::IsDirectory: text = f.subject + " is a directory"; break;
    case Kind::NotAFile: text = f.subject + " is not a regular file"; break;
    case Kind::TooLarge: text = (f.subject.empty() ? std::string("the file") : f.subject) + " is too large to be a saved hand"; break;
    case Kind::NotACard: text = "'" + f.subject + "' is not a card code (g, p, h or x followed by 2 to 14)"; break;
    case Kind::CardTwice: text = "card " + f.subject + " appears twice in the deal"; break;
    case Kind::PlayedTwice: text = "card " + f.subject + " is played twice"; break;
    case Kind::DealSize:
        text = "a deal needs 52 card codes, not " + std::to_string(std::min(f.count, 53)) + (f.count > 52 ? " or more" : "");
        break;
    case Kind::BadSeat: text = f.subject + " must be a seat from 1 to 4"; break;
    case Kind::BadTrump: text = "trump must be g, p, h, x or -"; break;
    case Kind::UnknownEntry: text = "unknown entry '" + f.subject + "'"; break;
    case Kind::NoDeal: text = "the file has no deal line"; break;
    case Kind::NoMaster: text = "the file has no master line"; break;
    }
    return f.line > 0 ? "line " + std::to_string(f.line) + ": " + text : text;
}

std::optional<std::string> ReadSavedHandFile(const std::string& path, HandFault* error) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    const std::string shown = Printable(path);
    if (ec || !fs::exists(status)) {
        Fail(error, Kind::CannotRead, shown, 0, ec ? ec.message() : std::string("no such file"));
        return std::nullopt;
    }
    if (fs::is_directory(status)) {
        Fail(error, Kind::IsDirectory, shown);
        return std::nullopt;
    }
    if (!fs::is_regular_file(status)) {
        Fail(error, Kind::NotAFile, shown);
        return std::nullopt;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        Fail(error, Kind::CannotRead, shown);
        return std::nullopt;
    }
    // Never more than one byte past the limit, whatever the file claims.
    std::string text(kMaxSavedHandBytes + 1, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<size_t>(in.gcount()));
    if (text.size() > kMaxSavedHandBytes) {
        Fail(error, Kind::TooLarge, shown);
        return std::nullopt;
    }
    return text;
}

namespace {

// Distinct valid codes, reading no further than one past the 52 a pack has.
std::optional<std::vector<CardCode>> ParseCodes(const std::string& codes, HandFault* error) {
    std::istringstream in(codes);
    std::vector<CardCode> deal;
    std::set<std::string> seen;
    std::string word;
    while (in >> word) {
        const auto code = CardCode::Parse(word);
        if (!code) {
            Fail(error, Kind::NotACard, Printable(word.substr(0, 20)));
            return std::nullopt;
        }
        if (!seen.insert(word).second) {
            Fail(error, Kind::CardTwice, Printable(word));
            return std::nullopt;
        }
        deal.push_back(*code);
        if (deal.size() > 52) break;
    }
    return deal;
}

} // namespace

std::optional<std::vector<CardCode>> ParsePlays(const std::string& codes, HandFault* error) {
    // Only 52 cards exist: a 53rd play repeats one, and is refused as such.
    auto plays = ParseCodes(codes, error);
    if (!plays && error && error->kind == Kind::CardTwice) error->kind = Kind::PlayedTwice;
    return plays;
}

std::vector<CardCode> PlayedCardsOf(const GameState& s) {
    std::vector<CardCode> plays;
    for (size_t t = 1; t < s.Tricks.size(); ++t) {
        const TrickRecord& trick = s.Tricks[t];
        if (trick.Leader < 1 || trick.Leader > 4) continue;
        for (int k = 0, seat = trick.Leader; k < 4; ++k, seat = NextSeat(seat))
            if (!trick.Cards[static_cast<size_t>(seat)].empty()) plays.push_back(trick.Cards[static_cast<size_t>(seat)]);
    }
    return plays;
}

std::optional<std::vector<CardCode>> ParseDeal(const std::string& codes, HandFault* error) {
    auto deal = ParseCodes(codes, error);
    if (!deal) return std::nullopt;
    if (deal->size() != 52) {
        Fail(error, Kind::DealSize, {}, static_cast<int>(deal->size()));
        return std::nullopt;
    }
    return deal;
}

std::string WriteSavedHand(const SavedHand& hand) {
    std::string text = "# Zarv hand\ndeal";
    for (CardCode c : hand.deal) text += " " + c.text();
    text += "\nmaster " + std::to_string(hand.master) + "\n";
    text += "first-master " + std::to_string(hand.firstMaster ? hand.firstMaster : hand.master) + "\n";
    text += std::string("trump ") + (hand.trump == kNoSuit ? '-' : hand.trump) + "\n";
    if (!hand.plays.empty()) {
        text += "plays";
        for (CardCode c : hand.plays) text += " " + c.text();
        text += "\n";
    }
    return text;
}

namespace {

// One entry of a saved hand ("deal ...", "master 2", "trump h"...) into the
// hand; what is wrong with it, if anything.
std::optional<HandFault> ReadEntry(const std::string& key, const std::string& rest, SavedHand& hand) {
    std::istringstream values(rest);
    std::string value, extra;
    HandFault why;
    if (key == "deal") {
        const auto deal = ParseDeal(rest, &why);
        if (!deal) return why;
        hand.deal = *deal;
    } else if (key == "master" || key == "first-master") {
        values >> value;
        const auto seat = ParseSeat(value);
        if (!seat || (values >> extra)) return HandFault{Kind::BadSeat, key, {}, 0, 0};
        (key == "master" ? hand.master : hand.firstMaster) = *seat;
    } else if (key == "trump") {
        values >> value;
        if (value.size() != 1 || (value != "-" && !IsSuitLetter(value[0])) || (values >> extra))
            return HandFault{Kind::BadTrump, {}, {}, 0, 0};
        hand.trump = value == "-" ? kNoSuit : value[0];
    } else if (key == "plays") {
        const auto plays = ParsePlays(rest, &why);
        if (!plays) return why;
        hand.plays = *plays;
    } else {
        return HandFault{Kind::UnknownEntry, Printable(key.substr(0, 20)), {}, 0, 0};
    }
    return std::nullopt;
}

} // namespace

std::optional<SavedHand> ReadSavedHand(const std::string& text, HandFault* error) {
    if (text.size() > kMaxSavedHandBytes) {
        Fail(error, Kind::TooLarge);
        return std::nullopt;
    }
    std::string_view body(text);
    if (body.substr(0, 3) == "\xEF\xBB\xBF") body.remove_prefix(3);  // a byte-order mark
    SavedHand hand;
    bool haveDeal = false, haveMaster = false;
    std::istringstream lines{std::string(body)};
    std::string line;
    int number = 0;
    while (std::getline(lines, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (const size_t hash = line.find('#'); hash != std::string::npos) line.erase(hash);
        std::istringstream words(line);
        std::string key;
        if (!(words >> key)) continue;
        std::string rest;
        std::getline(words, rest);
        if (auto why = ReadEntry(key, rest, hand)) {
            why->line = number;
            if (error) *error = std::move(*why);
            return std::nullopt;
        }
        haveDeal = haveDeal || key == "deal";
        haveMaster = haveMaster || key == "master";
    }
    if (!haveDeal) {
        Fail(error, Kind::NoDeal);
        return std::nullopt;
    }
    if (!haveMaster) {
        Fail(error, Kind::NoMaster);
        return std::nullopt;
    }
    if (hand.firstMaster == 0) hand.firstMaster = hand.master;
    return hand;
}

} // namespace zarv
