// The connections of network play on Qt's TCP sockets: the Dealer listens and
// accepts, a client connects; every connection keeps itself alive so that a
// peer that vanishes is noticed, and a closed connection writes out what was
// sent on it before it goes.
#pragma once

#include <QObject>
#include <QList>
#include <QPointer>
#include <QString>
#include <QTcpServer>
#include <QTcpSocket>
#include <vector>

#include "net/transport.h"

class QSslError;
class QSslSocket;

namespace zarv::net {

class TcpTransport : public QObject, public Transport {
    Q_OBJECT
public:
    explicit TcpTransport(QObject* parent = nullptr);
    ~TcpTransport() override;

    // The Dealer: listens on every address of this machine. Returns false
    // (and says why in error()) when the port cannot be opened.
    bool Listen(quint16 port, const QHostAddress& address = QHostAddress::Any);
    quint16 port() const { return server_.serverPort(); }
    QString error() const { return error_; }
    // The last connection attempt was refused (nobody listens at that port).
    bool lastErrorWasRefusal() const { return refused_; }
    // A client: connects to host (name or address) and port; OnConnected or
    // OnConnectFailed tells how it went.
    void ConnectTo(const QString& host, quint16 port);
    // Connections made from now on speak TLS: the server's certificate is
    // checked against the system's trust store, or else must have the pinned
    // fingerprint (SHA-256). A failed check ends the attempt; it never goes
    // on unencrypted.
    struct Tls {
        bool enabled = false;
        QByteArray pin;  // empty: the trust store decides
    };
    void SetTls(const Tls& tls) { tls_ = tls; }
    // After a failed check: what was wrong, and the certificate's fingerprint
    // for the player to compare with the one the server's admin published.
    QString certificateProblem() const { return certificateProblem_; }
    QByteArray offeredFingerprint() const { return offeredFingerprint_; }
    // Drops every connection at once and stops listening: the next Listen or
    // ConnectTo starts afresh from element 0.
    void Reset();
    // Sockets still writing out what was sent before they were closed.
    bool Flushing() const;

    // Transport
    void SetEvents(TransportEvents* events) override { events_ = events; }
    TransportEvents* events() const override { return events_; }
    int ElementCount() const override { return static_cast<int>(elements_.size()); }
    bool IsConnected(int index) const override;
    void Send(int index, std::string_view bytes) override;
    void Close(int index) override;
    void StopListening() override;
    void CloseAll() override;

private:
    void Adopt(int index, QTcpSocket* socket);
    // The TLS handshake found faults in the server's certificate: a pinned
    // certificate passes, anything else is refused with its reason.
    void CertificateFaults(QSslSocket& secure, const QList<QSslError>& errors);
    QTcpServer server_;
    std::vector<QPointer<QTcpSocket>> elements_;  // element 0: nullptr on the Dealer
    std::vector<bool> closing_;
    TransportEvents* events_ = nullptr;
    QString error_;
    // The server reached over TLS answered as no TLS server does.
    static bool AnswerIsNoTls(const QSslSocket& secure);
    bool clientConnected_ = false;
    bool tcpUp_ = false;  // reached the server, whether or not the TLS handshake stands
    bool refused_ = false;
    Tls tls_;
    QString certificateProblem_;
    QByteArray offeredFingerprint_;
};

} // namespace zarv::net
