// zarv-server: many tables on one port. See --help.
#include <QCoreApplication>
#include <QSocketNotifier>
#include <QTimer>
#include <csignal>
#include <filesystem>
#include <iostream>
#include <sys/resource.h>
#include <unistd.h>

#include "server/admin_command.h"
#include "server/results_writer.h"
#include "server/server_options.h"
#include "server/socket_server.h"
#include "server/standings_report.h"
#include "server/tls_identity.h"
#include "server/web_files.h"
#include "server/web_port.h"
#include "cmdline/options.h"

namespace {

int gSignalPipe[2] = {-1, -1};

void OnSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const auto written = write(gSignalPipe[1], &byte, 1);
}

// Every connection is a file: a server of many tables needs more than the usual 1,024.
void RaiseFileLimit() {
    rlimit limit{};
    if (getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur < limit.rlim_max) {
        limit.rlim_cur = limit.rlim_max;
        setrlimit(RLIMIT_NOFILE, &limit);
    }
}

// Within the 10 s a service manager gives before it kills: the tables and
// sockets close, then what they recorded is written (a busy database may
// need a few seconds for that).
constexpr int kCloseLimitMs = 3500;
constexpr int kResultsLimitMs = 4000;

// Listens on the main port (and the plain one, when asked), or says why not.
bool StartListening(zarv::server::SocketServer& server, const zarv::server::ServerOptions& options) {
    QString why;
    if (!options.certificate.empty()) {
        QSslConfiguration tls;
        if (!zarv::server::LoadServerTls(QString::fromStdString(options.certificate),
                                         QString::fromStdString(options.key), &tls, &why)) {
            std::cerr << "zarv-server: " << why.toStdString() << '\n';
            return false;
        }
        server.SetTls(tls);
    }
    if (!server.Listen(static_cast<quint16>(options.port), &why)) {
        std::cerr << "zarv-server: cannot listen on port " << options.port << ": " << why.toStdString()
                  << (options.port < 1024 ? " (ports below 1024 need root or CAP_NET_BIND_SERVICE; try --port 11001)"
                                          : "")
                  << '\n';
        return false;
    }
    std::cout << "listening " << server.port() << std::endl;
    if (options.plainPort < 0) return true;
    if (!server.ListenPlain(static_cast<quint16>(options.plainPort), &why)) {
        std::cerr << "zarv-server: cannot listen on plain port " << options.plainPort << ": " << why.toStdString()
                  << '\n';
        return false;
    }
    std::cout << "listening plain " << server.plainPort() << std::endl;
    return true;
}

// The web port, when asked for: the web client's files and its WebSocket.
bool StartWebPort(zarv::server::WebPort& web, zarv::server::WebFiles& files, const zarv::server::ServerOptions& options,
                  const char* program) {
    namespace fs = std::filesystem;
    std::string why = "it was built without Node";
    const auto folder = options.webRoot.empty() ? zarv::server::DefaultWebFolder(fs::canonical("/proc/self/exe"))
                                                : std::optional<fs::path>(options.webRoot);
    (void)program;
    if (!folder || !files.Load(*folder, &why))
        std::cerr << "zarv-server: no web client to serve (" << why << "); the web port answers 503\n";
    if (!options.certificate.empty()) {
        QSslConfiguration tls;
        QString error;
        if (!zarv::server::LoadServerTls(QString::fromStdString(options.certificate), QString::fromStdString(options.key),
                                         &tls, &error))
            return false;
        web.SetTls(tls);
    }
    QString error;
    if (!web.Listen(static_cast<quint16>(options.webPort), &error)) {
        std::cerr << "zarv-server: cannot listen on web port " << options.webPort << ": " << error.toStdString() << '\n';
        return false;
    }
    std::cout << "listening web " << web.port() << std::endl;
    return true;
}

// Serves until SIGTERM or SIGINT, then closes every table within the limit.
int ServeUntilStopped(QCoreApplication& app, zarv::server::SocketServer& server) {
    if (pipe(gSignalPipe) != 0) return 1;
    QSocketNotifier signalNotifier(gSignalPipe[0], QSocketNotifier::Read);
    QTimer closeLimit;
    closeLimit.setSingleShot(true);
    QObject::connect(&server, &zarv::server::SocketServer::closed, &app, &QCoreApplication::quit, Qt::QueuedConnection);
    QObject::connect(&closeLimit, &QTimer::timeout, [&] {
        server.Log("closing: time is up, " + std::to_string(server.tableCount()) + " tables still closing");
        app.quit();
    });
    QObject::connect(&signalNotifier, &QSocketNotifier::activated, [&] {
        char buffer[16];
        [[maybe_unused]] const auto n = read(gSignalPipe[0], buffer, sizeof buffer);
        server.Shutdown("The server is closing");
        closeLimit.start(kCloseLimitMs);
    });
    std::signal(SIGTERM, OnSignal);
    std::signal(SIGINT, OnSignal);
    std::signal(SIGPIPE, SIG_IGN);
    app.exec();
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (!args.empty() && args[0] == "stats") {
        QCoreApplication app(argc, argv);
        return zarv::server::RunStats({args.begin() + 1, args.end()}, std::cout, std::cerr);
    }
    if (!args.empty() && args[0] == "admin") {
        QCoreApplication app(argc, argv);
        return zarv::server::RunAdmin({args.begin() + 1, args.end()}, std::cout, std::cerr);
    }
    zarv::server::ServerOptions options;
    try {
        options = zarv::server::ParseServerOptions(args);
    } catch (const zarv::cmdline::UsageError& e) {
        std::cerr << "zarv-server: " << e.message << "\nTry zarv-server --help.\n";
        return 2;
    }
    if (options.help) {
        std::cout << zarv::server::kServerHelp;
        return 0;
    }
    RaiseFileLimit();
    // Qt's own event dispatcher: glib's takes time in proportion to the
    // number of sockets each time one stops or starts being watched.
    qputenv("QT_NO_GLIB", "1");
    QCoreApplication app(argc, argv);
    QString why;
    // Made in this order, so that the server and its tables go first and the
    // results writer they record into outlives them.
    zarv::server::EventLog log(std::cout);
    const QString resultsAt =
        options.db.empty() ? zarv::server::DefaultResultsFile() : QString::fromStdString(options.db);
    zarv::server::ResultsWriter results(resultsAt, [&log](const std::string& line) { log.Line(line); });
    zarv::server::SocketServer server(options.limits, log);
    if (!results.Start(&why)) {
        std::cerr << "zarv-server: results database " << zarv::server::ShownResultsPlace(resultsAt).toStdString() << ": " << why.toStdString() << '\n';
        return 1;
    }
    server.SetResults(&results);
    // Made after the server, so that it stops (and answers what waits) before the server goes.
    zarv::server::AccountDesk accounts(resultsAt, [&log](const std::string& line) { log.Line(line); },
                                       [&server](zarv::server::AccountAnswer a) { server.AccountsAnswered(std::move(a)); });
    if (!accounts.Start(&why)) {
        std::cerr << "zarv-server: accounts in " << zarv::server::ShownResultsPlace(resultsAt).toStdString() << ": " << why.toStdString() << '\n';
        return 1;
    }
    server.SetAccounts(&accounts);
    if (!StartListening(server, options)) return 1;
    zarv::server::WebFiles webFiles;
    zarv::server::WebPort web(&webFiles, server, log, options.web);
    if (options.webPort >= 0 && !StartWebPort(web, webFiles, options, argv[0])) return 1;
    QObject::connect(&server, &zarv::server::SocketServer::closed, &web, &zarv::server::WebPort::Close);
    if (ServeUntilStopped(app, server) != 0) return 1;
    // What the tables recorded as they closed is written before the end.
    results.Finish(kResultsLimitMs / 1000.0);
    server.Log("closed");
    return 0;
}
