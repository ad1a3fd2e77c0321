// A hostile seat for zarv-sim load: it sits at a table and then sends chat
// lines, or pieces of no command, as fast as its socket takes them, until
// the server closes it. What it measures: how much it sent, and when it was
// closed.
#pragma once

#include <atomic>
#include <string>

namespace zarv::sim {

struct FloodPlan {
    std::string host;
    int port = 0;
    int table = 0;  // sits at seat 4 of this table
    // What it sends: chat lines, pieces of no command, or the protocol's own
    // acknowledgements (each one a table takes, none it asked for).
    enum class Kind { Chat, Junk, Acks } kind = Kind::Chat;
    std::string name = "flooder";
};

struct FloodResult {
    long long bytesSent = 0;
    double closedAfter = -1;  // seconds after it began flooding (-1: never closed)
    std::string failure;      // why it never sat, if so
};

// Runs on the caller's thread until the server closes the connection or stop is set.
FloodResult RunFlooder(const FloodPlan& plan, const std::atomic<bool>& stop);

} // namespace zarv::sim
