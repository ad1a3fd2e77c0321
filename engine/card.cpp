#include "engine/card.h"

namespace zarv {

std::string CardCode::text() const {
    if (empty()) return {};
    std::string s(1, suit);
    s += std::to_string(rank);
    return s;
}

std::optional<CardCode> CardCode::Parse(std::string_view text) {
    if (text.size() < 2 || text.size() > 3 || !IsSuitLetter(text[0])) return std::nullopt;
    int rank = 0;
    for (size_t i = 1; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return std::nullopt;
        rank = rank * 10 + (text[i] - '0');
    }
    if (text[1] == '0' || rank < 2 || rank > 14) return std::nullopt;
    return CardCode{text[0], static_cast<uint8_t>(rank)};
}

} // namespace zarv
