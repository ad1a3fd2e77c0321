#include "engine/saved_hand.h"

#include <set>
#include <sstream>

namespace zarv {

namespace {
constexpr size_t kMaxFileSize = 64 * 1024;  // a hand takes about 200 bytes

bool Fail(std::string* error, const std::string& why) {
    if (error) *error = why;
    return false;
}

std::optional<int> ParseSeat(const std::string& text) {
    if (text.size() == 1 && text[0] >= '1' && text[0] <= '4') return text[0] - '0';
    return std::nullopt;
}
} // namespace

std::optional<std::vector<CardCode>> ParseDeal(const std::string& codes, std::string* error) {
    std::istringstream in(codes);
    std::vector<CardCode> deal;
    std::set<std::string> seen;
    std::string word;
    while (in >> word) {
        const auto code = CardCode::Parse(word);
        if (!code) {
            Fail(error, "'" + word.substr(0, 20) + "' is not a card code (g, p, h or x followed by 2 to 14)");
            return std::nullopt;
        }
        if (!seen.insert(word).second) {
            Fail(error, "card " + word + " appears twice in the deal");
            return std::nullopt;
        }
        deal.push_back(*code);
        if (deal.size() > 52) break;
    }
    if (deal.size() != 52) {
        Fail(error, "a deal needs 52 card codes, not " + std::to_string(deal.size()) + (deal.size() > 52 ? " or more" : ""));
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
    return text;
}

std::optional<SavedHand> ReadSavedHand(const std::string& text, std::string* error) {
    if (text.size() > kMaxFileSize) {
        Fail(error, "the file is too large to be a saved hand");
        return std::nullopt;
    }
    SavedHand hand;
    bool haveDeal = false, haveMaster = false;
    std::istringstream lines(text);
    std::string line;
    int number = 0;
    while (std::getline(lines, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::istringstream words(line);
        std::string key;
        if (!(words >> key) || key[0] == '#') continue;
        std::string rest;
        std::getline(words, rest);
        std::istringstream values(rest);
        std::string value, extra;
        const std::string where = "line " + std::to_string(number) + ": ";
        if (key == "deal") {
            std::string why;
            const auto deal = ParseDeal(rest, &why);
            if (!deal) {
                Fail(error, where + why);
                return std::nullopt;
            }
            hand.deal = *deal;
            haveDeal = true;
        } else if (key == "master" || key == "first-master") {
            values >> value;
            const auto seat = ParseSeat(value);
            if (!seat || (values >> extra)) {
                Fail(error, where + key + " must be a seat from 1 to 4");
                return std::nullopt;
            }
            (key == "master" ? hand.master : hand.firstMaster) = *seat;
            haveMaster = haveMaster || key == "master";
        } else if (key == "trump") {
            values >> value;
            if (value.size() != 1 || (value != "-" && !IsSuitLetter(value[0])) || (values >> extra)) {
                Fail(error, where + "trump must be g, p, h, x or -");
                return std::nullopt;
            }
            hand.trump = value == "-" ? kNoSuit : value[0];
        } else {
            Fail(error, where + "unknown entry '" + key.substr(0, 20) + "'");
            return std::nullopt;
        }
    }
    if (!haveDeal) {
        Fail(error, "the file has no deal line");
        return std::nullopt;
    }
    if (!haveMaster) {
        Fail(error, "the file has no master line");
        return std::nullopt;
    }
    if (hand.firstMaster == 0) hand.firstMaster = hand.master;
    return hand;
}

} // namespace zarv
