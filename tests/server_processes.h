// zarv-server and zarv-sim as processes on loopback, and plain sockets that
// speak the protocol's exact texts: bounded waits on the processes' and
// sockets' own events, never a fixed sleep.
#pragma once

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
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
    }
    QString where() const { return QStringLiteral("127.0.0.1:%1").arg(port); }
};

struct Bot : Process {
    Bot(const Server& server, const QStringList& args)
        : Process(QStringLiteral(ZARV_SIM), QStringList{"join", server.where()} + args) {}
};

// A plain connection: every byte it receives is kept.
struct Peer {
    QTcpSocket socket;
    QByteArray received;
    size_t read = 0;  // how far Next() has gone through received
    explicit Peer(int port) {
        socket.connectToHost(QStringLiteral("127.0.0.1"), static_cast<quint16>(port));
        EXPECT_TRUE(socket.waitForConnected(kLimitMs));
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
