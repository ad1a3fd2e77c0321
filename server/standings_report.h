// "zarv-server stats": the standings per player name from the results
// database, or (--ratings) every player's rating, printed as a table.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "server/rating_book.h"
#include "server/results_database.h"

namespace zarv::server {

// The printed table: one line a player, best first.
std::string StandingsTable(const std::vector<Standing>& standings);
// The ratings, best first: rating, twice its deviation (the 95% interval), games.
std::string RatingsTable(const std::vector<RatedPlayer>& players);
// args: what follows "stats". Returns the exit code.
int RunStats(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace zarv::server
