// The pack: its codes in a random suit order, and the shuffle.
#include <utility>

#include "engine/game.h"

namespace zarv {

void Game::MakeCardFaces() {
    const int t = static_cast<int>(Rnd() * 3 + 1);
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
        for (int n = 0; n < times; ++n) {
            const int k = static_cast<int>(Rnd() * 25) + 5;
            for (int j = 1; j <= k; ++j) std::swap(s_.Deck[j], s_.Deck[52 - j]);
        }
        for (int n = 0; n < times; ++n) {
            const int a = static_cast<int>(Rnd() * 52) + 1;
            const int b = static_cast<int>(Rnd() * 52) + 1;
            std::swap(s_.Deck[a], s_.Deck[b]);
        }
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

} // namespace zarv
