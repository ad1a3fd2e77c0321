#include "server/web_port.h"

#include <QSslServer>
#include <QTimer>
#include <QWebSocket>

#include "server/socket_server.h"

namespace zarv::server {

namespace {

const char* ReasonOf(int status) {
    switch (status) {
    case 200: return "OK";
    case 304: return "Not Modified";
    case 400: return "Bad Request";
    case 403: return "Forbidden";
    case 404: return "Not Found";
    case 405: return "Method Not Allowed";
    case 408: return "Request Timeout";
    case 431: return "Request Header Fields Too Large";
    default: return "Service Unavailable";
    }
}

} // namespace

QByteArray SecurityHeaders(bool tls) {
    QByteArray h =
        "Content-Security-Policy: default-src 'self'; script-src 'self'; style-src 'self'; img-src 'self' data:; "
        "connect-src 'self'; manifest-src 'self'; frame-ancestors 'none'; base-uri 'none'; form-action 'none'\r\n"
        "X-Content-Type-Options: nosniff\r\n"
        "X-Frame-Options: DENY\r\n"
        "Referrer-Policy: no-referrer\r\n"
        "Cross-Origin-Opener-Policy: same-origin\r\n";
    if (tls) h += "Strict-Transport-Security: max-age=31536000\r\n";
    return h;
}

WebPort::WebPort(const WebFiles* files, SocketServer& server, EventLog& log, WebLimits limits, QObject* parent)
    : QObject(parent),
      files_(files),
      server_(server),
      log_(log),
      limits_(limits),
      webSockets_(QStringLiteral("zarv"), QWebSocketServer::NonSecureMode) {
    connect(&webSockets_, &QWebSocketServer::newConnection, this, &WebPort::AdoptWebSocket);
}

WebPort::~WebPort() {
    for (auto& [socket, client] : clients_) {
        socket->disconnect(this);
        socket->abort();
    }
}

bool WebPort::Listen(quint16 port, QString* error) {
    if (tls_) {
        auto ssl = std::make_unique<QSslServer>();
        ssl->setSslConfiguration(*tls_);
        ssl->setHandshakeTimeout(limits_.headMilliseconds);
        listener_ = std::move(ssl);
    } else {
        // Plain connections write straight to the kernel, as the lobby's do:
        // a buffered socket wakes the event loop once more for every write,
        // and each wake polls every socket.
        listener_ = std::make_unique<DirectWriteServer>();
    }
    // Phones arrive in crowds (a table link shared, a server restarted): the
    // kernel keeps more of them waiting than its default before refusing.
    listener_->setListenBacklogSize(1024);
    if (!listener_->listen(QHostAddress::Any, port)) {
        if (error) *error = listener_->errorString();
        return false;
    }
    connect(listener_.get(), &QTcpServer::pendingConnectionAvailable, this, &WebPort::Accept);
    return true;
}

void WebPort::Close() {
    if (listener_) listener_->close();
    webSockets_.close();
    for (auto& [socket, client] : clients_) socket->abort();
}

void WebPort::Accept() {
    while (QTcpSocket* socket = listener_->nextPendingConnection()) {
        const std::string address = PeerAddressOf(socket->peerAddress());
        int& fromThere = perAddress_[address];
        if (limits_.connectionsPerAddress > 0 && fromThere >= limits_.connectionsPerAddress) {
            log_.Line("limit web-connections-per-address " + address);
            socket->abort();
            socket->deleteLater();
            continue;
        }
        ++fromThere;
        Client& client = clients_[socket];
        client.address = address;
        // A head that does not arrive in time (a slow sender holding the
        // connection open) ends the connection.
        client.deadline = new QTimer(socket);
        client.deadline->setSingleShot(true);
        connect(client.deadline, &QTimer::timeout, socket, [this, socket] {
            // A kept-alive connection with nothing more to ask just ends; a head begun and not finished is a limit.
            if (socket->bytesAvailable() > 0) log_.Line("limit web-head-time " + clients_[socket].address);
            Respond(socket, 408, nullptr, nullptr, true);
        });
        client.deadline->start(limits_.headMilliseconds);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { Read(socket); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] { Forget(socket); });
    }
}

void WebPort::Forget(QTcpSocket* socket) {
    const auto it = clients_.find(socket);
    if (it == clients_.end()) return;
    if (auto a = perAddress_.find(it->second.address); a != perAddress_.end() && --a->second <= 0) perAddress_.erase(a);
    clients_.erase(it);
    socket->disconnect(this);
    socket->deleteLater();
}

void WebPort::Read(QTcpSocket* socket) {
    const auto it = clients_.find(socket);
    if (it == clients_.end()) return;
    // Looked at, not taken: a WebSocket's handshake is read again by Qt's server.
    const QByteArray bytes = socket->peek(static_cast<qint64>(kMaxHttpHead) + 1);
    HttpHead head;
    const HeadState state = ReadHead(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())), &head);
    if (state == HeadState::Incomplete) return;
    if (state == HeadState::TooLarge) {
        log_.Line("limit web-head-size " + it->second.address);
        return Respond(socket, 431, nullptr, nullptr, true);
    }
    if (state == HeadState::Malformed) return Respond(socket, 400, nullptr, nullptr, true);
    if (head.path == "/ws" && head.AsksForWebSocket()) return Upgrade(socket, head);
    socket->read(static_cast<qint64>(head.length));
    Answer(socket, head);
}

void WebPort::Answer(QTcpSocket* socket, const HttpHead& head) {
    // Requests have no body here: anything but GET and HEAD is refused.
    if (head.method != "GET" && head.method != "HEAD") return Respond(socket, 405, nullptr, &head, true);
    if (!files_ || files_->count() == 0) return Respond(socket, 503, nullptr, &head, true);
    const auto name = WebFileOf(head.path);
    const WebFile* file = name ? files_->Find(*name) : nullptr;
    const bool close = head.version == "HTTP/1.0" || head.Header("connection").find("close") != std::string::npos;
    Respond(socket, file ? 200 : 404, file, &head, close);
    if (!close) clients_[socket].deadline->start(limits_.headMilliseconds);
}

void WebPort::Respond(QTcpSocket* socket, int status, const WebFile* file, const HttpHead* head, bool close) {
    const bool gzip = file && !file->gzipped.empty() && head && head->Header("accept-encoding").find("gzip") != std::string::npos;
    const std::string& body = file ? (gzip ? file->gzipped : file->body) : std::string();
    QByteArray answer = "HTTP/1.1 " + QByteArray::number(status) + " " + ReasonOf(status) + "\r\n";
    answer += SecurityHeaders(tls_.has_value());
    if (file) {
        answer += "Content-Type: " + QByteArray::fromStdString(file->type) + "\r\n";
        answer += file->immutable ? "Cache-Control: public, max-age=31536000, immutable\r\n" : "Cache-Control: no-cache\r\n";
        answer += "Vary: Accept-Encoding\r\n";
        if (gzip) answer += "Content-Encoding: gzip\r\n";
    } else {
        answer += "Content-Type: text/plain; charset=utf-8\r\nCache-Control: no-store\r\n";
    }
    const QByteArray text = file ? QByteArray() : QByteArray::number(status) + " " + ReasonOf(status) + "\n";
    answer += "Content-Length: " + QByteArray::number(static_cast<qint64>(file ? body.size() : static_cast<size_t>(text.size()))) + "\r\n";
    answer += close ? "Connection: close\r\n\r\n" : "Connection: keep-alive\r\n\r\n";
    if (!head || head->method != "HEAD") answer += file ? QByteArray::fromStdString(body) : text;
    socket->write(answer);
    if (close) {
        socket->disconnectFromHost();
        // A peer that never reads would keep it open for ever.
        QTimer::singleShot(5000, socket, [socket] { socket->abort(); });
    }
}

void WebPort::Upgrade(QTcpSocket* socket, const HttpHead& head) {
    if (!SameOrigin(head, tls_.has_value())) {
        log_.Line("web refused a WebSocket from " + clients_[socket].address + ": origin \"" + head.Header("origin").substr(0, 80) + "\"");
        socket->read(static_cast<qint64>(head.length));
        return Respond(socket, 403, nullptr, &head, true);
    }
    // From now on Qt's WebSocket server owns the socket; the lobby counts it.
    Client& client = clients_[socket];
    delete client.deadline;
    if (auto a = perAddress_.find(client.address); a != perAddress_.end() && --a->second <= 0) perAddress_.erase(a);
    clients_.erase(socket);
    socket->disconnect(this);
    socket->setParent(nullptr);
    webSockets_.handleConnection(socket);
}

void WebPort::AdoptWebSocket() {
    while (QWebSocket* socket = webSockets_.nextPendingConnection()) server_.AcceptBrowser(socket, tls_.has_value());
}

} // namespace zarv::server
