// zarv-sim serve and join as separate processes over loopback TCP: a free
// port, bounded waits on the processes' own events, never a fixed sleep.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <unistd.h>
#include <QTcpServer>
#include <QTcpSocket>
#include <memory>
#include <vector>

namespace {

// Well below the test's own limit in CMake, so that a failing wait says so.
constexpr int kLimitMs = 40'000;

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

// Whether this machine has an IPv6 loopback at all (a container may not).
bool HaveIpv6Loopback() {
    QTcpServer probe;
    return probe.listen(QHostAddress::LocalHostIPv6, 0);
}

TEST(ProcessesOnLoopback, TheFourthIsRefusedAndTheLobbyEndsOnSigterm) {
    if (!HaveIpv6Loopback()) GTEST_SKIP() << "this machine has no IPv6 loopback (::1)";
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
    // A port held by a socket that does not listen: nothing answers there,
    // and no other test can take it meanwhile.
    QTcpSocket holder;
    ASSERT_TRUE(holder.bind(QHostAddress::LocalHost, 0, QAbstractSocket::DontShareAddress));
    const quint16 port = holder.localPort();
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

QString LinesAfter(const QString& out, const QString& marker) {
    const int at = out.indexOf(marker);
    return at < 0 ? QString() : out.mid(out.indexOf('\n', at) + 1);
}

TEST(ProcessesOnLoopback, BotsThatDropFreezeAndComeBackStillFinishTheGame) {
    // Bot B drops at its first trick and comes back at once; bot C freezes at
    // its second, and the Dealer gives it ten seconds before the computer plays
    // its seat (B is back long before: the Dealer seats it while it waits).
    Process serve({"serve", "--port", "0", "--seed", "21", "--move-limit", "10"});
    const int port = StartServe(serve);
    ASSERT_GT(port, 0);
    const QString where = QStringLiteral("127.0.0.1:%1").arg(port);
    Process a({"join", where, "--name", "Ann", "--side", "partner"});
    Process b({"join", where, "--name", "Bob", "--drop-at-trick", "1", "--return-after", "0"});
    Process c({"join", where, "--name", "Cy", "--freeze-at-trick", "2"});
    ASSERT_EQ(serve.Finish(), 0);
    const QString dealer = serve.Out();
    EXPECT_EQ(a.Finish(), 0);
    EXPECT_EQ(b.Finish(), 0);
    EXPECT_EQ(c.Finish(), 3);
    const QString bob = b.Out(), cy = c.Out();
    const QString bobSeat = bob.section('\n', 0, 0).section(' ', 1);
    const QString cySeat = cy.section('\n', 0, 0).section(' ', 1);
    EXPECT_TRUE(dealer.contains(QStringLiteral("seat %1 silent for 10 s: computer plays").arg(cySeat))) << dealer.toStdString();
    EXPECT_TRUE(dealer.contains(QStringLiteral("back %1").arg(bobSeat))) << dealer.toStdString();
    EXPECT_TRUE(cy.contains("frozen at trick 2"));
    ASSERT_TRUE(bob.contains(QStringLiteral("returned seat %1").arg(bobSeat))) << bob.toStdString();
    // From its return on, Bob's table says what the Dealer's says, to the game's end.
    const QString since = GameLines(LinesAfter(bob, "returned seat"));
    ASSERT_GT(since.size(), 100);
    EXPECT_TRUE(GameLines(dealer).endsWith(since));
    EXPECT_EQ(GameLines(a.Out()), GameLines(dealer));
}

TEST(ProcessesOnLoopback, AnOrdinaryUsersDealerListensWhereItCanAndSaysSo) {
    if (geteuid() != 0 || QStandardPaths::findExecutable(QStringLiteral("setpriv")).isEmpty())
        GTEST_SKIP() << "needs root and setpriv to run the Dealer as an ordinary user";
    QProcess serve;
    serve.start(QStringLiteral("setpriv"), {"--reuid=65534", "--regid=65534", "--clear-groups", QStringLiteral(ZARV_SIM),
                                            "serve", "--lobby"});
    QString out;
    while (!out.contains('\n') && serve.waitForReadyRead(kLimitMs)) out += QString::fromUtf8(serve.readAllStandardOutput());
    const auto m = QRegularExpression(QStringLiteral("^listening (\\d+)\\n")).match(out);
    ASSERT_TRUE(m.hasMatch()) << out.toStdString() << serve.readAllStandardError().toStdString();
    EXPECT_NE(m.captured(1).toInt(), 1001);
    serve.terminate();
    ASSERT_TRUE(serve.waitForFinished(kLimitMs));
    EXPECT_EQ(serve.exitCode(), 0);
    const QString err = QString::fromUtf8(serve.readAllStandardError());
    EXPECT_TRUE(err.contains(QStringLiteral("port 1001 could not be opened"))) << err.toStdString();
    EXPECT_TRUE(err.contains(QStringLiteral("listening on port %1 instead").arg(m.captured(1)))) << err.toStdString();
    // Given a port, it listens there or nowhere.
    QTcpServer holder;
    ASSERT_TRUE(holder.listen(QHostAddress::Any, 0));
    Process taken({"serve", "--port", QString::number(holder.serverPort()), "--lobby"});
    EXPECT_EQ(taken.Finish(), 1);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
