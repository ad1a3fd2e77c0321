// zarv-sim load: fills tables of a table server with bots and measures.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace zarv::sim {

// "load HOST:PORT --tables N [--games G] [--seed S] [--level standard|expert] [--no-pauses]
// [--think-ms M] [--web] [--flood chat|junk|acks]" (each bot decision takes up to M ms at random;
// default 1000). --flood puts a hostile seat at the first table in place of its seat 4 bot.
// With --web, HOST:PORT is the server's web port and every bot is a browser's
// WebSocket; the bots at a table play as people do through the lobby.
int RunLoad(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace zarv::sim
