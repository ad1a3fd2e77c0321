// The registered names the lobby keeps nobody else from sitting under: a
// set of keys (see name_key.h) that any key of a name is looked up in.
// Plain C++, on the socket thread.
#pragma once

#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "server/name_key.h"

namespace zarv::server {

class ReservedNames {
public:
    void Set(const std::vector<NameKeys>& all);
    void Add(const NameKeys& keys);
    bool Holds(std::string_view name) const { return Holds(KeysOf(name)); }
    bool Holds(const NameKeys& keys) const { return keys_.count(keys.folded) || keys_.count(keys.looks); }

private:
    std::unordered_set<std::string> keys_;
};

} // namespace zarv::server
