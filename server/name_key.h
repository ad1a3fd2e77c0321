// When two player names are the same name: in any letter case, in any
// Unicode form, and when they only look alike ("Ann" with a Latin A and
// "Αnn" with a Greek Alpha, "PauI" with a capital i and "Paul"). A registered
// name is reserved in all its look-alikes.
#pragma once

#include <string>
#include <string_view>

namespace zarv::server {

// Two keys of a name. Looking alike is not transitive, so one key cannot
// catch both a letter case and a look-alike that depends on case (a capital
// i looks like a small L, a small i does not): two names are the same when
// any key of one equals any key of the other.
struct NameKeys {
    std::string folded;  // case folded first, then the look-alike skeleton
    std::string looks;   // the look-alike skeleton as written, then case folded

    bool Matches(const NameKeys& other) const {
        return folded == other.folded || folded == other.looks || looks == other.folded || looks == other.looks;
    }
};

// Spaces at either end are dropped and runs of spaces count as one.
// Invalid UTF-8 keys as its bytes (no name of ours has it).
NameKeys KeysOf(std::string_view name);

} // namespace zarv::server
