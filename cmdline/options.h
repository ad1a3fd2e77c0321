// The command lines of zarv-sim and zarv-server: options of the form --name
// value, seats and whole numbers, each refused with a message that names the
// problem.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace zarv::cmdline {

struct UsageError {
    std::string message;
};

std::map<std::string, std::string> ParseOptions(const std::vector<std::string>& args, size_t from,
                                                const std::set<std::string>& known);
int ParseSeat(const std::string& text, const std::string& what);
long long ParseWhole(const std::string& text, const std::string& what, long long min);
// A whole number from min to max.
long long ParseWhole(const std::string& text, const std::string& what, long long min, long long max);
// A seed: any 64-bit number, 0 to 18446744073709551615.
uint64_t ParseSeed(const std::string& text, const std::string& what);

} // namespace zarv::cmdline
