// A person at the table: clicks and keys on the real window (offscreen),
// balloons, saved hands and closing the window in the middle of a game.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QDialog>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QLabel>
#include <QCheckBox>
#include <QMessageBox>
#include <QAbstractButton>
#include <QTimer>
#include <QRegularExpression>
#include <QSlider>
#include <sys/stat.h>
#include <atomic>
#include <limits>

#include "settings/player_records.h"
#include "settings/settings_store.h"
#include "tests/event_helpers.h"
#include "tests/test_table.h"
#include "engine/table_layout.h"
#include "ui/balloon.h"
#include "ui/card_pictures.h"
#include "ai/card_selection.h"
#include "ui/table_window.h"

namespace zarv::testing {
namespace {

using namespace zarv::ui;

struct Table : ::testing::Test {
    QTemporaryDir dir;
    settings::SettingsStore store{dir.filePath("zarv.ini")};
    TableWindow window{store};
    Game& game = window.game();
    GameState& s = window.game().positionForTests();

    void SetUp() override {
        auto& settings = window.preferences().unsaved();
        settings.Talk = false;
        settings.SoundFX = false;
        settings.Speed = 5;
        window.LoadSettings();
        const char* names[5] = {"", "Tib ", "Vrel", "Me", "Dastrel"};
        for (int seat = 1; seat <= 4; ++seat) {
            s.Seats[seat].Name = names[seat];
            s.Seats[seat].Kind = seat == 3 ? SeatKind::Human : SeatKind::Computer;
        }
        game.MakeCardFaces();
        s.GameStarted = true;
        game.PlaceSeats();
        LoadPack(s, StandardPack());  // clubs go to the master, spades to the next seat, ...
        for (int k = 1; k <= 52; ++k) s.Deck[k].Face = k;
        game.Shuffle(0);
        s.SavedDeck = s.Deck;
    }

    void Click(QPoint at) { QTest::mouseClick(&window.table(), Qt::LeftButton, Qt::NoModifier, at); }
    // A point on the visible part of a card.
    QPoint On(int d) const { return QPoint(s.Deck[d].X + 4, s.Deck[d].Y + 60); }
    int CardOf(const char* code) const { return s.FindCard(C(code)); }
    // Deals with the local seat as master, naming the trump with a click on the given card.
    void DealAsMaster(const char* trumpCard) {
        s.MasterPlayer = 3;
        // Clicks made while the first cards still move are ignored: click until the trump is named.
        QTimer clicker;
        QObject::connect(&clicker, &QTimer::timeout, &window, [this, trumpCard] {
            if (s.Trump == kNoSuit && !s.Animating && s.Deck[CardOf(trumpCard)].Owner == 3) Click(On(CardOf(trumpCard)));
        });
        clicker.start(30);
        game.NewHand(true);
    }
};

TEST_F(Table, TheLocalMasterNamesTheTrumpWithAClickAndLeads) {
    // The master holds the clubs (positions 1 to 13) and sees five of them first.
    DealAsMaster("g5");
    EXPECT_EQ(s.Trump, 'g');
    EXPECT_EQ(s.Deck[CardOf("g5")].Owner, 3);  // naming the trump plays nothing
    EXPECT_EQ(s.Turn, 3);
    EXPECT_EQ(window.beeps(), 0);

    // Leading: the card goes near the middle, shifted towards the bottom.
    s.HumanMayPlay = true;
    const int d = CardOf("g9");
    Click(On(d));
    EXPECT_EQ(s.Deck[d].Owner, 7);
    EXPECT_EQ(s.Tricks.back().Cards[3], C("g9"));
    EXPECT_EQ(s.Turn, 4);
    EXPECT_NEAR(s.Deck[d].X, (842 - 74) / 2, 20);
    EXPECT_GT(s.Deck[d].Y, (676 - 104) / 2);
}

TEST_F(Table, RefusedCardsBeepAndMoveNothing) {
    DealAsMaster("g2");
    // Out of turn: silently ignored.
    s.Turn = 4;
    Click(On(CardOf("g5")));
    EXPECT_EQ(window.beeps(), 0);
    // Another seat's card: a beep, and the turn stays.
    s.Turn = 3;
    s.HumanMayPlay = true;
    Click(On(CardOf("p7")));
    EXPECT_EQ(window.beeps(), 1);
    EXPECT_EQ(s.Deck[CardOf("p7")].Owner, 4);

    // Give the local seat a heart besides its clubs; clubs are led.
    const int heart = CardOf("h9");
    s.Deck[heart].Owner = 3;
    game.BuildHand(3);
    StartTrick(s, 2, {"g13"});
    s.HumanMayPlay = true;
    Click(On(heart));
    EXPECT_EQ(window.beeps(), 2);
    EXPECT_EQ(s.Deck[heart].Owner, 3);
    EXPECT_EQ(s.Turn, 3);
    EXPECT_TRUE(s.Tricks.back().Cards[3].empty());

    // Without the led suit, any card is accepted.
    StartTrick(s, 2, {"x5"});
    s.HumanMayPlay = true;
    Click(On(heart));
    EXPECT_EQ(s.Deck[heart].Owner, 7);
    EXPECT_EQ(window.beeps(), 2);
}

TEST_F(Table, GivingUpIsRefusedAtSixTricks) {
    DealAsMaster("g2");
    // Six tricks for the other side, one for ours: the image shows, but a click does nothing.
    s.Tricks.assign(1, TrickRecord{});
    for (int w : {2, 4, 2, 4, 2, 4, 3}) s.Tricks.push_back(TrickRecord{{}, w, w, static_cast<int>(s.Tricks.size())});
    s.Tricks.push_back(TrickRecord{});
    game.SetGiveUpFlag(GiveUpFlag::Shown);
    Click(window.GiveUpRect().center());
    EXPECT_EQ(s.PointsA + s.PointsB, 0);
    EXPECT_EQ(s.GiveUp, GiveUpFlag::Shown);
}

TEST_F(Table, SavedHandsRoundTripAndABadFileChangesNothing) {
    s.MasterPlayer = 2;
    s.Seats[2].Kind = SeatKind::Computer;
    game.NewHand(true);
    const QString path = dir.filePath("hand.zarv");
    ASSERT_EQ(window.SaveHandTo(path), QString());
    std::array<CardCode, 53> dealt;
    for (int i = 1; i <= 52; ++i) dealt[i] = s.Deck[i].Card;
    const Suit trump = s.Trump;

    // Another hand, then the saved one again.
    game.Shuffle(300);
    s.SavedDeck = s.Deck;
    s.MasterPlayer = 1;
    game.NewHand(true);
    ASSERT_EQ(window.LoadHandFrom(path), QString());
    EXPECT_EQ(s.MasterPlayer, 2);
    EXPECT_EQ(s.Trump, trump);
    for (int i = 1; i <= 52; ++i) EXPECT_EQ(s.Deck[i].Card, dealt[i]) << i;

    QFile bad(dir.filePath("bad.zarv"));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("deal g2 g3 g4\nmaster 9\n");
    bad.close();
    const QString error = window.LoadHandFrom(bad.fileName());
    EXPECT_TRUE(error.contains("52")) << error.toStdString();
    for (int i = 1; i <= 52; ++i) EXPECT_EQ(s.Deck[i].Card, dealt[i]) << i;
    EXPECT_FALSE(window.LoadHandFrom(dir.filePath("missing.zarv")).isEmpty());
    // Load Suggest reads only small regular files: no endless device, no blocking pipe.
    EXPECT_TRUE(window.LoadHandFrom(dir.path()).contains("is a directory"));
    EXPECT_TRUE(window.LoadHandFrom(QStringLiteral("/dev/zero")).contains("is not a regular file"));
    const QString fifo = dir.filePath("pipe");
    ASSERT_EQ(mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
    EXPECT_TRUE(window.LoadHandFrom(fifo).contains("is not a regular file"));
    for (int i = 1; i <= 52; ++i) EXPECT_EQ(s.Deck[i].Card, dealt[i]) << i;
}

TEST_F(Table, ClosingTheWindowEndsAPauseAtOnce) {
    QTimer::singleShot(50, &window, [this] { window.close(); });
    game.Pause(kForever);  // only the stop can end it
    EXPECT_TRUE(s.StopRequested);
    EXPECT_FALSE(window.isVisible());
}

TEST_F(Table, ClosingTheWindowEndsAMovementAndABalloon) {
    s.Deck[1].X = 20;
    s.Deck[1].Y = 20;
    const CardMove far{1, 800, 600, 3, 20, 20};
    // A million steps at 60 a second: only the stop ends this movement.
    s.StepCount = 1'000'000;
    QTimer::singleShot(20, &window, [this] { window.close(); });
    window.ShowMovement({&far, 1});
    EXPECT_TRUE(s.StopRequested);

    // The game is stopping: a balloon is not even shown, so it cannot wait.
    window.preferences().unsaved().Talk = true;
    ShowCounter<Balloon> balloons;
    window.Announce(TableEvent::AsWords("Nobody waits three seconds for this"));
    EXPECT_EQ(balloons.shown, 0);
}

TEST(Balloons, SuitCodesAndSizes) {
    BalloonText t = TakeOutSuitCode(QStringLiteral("Lead h%x please"));
    EXPECT_EQ(t.text, QStringLiteral("Lead    please"));  // "h%x" becomes two blanks
    EXPECT_EQ(t.suit, 'h');
    EXPECT_EQ(t.signAt, 5);
    EXPECT_EQ(TakeOutSuitCode(QStringLiteral("g%xy")).text, QStringLiteral("g%xy"));  // four characters: unchanged
    EXPECT_EQ(TakeOutSuitCode(QStringLiteral("no code")).suit, kNoSuit);

    GameState g;
    g.Seats[2] = SeatRecord{"Vrel", false, 30, 286, SeatKind::Computer, 0};
    const BalloonShape one = ShapeBalloon(2, QStringLiteral("Hi"), g, 842, 676);
    EXPECT_EQ(one.body.width(), 100);  // at least 100 pixels
    EXPECT_EQ(one.corner, QPoint(30 + 7 * 13, 286 - 52));
    EXPECT_FALSE(one.wrapped);
    const BalloonShape table = ShapeBalloon(0, QStringLiteral("Me is \"HAKEM\"... "), g, 842, 676);
    EXPECT_EQ(table.corner, QPoint(10, 55));  // where the table's announcements always stood
    EXPECT_TRUE(table.pointer.isEmpty());     // no seat speaks: nothing to point at
    const BalloonShape longText =
        ShapeBalloon(5, QStringLiteral("A very long message that cannot fit on a single line of three hundred pixels at all"), g, 842, 676);
    EXPECT_EQ(longText.body.width(), 300);
    EXPECT_TRUE(longText.wrapped);
    EXPECT_GT(longText.body.height(), 30);
    EXPECT_TRUE(longText.pointer.isEmpty());
}

TEST_F(Table, BalloonsOffShowNothingAndOnCloseOnAClick) {
    ShowCounter<Balloon> balloons;
    window.Announce(TableEvent::AsWords("Nobody hears this"));  // Talk is off
    EXPECT_EQ(balloons.shown, 0);

    // On a clock that stands still, only the click can close the balloon.
    window.preferences().unsaved().Talk = true;
    FrozenClockPump frozen;
    QTimer::singleShot(0, &window, [&] {
        ASSERT_NE(balloons.last, nullptr);
        EXPECT_TRUE(balloons.last->isVisible());
        QTest::mouseClick(balloons.last, Qt::LeftButton);
    });
    Balloon::Say(window, 3, QStringLiteral("Click me"), frozen, [] { return false; });
    EXPECT_EQ(balloons.shown, 1);
    for (QWidget* w : QApplication::topLevelWidgets()) {
        auto* b = qobject_cast<Balloon*>(w);
        EXPECT_FALSE(b && b->isVisible());
    }
}

}  // namespace
}  // namespace zarv::testing

namespace zarv::testing {
namespace {

using namespace zarv::ui;

// The table of the tests above, dealt: seat 2 is master and holds the clubs,
// seat 3 (the person) the spades; diamonds are trumps.
// Expert options whose decision goes on until the flag is set: its time cap
// runs out only then, on a clock of the flag's own.
ai::ExpertOptions UntilFlagged(const std::atomic<bool>& flag) {
    ai::ExpertOptions o{0, 1000, 3};
    // Once the flag is set every deadline has passed, whenever it was set.
    o.clock = [&flag] { return flag ? std::numeric_limits<double>::infinity() : 0.0; };
    return o;
}

struct TalkingTable : Table {
    void SetUp() override {
        Table::SetUp();
        s.MasterPlayer = 2;
        s.Trump = 'x';
        game.NewHand(true);
        window.show();
        QApplication::setActiveWindow(&window);
    }
    int CardOf(const char* code) const { return s.FindCard(C(code)); }
    void Key(Qt::Key key) { QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &window, key); }
    // A person's turn to follow the led card, with the local hand given.
    void FollowTurn(const char* led, std::initializer_list<const char*> extra) {
        for (const char* c : extra) {
            s.Deck[CardOf(c)].Owner = 3;
        }
        game.BuildHand(3);
        StartTrick(s, 2, {led});
        s.HumanMayPlay = true;
        window.ShowTurn();
    }
};

TEST_F(TalkingTable, TheKeysChooseAndPlayExactlyWhatAClickWould) {
    FollowTurn("g5", {"g9"});  // seat 3 holds its spades and one club: it must follow with g9
    window.table().setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.table().hasFocus(); }, 2000));
    // Every card but the club is refused, by the keys as by a click: dimmed exactly those.
    int dimmed = 0;
    for (int d = 1; d <= 52; ++d)
        if (window.DimmedCard(d)) {
            ++dimmed;
            EXPECT_FALSE(game.IsLegalCard(3, s.Deck[d].Card)) << s.Deck[d].Card.text();
        }
    EXPECT_EQ(dimmed, 13);
    EXPECT_EQ(window.words().turnText(), QString::fromUtf8("Your turn \u2014 follow \u2663"));
    Key(Qt::Key_Right);
    const int first = window.table().raisedCard();
    ASSERT_NE(first, 0);
    if (s.Deck[first].Card == C("g9")) Key(Qt::Key_Right);
    const int spade = window.table().raisedCard();
    ASSERT_NE(s.Deck[spade].Card, C("g9"));
    Key(Qt::Key_Return);
    EXPECT_EQ(window.beeps(), 1);
    EXPECT_EQ(s.Deck[spade].Owner, 3);  // refused: still in the hand
    EXPECT_EQ(window.words().turnText(), QString::fromUtf8("You must follow \u2663"));
    // Walk to the club and play it.
    s.HumanMayPlay = true;
    for (int i = 0; i < 20 && s.Deck[window.table().raisedCard()].Card != C("g9"); ++i) Key(Qt::Key_Right);
    for (int i = 0; i < 20 && s.Deck[window.table().raisedCard()].Card != C("g9"); ++i) Key(Qt::Key_Left);
    ASSERT_EQ(s.Deck[window.table().raisedCard()].Card, C("g9"));
    Key(Qt::Key_Return);
    EXPECT_EQ(s.Deck[CardOf("g9")].Owner, 7);
    EXPECT_EQ(s.Tricks.back().Cards[3], C("g9"));
}

TEST_F(TalkingTable, TheGiveUpFlagSurvivesRepaintsOfTheTable) {
    AddCompletedTrick(s, 2, {"g2", "p2", "h2", "x2"}, 2);
    AddCompletedTrick(s, 2, {"g3", "p3", "h3", "x3"}, 3);
    FollowTurn("g5", {"g9"});
    game.SetGiveUpFlag(GiveUpFlag::Shown);
    const QRect flag = window.GiveUpRect();
    const QColor shown = window.table().ColourAt(flag.center());
    EXPECT_NE(shown, window.table().ColourAt(flag.topLeft() - QPoint(3, 3)));
    // The turn moves on: the marker is redrawn with the whole table, and the flag with it.
    s.Turn = 4;
    window.ShowTurn();
    window.RefreshPage();
    EXPECT_EQ(window.table().ColourAt(flag.center()), shown);
}

TEST_F(TalkingTable, HintAndLastTrickChangeNothing) {
    ai::ComputerSeatPlayer computer(s);
    game.SetComputerPlayer(&computer);
    AddCompletedTrick(s, 2, {"g2", "p2", "h2", "x2"}, 2);
    FollowTurn("g5", {"g9", "g10"});
    const GameState before = s;
    window.HintClick();
    const int hinted = window.table().raisedCard();
    ASSERT_NE(hinted, 0);
    EXPECT_TRUE(game.IsLegalCard(3, s.Deck[hinted].Card));
    EXPECT_TRUE(window.words().turnText().startsWith("Hint: "));
    QTimer::singleShot(50, &window, [&] {
        ASSERT_NE(window.lastTrickDialog(), nullptr);
        EXPECT_TRUE(window.lastTrickDialog()->windowTitle().contains("Vrel"));
        window.lastTrickDialog()->accept();
    });
    window.LastTrickClick();
    // Nothing of the game moved.
    for (int i = 1; i <= 52; ++i) {
        EXPECT_EQ(s.Deck[i].Owner, before.Deck[i].Owner) << i;
        EXPECT_EQ(s.Deck[i].X, before.Deck[i].X) << i;
    }
    EXPECT_EQ(s.Tricks.size(), before.Tricks.size());
    EXPECT_EQ(s.Turn, before.Turn);
    EXPECT_EQ(s.HumanMayPlay, before.HumanMayPlay);
    EXPECT_EQ(s.PointsA + s.PointsB, 0);
}

// The Expert thinks on its own thread while the window waits: its hint lifts a
// card only if the card is still the person's to play when the answer comes.
TEST_F(TalkingTable, AnExpertHintLiftsACardOnlyWhileItIsStillToPlay) {
    window.computerPlayer().SetLevel(ai::Level::Expert);
    window.computerPlayer().SetExpertOptions(ai::ExpertOptions{300, 0, 3});
    AddCompletedTrick(s, 2, {"g2", "p2", "h2", "x2"}, 2);
    FollowTurn("g5", {"g9", "g10"});
    window.HintClick();
    const int hinted = window.table().raisedCard();
    ASSERT_NE(hinted, 0);
    EXPECT_TRUE(game.IsLegalCard(3, s.Deck[hinted].Card));
    EXPECT_TRUE(window.words().turnText().contains("the Expert expects")) << window.words().turnText().toStdString();
    EXPECT_EQ(window.computerPlayer().backgroundDecisions(), 1);
    // The turn is over before the answer: nothing is lifted.
    // The Expert thinks until the turn is over (its clock runs out only then).
    window.table().SetRaisedCard(0);
    std::atomic<bool> turnOver{false};
    window.computerPlayer().SetExpertOptions(UntilFlagged(turnOver));
    QTimer::singleShot(0, &window, [&] {
        s.HumanMayPlay = false;
        turnOver = true;
    });
    window.HintClick();
    EXPECT_EQ(window.computerPlayer().backgroundDecisions(), 2);
    EXPECT_EQ(window.table().raisedCard(), 0);
}

// The window is closed while the Expert thinks for a computer seat: the
// thinking ends, no card is played after the stop, and nothing is left running.
TEST_F(TalkingTable, ClosingTheWindowWhileTheExpertThinks) {
    window.computerPlayer().SetLevel(ai::Level::Expert);
    // The Expert thinks until the window is closed.
    std::atomic<bool> closedWhileThinking{false};
    window.computerPlayer().SetExpertOptions(UntilFlagged(closedWhileThinking));
    FollowTurn("g5", {"g9"});
    s.HumanMayPlay = false;
    s.Turn = 4;  // Dastrel, a computer seat, follows after the person
    const size_t cardsBefore = s.Tricks.size();
    QTimer::singleShot(0, &window, [&] {
        window.close();
        closedWhileThinking = true;
    });
    game.ComputerMove(4);
    EXPECT_TRUE(closedWhileThinking);
    EXPECT_TRUE(s.StopRequested);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.computerPlayer().backgroundDecisions(), 1);
    // The stop came first: seat 4's card stays in its hand.
    EXPECT_EQ(s.Tricks.size(), cardsBefore);
    EXPECT_TRUE(s.Tricks.back().Cards[4].empty());
}

TEST_F(TalkingTable, TheStatusSaysWhatEachWaitExpects) {
    // Leading.
    s.Tricks.assign(2, TrickRecord{});
    s.TrickPosition = 1;
    s.Turn = 3;
    s.HumanMayPlay = true;
    window.ShowTurn();
    EXPECT_EQ(window.words().turnText(), QString::fromUtf8("Your turn \u2014 lead any card"));
    EXPECT_EQ(window.table().turnSeat(), 3);
    // Without the led suit.
    FollowTurn("h7", {});
    EXPECT_EQ(window.words().turnText(), QString::fromUtf8("Your turn \u2014 no \u2665 left, play any card"));
    // Another seat to move.
    s.Turn = 4;
    window.ShowTurn();
    EXPECT_EQ(window.words().turnText(), "Dastrel to play");
    EXPECT_EQ(window.table().turnSeat(), 4);
    // The person names the trump.
    s.Tricks.assign(2, TrickRecord{});
    s.TrickPosition = 1;
    s.Trump = kNoSuit;
    s.MasterPlayer = 3;
    s.Turn = 3;
    window.ShowTurn();
    EXPECT_EQ(window.words().turnText(), QString::fromUtf8("You are HAKEM \u2014 click a card to name the ZARV"));
    EXPECT_TRUE(window.words().trumpText().contains("HAKEM Me"));
    EXPECT_TRUE(window.words().scoreText().contains("You & Tib"));
}

TEST_F(TalkingTable, TheKeysComeBackToTheTableAfterMenusAndDialogs) {
    window.table().setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.table().hasFocus(); }, 2000));
    // A dialog closes: the table has the keys again.
    QTimer::singleShot(50, &window, [] {
        if (QWidget* w = QApplication::activeModalWidget()) QTest::keyClick(w, Qt::Key_Escape);
    });
    window.AboutClick();
    EXPECT_TRUE(QTest::qWaitFor([&] { return window.table().hasFocus(); }, 2000));
    // A menu opened and closed with Esc.
    QMenu* menu = window.menuBar()->actions().at(2)->menu();  // Trace
    QTimer::singleShot(50, menu, [menu] { QTest::keyClick(menu, Qt::Key_Escape); });
    menu->exec(window.mapToGlobal(QPoint(10, 10)));
    EXPECT_TRUE(QTest::qWaitFor([&] { return window.table().hasFocus(); }, 2000));
}

TEST_F(TalkingTable, WaitingForThePersonTheTableSleeps) {
    // A whole game from its start; once the person's first turn has come, the
    // wait is watched for ten ticks of the test's own timer, then the window
    // closes. Each tick wakes the wait once; a wait that woke itself (a busy
    // loop, a repaint that schedules another) would wake far more often, at
    // any speed of the machine.
    ai::ComputerSeatPlayer computer(s);
    game.SetComputerPlayer(&computer);
    constexpr long kTicks = 10;
    long wakes = -1, atTurn = -1, ticks = 0;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, &window, [&] {
        if (atTurn < 0) {
            if (s.Turn == 3 && s.HumanMayPlay && s.Trump != kNoSuit) atTurn = window.pump().waits();
            return;
        }
        if (++ticks < kTicks) return;
        wakes = window.pump().waits() - atTurn;
        watch.stop();
        window.close();
    });
    watch.start(20);
    QTimer::singleShot(50, &window, [&] {
        // The person names the trump if asked, with the first card of the hand.
        QTimer* namer = new QTimer(&window);
        QObject::connect(namer, &QTimer::timeout, &window, [&, namer] {
            if (atTurn >= 0) namer->stop();
            if (s.Trump == kNoSuit && s.Turn == 3 && !s.Animating)
                for (int d = 1; d <= 52; ++d)
                    if (s.Deck[d].Owner == 3) {
                        game.ChooseCard(d, false);
                        break;
                    }
        });
        namer->start(20);
    });
    game.StartClick();
    ASSERT_GE(wakes, 0) << "the person's turn never came";
    // The ticks, the namer's last tick and a balloon's closing timer at most.
    EXPECT_LE(wakes, kTicks + 4) << "the wait woke " << wakes << " times in " << kTicks << " ticks";
}

// Every seat's balloon, short or wrapped, lies inside the table and its
// pointer ends on the speaker's seat, at three window sizes.
TEST_F(Table, BalloonsLieInsideTheTableAndPointAtTheirSeat) {
    window.show();
    const QString texts[2] = {QStringLiteral("I'm choosing \"ZARV\"... "),
                              QStringLiteral("A long line of chat that has to wrap because it does not fit on a single line")};
    for (const QSize size : {QSize(700, 600), QSize(1000, 820), QSize(1800, 1000)}) {
        window.resize(size);
        DeliverPostedEvents();  // the resize reaches the table
        const QRect table = QRect(window.table().mapToGlobal(window.table().TableArea().topLeft().toPoint()),
                                  window.table().TableArea().size().toSize());
        for (int seat = 1; seat <= 4; ++seat)
            for (const QString& text : texts) {
                Balloon* b = Balloon::Chat(window, seat, text);
                const QRect shown = b->geometry();
                EXPECT_TRUE(table.adjusted(-1, -1, 1, 1).contains(shown))
                    << seat << " at " << size.width() << ": " << shown.x() << "," << shown.y() << " " << shown.width() << "x" << shown.height();
                // The tip is the pointer's point farthest from the body.
                const BalloonShape shape = ShapeBalloon(seat, text, s, kTableWidth, kTableHeight);
                ASSERT_EQ(shape.pointer.size(), 3) << seat;
                const QPoint tip = shape.pointer.at(1) + shape.corner;
                const layout::Box frame = layout::HandFrame(s, s.Seats[seat]);
                EXPECT_TRUE(frame.Contains(tip.x(), tip.y())) << seat << " points at " << tip.x() << "," << tip.y();
                b->close();
            }
    }
}

// What the table shows at one wait, against what the game waits for: the lit
// plate, the dimmed cards and the status. Returns whether the person plays now.
bool CheckCueAtWait(TableWindow& window, const Game& game, const GameState& s) {
    using Kind = Game::TableWait::Kind;
    const Game::TableWait wait = game.Awaiting();
    const bool lit = wait.kind == Kind::Card || wait.kind == Kind::Trump;
    EXPECT_EQ(window.table().turnSeat(), lit ? wait.seat : 0) << "kind " << int(wait.kind) << " trace " << s.Tracing;
    const QString text = window.words().turnText();
    int dimmed = 0, illegal = 0;
    for (int d = 1; d <= 52; ++d) {
        dimmed += window.DimmedCard(d);
        illegal += s.Deck[d].Owner == s.LocalSeat && !game.IsLegalCard(s.LocalSeat, s.Deck[d].Card);
    }
    if (window.PersonPlaysNow()) {
        EXPECT_TRUE(text.startsWith("Your turn") || text.startsWith("Hint")) << text.toStdString();
        EXPECT_EQ(dimmed, illegal);
        return true;
    }
    EXPECT_EQ(dimmed, 0) << "kind " << int(wait.kind);
    EXPECT_FALSE(text.startsWith("Your turn") || text.startsWith("Hint")) << "kind " << int(wait.kind) << ": " << text.toStdString();
    if (wait.kind == Kind::HandResult || wait.kind == Kind::GameOver) {
        EXPECT_TRUE(window.words().scoreText().contains("7 tricks")) << window.words().scoreText().toStdString();
    }
    return false;
}

// The person's move at a wait, made from the event loop as a click is (the
// probe that calls it must be free to answer the questions that follow).
void PlayForThePerson(TableWindow& window, Game& game, const GameState& s) {
    const bool trump = game.Awaiting().kind == Game::TableWait::Kind::Trump;
    for (int d = 1; d <= 52; ++d)
        if (s.Deck[d].Owner == s.LocalSeat && (trump || game.IsLegalCard(s.LocalSeat, s.Deck[d].Card))) {
            QTimer::singleShot(0, &window, [&game, d, trump] { game.ChooseCard(d, trump); });
            return;
        }
}

// A whole game at this machine, the person playing by the keys' road: at
// every wait the lit plate, the status and the dimmed cards say exactly what
// the game waits for. In the second hand F2 starts a new game while a hint is
// shown: nothing of the old game's status stays.
TEST_F(Table, TheCueFollowsTheGameAtEveryWait) {
    using Kind = Game::TableWait::Kind;
    window.preferences().unsaved().AskBeforeAbandoning = false;
    window.show();
    s.StepCount = 1;  // movements in one frame
    int checks = 0, personTurns = 0, handResults = 0, restarts = 0, gameOvers = 0;
    bool justRestarted = false;
    QString resultText;
    QTimer probe;
    QObject::connect(&probe, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            resultText = box->text();
            ++gameOvers;
            box->button(QMessageBox::No)->click();
            return;
        }
        if (!game.Running()) return;
        // The new game is played to its end quickly: one hand decides it.
        if (restarts == 1 && s.HandsPlayed == 0 && s.PointsA == 0 && s.PointsB == 0) s.PointsA = s.PointsB = 6;
        ++checks;
        if (justRestarted) {
            // The new game's first wait: the old hint is gone.
            EXPECT_FALSE(window.words().turnText().startsWith("Hint")) << window.words().turnText().toStdString();
            justRestarted = false;
        }
        const Game::TableWait wait = game.Awaiting();
        handResults += wait.kind == Kind::HandResult;
        if (!CheckCueAtWait(window, game, s)) {
            if (wait.kind == Kind::Trump && wait.seat == s.LocalSeat) PlayForThePerson(window, game, s);
            game.SpaceReleased();  // pauses end at once
            return;
        }
        ++personTurns;
        if (s.HandsPlayed == 1 && restarts == 0 && s.Tricks.size() > 3) {
            window.HintClick();
            ASSERT_TRUE(window.words().turnText().startsWith("Hint")) << window.words().turnText().toStdString();
            ++restarts;
            QTimer::singleShot(0, &window, [&] {
                window.menus().start()->trigger();
                justRestarted = true;
            });
            return;
        }
        PlayForThePerson(window, game, s);
    });
    probe.start(1);
    game.StartClick();
    probe.stop();
    EXPECT_GT(checks, 100);  // a wait at least for every card played
    EXPECT_GE(personTurns, 10);  // three hands at least, each of seven tricks or more
    EXPECT_GE(handResults, 1);
    EXPECT_EQ(restarts, 1);
    EXPECT_EQ(gameOvers, 1);
    EXPECT_TRUE(resultText.contains("won the game")) << resultText.toStdString();
}

// The same promises through a hand saved and loaded again mid-hand, trace
// mode stepped with Space and switched off, and Replay This Hand.
TEST_F(Table, TheCueFollowsALoadedHandTraceModeAndAReplay) {
    using Kind = Game::TableWait::Kind;
    window.preferences().unsaved().AskBeforeAbandoning = false;
    window.show();
    s.StepCount = 1;
    QTemporaryDir files;
    const QString saved = files.filePath("hand.zarv");
    enum class Step { Save, Load, Trace, Replay, Finish, Done } step = Step::Save;
    int checks = 0, traceSteps = 0;
    bool loaded = false, replayed = false, finished = false;
    QTimer probe;
    QObject::connect(&probe, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            box->button(QMessageBox::No)->click();
            finished = true;
            return;
        }
        if (s.Tracing) {
            // Stepped by Space, whoever is to move.
            ++checks;
            CheckCueAtWait(window, game, s);
            if (++traceSteps == 12) {
                step = Step::Replay;
                QTimer::singleShot(0, &window, [&] { window.menus().trace()->trigger(); });
            } else {
                game.SpaceReleased();
            }
            return;
        }
        if (!game.Running()) return;
        ++checks;
        const Game::TableWait wait = game.Awaiting();
        if (!CheckCueAtWait(window, game, s)) {
            if (wait.kind == Kind::Trump && wait.seat == s.LocalSeat) PlayForThePerson(window, game, s);
            game.SpaceReleased();
            return;
        }
        switch (step) {
        case Step::Save:
            EXPECT_EQ(window.SaveHandTo(saved), QString());
            step = Step::Load;
            break;
        case Step::Load:
            if (s.Tricks.size() < 4) break;
            step = Step::Trace;
            QTimer::singleShot(0, &window, [&] { loaded = window.LoadHandFrom(saved).isEmpty(); });
            return;
        case Step::Trace:
            if (s.Tricks.size() < 3) break;
            step = Step::Done;
            QTimer::singleShot(0, &window, [&] { window.menus().trace()->trigger(); });
            return;
        case Step::Replay:
            if (!window.action(MenuItem::Replay)->isEnabled()) break;
            step = Step::Finish;
            replayed = true;
            QTimer::singleShot(0, &window, [&] { window.action(MenuItem::Replay)->trigger(); });
            return;
        case Step::Finish:
            s.PointsA = s.PointsB = 6;  // this hand decides the game
            step = Step::Done;
            break;
        case Step::Done: break;
        }
        PlayForThePerson(window, game, s);
    });
    probe.start(1);
    game.StartClick();
    ASSERT_TRUE(QTest::qWaitFor([&] { return finished; }, 120'000)) << "checks " << checks;
    probe.stop();
    EXPECT_TRUE(loaded);
    EXPECT_GE(traceSteps, 12);
    EXPECT_TRUE(replayed);
    EXPECT_GT(checks, 100);
}

// A card lifted by the keys plays when its raised part is clicked.
TEST_F(TalkingTable, ALiftedCardPlaysWhereItShows) {
    FollowTurn("g5", {"g9"});
    const int club = CardOf("g9");
    window.table().SetRaisedCard(club);
    const CardRecord& card = s.Deck[club];
    // Above the card's place in the hand: only the lifted card shows there.
    const QPointF raisedPart(card.X + kCardW / 2.0, card.Y - TableView::kLift / 2.0);
    EXPECT_EQ(game.HitTest(static_cast<int>(raisedPart.x()), static_cast<int>(raisedPart.y())), 0);
    QTest::mouseClick(&window.table(), Qt::LeftButton, {}, window.table().ToWidget(raisedPart).toPoint());
    EXPECT_EQ(s.Deck[club].Owner, 7);
    EXPECT_EQ(s.Tricks.back().Cards[3], C("g9"));
}

TEST(SavedHands, ANameWithoutAnExtensionGetsTheHandsOne) {
    EXPECT_EQ(TableWindow::WithHandExtension("/tmp/hand1"), "/tmp/hand1.zarv");
    EXPECT_EQ(TableWindow::WithHandExtension("/tmp/hand1.zarv"), "/tmp/hand1.zarv");
    EXPECT_EQ(TableWindow::WithHandExtension("/tmp/v1.2/hand"), "/tmp/v1.2/hand.zarv");
    EXPECT_EQ(TableWindow::WithHandExtension("/tmp/hand.txt"), "/tmp/hand.txt");  // the person's own choice
    EXPECT_EQ(TableWindow::WithHandExtension(""), "");                             // cancelled
}

// The longest names and counts the status can show fit its width at the
// table's design size: nothing of the scores is cut.
TEST_F(Table, TheStatusFitsItsWidthWithTheLongestNames) {
    window.show();
    window.resize(kTableWidth, window.height());
    DeliverPostedEvents();
    // Fifteen characters each, as long as names get (wide capitals in each).
    const char* names[5] = {"", "Maximilian Wolf", "Wilhelmina Ward", "Alexandra Maria", "Bartholomew Moe"};
    for (int seat = 1; seat <= 4; ++seat) s.Seats[seat].Name = names[seat];
    s.MasterPlayer = 4;
    s.Trump = 'h';
    s.PointsA = s.PointsB = 6;
    s.Tricks.assign(1, TrickRecord{});
    for (int k = 0; k < 12; ++k) {
        TrickRecord trick;
        trick.Winner = k % 2 + 1;
        s.Tricks.push_back(trick);
    }
    s.Tricks.push_back(TrickRecord{});
    // The longest turn text: the person's own countdown while following.
    StartTrick(s, 2, {"h5"});
    s.Turn = 3;
    s.HumanMayPlay = true;
    s.WaitingForSeat = 3;
    s.WaitingDeadline = window.pump().Now() + 28;
    window.ShowTurn();
    window.DrawBoard();
    DeliverPostedEvents();
    EXPECT_TRUE(window.words().scoreText().contains("6 tricks, 6 pts")) << window.words().scoreText().toStdString();
    EXPECT_LE(window.width(), kTableWidth);  // the texts did not widen the window
    EXPECT_TRUE(window.words().turnText().contains("then the computer plays")) << window.words().turnText().toStdString();
    for (QLabel* label : window.statusBar()->findChildren<QLabel*>()) {
        if (label->text().isEmpty() || !label->isVisible()) continue;
        const QFontMetrics metrics(label->font());
        const QRect needed = metrics.boundingRect(QRect(0, 0, label->width(), 1000), Qt::TextWordWrap, label->text());
        EXPECT_LE(needed.width(), label->contentsRect().width()) << label->text().toStdString();
        EXPECT_LE(needed.height(), label->contentsRect().height()) << label->text().toStdString();
        EXPECT_LE(label->geometry().right(), window.statusBar()->width()) << label->text().toStdString();
    }
}

// F2 or Exit in the middle of a game asks first; "Don't ask again" is kept.
TEST_F(Table, AbandoningAGameAsksFirstUnlessToldNotTo) {
    window.preferences().unsaved().AskBeforeAbandoning = true;
    window.show();
    int asked = 0;
    bool firstAnswer = true, secondAnswer = false;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        if (QMessageBox* box = window.abandonQuestion()) {
            ++asked;
            box->checkBox()->setChecked(true);
            box->button(QMessageBox::No)->click();
        }
    });
    answer.start(5);
    QTimer::singleShot(0, &window, [&] {
        // The game waits for its first move or trump: it is in progress.
        ASSERT_TRUE(QTest::qWaitFor([&] { return window.GameInProgress(); }, 10000));
        firstAnswer = window.MayAbandonGame();
        secondAnswer = window.MayAbandonGame();
        window.close();
    });
    game.StartClick();
    EXPECT_EQ(asked, 1);
    EXPECT_FALSE(firstAnswer);
    EXPECT_TRUE(secondAnswer);  // not asked again
    EXPECT_EQ(*store.ReadDword(QString::fromLatin1(settings::kSettingsKey), "AskAbandon"), 0u);
    EXPECT_FALSE(window.GameInProgress());
}

TEST(Balloons, TheBodyAndThePointerAreJoined) {
    GameState g;
    g.Seats[2] = SeatRecord{"Vrel", false, 30, 286, SeatKind::Computer, 0};
    for (int pos : {1, 2, 3, 4}) {
        g.Seats[pos] = SeatRecord{"X", false, 300, 300, SeatKind::Computer, 0};
        const BalloonShape shape = ShapeBalloon(pos, QStringLiteral("Hello there"), g, 842, 676);
        const QRegion mask = MaskOf(shape);
        const QPainterPath outline = shape.Outline();  // what is painted
        // Every point of the body, its margin and the pointer lies in the balloon.
        const QRect body = shape.body.adjusted(-4, -4, 4, 4);
        for (int x = body.left(); x <= body.right(); x += 2)
            for (int y = body.top(); y <= body.bottom(); y += 2) {
                EXPECT_TRUE(mask.contains(QPoint(x, y))) << pos;
                EXPECT_TRUE(outline.contains(QPointF(x, y))) << pos << " unpainted at " << x << "," << y;
            }
        const QRect pointer = shape.pointer.boundingRect();
        for (int x = pointer.left(); x <= pointer.right(); ++x)
            for (int y = pointer.top(); y <= pointer.bottom(); ++y)
                if (shape.pointer.containsPoint(QPoint(x, y), Qt::OddEvenFill) &&
                    shape.pointer.containsPoint(QPoint(x + 1, y + 1), Qt::OddEvenFill)) {
                    EXPECT_TRUE(mask.contains(QPoint(x, y))) << pos << " " << x << "," << y;
                    EXPECT_TRUE(outline.contains(QPointF(x + 0.5, y + 0.5))) << pos << " unpainted " << x << "," << y;
                }
    }
}

} // namespace
} // namespace zarv::testing

namespace zarv::testing {
namespace {

int PersonsCards(const GameState& s) {
    int n = 0;
    for (size_t t = 1; t < s.Tricks.size(); ++t) n += !s.Tricks[t].Cards[static_cast<size_t>(s.LocalSeat)].empty();
    return n;
}

// Game > Undo in the window: offered once the person has a card to take back,
// taken with Ctrl+Z, and the game is counted "with undo" in Score.
TEST_F(Table, CtrlZTakesBackThePersonsCardAndTheGameIsCountedWithUndo) {
    window.preferences().unsaved().AskBeforeAbandoning = false;
    window.show();
    s.StepCount = 1;
    bool offeredTooSoon = false, undone = false, backAtSecond = false;
    QTimer probe;
    QObject::connect(&probe, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            box->button(QMessageBox::No)->click();
            return;
        }
        if (!game.Running()) return;
        const Game::TableWait wait = game.Awaiting();
        if (wait.seat != s.LocalSeat || (wait.kind != Game::TableWait::Kind::Card && wait.kind != Game::TableWait::Kind::Trump)) {
            game.SpaceReleased();
            return;
        }
        // The first card of a hand the person is not HAKEM of: nothing to take back.
        if (PersonsCards(s) == 0 && s.MasterPlayer != s.LocalSeat && window.menus().undo()->isEnabled()) offeredTooSoon = true;
        if (s.HandsPlayed == 0 && PersonsCards(s) == 2 && !undone) {
            EXPECT_TRUE(window.menus().undo()->isEnabled());
            undone = true;
            QTest::keyClick(&window, Qt::Key_Z, Qt::ControlModifier);
            return;
        }
        if (undone && s.HandsPlayed == 0 && PersonsCards(s) == 1) backAtSecond = true;
        PlayForThePerson(window, game, s);
    });
    probe.start(1);
    game.StartClick();
    probe.stop();
    EXPECT_TRUE(undone);
    EXPECT_TRUE(backAtSecond) << "the second card was asked for again";
    EXPECT_FALSE(offeredTooSoon);
    EXPECT_EQ(settings::UndoneGames(store, s.PlayerName), 1) << s.PlayerName;
}

// Game > Review Hand after the first hand: the hand trick by trick, and the
// person's decisions with the Master's numbers, the costliest first.
TEST_F(Table, ReviewHandStepsThroughTheLastHandWithTheMastersNumbers) {
    window.preferences().unsaved().AskBeforeAbandoning = false;
    window.show();
    s.StepCount = 1;
    bool reviewed = false, asked = false;
    QStringList lines;
    int tricks = 0, shownAfterRight = 0;
    QTimer probe;
    QObject::connect(&probe, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            box->button(QMessageBox::No)->click();
            return;
        }
        if (ReviewDialog* review = window.reviewDialog()) {
            if (!review->weighed()) return;
            lines = review->DecisionLines();
            tricks = review->findChild<QSlider*>()->maximum();
            review->ShowTrick(1);
            QTest::keyClick(review, Qt::Key_Right);
            shownAfterRight = review->trick();
            if (const QByteArray shots = qgetenv("ZARV_SHOTS"); !shots.isEmpty())
                review->grab().save(QString::fromLocal8Bit(shots) + QStringLiteral("/review_hand.png"));
            // The whole hand is open at a table of one's own.
            for (int seat = 1; seat <= 4; ++seat)
                for (CardCode c : game.LastPlayedHand()->deal) EXPECT_TRUE(review->Shown(seat, c));
            review->accept();
            reviewed = true;
            game.Stop();
            return;
        }
        if (!game.Running() || asked) return;
        const Game::TableWait wait = game.Awaiting();
        if (s.HandsPlayed >= 1 && game.LastPlayedHand() && wait.seat == s.LocalSeat) {
            ASSERT_TRUE(window.menus().review()->isEnabled());
            // Opened outside this probe, which must keep running while the dialog is up.
            asked = true;
            QTimer::singleShot(0, &window, [&] { window.menus().review()->trigger(); });
            return;
        }
        if (wait.seat != s.LocalSeat || (wait.kind != Game::TableWait::Kind::Card && wait.kind != Game::TableWait::Kind::Trump)) {
            game.SpaceReleased();
            return;
        }
        PlayForThePerson(window, game, s);
    });
    probe.start(1);
    game.StartClick();
    probe.stop();
    ASSERT_TRUE(reviewed);
    EXPECT_GE(tricks, 7);
    EXPECT_EQ(shownAfterRight, 2);
    ASSERT_FALSE(lines.isEmpty());
    // Each line names its trick and what the card cost (or that it was the best).
    const QRegularExpression line(QStringLiteral("^Trick \\d+: \\S+ (cost [0-9.]+ points; \\S+ was best|was the best card)$"));
    for (const QString& text : lines) EXPECT_TRUE(line.match(text).hasMatch()) << text.toStdString();
}

// At a network table the others' cards that were never played stay hidden.
TEST(ReviewDialogCards, OnlyWhatTheSeatSawIsShownAtANetworkTable) {
    SavedHand hand;
    for (char suit : {'g', 'p', 'h', 'x'})
        for (int rank = 2; rank <= 14; ++rank) hand.deal.push_back(CardCode{suit, static_cast<uint8_t>(rank)});
    hand.master = 1;  // seat 1 holds the clubs, seat 2 the spades, seat 3 the hearts, seat 4 the diamonds
    hand.trump = 'h';
    hand.plays = {CardCode{'g', 2}, CardCode{'p', 2}, CardCode{'h', 2}, CardCode{'x', 2}};
    ReviewSetting setting{hand, 3, {}, true};
    ReviewDialog dialog(setting, QImage());
    EXPECT_TRUE(dialog.Shown(3, CardCode{'h', 9}));   // the seat's own card
    EXPECT_TRUE(dialog.Shown(2, CardCode{'p', 2}));   // played
    EXPECT_FALSE(dialog.Shown(2, CardCode{'p', 9}));  // never played
    setting.seenOnly = false;
    ReviewDialog open(setting, QImage());
    EXPECT_TRUE(open.Shown(2, CardCode{'p', 9}));
}

} // namespace
} // namespace zarv::testing
