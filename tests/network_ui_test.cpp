// The Network dialog, the chat box and what a person sees of network play,
// on real windows (offscreen) and real sockets on loopback. Every wait is on
// events with a deadline.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDateTime>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "net/wire.h"
#include "settings/player_records.h"
#include "settings/return_ticket.h"
#include "settings/settings_store.h"
#include "tests/quiet_window.h"
#include "tests/test_table.h"
#include "ui/network_dialog.h"
#include "ui/table_window.h"

namespace zarv::testing {
namespace {

using namespace zarv::ui;
constexpr int kLimitMs = 20'000;

// A table of its own that hosts on loopback.
struct Machine : QuietWindow {
    explicit Machine(const std::string& name, const QString& iniFile = QString()) : QuietWindow(name, iniFile) {
        window.game().positionForTests().PlayerName = name;
        // Loopback, on a port the system picks free.
        window.network().SetHostingPlan({QHostAddress(QHostAddress::LocalHost), 0, {0}});
    }
    void Host() {
        OpenDialog();
        dialog->roleChoices[0]->click();
        dialog->continueButton->click();
    }
    void Join(const QString& where, bool partner) {
        OpenDialog();
        dialog->roleChoices[1]->click();
        dialog->dealerAddress->setText(where);
        dialog->sideChoices[partner ? 0 : 1]->click();
        dialog->continueButton->click();
    }
    int Port() { return window.network().transport().port(); }
    QString Status() const { return dialog->statusLabel->text(); }
};

// Answers the next message box with the given button, and keeps its text and buttons.
struct MessageBoxAnswer {
    QString text;
    QStringList buttons;
    QTimer timer;
    explicit MessageBoxAnswer(QMessageBox::StandardButton button) {
        QObject::connect(&timer, &QTimer::timeout, [this, button] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                text = box->text();
                buttons.clear();
                for (QAbstractButton* b : box->buttons()) buttons << b->text();
                if (QAbstractButton* b = box->button(button)) b->click();
            }
        });
        timer.start(20);
    }
};

TEST(NetworkDialog, TheJoinSettingsFollowTheChoiceAndAnEmptyNameIsRefused) {
    Machine m("Ann");
    NetworkDialog& d = m.OpenDialog();
    EXPECT_TRUE(d.roleChoices[0]->isChecked());
    EXPECT_FALSE(d.joinFrame->isEnabled());
    EXPECT_EQ(d.roleChoices[1]->text(), "Join another player's game");
    d.activateWindow();
    d.roleChoices[1]->click();
    EXPECT_TRUE(d.joinFrame->isEnabled());
    EXPECT_TRUE(QTest::qWaitFor([&] { return d.dealerAddress->hasFocus(); }, 2000));
    d.roleChoices[0]->click();
    EXPECT_FALSE(d.joinFrame->isEnabled());

    d.roleChoices[1]->click();
    MessageBoxAnswer ok(QMessageBox::Ok);
    d.continueButton->click();
    EXPECT_EQ(ok.text, "Please enter the Dealer's computer name.");
    EXPECT_FALSE(d.waiting());
}

TEST(NetworkDialog, CancellingTheDealersWaitStopsListening) {
    Machine m("Ann");
    m.Host();
    ASSERT_TRUE(m.dialog->waiting());
    EXPECT_EQ(m.Status(), "Waiting for others to join...");
    EXPECT_EQ(m.dialog->waitButton->text(), "&Cancel");
    EXPECT_FALSE(m.dialog->roleFrame->isEnabled());  // the settings are locked
    const int port = m.Port();
    m.dialog->waitButton->click();
    EXPECT_FALSE(m.dialog->isVisible());
    EXPECT_FALSE(m.dialog->startGame());
    QTcpSocket probe;
    probe.connectToHost(QHostAddress::LocalHost, static_cast<quint16>(port));
    EXPECT_FALSE(probe.waitForConnected(3000));  // nobody listens any more
}

// Two clients of one Dealer, its game started: the clients see the names,
// and a line Bob writes reaches the Dealer and Cy.
void ChatDuringTheGame(Machine& dealer, Machine& bob, Machine& cy) {
    EXPECT_TRUE(bob.dialog->startGame());
    EXPECT_EQ(bob.window.game().positionForTests().Seats[2].Name, "Bob");
    EXPECT_EQ(bob.window.game().positionForTests().Seats[3].Name, "Ann");

    // Bob writes a line: the Dealer and Cy show it in Bob's balloon; Bob does not.
    bob.window.chatPanel().input()->setText("hi all");
    QTest::keyClick(bob.window.chatPanel().input(), Qt::Key_Return);
    EXPECT_TRUE(bob.window.chatPanel().input()->text().isEmpty());
    dealer.window.preferences().unsaved().Talk = true;
    cy.window.preferences().unsaved().Talk = true;
    bob.window.preferences().unsaved().Talk = true;
    ASSERT_TRUE(QTest::qWaitFor([&] { return dealer.window.chatBalloon(2) && cy.window.chatBalloon(2); }, kLimitMs));
    EXPECT_TRUE(dealer.window.chatBalloon(2)->isVisible());
    EXPECT_EQ(bob.window.chatBalloon(2), nullptr);
    // An empty box sends nothing, and "|" cannot be typed.
    QTest::keyClick(bob.window.chatPanel().input(), Qt::Key_Return);
    QTest::keyClicks(bob.window.chatPanel().input(), "a|b");
    EXPECT_EQ(bob.window.chatPanel().input()->text(), "ab");
    EXPECT_TRUE(bob.window.chatPanel().counterText().contains("\"|\" cannot be sent")) << bob.window.chatPanel().counterText().toStdString();
    // The conversation keeps every line, the writer's own too.
    EXPECT_TRUE(bob.window.chatPanel().history().contains("Bob: hi all")) << bob.window.chatPanel().history().join('\n').toStdString();
    ASSERT_TRUE(QTest::qWaitFor([&] { return cy.window.chatPanel().history().contains("Bob: hi all"); }, kLimitMs));
    // Persian, with its zero-width non-joiner, arrives as it was typed.
    const QString persian = QStringLiteral("سلام\u200cها، دست خوبی بود");
    bob.window.chatPanel().input()->setText(persian);
    QTest::keyClick(bob.window.chatPanel().input(), Qt::Key_Return);
    ASSERT_TRUE(QTest::qWaitFor([&] { return cy.window.chatPanel().history().contains("Bob: " + persian); }, kLimitMs))
        << cy.window.chatPanel().history().join('\n').toStdString();
}

TEST(NetworkWindows, TwoClientsJoinTheDealerSeeEachOtherAndChat) {
    Machine dealer("Ann"), bob("Bob"), cy("Cy");
    dealer.Host();
    const QString where = QStringLiteral("127.0.0.1:%1").arg(dealer.Port());
    bob.Join(where, false);
    EXPECT_EQ(bob.Status(), "Connecting to the Dealer...");
    ASSERT_TRUE(QTest::qWaitFor([&] { return bob.Status() == "Please wait until the Dealer starts the game..."; }, kLimitMs))
        << bob.Status().toStdString();
    EXPECT_EQ(bob.dialog->players(), QStringList{"* You play against the Dealer."});
    EXPECT_EQ(bob.dialog->waitButton->text(), "Disconnect");
    // Behind the dialog, the status says what each window waits for.
    EXPECT_EQ(bob.window.status().turnShown(), "Waiting for the Dealer to start the game");
    EXPECT_EQ(dealer.window.status().turnShown(), "Waiting for players to join");
    EXPECT_EQ(dealer.dialog->players(), QStringList{"Bob joined.  (Against)"});
    EXPECT_EQ(dealer.dialog->waitButton->text(), "Start Game");

    // Our own Dealer tells our clients the whole table, the Dealer's name included.
    ASSERT_TRUE(QTest::qWaitFor([&] { return bob.dialog->players().size() == 2; }, kLimitMs));
    EXPECT_EQ(bob.dialog->players()[1], "Ann is the Dealer.  (Against)");

    cy.Join(where, true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return bob.dialog->players().size() == 3; }, kLimitMs));
    // Seen from seat 2, Cy at seat 1 plays against.
    EXPECT_EQ(bob.dialog->players(),
              (QStringList{"* You play against the Dealer.", "Cy joined.  (Against)", "Ann is the Dealer.  (Against)"}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return cy.dialog->players().size() == 3; }, kLimitMs));
    EXPECT_EQ(cy.dialog->players(),
              (QStringList{"* You play as the Dealer's partner.", "Bob joined.  (Against)", "Ann is the Dealer.  (Partner)"}));
    EXPECT_EQ(dealer.dialog->players().size(), 2);
    EXPECT_EQ(bob.window.game().positionForTests().LocalSeat, 2);
    EXPECT_EQ(cy.window.game().positionForTests().LocalSeat, 1);

    // The Dealer starts the game as its person does: "Start" reaches the
    // clients and their dialogs close for the game. The clients here never
    // take their deal, so the Dealer's game waits for them while the players
    // chat; then it is stopped.
    dealer.dialog->waitButton->click();
    ASSERT_TRUE(dealer.dialog->startGame());
    dealer.window.network().SetDialog(nullptr);
    // The checks run once both clients have heard "Start" (not earlier: a
    // wait inside the check would hold the Dealer's game before it sends it).
    bool checked = false;
    QTimer probe;
    QObject::connect(&probe, &QTimer::timeout, [&] {
        if (bob.dialog->isVisible() || cy.dialog->isVisible()) return;
        probe.stop();
        struct StopAtTheEnd {
            Game& game;
            ~StopAtTheEnd() { game.Stop(); }
        } stop{dealer.window.game()};
        ChatDuringTheGame(dealer, bob, cy);
        checked = true;
    });
    probe.start(5);
    // Never longer than the limit, whatever happens.
    QTimer::singleShot(kLimitMs, &probe, [&] { dealer.window.game().Stop(); });
    dealer.window.network().AfterDialog(true);
    EXPECT_TRUE(checked);
}

TEST(NetworkWindows, ARefusalAndAConnectionRefusedLetThePersonTryAgain) {
    // A test Dealer that has no seat left.
    QTcpServer full;
    ASSERT_TRUE(full.listen(QHostAddress::LocalHost, 0));
    QObject::connect(&full, &QTcpServer::newConnection, [&] {
        QTcpSocket* s = full.nextPendingConnection();
        QObject::connect(s, &QTcpSocket::readyRead, [s] {
            s->readAll();
            s->write("Join;3;All Positions are ingaged, please try later.|");
            s->disconnectFromHost();
        });
    });
    Machine m("Ann");
    m.Join(QStringLiteral("127.0.0.1:%1").arg(full.serverPort()), true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return m.Status() == "Every seat is taken; please try again later."; }, kLimitMs))
        << m.Status().toStdString();
    EXPECT_EQ(m.dialog->waitButton->text(), "&Try Again");
    m.dialog->waitButton->click();
    EXPECT_FALSE(m.dialog->waiting());
    EXPECT_TRUE(m.dialog->roleFrame->isEnabled());

    // A port where nothing listens: a socket that does not listen holds it,
    // so that no other test can take it meanwhile.
    QTcpSocket holder;
    ASSERT_TRUE(holder.bind(QHostAddress::LocalHost, 0, QAbstractSocket::DontShareAddress));
    const quint16 port = holder.localPort();
    m.dialog->dealerAddress->setText(QStringLiteral("127.0.0.1:%1").arg(port));
    m.dialog->continueButton->click();
    EXPECT_TRUE(m.dialog->waiting());
    ASSERT_TRUE(QTest::qWaitFor([&] { return m.Status().startsWith("Cannot connect to 127.0.0.1:"); }, kLimitMs))
        << m.Status().toStdString();
    EXPECT_EQ(m.window.game().positionForTests().LocalSeat, 3);
    EXPECT_TRUE(m.window.game().positionForTests().IsDealer);
}

TEST(NetworkWindows, APortThatCannotBeOpenedIsReplacedAndShown) {
    QTcpServer holder;  // the port the window asks for first, held by the test
    ASSERT_TRUE(holder.listen(QHostAddress::LocalHost, 0));
    const quint16 held = holder.serverPort();
    Machine m("Ann");
    m.window.network().SetHostingPlan({QHostAddress(QHostAddress::LocalHost), held, {0}});
    m.Host();
    ASSERT_TRUE(m.dialog->waiting());
    const QString where = m.dialog->joinAddressLabel->text();
    EXPECT_TRUE(where.contains(QStringLiteral("Port %1 could not be opened").arg(held))) << where.toStdString();
    EXPECT_NE(m.Port(), held);
    // The port shown is the one listening: a player can connect to it.
    QTcpSocket player;
    player.connectToHost(QHostAddress::LocalHost, m.Port());
    EXPECT_TRUE(player.waitForConnected(kLimitMs)) << player.errorString().toStdString();
    EXPECT_TRUE(where.contains(QStringLiteral("port %1").arg(m.Port()))) << where.toStdString();
}

// Keeps pressing Space so that the pauses after tricks and hands end at once.
struct QuickPauses {
    QTimer timer;
    explicit QuickPauses(Game& game) {
        QObject::connect(&timer, &QTimer::timeout, [&game] { game.SpaceReleased(); });
        timer.start(5);
    }
};

TEST(NetworkWindows, ABotJoinsTheDealersWindowAndAWholeGameIsPlayedAndRecorded) {
    Machine dealer("Ann");
    dealer.Host();
    QProcess bot;
    bot.start(QStringLiteral(ZARV_SIM), {"join", QStringLiteral("127.0.0.1:%1").arg(dealer.Port()), "--name", "Bot"});
    ASSERT_TRUE(QTest::qWaitFor([&] { return dealer.dialog->waitButton->text() == "Start Game"; }, kLimitMs));
    dealer.dialog->waitButton->click();
    ASSERT_TRUE(dealer.dialog->startGame());
    dealer.window.network().SetDialog(nullptr);
    dealer.window.game().SetLocalAutoplay(true);  // the computer plays the Dealer's own seat here
    QuickPauses quick(dealer.window.game());
    MessageBoxAnswer no(QMessageBox::No);  // the game-over question: "Exit Zarv"
    dealer.window.network().AfterDialog(true);
    const GameState& s = dealer.window.game().positionForTests();
    EXPECT_TRUE(s.PointsA >= 7 || s.PointsB >= 7);
    // Who won and the points, then the question as it always stood.
    EXPECT_TRUE(no.text.endsWith("\n\nStart a new game?")) << no.text.toStdString();
    // The buttons say what each answer does.
    EXPECT_TRUE(no.buttons.contains("&New Game") && no.buttons.contains("E&xit Zarv")) << no.buttons.join(',').toStdString();
    EXPECT_TRUE(no.text.contains(QStringLiteral("won the game, %1 to %2").arg(std::max(s.PointsA, s.PointsB)).arg(std::min(s.PointsA, s.PointsB))))
        << no.text.toStdString();
    EXPECT_FALSE(dealer.window.action(MenuItem::Network)->isEnabled());
    // The last words and the close reach the bot while this window's events run.
    ASSERT_TRUE(QTest::qWaitFor([&] { return bot.state() == QProcess::NotRunning; }, kLimitMs));
    EXPECT_EQ(bot.exitCode(), 0) << bot.readAllStandardError().toStdString();
    EXPECT_TRUE(QString::fromUtf8(bot.readAllStandardOutput()).contains("game-over points"));
    // The game counts for the person at this machine, as any game does.
    int64_t win = 0, lost = 0;
    ASSERT_TRUE(settings::CheckPlayerRecord(dealer.store, "Ann", win, lost));
    EXPECT_EQ(win + lost, 1);
    EXPECT_EQ(win == 1, s.PointsA >= 7);  // the Dealer sits at seat 3, team A
}

TEST(NetworkWindows, AVanishedDealerStopsTheGameAndTheNextGameIsTheMachinesOwn) {
    // A test Dealer: seats the client, starts, and vanishes before the deal.
    QTcpServer fake;
    ASSERT_TRUE(fake.listen(QHostAddress::LocalHost, 0));
    QTcpSocket* peer = nullptr;
    Machine m("Bea");
    QObject::connect(&fake, &QTcpServer::newConnection, [&] {
        peer = fake.nextPendingConnection();
        QObject::connect(peer, &QTcpSocket::readyRead, [&] {
            peer->readAll();
            peer->write("Join;2;You play against of Dealer.|Start;Tib ;Computer;Bea;Human;Ann;Human;Dastrel;Computer;|");
        });
    });
    // The Dealer vanishes once the client's game has begun (whether its wait
    // for the deal has started or not, the game finds the Dealer gone).
    QTimer vanish;
    QObject::connect(&vanish, &QTimer::timeout, [&] {
        if (!peer || !m.window.game().Running()) return;
        vanish.stop();
        peer->disconnectFromHost();
    });
    m.Join(QStringLiteral("127.0.0.1:%1").arg(fake.serverPort()), false);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !m.dialog->isVisible(); }, kLimitMs)) << m.Status().toStdString();
    ASSERT_TRUE(m.dialog->startGame());
    m.window.network().SetDialog(nullptr);
    vanish.start(5);
    m.window.network().AfterDialog(true);  // waits for the deal, then sees the Dealer gone
    EXPECT_EQ(m.window.lastBalloon(), "You are disconnected; the game is over.");
    EXPECT_TRUE(m.window.game().positionForTests().StopRequested);
    // A Dealer of the original protocol cannot be come back to: the network
    // game is over here, and the table says so with nothing left live.
    ASSERT_TRUE(QTest::qWaitFor([&] { return !m.window.network().gameOn(); }, kLimitMs));
    EXPECT_EQ(m.window.words().turnText(), "The Dealer has gone; the network game is over.");
    EXPECT_TRUE(m.window.action(MenuItem::Network)->isEnabled());
    EXPECT_FALSE(m.window.menus().leave()->isEnabled());
    EXPECT_EQ(m.window.table().turnSeat(), 0);
    EXPECT_EQ(m.window.game().positionForTests().GiveUp, GiveUpFlag::Hidden);
    EXPECT_FALSE(m.window.game().positionForTests().HumanMayPlay);

    // Game > Start: a game of this machine alone, played to its end.
    m.window.game().SetLocalAutoplay(true);
    QuickPauses quick(m.window.game());
    MessageBoxAnswer no(QMessageBox::No);
    m.window.menus().start()->trigger();
    const GameState& s = m.window.game().positionForTests();
    EXPECT_TRUE(s.IsDealer);
    EXPECT_EQ(s.LocalSeat, 3);
    EXPECT_EQ(s.Seats[3].Name, "Bea");
    EXPECT_EQ(s.Seats[2].Kind, SeatKind::Computer);
    EXPECT_TRUE(s.PointsA >= 7 || s.PointsB >= 7);
    EXPECT_TRUE(m.window.chatPanel().isHidden());
}

// Reports each trick settled to a hook.
struct AtEachTrick : GameObserver {
    std::function<void(int)> hook;
    int tricks = 0;
    void TrickSettled(const TrickRecord&) override {
        if (hook) hook(++tricks);
    }
    void HandScored(int, int) override {}
};

// Starts a zarv-sim Dealer on a free port; its first line names the port.
int StartSimDealer(QProcess& serve, const QStringList& more) {
    serve.start(QStringLiteral(ZARV_SIM), QStringList{"serve", "--port", "0"} + more);
    QString first;
    while (!first.contains('\n') && serve.waitForReadyRead(kLimitMs)) first += QString::fromUtf8(serve.readLine());
    return first.section(' ', 1).trimmed().toInt();
}

TEST(NetworkWindows, AWindowThatLosesItsDealerComesBackToItsSeatAndPlaysOn) {
    QProcess serve;
    const int port = StartSimDealer(serve, {"--clients", "2", "--seed", "5", "--move-limit", "10"});
    ASSERT_GT(port, 0);
    Machine m("Bea");
    m.Join(QStringLiteral("127.0.0.1:%1").arg(port), false);
    ASSERT_TRUE(QTest::qWaitFor([&] { return m.Status() == "Please wait until the Dealer starts the game..."; }, kLimitMs));
    // A bot that goes silent at its fifth trick keeps the Dealer waiting ten
    // seconds, long after the window is back: the return happens in the game,
    // however slowly this machine runs.
    QProcess eve;
    eve.start(QStringLiteral(ZARV_SIM), {"join", QStringLiteral("127.0.0.1:%1").arg(port), "--name", "Eve", "--freeze-at-trick", "5"});
    ASSERT_TRUE(QTest::qWaitFor([&] { return !m.dialog->isVisible(); }, kLimitMs)) << m.Status().toStdString();
    m.window.network().SetDialog(nullptr);
    m.window.game().SetLocalAutoplay(true);
    QuickPauses quick(m.window.game());
    MessageBoxAnswer no(QMessageBox::No);
    // At the third trick the network goes away under the window.
    AtEachTrick drop;
    bool reconnecting = false;
    drop.hook = [&](int n) {
        if (n == 3) m.window.network().transport().Close(0);
    };
    m.window.game().SetObserver(&drop);
    // While it reconnects, no seat is shown to play and the status says what the window waits for.
    bool litWhileLost = false, statusWhileLost = true;
    QObject::connect(&m.window.network().reconnector(), &Reconnector::attempt, [&] {
        reconnecting = true;
        litWhileLost = litWhileLost || m.window.table().turnSeat() != 0;
        statusWhileLost = statusWhileLost && m.window.status().turnShown().startsWith("Reconnecting to the Dealer");
    });
    // Back at the seat, the conversation says so.
    bool toldBack = false;
    QTimer listen;
    QObject::connect(&listen, &QTimer::timeout, [&] {
        toldBack = toldBack || m.window.chatPanel().history().join('\n').contains("You are back at your seat.");
    });
    listen.start(10);
    // The game here ends (and is taken up again from the Dealer's table)
    // within this call, or returns lost and is taken up from the event loop.
    m.window.network().AfterDialog(true);
    m.window.game().SetObserver(nullptr);
    // The window asks for its seat back, gets the table and plays the game to its end.
    ASSERT_TRUE(QTest::qWaitFor([&] { return serve.state() == QProcess::NotRunning; }, 60'000));
    EXPECT_TRUE(reconnecting);
    EXPECT_FALSE(litWhileLost);
    EXPECT_TRUE(statusWhileLost);
    EXPECT_TRUE(toldBack);
    const QString dealer = QString::fromUtf8(serve.readAllStandardOutput());
    EXPECT_TRUE(dealer.contains("back 2")) << dealer.toStdString();
    EXPECT_TRUE(dealer.contains("seat 4 silent for 10 s: computer plays")) << dealer.toStdString();
    EXPECT_TRUE(dealer.contains("game-over")) << dealer.toStdString();
    ASSERT_TRUE(QTest::qWaitFor([&] { return eve.state() == QProcess::NotRunning; }, kLimitMs));
    const GameState& s = m.window.game().positionForTests();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !no.text.isEmpty(); }, kLimitMs))
        << net::NetworkMode::Name(m.window.network().mode().kind()) << " " << m.Status().toStdString() << " " << s.PointsA << "-" << s.PointsB;
    EXPECT_TRUE(s.PointsA >= 7 || s.PointsB >= 7) << s.PointsA << "-" << s.PointsB;
    // Its last hand and the result agree with the Dealer's.
    EXPECT_TRUE(dealer.contains(QStringLiteral("game-over points %1-%2").arg(s.PointsA).arg(s.PointsB))) << dealer.toStdString();
    EXPECT_TRUE(no.text.endsWith("\n\nStart a new game?")) << no.text.toStdString();
    // The buttons say what each answer does.
    EXPECT_TRUE(no.buttons.contains("&New Game") && no.buttons.contains("E&xit Zarv")) << no.buttons.join(',').toStdString();
}

TEST(NetworkWindows, AWindowClosedInTheGameIsOfferedItsSeatOnTheNextStartAndPlaysOn) {
    QProcess serve;
    // The bot freezes at the fifth trick and keeps the Dealer waiting twenty
    // seconds: the program starts again well inside the game.
    const int port = StartSimDealer(serve, {"--clients", "2", "--seed", "5", "--move-limit", "20"});
    ASSERT_GT(port, 0);
    const QString address = QStringLiteral("127.0.0.1:%1").arg(port);
    QTemporaryDir settingsDir;
    const QString ini = settingsDir.filePath("zarv.ini");
    QProcess eve;
    int seat = 0;
    {
        Machine first("Bea", ini);
        first.Join(address, false);
        ASSERT_TRUE(QTest::qWaitFor([&] { return first.Status() == "Please wait until the Dealer starts the game..."; }, kLimitMs));
        eve.start(QStringLiteral(ZARV_SIM), {"join", address, "--name", "Eve", "--freeze-at-trick", "5"});
        ASSERT_TRUE(QTest::qWaitFor([&] { return !first.dialog->isVisible(); }, kLimitMs)) << first.Status().toStdString();
        first.window.network().SetDialog(nullptr);
        first.window.game().SetLocalAutoplay(true);
        QuickPauses quick(first.window.game());
        // At the third trick the program is closed, with no word to the Dealer.
        AtEachTrick close;
        close.hook = [&](int n) {
            if (n == 3) first.window.close();
        };
        first.window.game().SetObserver(&close);
        first.window.network().AfterDialog(true);
        first.window.game().SetObserver(nullptr);
        seat = first.window.game().state().LocalSeat;
    }
    // The next start finds the seat, asks, and goes back to it.
    Machine second("Bea", ini);
    const auto kept = second.window.network().keptSeat();
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->address, address.toStdString());
    EXPECT_EQ(kept->seat, seat);
    second.window.game().SetLocalAutoplay(true);
    QuickPauses quick(second.window.game());
    QString offer, gameOver;
    // Back at the seat, the table shows every seat's name: the program heard them only from the Dealer.
    QStringList namesWhenBack;
    // While it asks, the status says what it waits for.
    QStringList statuses;
    QObject::connect(&second.window.network(), &NetworkPlay::statusChanged,
                     [&] { statuses << second.window.status().turnShown(); });
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        if (namesWhenBack.isEmpty() && second.window.chatPanel().history().join('\n').contains("You are back at your seat."))
            for (int k = 1; k <= 4; ++k)
                namesWhenBack << QString::fromStdString(second.window.game().positionForTests().Seats[k].Name);
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        const bool isOffer = box->text().contains(address);
        (isOffer ? offer : gameOver) = box->text();
        box->button(isOffer ? QMessageBox::Yes : QMessageBox::No)->click();
    });
    answer.start(20);
    second.window.OfferKeptSeat();
    EXPECT_TRUE(offer.endsWith("Go back to your seat?")) << offer.toStdString();
    EXPECT_TRUE(statuses.contains("Waiting for the Dealer to give your seat back")) << statuses.join('|').toStdString();
    ASSERT_EQ(namesWhenBack.size(), 4);
    for (int k = 0; k < 4; ++k) EXPECT_FALSE(namesWhenBack[k].trimmed().isEmpty()) << "seat " << k + 1;
    EXPECT_TRUE(namesWhenBack.contains("Eve")) << namesWhenBack.join(',').toStdString();
    ASSERT_TRUE(QTest::qWaitFor([&] { return serve.state() == QProcess::NotRunning; }, 60'000));
    const QString dealer = QString::fromUtf8(serve.readAllStandardOutput());
    EXPECT_TRUE(dealer.contains(QStringLiteral("back %1").arg(seat == 3 ? 2 : seat))) << dealer.toStdString();
    EXPECT_TRUE(dealer.contains("game-over")) << dealer.toStdString();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !gameOver.isEmpty(); }, kLimitMs));
    const GameState& s = second.window.game().positionForTests();
    EXPECT_TRUE(dealer.contains(QStringLiteral("game-over points %1-%2").arg(s.PointsA).arg(s.PointsB))) << dealer.toStdString();
    // That game is over: no seat is kept for a third start.
    ASSERT_TRUE(QTest::qWaitFor([&] { return !second.window.network().gameOn(); }, kLimitMs));
    settings::SettingsStore after{ini};
    EXPECT_FALSE(settings::ReadReturnTicket(after, QDateTime::currentSecsSinceEpoch()));
    ASSERT_TRUE(QTest::qWaitFor([&] { return eve.state() == QProcess::NotRunning; }, kLimitMs));
}

TEST(NetworkWindows, TheDealerSeesTheCountdownAndCanHandASilentSeatToTheComputer) {
    Machine dealer("Ann");
    dealer.window.preferences().unsaved().MoveLimit = 600;
    dealer.window.LoadSettings();
    dealer.Host();
    QProcess bot;
    bot.start(QStringLiteral(ZARV_SIM),
              {"join", QStringLiteral("127.0.0.1:%1").arg(dealer.Port()), "--name", "Bot", "--freeze-at-trick", "1"});
    ASSERT_TRUE(QTest::qWaitFor([&] { return dealer.dialog->waitButton->text() == "Start Game"; }, kLimitMs));
    dealer.dialog->waitButton->click();
    dealer.window.network().SetDialog(nullptr);
    dealer.window.game().SetLocalAutoplay(true);
    QuickPauses quick(dealer.window.game());
    MessageBoxAnswer no(QMessageBox::No);
    // Once the frozen bot is to play, its time runs on the Dealer's table;
    // the Dealer hands the seat to the computer instead of waiting it out.
    // Meanwhile someone tries to join: the chat says so, and the status
    // bar goes on saying what the table waits for.
    QString seen;
    QTcpSocket late;
    QString lateNews;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        const QString text = dealer.window.words().turnText();
        if (!text.startsWith("Waiting for Bot \u2014 ") || !dealer.window.menus().takeOver()->isEnabled()) return;
        if (late.state() == QAbstractSocket::UnconnectedState && seen.isEmpty()) {
            seen = text;
            late.connectToHost(QHostAddress::LocalHost, static_cast<quint16>(dealer.Port()));
            late.write("Connect;Zed;Against|");
            return;
        }
        if (!dealer.window.chatPanel().history().join('\n').contains("Zed tried to join, but the game has started."))
            return;
        lateNews = dealer.window.statusBar()->currentMessage();
        dealer.window.menus().takeOver()->trigger();
    });
    watch.start(10);
    dealer.window.network().AfterDialog(true);
    watch.stop();
    EXPECT_TRUE(lateNews.isEmpty()) << lateNews.toStdString();
    EXPECT_TRUE(seen.contains(QRegularExpression("^Waiting for Bot \u2014 (600|59\\d) s$"))) << seen.toStdString();
    const GameState& s = dealer.window.game().positionForTests();
    EXPECT_TRUE(s.PointsA >= 7 || s.PointsB >= 7);
    EXPECT_EQ(s.Seats[2].Kind, SeatKind::Computer);
    ASSERT_TRUE(QTest::qWaitFor([&] { return bot.state() == QProcess::NotRunning; }, kLimitMs));
    EXPECT_EQ(bot.exitCode(), 3);
}

TEST(NetworkDialog, EveryAttemptGetsASessionOfItsOwnAndTheOldOnesAreFreed) {
    // Nobody listens there: each try fails inside the session's own report,
    // where the dialog goes back to a session of this machine alone.
    // (A session's role is its own for life: a changed role is a new session.)
    Machine m("Ann");
    for (int attempt = 0; attempt < 5; ++attempt) {
        m.Join(QStringLiteral("127.0.0.1:1"), false);
        EXPECT_EQ(m.window.network().session().role(), net::NetworkSession::Role::Client);
        ASSERT_TRUE(QTest::qWaitFor([&] { return m.dialog->waitButton->text() == "&Try Again"; }, kLimitMs))
            << m.Status().toStdString();
        EXPECT_EQ(m.window.network().session().role(), net::NetworkSession::Role::Dealer);
        m.dialog->waitButton->click();  // Try Again: back to the settings page
    }
    ASSERT_TRUE(QTest::qWaitFor([&] { return m.window.network().retiredSessions() == 0; }, kLimitMs));
}

TEST(NetworkDialog, TheJoinerRemembersTheDealerAndAFriendGetsOneLineToType) {
    QList<QHostAddress> addresses{QHostAddress("127.0.0.1"), QHostAddress("fe80::1"), QHostAddress("192.168.1.20"),
                                  QHostAddress("2001:db8::5")};
    EXPECT_EQ(NetworkPlay::JoinAddress(addresses, 11001), "192.168.1.20:11001");
    EXPECT_EQ(NetworkPlay::JoinAddress(addresses, 1001), "192.168.1.20");
    EXPECT_EQ(NetworkPlay::JoinAddress({QHostAddress("fe80::1"), QHostAddress("2001:db8::5")}, 11001), "[2001:db8::5]:11001");
    EXPECT_EQ(NetworkPlay::JoinAddress({QHostAddress("::1"), QHostAddress("fe80::2")}, 11001), "");

    QTemporaryDir dir;
    {
        settings::SettingsStore store{dir.filePath("zarv.ini")};
        TableWindow window{store};
        NetworkDialog dialog(window.network(), &window);
        dialog.roleChoices[1]->click();
        dialog.dealerAddress->setText("[::1]:1");  // nobody there; the address is kept all the same
        dialog.continueButton->click();
    }
    settings::SettingsStore again{dir.filePath("zarv.ini")};
    TableWindow window{again};
    NetworkDialog dialog(window.network(), &window);
    EXPECT_EQ(dialog.dealerAddress->text(), "[::1]:1");
    // ... and that it joined last time: that choice comes back, ready to use.
    EXPECT_TRUE(dialog.roleChoices[1]->isChecked());
    EXPECT_TRUE(dialog.joinFrame->isEnabled());
    EXPECT_FALSE(dialog.serverFrame->isEnabled());
}

} // namespace
} // namespace zarv::testing
