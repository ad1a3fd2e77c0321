// A bot at a table server: through the lobby to a table (made, or found by
// name), then a seat played by the computer player on the bot, or a place
// among the watchers. zarv-sim join --table runs one; zarv-sim load runs many
// on threads of their own.
#pragma once

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

#include "net/lobby_wire.h"

namespace zarv::sim {

struct TablePlan {
    std::string host;
    int port = 0;
    std::string name = "Unknown";   // the player's
    std::string table;              // the table's name
    int tableId = 0;                // or its number, when known
    bool create = false;
    net::MakeRequest make;          // when creating (its name is the table's)
    int seat = 0;                   // 1, 2 or 4; 0: the first free one
    bool watch = false;
    std::string password;
    bool tls = false;               // speak TLS; the certificate is checked
    std::string pin;                // ... against this SHA-256 fingerprint, else the trust store
    int games = 0;                  // leave after this many games (0: play every game)
    double waitForTable = 15;       // seconds to wait for the table to appear in the lobby
    uint64_t seed = 1;
    bool pauses = false;            // keep the pauses of a game, as a window does
    double thinkSeconds = 0;        // each decision takes up to this long (at random)
    // Faults, as for zarv-sim join.
    int dropAtTrick = 0, freezeAtTrick = 0;
    double returnAfter = -1;
    // Keeps the seat's return token; a bot started again with a token there
    // goes straight back to its seat.
    std::string tokenFile;
    // An account: signed in (or registered first) before the table, and
    // played under its name.
    std::string user;
    std::string userPassword;
    bool registerUser = false;
    // Called once the bot's seat is kept (with the table's number).
    std::function<void(int)> onSeatKept;
};

// What a load measurement collects from its bots.
struct BotStats {
    std::vector<double> moveSeconds;  // from sending a card to the server's next message
    int gamesFinished = 0;
};

// Runs the bot; its lines go to out, problems to err. Exit status as for
// zarv-sim join: 0 done, 3 lost or broken, 4 refused.
int RunTableBot(const TablePlan& plan, std::ostream& out, std::ostream& err, BotStats* stats = nullptr);

} // namespace zarv::sim
