// An admin's decision about a name or an address: banned from the server,
// or muted (its chat reaches nobody), until a time or until lifted. Kept in
// the results database, which a running server reads every few seconds.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "server/name_key.h"

namespace zarv::server {

struct Sanction {
    enum class Kind { Ban, Mute, BanAddress };
    Kind kind = Kind::Ban;
    std::string target;   // a name in lower case, or an address range ("203.0.113.0/24")
    int64_t untilMs = 0;  // Unix milliseconds; 0: until lifted
    std::string reason;
};

const char* KindName(Sanction::Kind kind);  // "ban", "mute", "ban-address"

// What an admin did: "ban", "unban", "mute", "unmute", "ban-address" or
// "unban-address", to a name in lower case or an address range.
struct AdminAction {
    int64_t atMs = 0;
    std::string action;
    std::string target;
    int64_t untilMs = 0;
    std::string reason;
};

// The sanctions that hold now, as a server applies them.
struct Sanctions {
    std::vector<Sanction> list;
    // The one of that kind on the name, in any letter case or look-alike
    // spelling (as accounts match names), or null.
    const Sanction* On(Sanction::Kind kind, const std::string& name) const;

private:
    // Each sanction's target and its keys, made at the first look after the list changed.
    mutable std::vector<std::pair<std::string, NameKeys>> keys_;
};

// "30m", "2h", "7d", "90s" in milliseconds; -1 when it is none of those.
int64_t ParseDuration(const std::string& text);

} // namespace zarv::server
