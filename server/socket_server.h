// The table server's sockets on Qt Network: it listens, accepts, reads and
// writes on one thread, hands what arrives to the Lobby and carries what the
// tables' threads send back to their connections. A connection that does not
// read what it is sent is dropped once its unwritten bytes pass a bound.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QSslConfiguration>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <ostream>
#include <vector>

#include "server/account_desk.h"
#include "server/event_log.h"
#include "server/lobby.h"
#include "server/web_link.h"

class QWebSocket;

namespace zarv::server {

// Accepts connections unbuffered: a write goes to the kernel at once, so the
// event loop need not watch thousands of sockets for writability (only a
// connection the kernel cannot take more from keeps a buffer of its own).
class DirectWriteServer : public QTcpServer {
public:
    using QTcpServer::QTcpServer;

protected:
    void incomingConnection(qintptr descriptor) override;
};

// The address a connection comes from, as the per-address limits count it.
std::string PeerAddressOf(QHostAddress address);

struct ServerLimits {
    LobbyLimits lobby;
    qint64 sendBuffer = 256 * 1024;  // unwritten bytes a connection may have
};

class SocketServer : public QObject, public LobbyLinks, public TableFactory, public TableOutlet {
    Q_OBJECT
public:
    SocketServer(ServerLimits limits, EventLog& log, QObject* parent = nullptr);
    ~SocketServer() override;

    // With a certificate, the main port speaks TLS only. Set before Listen.
    void SetTls(const QSslConfiguration& tls);
    bool Listen(quint16 port, QString* error);
    // A second, unencrypted port, for programs that cannot speak TLS.
    bool ListenPlain(quint16 port, QString* error);
    quint16 port() const;
    quint16 plainPort() const;  // 0: none
    // A browser's WebSocket, from the web port (which checked its origin).
    void AcceptBrowser(QWebSocket* socket, bool secure);
    // Every table and connection hears the words; closed() once all is closed.
    void Shutdown(const std::string& words);
    bool done() const;
    size_t tableCount() const { return lobby_->tableCount(); }
    // Where the tables record their games (null: nowhere). Set before Listen.
    void SetResults(ResultsSink* results);
    // Where accounts are asked (null: this server has none). Set before Listen.
    void SetAccounts(AccountDesk* accounts);
    // The accounts' answer, from their thread.
    void AccountsAnswered(AccountAnswer answer);

    // LobbyLinks
    void Send(int connection, const std::string& text) override;
    void Close(int connection) override;
    void Log(const std::string& line) override { log_.Line(line); }
    double Now() const override;
    std::vector<Standing> Top() const override { return results_ ? results_->Top() : std::vector<Standing>{}; }
    std::vector<RatedStanding> RatedTop() const override {
        return results_ ? results_->RatedTop() : std::vector<RatedStanding>{};
    }
    int RatingOf(const std::string& name) const override { return results_ ? results_->RatingOf(name) : kStartingRating; }
    void HousekeepBy(double when) override;
    size_t Room(int connection) const override;
    void Hold(int connection, bool held) override;
    AccountOutcome AskAccounts(const AccountRequest& request) override;
    // TableFactory
    std::unique_ptr<TableHandle> Open(int id, const TableRules& rules) override;
    // TableOutlet (the tables' threads)
    void Written(int table, std::vector<Write> writes) override;
    void Changed(int table, const std::array<std::string, 5>& names, const std::array<net::SeatFill, 5>& fills,
                 bool playing) override;
    void TokenGiven(int table, int connection, const std::string& token) override;
    void TableLog(int table, std::string line) override;
    void Ended(int table) override;

signals:
    // After Shutdown: every table and connection has closed.
    void closed();

private:
    void SayIfClosed();
    void Adopt(std::unique_ptr<QTcpServer> server, bool secure);
    void Accept(QTcpServer* server, bool secure);
    void Forget(int connection);
    // Hands what a connection sent to the lobby, unless the lobby holds it.
    void ReadFrom(int connection);
    static constexpr qint64 kReadAhead = 64 * 1024;
    std::set<int> unread_;  // connections the lobby holds: not read for now
    void Housekeep();
    // Hands the admin's sanctions to the lobby once they change.
    void LookForSanctions();
    QTimer sanctionsCheck_;
    int sanctionsGeneration_ = 0;
    // Hands the registered names to the lobby once they change.
    void LookForReservedNames();
    AccountDesk* accounts_ = nullptr;
    QTimer reservedCheck_;
    int reservedGeneration_ = 0;
    int MillisecondsUntil(double when) const;
    // Runs work of a table's thread on this one.
    template <typename Work>
    void OnSocketThread(Work work);
    void SendFrames(int id, const std::vector<std::string>& frames);

    ServerLimits limits_;
    EventLog& log_;
    ResultsSink* results_ = nullptr;
    std::optional<QSslConfiguration> tls_;
    std::vector<std::unique_ptr<QTcpServer>> listeners_;  // the main port first
    QElapsedTimer clock_;
    QTimer housekeeping_;
    std::map<int, QTcpSocket*> sockets_;
    struct Browser {
        QWebSocket* socket = nullptr;
        WebLink link;
        double heard = 0;      // when it last sent anything (a pong too)
    };
    // Every few seconds each browser hears from the server (so that a page
    // can tell a dead connection from a quiet table), and is pinged; one
    // silent past the limit (a phone gone from its network) is let go, and
    // its seat goes to the computer until it comes back.
    static constexpr int kBrowserBeatMs = 10'000;
    static constexpr double kBrowserSilence = 30;
    QTimer browserBeat_;
    void BeatBrowsers();
    std::map<int, Browser> browsers_;
    void SendToBrowser(int id, const WebLink::Out& out);
    void ForgetBrowser(int id);
    // The lobby hears that the connection has closed.
    void TellLobbyClosed(int id);
    int nextConnection_ = 1;
    bool shuttingDown_ = false;
    bool closedSaid_ = false;
    // Last: the tables end (and their threads are joined) before the rest goes.
    std::unique_ptr<Lobby> lobby_;
};

} // namespace zarv::server
