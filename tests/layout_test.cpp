// The table's geometry: where seats, piles, landing cards and the flag lie,
// and how rescaling rounds. Each expected number is worked out by hand.
#include <gtest/gtest.h>

#include "engine/table_layout.h"
#include "tests/test_table.h"

namespace zarv::testing {
namespace {

using layout::Point;

GameState PlacedTable(int width = kTableWidth, int height = kTableHeight) {
    GameState s;
    s.ScaleWidth = width;
    s.ScaleHeight = height;
    layout::PlaceSeats(s);
    return s;
}

void ExpectAt(Point p, double x, double y) {
    EXPECT_EQ(p.x, x);
    EXPECT_EQ(p.y, y);
}

TEST(Layout, SeatsSitAroundTheTableWithTheLocalSeatAtTheBottom) {
    const GameState s = PlacedTable();
    // Local seat 3: ((842 - (156 + 74)) / 2, 676 - 164) = (306, 512).
    EXPECT_EQ(s.Seats[3].X, 306);
    EXPECT_EQ(s.Seats[3].Y, 512);
    EXPECT_EQ(s.Seats[4].X, 30);   // after the local seat: left
    EXPECT_EQ(s.Seats[4].Y, 286);
    EXPECT_EQ(s.Seats[1].X, 306);  // partner: top
    EXPECT_EQ(s.Seats[1].Y, 30);
    EXPECT_EQ(s.Seats[2].X, 581);  // before the local seat: right, 842 - (182 + 74) - 5
    EXPECT_EQ(s.Seats[2].Y, 286);
}

TEST(Layout, PlayedCardsLandBesideTheMiddleTowardsTheirSeat) {
    const GameState s = PlacedTable();
    // The middle: ((842 - 74) / 2, (676 - 104) / 2) = (384, 286).
    ExpectAt(layout::LandingPoint(s, 2), 424, 286);  // right of the middle
    ExpectAt(layout::LandingPoint(s, 3), 384, 326);  // below
    ExpectAt(layout::LandingPoint(s, 4), 364, 286);  // left
    ExpectAt(layout::LandingPoint(s, 1), 384, 246);  // above
    // Odd widths: 384.5 goes to 384, 385.5 to 386 (halves to even).
    EXPECT_EQ(layout::LandingPoint(PlacedTable(843, 676), 3).x, 384);
    EXPECT_EQ(layout::LandingPoint(PlacedTable(845, 676), 3).x, 386);
    // A clicked card lands shifted by its own place: 384 + 315 / 30 = 394.5 -> 394; 286 + 500 / 10.
    CardRecord card;
    card.X = 315;
    card.Y = 500;
    ExpectAt(layout::ClickLandingPoint(s, card), 394, 336);
    card.X = 345;  // 384 + 11.5 = 395.5 -> 396
    EXPECT_EQ(layout::ClickLandingPoint(s, card).x, 396);
}

TEST(Layout, TrickPilesLieBesideThePartnerAndBelowTheLeftSeat) {
    const GameState s = PlacedTable();
    // The local side's first trick: partner (306, 30) + u (1 + 19, 0) = (566, 30).
    ExpectAt(layout::TrickPilePoint(s, 1, 1), 566, 30);
    ExpectAt(layout::TrickPilePoint(s, 3, 3), 306 + 13 * 22, 30 + 13 * 2);
    // The other side's: left seat (30, 286) + (u n, 104 + u (n + 3)).
    ExpectAt(layout::TrickPilePoint(s, 2, 1), 43, 286 + 104 + 52);
    ExpectAt(layout::TrickPilePoint(s, 4, 7), 30 + 91, 286 + 104 + 130);
}

TEST(Layout, TheClosedPackAndTheHandsArch) {
    ExpectAt(layout::PackPlace(1), 28, 30);   // 53 / 7 + 20 = 27.57; 52 / 5 + 20 = 30.4
    ExpectAt(layout::PackPlace(52), 20, 20);  // 2 / 7 + 20; 1 / 5 + 20
    const GameState s = PlacedTable();
    // From position 6 (6 mod 7 = 6): the row rises to 7 and falls again.
    const int rise[5] = {6, 7, 6, 5, 4};
    for (int k = 0; k < 5; ++k) ExpectAt(layout::HandCardPlace(s, 100, 200, 6, k), 100 + 13 * k, 200 - rise[k]);
}

TEST(Layout, TheGiveUpFlagLiesBelowTheLocalHandEdgesIncluded) {
    const GameState s = PlacedTable();
    const layout::Box box = layout::GiveUpBox(s);
    // (306 + 6u + 74, 512 + 104 + u + 5)
    EXPECT_EQ(box.left, 458);
    EXPECT_EQ(box.top, 634);
    EXPECT_TRUE(box.Contains(458, 634));
    EXPECT_TRUE(box.Contains(458 + 56, 634 + 40));
    EXPECT_FALSE(box.Contains(457, 640));
    EXPECT_FALSE(box.Contains(470, 634 + 41));
}

TEST(Layout, RescalingRoundsHalvesToEven) {
    GameState s = PlacedTable();
    // 13 x 421 / 842 = 6.5: the unit becomes 6, not 7.
    layout::Rescale(s, kTableWidth, kTableHeight, 421, 338);
    EXPECT_EQ(s.LayoutUnit, 6);
    // 842 -> 1263 is a factor 1.5: 101 -> 151.5 -> 152 and 103 -> 154.5 -> 154.
    GameState t = PlacedTable();
    t.Deck[1].X = 101;
    t.Deck[2].X = 103;
    t.Deck[1].Y = 10;  // 676 -> 1014, also 1.5: 15
    t.Seats[2].X = 581;  // 871.5 -> 872
    layout::Rescale(t, kTableWidth, kTableHeight, 1263, 1014);
    EXPECT_EQ(t.Deck[1].X, 152);
    EXPECT_EQ(t.Deck[2].X, 154);
    EXPECT_EQ(t.Deck[1].Y, 15);
    EXPECT_EQ(t.Seats[2].X, 872);
    EXPECT_EQ(t.LayoutUnit, 20);  // 19.5 -> 20
    EXPECT_EQ(t.ScaleWidth, 1263);
}

TEST(Layout, TheBoardGrowsOneColumnPerHandInTheCorner) {
    GameState s = PlacedTable();
    s.HandsPlayed = 2;
    const layout::Board b = layout::BoardPlace(s, kTableWidth, kTableHeight);
    // b = 16 x 2 + 70 = 102: inner left 842 - 102 - 6 - 13, top 676 - 95 - 18 - 26.
    EXPECT_EQ(b.inner.left, 721);
    EXPECT_EQ(b.inner.top, 537);
    EXPECT_EQ(b.Heading(1).left, 721 + 45 + 16);
    EXPECT_EQ(b.Cell(2, 1).top, 537 + 68);
}

TEST(Layout, EveryCellOfTheBoardLiesInsideItFromTheFirstHandToALongGame) {
    for (int hands = 0; hands <= 20; ++hands) {
        for (int width : {kTableWidth, 1280, 1920}) {
            GameState s = PlacedTable(width, width * 676 / 842);
            s.HandsPlayed = hands;
            const layout::Board b = layout::BoardPlace(s, s.ScaleWidth, s.ScaleHeight);
            const int columns = std::min(hands, 13) + 1;
            for (int i = 0; i < columns; ++i) {
                for (const layout::Box& cell : {b.Heading(i), b.Cell(i, 0), b.Cell(i, 1)}) {
                    // Clear of the board's edges by more than the round corner needs.
                    EXPECT_GE(cell.left, b.inner.left + 8) << hands << " hands, column " << i;
                    EXPECT_LE(cell.right, b.inner.right - 8) << hands << " hands, column " << i;
                    EXPECT_GE(cell.top, b.inner.top + 6) << hands;
                    EXPECT_LE(cell.bottom, b.inner.bottom - 6) << hands;
                }
            }
            EXPECT_LE(b.frame.right, s.ScaleWidth);  // the board stays on the table
        }
    }
}

TEST(HitTest, TheTopmostCardWinsAndEdgesCount) {
    TestTable t;
    GameState& s = t.s();
    s.Deck[5].X = 100;
    s.Deck[5].Y = 200;
    s.Deck[6].X = 150;
    s.Deck[6].Y = 200;
    for (int k = 1; k <= 52; ++k) s.DrawOrder[k] = static_cast<uint8_t>(k);  // 6 is painted after 5
    for (int i = 1; i <= 52; ++i)
        if (i != 5 && i != 6) s.Deck[i].X = s.Deck[i].Y = -1000;
    EXPECT_EQ(t.game.HitTest(100, 200), 5);  // top-left corner
    EXPECT_EQ(t.game.HitTest(149, 304), 5);  // bottom edge
    EXPECT_EQ(t.game.HitTest(150, 250), 6);  // the overlap goes to the card on top
    EXPECT_EQ(t.game.HitTest(224, 304), 6);  // right and bottom edge
    EXPECT_EQ(t.game.HitTest(225, 250), 0);
    EXPECT_EQ(t.game.HitTest(120, 305), 0);
    EXPECT_EQ(t.game.HitTest(99, 250), 0);
}

} // namespace
} // namespace zarv::testing
