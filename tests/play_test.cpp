// A person at the table: clicks and keys on the real window (offscreen),
// balloons, saved hands and closing the window in the middle of a game.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <sys/stat.h>

#include "settings/settings_store.h"
#include "tests/test_table.h"
#include "ui/balloon.h"
#include "ui/table_window.h"

namespace zarv::testing {
namespace {

using namespace zarv::ui;

struct Table : ::testing::Test {
    QTemporaryDir dir;
    settings::SettingsStore store{dir.filePath("zarv.ini")};
    TableWindow window{store};
    Game& game = window.game();
    GameState& s = window.game().state();

    void SetUp() override {
        auto& settings = window.currentSettings();
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
            if (s.MasterCard == kNoSuit && !s.Animating && s.Deck[CardOf(trumpCard)].Owner == 3) Click(On(CardOf(trumpCard)));
        });
        clicker.start(30);
        game.NewHand(true);
    }
};

TEST_F(Table, TheLocalMasterNamesTheTrumpWithAClickAndLeads) {
    // The master holds the clubs (positions 1 to 13) and sees five of them first.
    DealAsMaster("g5");
    EXPECT_EQ(s.MasterCard, 'g');
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
    game.SetGiveUpState(1);
    Click(window.GiveUpRect().center());
    EXPECT_EQ(s.PointsA + s.PointsB, 0);
    EXPECT_EQ(s.GiveUpState, 1);
}

TEST_F(Table, SavedHandsRoundTripAndABadFileChangesNothing) {
    s.MasterPlayer = 2;
    s.Seats[2].Kind = SeatKind::Computer;
    game.NewHand(true);
    const QString path = dir.filePath("hand.zarv");
    ASSERT_EQ(window.SaveHandTo(path), QString());
    std::array<CardCode, 53> dealt;
    for (int i = 1; i <= 52; ++i) dealt[i] = s.Deck[i].Card;
    const Suit trump = s.MasterCard;

    // Another hand, then the saved one again.
    game.Shuffle(300);
    s.SavedDeck = s.Deck;
    s.MasterPlayer = 1;
    game.NewHand(true);
    ASSERT_EQ(window.LoadHandFrom(path), QString());
    EXPECT_EQ(s.MasterPlayer, 2);
    EXPECT_EQ(s.MasterCard, trump);
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
    QElapsedTimer t;
    t.start();
    game.Pause(600);  // only the stop can end it: a pause that ignored it would last ten minutes
    EXPECT_LT(t.elapsed(), 60'000);
    EXPECT_FALSE(window.isVisible());
}

TEST_F(Table, ClosingTheWindowEndsAMovementAndABalloon) {
    s.Deck[1].X = 20;
    s.Deck[1].Y = 20;
    const CardMove far{1, 800, 600, 3, 20, 20};
    // 600 steps at 60 a second: ten seconds, unless the stop ends it.
    s.StepCount = 600;
    QTimer::singleShot(20, &window, [this] { window.close(); });
    QElapsedTimer moving;
    moving.start();
    window.ShowMovement({&far, 1});
    EXPECT_LT(moving.elapsed(), 5000);

    // The game is stopping: a balloon neither shows nor waits its three seconds.
    window.currentSettings().Talk = true;
    QElapsedTimer t;
    t.start();
    bool shown = false;
    QTimer::singleShot(10, &window, [&] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (qobject_cast<Balloon*>(w) && w->isVisible()) shown = true;
    });
    window.SayMsg(0, "Nobody waits three seconds for this");
    EXPECT_FALSE(shown);
    EXPECT_LT(t.elapsed(), 2500);
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
    EXPECT_EQ(table.corner, QPoint(10, 10));
    const BalloonShape longText =
        ShapeBalloon(5, QStringLiteral("A very long message that cannot fit on a single line of three hundred pixels at all"), g, 842, 676);
    EXPECT_EQ(longText.body.width(), 300);
    EXPECT_TRUE(longText.wrapped);
    EXPECT_GT(longText.body.height(), 30);
    EXPECT_TRUE(longText.pointer.isEmpty());
}

TEST_F(Table, BalloonsOffShowNothingAndOnCloseOnAClick) {
    QElapsedTimer t;
    t.start();
    window.SayMsg(0, "Nobody hears this");  // Talk is off
    EXPECT_LT(t.elapsed(), 1000);

    window.currentSettings().Talk = true;
    bool sawBalloon = false;
    QTimer::singleShot(100, &window, [&] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* b = qobject_cast<Balloon*>(w); b && b->isVisible()) {
                sawBalloon = true;
                QTest::mouseClick(b, Qt::LeftButton);
            }
    });
    t.restart();
    window.SayMsg(3, "Click me");
    EXPECT_TRUE(sawBalloon);
    // The click closed it: SayMsg returned long before the balloon's own three seconds.
    EXPECT_LT(t.elapsed(), 2500);
    for (QWidget* w : QApplication::topLevelWidgets()) {
        auto* b = qobject_cast<Balloon*>(w);
        EXPECT_FALSE(b && b->isVisible());
    }
}

}  // namespace
}  // namespace zarv::testing
