// zarv-sim duel: duplicate play between two levels of computer player. Each
// deal (or each game's shuffles) is played twice with the levels swapped
// between the sides, so luck cancels out.
#pragma once

#include <iosfwd>
#include <array>
#include <string>
#include <vector>

namespace zarv::sim {

// Level a's share of what both levels won over the deals (or game pairs),
// {a's, b's} each, and its 95% interval.
struct Share {
    double value = 0.5, lo = 0.5, hi = 0.5;
};
Share ShareOf(const std::vector<std::array<long long, 2>>& results);

// The result goes to out as one line; how far the duel has come, to err.
int RunDuel(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace zarv::sim
