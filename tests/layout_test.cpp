// The table's geometry: where seats, piles, landing cards and the flag lie,
// and how rescaling rounds: how things lie to one another, and the rounding
// worked out by hand.
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

bool Overlap(const layout::Box& a, const layout::Box& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}
bool OnTable(const GameState& s, const layout::Box& b) {
    return b.left >= 0 && b.top >= 0 && b.right <= s.ScaleWidth && b.bottom <= s.ScaleHeight;
}
layout::Box CardAt(Point p) { return {p.x, p.y, p.x + kCardWidth, p.y + kCardHeight}; }
double CentreX(const layout::Box& b) { return (b.left + b.right) / 2; }
double CentreY(const layout::Box& b) { return (b.top + b.bottom) / 2; }

TEST(Layout, SeatsSitAroundTheTableWithTheLocalSeatAtTheBottom) {
    for (int local = 1; local <= 4; ++local) {
        GameState s;
        s.LocalSeat = local;
        layout::PlaceSeats(s);
        layout::Box frame[5];
        for (int seat = 1; seat <= 4; ++seat) {
            frame[seat] = layout::HandFrame(s, s.Seats[seat]);
            EXPECT_TRUE(OnTable(s, frame[seat])) << "seat " << seat << " of local " << local;
            for (int other = 1; other < seat; ++other) EXPECT_FALSE(Overlap(frame[seat], frame[other])) << seat << "/" << other;
        }
        const int partner = PartnerOf(local), left = NextSeat(local), right = PreviousSeat(local);
        // The local seat at the bottom, its partner at the top, both in the middle.
        EXPECT_NEAR(CentreX(frame[local]), s.ScaleWidth / 2.0, kCardWidth / 2.0) << local;
        EXPECT_EQ(CentreX(frame[partner]), CentreX(frame[local])) << local;
        EXPECT_LT(frame[partner].bottom, frame[left].top) << local;
        EXPECT_GT(frame[local].top, frame[left].bottom) << local;
        // The seat after the local one sits on the left, the one before it on the right, level.
        EXPECT_LT(frame[left].right, frame[local].left) << local;
        EXPECT_GT(frame[right].left, frame[local].right) << local;
        EXPECT_EQ(CentreY(frame[left]), CentreY(frame[right])) << local;
    }
}

TEST(Layout, PlayedCardsLandBesideTheMiddleTowardsTheirSeat) {
    const GameState s = PlacedTable();
    const double middleX = (s.ScaleWidth - kCardWidth) / 2.0, middleY = (s.ScaleHeight - kCardHeight) / 2.0;
    const Point below = layout::LandingPoint(s, 3), above = layout::LandingPoint(s, 1);
    const Point left = layout::LandingPoint(s, 4), right = layout::LandingPoint(s, 2);
    EXPECT_GT(below.y, middleY);
    EXPECT_LT(above.y, middleY);
    EXPECT_LT(left.x, middleX);
    EXPECT_GT(right.x, middleX);
    EXPECT_EQ(below.x, above.x);
    EXPECT_EQ(left.y, right.y);
    // The four cards of a trick each stay in sight: none lies on another's whole face.
    for (int seat = 1; seat <= 4; ++seat) {
        EXPECT_TRUE(OnTable(s, CardAt(layout::LandingPoint(s, seat)))) << seat;
        for (int other = 1; other < seat; ++other) {
            const Point p = layout::LandingPoint(s, seat), q = layout::LandingPoint(s, other);
            EXPECT_TRUE(p.x != q.x || p.y != q.y) << seat << "/" << other;
        }
    }
    // Odd widths: 384.5 goes to 384, 385.5 to 386 (halves to even).
    EXPECT_EQ(layout::LandingPoint(PlacedTable(843, 676), 3).x, 384);
    EXPECT_EQ(layout::LandingPoint(PlacedTable(845, 676), 3).x, 386);
    // A clicked card lands shifted by its own place: 384 + 315 / 30 = 394.5 -> 394.
    CardRecord card;
    card.X = 315;
    card.Y = 500;
    EXPECT_EQ(layout::ClickLandingPoint(s, card).x, 394);
    card.X = 345;  // 384 + 11.5 = 395.5 -> 396
    EXPECT_EQ(layout::ClickLandingPoint(s, card).x, 396);
}

TEST(Layout, TrickPilesLieBesideThePartnerAndBelowTheLeftSeat) {
    const GameState s = PlacedTable();
    const layout::Box partner = layout::HandFrame(s, s.Seats[1]), left = layout::HandFrame(s, s.Seats[4]);
    Point before{};
    for (int n = 1; n <= 7; ++n) {
        // The local side's tricks (won by seat 1 or 3) to the right of the partner's hand.
        const Point ours = layout::TrickPilePoint(s, n % 2 ? 1 : 3, n);
        EXPECT_GE(ours.x, partner.right - kCardWidth / 2.0) << n;
        EXPECT_LT(ours.y, left.top) << n;
        EXPECT_TRUE(OnTable(s, CardAt(ours))) << n;
        if (n > 1) {
            EXPECT_GT(ours.x, before.x) << n;  // each trick a step further out
        }
        before = ours;
        // The other side's below the left seat's hand.
        const Point theirs = layout::TrickPilePoint(s, n % 2 ? 2 : 4, n);
        EXPECT_GE(theirs.y, left.bottom) << n;
        EXPECT_LT(theirs.x, CentreX(partner)) << n;
        EXPECT_TRUE(OnTable(s, CardAt(theirs))) << n;
    }
}

TEST(Layout, TheClosedPackAndTheHandsArch) {
    // The pack's cards lie close together in the top left corner.
    for (int d = 1; d <= 52; ++d) {
        const Point p = layout::PackPlace(d);
        EXPECT_GE(p.x, 0);
        EXPECT_LT(p.x, 2 * kCardWidth);
        EXPECT_LT(p.y, kCardHeight);
    }
    // A hand's row rises at most seven pixels above where it is dealt from and
    // falls again, a unit a card to the right.
    const GameState s = PlacedTable();
    for (int first = 1; first <= 40; first += 13) {
        double highest = -1e9, lowest = 1e9;
        bool falling = false;
        for (int k = 0; k < 13; ++k) {
            const Point p = layout::HandCardPlace(s, 100, 200, first, k);
            EXPECT_EQ(p.x, 100 + s.LayoutUnit * k);
            if (k > 0) {
                const double prev = layout::HandCardPlace(s, 100, 200, first, k - 1).y;
                if (p.y > prev) falling = true;
                if (falling) {
                    EXPECT_GE(p.y, prev) << "first " << first << " card " << k;  // one arch, not a wave
                }
            }
            highest = std::max(highest, p.y);
            lowest = std::min(lowest, p.y);
        }
        EXPECT_GE(lowest, 200 - 7) << "first " << first;  // the arch's top
        EXPECT_GT(highest, lowest) << "first " << first;
    }
}

TEST(Layout, TheGiveUpFlagLiesBesideTheLocalHandEdgesIncluded) {
    const GameState s = PlacedTable();
    const layout::Box box = layout::GiveUpBox(s);
    const layout::Box hand = layout::HandFrame(s, s.Seats[3]);
    // Level with the hand frame's foot, left of it.
    EXPECT_EQ(box.bottom, hand.bottom);
    EXPECT_LT(box.right, hand.left);
    EXPECT_TRUE(OnTable(s, box));
    EXPECT_EQ(box.width(), layout::kGiveUpWidth);
    EXPECT_EQ(box.height(), layout::kGiveUpHeight);
    EXPECT_TRUE(box.Contains(box.left, box.top));
    EXPECT_TRUE(box.Contains(box.right, box.bottom));
    EXPECT_FALSE(box.Contains(box.left - 1, box.top + 5));
    EXPECT_FALSE(box.Contains(box.left + 5, box.bottom + 1));
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
    const layout::Board two = layout::BoardPlace(s, kTableWidth, kTableHeight);
    s.HandsPlayed = 3;
    const layout::Board three = layout::BoardPlace(s, kTableWidth, kTableHeight);
    // In the lower right corner, growing to the left by one column.
    EXPECT_EQ(three.frame.right, two.frame.right);
    EXPECT_EQ(three.frame.bottom, two.frame.bottom);
    EXPECT_LT(kTableWidth - two.frame.right, 3 * s.LayoutUnit);
    EXPECT_LT(kTableHeight - two.frame.bottom, 3 * s.LayoutUnit);
    const double column = two.Heading(2).left - two.Heading(1).left;
    EXPECT_GT(column, 0);
    EXPECT_EQ(two.frame.left - three.frame.left, column);
    EXPECT_GT(two.Cell(2, 1).top, two.Cell(2, 0).top);  // the second team's row below the first
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
