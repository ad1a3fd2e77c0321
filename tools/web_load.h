// zarv-sim load --web: the same measurement as load, with every bot a
// browser's WebSocket at the server's web port.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace zarv::sim {

struct WebLoadPlan {
    std::string host;
    int port = 0;  // the web port
    int tables = 0;
    int games = 1;
    uint64_t seed = 1;
    double think = 1.0;  // each decision takes up to this long, at random
    // Browsers arriving a second, each table's maker first (0: all at once).
    // People come one after another; a whole crowd in the same instant
    // would measure the lobby's first list told to everyone at once.
    int arrivals = 100;
};

// Prints "load tables N games G moves M seconds S move-p50-ms A move-p99-ms B failures F".
int RunWebLoad(const WebLoadPlan& plan, std::ostream& out, std::ostream& err);

} // namespace zarv::sim
