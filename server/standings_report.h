// "zarv-server stats": the standings per player name from the results
// database, printed as a table.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "server/results_database.h"

namespace zarv::server {

// The printed table: one line a player, best first.
std::string StandingsTable(const std::vector<Standing>& standings);
// args: what follows "stats". Returns the exit code.
int RunStats(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace zarv::server
