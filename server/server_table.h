// One table of a table server: a game as a Dealer plays it, on a thread of
// its own, with the server's computer player at the Dealer's seat (3) and in
// every seat nobody takes. The players' connections belong to the socket
// thread; the table sees them as the elements of a transport of its own and
// writes to them through a TableOutlet.
#pragma once

#include <array>
#include <atomic>
#include <map>
#include <mutex>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "net/lobby_wire.h"
#include "server/game_record.h"

namespace zarv::server {

struct TableRules {
    std::string name;
    ai::Level level = ai::Level::Standard;  // of its computer players
    double moveLimit = 60;       // seconds for a person's decision (0: for ever)
    bool startsByMaker = true;   // else a set time after the first player sat
    double autoStartAfter = 60;  // seconds, for a table that starts by itself
    bool skipPauses = false;     // play as fast as the messages travel (measuring, tests)
    double nextGameAfter = 10;   // seconds between two games
    double idleAfter = 600;      // seconds a table without people is kept
    uint64_t seed = 1;
    bool playNow = false;        // one person and three computers: starts at once, gives hints
    bool rated = true;           // its games count in the ratings
};

// What a table tells the server. Called on the table's thread.
class TableOutlet {
public:
    virtual ~TableOutlet() = default;
    // What the table wrote since it last slept, in order: texts for
    // connections, and connections to close once their texts are written.
    struct Write {
        int connection = 0;
        std::string text;
        bool close = false;  // close the connection (its texts before are written first)
    };
    virtual void Written(int table, std::vector<Write> writes) = 0;
    // The seats (names and how they are filled) or the state changed.
    virtual void Changed(int table, const std::array<std::string, 5>& names, const std::array<net::SeatFill, 5>& fills,
                         bool playing) = 0;
    virtual void TokenGiven(int table, int connection, const std::string& token) = 0;
    virtual void TableLog(int table, std::string line) = 0;
    // The table has closed every connection and its thread is ending.
    virtual void Ended(int table) = 0;
};

// What the lobby asks of a table. Any thread.
class TableHandle {
public:
    virtual ~TableHandle() = default;
    // A connection comes to the table: to sit down (its "Connect" follows,
    // with the seat it chose, 0 for any) or to come back (its "Return" follows).
    virtual void Admit(int connection, int chosenSeat) = 0;
    // A whole message ("Command;Detail|") from a connection at the table.
    virtual void Deliver(int connection, std::string text) = 0;
    virtual void Lost(int connection) = 0;
    virtual void Watch(int connection) = 0;
    // The same for a browser: it hears its seat's view in JSON, never the
    // protocol's texts (which carry the whole deal).
    virtual void AdmitBrowser(int connection, int chosenSeat) { Admit(connection, chosenSeat); }
    virtual void WatchBrowser(int connection) { Watch(connection); }
    virtual void Unwatch(int connection) = 0;
    virtual void Start() = 0;
    // Messages of the connection handed to Deliver that the table has not taken yet.
    virtual size_t Waiting(int /*connection*/) const { return 0; }
    // Every player hears the words; the game ends and the table closes.
    virtual void Shutdown(std::string words) = 0;
};

class ServerTable : public TableHandle {
public:
    // results: where finished games (and the hands of unfinished ones) go; may be null.
    ServerTable(int id, TableRules rules, TableOutlet& outlet, ResultsSink* results = nullptr);
    ~ServerTable() override;  // ends the table and waits for its thread
    ServerTable(const ServerTable&) = delete;
    ServerTable& operator=(const ServerTable&) = delete;

    int id() const { return id_; }
    const TableRules& rules() const { return rules_; }

    void Admit(int connection, int chosenSeat) override;
    void Deliver(int connection, std::string text) override;
    void Lost(int connection) override;
    void Watch(int connection) override;
    void AdmitBrowser(int connection, int chosenSeat) override;
    void WatchBrowser(int connection) override;
    void Unwatch(int connection) override;
    void Start() override;
    void Shutdown(std::string words) override;
    size_t Waiting(int connection) const override;

private:
    void Taken(int connection);
    class Runner;
    const int id_;
    const TableRules rules_;
    std::unique_ptr<Runner> runner_;
    mutable std::mutex waitingLock_;
    std::map<int, size_t> waiting_;  // connection -> messages posted, not yet taken
    std::thread thread_;
};

} // namespace zarv::server
