#include "tools/net_play.h"

#include <cmath>

namespace zarv::sim {

Machine::Machine(net::Transport& transport, EventPump& p, net::NetworkSession::Role role, uint64_t seed,
                 std::ostream& o)
    : session(transport, p, role),
      random(seed),
      game(EngineServices{view, p, random, session, records}),
      computer(game.state()),
      reporter(game.state(), o),
      pump(p),
      out(o) {
    session.Attach(game);
    session.SetListener(&events);
    events.out = &o;
    reporter.handLines = true;
    game.SetComputerPlayer(&computer);
    game.SetObserver(&reporter);
}

namespace {
void PrintGameOver(Machine& m) {
    m.out << "game-over points " << m.s().PointsA << '-' << m.s().PointsB << '\n';
    m.out.flush();
}
} // namespace

int RunDealer(Machine& m, const DealerOptions& o) {
    GameState& s = m.s();
    s.IsDealer = true;
    m.reporter.handLines = true;
    // The Dealer's own seat, and every seat nobody takes, is played by the computer.
    static const char* const kNames[5] = {"", "Tib ", "Vrel", "Zarv", "Dastrel"};
    for (int seat = 1; seat <= 4; ++seat) {
        s.Seats[seat].Name = kNames[seat];
        s.Seats[seat].Kind = SeatKind::Computer;
    }
    auto stopped = [&] { return o.stop && o.stop->load(); };
    while (!stopped() && (o.lobbyOnly || m.session.seatedCount() < o.clients)) {
        if (o.lobbyClock)
            o.lobbyClock->WaitForEvents(m.session.Housekeep());
        else
            m.pump.WaitForEvents(kForever);
        m.game.CheckConnections();
    }
    if (o.lobbyOnly || stopped()) {
        m.session.CloseAll();
        return 0;
    }
    m.session.StopAccepting();
    m.game.SetObserver(m.observer);
    m.view.askNewGame = [&] {
        PrintGameOver(m);
        return ++m.gamesFinished < o.games;
    };
    m.game.StartClick();
    m.session.CloseAll();
    return 0;
}

int RunClient(Machine& m) {
    m.game.SetLocalAutoplay(true);
    // Every machine puts the same seat's hand in order as the Dealer does, so
    // the computer player on this client sees the table exactly as it would
    // on the Dealer.
    std::array<bool, 5> sorted{};
    sorted[3] = true;
    m.game.SetSortedSeats(sorted);
    auto badMessage = [&] {
        m.out << "bad-message " << m.events.bad << '\n';
        m.out.flush();
        return 3;
    };
    while (m.events.seat == 0 && !m.events.connectFailed && !m.events.closed && m.events.bad.empty())
        m.pump.WaitForEvents(kForever);
    if (!m.events.bad.empty()) return badMessage();
    if (m.events.seat == 0) return 3;
    if (m.events.seat == 3) {
        m.out << "refused\n";
        return 4;
    }
    m.out << "seat " << m.events.seat << '\n';
    m.out.flush();

    while (!m.events.started && !m.events.closed && m.events.bad.empty()) m.pump.WaitForEvents(kForever);
    // From a deal to its game's end, the game is in progress.
    struct Watch : GameObserver {
        GameObserver& inner;
        net::NetworkSession& session;
        bool midGame = false;
        Watch(GameObserver& r, net::NetworkSession& n) : inner(r), session(n) {}
        void HandStarted(int master) override {
            // A deal after the Dealer has gone is no game of the Dealer's.
            midGame = session.IsConnected(0);
            if (midGame) inner.HandStarted(master);
        }
        void TrumpKnown(Suit t) override {
            if (midGame) inner.TrumpKnown(t);
        }
        void TrickSettled(const TrickRecord& t) override {
            if (midGame) inner.TrickSettled(t);
        }
        void HandScored(int w, int p) override {
            if (midGame) inner.HandScored(w, p);
        }
        void PlayerLost(int seat) override { inner.PlayerLost(seat); }
    } watch(*m.observer, m.session);
    m.view.askNewGame = [&] {
        PrintGameOver(m);
        ++m.gamesFinished;
        watch.midGame = false;
        return true;  // wait for the Dealer's next game, or for it to close
    };
    if (m.events.started && m.events.bad.empty()) {
        m.game.SetObserver(&watch);
        m.game.StartClick();
        m.game.SetObserver(m.observer);
    }
    m.out.flush();
    if (!m.events.bad.empty()) return badMessage();
    return (watch.midGame || m.gamesFinished == 0) ? 3 : 0;
}

} // namespace zarv::sim

namespace zarv::sim {

void NoPausePump::WaitForEvents(double deadline) {
    if (std::isinf(deadline)) {
        inner_.WaitForEvents(deadline);
        return;
    }
    inner_.ProcessEvents();
    const double now = Now();
    if (deadline > now) skipped_ += deadline - now;
}

} // namespace zarv::sim
