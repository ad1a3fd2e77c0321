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
    const bool current = keys_.size() == list.size() &&
                         std::equal(list.begin(), list.end(), keys_.begin(),
                                    [](const Sanction& s, const auto& made) { return s.target == made.first; });
    if (!current) {
        keys_.clear();
        for (const Sanction& s : list) keys_.emplace_back(s.target, KeysOf(s.target));
    }
    const NameKeys keys = KeysOf(name);
    for (size_t i = 0; i < list.size(); ++i)
        if (list[i].kind == kind && list[i].kind != Sanction::Kind::BanAddress && keys_[i].second.Matches(keys))
            return &list[i];
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
