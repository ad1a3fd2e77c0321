// The web port: HTTP for the web client's files and, at "/ws", the browser's
// WebSocket, on one port (with TLS when the server has a certificate: HTTPS
// and WSS). Qt's QWebSocketServer speaks the WebSocket; the few files of the
// client are answered here, because Qt 6.4's QHttpServer (a technical
// preview) has no bound on a request head's size or the time to send it,
// which a public port needs. Each answer carries the security headers.
#pragma once

#include <QObject>
#include <QSslConfiguration>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QWebSocketServer>
#include <map>
#include <memory>
#include <optional>

#include "server/event_log.h"
#include "server/http_head.h"
#include "server/web_files.h"

namespace zarv::server {

class SocketServer;

struct WebLimits {
    int connectionsPerAddress = 32;  // HTTP connections at once from one address (0: no limit)
    int headMilliseconds = 10'000;   // to send a request's head, and between two requests
};

class WebPort : public QObject {
    Q_OBJECT
public:
    // files: null when there is no web client (every page is then 503).
    WebPort(const WebFiles* files, SocketServer& server, EventLog& log, WebLimits limits, QObject* parent = nullptr);
    ~WebPort() override;
    void SetTls(const QSslConfiguration& tls) { tls_ = tls; }
    bool Listen(quint16 port, QString* error);
    quint16 port() const { return listener_ ? listener_->serverPort() : 0; }
    void Close();

private:
    struct Client {
        QByteArray pending;
        std::string address;
        QTimer* deadline = nullptr;
    };
    void Accept();
    void Read(QTcpSocket* socket);
    void Answer(QTcpSocket* socket, const HttpHead& head);
    void Upgrade(QTcpSocket* socket, const HttpHead& head);
    void Respond(QTcpSocket* socket, int status, const WebFile* file, const HttpHead* head, bool close);
    void Forget(QTcpSocket* socket);
    void AdoptWebSocket();

    const WebFiles* files_;
    SocketServer& server_;
    EventLog& log_;
    WebLimits limits_;
    std::optional<QSslConfiguration> tls_;
    std::unique_ptr<QTcpServer> listener_;
    QWebSocketServer webSockets_;
    std::map<QTcpSocket*, Client> clients_;
    std::map<std::string, int> perAddress_;
};

// The headers every answer of the web port carries.
QByteArray SecurityHeaders(bool tls);

} // namespace zarv::server
