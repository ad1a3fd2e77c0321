#include "engine/table_layout.h"

#include <algorithm>

namespace zarv::layout {

namespace {
Point Rounded(double x, double y) { return {static_cast<double>(RoundHalfEven(x)), static_cast<double>(RoundHalfEven(y))}; }
} // namespace

void PlaceSeats(GameState& s) {
    const double w = s.ScaleWidth, h = s.ScaleHeight, u = s.LayoutUnit;
    const int l = s.LocalSeat;
    auto place = [&](int seat, double x, double y) {
        s.Seats[seat].X = RoundHalfEven(x);
        s.Seats[seat].Y = RoundHalfEven(y);
    };
    place(l, (w - (12 * u + kCardWidth)) / 2, h - 164);
    place(NextSeat(l), 30, (h - kCardHeight) / 2);
    place(PartnerOf(l), (w - (12 * u + kCardWidth)) / 2, 30);
    place(PreviousSeat(l), w - (14 * u + kCardWidth) - 5, (h - kCardHeight) / 2);
}

void Rescale(GameState& s, int oldWidth, int oldHeight, int newWidth, int newHeight) {
    s.LayoutUnit = kDesignLayoutUnit;
    s.ScaleWidth = newWidth;
    s.ScaleHeight = newHeight;
    if (newWidth == oldWidth || oldWidth <= 0 || oldHeight <= 0) return;
    s.LayoutUnit = RoundHalfEven(static_cast<double>(kDesignLayoutUnit) * newWidth / kTableWidth);
    const double fx = static_cast<double>(newWidth) / oldWidth;
    const double fy = static_cast<double>(newHeight) / oldHeight;
    for (SeatRecord& seat : s.Seats) {
        seat.X = RoundHalfEven(seat.X * fx);
        seat.Y = RoundHalfEven(seat.Y * fy);
    }
    for (CardRecord& card : s.Deck) {
        card.X = RoundHalfEven(card.X * fx);
        card.Y = RoundHalfEven(card.Y * fy);
    }
}

Point PileCardPlace(const GameState& s, bool localSide, int k) {
    const double u = s.LayoutUnit;
    if (localSide) {
        const SeatRecord& p = s.Seats[PartnerOf(s.LocalSeat)];
        return {p.X + u * (k + 19), p.Y + u * (k - 1)};
    }
    const SeatRecord& q = s.Seats[NextSeat(s.LocalSeat)];
    return {q.X + u * k, q.Y + kCardHeight + u * (k + 3)};
}

Point TrickPilePoint(const GameState& s, int winner, int n) {
    const Point p = PileCardPlace(s, SameTeam(winner, s.LocalSeat), n);
    return Rounded(p.x, p.y);
}

Point LandingPoint(const GameState& s, int seat) {
    const int l = s.LocalSeat;
    int dx = 0, dy = 0;
    if (seat == PreviousSeat(l)) dx = 40;
    if (seat == l) dy = 40;
    if (seat == NextSeat(l)) dx = -20;
    if (seat == PartnerOf(l)) dy = -40;
    return Rounded((s.ScaleWidth - kCardWidth) / 2.0 + dx, (s.ScaleHeight - kCardHeight) / 2.0 + dy);
}

Point ClickLandingPoint(const GameState& s, const CardRecord& card) {
    return Rounded((s.ScaleWidth - kCardWidth) / 2.0 + card.X / 30.0, (s.ScaleHeight - kCardHeight) / 2.0 + card.Y / 10.0);
}

Point PackPlace(int d) { return Rounded((54 - d) / 7.0 + 20, (53 - d) / 5.0 + 20); }

Point HandCardPlace(const GameState& s, double x, double y, int first, int k) {
    // The rise starts at first mod 7 and turns down once it reaches 7.
    int offset = first % 7, step = 1;
    for (int i = 0; i < k; ++i) {
        if (offset >= 7) step = -1;
        offset += step;
    }
    return Rounded(x + s.LayoutUnit * k, y - offset);
}

Box GiveUpBox(const GameState& s) {
    const SeatRecord& seat = s.Seats[s.LocalSeat];
    const double u = s.LayoutUnit;
    // Beside the bottom left corner of the player's hand frame (below it the
    // felt has no room before the table's border; to its right the board grows).
    const double left = seat.X - u - 10 - kGiveUpWidth, top = seat.Y + kCardHeight + u - kGiveUpHeight;
    return {left, top, left + kGiveUpWidth, top + kGiveUpHeight};
}

Point MasterMarkPlace(const SeatRecord& seat) { return {static_cast<double>(seat.X), seat.Y + 109.0}; }

Point TrumpSignPlace(const SeatRecord& seat) { return {seat.X + 16.0, seat.Y + 109.0}; }

Box HandFrame(const GameState& s, const SeatRecord& seat) {
    const double u = s.LayoutUnit;
    return {seat.X - u, seat.Y - u, seat.X + 13 * u + kCardWidth, seat.Y + kCardHeight + u};
}

Box NameTab(const GameState& s, const SeatRecord& seat) {
    const double u = s.LayoutUnit;
    return {seat.X - u, seat.Y - u, seat.X + 3 * u + kCardWidth, seat.Y + 149.0};
}

int BoardColumns(const GameState& s) {
    const int played = std::clamp(s.HandsPlayed, 0, 13);
    // The hands played and the one in play; once the game is over, no more.
    const bool over = s.PointsA >= 7 || s.PointsB >= 7;
    return over ? std::max(played, 1) : played + 1;
}

Board BoardPlace(const GameState& s, int width, int height) {
    // Wide enough for its columns and a margin for the round corner.
    const double b = 16 * (BoardColumns(s) - 1) + 70, m = 26, u = s.LayoutUnit, w = width, h = height;
    Board board;
    board.frame = {w - b - 1 - u, h - 95 - 13 - m, w + 2 - u, h - 1 - m};
    board.inner = {w - b - 6 - u, h - 95 - 18 - m, w - 3 - u, h - 6 - m};
    board.caption = {board.inner.left + 3, board.inner.top + 8, board.inner.left + 45, board.inner.top + 98};
    return board;
}

Box Board::Heading(int i) const {
    const double x = inner.left + 45 + 16 * i;
    return {x, inner.top + 8, x + 15, inner.top + 30};
}

Box Board::Cell(int i, int team) const {
    const double x = inner.left + 45 + 16 * i, top = inner.top + (team == 0 ? 36 : 68);
    return {x, top, x + 15, top + 28};
}

} // namespace zarv::layout
