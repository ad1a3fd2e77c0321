// zarv-sim serve and join as separate processes over loopback TCP: a free
// port, bounded waits on the processes' own events, never a fixed sleep.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QTcpServer>
#include <memory>
#include <vector>

namespace {

constexpr int kLimitMs = 60'000;

struct Process {
    std::unique_ptr<QProcess> p = std::make_unique<QProcess>();
    explicit Process(const QStringList& args) {
        p->setProcessChannelMode(QProcess::SeparateChannels);
        p->start(QStringLiteral(ZARV_SIM), args);
    }
    ~Process() {
        if (p->state() != QProcess::NotRunning) {
            p->kill();
            p->waitForFinished(5000);
        }
    }
    QString Out() { return QString::fromUtf8(p->readAllStandardOutput()); }
    int Finish() {
        EXPECT_TRUE(p->waitForFinished(kLimitMs)) << "still running";
        return p->exitCode();
    }
};

// Starts a Dealer on a free port and reads the port from its first line.
int StartServe(Process& serve) {
    QString first;
    while (!first.contains('\n') && serve.p->waitForReadyRead(kLimitMs)) first += QString::fromUtf8(serve.p->readLine());
    const auto m = QRegularExpression(QStringLiteral("^listening (\\d+)\\n")).match(first);
    EXPECT_TRUE(m.hasMatch()) << first.toStdString();
    return m.captured(1).toInt();
}

QString GameLines(const QString& out) {
    QStringList kept;
    for (const QString& line : out.split('\n'))
        if (line.startsWith("trump") || line.startsWith("trick ") || line.startsWith("result ")) kept << line;
    return kept.join('\n');
}

TEST(ProcessesOnLoopback, ADealerAndThreeBotsPlayTheSameGame) {
    Process serve({"serve", "--port", "0", "--clients", "3", "--seed", "12", "--games", "2"});
    const int port = StartServe(serve);
    ASSERT_GT(port, 0);
    std::vector<std::unique_ptr<Process>> joins;
    const char* sides[3] = {"partner", "against", "against"};
    for (int i = 0; i < 3; ++i)
        joins.push_back(std::make_unique<Process>(
            QStringList{"join", QStringLiteral("127.0.0.1:%1").arg(port), "--name", QStringLiteral("Bot%1").arg(i), "--side", sides[i]}));
    ASSERT_EQ(serve.Finish(), 0);
    const QString dealerLines = GameLines(serve.Out());
    EXPECT_GT(dealerLines.count("result "), 4);
    QStringList seats;
    for (auto& j : joins) {
        EXPECT_EQ(j->Finish(), 0);
        const QString out = j->Out();
        seats << out.section('\n', 0, 0);
        EXPECT_EQ(GameLines(out), dealerLines);
        EXPECT_EQ(out.count("game-over points"), 2);
    }
    seats.sort();
    EXPECT_EQ(seats, QStringList({"seat 1", "seat 2", "seat 4"}));
}

TEST(ProcessesOnLoopback, TheFourthIsRefusedAndTheLobbyEndsOnSigterm) {
    Process serve({"serve", "--port", "0", "--lobby"});
    const int port = StartServe(serve);
    const QString where = QStringLiteral("[::1]:%1").arg(port);  // IPv6 loopback, bracketed
    std::vector<std::unique_ptr<Process>> joins;
    // One after the other, each seated before the next asks: the side asked for counts.
    const QStringList asks[3] = {{"--side", "against"}, {"--side", "partner", "--name", "Ann"}, {"--name", "Bob"}};
    const QString seats[3] = {"seat 2\n", "seat 1\n", "seat 4\n"};
    for (int i = 0; i < 3; ++i) {
        joins.push_back(std::make_unique<Process>(QStringList{"join", where} + asks[i]));
        ASSERT_TRUE(joins.back()->p->waitForReadyRead(kLimitMs));
        EXPECT_EQ(joins.back()->Out(), seats[i]) << i;
    }
    Process fourth({"join", where, "--name", "Late"});
    EXPECT_EQ(fourth.Finish(), 4);
    EXPECT_EQ(fourth.Out(), "refused\n");
    serve.p->terminate();  // SIGTERM
    EXPECT_EQ(serve.Finish(), 0);
    // The Dealer closed before any game: the bots end without one (lost: 3).
    for (auto& j : joins) EXPECT_EQ(j->Finish(), 3);
}

TEST(ZarvSimOutput, AFullDiskIsAFailure) {
    QProcess p;
    p.setStandardOutputFile(QStringLiteral("/dev/full"));
    p.start(QStringLiteral(ZARV_SIM), {"games", "2", "--seed", "1"});
    ASSERT_TRUE(p.waitForFinished(kLimitMs));
    EXPECT_NE(p.exitCode(), 0);
    EXPECT_TRUE(QString::fromUtf8(p.readAllStandardError()).contains("cannot write the output"));
}

TEST(ProcessesOnLoopback, NobodyListeningAndBadUse) {
    // A port that was free a moment ago: nothing listens there.
    QTcpServer probe;
    ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
    const quint16 port = probe.serverPort();
    probe.close();
    Process join({"join", QStringLiteral("127.0.0.1:%1").arg(port)});
    EXPECT_EQ(join.Finish(), 3);
    EXPECT_TRUE(QString::fromUtf8(join.p->readAllStandardError()).contains("cannot reach 127.0.0.1"));

    for (const QStringList& bad : {QStringList{"join"}, QStringList{"join", "host:99999"}, QStringList{"join", "[::1"},
                                   QStringList{"join", "h", "--side", "left"}, QStringList{"serve", "--clients", "4"},
                                   QStringList{"serve", "--port", "x"}}) {
        Process p(bad);
        EXPECT_EQ(p.Finish(), 2) << bad.join(' ').toStdString();
    }
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
