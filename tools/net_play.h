// Machines of a network game without a display: a Dealer whose own seat and
// empty seats are played by the computer, and bot clients whose own seat is
// played by the computer player on the client. zarv-sim serve and join run
// them over TCP; tests and benchmarks run them as threads over in-process
// connections.
#pragma once

#include <atomic>
#include <cstdint>
#include <ostream>
#include <string>

#include "ai/card_selection.h"
#include "engine/game.h"
#include "engine/headless.h"
#include "net/session.h"
#include "tools/report.h"

namespace zarv::sim {

// What a machine's session tells it, kept for the loops below.
struct MachineEvents : net::SessionListener {
    int seat = 0;            // a client: the seat granted (3: refused)
    bool started = false;    // a client: "Start" arrived
    bool connectFailed = false;
    std::string failure;     // why connecting failed
    bool closed = false;     // a client: the Dealer's connection closed
    std::string bad;         // the last message that failed the checks
    std::ostream* out = nullptr;
    void Seated(int s, const std::string&) override { seat = s; }
    void StartReceived() override { started = true; }
    void ConnectFailed(const std::string& why) override {
        connectFailed = true;
        failure = why;
    }
    void BadMessage(const std::string& what) override { bad = what; }
    void ConnectionClosed(int index) override { closed = closed || index == 0; }
    void PlayerLost(int s, const std::string&) override {
        if (out) *out << "disconnected " << s << '\n';
    }
};

struct Machine {
    Machine(net::Transport& transport, EventPump& pump, net::NetworkSession::Role role, uint64_t seed,
            std::ostream& out);
    net::NetworkSession session;
    QuietTable view;
    SeededRandom random;
    NoRecords records;
    Game game;
    ai::ComputerSeatPlayer computer;
    MachineEvents events;
    HandReporter reporter;
    // What hears of the game's hands and tricks (the reporter, unless a test
    // puts a listener of its own in front of it).
    GameObserver* observer = &reporter;
    EventPump& pump;
    std::ostream& out;
    int gamesFinished = 0;
    GameState& s() { return game.state(); }
};

struct DealerOptions {
    int clients = 3;     // start once this many players are seated
    int games = 1;
    bool lobbyOnly = false;  // seat and refuse players, never start
    const std::atomic<bool>* stop = nullptr;  // ends the lobby (a signal)
    // Waits of the lobby on a real clock, so that a connection that never asks
    // for a seat is closed after its time (none: the lobby only waits for events).
    EventPump* lobbyClock = nullptr;
};

// Seats players until enough have joined, plays the games, closes every
// connection. Returns the exit status (0).
int RunDealer(Machine& m, const DealerOptions& options);

// Plays every game the Dealer starts, once connecting has begun (with the
// session's join request set before). Returns 0 when the Dealer closed after
// a finished game, 3 when the connection was lost during a game (or the Dealer
// sent a message that fails the checks), 4 when refused.
int RunClient(Machine& m);

} // namespace zarv::sim

namespace zarv::sim {

// Waits without pauses: a wait with a deadline only runs what is pending and
// moves a clock of its own on, so a game between machines runs as fast as the
// messages travel; a wait for an event sleeps in the wrapped pump.
class NoPausePump : public EventPump {
public:
    explicit NoPausePump(EventPump& inner) : inner_(inner) {}
    void ProcessEvents() override { inner_.ProcessEvents(); }
    void WaitForEvents(double deadline) override;
    double Now() const override { return inner_.Now() + skipped_; }

private:
    EventPump& inner_;
    double skipped_ = 0;
};

} // namespace zarv::sim
