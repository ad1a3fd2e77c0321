#include "ai/beginner.h"

#include <algorithm>
#include <array>
#include <vector>

#include "engine/game.h"

namespace zarv::ai {

namespace {

// Cheaper first: a card outside the ZARV before a ZARV, then the lower rank.
bool Cheaper(CardCode a, CardCode b, Suit trump) {
    const bool at = a.suit == trump, bt = b.suit == trump;
    if (at != bt) return !at;
    return a.rank < b.rank;
}

CardCode Cheapest(const std::vector<CardCode>& cards, Suit trump) {
    return *std::min_element(cards.begin(), cards.end(), [&](CardCode a, CardCode b) { return Cheaper(a, b, trump); });
}

// Who takes the trick as it lies now (the leader's card always counts).
int WinnerSoFar(const TrickRecord& trick, Suit trump) { return TrickWinnerOf(trick, trump); }

CardCode Lead(const std::vector<CardCode>& legal, Suit trump) {
    // An ace or a king outside the ZARV goes first: it is sure to win, thinks a learner.
    for (uint8_t rank : {14, 13})
        for (CardCode c : legal)
            if (c.rank == rank && c.suit != trump) return c;
    // Otherwise the lowest card of the longest suit.
    std::array<int, 4> length{};
    for (CardCode c : legal) ++length[static_cast<size_t>(SuitIndex(c.suit))];
    CardCode pick = legal.front();
    for (CardCode c : legal) {
        const int lc = length[static_cast<size_t>(SuitIndex(c.suit))], lp = length[static_cast<size_t>(SuitIndex(pick.suit))];
        if (lc > lp || (lc == lp && Cheaper(c, pick, trump))) pick = c;
    }
    return pick;
}

} // namespace

double BeginnerPlayer::Chance(int seat, uint64_t salt) const {
    uint64_t h = (options_.seed ^ salt) * 0x9E3779B97F4A7C15ULL + static_cast<uint64_t>(seat);
    for (size_t t = 1; t < state_.Tricks.size(); ++t)
        for (int p = 1; p <= 4; ++p) {
            const CardCode c = state_.Tricks[t].Cards[p];
            h = (h ^ (static_cast<uint64_t>(c.suit) << 8 | c.rank)) * 0x100000001B3ULL;
        }
    for (int i = 1; i <= 52; ++i) h = (h ^ state_.Deck[i].Owner) * 0x100000001B3ULL;
    h ^= h >> 33;
    h *= 0xFF51AFD7ED558CCDULL;
    h ^= h >> 33;
    return static_cast<double>(h >> 11) * 0x1.0p-53;
}

CardChoice BeginnerPlayer::SelectCard(int seat, int position) {
    const std::vector<CardCode> legal = LegalCardsOf(state_, seat);
    if (legal.empty()) return {};
    if (legal.size() == 1) return {legal.front(), CardReason::OnlyCardAllowed()};
    const double mistake = Chance(seat, 1);
    if (mistake < options_.mistakeRate) {
        const double which = mistake / options_.mistakeRate;  // again uniform in [0, 1)
        return {legal[static_cast<size_t>(which * static_cast<double>(legal.size()))], CardReason::Of(Tactic::PlayAnything)};
    }
    const Suit trump = state_.Trump;
    if (position <= 1) {
        const CardCode lead = Lead(legal, trump);
        return {lead, CardReason::Of(lead.rank >= 13 ? Tactic::PlayHighest : Tactic::PlayLowest)};
    }
    const TrickRecord& trick = state_.CurrentTrick();
    if (SameTeam(WinnerSoFar(trick, trump), seat) && WinnerSoFar(trick, trump) != seat)
        return {Cheapest(legal, trump), CardReason::Of(Tactic::PlayLowest)};
    std::vector<CardCode> winners;
    for (CardCode c : legal) {
        TrickRecord tried = trick;
        tried.Cards[static_cast<size_t>(seat)] = c;
        if (WinnerSoFar(tried, trump) == seat) winners.push_back(c);
    }
    if (!winners.empty()) return {Cheapest(winners, trump), CardReason::Of(Tactic::PlayLowest)};
    return {Cheapest(legal, trump), CardReason::Of(Tactic::PlayLowest)};
}

Suit BeginnerPlayer::ChooseTrump(int first, int count) {
    std::array<int, 4> length{}, strength{};
    for (int i = first; i < first + count && i <= 52; ++i) {
        const CardCode c = state_.Deck[i].Card;
        if (SuitIndex(c.suit) < 0) continue;
        ++length[static_cast<size_t>(SuitIndex(c.suit))];
        strength[static_cast<size_t>(SuitIndex(c.suit))] += c.rank;
    }
    const Suit suits[4] = {'g', 'p', 'h', 'x'};
    const double mistake = Chance(state_.MasterPlayer, 2);
    if (mistake < options_.mistakeRate) {
        // Any suit among its five, the first that comes to mind.
        std::vector<Suit> held;
        for (int s = 0; s < 4; ++s)
            if (length[static_cast<size_t>(s)] > 0) held.push_back(suits[s]);
        if (!held.empty()) return held[static_cast<size_t>(mistake / options_.mistakeRate * static_cast<double>(held.size()))];
    }
    int best = 0;
    for (int s = 1; s < 4; ++s) {
        const auto k = static_cast<size_t>(s), b = static_cast<size_t>(best);
        if (length[k] > length[b] || (length[k] == length[b] && strength[k] > strength[b])) best = s;
    }
    return suits[best];
}

} // namespace zarv::ai
