// Where cards go when they move: the pack, the hands, the table and the trick
// piles. The arithmetic lives here so that a headless game leaves Deck,
// DrawOrder and Hands exactly as the window does; the view only animates.
#include <algorithm>
#include <utility>

#include "engine/game.h"

namespace zarv {

void Game::PlaceSeats() {
    const double w = s_.ScaleWidth, h = s_.ScaleHeight, u = s_.LayoutUnit;
    const int l = s_.LocalSeat;
    auto place = [&](int seat, double x, double y) {
        s_.Seats[seat].X = RoundHalfEven(x);
        s_.Seats[seat].Y = RoundHalfEven(y);
    };
    place(l, (w - (12 * u + 74)) / 2, h - 164);
    place(NextSeat(l), 30, (h - 104) / 2);
    place(PartnerOf(l), (w - (12 * u + 74)) / 2, 30);
    place(PreviousSeat(l), w - (14 * u + 74) - 5, (h - 104) / 2);
}

void Game::RescaleLayout(int oldWidth, int oldHeight, int newWidth, int newHeight) {
    s_.LayoutUnit = kDesignLayoutUnit;
    s_.ScaleWidth = newWidth;
    s_.ScaleHeight = newHeight;
    if (newWidth == oldWidth || oldWidth <= 0 || oldHeight <= 0) return;
    s_.LayoutUnit = RoundHalfEven(13.0 * newWidth / kTableWidth);
    const double fx = static_cast<double>(newWidth) / oldWidth;
    const double fy = static_cast<double>(newHeight) / oldHeight;
    for (SeatRecord& seat : s_.Seats) {
        seat.X = RoundHalfEven(seat.X * fx);
        seat.Y = RoundHalfEven(seat.Y * fy);
    }
    for (CardRecord& card : s_.Deck) {
        card.X = RoundHalfEven(card.X * fx);
        card.Y = RoundHalfEven(card.Y * fy);
    }
}

void Game::TrickPilePoint(int winner, int n, int& x, int& y) const {
    const double u = s_.LayoutUnit;
    if (SameTeam(winner, s_.LocalSeat)) {
        const SeatRecord& p = s_.Seats[PartnerOf(s_.LocalSeat)];
        x = RoundHalfEven(p.X + u * (n + 19));
        y = RoundHalfEven(p.Y + u * (n - 1));
    } else {
        const SeatRecord& q = s_.Seats[NextSeat(s_.LocalSeat)];
        x = RoundHalfEven(q.X + u * n);
        y = RoundHalfEven(q.Y + 104 + u * (n + 3));
    }
}

void Game::LandingPoint(int seat, int& x, int& y) const {
    const int l = s_.LocalSeat;
    int dx = 0, dy = 0;
    if (seat == PreviousSeat(l)) dx = 40;
    if (seat == l) dy = 40;
    if (seat == NextSeat(l)) dx = -20;
    if (seat == PartnerOf(l)) dy = -40;
    x = RoundHalfEven((s_.ScaleWidth - 74) / 2.0 + dx);
    y = RoundHalfEven((s_.ScaleHeight - 104) / 2.0 + dy);
}

void Game::GatherCards() {
    std::array<CardMove, 52> moves;
    size_t n = 0;
    for (int k = 1; k <= 52; ++k) {
        const int d = s_.DrawOrder[k];
        if (d < 1 || d > 52 || s_.Deck[d].Owner == kInPack) continue;
        // Back to the card's own place in the closed pack, as the shuffle laid it.
        moves[n++] = CardMove{d, static_cast<int>(RoundHalfEven((54 - d) / 7.0 + 20)),
                              static_cast<int>(RoundHalfEven((53 - d) / 5.0 + 20)), kInPack};
    }
    if (n > 0) AnimateCards(std::span(moves.data(), n), s_.TraceMode == 0);
    if (std::all_of(s_.Deck.begin() + 1, s_.Deck.end(), [](const CardRecord& c) { return c.Owner == kInPack; }))
        for (int i = 1; i <= 52; ++i) s_.DrawOrder[i] = static_cast<uint8_t>(53 - i);
    for (int seat = 1; seat <= 4; ++seat)
        for (int k = 1; k <= 13; ++k) s_.Hands[seat][k] = TrickRecord::Cleared();
}

void Game::SortRun(int first, int count) {
    auto key = [&](int i) { return 100 * static_cast<unsigned char>(s_.Deck[i].Card.suit) + s_.Deck[i].Card.rank; };
    const int last = first + count - 1;
    for (int pos = first; pos <= last; ++pos) {
        int best = pos;
        for (int i = pos + 1; i <= last; ++i)
            if (key(i) > key(best)) best = i;
        if (best != pos) std::swap(s_.Deck[pos], s_.Deck[best]);
    }
}

void Game::DealCards(int first, int count, double targetX, double targetY, int owner,
                     std::optional<bool> faceDown, bool sortFirst) {
    if (sortFirst) SortRun(first, count);
    std::array<CardMove, 52> moves;
    count = std::clamp(count, 0, 53 - first);
    int offset = first % 7, step = 1;
    for (int k = 0; k < count; ++k) {
        moves[k] = CardMove{first + k, static_cast<int>(RoundHalfEven(targetX + s_.LayoutUnit * k)),
                            static_cast<int>(RoundHalfEven(targetY - offset)), owner};
        // The hand rises to an arch at most 7 pixels high, then falls again.
        if (offset >= 7) step = -1;
        offset += step;
    }
    AnimateCards(std::span(moves.data(), static_cast<size_t>(count)), faceDown);
}

void Game::BuildHand(int seat) {
    int slot = 0;
    for (int i = 1; i <= 52 && slot < 13; ++i)
        if (s_.Deck[i].Owner == seat) s_.Hands[seat][++slot] = TrickRecord::Held(seat, s_.Deck[i].Card);
    while (slot < 13) s_.Hands[seat][++slot] = TrickRecord::Cleared();
}

void Game::AnimateCards(std::span<CardMove> moves, std::optional<bool> faceDown) {
    auto settle = [&] {
        for (const CardMove& m : moves) {
            CardRecord& card = s_.Deck[m.index];
            card.X = m.toX;
            card.Y = m.toY;
            card.Owner = static_cast<uint8_t>(m.owner);
        }
    };
    // A card that starts to move is painted last, on top of the others.
    for (CardMove& m : moves) {
        auto first = s_.DrawOrder.begin() + 1, end = s_.DrawOrder.end();
        auto it = std::find(first, end, static_cast<uint8_t>(m.index));
        if (it != end) std::rotate(it, it + 1, end);
        CardRecord& card = s_.Deck[m.index];
        card.FaceDown = faceDown.value_or(false);
        m.fromX = card.X;
        m.fromY = card.Y;
    }

    if (s_.Animating) {
        // A movement asked for while another is shown (from an event handled
        // during the steps): the cards still go where the game needs them,
        // only without being shown on the way.
        settle();
        return;
    }
    services_.view.EnableMenu(MenuItem::Options, false);
    s_.Animating = true;
    services_.view.ShowMovement(moves);
    settle();
    std::array<int, 52> moved;
    for (size_t k = 0; k < moves.size(); ++k) moved[k] = moves[k].index;
    services_.view.RepaintCards(std::span<const int>(moved.data(), moves.size()));
    s_.Animating = false;
    services_.view.EnableMenu(MenuItem::Options, true);
    services_.pump.ProcessEvents();
}

} // namespace zarv
