#include "net/qt/tcp_transport.h"

#include <QSslSocket>

#include "net/qt/tls_pin.h"

#ifdef __linux__
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#endif

namespace zarv::net {

namespace {

// Keep-alive probes after 30 seconds of silence, three 10 seconds apart: a
// peer whose machine vanished is noticed within a minute, not two hours.
void KeepAlive(QTcpSocket* socket) {
    socket->setSocketOption(QAbstractSocket::KeepAliveOption, 1);
    socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
#ifdef __linux__
    const auto fd = static_cast<int>(socket->socketDescriptor());
    if (fd < 0) return;
    const int idle = 30, interval = 10, count = 3;
    setsockopt(fd, IPPROTO_TCP, TCP_KEEPIDLE, &idle, sizeof idle);
    setsockopt(fd, IPPROTO_TCP, TCP_KEEPINTVL, &interval, sizeof interval);
    setsockopt(fd, IPPROTO_TCP, TCP_KEEPCNT, &count, sizeof count);
#endif
}

// What Qt may hold of one connection's unread bytes: a message is short, and
// the session closes a connection that sends 64 KiB without ending one.
constexpr qint64 kReadBuffer = 128 * 1024;
} // namespace

TcpTransport::TcpTransport(QObject* parent) : QObject(parent) {
    elements_.emplace_back();
    closing_.push_back(false);
    connect(&server_, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* socket = server_.nextPendingConnection()) {
            const int index = static_cast<int>(elements_.size());
            elements_.emplace_back(socket);
            closing_.push_back(false);
            Adopt(index, socket);
            if (events_) events_->OnAccepted(index);
        }
    });
}

TcpTransport::~TcpTransport() {
    events_ = nullptr;
    for (auto& socket : elements_)
        if (socket) socket->abort();
}

void TcpTransport::Reset() {
    server_.close();
    for (auto& socket : elements_) {
        if (!socket) continue;
        socket->disconnect(this);
        socket->abort();
        socket->deleteLater();
    }
    elements_.assign(1, nullptr);
    closing_.assign(1, false);
    clientConnected_ = false;
    error_.clear();
}

bool TcpTransport::Listen(quint16 port, const QHostAddress& address) {
    server_.close();
    if (server_.listen(address, port)) return true;
    error_ = server_.errorString();
    return false;
}

void TcpTransport::Adopt(int index, QTcpSocket* socket) {
    socket->setParent(this);
    socket->setReadBufferSize(kReadBuffer);
    if (socket->state() == QAbstractSocket::ConnectedState) KeepAlive(socket);
    connect(socket, &QTcpSocket::readyRead, this, [this, index, socket] {
        while (socket->bytesAvailable() > 0) {
            const QByteArray bytes = socket->read(kReadBuffer);
            if (events_ && !closing_[static_cast<size_t>(index)])
                events_->OnData(index, std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
        }
    });
    connect(socket, &QTcpSocket::disconnected, this, [this, index] {
        if (events_) events_->OnClosed(index);
    });
}

void TcpTransport::ConnectTo(const QString& host, quint16 port) {
    QSslSocket* secure = tls_.enabled ? new QSslSocket(this) : nullptr;
    QTcpSocket* socket = secure ? secure : new QTcpSocket(this);
    if (elements_[0]) elements_[0]->abort();
    elements_[0] = socket;
    closing_[0] = false;
    clientConnected_ = false;
    tcpUp_ = false;
    certificateProblem_.clear();
    offeredFingerprint_.clear();
    auto stands = [this, socket] {
        clientConnected_ = true;
        KeepAlive(socket);
        if (events_) events_->OnConnected();
    };
    // Over TLS the connection stands once the handshake has checked the server.
    if (secure)
        connect(secure, &QSslSocket::encrypted, this, [this, secure, stands] {
            // A pin holds even for a certificate the trust store accepts.
            const QByteArray offered = Fingerprint(secure->peerCertificate());
            if (!tls_.pin.isEmpty() && offered != tls_.pin) {
                offeredFingerprint_ = offered;
                certificateProblem_ = tr("The server's certificate is not the one pinned for it: its SHA-256 "
                                         "fingerprint is %1, not %2.")
                                          .arg(PinText(offered), PinText(tls_.pin));
                secure->abort();
                if (events_) events_->OnConnectFailed(certificateProblem_.toStdString());
                return;
            }
            stands();
        });
    else connect(socket, &QTcpSocket::connected, this, stands);
    connect(socket, &QTcpSocket::connected, this, [this] { tcpUp_ = true; });
    connect(socket, &QTcpSocket::errorOccurred, this, [this, socket, secure](QAbstractSocket::SocketError) {
        // An error before the connection stood is a failed attempt; a later one
        // shows as a closed connection.
        refused_ = socket->error() == QAbstractSocket::ConnectionRefusedError;
        if (clientConnected_ || closing_[0] || socket != elements_[0] || !events_) return;
        QString why = certificateProblem_.isEmpty() ? socket->errorString() : certificateProblem_;
        if (secure && tcpUp_ && certificateProblem_.isEmpty() && AnswerIsNoTls(*secure))
            why = tr("This server does not speak TLS: turn off “Encrypted connection”, or ask its owner "
                     "for a TLS address.");
        events_->OnConnectFailed(why.toStdString());
    });
    Adopt(0, socket);
    if (!secure) return socket->connectToHost(host, port);
    connect(secure, &QSslSocket::sslErrors, this,
            [this, secure](const QList<QSslError>& errors) { CertificateFaults(*secure, errors); });
    secure->connectToHostEncrypted(host, port);
}

bool TcpTransport::AnswerIsNoTls(const QSslSocket& secure) {
    // Reached, and then closed without a handshake (our plain ports close on
    // a TLS greeting), or answered with what is no TLS record.
    if (secure.error() == QAbstractSocket::RemoteHostClosedError) return true;
    if (secure.error() != QAbstractSocket::SslHandshakeFailedError) return false;
    const QString said = secure.errorString();
    return said.contains(QLatin1String("wrong version number")) || said.contains(QLatin1String("packet length too long")) ||
           said.contains(QLatin1String("unknown protocol")) || said.contains(QLatin1String("http request"));
}

void TcpTransport::CertificateFaults(QSslSocket& secure, const QList<QSslError>& errors) {
    const QByteArray offered = Fingerprint(secure.peerCertificate());
    if (!tls_.pin.isEmpty() && offered == tls_.pin) {
        // The player has this very certificate's fingerprint: the pin,
        // not a certificate authority, vouches for the server.
        secure.ignoreSslErrors(errors);
        return;
    }
    offeredFingerprint_ = offered;
    QStringList why;
    for (const QSslError& e : errors) why << e.errorString();
    // Qt's own words for the certificate's faults come in the language Qt speaks.
    certificateProblem_ =
        tls_.pin.isEmpty()
            ? tr("The server's certificate cannot be trusted (%1). Its SHA-256 fingerprint is %2: if the "
                 "server's admin published the same, give it as the server's fingerprint.")
                  .arg(why.join(QStringLiteral("; ")), PinText(offered))
            : tr("The server's certificate is not the one pinned for it: its SHA-256 fingerprint is %1, not %2.")
                  .arg(PinText(offered), PinText(tls_.pin));
}

bool TcpTransport::IsConnected(int index) const {
    if (index < 0 || index >= static_cast<int>(elements_.size())) return false;
    const auto& socket = elements_[static_cast<size_t>(index)];
    return socket && !closing_[static_cast<size_t>(index)] && socket->state() == QAbstractSocket::ConnectedState;
}

void TcpTransport::Send(int index, std::string_view bytes) {
    if (!IsConnected(index)) return;
    elements_[static_cast<size_t>(index)]->write(bytes.data(), static_cast<qint64>(bytes.size()));
}

void TcpTransport::Close(int index) {
    if (index < 0 || index >= static_cast<int>(elements_.size())) return;
    auto& socket = elements_[static_cast<size_t>(index)];
    if (!socket || closing_[static_cast<size_t>(index)]) return;
    closing_[static_cast<size_t>(index)] = true;
    // Writes out what is pending, then closes (abort() would drop it).
    socket->disconnectFromHost();
}

bool TcpTransport::Flushing() const {
    for (const auto& socket : elements_)
        if (socket && socket->state() != QAbstractSocket::UnconnectedState && socket->bytesToWrite() > 0) return true;
    return false;
}

void TcpTransport::StopListening() { server_.close(); }

void TcpTransport::CloseAll() {
    server_.close();
    for (int i = 0; i < static_cast<int>(elements_.size()); ++i) Close(i);
}

} // namespace zarv::net
