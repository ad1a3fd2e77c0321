#include "server/socket_server.h"

#include <QMetaObject>
#include <QSslServer>
#include <QWebSocket>
#include <algorithm>

namespace zarv::server {

std::string PeerAddressOf(QHostAddress address) {
    // An IPv4 client reaching a dual-stack socket counts as its IPv4 address.
    bool isV4 = false;
    const quint32 v4 = address.toIPv4Address(&isV4);
    if (isV4) address = QHostAddress(v4);
    return address.toString().toStdString();
}

void DirectWriteServer::incomingConnection(qintptr descriptor) {
    auto* socket = new QTcpSocket(this);
    if (!socket->setSocketDescriptor(descriptor, QAbstractSocket::ConnectedState,
                                     QIODevice::ReadWrite | QIODevice::Unbuffered)) {
        delete socket;
        return;
    }
    addPendingConnection(socket);
}

SocketServer::SocketServer(ServerLimits limits, EventLog& log, QObject* parent)
    : QObject(parent), limits_(limits), log_(log), lobby_(std::make_unique<Lobby>(limits.lobby, *this, *this)) {
    clock_.start();
    housekeeping_.setSingleShot(true);
    connect(&housekeeping_, &QTimer::timeout, this, &SocketServer::Housekeep);
    connect(&browserBeat_, &QTimer::timeout, this, &SocketServer::BeatBrowsers);
}

void SocketServer::SetResults(ResultsSink* results) {
    results_ = results;
    if (!results_) return;
    connect(&sanctionsCheck_, &QTimer::timeout, this, &SocketServer::LookForSanctions);
    sanctionsCheck_.start(1000);
}

void SocketServer::SetAccounts(AccountDesk* accounts) {
    accounts_ = accounts;
    if (!accounts_) return;
    connect(&reservedCheck_, &QTimer::timeout, this, &SocketServer::LookForReservedNames);
    reservedCheck_.start(500);
    LookForReservedNames();
}

void SocketServer::LookForReservedNames() {
    std::vector<NameKeys> now;
    if (accounts_ && accounts_->ReservedChanged(reservedGeneration_, &now)) lobby_->SetReservedNames(now);
}

AccountOutcome SocketServer::AskAccounts(const AccountRequest& request) {
    if (!accounts_) return AccountOutcome::Unavailable;
    return accounts_->Ask(request) ? AccountOutcome::Ok : AccountOutcome::Busy;
}

void SocketServer::AccountsAnswered(AccountAnswer answer) {
    OnSocketThread([this, a = std::move(answer)] { lobby_->AccountAnswered(a); });
}

void SocketServer::LookForSanctions() {
    Sanctions now;
    if (!results_ || !results_->SanctionsChanged(sanctionsGeneration_, &now)) return;
    std::vector<std::pair<QHostAddress, int>> ranges;
    for (const Sanction& s : now.list)
        if (s.kind == Sanction::Kind::BanAddress) {
            const auto range = QHostAddress::parseSubnet(QString::fromStdString(s.target));
            if (!range.first.isNull()) ranges.push_back(range);
        }
    Log("sanctions: " + std::to_string(now.list.size()) + " in force");
    lobby_->ApplySanctions(std::move(now), [ranges](const std::string& address) {
        const QHostAddress a(QString::fromStdString(address));
        return std::any_of(ranges.begin(), ranges.end(), [&](const auto& range) { return a.isInSubnet(range); });
    });
}

void SocketServer::BeatBrowsers() {
    const double now = Now();
    std::vector<int> silent;
    for (auto& [id, b] : browsers_) {
        if (now - b.heard > kBrowserSilence) {
            silent.push_back(id);
            continue;
        }
        b.socket->ping();
    }
    for (int id : silent) {
        Log("silent web connection " + std::to_string(id) + " dropped");
        browsers_[id].socket->abort();
        ForgetBrowser(id);
    }
    static const std::vector<std::string> kBeat{R"({"t":"beat"})"};
    for (auto& [id, b] : browsers_) SendFrames(id, kBeat);
    if (browsers_.empty()) browserBeat_.stop();
}

SocketServer::~SocketServer() {
    // The tables first: their threads may still post to this object.
    lobby_.reset();
    for (auto& [id, b] : browsers_) {
        b.socket->disconnect(this);
        b.socket->abort();
        delete b.socket;
    }
    for (auto& [id, socket] : sockets_) {
        socket->disconnect(this);
        socket->abort();
        delete socket;
    }
}

void SocketServer::SetTls(const QSslConfiguration& tls) { tls_ = tls; }

bool SocketServer::Listen(quint16 port, QString* error) {
    std::unique_ptr<QTcpServer> server;
    if (tls_) {
        auto ssl = std::make_unique<QSslServer>();
        ssl->setSslConfiguration(*tls_);
        // A connection that never finishes its handshake is let go as one
        // that never says what it wants.
        ssl->setHandshakeTimeout(static_cast<int>(limits_.lobby.connectTimeout * 1000));
        server = std::move(ssl);
    } else {
        server = std::make_unique<DirectWriteServer>();
    }
    if (!server->listen(QHostAddress::Any, port)) {
        if (error) *error = server->errorString();
        return false;
    }
    Adopt(std::move(server), tls_.has_value());
    Housekeep();
    return true;
}

bool SocketServer::ListenPlain(quint16 port, QString* error) {
    auto server = std::make_unique<DirectWriteServer>();
    if (!server->listen(QHostAddress::Any, port)) {
        if (error) *error = server->errorString();
        return false;
    }
    Adopt(std::move(server), false);
    return true;
}

void SocketServer::Adopt(std::unique_ptr<QTcpServer> server, bool secure) {
    QTcpServer* s = server.get();
    // Pending once accepted (and, for TLS, once the handshake is done).
    connect(s, &QTcpServer::pendingConnectionAvailable, this, [this, s, secure] { Accept(s, secure); });
    listeners_.push_back(std::move(server));
}

quint16 SocketServer::port() const { return listeners_.empty() ? 0 : listeners_.front()->serverPort(); }

quint16 SocketServer::plainPort() const {
    return listeners_.size() > 1 ? listeners_.back()->serverPort() : 0;
}

double SocketServer::Now() const { return static_cast<double>(clock_.nsecsElapsed()) / 1e9; }

void SocketServer::Accept(QTcpServer* server, bool secure) {
    while (QTcpSocket* socket = server->nextPendingConnection()) {
        const int id = nextConnection_++;
        const std::string where = PeerAddressOf(socket->peerAddress());
        if (!lobby_->Accept(id, where, secure)) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        socket->setSocketOption(QAbstractSocket::KeepAliveOption, 1);
        // A small kernel buffer, so the bound on unwritten bytes bites early
        // for a client that stops reading.
        socket->setSocketOption(QAbstractSocket::SendBufferSizeSocketOption, 64 * 1024);
        sockets_[id] = socket;
        // What Qt reads ahead is bounded too, so that a connection that is
        // not read (see Hold) is held back by the kernel's window.
        socket->setReadBufferSize(kReadAhead);
        connect(socket, &QTcpSocket::readyRead, this, [this, id] { ReadFrom(id); });
        connect(socket, &QTcpSocket::disconnected, this, [this, id] { Forget(id); });
        connect(socket, &QTcpSocket::errorOccurred, this, [this, id, socket] {
            if (socket->state() != QAbstractSocket::ConnectedState) Forget(id);
        });
        Log("connection " + std::to_string(id) + " from " + where + (secure ? " tls" : ""));
    }
}

void SocketServer::ReadFrom(int id) {
    const auto it = sockets_.find(id);
    if (it == sockets_.end() || unread_.count(id) || !it->second->isReadable()) return;
    const QByteArray bytes = it->second->read(kReadAhead);
    if (bytes.isEmpty()) return;
    lobby_->Data(id, std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
    // More may be waiting than one read takes: the rest comes on the next turn.
    if (sockets_.count(id) && it->second->isReadable() && it->second->bytesAvailable() > 0)
        QMetaObject::invokeMethod(this, [this, id] { ReadFrom(id); }, Qt::QueuedConnection);
}

void SocketServer::Hold(int connection, bool held) {
    if (held) {
        unread_.insert(connection);
        return;
    }
    if (unread_.erase(connection) == 0) return;
    // Never inside the lobby's call: what arrived meanwhile is read on the next turn.
    QMetaObject::invokeMethod(this, [this, connection] { ReadFrom(connection); }, Qt::QueuedConnection);
}

void SocketServer::AcceptBrowser(QWebSocket* socket, bool secure) {
    const int id = nextConnection_++;
    const std::string where = PeerAddressOf(socket->peerAddress());
    if (shuttingDown_ || !lobby_->Accept(id, where, secure, true)) {
        socket->abort();
        socket->deleteLater();
        return;
    }
    socket->setParent(this);
    socket->setMaxAllowedIncomingMessageSize(kMaxWebMessage);
    socket->setMaxAllowedIncomingFrameSize(kMaxWebMessage);
    browsers_[id].socket = socket;
    browsers_[id].heard = Now();
    if (!browserBeat_.isActive()) browserBeat_.start(kBrowserBeatMs);
    connect(socket, &QWebSocket::pong, this, [this, id] {
        if (const auto it = browsers_.find(id); it != browsers_.end()) it->second.heard = Now();
    });
    connect(socket, &QWebSocket::textMessageReceived, this, [this, id](const QString& frame) {
        const auto it = browsers_.find(id);
        if (it == browsers_.end()) return;
        it->second.heard = Now();
        const QByteArray bytes = frame.toUtf8();
        const WebLink::Out out = it->second.link.FromBrowser(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
        SendFrames(id, out.toBrowser);
        // Straight on: this is the socket's news, no call of the lobby's.
        if (!out.toLobby.empty() && browsers_.count(id)) lobby_->Data(id, out.toLobby);
        if (out.close) Close(id);
    });
    // The protocol is text: a binary frame is no message of it.
    connect(socket, &QWebSocket::binaryMessageReceived, this, [this, id] { Close(id); });
    connect(socket, &QWebSocket::disconnected, this, [this, id] { ForgetBrowser(id); });
    Log("connection " + std::to_string(id) + " from " + where + " web" + (secure ? " tls" : ""));
}

void SocketServer::SendToBrowser(int id, const WebLink::Out& out) {
    SendFrames(id, out.toBrowser);
    if (!out.toLobby.empty()) {
        // Later, never inside a call of the lobby's (this may be its answer).
        QMetaObject::invokeMethod(
            this,
            [this, id, text = out.toLobby] {
                if (browsers_.count(id)) lobby_->Data(id, text);
            },
            Qt::QueuedConnection);
    }
    if (out.close) Close(id);
}

void SocketServer::SendFrames(int id, const std::vector<std::string>& frames) {
    const auto it = browsers_.find(id);
    if (it == browsers_.end()) return;
    Browser& b = it->second;
    if (b.socket->state() != QAbstractSocket::ConnectedState) return;
    for (const std::string& frame : frames) {
        if (b.socket->bytesToWrite() + static_cast<qint64>(frame.size()) > limits_.sendBuffer) {
            Log("limit send-buffer dropped connection " + std::to_string(id));
            b.socket->abort();
            return ForgetBrowser(id);
        }
        b.socket->sendTextMessage(QString::fromUtf8(frame.data(), static_cast<qsizetype>(frame.size())));
    }
}

void SocketServer::ForgetBrowser(int id) {
    const auto it = browsers_.find(id);
    if (it == browsers_.end()) return;
    QWebSocket* socket = it->second.socket;
    browsers_.erase(it);
    socket->disconnect(this);
    socket->deleteLater();
    TellLobbyClosed(id);
}

void SocketServer::Forget(int id) {
    const auto it = sockets_.find(id);
    if (it == sockets_.end()) return;
    QTcpSocket* socket = it->second;
    sockets_.erase(it);
    unread_.erase(id);
    socket->disconnect(this);
    socket->deleteLater();
    TellLobbyClosed(id);
}

void SocketServer::TellLobbyClosed(int id) {
    // Later, never inside a call of the lobby's (which may be going over its
    // connections when a socket closes under it).
    QMetaObject::invokeMethod(
        this,
        [this, id] {
            lobby_->Closed(id);
            SayIfClosed();
        },
        Qt::QueuedConnection);
}

void SocketServer::Send(int id, const std::string& text) {
    if (const auto b = browsers_.find(id); b != browsers_.end()) return SendToBrowser(id, b->second.link.FromLobby(text));
    const auto it = sockets_.find(id);
    if (it == sockets_.end()) return;
    QTcpSocket* socket = it->second;
    if (socket->state() != QAbstractSocket::ConnectedState) return;
    if (socket->bytesToWrite() + static_cast<qint64>(text.size()) > limits_.sendBuffer) {
        Log("limit send-buffer dropped connection " + std::to_string(id));
        socket->abort();
        Forget(id);
        return;
    }
    socket->write(text.data(), static_cast<qint64>(text.size()));
}

void SocketServer::Close(int id) {
    if (const auto b = browsers_.find(id); b != browsers_.end()) {
        QWebSocket* socket = b->second.socket;
        socket->close(QWebSocketProtocol::CloseCodeNormal);
        QTimer::singleShot(5000, socket, [this, id, socket] {
            socket->abort();
            ForgetBrowser(id);
        });
        return;
    }
    const auto it = sockets_.find(id);
    if (it == sockets_.end()) return;
    QTcpSocket* socket = it->second;
    socket->disconnectFromHost();  // writes out what is pending first
    if (socket->state() == QAbstractSocket::UnconnectedState) return Forget(id);
    // A peer that never reads would keep it open for ever.
    QTimer::singleShot(5000, socket, [this, id, socket] {
        socket->abort();
        Forget(id);
    });
}

void SocketServer::Housekeep() { housekeeping_.start(MillisecondsUntil(lobby_->Housekeep())); }

void SocketServer::HousekeepBy(double when) {
    const int in = MillisecondsUntil(when);
    if (!housekeeping_.isActive() || housekeeping_.remainingTime() > in) housekeeping_.start(in);
}

size_t SocketServer::Room(int id) const {
    // Lobby news is held to a small part of the send buffer, so that a
    // crowd in the lobby costs little memory and the table's own messages
    // always have room; a browser hears each line as JSON of about four
    // times its size.
    qint64 unwritten = 0;
    int inflation = 1;
    if (const auto b = browsers_.find(id); b != browsers_.end()) {
        unwritten = b->second.socket->bytesToWrite();
        inflation = 4;
    } else if (const auto s = sockets_.find(id); s != sockets_.end()) {
        unwritten = s->second->bytesToWrite();
    } else {
        return 0;
    }
    constexpr qint64 kLobbyNewsBytes = 64 * 1024;
    return static_cast<size_t>(std::max<qint64>(0, std::min(limits_.sendBuffer / 2, kLobbyNewsBytes) - unwritten) / inflation);
}

int SocketServer::MillisecondsUntil(double when) const {
    return static_cast<int>(std::clamp((when - Now()) * 1000.0 + 1, 1.0, 3'600'000.0));
}

void SocketServer::Shutdown(const std::string& words) {
    if (shuttingDown_) return;
    shuttingDown_ = true;
    for (auto& server : listeners_) server->close();
    Log("closing: " + std::to_string(lobby_->tableCount()) + " tables");
    lobby_->Shutdown(words);
    SayIfClosed();
}

void SocketServer::SayIfClosed() {
    if (!shuttingDown_ || closedSaid_ || !done()) return;
    closedSaid_ = true;
    emit closed();
}

bool SocketServer::done() const { return lobby_->tableCount() == 0 && sockets_.empty() && browsers_.empty(); }

std::unique_ptr<TableHandle> SocketServer::Open(int id, const TableRules& rules) {
    return std::make_unique<ServerTable>(id, rules, *this, results_);
}

template <typename Work>
void SocketServer::OnSocketThread(Work work) {
    QMetaObject::invokeMethod(this, std::move(work), Qt::QueuedConnection);
}

void SocketServer::Written(int table, std::vector<Write> writes) {
    OnSocketThread([this, table, w = std::move(writes)] {
        for (const Write& write : w) {
            if (write.text.empty()) {
            } else if (browsers_.count(write.connection)) {
                SendFrames(write.connection, WebLink::FromTable(write.text));
            } else {
                Send(write.connection, write.text);
            }
            if (write.close) lobby_->TableClosed(table, write.connection);
        }
    });
}

void SocketServer::Changed(int table, const std::array<std::string, 5>& names, const std::array<net::SeatFill, 5>& fills,
                           bool playing) {
    OnSocketThread([this, table, names, fills, playing] { lobby_->TableChanged(table, names, fills, playing); });
}

void SocketServer::TokenGiven(int table, int connection, const std::string& token) {
    OnSocketThread([this, table, connection, token] { lobby_->TokenGiven(table, connection, token); });
}

void SocketServer::TableLog(int table, std::string line) {
    OnSocketThread([this, table, l = std::move(line)] { Log("table " + std::to_string(table) + " " + l); });
}

void SocketServer::Ended(int table) {
    OnSocketThread([this, table] {
        lobby_->TableEnded(table);
        SayIfClosed();
    });
}

} // namespace zarv::server
