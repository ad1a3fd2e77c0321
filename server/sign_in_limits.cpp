#include "server/sign_in_limits.h"

namespace zarv::server {

bool SignInLimits::Full(Times& times, double now) {
    while (!times.empty() && times.front() <= now - kWindow) times.pop_front();
    return static_cast<int>(times.size()) >= kAttempts;
}

bool SignInLimits::Allow(const std::string& address, const std::string& nameKey, double now) {
    Sweep(now);
    Times& fromThere = byAddress_[address];
    Times& forName = byName_[nameKey];
    // Both are checked before either counts: a refused attempt is no attempt.
    if (Full(fromThere, now) || Full(forName, now)) return false;
    fromThere.push_back(now);
    forName.push_back(now);
    return true;
}

void SignInLimits::Sweep(double now) {
    if (now - sweptAt_ < kWindow) return;
    sweptAt_ = now;
    for (auto* map : {&byAddress_, &byName_})
        std::erase_if(*map, [&](auto& entry) { return entry.second.empty() || entry.second.back() <= now - kWindow; });
}

} // namespace zarv::server
