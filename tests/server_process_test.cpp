// zarv-server as a process on loopback, with zarv-sim bots and plain sockets
// that speak the protocol's exact texts: a free port, bounded waits on the
// processes' and sockets' own events, never a fixed sleep.
#include <gtest/gtest.h>

#include "server_processes.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTcpSocket>
#include <memory>
#include <set>
#include <vector>

namespace {

QString GameLines(const QString& out) {
    QStringList kept;
    for (const QString& line : out.split('\n'))
        if (line.startsWith("trump") || line.startsWith("trick ") || line.startsWith("result ")) kept << line;
    return kept.join('\n');
}

// The commands a program of the original protocol knows.
bool OriginalCommand(const QString& command) {
    static const std::set<QString> known{"Join", "AddedPlayer", "Start", "HandIs", "MasterPlayerIs", "MasterCardIs",
                                         "Recived", "Chat", "Disconnected", "IMove1", "IMove2", "IMove3", "IMove4"};
    return known.count(command) > 0;
}

TEST(TableServer, BotsAtALobbyTableAndAWatcherSeeTheSameGame) {
    // Once the bots have left, the table does not wait long for their return.
    Server server({"--no-pauses", "--next-game", "0", "--idle-table", "1"});
    Bot maker(server, {"--name", "Ann", "--table", "Friends", "--create", "--seat", "1", "--games", "2"});
    ASSERT_TRUE(maker.WaitFor("seat 1\n"));
    Bot watcher(server, {"--name", "Wes", "--table", "Friends", "--watch", "--games", "2"});
    ASSERT_TRUE(watcher.WaitFor("watching"));
    Bot chosen(server, {"--name", "Bob", "--table", "Friends", "--seat", "4", "--games", "2"});
    ASSERT_TRUE(chosen.WaitFor("seat 4\n"));
    Bot any(server, {"--name", "Cy", "--table", "Friends", "--games", "2"});
    for (Process* p : {static_cast<Process*>(&maker), static_cast<Process*>(&chosen), static_cast<Process*>(&any),
                       static_cast<Process*>(&watcher)})
        EXPECT_EQ(p->Finish(), 0) << p->out.toStdString();
    EXPECT_TRUE(any.out.contains("seat 2\n")) << any.out.toStdString();
    const QString lines = GameLines(maker.out);
    EXPECT_GT(lines.count("result "), 4);
    EXPECT_EQ(GameLines(chosen.out), lines);
    EXPECT_EQ(GameLines(any.out), lines);
    EXPECT_EQ(GameLines(watcher.out), lines);
    EXPECT_EQ(watcher.out.count("game-over points"), 2);
    EXPECT_TRUE(server.WaitFor(QRegularExpression("table 1 closed after 2 games")));
}

TEST(TableServer, ProgramsOfTheOriginalProtocolAreSeatedAsByADealerAndHearNothingNew) {
    Server server({"--no-pauses", "--auto-start", "1"});
    // Two plain programs ask as they would of a Dealer; the second finds the
    // first one's table (public, waiting, a place on its side).
    Peer ann(server.port);
    ann.Send("Connect;Ann;Partner|");
    EXPECT_EQ(ann.Next(), "Join;1;You play as Partner of Dealer.");
    Peer bob(server.port);
    bob.Send("Connect;Bob;Against|");
    EXPECT_TRUE(bob.Next().startsWith("Join;2;"));
    EXPECT_EQ(ann.Next(), "AddedPlayer;Bob;Against");
    // A set time after the first player sat, the table starts with the
    // computer in the empty seat.
    const QString start = ann.NextStarting("Start;");
    EXPECT_EQ(start, "Start;Ann;Human;Bob;Human;Zarv;Computer;Dastrel;Computer;") << start.toStdString();
    EXPECT_TRUE(ann.NextStarting("HandIs;").size() > 100);
    bob.socket.close();
    // Ann stops answering and leaves: every message it was sent is one it knows.
    ann.socket.close();
    for (Peer* p : {&ann, &bob}) {
        for (const QString& m : QString::fromUtf8(p->received).split('|', Qt::SkipEmptyParts))
            EXPECT_TRUE(OriginalCommand(m.section(';', 0, 0))) << m.toStdString();
    }
    EXPECT_TRUE(server.WaitFor(QRegularExpression("table 1 seated 1 \"Ann\"")));
}

TEST(TableServer, TheMakerStartsAndTheLobbyAnswersEveryRequest) {
    // Private tables need TLS: the main port speaks it, a second port not.
    TestCertificate tls;
    Server server(QStringList{"--no-pauses", "--max-tables-per-connection", "1", "--plain-port", "0"} + tls.ServerArgs());
    Peer maker(server.port, tls.pin);
    maker.Send("Recived;Lobby|");
    EXPECT_EQ(maker.Next(), "Lobby;1");
    maker.Send("LobbyMake;Private room;s3cret;standard;30;0|");
    EXPECT_EQ(maker.Next(), "LobbyOk;Made;1");
    maker.Send("LobbyMake;Another;;standard;30;1|");
    EXPECT_EQ(maker.Next(), "LobbyNo;You have made as many tables as one connection may.");
    // A second program lists the tables, and is refused where it should be.
    Peer other(server.port, tls.pin);
    other.Send("Recived;Lobby|LobbyList;|");
    EXPECT_EQ(other.Next(), "Lobby;1");
    EXPECT_EQ(other.Next(), "TableIs;1;Private room;W;1;0;0;S;30;;-;;-;Zarv;C;;-");
    EXPECT_EQ(other.Next(), "ListEnd;1");
    other.Send("LobbySit;1;2;wrong|");
    EXPECT_EQ(other.Next(), "LobbyNo;Wrong password.");
    other.Send("LobbyWatch;1;s3cret|");
    EXPECT_EQ(other.Next(), "LobbyNo;The table's maker does not allow watching.");
    other.Send("LobbySit;1;3;s3cret|");
    EXPECT_EQ(other.Next(), "LobbyNo;Choose a table and seat 1, 2 or 4.");
    other.Send("LobbyStart;1|");
    EXPECT_EQ(other.Next(), "LobbyNo;Only the table's maker may start it.");
    // The maker sits, as any program asks a Dealer for a seat, and starts.
    maker.Send("LobbySit;1;4;s3cret|");
    EXPECT_EQ(maker.Next(), "LobbyOk;Sit;1;4");
    maker.Send("Connect;Maker;Against|");
    EXPECT_EQ(maker.Next(), "Join;4;You play against of Dealer.");
    EXPECT_EQ(other.Next(), "TableIs;1;Private room;W;1;0;0;S;30;;-;;-;Zarv;C;Maker;H");
    maker.Send("LobbyStart;1|");
    EXPECT_EQ(maker.Next(), "LobbyOk;Start;1");
    EXPECT_TRUE(maker.NextStarting("Start;").contains("Maker;Human;"));
    EXPECT_EQ(other.Next(), "TableIs;1;Private room;P;1;0;0;S;30;Tib ;C;Vrel;C;Zarv;C;Maker;H");
    // No password is taken over the plain port, nor a private table entered.
    Peer plain(server.plainPort);
    plain.Send("Recived;Lobby|LobbyMake;Mine;pw;standard;30;1|LobbyWatch;1;|LobbyMake;Open;;standard;30;1|");
    EXPECT_EQ(plain.Next(), "Lobby;1");
    const QString needsTls =
        "LobbyNo;Passwords travel only over an encrypted connection; connect to the server with TLS to use one.";
    EXPECT_EQ(plain.Next(), needsTls);
    EXPECT_EQ(plain.Next(), needsTls);
    EXPECT_EQ(plain.Next(), "LobbyOk;Made;2");
    // The same name cannot sit down a second time without the token.
    Peer impostor(server.plainPort);
    impostor.Send("Connect;maker;Partner|");
    EXPECT_EQ(impostor.Next(), "Join;3;The name maker is already at a table of this server; choose another.");
    EXPECT_TRUE(impostor.Closed());
    // The password never reaches the log.
    maker.socket.close();
    server.p->terminate();
    EXPECT_EQ(server.Finish(), 0);
    EXPECT_FALSE(server.out.contains("s3cret"));
    EXPECT_TRUE(server.out.contains("table 1 made \"Private room\" level standard private"));
}

TEST(TableServer, ACertificateThatFailsTheCheckStopsTheConnection) {
    TestCertificate tls, other;
    Server server(QStringList{"--no-pauses"} + tls.ServerArgs());
    // Not in the trust store, and no pin: stopped, with the fingerprint to compare.
    Bot unpinned(server, {"--name", "Ann", "--table", "T", "--create", "--tls"});
    EXPECT_EQ(unpinned.Finish(), 3);
    const QString told = QString::fromUtf8(unpinned.p->readAllStandardError());
    EXPECT_TRUE(told.contains("cannot be trusted") && told.contains(tls.pinText)) << told.toStdString();
    Bot mispinned(server, {"--name", "Ann", "--table", "T", "--create", "--pin", other.pinText});
    EXPECT_EQ(mispinned.Finish(), 3);
    EXPECT_TRUE(QString::fromUtf8(mispinned.p->readAllStandardError()).contains("not the one pinned"));
    // Neither went on without encryption: the server never had them in its lobby.
    EXPECT_FALSE(server.Out().contains(" made ")) << server.out.toStdString();
    Bot pinned(server, {"--name", "Ann", "--table", "T", "--create", "--seat", "1", "--password", "pw", "--pin",
                        tls.pinText.toLower().remove(':')});
    EXPECT_TRUE(pinned.WaitFor("seat 1\n")) << pinned.out.toStdString();
    EXPECT_TRUE(server.WaitFor("table 1 made \"T\" level standard private"));
}

TEST(TableServer, EncryptionAgainstAPlainPortIsToldAtOnce) {
    Server server({"--no-pauses"});
    // The plain port closes on a TLS greeting; the client says what to change
    // (without the fix it would wait its whole answer limit and blame silence).
    Bot encrypted(server, {"--name", "Ann", "--table", "T", "--create", "--tls"});
    EXPECT_EQ(encrypted.Finish(), 3);
    const QString told = QString::fromUtf8(encrypted.p->readAllStandardError());
    EXPECT_TRUE(told.contains("does not speak TLS")) << told.toStdString();
    EXPECT_TRUE(server.WaitFor("tls-greeting dropped connection")) << server.out.toStdString();
    // The same port goes on serving plain clients.
    Bot plain(server, {"--name", "Bob", "--table", "T", "--create", "--seat", "1"});
    EXPECT_TRUE(plain.WaitFor("seat 1\n")) << plain.out.toStdString();
}

// Card codes: a suit letter and a rank, standing alone.
const QRegularExpression kCard(QStringLiteral("(?<![A-Za-z0-9])[gphx](1[0-4]|[2-9])(?![0-9])"));

TEST(TableServer, AWatcherNeverReceivesACardStillInAHand) {
    Server server({"--no-pauses", "--next-game", "0"});
    Bot maker(server, {"--name", "Ann", "--table", "Open", "--create", "--seat", "1", "--games", "1"});
    ASSERT_TRUE(maker.WaitFor("seat 1\n"));
    Peer watcher(server.port);
    watcher.Send("Recived;Lobby|LobbyWatch;1;|");
    EXPECT_EQ(watcher.Next(), "Lobby;1");
    EXPECT_EQ(watcher.Next(), "LobbyOk;Watch;1");
    Bot bob(server, {"--name", "Bob", "--table", "Open", "--seat", "2", "--games", "1"});
    Bot cy(server, {"--name", "Cy", "--table", "Open", "--seat", "4", "--games", "1"});
    for (Process* p : {static_cast<Process*>(&maker), static_cast<Process*>(&bob), static_cast<Process*>(&cy)})
        EXPECT_EQ(p->Finish(), 0);
    // Every card the watcher was sent is one just played, in the order the
    // players saw them played; nothing else it was sent names a card.
    QStringList played;
    for (QString m = watcher.NextStarting("Seen;"); !m.startsWith("Seen;GameOver"); m = watcher.NextStarting("Seen;")) {
        ASSERT_FALSE(m.isEmpty()) << "the game did not end for the watcher";
        if (m.startsWith("Seen;Card;")) {
            played << m.section(';', 3, 3);
            continue;
        }
        EXPECT_FALSE(kCard.match(m).hasMatch()) << m.toStdString();
    }
    QStringList playedByPlayers;
    for (const QString& line : maker.out.split('\n'))
        if (line.startsWith("trick "))
            for (const QString& card : line.split(' ').mid(2, 4)) playedByPlayers << card.section(':', 1);
    EXPECT_EQ(played, playedByPlayers);
    EXPECT_FALSE(watcher.received.contains("HandIs"));
}

TEST(TableServer, ALimitOnConnectionsFromOneAddress) {
    Server server({"--max-per-address", "2"});
    Peer first(server.port), second(server.port), third(server.port);
    EXPECT_TRUE(third.Closed());
    for (Peer* p : {&first, &second}) {
        p->Send("Recived;Lobby|");
        EXPECT_EQ(p->Next(), "Lobby;1");
    }
    EXPECT_TRUE(server.WaitFor("limit connections-per-address 127.0.0.1"));
    // One goes, and another may come.
    first.socket.close();
    EXPECT_TRUE(server.WaitFor("connection 1 closed"));
    Peer fourth(server.port);
    fourth.Send("Recived;Lobby|");
    EXPECT_EQ(fourth.Next(), "Lobby;1");
}

TEST(TableServer, AClientThatNeverReadsIsDroppedNotBuffered) {
    Server server({"--send-buffer", "8192"});
    QTcpSocket deaf;
    // Qt stops taking bytes from the kernel once this much waits unread.
    deaf.setReadBufferSize(512);
    deaf.connectToHost(QStringLiteral("127.0.0.1"), static_cast<quint16>(server.port));
    ASSERT_TRUE(deaf.waitForConnected(kLimitMs));
    deaf.setSocketOption(QAbstractSocket::ReceiveBufferSizeSocketOption, 4096);
    // Every one answered at once (the lobby's list, by contrast, is told as
    // the reader has room for it, so a deaf follower only waits).
    QByteArray asks("Recived;Lobby|LobbyMake;T;;standard;60;1|");
    for (int i = 0; i < 20000; ++i) asks += "LobbyWhatever;|";
    deaf.write(asks);
    deaf.waitForBytesWritten(kLimitMs);
    EXPECT_TRUE(server.WaitFor("limit send-buffer dropped connection 1"));
}

TEST(TableServer, ATableEveryoneLeftCloses) {
    Server server({"--idle-table", "1"});
    Peer maker(server.port), follower(server.port);
    follower.Send("Recived;Lobby|LobbyList;|");
    EXPECT_EQ(follower.NextStarting("ListEnd"), "ListEnd;0");
    maker.Send("Recived;Lobby|LobbyMake;Empty;;standard;60;1|");
    EXPECT_EQ(maker.NextStarting("LobbyOk"), "LobbyOk;Made;1");
    maker.socket.close();
    EXPECT_EQ(follower.NextStarting("TableIs;1;Empty;W"), "TableIs;1;Empty;W;0;1;0;S;60;;-;;-;Zarv;C;;-");
    EXPECT_EQ(follower.NextStarting("TableGone"), "TableGone;1");
    EXPECT_TRUE(server.WaitFor("table 1 closed: nobody came for 1 s"));
}

TEST(TableServer, SigtermEndsEveryTableAndEveryoneHearsIt) {
    // Games at the pace of people, so that they are in the middle when the
    // server is told to stop.
    Server server({"--auto-start", "1"});
    Bot ann(server, {"--name", "Ann", "--table", "Long", "--create", "--seat", "1"});
    Bot bob(server, {"--name", "Bob", "--table", "Long", "--seat", "2"});
    Bot cy(server, {"--name", "Cy", "--table", "Long", "--seat", "4"});
    for (Bot* b : {&ann, &bob, &cy}) ASSERT_TRUE(b->WaitFor(QRegularExpression("seat \\d\n")));
    // A table of its own for the program of the original protocol.
    Peer plain(server.port);
    plain.Send("Connect;Dee;Against|");
    EXPECT_TRUE(plain.Next().startsWith("Join;"));
    EXPECT_FALSE(plain.NextStarting("HandIs;").isEmpty());
    ASSERT_TRUE(ann.WaitFor("trick 1 "));
    server.p->terminate();
    EXPECT_EQ(server.Finish(), 0);
    EXPECT_TRUE(server.out.contains("stopped mid-game")) << server.out.toStdString();
    EXPECT_TRUE(server.out.contains("closed\n"));
    // The original program reads the words as the Dealer's chat line.
    EXPECT_EQ(plain.NextStarting("Chat;"), "Chat;3;The server is closing");
    EXPECT_TRUE(plain.Closed());
    // Our bots were told there is nothing to come back to, and end.
    for (Bot* b : {&ann, &bob, &cy}) {
        EXPECT_EQ(b->Finish(), 3) << b->out.toStdString();
        EXPECT_FALSE(b->out.contains("returned seat"));
    }
}

TEST(TableServer, AFlooderIsClosedAndTheGameAtItsTableGoesOn) {
    // A seat that sends chat, pieces of no command, or acknowledgements nobody
    // asked for, as fast as its socket takes them, beside tables of bots that
    // play without pauses.
    Server server({"--no-pauses", "--next-game", "0", "--max-per-address", "0"});
    int seed = 1;
    for (const QString kind : {"chat", "junk", "acks"}) {
        SCOPED_TRACE(kind.toStdString());
        Process load(QStringLiteral(ZARV_SIM), {"load", server.where(), "--tables", "4", "--games", "2", "--think-ms", "0",
                                                "--no-pauses", "--flood", kind, "--seed", QString::number(seed++)});
        // Every bot finished its games, the two beside the flooder included.
        EXPECT_EQ(load.Finish(), 0) << load.out.toStdString();
        EXPECT_TRUE(QRegularExpression(QStringLiteral("failures 0\\nflooder %1 sent-mb \\d+ closed-after-s [0-9.]+\\n").arg(kind))
                        .match(load.out)
                        .hasMatch())
            << load.out.toStdString();
        // Acknowledgements nobody asked for are the table's to refuse too, once it has too many waiting.
        const QString why = kind == "acks" ? QStringLiteral("(limit flood dropped connection|refused message more than \\d+ messages waiting)")
                                           : QStringLiteral("limit %1 dropped connection").arg(kind);
        EXPECT_TRUE(server.WaitFor(QRegularExpression(why))) << server.Out().toStdString();
    }
}

TEST(TableServer, APlayerWhoDropsComesBackToItsSeat) {
    Server server({"--no-pauses", "--next-game", "0"});
    Bot ann(server, {"--name", "Ann", "--table", "Back", "--create", "--seat", "1", "--games", "1"});
    ASSERT_TRUE(ann.WaitFor("seat 1\n"));
    Bot bob(server, {"--name", "Bob", "--table", "Back", "--seat", "2", "--games", "1", "--drop-at-trick", "3",
                     "--return-after", "0"});
    Bot cy(server, {"--name", "Cy", "--table", "Back", "--seat", "4", "--games", "1"});
    EXPECT_EQ(ann.Finish(), 0);
    EXPECT_EQ(cy.Finish(), 0);
    EXPECT_EQ(bob.Finish(), 0) << bob.out.toStdString();
    ASSERT_TRUE(bob.out.contains("dropped at trick 3\nreturned seat 2\n")) << bob.out.toStdString();
    // From its return on, its lines are the table's.
    const QString after = GameLines(bob.out.section("returned seat 2\n", 1));
    EXPECT_FALSE(after.isEmpty());
    EXPECT_TRUE(GameLines(ann.out).endsWith(after));
    EXPECT_TRUE(server.WaitFor("returned 2 \"Bob\""));
}

TEST(TableServer, ABotKilledMidGameAndStartedAgainTakesItsSeatBack) {
    // At the pace of people, so that the game is still on when it comes back.
    Server server({});
    const QString tokenFile = QDir::temp().filePath(QStringLiteral("zarv-token-%1").arg(QCoreApplication::applicationPid()));
    QFile::remove(tokenFile);
    Bot ann(server, {"--name", "Ann", "--table", "Again", "--create", "--seat", "1"});
    ASSERT_TRUE(ann.WaitFor("seat 1\n"));
    auto bob = std::make_unique<Bot>(server, QStringList{"--name", "Bob", "--table", "Again", "--seat", "2", "--token-file", tokenFile});
    Bot cy(server, {"--name", "Cy", "--table", "Again", "--seat", "4"});
    ASSERT_TRUE(bob->WaitFor("trick 1 "));
    bob->p->kill();  // SIGKILL: no last words
    bob->p->waitForFinished(kLimitMs);
    ASSERT_TRUE(server.WaitFor("dropped 2 \"Bob\""));
    Bot again(server, {"--name", "Bob", "--table", "Again", "--token-file", tokenFile});
    ASSERT_TRUE(again.WaitFor(QRegularExpression("returned seat 2\n(.*\n)*trick \\d+ .*\n")));
    EXPECT_TRUE(server.WaitFor("returned 2 \"Bob\""));
    // What it plays from there on is the table's game: its first whole trick
    // is one the others print too.
    const QString first = again.out.section("returned seat 2\n", 1).split('\n').filter(QRegularExpression("^trick ")).value(0);
    ASSERT_TRUE(ann.WaitFor(first.section(' ', 2)));
    server.p->terminate();
    EXPECT_EQ(server.Finish(), 0);
    QFile::remove(tokenFile);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
