#include "tools/net_play.h"

#include <cmath>

namespace zarv::sim {

Machine::Machine(net::Transport& transport, EventPump& p, net::NetworkSession::Role role, uint64_t seed,
                 std::ostream& o)
    : ownSession_(net::MakeSession(role, transport, p)),
      session(*ownSession_),
      random(seed),
      game(EngineServices{view, p, random, session, records}),
      computer(game.state()),
      reporter(game, o),
      pump(p),
      out(o) {
    session.Attach(game);
    session.SetListener(&events);
    events.out = &o;
    // A client leaves a Dealer that says nothing for long enough.
    events.session = role == net::NetworkSession::Role::Client ? &client() : nullptr;
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
    m.game.SetRole(true);
    m.reporter.handLines = true;
    // The Dealer's own seat, and every seat nobody takes, is played by the computer.
    m.game.SeatComputerPlayers();
    auto stopped = [&] { return o.stop && o.stop->load(); };
    while (!stopped() && (o.lobbyOnly || m.dealer().seatedCount() < o.clients)) {
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
    m.dealer().StopAccepting();
    m.game.SetMoveLimit(o.moveLimit);
    m.game.SetObserver(m.observer);
    m.view.askNewGame = [&] {
        PrintGameOver(m);
        return ++m.gamesFinished < o.games;
    };
    m.game.StartClick();
    m.session.CloseAll();
    return 0;
}

namespace {

// From a deal to its game's end, the game is in progress; the reporter hears
// of it only then, and the faults a bot was told to play happen at their trick.
struct ClientWatch : GameObserver {
    Machine& m;
    const ClientOptions& o;
    GameObserver& inner;
    bool midGame = false;
    int tricksOfGame = 0;
    bool dropped = false, frozen = false;
    ClientWatch(Machine& machine, const ClientOptions& options)
        : m(machine), o(options), inner(*machine.observer) {}
    void HandStarted(int master) override {
        // A deal after the Dealer has gone is no game of the Dealer's.
        midGame = m.session.IsConnected(0);
        if (midGame) inner.HandStarted(master);
    }
    void TrumpKnown(Suit t) override {
        if (midGame) inner.TrumpKnown(t);
    }
    void TrickSettled(const TrickRecord& t) override {
        if (!midGame) return;
        inner.TrickSettled(t);
        ++tricksOfGame;
        if (tricksOfGame == o.dropAtTrick && !dropped) Drop();
        if (tricksOfGame == o.freezeAtTrick && !frozen) Freeze();
    }
    void HandScored(int w, int p) override {
        if (midGame) inner.HandScored(w, p);
    }
    void PlayerLost(int seat) override { inner.PlayerLost(seat); }
    void TableTakenUp() override {
        midGame = true;
        inner.TableTakenUp();
    }
    void Drop() {
        dropped = true;
        m.out << "dropped at trick " << tricksOfGame << '\n';
        m.out.flush();
        // As a network that goes away: the connection closes, the game here stops.
        m.session.Drop(0);
        m.game.EndHere();
    }
    void Freeze() {
        frozen = true;
        m.out << "frozen at trick " << tricksOfGame << '\n';
        m.out.flush();
        // Silent but connected: what arrives is read, nothing is answered,
        // until the Dealer gives up on this seat and closes the connection.
        while (m.session.LinkOpen(0)) m.pump.WaitForEvents(kForever);
        m.game.EndHere();
    }
};

// Waits on the real clock until the time or until done() says so.
template <typename Done>
void WaitUntil(EventPump& clock, double until, Done done) {
    while (!done() && clock.Now() < until) clock.WaitForEvents(until);
}

// Asks for the seat back until the Dealer sends the table, refuses, or the
// time is up. True with the table in the session.
bool ComeBack(Machine& m, const ClientOptions& o, double delay) {
    if (!o.reconnect || !o.clock) return false;
    EventPump& clock = *o.clock;
    const std::string token = m.client().returnToken();
    WaitUntil(clock, clock.Now() + delay, [] { return false; });
    const double giveUpAt = clock.Now() + o.tryReturnFor;
    while (clock.Now() < giveUpAt) {
        m.events.ResetForReturn();
        m.client().SetReturnRequest(token);
        o.reconnect();
        const double tryUntil = std::min(giveUpAt, clock.Now() + o.tryEvery);
        WaitUntil(clock, tryUntil, [&] {
            return m.events.tableArrived || !m.events.refusal.empty() || m.events.connectFailed || m.events.closed;
        });
        if (m.events.tableArrived) return true;
        if (!m.events.refusal.empty()) {
            m.out << "return refused: " << m.events.refusal << '\n';
            return false;
        }
        // Nobody listens there any more: the Dealer's program has ended (it
        // listens as long as its game runs). Only silence is worth waiting out.
        if (m.events.connectFailed && m.events.failure.find("refused") != std::string::npos) {
            m.out << "return refused: the Dealer is no longer there\n";
            return false;
        }
        WaitUntil(clock, tryUntil, [] { return false; });
    }
    return false;
}

} // namespace

namespace {
template <typename Begin>
int PlayGames(Machine& m, const ClientOptions& o, Begin begin);
int ReturnToTable(Machine& m, const ClientOptions& o);
} // namespace

int RunClient(Machine& m, const ClientOptions& o) {
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
    if (o.returning) return ReturnToTable(m, o);
    while (m.events.seat == 0 && !m.events.connectFailed && !m.events.closed && m.events.bad.empty())
        m.pump.WaitForEvents(kForever);
    if (!m.events.bad.empty()) return badMessage();
    if (m.events.seat == 0) return 3;
    if (m.events.seat == 3) {
        m.out << "refused\n";
        return 4;
    }
    m.out << "seat " << m.events.seat << '\n';
    // Another side than asked for is said, not left to be guessed.
    const bool partner = m.events.seat == 1;
    if (partner != (o.askedSide == "Partner"))
        m.out << "side " << (partner ? "partner" : "against") << ": the " << (partner ? "against" : "partner")
              << " seats were taken\n";
    m.out.flush();

    while (!m.events.started && !m.events.closed && m.events.bad.empty() && !m.events.dealerSilent)
        m.pump.WaitForEvents(kForever);
    if (!m.events.started || !m.events.bad.empty()) {
        m.out.flush();
        return m.events.bad.empty() ? 3 : badMessage();
    }
    return PlayGames(m, o, [&] { m.game.StartClick(); });
}

namespace {

// Plays from the first game (or the table taken back) on, coming back to
// the seat whenever the connection is lost in the middle of a game.
template <typename Begin>
int PlayGames(Machine& m, const ClientOptions& o, Begin begin) {
    auto badMessage = [&] {
        m.out << "bad-message " << m.events.bad << '\n';
        m.out.flush();
        return 3;
    };
    ClientWatch watch(m, o);
    m.view.askNewGame = [&] {
        PrintGameOver(m);
        ++m.gamesFinished;
        watch.midGame = false;
        watch.tricksOfGame = 0;
        if (o.games > 0 && m.gamesFinished >= o.games) {
            m.client().Leave();
            return false;
        }
        return true;  // wait for the Dealer's next game, or for it to close
    };
    {
        m.game.SetObserver(&watch);
        begin();
        // Lost in the middle of a game: our own Dealer keeps the seat.
        while (m.events.bad.empty() && !watch.frozen && !m.events.dealerSilent && watch.midGame &&
               m.client().CanReturn()) {
            const double delay = watch.dropped ? o.returnAfter : 0;
            if (watch.dropped && o.returnAfter < 0) break;
            if (!ComeBack(m, o, std::max(0.0, delay))) break;
            const auto table = m.client().TakeTable();
            if (!table) break;
            m.out << "returned seat " << table->seat << '\n';
            m.out.flush();
            watch.dropped = false;
            m.game.Resume(*table);
        }
        m.game.SetObserver(m.observer);
    }
    m.out.flush();
    if (!m.events.bad.empty()) return badMessage();
    return (watch.midGame || m.gamesFinished == 0) ? 3 : 0;
}

// A bot started again after it was stopped, with the token its table gave
// it: it asks for its seat back (the session sends "Return") and takes the
// game up where the table stands.
int ReturnToTable(Machine& m, const ClientOptions& o) {
    while (!m.events.tableArrived && m.events.refusal.empty() && !m.events.connectFailed && !m.events.closed &&
           m.events.bad.empty())
        m.pump.WaitForEvents(kForever);
    const auto table = m.client().TakeTable();
    if (!table) {
        if (!m.events.refusal.empty()) m.out << "return refused: " << m.events.refusal << '\n';
        if (!m.events.bad.empty()) m.out << "bad-message " << m.events.bad << '\n';
        m.out.flush();
        return m.events.refusal.empty() ? 3 : 4;
    }
    m.out << "returned seat " << table->seat << '\n';
    m.out.flush();
    return PlayGames(m, o, [&] { m.game.Resume(*table); });
}

} // namespace

} // namespace zarv::sim
