// The web port of a real zarv-server, seen from plain sockets on loopback: the
// files and the headers it answers with, and the limits a public port needs
// (names outside the web folder, an oversize head, a sender too slow, a
// WebSocket from another site's page). Waits are bounded and end on the
// sockets' own events.
#include <gtest/gtest.h>

#include "server_processes.h"

#include <QDir>
#include <QFile>
#include <QTcpSocket>
#include <QTemporaryDir>

namespace {

// A web folder with a page, a script whose name carries a content hash (and
// its compressed twin), a hidden file, and a secret beside the folder.
struct WebFolder {
    QTemporaryDir parent;
    QString path;
    const QByteArray index = "<!doctype html><title>Zarv</title>";
    const QByteArray script = "console.log('zarv');";
    const QByteArray scriptGz = "not really gzip, but the compressed twin";
    WebFolder() : path(parent.path() + "/web") {
        QDir().mkpath(path);
        Write(path + "/index.html", index);
        Write(path + "/app-0123456789ab.js", script);
        Write(path + "/app-0123456789ab.js.gz", scriptGz);
        Write(path + "/.hidden", "hidden");
        Write(parent.path() + "/secret.txt", "secret");
    }
    static void Write(const QString& name, const QByteArray& bytes) {
        QFile f(name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
};

struct Answer {
    int status = 0;
    QByteArray head, body;
    bool closed = false;
    bool Has(const QByteArray& header) const { return head.contains("\r\n" + header + "\r\n"); }
};

// Sends the bytes and reads one answer: its head, then as much body as it
// says; then, when asked, waits for the port to close the connection.
Answer Ask(int port, const QByteArray& request, bool untilClosed = false) {
    QTcpSocket socket;
    socket.connectToHost(QStringLiteral("127.0.0.1"), static_cast<quint16>(port));
    if (!socket.waitForConnected(kLimitMs)) return {};
    socket.write(request);
    QByteArray got;
    Answer a;
    for (;;) {
        const qsizetype end = got.indexOf("\r\n\r\n");
        if (end >= 0) {
            a.head = got.left(end + 2);
            const qsizetype at = a.head.indexOf("Content-Length: ");
            const qint64 length = at < 0 ? 0 : a.head.mid(at + 16).split('\r').first().toLongLong();
            if (got.size() - end - 4 >= length || request.startsWith("HEAD")) {
                a.body = got.mid(end + 4);
                break;
            }
        }
        if (!socket.waitForReadyRead(kLimitMs)) break;
        got += socket.readAll();
    }
    a.status = a.head.mid(9, 3).toInt();
    if (untilClosed) a.closed = socket.state() == QAbstractSocket::UnconnectedState || socket.waitForDisconnected(kLimitMs);
    return a;
}

QByteArray Get(const QByteArray& path, const QByteArray& headers = {}) {
    return "GET " + path + " HTTP/1.1\r\nHost: 127.0.0.1\r\n" + headers + "Connection: close\r\n\r\n";
}

TEST(WebPort, TheFilesComeWithSecurityHeadersAndTheRightCacheLifetimes) {
    WebFolder web;
    Server server({"--web-port", "0", "--web-root", web.path});
    const Answer page = Ask(server.webPort, Get("/"));
    ASSERT_EQ(page.status, 200) << page.head.toStdString();
    EXPECT_EQ(page.body, web.index);
    EXPECT_TRUE(page.Has("Content-Type: text/html; charset=utf-8")) << page.head.toStdString();
    EXPECT_TRUE(page.Has("Cache-Control: no-cache"));
    EXPECT_TRUE(page.Has("X-Content-Type-Options: nosniff"));
    EXPECT_TRUE(page.Has("X-Frame-Options: DENY"));
    const QByteArray policy = page.head.mid(page.head.indexOf("Content-Security-Policy: ")).split('\r').first();
    EXPECT_TRUE(policy.contains("script-src 'self'")) << policy.toStdString();
    EXPECT_TRUE(policy.contains("frame-ancestors 'none'"));
    EXPECT_FALSE(policy.contains("unsafe-inline"));
    EXPECT_FALSE(page.head.contains("Strict-Transport-Security")) << "only over TLS";

    // A name with its content's hash is kept a year; compressed when the browser takes it.
    const Answer script = Ask(server.webPort, Get("/app-0123456789ab.js", "Accept-Encoding: br, gzip\r\n"));
    ASSERT_EQ(script.status, 200);
    EXPECT_TRUE(script.Has("Cache-Control: public, max-age=31536000, immutable"));
    EXPECT_TRUE(script.Has("Content-Encoding: gzip"));
    EXPECT_EQ(script.body, web.scriptGz);
    EXPECT_EQ(Ask(server.webPort, Get("/app-0123456789ab.js")).body, web.script);
    // HEAD: the same head, no body.
    const Answer head = Ask(server.webPort, "HEAD / HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n");
    EXPECT_EQ(head.status, 200);
    EXPECT_TRUE(head.Has("Content-Length: " + QByteArray::number(web.index.size())));
    EXPECT_TRUE(head.body.isEmpty());
}

TEST(WebPort, OnlyPlainNamesInsideTheFolderAndOnlyGetOrHead) {
    WebFolder web;
    Server server({"--web-port", "0", "--web-root", web.path});
    for (const QByteArray path : {"/../secret.txt", "/%2e%2e/secret.txt", "/..%2fsecret.txt", "/.hidden",
                                  "//etc/passwd", "/index.html/..", "/nothing.js"}) {
        const Answer a = Ask(server.webPort, Get(path));
        EXPECT_EQ(a.status, 404) << path.toStdString() << "\n" << a.head.toStdString();
        EXPECT_FALSE(a.body.contains("secret")) << path.toStdString();
    }
    EXPECT_EQ(Ask(server.webPort, "POST / HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Length: 0\r\n\r\n").status, 405);
    EXPECT_EQ(Ask(server.webPort, "DELETE /index.html HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n").status, 405);
}

TEST(WebPort, AnOversizeHeadOrASenderTooSlowIsCutOff) {
    WebFolder web;
    Server server({"--web-port", "0", "--web-root", web.path, "--web-head-timeout", "1"});
    const Answer big = Ask(server.webPort, "GET / HTTP/1.1\r\nHost: 127.0.0.1\r\nX-Pad: " + QByteArray(9000, 'a') + "\r\n\r\n", true);
    EXPECT_EQ(big.status, 431);
    EXPECT_TRUE(big.closed);
    QByteArray many = "GET / HTTP/1.1\r\nHost: 127.0.0.1\r\n";
    for (int i = 0; i < 70; ++i) many += "X-" + QByteArray::number(i) + ": 1\r\n";
    EXPECT_EQ(Ask(server.webPort, many + "\r\n").status, 431);
    // Half a head, then nothing: the port answers 408 and closes; the page still loads for others.
    const Answer slow = Ask(server.webPort, "GET / HTTP/1.1\r\nHost: 127.0.0.1\r\n", true);
    EXPECT_EQ(slow.status, 408) << slow.head.toStdString();
    EXPECT_TRUE(slow.closed);
    EXPECT_EQ(Ask(server.webPort, Get("/")).status, 200);
    EXPECT_TRUE(server.WaitFor(QRegularExpression("limit web-head-size 127.0.0.1\n")));
    EXPECT_TRUE(server.WaitFor(QRegularExpression("limit web-head-time 127.0.0.1\n")));
}

TEST(WebPort, AWebSocketMustComeFromThePagesOwnOrigin) {
    WebFolder web;
    Server server({"--web-port", "0", "--web-root", web.path});
    const QByteArray host = "127.0.0.1:" + QByteArray::number(server.webPort);
    auto upgrade = [&](const QByteArray& origin, bool untilClosed = false) {
        return Ask(server.webPort, "GET /ws HTTP/1.1\r\nHost: " + host + "\r\nUpgrade: websocket\r\nConnection: Upgrade\r\n"
                                   "Sec-WebSocket-Key: dGhlIHNhbXBsZSBub25jZQ==\r\nSec-WebSocket-Version: 13\r\nOrigin: " +
                                       origin + "\r\n\r\n",
                   untilClosed);
    };
    const Answer other = upgrade("https://evil.example", true);
    EXPECT_EQ(other.status, 403);
    EXPECT_TRUE(other.closed);
    EXPECT_TRUE(server.WaitFor(QRegularExpression("web refused a WebSocket from 127.0.0.1: origin \"https://evil.example\"")));
    const Answer own = upgrade("http://" + host);
    EXPECT_EQ(own.status, 101) << own.head.toStdString();
    EXPECT_TRUE(own.Has("Sec-WebSocket-Accept: s3pPLMBiTxaQ9kYGzzhZRbK+xOo="));
}

TEST(WebPort, WithoutAWebClientTheServerSaysSoAndAnswers503) {
    QTemporaryDir empty;
    Server server({"--web-port", "0", "--web-root", empty.path()});
    server.p->setReadChannel(QProcess::StandardError);
    QByteArray said = server.p->readAllStandardError();
    while (!said.contains("no web client to serve") && server.p->waitForReadyRead(kLimitMs)) said += server.p->readAllStandardError();
    EXPECT_TRUE(said.contains("zarv-server: no web client to serve (no index.html in ")) << said.toStdString();
    EXPECT_EQ(Ask(server.webPort, Get("/")).status, 503);
}

} // namespace
