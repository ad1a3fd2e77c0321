// Machines of a network game without a display: a Dealer whose own seat and
// empty seats are played by the computer, and bot clients whose own seat is
// played by the computer player on the client. zarv-sim serve and join run
// them over TCP; tests and benchmarks run them as threads over in-process
// connections.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <ostream>
#include <string>

#include "ai/card_selection.h"
#include "engine/game.h"
#include "engine/headless.h"
#include "engine/no_pause_pump.h"
#include "net/sessions.h"
#include "tools/report.h"

namespace zarv::sim {

// What a machine's session tells it, kept for the loops below.
struct MachineEvents : net::SessionListener {
    int seat = 0;            // a client: the seat granted (3: refused)
    std::string refusal;     // a client: why a return was refused
    bool tableArrived = false;  // a returning client: the Dealer sent the table
    bool dealerSilent = false;
    bool started = false;    // a client: "Start" arrived
    bool connectFailed = false;
    std::string failure;     // why connecting failed
    bool closed = false;     // a client: the Dealer's connection closed
    std::string bad;         // the last message that failed the checks
    std::ostream* out = nullptr;
    void Seated(int s, const std::string& text) override {
        seat = s;
        if (s == 3) refusal = text;
    }
    void TableReceived() override { tableArrived = true; }
    void DealerSilent(double seconds) override {
        dealerSilent = true;
        if (out) *out << "dealer silent for " << static_cast<int>(seconds) << " s\n";
        if (session) session->Leave();
    }
    // Before asking for the seat back: what the last connection said is over.
    void ResetForReturn() {
        refusal.clear();
        tableArrived = connectFailed = closed = false;
        failure.clear();
    }
    net::ClientSession* session = nullptr;
    void PlayerReturned(int s, const std::string&) override {
        if (out) *out << "back " << s << '\n';
    }
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
  private:
    std::unique_ptr<net::NetworkSession> ownSession_;
  public:
    // The session of the machine's role, and the same as that role's.
    net::NetworkSession& session;
    net::DealerSession& dealer() { return static_cast<net::DealerSession&>(session); }
    net::ClientSession& client() { return static_cast<net::ClientSession&>(session); }
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
    const GameState& s() const { return game.state(); }
};

struct DealerOptions {
    int clients = 3;     // start once this many players are seated
    double moveLimit = 0;    // seconds for a remote player before the computer plays (0: for ever)
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

// Faults a bot can play, for tests and measurements of network play.
struct ClientOptions {
    int dropAtTrick = 0;       // closes its connection at its n-th trick of the game (0: never)
    double returnAfter = -1;   // ... and comes back after that many seconds (< 0: never)
    int freezeAtTrick = 0;     // stops answering at its n-th trick, keeping the connection (0: never)
    std::string askedSide = "Against";  // the side asked for, to say when another was given
    // Connects the transport to the Dealer again (a return).
    std::function<void()> reconnect;
    // A clock that runs in real time (the machine's own pump may skip pauses).
    EventPump* clock = nullptr;
    double tryReturnFor = 120;  // seconds a lost player keeps trying to come back
    double tryEvery = 3;
    int games = 0;  // leaves after this many games (0: plays every game the Dealer starts)
    // A bot started again: the session asks for its seat back with a token
    // (SetReturnRequest) instead of joining.
    bool returning = false;
};

// Plays every game the Dealer starts, once connecting has begun (with the
// session's join request set before). Returns 0 when the Dealer closed after
// a finished game, 3 when the connection was lost during a game for good (or
// the Dealer sent a message that fails the checks), 4 when refused.
int RunClient(Machine& m, const ClientOptions& options = {});

} // namespace zarv::sim
