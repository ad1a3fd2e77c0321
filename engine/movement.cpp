// Where cards go when they move: the pack, the hands, the table and the trick
// piles. The arithmetic lives here so that a headless game leaves Deck,
// DrawOrder and Hands exactly as the window does; the view only animates.
#include <algorithm>
#include <utility>

#include "engine/game.h"
#include "engine/table_layout.h"

namespace zarv {

void Game::PlaceSeats() { layout::PlaceSeats(s_); }

void Game::GatherCards() {
    std::array<CardMove, 52> moves;
    size_t n = 0;
    for (int k = 1; k <= 52; ++k) {
        const int d = s_.DrawOrder[k];
        if (d < 1 || d > 52 || s_.Deck[d].Owner == kInPack) continue;
        // Back to the card's own place in the closed pack, as the shuffle laid it.
        const layout::Point at = layout::PackPlace(d);
        moves[n++] = CardMove{d, static_cast<int>(at.x), static_cast<int>(at.y), kInPack};
    }
    if (n > 0) AnimateCards(std::span(moves.data(), n), !s_.Tracing);
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
    for (int k = 0; k < count; ++k) {
        const layout::Point at = layout::HandCardPlace(s_, targetX, targetY, first, k);
        moves[k] = CardMove{first + k, static_cast<int>(at.x), static_cast<int>(at.y), owner};
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

    if (s_.Animating || instant_) {
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
