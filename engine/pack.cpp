// The pack: its codes in a random suit order, and the shuffle.
#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

#include "engine/game.h"

namespace zarv {

void Game::MakeCardFaces() {
    const int t = static_cast<int>(RandomFraction() * 3 + 1);
    Suit order[5] = {};
    order[t % 4 + 1] = 'g';
    order[(t + 1) % 4 + 1] = 'p';
    order[(t + 2) % 4 + 1] = 'x';
    order[(t + 3) % 4 + 1] = 'h';
    s_.Deck[0].Face = 0;
    int k = 1;
    for (int i = 1; i <= 4; ++i) {
        for (int r = 2; r <= 14; ++r, ++k) {
            CardRecord& card = s_.Deck[k];
            card.Card = CardCode{order[i], static_cast<uint8_t>(r)};
            card.Owner = kInPack;
            card.Face = k;
        }
    }
    services_.view.MakeCardPictures();
}

void Game::Shuffle(int times) {
    if (s_.IsDealer) {
        services_.random.Reseed();
        // The exchanges are made on positions, and the records moved once at
        // the end: the same order, for a fraction of the copying.
        std::array<uint8_t, 53> from;
        for (int i = 0; i <= 52; ++i) from[i] = static_cast<uint8_t>(i);
        // A round exchanges the pairs (j, 52 - j) for j = 1..k; for j above 26
        // that is pair 52 - j again. The pairs are disjoint, so the rounds only
        // count how often each pair is exchanged: an odd count exchanges it.
        std::array<int, 27> flips{};  // flips[j] - flips[j + 1]: how often pair j turns
        for (int n = 0; n < times; ++n) {
            const int k = static_cast<int>(RandomFraction() * 25) + 5;
            ++flips[1];
            --flips[std::min(k, 25) + 1];
            if (k >= 27) {  // pairs 52 - k .. 25 turn back
                ++flips[52 - k];
                --flips[26];
            }
        }
        for (int j = 1, count = 0; j <= 25; ++j) {
            count += flips[j];
            if (count % 2) std::swap(from[j], from[52 - j]);
        }
        for (int n = 0; n < times; ++n) {
            const int a = static_cast<int>(RandomFraction() * 52) + 1;
            const int b = static_cast<int>(RandomFraction() * 52) + 1;
            std::swap(from[a], from[b]);
        }
        const std::array<CardRecord, 53> before = s_.Deck;
        for (int i = 1; i <= 52; ++i) s_.Deck[i] = before[from[i]];
    }
    for (int i = 1; i <= 52; ++i) {
        s_.Deck[i].Owner = kInPack;
        s_.Deck[i].FaceDown = true;
        s_.DrawOrder[i] = static_cast<uint8_t>(53 - i);
        CardRecord& card = s_.Deck[s_.DrawOrder[i]];
        card.X = RoundHalfEven((i + 1) / 7.0 + 20);
        card.Y = RoundHalfEven(i / 5.0 + 20);
    }
}

void Game::TakeDealOrder(const std::array<CardCode, 52>& order) {
    for (int i = 1; i <= 52; ++i) {
        const int d = s_.FindCard(order[static_cast<size_t>(i - 1)]);
        if (d > 0 && d != i) std::swap(s_.Deck[i], s_.Deck[d]);
    }
    // Closed as after a shuffle, in a pile that leans its own way.
    int t = static_cast<int>(RandomFraction() * 16 + 2), step = 1;
    for (int i = 1; i <= 52; ++i) {
        s_.Deck[i].Owner = kInPack;
        s_.Deck[i].FaceDown = true;
        s_.DrawOrder[i] = static_cast<uint8_t>(53 - i);
    }
    for (int i = 1; i <= 52; ++i) {
        CardRecord& card = s_.Deck[53 - i];
        card.X = static_cast<int32_t>(RoundHalfEven(20 + t / 5.0 + std::floor(RandomFraction() * 3 - 2)));
        card.Y = static_cast<int32_t>(RoundHalfEven(20 + i / 5.0 + std::floor(RandomFraction() * 3 - 2)));
        t += step;
        if (t == 26) step = -1;
    }
}

} // namespace zarv
