// The window on a table server: the lobby page of the Network dialog, a
// table made and started from it, pinned certificates, and the lobby's
// keyboard use. A real zarv-server and real zarv-sim bots on loopback; every
// wait is on events with a deadline.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QMessageBox>
#include <QRadioButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <memory>

#include "server_processes.h"
#include "tests/quiet_window.h"
#include "settings/settings.h"
#include "settings/settings_store.h"
#include "ui/make_table_dialog.h"
#include "ui/network_dialog.h"
#include "ui/server_lobby_page.h"
#include "ui/sign_in_dialog.h"
#include "ui/table_window.h"
#include "ui/watch_view.h"

namespace {

using namespace zarv;
using namespace zarv::ui;

struct Window : zarv::testing::QuietWindow {
    using QuietWindow::QuietWindow;
    NetworkDialog& OpenLobby(const Server& server, const QString& pin) {
        OpenDialog();
        dialog->roleChoices[2]->click();
        dialog->serverAddress->setText(server.where());
        dialog->serverPin->setText(pin);
        dialog->continueButton->click();
        return *dialog;
    }
    QString LobbyStatus() const { return dialog->lobbyPage->statusLabel->text(); }
    bool InLobby() const {
        return QTest::qWaitFor([&] { return LobbyStatus().startsWith("Connected to"); }, kLimitMs);
    }
};

// Accepts the next Make Table dialog with the given table name.
struct MakeTableAnswer {
    QTimer timer;
    QStringList levelsOffered;
    // level: the computer level to choose by its words, or the one offered first.
    explicit MakeTableAnswer(const QString& name, const QString& level = {}) {
        QObject::connect(&timer, &QTimer::timeout, [this, name, level] {
            if (auto* make = qobject_cast<MakeTableDialog*>(QApplication::activeModalWidget())) {
                timer.stop();
                make->tableName->setText(name);
                for (int i = 0; i < make->level->count(); ++i) levelsOffered << make->level->itemText(i);
                if (!level.isEmpty()) make->level->setCurrentIndex(make->level->findText(level));
                make->accept();
            }
        });
        timer.start(20);
    }
};

TEST(ServerLobby, AWindowMakesATableSitsAndStartsItWithABot) {
    TestCertificate tls;
    Server server(QStringList{"--no-pauses"} + tls.ServerArgs());
    Bot waiting(server, {"--name", "Robo", "--table", "Other", "--create", "--seat", "2", "--pin", tls.pinText});
    ASSERT_TRUE(waiting.WaitFor("seat 2\n"));
    Window ann("Ann");
    NetworkDialog& d = ann.OpenLobby(server, tls.pinText);
    ASSERT_TRUE(ann.InLobby()) << ann.LobbyStatus().toStdString();
    EXPECT_TRUE(ann.LobbyStatus().contains("(encrypted)"));
    QTreeWidget* tables = d.lobbyPage->tableList;
    ASSERT_TRUE(QTest::qWaitFor([&] { return tables->topLevelItemCount() == 1; }, kLimitMs));
    EXPECT_EQ(tables->topLevelItem(0)->text(0), "Other");
    EXPECT_EQ(tables->topLevelItem(0)->text(2), "Robo (guest)");  // no account holds the name
    EXPECT_EQ(tables->topLevelItem(0)->text(3), "Zarv (computer)");
    // Seat 2 is Robo's: only 1 and 4 are offered.
    EXPECT_EQ(d.lobbyPage->seatChoice->count(), 2);

    MakeTableAnswer make("Friday", "Master");
    d.lobbyPage->makeButton->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return tables->topLevelItemCount() == 2; }, kLimitMs));
    // Our server knows the four levels; the table is listed at the one chosen.
    EXPECT_EQ(make.levelsOffered, (QStringList{"Beginner", "Standard", "Expert", "Master"}));
    EXPECT_TRUE(server.WaitFor("made \"Friday\" level master"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return tables->topLevelItem(1)->text(7).startsWith("Master"); }, kLimitMs))
        << tables->topLevelItem(1)->text(7).toStdString();
    ASSERT_TRUE(QTest::qWaitFor([&] { return ann.LobbyStatus().startsWith("Your table is made"); }, kLimitMs));
    EXPECT_EQ(d.lobbyPage->selectedTable(), 2);
    d.lobbyPage->sitButton->click();  // seat 1, the first offered
    ASSERT_TRUE(QTest::qWaitFor([&] { return d.waitButton->text() == "&Start the Table"; }, kLimitMs))
        << d.statusLabel->text().toStdString();
    EXPECT_TRUE(d.statusLabel->text().startsWith("Start the table when your friends are seated"));
    Bot bob(server, {"--name", "Bob", "--table", "Friday", "--seat", "4", "--pin", tls.pinText, "--games", "1"});
    ASSERT_TRUE(QTest::qWaitFor([&] { return d.players().join('\n').contains("Bob"); }, kLimitMs));
    // The maker starts; the computer plays the empty seat, and the game begins here.
    d.waitButton->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !d.isVisible(); }, kLimitMs));
    EXPECT_TRUE(d.startGame());
    EXPECT_TRUE(server.WaitFor("table 2 started with 2 players"));
    // The address and its pin are remembered for the next time.
    EXPECT_EQ(ann.window.currentSettings().LastServer, server.where().toStdString());
    EXPECT_EQ(settings::ReadServerPin(ann.store, server.where().toStdString()), tls.pinText.toStdString());
}

// Answers the next Sign In or Register dialog with the name and password.
struct SignInAnswer {
    QTimer timer;
    SignInAnswer(const QString& name, const QString& password) {
        QObject::connect(&timer, &QTimer::timeout, [this, name, password] {
            if (auto* dialog = qobject_cast<SignInDialog*>(QApplication::activeModalWidget())) {
                timer.stop();
                dialog->name->setText(name);
                dialog->password->setText(password);
                if (dialog->repeated) dialog->repeated->setText(password);
                dialog->accept();
            }
        });
        timer.start(20);
    }
};

TEST(ServerLobby, AWindowRegistersAndIsSignedInByItselfTheNextTime) {
    TestCertificate tls;
    Server server(QStringList{"--no-pauses"} + tls.ServerArgs());
    Window ann("Ann");
    {
        NetworkDialog& d = ann.OpenLobby(server, tls.pinText);
        ASSERT_TRUE(ann.InLobby()) << ann.LobbyStatus().toStdString();
        EXPECT_EQ(d.lobbyPage->accountLabel->text(), "Playing as Ann, a guest");
        // A password too short is refused in the dialog, before it travels.
        SignInDialog shortOne(true, "Ann");
        shortOne.password->setText("short");
        shortOne.repeated->setText("short");
        shortOne.accept();
        EXPECT_EQ(shortOne.result(), QDialog::Rejected);
        EXPECT_TRUE(shortOne.problem->text().contains("8 to 64")) << shortOne.problem->text().toStdString();

        SignInAnswer answer("Ann", "correct horse");
        d.lobbyPage->registerButton->click();
        ASSERT_TRUE(QTest::qWaitFor([&] { return d.lobbyPage->accountLabel->text() == "Signed in as Ann"; }, kLimitMs))
            << ann.LobbyStatus().toStdString() << server.Tail();
        EXPECT_TRUE(ann.LobbyStatus().startsWith("Registered: the name Ann is yours")) << ann.LobbyStatus().toStdString();
        EXPECT_FALSE(d.lobbyPage->signInButton->isVisible());
        // The server shows ratings: the top list is by rating, and she is on it at the start.
        ASSERT_TRUE(QTest::qWaitFor([&] { return d.lobbyPage->bestList->headerItem()->text(2) == "Rating"; }, kLimitMs));
        // The window keeps the session, never the password.
        const auto kept = settings::ReadServerSession(ann.store, server.where().toStdString());
        ASSERT_TRUE(kept);
        EXPECT_EQ(kept->name, "Ann");
        EXPECT_EQ(kept->token.size(), 64u);
        d.lobbyPage->leaveButton->click();
    }
    // The next time, it is signed in without a word from the person.
    {
        NetworkDialog& d = ann.OpenLobby(server, tls.pinText);
        ASSERT_TRUE(QTest::qWaitFor([&] { return d.lobbyPage->accountLabel->text() == "Signed in as Ann"; }, kLimitMs))
            << ann.LobbyStatus().toStdString();
        EXPECT_TRUE(server.WaitFor(QRegularExpression(QStringLiteral("signed in \"Ann\" connection \\d+"))));
        // Signed out, the session is forgotten.
        d.lobbyPage->signOutButton->click();
        ASSERT_TRUE(QTest::qWaitFor([&] { return d.lobbyPage->accountLabel->text() == "Playing as Ann, a guest"; }, kLimitMs));
        EXPECT_FALSE(settings::ReadServerSession(ann.store, server.where().toStdString()));
        d.lobbyPage->leaveButton->click();
    }
    // Without encryption, nothing signs in.
    Server plain(QStringList{"--no-pauses"});
    Window bob("Bob");
    NetworkDialog& same = bob.OpenDialog();
    same.roleChoices[2]->click();
    same.serverAddress->setText(plain.where());
    same.serverEncrypted->setChecked(false);
    same.continueButton->click();
    ASSERT_TRUE(bob.InLobby());
    EXPECT_FALSE(same.lobbyPage->signInButton->isEnabled());
    EXPECT_TRUE(same.lobbyPage->signInButton->toolTip().contains("encrypted"));
}

// A window closed in the middle of a game at a server's table: started again,
// it is offered the seat and takes it back at the server's door, over TLS
// with the pin it had, without the lobby.
TEST(ServerLobby, AWindowClosedAtAServerTableTakesItsSeatBackAfterARestart) {
    TestCertificate tls;
    Server server(tls.ServerArgs());  // with its pauses: the game outlasts the restart
    QTemporaryDir settingsDir;
    const QString ini = settingsDir.filePath("zarv.ini");
    std::unique_ptr<Bot> bob;
    {
        Window ann("Ann", ini);
        NetworkDialog& d = ann.OpenLobby(server, tls.pinText);
        ASSERT_TRUE(ann.InLobby()) << ann.LobbyStatus().toStdString();
        MakeTableAnswer make("Friday");
        d.lobbyPage->makeButton->click();
        ASSERT_TRUE(QTest::qWaitFor([&] { return ann.LobbyStatus().startsWith("Your table is made"); }, kLimitMs));
        d.lobbyPage->sitButton->click();
        ASSERT_TRUE(QTest::qWaitFor([&] { return d.waitButton->text() == "&Start the Table"; }, kLimitMs));
        bob = std::make_unique<Bot>(server, QStringList{"--name", "Bob", "--table", "Friday", "--seat", "4", "--pin", tls.pinText});
        ASSERT_TRUE(QTest::qWaitFor([&] { return d.players().join('\n').contains("Bob"); }, kLimitMs));
        d.waitButton->click();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !d.isVisible(); }, kLimitMs));
        ann.window.network().SetDialog(nullptr);
        ann.window.game().SetLocalAutoplay(true);
        // Closed once the first trick is down.
        QTimer closeLater;
        QObject::connect(&closeLater, &QTimer::timeout, [&] {
            if (ann.window.game().state().Tricks.size() >= 2) ann.window.close();
        });
        closeLater.start(20);
        ann.window.network().AfterDialog(true);
    }
    Window again("Ann", ini);
    const auto kept = again.window.network().keptSeat();
    ASSERT_TRUE(kept);
    EXPECT_TRUE(kept->server && kept->encrypted);
    again.window.game().SetLocalAutoplay(true);
    bool back = false;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) box->button(QMessageBox::Yes)->click();
        // Back at the seat: the test has seen enough, and the game here stops.
        if (!back && again.window.chatPanel().history().join('\n').contains("You are back at your seat.")) {
            back = true;
            again.window.close();
        }
    });
    answer.start(20);
    // Never longer than the limit, whatever happens: the dialog goes, and the game.
    QTimer::singleShot(kLimitMs, &again.window, [&] {
        answer.stop();
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) dialog->reject();
        again.window.close();
    });
    again.window.OfferKeptSeat();
    EXPECT_TRUE(back);
    EXPECT_TRUE(server.WaitFor(QRegularExpression("return on connection \\d+ to table 1"))) << server.out.toStdString();
}

TEST(ServerLobby, ACertificateThatFailsTheCheckIsRefusedInPlainWords) {
    TestCertificate tls, other;
    Server server(QStringList{} + tls.ServerArgs());
    Window ann("Ann");
    // Neither in the trust store nor pinned: the fingerprint is shown to compare.
    NetworkDialog& d = ann.OpenLobby(server, QString());
    ASSERT_TRUE(QTest::qWaitFor([&] { return d.waitButton->text() == "&Try Again"; }, kLimitMs));
    EXPECT_TRUE(d.statusLabel->text().contains("cannot be trusted")) << d.statusLabel->text().toStdString();
    EXPECT_TRUE(d.statusLabel->text().contains(tls.pinText));
    d.waitButton->click();
    EXPECT_FALSE(d.waiting());
    d.close();
    NetworkDialog& again = ann.OpenLobby(server, other.pinText);
    ASSERT_TRUE(QTest::qWaitFor([&] { return again.waitButton->text() == "&Try Again"; }, kLimitMs));
    EXPECT_TRUE(again.statusLabel->text().contains("not the one pinned")) << again.statusLabel->text().toStdString();
    // It never went on unencrypted: the server had nobody in its lobby.
    EXPECT_FALSE(server.Out().contains("connection 1 from"));
}

TEST(ServerLobby, EveryControlIsReachedByTheKeyboard) {
    Server server(QStringList{});
    Window ann("Ann");
    NetworkDialog& d = ann.OpenLobby(server, QString());
    d.serverEncrypted->setChecked(false);
    d.lobbyPage->leaveButton->click();
    d.roleChoices[2]->click();
    d.serverEncrypted->setChecked(false);
    d.continueButton->click();
    ASSERT_TRUE(ann.InLobby()) << ann.LobbyStatus().toStdString();
    EXPECT_FALSE(ann.LobbyStatus().contains("(encrypted)"));
    d.activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() != nullptr; }, kLimitMs));
    // Tab goes round every enabled control of the page, and each button and
    // list has a key of its own (Alt + its underlined letter).
    ServerLobbyPage& page = *d.lobbyPage;
    std::set<QWidget*> reached;
    for (int i = 0; i < 20; ++i) {
        reached.insert(QApplication::focusWidget());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    for (QWidget* w : std::initializer_list<QWidget*>{page.tableList, page.makeButton, page.leaveButton, page.bestList})
        EXPECT_TRUE(reached.count(w)) << w->metaObject()->className();
    for (QPushButton* b : {page.makeButton, page.sitButton, page.leaveButton}) EXPECT_TRUE(b->text().contains('&'));
    // Without TLS, a new table cannot have a password.
    MakeTableDialog make(false, "T");
    make.show();
    // The hint that says why is read whole.
    EXPECT_GT(make.password->width(), make.password->fontMetrics().horizontalAdvance(make.password->placeholderText()));
    EXPECT_FALSE(make.password->isEnabled());
    MakeTableDialog secure(true, "T");
    EXPECT_TRUE(secure.password->isEnabled());
}

} // namespace

namespace {

TEST(ServerLobby, AWindowWatchesATableAndLeaves) {
    Server server(QStringList{"--no-pauses", "--next-game", "600"});
    Bot ann(server, {"--name", "Ann", "--table", "Open", "--create", "--seat", "1", "--games", "1"});
    ASSERT_TRUE(ann.WaitFor("seat 1\n"));
    Window wanda("Wanda");
    NetworkDialog& d = wanda.OpenLobby(server, QString());
    d.lobbyPage->leaveButton->click();
    d.roleChoices[2]->click();
    d.serverEncrypted->setChecked(false);
    d.continueButton->click();
    ASSERT_TRUE(wanda.InLobby()) << wanda.LobbyStatus().toStdString();
    // Widened for the lobby's columns, the dialog stays whole on the screen.
    const QRect screen = d.screen()->availableGeometry();
    EXPECT_TRUE(screen.contains(d.frameGeometry())) << d.frameGeometry().x() << "," << d.frameGeometry().width();
    ASSERT_TRUE(QTest::qWaitFor([&] { return d.lobbyPage->tableList->topLevelItemCount() == 1; }, kLimitMs));
    d.lobbyPage->watchButton->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !d.isVisible(); }, kLimitMs));
    ASSERT_TRUE(d.watchingTable());
    EXPECT_EQ(d.watchedTableName(), "Open");
    wanda.window.network().SetDialog(nullptr);
    wanda.window.network().AfterDialog(false, d.watchedTableName());
    EXPECT_TRUE(wanda.window.network().watching());
    EXPECT_FALSE(wanda.window.watchView()->isHidden());
    EXPECT_TRUE(wanda.window.status().watchingShown());
    // What does nothing while watching is greyed out.
    EXPECT_FALSE(wanda.window.menus().start()->isEnabled());
    EXPECT_FALSE(wanda.window.menus().hint()->isEnabled());
    EXPECT_FALSE(wanda.window.menus().lastTrick()->isEnabled());
    // The game is played by the others; the watcher's table follows it.
    Bot bob(server, {"--name", "Bob", "--table", "Open", "--seat", "2", "--games", "1"});
    Bot cy(server, {"--name", "Cy", "--table", "Open", "--seat", "4", "--games", "1"});
    ASSERT_TRUE(QTest::qWaitFor([&] { return wanda.window.network().lobby() && wanda.window.network().lobby()->watched.gameOver; }, kLimitMs));
    // The winners reach seven, or pass it by a Koot's or a PerKoot's extra points.
    const auto& watched = wanda.window.network().lobby()->watched;
    EXPECT_GE(std::max(watched.pointsA, watched.pointsB), 7);
    EXPECT_LE(std::max(watched.pointsA, watched.pointsB), 9);
    EXPECT_LT(std::min(watched.pointsA, watched.pointsB), 7);
    EXPECT_EQ(wanda.window.network().lobby()->watched.names[2], "Bob");
    // The table's announcements are in the watcher's chat log, by name.
    const QString log = wanda.window.chatPanel().history().join('\n');
    EXPECT_TRUE(log.contains(QRegularExpression("Hand 1: (Ann|Bob|Cy|Zarv) is HAKEM\\.")) ) << log.toStdString();
    EXPECT_TRUE(log.contains(QRegularExpression("(Ann|Bob|Cy|Zarv) names the ZARV: "))) << log.toStdString();
    EXPECT_TRUE(log.contains(QRegularExpression("(Ann and Zarv|Bob and Cy|Zarv and Ann|Cy and Bob) win"))) << log.toStdString();
    EXPECT_TRUE(log.contains(QRegularExpression("Game over: (Ann and Zarv|Bob and Cy) win, \\d+ to \\d+\\."))) << log.toStdString();
    // Game > Leave Network Game stops watching, and the table is this machine's again.
    wanda.window.network().Leave();
    EXPECT_FALSE(wanda.window.network().watching());
    EXPECT_TRUE(wanda.window.watchView()->isHidden());
    EXPECT_FALSE(wanda.window.status().watchingShown());
    EXPECT_TRUE(wanda.window.menus().start()->isEnabled());
    EXPECT_TRUE(server.WaitFor(QRegularExpression("connection \\d+ closed")));
}

} // namespace
