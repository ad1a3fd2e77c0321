// The table drawn offscreen: pixels that show the cards, the felt and the
// board are right, the colour helpers, and the full-screen round trip.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>
#include <QTimer>
#include <QTest>
#include <QMenuBar>
#include <QAction>
#include <QStatusBar>
#include <QKeyEvent>
#include <QScreen>

#include "engine/table_layout.h"
#include "settings/settings_store.h"
#include "tests/event_helpers.h"
#include "tests/test_table.h"
#include "ui/card_pictures.h"
#include "ui/colour.h"
#include "ui/sprite_sheet.h"
#include "ui/table_view.h"
#include "ui/card_names.h"
#include "ui/table_status.h"
#include "ui/table_window.h"
#include "ui/background_player.h"

namespace zarv::testing {
namespace {

using namespace zarv::ui;

bool IsRed(QColor c) { return c.red() > 150 && c.green() < 90 && c.blue() < 90; }
bool IsDark(QColor c) { return c.red() < 80 && c.green() < 80 && c.blue() < 80; }

int CountPixels(const QImage& img, QRect area, bool (*pred)(QColor)) {
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) n += pred(img.pixelColor(x, y));
    return n;
}

TEST(Colours, ComponentsAndHls) {
    const Colour c = ui::RGB(128, 255, 0);
    EXPECT_EQ(GetRValue(c), 128);
    EXPECT_EQ(GetGValue(c), 255);
    EXPECT_EQ(GetBValue(c), 0);
    const Hls grey = RGBToHLS(ui::RGB(90, 90, 90));
    EXPECT_EQ(grey.S, 0);
    EXPECT_EQ(grey.H, 160);
    EXPECT_EQ(RGBToHLS(ui::RGB(255, 255, 255)).L, 240);
    EXPECT_EQ(RGBToHLS(ui::RGB(0, 0, 0)).L, 0);
    const Hls red = RGBToHLS(ui::RGB(255, 0, 0));
    EXPECT_EQ(red.H, 0);
    EXPECT_EQ(red.S, 240);
    EXPECT_EQ(red.L, 120);
    // Back and forth lands within a step of the scale.
    for (Colour k : {ui::RGB(52, 97, 54), ui::RGB(208, 153, 168), ui::RGB(15, 67, 130)}) {
        const Hls h = RGBToHLS(k);
        const Colour back = HLStoRGB(h.H, h.L, h.S);
        EXPECT_NEAR(GetRValue(back), GetRValue(k), 3);
        EXPECT_NEAR(GetGValue(back), GetGValue(k), 3);
        EXPECT_NEAR(GetBValue(back), GetBValue(k), 3);
    }
    // The felt's edge is darker than a light felt and lighter than a dark one.
    EXPECT_LT(RGBToHLS(EdgeColour(ui::RGB(208, 153, 168))).L, RGBToHLS(ui::RGB(208, 153, 168)).L);
    EXPECT_GT(RGBToHLS(EdgeColour(ui::RGB(20, 40, 20))).L, RGBToHLS(ui::RGB(20, 40, 20)).L);
}

TEST(ComputerReasons, EachReasonInAPlayersWords) {
    EXPECT_EQ(ReasonInWords(CardReason::Of(Tactic::PlayHighest)), "its highest card of the suit");
    EXPECT_EQ(ReasonInWords(CardReason::Of(Tactic::PlayAnything)), "any card: nothing better to do");
    EXPECT_EQ(ReasonInWords(CardReason::OnlyCardAllowed()), "the only card that may be played");
    const CardCode aceOfHearts = C("h14"), twoOfClubs = C("g2");
    const QString ace = CardName(aceOfHearts), two = CardName(twoOfClubs);
    EXPECT_EQ(ReasonInWords(CardReason::Of(ExpertReckoning{aceOfHearts, 1.25, twoOfClubs, 0.5, 128, false})),
              "the Expert expects to win 1.25 points with " + ace + " \u2014 next best " + two);
    EXPECT_EQ(ReasonInWords(CardReason::Of(ExpertReckoning{aceOfHearts, -0.5, aceOfHearts, -0.5, 16, false})),
              "the Expert expects to lose 0.50 points with " + ace);
    // A loss too small to show is no loss.
    EXPECT_EQ(ReasonInWords(CardReason::Of(ExpertReckoning{aceOfHearts, -0.001, aceOfHearts, -0.001, 16, false})),
              "the Expert expects to win 0.00 points with " + ace);
    // The Master says it is the Master.
    EXPECT_EQ(ReasonInWords(CardReason::Of(ExpertReckoning{aceOfHearts, 2, twoOfClubs, 1, 512, true})),
              "the Master expects to win 2.00 points with " + ace + " \u2014 next best " + two);
    EXPECT_EQ(ReasonInWords(CardReason{}), "");
    // The trace keeps its words.
    EXPECT_EQ(TacticName(Tactic::PlayHighest), "PlayBigest");
    EXPECT_EQ(TacticName(Tactic::PlayAnything), "Play Somthing");
}

TEST(CardFaces, IndexesInTheRightColourAndPlace) {
    const QImage sprite = sprite::BuildSpriteSheet();
    const QImage queen = PaintCardFace(sprite, C("h12"));
    const QRect topLeft(2, 2, 15, 15), bottomRight(55, 85, 15, 15);
    EXPECT_GT(CountPixels(queen, topLeft, IsRed), 15);
    EXPECT_EQ(CountPixels(queen, topLeft, IsDark), 0);
    EXPECT_GT(CountPixels(queen, bottomRight, IsRed), 15);
    const QImage five = PaintCardFace(sprite, C("g5"));
    EXPECT_GT(CountPixels(five, topLeft, IsDark), 15);
    EXPECT_EQ(CountPixels(five, topLeft, IsRed), 0);
    // The bottom-right index is the top-left one turned half round.
    const QImage turned = five.copy(bottomRight).mirrored(true, true);
    EXPECT_GT(CountPixels(turned, QRect(0, 0, 15, 15), IsDark), 15);
    // A five has five pips: its middle shows one, a four none.
    const QRect middle(30, 47, 14, 14);
    EXPECT_GT(CountPixels(five, middle, IsDark), 20);
    EXPECT_EQ(CountPixels(PaintCardFace(sprite, C("g4")), middle, IsDark), 0);
    // The ace of spades shows its art: much more ink than a plain ace.
    const QRect art(16, 15, 42, 77);
    EXPECT_GT(CountPixels(PaintCardFace(sprite, C("p14")), art, IsDark),
              CountPixels(PaintCardFace(sprite, C("g14")), art, IsDark));
}

TEST(CardBacks, EachDesignDiffersAndDesignFourHasThreeBands) {
    const QImage sprite = sprite::BuildSpriteSheet();
    const uint32_t c1 = ui::RGB(200, 0, 0), c2 = ui::RGB(0, 200, 0), c3 = ui::RGB(0, 0, 200);
    std::vector<QImage> backs;
    for (int d = 0; d <= 4; ++d) backs.push_back(DrawDeck(sprite, d, c1, c2, c3));
    for (int a = 0; a < 5; ++a)
        for (int b = a + 1; b < 5; ++b) EXPECT_NE(backs[a], backs[b]) << a << " " << b;
    EXPECT_EQ(DrawDeck(sprite, 9, c1, c2, c3), backs[0]);  // unknown designs fall back to design 0
    EXPECT_EQ(backs[4].pixelColor(30, 15), QColor(200, 0, 0));
    EXPECT_EQ(backs[4].pixelColor(30, 40), QColor(0, 200, 0));
    EXPECT_EQ(backs[4].pixelColor(30, 80), QColor(0, 0, 200));
}

// A dealt table drawn offscreen from a headless game.
struct DealtTable : ::testing::Test {
    TestTable t;
    ai::ComputerSeatPlayer computer{t.game.positionForTests()};
    QImage sprite = sprite::BuildSpriteSheet();
    TableView view{t.s(), sprite};
    TableColours colours;

    void SetUp() override {
        t.game.SetComputerPlayer(&computer);
        const char* names[5] = {"", "Tib ", "Vrel", "Me", "Dastrel"};
        for (int seat = 1; seat <= 4; ++seat) {
            t.s().Seats[seat].Name = names[seat];
            t.s().Seats[seat].Kind = SeatKind::Computer;
        }
        ReadyToDeal(t.game);
        t.s().MasterPlayer = 1;
        t.game.NewHand(true);
        colours.edge = QColor(200, 220, 200);
        view.SetColours(colours);
        std::vector<QImage> pictures(53);
        pictures[0] = DrawDeck(sprite, 4, ui::RGB(10, 10, 200), ui::RGB(10, 200, 10), ui::RGB(200, 10, 10));
        for (int k = 1; k <= 52; ++k) pictures[static_cast<size_t>(t.s().Deck[k].Face)] = PaintCardFace(sprite, t.s().Deck[k].Card);
        view.SetCardPictures(std::move(pictures));
        view.gameStarted = true;
        view.RefreshPage();
    }
    const QImage& surface() const { return view.surface(); }
};

TEST_F(DealtTable, TheFeltUsesTheBackgroundAndItsEdgeColour) {
    EXPECT_EQ(surface().pixelColor(420, 300), colours.background);
    EXPECT_EQ(surface().pixelColor(6, 338), colours.edge);  // the inner rounded line on the left side
    EXPECT_EQ(surface().pixelColor(2, 338), QColor(Qt::black));
}

TEST_F(DealtTable, FaceUpAndFaceDownCardsShowTheirPictures) {
    // The local seat's hand (seat 3) is face up and sorted: its last card lies fully open.
    int last = 0;
    for (int k = 1; k <= 52; ++k)
        if (t.s().Deck[k].Owner == 3) last = k;
    const CardRecord& open = t.s().Deck[last];
    ASSERT_FALSE(open.FaceDown);
    const QRect index(open.X + 2, open.Y + 2, 15, 15);
    const bool red = open.Card.suit == 'h' || open.Card.suit == 'x';
    EXPECT_GT(CountPixels(surface(), index, red ? IsRed : IsDark), 15);
    // Another seat's last card shows design 4's three bands.
    int hidden = 0;
    for (int k = 1; k <= 52; ++k)
        if (t.s().Deck[k].Owner == 1) hidden = k;
    const CardRecord& back = t.s().Deck[hidden];
    ASSERT_TRUE(back.FaceDown);
    EXPECT_EQ(surface().pixelColor(back.X + 30, back.Y + 15), QColor(10, 10, 200));
    EXPECT_EQ(surface().pixelColor(back.X + 30, back.Y + 40), QColor(10, 200, 10));
    EXPECT_EQ(surface().pixelColor(back.X + 30, back.Y + 80), QColor(200, 10, 10));
}

TEST_F(DealtTable, TheBoardGrowsOneColumnPerHand) {
    auto boardLeft = [&] {
        const int y = t.s().ScaleHeight - 60;  // a row through the board
        for (int x = 400; x < t.s().ScaleWidth; ++x)
            if (surface().pixelColor(x, y) == QColor(Qt::black)) return x;
        return -1;
    };
    const int before = boardLeft();
    t.s().HandsPlayed = 3;
    t.s().ResultsA[1] = 1;
    t.s().ResultsB[2] = 2;
    view.RefreshPage();
    EXPECT_EQ(before - boardLeft(), 3 * 16);
    // The hand in play (the fourth) has a white heading; once the game is
    // over, no column waits for a hand that will not be played.
    auto litHeadings = [&] {
        const layout::Board board = layout::BoardPlace(t.s(), kTableWidth, kTableHeight);
        int lit = 0;
        for (int i = 0; i < 14; ++i) {
            const layout::Box h = board.Heading(i);
            if (h.right >= board.inner.right) break;
            lit += surface().pixelColor(static_cast<int>(h.left) + 2, static_cast<int>(h.top) + 2) == QColor(Qt::white);
        }
        return lit;
    };
    EXPECT_EQ(litHeadings(), 1);
    EXPECT_EQ(layout::BoardColumns(t.s()), 4);
    t.s().PointsA = 7;
    view.RefreshPage();
    EXPECT_EQ(layout::BoardColumns(t.s()), 3);
    EXPECT_EQ(litHeadings(), 0);
    EXPECT_EQ(before - boardLeft(), 2 * 16);
}

TEST_F(DealtTable, AStackOfCardsCastsADeeperShadowThanAHand) {
    // Move the hands back into the pack: the top card of the pack has many under it.
    t.game.GatherCards();
    int top = t.s().DrawOrder[52];
    EXPECT_EQ(view.StackDepth(top), 7);
    EXPECT_EQ(view.StackDepth(t.s().DrawOrder[1]), 0);
}

// Full screen and back: the table keeps its design layout (the view scales
// it), the status bar stays, and Esc leaves full screen.
TEST(TableWindowTest, FullScreenKeepsTheLayoutAndTheStatus) {
    QTemporaryDir dir;
    settings::SettingsStore store(dir.filePath("zarv.ini"));
    TableWindow window(store);
    window.show();
    GameState& s = window.game().positionForTests();
    s.GameStarted = true;
    window.game().PlaceSeats();
    const auto seats = s.Seats;
    window.SetFullScreen(true);
    EXPECT_TRUE(window.menus().fullScreen()->isChecked());
    EXPECT_TRUE(window.statusBar()->isVisible());
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(&window, &escape);
    EXPECT_FALSE(window.currentSettings().FullScreen);
    EXPECT_EQ(*store.ReadDword(QString::fromLatin1(settings::kSettingsKey), "FullScreen"), 0u);
    EXPECT_EQ(s.LayoutUnit, 13);
    EXPECT_EQ(s.ScaleWidth, kTableWidth);
    for (int seat = 1; seat <= 4; ++seat) {
        EXPECT_EQ(s.Seats[seat].X, seats[seat].X);
        EXPECT_EQ(s.Seats[seat].Y, seats[seat].Y);
    }
    // A maximised window goes back to maximised, a normal one to normal.
    window.showMaximized();
    window.SetFullScreen(true);
    QApplication::sendEvent(&window, &escape);
    EXPECT_TRUE(window.windowState().testFlag(Qt::WindowMaximized));
    EXPECT_FALSE(window.windowState().testFlag(Qt::WindowFullScreen));
    window.showNormal();
    window.SetFullScreen(true);
    window.SetFullScreen(false);
    EXPECT_FALSE(window.windowState().testFlag(Qt::WindowMaximized));
}

// At every window size the table takes all the room the bars leave, in one
// direction at least, and the status bar stays two lines high.
TEST(TableWindowTest, TheTableFillsTheWindowAtEverySize) {
    QTemporaryDir dir;
    settings::SettingsStore store(dir.filePath("zarv.ini"));
    TableWindow window(store);
    window.show();
    for (const QSize size : {QSize(740, 620), QSize(900, 760), QSize(1600, 1000), QSize(1920, 1040), QSize(1000, 1400)}) {
        window.resize(size);
        DeliverPostedEvents();
        const TableView& view = window.table();
        const QRectF area = view.TableArea();
        EXPECT_LE(window.statusBar()->height(), 3 * window.statusBar()->fontMetrics().lineSpacing() + 12) << size.width();
        EXPECT_GE(view.height(), window.height() - window.menuBar()->height() - window.statusBar()->height() - 2) << size.width();
        const bool fillsWidth = std::abs(area.width() - view.width()) <= 1, fillsHeight = std::abs(area.height() - view.height()) <= 1;
        EXPECT_TRUE(fillsWidth || fillsHeight) << size.width() << "x" << size.height() << ": " << area.width() << "x" << area.height()
                                               << " in " << view.width() << "x" << view.height();
        EXPECT_NEAR(area.width() / area.height(), double(kTableWidth) / kTableHeight, 0.01);
        // Painted at the pixels it is shown with (on a dense screen, more of
        // them; in a window smaller than the design, fewer: never shrunk).
        EXPECT_NEAR(view.pixelScale(), view.viewScale() * view.devicePixelRatioF(), 1e-9);
        EXPECT_EQ(view.surface().width(), static_cast<int>(std::ceil(kTableWidth * view.pixelScale() - 1e-9)));
    }
}

// The smallest window still shows names that can be read.
TEST(TableWindowTest, TheWindowIsNeverSmallerThanATableThatCanBeRead) {
    QTemporaryDir dir;
    settings::SettingsStore store(dir.filePath("zarv.ini"));
    TableWindow window(store);
    window.show();
    window.resize(200, 150);
    DeliverPostedEvents();
    EXPECT_GE(window.table().viewScale(), TableView::kMinimumScale - 1e-9);
    EXPECT_GE(window.table().width(), static_cast<int>(kTableWidth * TableView::kMinimumScale));
}

// A network game's conversation is a column beside the table, as tall as
// it: the window grows sideways as far as the screen allows and the table
// keeps its size; when the game ends the window is as it was.
TEST(TableWindowTest, TheChatSitsBesideTheTableWhichKeepsItsSize) {
    QTemporaryDir dir;
    settings::SettingsStore store(dir.filePath("zarv.ini"));
    TableWindow window(store);
    window.show();
    DeliverPostedEvents();
    const QRect free = window.screen()->availableGeometry();
    const QSize before = window.size();
    const QSizeF table = window.table().TableArea().size();
    const ChatPanel& chat = window.chatPanel();
    emit window.network().gameBegan();
    DeliverPostedEvents();
    ASSERT_TRUE(chat.isVisible());
    const bool room = before.width() + chat.sizeHint().width() <= free.width();
    if (room) {
        EXPECT_NEAR(window.table().TableArea().width(), table.width(), 1.0);
        EXPECT_NEAR(window.table().TableArea().height(), table.height(), 1.0);
    }
    EXPECT_EQ(window.height(), before.height()) << "the table is not shrunk for the chat";
    const QRect column(chat.mapTo(&window, QPoint(0, 0)), chat.size());
    const QRect tableRect(window.table().mapTo(&window, QPoint(0, 0)), window.table().size());
    EXPECT_FALSE(column.intersects(tableRect));
    EXPECT_GE(column.height(), tableRect.height() - 2) << "as tall as the table";
    EXPECT_GE(column.width(), 200);
    if (window.minimumSizeHint().width() <= free.width()) {
        EXPECT_GE(window.frameGeometry().left(), free.left());
        EXPECT_LE(window.frameGeometry().right(), free.right());
    }
    emit window.network().gameEnded(QString());
    DeliverPostedEvents();
    EXPECT_FALSE(chat.isVisible());
    if (room) {
        EXPECT_EQ(window.size(), before);
    }
}

// The window opens as large as it was closed; a damaged stored place is
// ignored and the window takes its first size.
TEST(TableWindowTest, TheWindowOpensAsItWasClosed) {
    QTemporaryDir dir;
    const QString file = dir.filePath("zarv.ini");
    QSize firstSize, closedSize;
    {
        settings::SettingsStore store(file);
        TableWindow window(store);
        window.show();
        firstSize = window.size();
        // Between the first size and the smallest the window allows (a small
        // screen, or a large scale, leaves little room between the two).
        const QSize least = window.minimumSizeHint();
        closedSize = QSize((firstSize.width() + least.width()) / 2, (firstSize.height() + least.height()) / 2);
        if (closedSize == firstSize) GTEST_SKIP() << "the screen leaves no room to make the window smaller";
        window.resize(closedSize);
        DeliverPostedEvents();
        closedSize = window.size();
        window.close();
    }
    {
        settings::SettingsStore store(file);
        TableWindow window(store);
        window.show();
        EXPECT_EQ(window.size(), closedSize);
    }
    for (const char* damaged : {"!!not base64!!", "AAAA", ""}) {
        settings::SettingsStore store(file);
        store.WriteString(QString::fromLatin1(settings::kSettingsKey), "WindowPlace", damaged);
        TableWindow window(store);
        window.show();
        EXPECT_EQ(window.size(), firstSize) << damaged;
    }
}

// The layout every size shows: no plate, trick pile, board or trump sign
// lies on another, whoever is the HAKEM and however far the game has gone.
TEST_F(DealtTable, NothingOverlapsOnTheTable) {
    GameState& s = t.s();
    auto box = [](const layout::Box& b) { return QRectF(b.left, b.top, b.width(), b.height()); };
    for (int hands = 0; hands <= 13; hands += 13) {
        s.HandsPlayed = hands;
        const layout::Board board = layout::BoardPlace(s, kTableWidth, kTableHeight);
        std::vector<std::pair<std::string, QRectF>> things = {{"board", box(board.frame)}};
        for (int pile = 0; pile < 2; ++pile) {
            QRectF all;
            for (int k = 1; k <= 7; ++k) {
                const layout::Point at = layout::PileCardPlace(s, pile == 0, k);
                all |= QRectF(at.x, at.y, 74, 104);
            }
            things.push_back({"pile " + std::to_string(pile), all});
        }
        for (int seat = 1; seat <= 4; ++seat) {
            const SeatRecord& rec = s.Seats[seat];
            things.push_back({"tab " + std::to_string(seat), box(layout::NameTab(s, rec))});
            const layout::Point sign = layout::TrumpSignPlace(rec), mark = layout::MasterMarkPlace(rec);
            things.push_back({"sign " + std::to_string(seat), QRectF(sign.x, sign.y + 7, 15, 15)});
            things.push_back({"mark " + std::to_string(seat), QRectF(mark.x, mark.y, layout::kMarkSize, layout::kMarkSize)});
        }
        // The give-up flag lies inside the table's border, clear of every hand.
        const QRectF flag = box(layout::GiveUpBox(s));
        EXPECT_TRUE(QRectF(8, 8, kTableWidth - 16, kTableHeight - 16).contains(flag));
        for (int seat = 1; seat <= 4; ++seat)
            EXPECT_FALSE(flag.intersects(box(layout::HandFrame(s, s.Seats[seat])))) << "hand " << seat;
        things.push_back({"give-up", flag});
        for (size_t i = 0; i < things.size(); ++i) {
            EXPECT_TRUE(QRectF(0, 0, kTableWidth, kTableHeight).contains(things[i].second)) << things[i].first;
            for (size_t j = i + 1; j < things.size(); ++j) {
                // A seat's mark and sign lie on its own tab.
                const bool sameSeat = things[i].first.back() == things[j].first.back() && things[i].first.size() <= 6 &&
                                      things[j].first.size() <= 6 && things[i].first.rfind("pile", 0) != 0;
                if (sameSeat) continue;
                EXPECT_FALSE(things[i].second.intersects(things[j].second))
                    << things[i].first << " and " << things[j].first << " at " << hands << " hands";
            }
        }
    }
}

// At twice the pixels (a large window, or a high-density screen) the table
// is painted anew at that resolution, not enlarged: the same picture, finer.
TEST_F(DealtTable, AFinerScaleDrawsTheSameTableSharper) {
    const QImage once = surface().copy();
    sprite = sprite::BuildSpriteSheet(2.0);
    std::vector<QImage> pictures(53);
    pictures[0] = DrawDeck(sprite, 4, ui::RGB(10, 10, 200), ui::RGB(10, 200, 10), ui::RGB(200, 10, 10));
    for (int k = 1; k <= 52; ++k) pictures[static_cast<size_t>(t.s().Deck[k].Face)] = PaintCardFace(sprite, t.s().Deck[k].Card);
    view.SetCardPictures(std::move(pictures));
    view.SetPixelScale(2.0);
    const QImage twice = surface();
    ASSERT_EQ(twice.size(), QSize(2 * kTableWidth, 2 * kTableHeight));
    // The same colours at the same table points.
    for (const QPointF at : {QPointF(420, 300), QPointF(6.2, 338.2), QPointF(2.2, 338.2)})
        EXPECT_EQ(view.ColourAt(at), once.pixelColor(at.toPoint())) << at.x() << "," << at.y();
    // Not an enlarged copy: many pixels differ from the nearest-neighbour enlargement.
    const QImage enlarged = once.scaled(twice.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation);
    int differing = 0;
    for (int y = 0; y < twice.height(); y += 3)
        for (int x = 0; x < twice.width(); x += 3) differing += twice.pixel(x, y) != enlarged.pixel(x, y);
    EXPECT_GT(differing, 2000);
}

// The Expert thinks on a thread of its own: the window's events keep running
// meanwhile, and the card is the one the Expert decides on its own.
TEST(BackgroundPlayer, TheWindowKeepsRunningWhileTheExpertThinks) {
    int seat = 0;
    const GameState s = MidHand(4, 2, seat);
    const ai::ExpertOptions options{2000, 0, 9};  // long enough to be seen waiting
    QtEventPump pump;
    BackgroundPlayer player(s, pump, options);
    player.SetLevel(ai::Level::Expert);
    int ticks = 0;
    QTimer timer;
    timer.setInterval(1);
    QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start();
    const CardChoice choice = player.SelectCard(seat, s.TrickPosition);
    EXPECT_GT(ticks, 2);
    EXPECT_EQ(player.backgroundDecisions(), 1);
    ai::ExpertPlayer alone(s, options);
    EXPECT_EQ(choice.card, alone.SelectCard(seat, s.TrickPosition).card);
    EXPECT_EQ(choice.reason, alone.SelectCard(seat, s.TrickPosition).reason);

    // The standard player needs no thread.
    player.SetLevel(ai::Level::Standard);
    ticks = 0;
    EXPECT_FALSE(player.SelectCard(seat, s.TrickPosition).card.empty());
    EXPECT_EQ(player.backgroundDecisions(), 1);
}

}  // namespace
}  // namespace zarv::testing
