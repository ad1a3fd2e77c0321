#include "server/reserved_names.h"

namespace zarv::server {

void ReservedNames::Set(const std::vector<NameKeys>& all) {
    keys_.clear();
    for (const NameKeys& k : all) Add(k);
}

void ReservedNames::Add(const NameKeys& keys) {
    keys_.insert(keys.folded);
    keys_.insert(keys.looks);
}

} // namespace zarv::server
