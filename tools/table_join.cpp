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
    net::TransportEvents* events() const override { return events_; }
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

// One bot at a table server: through the lobby to a table and a seat (or
// straight back to a seat it kept), then a client of that table as of any
// Dealer. Each step says on out or err what went wrong; Run's status is
// zarv-sim join's.
class TableBot {
public:
    TableBot(const TablePlan& plan, std::ostream& out, std::ostream& err, BotStats* stats)
        : plan_(plan), out_(out), err_(err), stats_(stats), noPauses_(clock_),
          transport_(tcp_, clock_, stats ? &stats->moveSeconds : nullptr),
          // A bot that keeps the table's pauses plays as a window does.
          m_(transport_, plan.pauses ? static_cast<EventPump&>(clock_) : noPauses_, net::NetworkSession::Role::Client,
             plan.seed, out),
          lobby_(transport_, &out), host_(QString::fromStdString(plan.host)),
          where_(plan.host + ":" + std::to_string(plan.port)), name_(plan.name) {
        m_.game.SetRole(false);
        transport_.SetEvents(&lobby_);
        options_.games = plan.games;
        options_.dropAtTrick = plan.dropAtTrick;
        options_.freezeAtTrick = plan.freezeAtTrick;
        options_.returnAfter = plan.returnAfter;
        options_.clock = &clock_;
        options_.reconnect = [this] { tcp_.ConnectTo(host_, static_cast<quint16>(plan_.port)); };
        tcp_.SetTls({plan.tls || !plan.pin.empty(), net::ParsePin(QString::fromStdString(plan.pin))});
    }

    int Run() {
        tcp_.ConnectTo(host_, static_cast<quint16>(plan_.port));
        if (const SavedSeat saved = ReadToken(plan_.tokenFile); !saved.token.empty()) return ReturnToSeat(saved);
        if (!ReachLobby()) return 3;
        if (!plan_.user.empty() && !SignIn()) return 4;
        const int table = FindTable();
        if (table == 0) return 4;
        out_ << "table " << table << '\n';
        if (plan_.watch) return Watch(table);
        const int seat = TakeSeat(table);
        if (seat == 0) return 4;
        if (plan_.onSeatKept) plan_.onSeatKept(table);
        return Play(seat);
    }

private:
    // Started again after it was stopped: straight back to its seat.
    int ReturnToSeat(const SavedSeat& saved) {
        m_.game.SetLocalSeat(saved.seat);
        m_.client().SetReturnRequest(saved.token);
        transport_.SetEvents(&m_.session);
        options_.returning = true;
        return Finish(RunClient(m_, options_));
    }

    bool ReachLobby() {
        if (!WaitFor(clock_, kAnswerLimit, [&] { return lobby_.connected || lobby_.failed || lobby_.closed; }) ||
            !lobby_.connected) {
            err_ << "zarv-sim: cannot reach " << where_ << ": "
                 << (lobby_.failed ? lobby_.failure : "no answer in 15 seconds") << '\n';
            return false;
        }
        if (!WaitFor(clock_, kAnswerLimit, [&] { return lobby_.lobbyVersion > 0 || lobby_.closed; }) ||
            !lobby_.lobbyVersion) {
            err_ << "zarv-sim: " << where_ << " is no table server (no lobby in 15 seconds)\n";
            return false;
        }
        return true;
    }

    // Signs in (registering first when asked); the bot plays under the account's name.
    bool SignIn() {
        const bool done = Ask([&] {
            if (plan_.registerUser)
                lobby_.Register(plan_.user, plan_.userPassword);
            else
                lobby_.SignIn(plan_.user, plan_.userPassword);
        });
        if (!done || lobby_.signedInAs.empty()) return false;
        name_ = lobby_.signedInAs;
        out_ << (plan_.registerUser ? "registered " : "signed in ") << name_ << '\n';
        return true;
    }

    // Asks the lobby and waits for its answer; a refusal is printed.
    template <typename Request>
    bool Ask(Request request) {
        lobby_.okWhat.clear();
        lobby_.refusal.clear();
        request();
        WaitFor(clock_, kAnswerLimit, [&] { return !lobby_.okWhat.empty() || !lobby_.refusal.empty() || lobby_.closed; });
        if (!lobby_.refusal.empty()) out_ << "refused: " << lobby_.refusal << '\n';
        out_.flush();
        return lobby_.refusal.empty() && !lobby_.okWhat.empty();
    }

    // The table's id: known already (a load measurement's makers tell their
    // partners), made now, or found by name; 0 when there is none.
    int FindTable() {
        if (plan_.tableId > 0) return plan_.tableId;
        if (plan_.create) {
            net::MakeRequest make = plan_.make;
            make.name = plan_.table;
            make.password = plan_.password;
            return Ask([&] { lobby_.Make(make); }) ? lobby_.okTable : 0;
        }
        // The table may be made a moment later by another bot.
        lobby_.List();
        WaitFor(clock_, plan_.waitForTable, [&] { return lobby_.TableNamed(plan_.table).has_value() || lobby_.closed; });
        const auto found = lobby_.TableNamed(plan_.table);
        if (!found) out_ << "refused: no table named " << plan_.table << '\n';
        return found.value_or(0);
    }

    int Watch(int table) {
        if (!Ask([&] { lobby_.Watch(table, plan_.password); })) return 4;
        out_ << "watching " << table << '\n';
        out_.flush();
        while (!lobby_.tableClosed && !lobby_.closed && (plan_.games == 0 || lobby_.gamesSeen < plan_.games))
            clock_.WaitForEvents(kForever);
        if (lobby_.tableClosed) out_ << "closed " << lobby_.closingWords << '\n';
        tcp_.Close(0);
        WaitFor(clock_, 5, [&] { return !tcp_.Flushing(); });
        return 0;
    }

    // The seat asked for, or the first free one (another bot may take it
    // first, then the next); 0 when none is to be had.
    int TakeSeat(int table) {
        if (plan_.seat > 0) return Ask([&] { lobby_.Sit(table, plan_.seat, plan_.password); }) ? plan_.seat : 0;
        if (!lobby_.listed) {
            lobby_.List();
            WaitFor(clock_, kAnswerLimit, [&] { return lobby_.listed || lobby_.closed; });
        }
        std::vector<int> tried;
        for (;;) {
            const net::TableLine& line = lobby_.tables[table];
            int next = 0;
            for (int s : {1, 2, 4})
                if (next == 0 && line.fills[static_cast<size_t>(s)] == net::SeatFill::Free &&
                    std::find(tried.begin(), tried.end(), s) == tried.end())
                    next = s;
            if (next == 0) {
                out_ << "refused: the table is full\n";
                return 0;
            }
            tried.push_back(next);
            if (Ask([&] { lobby_.Sit(table, next, plan_.password); })) return next;
        }
    }

    // From here the connection is the bot's session's, as with any Dealer.
    int Play(int seat) {
        const std::string side = net::SideWord(seat);
        m_.client().SetJoinRequest(name_, side);
        transport_.SetEvents(&m_.session);
        m_.session.OnConnected();
        WaitFor(clock_, kAnswerLimit, [&] { return m_.events.seat != 0 || m_.events.closed || !m_.events.bad.empty(); });
        if (m_.events.seat == 0 && m_.events.bad.empty()) {
            err_ << "zarv-sim: the table did not answer the request for a seat in 15 seconds\n";
            return 3;
        }
        if (!plan_.tokenFile.empty()) {
            // The token that gives the seat back, for a bot started again.
            WaitFor(clock_, kAnswerLimit, [&] { return m_.client().dealerIsOurs() || m_.events.closed; });
            std::ofstream(plan_.tokenFile) << m_.client().returnToken() << ' ' << m_.events.seat << '\n';
        }
        ThinkingPlayer thinking(m_.computer, clock_, plan_.thinkSeconds, plan_.seed);
        if (plan_.thinkSeconds > 0) m_.game.SetComputerPlayer(&thinking);
        options_.askedSide = side;
        return Finish(RunClient(m_, options_));
    }

    int Finish(int status) {
        if (stats_) stats_->gamesFinished = m_.gamesFinished;
        out_.flush();
        WaitFor(clock_, 5, [&] { return !tcp_.Flushing(); });
        return status;
    }

    const TablePlan& plan_;
    std::ostream& out_;
    std::ostream& err_;
    BotStats* stats_;
    net::TcpTransport tcp_;
    QtEventPump clock_;
    NoPausePump noPauses_;
    TimingTransport transport_;
    Machine m_;
    net::LobbyClient lobby_;
    ClientOptions options_;
    const QString host_;
    const std::string where_;
    std::string name_;  // the player's: the plan's, or the account's once signed in
};

} // namespace

int RunTableBot(const TablePlan& plan, std::ostream& out, std::ostream& err, BotStats* stats) {
    return TableBot(plan, out, err, stats).Run();
}

} // namespace zarv::sim
