#include <fstream>
#include "tools/net_commands.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QSocketNotifier>
#include <atomic>
#include <map>
#include <csignal>
#include <cstdio>
#include <iostream>
#include <unistd.h>

#include "net/qt/qt_event_pump.h"
#include "net/qt/tcp_transport.h"
#include "net/qt/tls_pin.h"
#include "net/wire.h"
#include "tools/net_play.h"
#include "cmdline/options.h"
#include "tools/table_join.h"
#include "tools/load.h"
#include "net/lobby_wire.h"

namespace zarv::sim {

using namespace cmdline;

namespace {

constexpr double kConnectTimeout = 15.0;  // seconds for a client to reach the Dealer
constexpr double kFlushTimeout = 5.0;     // seconds to write out the last words

std::atomic<bool> gStop{false};
int gSignalPipe[2] = {-1, -1};

void OnSignal(int) {
    gStop = true;
    const char byte = 1;
    [[maybe_unused]] const auto written = write(gSignalPipe[1], &byte, 1);
}

// SIGTERM and SIGINT end the lobby: the signal wakes the event loop through a pipe.
struct SignalWatch {
    std::unique_ptr<QSocketNotifier> notifier;
    SignalWatch() {
        if (pipe(gSignalPipe) != 0) return;
        notifier = std::make_unique<QSocketNotifier>(gSignalPipe[0], QSocketNotifier::Read);
        QObject::connect(notifier.get(), &QSocketNotifier::activated, [] {
            char buffer[16];
            [[maybe_unused]] const auto n = read(gSignalPipe[0], buffer, sizeof buffer);
        });
        std::signal(SIGTERM, OnSignal);
        std::signal(SIGINT, OnSignal);
    }
};

void Flush(net::TcpTransport& transport, QtEventPump& pump) {
    const double until = pump.Now() + kFlushTimeout;
    while (transport.Flushing() && pump.Now() < until) pump.WaitForEvents(std::min(until, pump.Now() + 0.05));
}

int Serve(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::vector<std::string> rest(args);
    const bool lobby = std::erase(rest, std::string("--lobby")) > 0;
    const auto o = ParseOptions(rest, 1, {"--port", "--clients", "--games", "--seed", "--move-limit"});
    const bool portGiven = o.count("--port") > 0;
    const int port = portGiven ? static_cast<int>(ParseWhole(o.at("--port"), "--port", 0)) : net::kDefaultPort;
    if (port > 65535) throw UsageError{"--port must be at most 65535"};
    const int clients = o.count("--clients") ? static_cast<int>(ParseWhole(o.at("--clients"), "--clients", 1)) : 3;
    if (clients > 3) throw UsageError{"--clients must be at most 3"};
    const long long games = o.count("--games") ? ParseWhole(o.at("--games"), "--games", 1, 1'000'000) : 1;
    const uint64_t seed = o.count("--seed") ? ParseSeed(o.at("--seed"), "--seed")
                                            : static_cast<uint64_t>(QDateTime::currentMSecsSinceEpoch());
    const double moveLimit =
        o.count("--move-limit") ? static_cast<double>(ParseWhole(o.at("--move-limit"), "--move-limit", 1, 86'400)) : 60.0;

    SignalWatch signalWatch;
    net::TcpTransport transport;
    QtEventPump clock;
    NoPausePump pump(clock);
    if (!transport.Listen(static_cast<quint16>(port))) {
        const std::string why = transport.error().toStdString();
        // Without --port, a Dealer that may not open 1001 (an ordinary user)
        // listens where it can, as the window does, and says so.
        bool fellBack = false;
        if (!portGiven)
            for (quint16 other : {quint16(11001), quint16(0)})
                if ((fellBack = transport.Listen(other))) break;
        if (!fellBack) {
            err << "zarv-sim: cannot listen on port " << port << ": " << why << '\n';
            return 1;
        }
        err << "zarv-sim: port " << port << " could not be opened (" << why << "); listening on port "
            << transport.port() << " instead\n";
    }
    out << "listening " << transport.port() << std::endl;
    Machine m(transport, pump, net::NetworkSession::Role::Dealer, seed, out);
    DealerOptions options;
    options.clients = clients;
    options.games = static_cast<int>(games);
    options.lobbyOnly = lobby;
    options.stop = &gStop;
    options.lobbyClock = &clock;
    options.moveLimit = moveLimit;
    const int status = RunDealer(m, options);
    out.flush();
    Flush(transport, clock);
    return status;
}

// The faults a bot plays, for tests and measurements.
void ReadFaults(const std::map<std::string, std::string>& o, ClientOptions& faults) {
    if (o.count("--drop-at-trick")) faults.dropAtTrick = static_cast<int>(ParseWhole(o.at("--drop-at-trick"), "--drop-at-trick", 1, 1000));
    if (o.count("--freeze-at-trick"))
        faults.freezeAtTrick = static_cast<int>(ParseWhole(o.at("--freeze-at-trick"), "--freeze-at-trick", 1, 1000));
    if (o.count("--return-after")) {
        if (!faults.dropAtTrick) throw UsageError{"--return-after goes with --drop-at-trick"};
        faults.returnAfter = static_cast<double>(ParseWhole(o.at("--return-after"), "--return-after", 0, 3600));
    }
}

// An account to sign in with (or register): the name, and the password
// from the file's first line (a password on the command line would show in
// every process list).
void ReadAccount(const std::map<std::string, std::string>& o, bool registering, TablePlan& plan) {
    if (!o.count("--user")) {
        if (o.count("--password-file") || registering) throw UsageError{"--password-file and --register go with --user"};
        return;
    }
    if (!o.count("--password-file")) throw UsageError{"--user needs --password-file"};
    plan.user = o.at("--user");
    if (plan.user.empty() || !net::IsLobbyText(plan.user, net::kMaxPlayerName))
        throw UsageError{"--user needs a name of up to 40 characters without ';' or '|'"};
    std::ifstream file(o.at("--password-file"));
    if (!file || !std::getline(file, plan.userPassword)) throw UsageError{"cannot read " + o.at("--password-file")};
    if (!plan.userPassword.empty() && plan.userPassword.back() == '\r') plan.userPassword.pop_back();
    if (plan.userPassword.size() < 8 || !net::IsLobbyText(plan.userPassword, net::kMaxPassword))
        throw UsageError{"the password must have 8 to 64 characters, without ';' or '|'"};
    plan.registerUser = registering;
}

// Through a table server's lobby to a table.
int JoinTable(const std::map<std::string, std::string>& o, const std::string& name, const std::string& host, int port,
              bool create, bool watch, bool tls, bool registering, std::ostream& out, std::ostream& err) {
    TablePlan plan;
    plan.host = host;
    plan.port = port;
    plan.name = name;
    plan.table = o.at("--table");
    if (!net::IsLobbyText(plan.table, net::kMaxTableName) || plan.table.empty())
        throw UsageError{"--table needs a name of up to 40 characters without ';' or '|'"};
    plan.create = create;
    plan.watch = watch;
    if (o.count("--seat")) {
        plan.seat = ParseSeat(o.at("--seat"), "--seat");
        if (plan.seat == 3) throw UsageError{"--seat must be 1, 2 or 4: seat 3 is the server's"};
    }
    if (o.count("--password")) plan.password = o.at("--password");
    if (o.count("--token-file")) plan.tokenFile = o.at("--token-file");
    ReadAccount(o, registering, plan);
    plan.tls = tls;
    if (o.count("--pin")) {
        plan.pin = o.at("--pin");
        if (net::ParsePin(QString::fromStdString(plan.pin)).isEmpty())
            throw UsageError{"--pin takes a SHA-256 fingerprint: 64 hex digits, colons allowed"};
    }
    if (!net::IsLobbyText(plan.password, net::kMaxPassword)) throw UsageError{"--password may not hold ';' or '|'"};
    if (o.count("--games")) plan.games = static_cast<int>(ParseWhole(o.at("--games"), "--games", 1, 1'000'000));
    if (o.count("--side")) throw UsageError{"at a server table, choose the seat with --seat"};
    ClientOptions faults;
    ReadFaults(o, faults);
    plan.dropAtTrick = faults.dropAtTrick;
    plan.freezeAtTrick = faults.freezeAtTrick;
    plan.returnAfter = faults.returnAfter;
    const int status = RunTableBot(plan, out, err);
    out.flush();
    return status;
}

int Join(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.size() < 2 || args[1].rfind("--", 0) == 0) throw UsageError{"join needs the Dealer's computer name"};
    net::NoticeText why;
    const auto where = net::ParseHostPort(args[1], &why);
    if (!where) throw UsageError{why.words};
    const std::string host = where->host;
    const int port = where->port;
    std::vector<std::string> rest(args);
    const bool create = std::erase(rest, std::string("--create")) > 0;
    const bool watch = std::erase(rest, std::string("--watch")) > 0;
    const bool tls = std::erase(rest, std::string("--tls")) > 0;
    const bool registering = std::erase(rest, std::string("--register")) > 0;
    const auto o = ParseOptions(rest, 2,
                                {"--name", "--side", "--drop-at-trick", "--return-after", "--freeze-at-trick", "--table",
                                 "--seat", "--password", "--games", "--token-file", "--pin", "--user", "--password-file"});
    const std::string name = o.count("--name") ? o.at("--name") : "Unknown";
    if (name.find_first_of("|;") != std::string::npos) throw UsageError{"a name may not hold '|' or ';'"};
    if (o.count("--table")) return JoinTable(o, name, host, port, create, watch, tls, registering, out, err);
    if (create || watch || tls || registering || o.count("--seat") || o.count("--password") || o.count("--token-file") ||
        o.count("--pin") || o.count("--user") || o.count("--password-file"))
        throw UsageError{"--create, --watch, --seat, --password, --tls, --pin, --token-file, --user, --password-file"
                         " and --register go with --table"};
    std::string side = o.count("--side") ? o.at("--side") : "against";
    if (side != "partner" && side != "against") throw UsageError{"--side must be partner or against, not '" + side + "'"};
    side = side == "partner" ? "Partner" : "Against";
    ClientOptions faults;
    faults.askedSide = side;
    ReadFaults(o, faults);

    net::TcpTransport transport;
    QtEventPump clock;
    NoPausePump pump(clock);
    Machine m(transport, pump, net::NetworkSession::Role::Client, 1, out);
    m.game.SetRole(false);
    m.client().SetJoinRequest(name, side);
    const QString dealer = QString::fromStdString(host);
    faults.reconnect = [&] { transport.ConnectTo(dealer, static_cast<quint16>(port)); };
    faults.clock = &clock;
    transport.ConnectTo(dealer, static_cast<quint16>(port));
    // No answer in time is an answer too: to connecting, and then to the
    // request for a seat.
    double until = clock.Now() + kConnectTimeout;
    while (!m.session.IsConnected(0) && !m.events.connectFailed && !m.events.closed && clock.Now() < until)
        clock.WaitForEvents(until);
    if (!m.session.IsConnected(0) && m.events.seat == 0) {
        err << "zarv-sim: cannot reach " << host << ':' << port << ": "
            << (m.events.connectFailed ? m.events.failure : std::string("no answer in 15 seconds")) << '\n';
        return 3;
    }
    until = clock.Now() + kConnectTimeout;
    while (m.events.seat == 0 && m.session.IsConnected(0) && m.events.bad.empty() && clock.Now() < until)
        clock.WaitForEvents(until);
    if (m.events.seat == 0 && m.session.IsConnected(0) && m.events.bad.empty()) {
        err << "zarv-sim: " << host << ':' << port << " accepted the connection but did not answer in 15 seconds\n";
        return 3;
    }
    const int status = RunClient(m, faults);
    out.flush();
    Flush(transport, clock);
    return status;
}

} // namespace

int RunNetCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    // A machine of a network game says what happens as it happens, a line at
    // a time (a test or a person may be waiting for a line). std::cout writes
    // through to the C stream, whose buffering this sets.
    if (&out == &std::cout) std::setvbuf(stdout, nullptr, _IOLBF, 0);
    try {
        if (args.at(0) == "serve") return Serve(args, out, err);
        if (args.at(0) == "load") return RunLoad(args, out, err);
        return Join(args, out, err);
    } catch (const UsageError& e) {
        err << "zarv-sim: " << e.message << '\n';
        return 2;
    }
}

} // namespace zarv::sim
