// Machines of a network game inside one process, for the tests: each with
// its end of the connections, its waits and its game, run as threads.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "net/local_transport.h"
#include "tools/net_play.h"

namespace zarv::testing {

using net::LocalEndpoint;
using net::LocalPump;
using net::NetworkSession;
using net::SessionListener;
using net::TransportEvents;
using sim::Machine;

// A machine of its own: its end of the connections, its waits, its game.
struct LocalMachine {
    LocalEndpoint endpoint;
    LocalPump pump{endpoint};
    std::ostringstream out;
    Machine m;
    LocalMachine(NetworkSession::Role role, uint64_t seed) : m(endpoint, pump, role, seed, out) {}
};

// A peer that speaks raw bytes and keeps what it hears.
struct RawPeer : TransportEvents {
    LocalEndpoint endpoint;
    std::string heard;
    bool connected = false, closed = false;
    RawPeer() { endpoint.SetEvents(this); }
    void OnAccepted(int) override {}
    void OnConnected() override { connected = true; }
    void OnConnectFailed(const std::string&) override {}
    void OnData(int, std::string_view b) override { heard += b; }
    void OnClosed(int) override { closed = true; }
    void Say(std::string_view text) { endpoint.Send(0, text); }
};

// Only the lines every machine prints alike.
inline std::string GameLines(const std::string& all) {
    std::istringstream in(all);
    std::string line, kept;
    while (std::getline(in, line))
        for (const char* p : {"hand ", "trump", "trick ", "result ", "game-over "})
            if (line.rfind(p, 0) == 0) kept += line + "\n";
    return kept;
}


// The engine's waits for another machine, as a clock: a returning bot waits
// on it for the Dealer's answer (the peer gets real time to answer).
struct MessageClock : EventPump {
    LocalPump& pump;
    explicit MessageClock(LocalPump& p) : pump(p) {}
    void ProcessEvents() override { pump.ProcessEvents(); }
    void WaitForEvents(double deadline) override { pump.WaitForMessage(deadline); }
    double Now() const override { return pump.Now(); }
};

// Checks, at each news of a seat handed to the computer, that the table
// already shows it: the last redraw had the seat as the computer's, and the
// status no longer waits for it.
struct NewsAgreesWithTable {
    int told = 0;
    int contradicted = 0;
    explicit NewsAgreesWithTable(Machine& m) {
        m.view.onRefresh = [this, &m] {
            for (int seat = 1; seat <= 4; ++seat) shownKinds[static_cast<size_t>(seat)] = m.game.state().Seats[seat].Kind;
        };
        m.view.onAnnounce = [this, &m](const TableEvent& e) {
            if (e.kind != TableEvent::Kind::SeatReplaced) return;
            ++told;
            const GameState& s = m.game.state();
            if (shownKinds[static_cast<size_t>(e.seat)] != SeatKind::Computer || s.WaitingForSeat == e.seat) ++contradicted;
        };
    }
    std::array<SeatKind, 5> shownKinds{};
};

struct Network4 {
    LocalMachine dealer{NetworkSession::Role::Dealer, 0};
    std::vector<std::unique_ptr<LocalMachine>> clients;
    int dealerStatus = -1;
    std::vector<int> status;
    explicit Network4(uint64_t seed, int clientCount = 3) : dealer(NetworkSession::Role::Dealer, seed) {
        dealer.endpoint.Listen();
        for (int i = 0; i < clientCount; ++i)
            clients.push_back(std::make_unique<LocalMachine>(NetworkSession::Role::Client, 100 + i));
        for (auto& c : clients) clocks.push_back(std::make_unique<MessageClock>(c->pump));
        status.assign(clients.size(), -1);
        clientOptions.resize(clients.size());
    }
    sim::DealerOptions dealerOptions;
    std::vector<sim::ClientOptions> clientOptions;
    std::vector<std::unique_ptr<MessageClock>> clocks;
    // Plays with the given hooks set on the machines before their threads start.
    void Play(int games = 1) {
        std::vector<std::thread> threads;
        sim::DealerOptions options = dealerOptions;
        options.clients = static_cast<int>(clients.size());
        options.games = games;
        threads.emplace_back([&] { dealerStatus = sim::RunDealer(dealer.m, options); });
        for (size_t i = 0; i < clients.size(); ++i) {
            threads.emplace_back([&, i] {
                clients[i]->m.client().SetJoinRequest("P" + std::to_string(i), "Against");
                clients[i]->endpoint.ConnectTo(dealer.endpoint);
                sim::ClientOptions& o = clientOptions[i];
                if (!o.reconnect) o.reconnect = [&, i] { clients[i]->endpoint.ConnectTo(dealer.endpoint); };
                if (!o.clock) o.clock = clocks[i].get();
                status[i] = sim::RunClient(clients[i]->m, o);
            });
        }
        for (auto& t : threads) t.join();
    }
};


} // namespace zarv::testing
