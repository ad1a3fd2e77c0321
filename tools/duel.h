// zarv-sim duel: duplicate play between two levels of computer player. Each
// deal (or each game's shuffles) is played twice with the levels swapped
// between the sides, so luck cancels out.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace zarv::sim {

int RunDuel(const std::vector<std::string>& args, std::ostream& out);

} // namespace zarv::sim
