// Where things lie on the table, in pixels of the drawing area: the seats'
// hands, the trick piles, the landing points of played cards, the closed
// pack, the give-up image, the master mark and trump sign, and the board.
// The engine moves cards by these numbers and the window draws by them, so
// each number lives here once.
#pragma once

#include "engine/game_state.h"

namespace zarv::layout {

struct Point {
    double x = 0, y = 0;
};

// A rectangle by its edges; a point on an edge lies inside.
struct Box {
    double left = 0, top = 0, right = 0, bottom = 0;
    bool Contains(double x, double y) const { return left <= x && x <= right && top <= y && y <= bottom; }
    double width() const { return right - left; }
    double height() const { return bottom - top; }
};

// Size of the give-up image.
constexpr int kGiveUpWidth = 56;
constexpr int kGiveUpHeight = 40;
// The master mark's square below a seat's hand, and the trump sign beside it.
constexpr int kMarkSize = 30;

// Places the four seats around the table, the local seat at the bottom.
void PlaceSeats(GameState& s);
// Rescales seats and cards when the drawing area changes size, and the unit with them.
void Rescale(GameState& s, int oldWidth, int oldHeight, int newWidth, int newHeight);

// Where the k-th card (1..7) of a trick pile lies: the local side's pile beside
// the partner's hand, the other side's below the left seat's hand. Unrounded.
Point PileCardPlace(const GameState& s, bool localSide, int k);
// The same point in whole pixels, for the winner's side and its n-th trick.
Point TrickPilePoint(const GameState& s, int winner, int n);
// Where a card played by the seat lands, as seen from this machine.
Point LandingPoint(const GameState& s, int seat);
// Where the local player's clicked card lands: the middle, shifted towards its place.
Point ClickLandingPoint(const GameState& s, const CardRecord& card);
// A card's own place in the closed pack (Deck index d).
Point PackPlace(int d);
// The k-th card (0-based) of a hand dealt from (x, y): a row that rises to an
// arch at most seven pixels high and falls again.
Point HandCardPlace(const GameState& s, double x, double y, int first, int k);

Box GiveUpBox(const GameState& s);
// The master mark's square and the trump sign's place, below the seat's hand.
Point MasterMarkPlace(const SeatRecord& seat);
Point TrumpSignPlace(const SeatRecord& seat);
// The seat's hand frame and its name tab.
Box HandFrame(const GameState& s, const SeatRecord& seat);
Box NameTab(const GameState& s, const SeatRecord& seat);

// The board in the lower right corner, as wide as the hands played need.
struct Board {
    Box frame;   // the outer frame
    Box inner;   // the black board on it
    Box caption; // "Result"
    // Column i (0-based): the hand number's heading and the two teams' cells.
    Box Heading(int i) const;
    Box Cell(int i, int team) const;
};
// How many columns the results board shows: one a hand played, and the
// hand in play while the game goes on.
int BoardColumns(const GameState& s);
Board BoardPlace(const GameState& s, int width, int height);

} // namespace zarv::layout
