// zarv-server and zarv-sim as processes on loopback, and plain sockets that
// speak the protocol's exact texts: bounded waits on the processes' and
// sockets' own events, never a fixed sleep.
#pragma once

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QCryptographicHash>
#include <QSslSocket>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <memory>

// Failures show texts as texts.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

constexpr int kLimitMs = 40'000;

struct Process {
    std::unique_ptr<QProcess> p = std::make_unique<QProcess>();
    QString out;
    Process(const QString& program, const QStringList& args) {
        p->setProcessChannelMode(QProcess::SeparateChannels);
        p->start(program, args);
    }
    ~Process() {
        if (p->state() != QProcess::NotRunning) {
            p->kill();
            p->waitForFinished(5000);
        }
    }
    // The end of what it printed: what a failure needs, short enough to be read whole.
    std::string Tail(qsizetype chars = 4000) const { return out.right(chars).toStdString(); }
    QString Out() {
        out += QString::fromUtf8(p->readAllStandardOutput());
        return out;
    }
    // Reads until the output matches, or the limit passes.
    bool WaitFor(const QRegularExpression& pattern) {
        QElapsedTimer t;
        t.start();
        while (!pattern.match(Out()).hasMatch()) {
            if (t.elapsed() > kLimitMs) return false;
            if (!p->waitForReadyRead(1000) && p->state() == QProcess::NotRunning) return pattern.match(Out()).hasMatch();
        }
        return true;
    }
    bool WaitFor(const QString& text) { return WaitFor(QRegularExpression(QRegularExpression::escape(text))); }
    int Finish() {
        EXPECT_TRUE(p->waitForFinished(kLimitMs)) << "still running";
        Out();
        return p->exitCode();
    }
};

// Each server records its games in a database of its own unless told where.
inline QStringList WithResults(const QStringList& args) {
    if (args.contains("--db")) return args;
    static QTemporaryDir folder;
    static int count = 0;
    return QStringList{"--db", QStringLiteral("%1/results-%2.sqlite").arg(folder.path()).arg(++count)} + args;
}

struct Server : Process {
    int port = 0;
    explicit Server(const QStringList& args)
        : Process(QStringLiteral(ZARV_SERVER), QStringList{"--port", "0"} + WithResults(args)) {
        EXPECT_TRUE(WaitFor(QRegularExpression(QStringLiteral("^listening (\\d+)\\n"))));
        port = QRegularExpression(QStringLiteral("^listening (\\d+)")).match(out).captured(1).toInt();
        if (args.contains("--web-port")) {
            const QRegularExpression web(QStringLiteral("\nlistening web (\\d+)\n"));
            EXPECT_TRUE(WaitFor(web));
            webPort = web.match(out).captured(1).toInt();
        }
        if (args.contains("--plain-port")) {
            const QRegularExpression plain(QStringLiteral("\nlistening plain (\\d+)\n"));
            EXPECT_TRUE(WaitFor(plain));
            plainPort = plain.match(out).captured(1).toInt();
        }
    }
    int plainPort = 0, webPort = 0;
    QString where() const { return QStringLiteral("127.0.0.1:%1").arg(port); }
};

// zarv-server admin on the database given; its status, and what it said.
inline int Admin(const QString& where, QStringList args, QString* said = nullptr) {
    QProcess admin;
    admin.start(QStringLiteral(ZARV_SERVER), QStringList{"admin"} + args + QStringList{"--db", where});
    admin.waitForFinished(kLimitMs);
    if (said) *said = QString::fromUtf8(admin.readAllStandardOutput() + admin.readAllStandardError());
    return admin.exitCode();
}

struct Bot : Process {
    Bot(const Server& server, const QStringList& args)
        : Process(QStringLiteral(ZARV_SIM), QStringList{"join", server.where()} + args) {}
};

// A connection that speaks the exact texts: every byte it receives is kept.
// Given a certificate's fingerprint, it speaks TLS and trusts that one only.
struct Peer {
    std::unique_ptr<QTcpSocket> connection;
    QTcpSocket& socket;
    QByteArray received;
    size_t read = 0;  // how far Next() has gone through received
    explicit Peer(int port, const QByteArray& pin = {})
        : connection(pin.isEmpty() ? std::make_unique<QTcpSocket>() : std::make_unique<QSslSocket>()),
          socket(*connection) {
        if (pin.isEmpty()) {
            socket.connectToHost(QStringLiteral("127.0.0.1"), static_cast<quint16>(port));
            EXPECT_TRUE(socket.waitForConnected(kLimitMs));
            return;
        }
        auto& tls = static_cast<QSslSocket&>(socket);
        QObject::connect(&tls, &QSslSocket::sslErrors, [&tls, pin](const QList<QSslError>& errors) {
            if (tls.peerCertificate().digest(QCryptographicHash::Sha256) == pin) tls.ignoreSslErrors(errors);
        });
        tls.connectToHostEncrypted(QStringLiteral("127.0.0.1"), static_cast<quint16>(port));
        EXPECT_TRUE(tls.waitForEncrypted(kLimitMs)) << tls.errorString().toStdString();
    }
    void Send(const QByteArray& text) {
        socket.write(text);
        socket.waitForBytesWritten(kLimitMs);
    }
    // The next whole message ("Command;Detail"), or "" when none came in time
    // or the connection closed.
    QString Next() {
        QElapsedTimer t;
        t.start();
        while (true) {
            const qsizetype end = received.indexOf('|', static_cast<qsizetype>(read));
            if (end >= 0) {
                const QString message = QString::fromUtf8(received.mid(static_cast<qsizetype>(read), end - static_cast<qsizetype>(read)));
                read = static_cast<size_t>(end) + 1;
                return message;
            }
            if (t.elapsed() > kLimitMs) return {};
            if (socket.state() != QAbstractSocket::ConnectedState && socket.bytesAvailable() == 0) return {};
            if (socket.waitForReadyRead(1000) || socket.bytesAvailable() > 0) received += socket.readAll();
        }
    }
    // Reads messages until one starts with the text; returns it ("" if none).
    QString NextStarting(const QString& start) {
        for (QString m = Next(); !m.isEmpty(); m = Next())
            if (m.startsWith(start)) return m;
        return {};
    }
    bool Closed() {
        QElapsedTimer t;
        t.start();
        while (socket.state() == QAbstractSocket::ConnectedState && t.elapsed() < kLimitMs) {
            if (socket.waitForReadyRead(1000)) received += socket.readAll();
        }
        received += socket.readAll();
        return socket.state() != QAbstractSocket::ConnectedState;
    }
};

// A self-made certificate and its key, as an admin makes them with openssl.
struct TestCertificate {
    QTemporaryDir folder;
    QString certificate = folder.filePath(QStringLiteral("cert.pem"));
    QString key = folder.filePath(QStringLiteral("key.pem"));
    QByteArray pin;  // the certificate's SHA-256 fingerprint
    QString pinText;  // as the admin publishes it: AB:CD:...
    TestCertificate() {
        const int status = QProcess::execute(QStringLiteral("openssl"),
                                             {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-subj", "/CN=localhost",
                                              "-days", "30", "-keyout", key, "-out", certificate});
        EXPECT_EQ(status, 0) << "openssl could not make a certificate";
        const auto chain = QSslCertificate::fromPath(certificate);
        if (!chain.isEmpty()) pin = chain.first().digest(QCryptographicHash::Sha256);
        pinText = QString::fromLatin1(pin.toHex(':').toUpper());
    }
    QStringList ServerArgs() const { return {"--cert", certificate, "--key", key}; }
};
