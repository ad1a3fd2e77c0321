#include "tools/table_join.h"

#include <algorithm>
#include <fstream>
#include <ostream>

#include "engine/no_pause_pump.h"
#include "engine/seeded_random.h"
#include "net/qt/qt_event_pump.h"
#include "net/qt/tcp_transport.h"
#include "net/qt/tls_pin.h"
#include "net/wire.h"
#include "net/lobby_client.h"
#include "tools/net_play.h"

namespace zarv::sim {

namespace {

constexpr double kAnswerLimit = 15.0;  // seconds for the server to answer

// Times a bot's moves: from a card sent to the next bytes from the server.
class TimingTransport : public net::Transport, public net::TransportEvents {
public:
    TimingTransport(net::Transport& inner, EventPump& clock, std::vector<double>* times)
        : inner_(inner), clock_(clock), times_(times) {
        inner_.SetEvents(this);
    }
    ~TimingTransport() override { inner_.SetEvents(nullptr); }
    void SetEvents(net::TransportEvents* events) override { events_ = events; }
    int ElementCount() const override { return inner_.ElementCount(); }
    bool IsConnected(int index) const override { return inner_.IsConnected(index); }
    void Send(int index, std::string_view bytes) override {
        if (times_ && bytes.substr(0, 5) == "IMove") sentAt_ = clock_.Now();
        inner_.Send(index, bytes);
    }
    void Close(int index) override { inner_.Close(index); }
    void StopListening() override { inner_.StopListening(); }
    void CloseAll() override { inner_.CloseAll(); }

    void OnAccepted(int index) override {
        if (events_) events_->OnAccepted(index);
    }
    void OnConnected() override {
        if (events_) events_->OnConnected();
    }
    void OnConnectFailed(const std::string& why) override {
        if (events_) events_->OnConnectFailed(why);
    }
    void OnData(int index, std::string_view bytes) override {
        if (sentAt_ >= 0 && times_) {
            times_->push_back(clock_.Now() - sentAt_);
            sentAt_ = -1;
        }
        if (events_) events_->OnData(index, bytes);
    }
    void OnClosed(int index) override {
        if (events_) events_->OnClosed(index);
    }

private:
    net::Transport& inner_;
    EventPump& clock_;
    std::vector<double>* times_;
    net::TransportEvents* events_ = nullptr;
    double sentAt_ = -1;
};

// A bot that takes a moment over each decision, as a person does: the
// tables of a measurement then do not all move in the same instant. It
// decides first and then waits, letting events run (as the window does
// while its computer player thinks).
class ThinkingPlayer : public ComputerPlayer {
public:
    ThinkingPlayer(ComputerPlayer& inner, EventPump& clock, double longest, uint64_t seed)
        : inner_(inner), clock_(clock), longest_(longest), random_(seed) {}
    CardChoice SelectCard(int seat, int position) override {
        CardChoice choice = inner_.SelectCard(seat, position);
        Think();
        return choice;
    }
    Suit ChooseTrump(int first, int count) override {
        const Suit trump = inner_.ChooseTrump(first, count);
        Think();
        return trump;
    }

private:
    void Think() {
        const double until = clock_.Now() + random_.Next() * longest_;
        while (clock_.Now() < until) clock_.WaitForEvents(until);
    }
    ComputerPlayer& inner_;
    EventPump& clock_;
    double longest_;
    SeededRandom random_;
};

// The token file holds the token and the seat it gives back.
struct SavedSeat {
    std::string token;
    int seat = 0;
};
SavedSeat ReadToken(const std::string& file) {
    SavedSeat saved;
    if (!file.empty()) std::ifstream(file) >> saved.token >> saved.seat;
    if (!net::IsToken(saved.token) || (saved.seat != 1 && saved.seat != 2 && saved.seat != 4)) return {};
    return saved;
}

template <typename Done>
bool WaitFor(EventPump& clock, double seconds, Done done) {
    const double until = clock.Now() + seconds;
    while (!done() && clock.Now() < until) clock.WaitForEvents(until);
    return done();
}

} // namespace

int RunTableBot(const TablePlan& plan, std::ostream& out, std::ostream& err, BotStats* stats) {
    net::TcpTransport tcp;
    QtEventPump clock;
    NoPausePump noPauses(clock);
    // A bot that keeps the table's pauses plays as a window does.
    EventPump& pump = plan.pauses ? static_cast<EventPump&>(clock) : noPauses;
    TimingTransport transport(tcp, clock, stats ? &stats->moveSeconds : nullptr);
    Machine m(transport, pump, net::NetworkSession::Role::Client, plan.seed, out);
    m.game.SetRole(false);
    net::LobbyClient lobby(transport, &out);
    transport.SetEvents(&lobby);
    const QString host = QString::fromStdString(plan.host);
    const std::string where = plan.host + ":" + std::to_string(plan.port);
    ClientOptions options;
    options.games = plan.games;
    options.dropAtTrick = plan.dropAtTrick;
    options.freezeAtTrick = plan.freezeAtTrick;
    options.returnAfter = plan.returnAfter;
    options.clock = &clock;
    options.reconnect = [&] { tcp.ConnectTo(host, static_cast<quint16>(plan.port)); };
    tcp.SetTls({plan.tls || !plan.pin.empty(), net::ParsePin(QString::fromStdString(plan.pin))});
    tcp.ConnectTo(host, static_cast<quint16>(plan.port));
    if (const SavedSeat saved = ReadToken(plan.tokenFile); !saved.token.empty()) {
        // Started again after it was stopped: straight back to its seat.
        m.game.SetLocalSeat(saved.seat);
        m.session.SetReturnRequest(saved.token);
        transport.SetEvents(&m.session);
        options.returning = true;
        const int status = RunClient(m, options);
        if (stats) stats->gamesFinished = m.gamesFinished;
        WaitFor(clock, 5, [&] { return !tcp.Flushing(); });
        return status;
    }

    if (!WaitFor(clock, kAnswerLimit, [&] { return lobby.connected || lobby.failed || lobby.closed; }) ||
        !lobby.connected) {
        err << "zarv-sim: cannot reach " << where << ": " << (lobby.failed ? lobby.failure : "no answer in 15 seconds")
            << '\n';
        return 3;
    }
    if (!WaitFor(clock, kAnswerLimit, [&] { return lobby.lobbyVersion > 0 || lobby.closed; }) || !lobby.lobbyVersion) {
        err << "zarv-sim: " << where << " is no table server (no lobby in 15 seconds)\n";
        return 3;
    }
    auto answered = [&] { return !lobby.okWhat.empty() || !lobby.refusal.empty() || lobby.closed; };
    auto ask = [&](auto request) {
        lobby.okWhat.clear();
        lobby.refusal.clear();
        request();
        WaitFor(clock, kAnswerLimit, answered);
        if (!lobby.refusal.empty()) out << "refused: " << lobby.refusal << '\n';
        out.flush();
        return lobby.refusal.empty() && !lobby.okWhat.empty();
    };

    int table = plan.tableId;
    if (table > 0) {
        // Known already (a load measurement's makers tell their partners).
    } else if (plan.create) {
        net::MakeRequest make = plan.make;
        make.name = plan.table;
        make.password = plan.password;
        if (!ask([&] { lobby.Make(make); })) return 4;
        table = lobby.okTable;
    } else {
        // The table may be made a moment later by another bot.
        lobby.List();
        WaitFor(clock, plan.waitForTable, [&] { return lobby.TableNamed(plan.table).has_value() || lobby.closed; });
        const auto found = lobby.TableNamed(plan.table);
        if (!found) {
            out << "refused: no table named " << plan.table << '\n';
            return 4;
        }
        table = *found;
    }
    out << "table " << table << '\n';

    if (plan.watch) {
        if (!ask([&] { lobby.Watch(table, plan.password); })) return 4;
        out << "watching " << table << '\n';
        out.flush();
        while (!lobby.tableClosed && !lobby.closed && (plan.games == 0 || lobby.gamesSeen < plan.games))
            clock.WaitForEvents(kForever);
        if (lobby.tableClosed) out << "closed " << lobby.closingWords << '\n';
        tcp.Close(0);
        WaitFor(clock, 5, [&] { return !tcp.Flushing(); });
        return 0;
    }

    int seat = plan.seat;
    if (seat > 0) {
        if (!ask([&] { lobby.Sit(table, seat, plan.password); })) return 4;
    } else {
        // The first free seat; another bot may take it first, then the next.
        if (!lobby.listed) {
            lobby.List();
            WaitFor(clock, kAnswerLimit, [&] { return lobby.listed || lobby.closed; });
        }
        std::vector<int> tried;
        while (seat == 0) {
            const net::TableLine& line = lobby.tables[table];
            int next = 0;
            for (int s : {1, 2, 4})
                if (next == 0 && line.fills[static_cast<size_t>(s)] == net::SeatFill::Free &&
                    std::find(tried.begin(), tried.end(), s) == tried.end())
                    next = s;
            if (next == 0) {
                out << "refused: the table is full\n";
                return 4;
            }
            tried.push_back(next);
            if (ask([&] { lobby.Sit(table, next, plan.password); })) seat = next;
        }
    }
    if (plan.onSeatKept) plan.onSeatKept(table);
    // From here the connection is the bot's session's, as with any Dealer.
    const std::string side = net::SideWord(seat);
    m.session.SetJoinRequest(plan.name, side);
    transport.SetEvents(&m.session);
    m.session.OnConnected();
    WaitFor(clock, kAnswerLimit, [&] { return m.events.seat != 0 || m.events.closed || !m.events.bad.empty(); });
    if (m.events.seat == 0 && m.events.bad.empty()) {
        err << "zarv-sim: the table did not answer the request for a seat in 15 seconds\n";
        return 3;
    }
    if (!plan.tokenFile.empty()) {
        // The token that gives the seat back, for a bot started again.
        WaitFor(clock, kAnswerLimit, [&] { return m.session.dealerIsOurs() || m.events.closed; });
        std::ofstream(plan.tokenFile) << m.session.returnToken() << ' ' << m.events.seat << '\n';
    }
    ThinkingPlayer thinking(m.computer, clock, plan.thinkSeconds, plan.seed);
    if (plan.thinkSeconds > 0) m.game.SetComputerPlayer(&thinking);
    options.askedSide = side;
    const int status = RunClient(m, options);
    if (stats) stats->gamesFinished = m.gamesFinished;
    out.flush();
    WaitFor(clock, 5, [&] { return !tcp.Flushing(); });
    return status;
}

} // namespace zarv::sim
