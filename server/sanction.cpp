#include "server/sanction.h"

#include <algorithm>
#include <cctype>

namespace zarv::server {

const char* KindName(Sanction::Kind kind) {
    switch (kind) {
        case Sanction::Kind::Ban: return "ban";
        case Sanction::Kind::Mute: return "mute";
        case Sanction::Kind::BanAddress: return "ban-address";
    }
    return "";
}

const Sanction* Sanctions::On(Sanction::Kind kind, const std::string& name) const {
    std::string folded = name;
    std::transform(folded.begin(), folded.end(), folded.begin(), [](unsigned char c) { return std::tolower(c); });
    for (const Sanction& s : list)
        if (s.kind == kind && s.target == folded) return &s;
    return nullptr;
}

int64_t ParseDuration(const std::string& text) {
    if (text.size() < 2 || text.size() > 8) return -1;
    int64_t amount = 0;
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(text[i]))) return -1;
        amount = amount * 10 + (text[i] - '0');
    }
    const char unit = text.back();
    const int64_t second = 1000;
    if (amount <= 0) return -1;
    if (unit == 's') return amount * second;
    if (unit == 'm') return amount * 60 * second;
    if (unit == 'h') return amount * 3600 * second;
    if (unit == 'd') return amount * 86400 * second;
    return -1;
}

} // namespace zarv::server
