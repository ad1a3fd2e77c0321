#include "ai/world_sampler.h"

#include <algorithm>

#include "ai/trump_choice.h"

namespace zarv::ai {

uint8_t SuitBit(Suit suit) {
    const int i = SuitIndex(suit);
    return i < 0 ? 0 : static_cast<uint8_t>(1u << i);
}

WorldSampler::WorldSampler(const GameState& state, int seat) : state_(state), seat_(seat) {
    for (int i = 1; i <= 52; ++i) {
        const int owner = state.Deck[i].Owner;
        if (owner >= 1 && owner <= 4 && owner != seat) {
            unseen_.push_back(i);
            ++holding_[static_cast<size_t>(owner)];
        }
    }
    // A seat that did not follow the suit led holds none of it.
    for (size_t t = 1; t < state.Tricks.size(); ++t) {
        const TrickRecord& trick = state.Tricks[t];
        if (trick.Leader < 1 || trick.Leader > 4) continue;
        const Suit led = SuitOf(trick.Cards[trick.Leader]);
        for (int p = 1; p <= 4; ++p)
            if (!trick.Cards[p].empty() && SuitOf(trick.Cards[p]) != led) voids_[static_cast<size_t>(p)] |= SuitBit(led);
    }
}

bool WorldSampler::Sample(std::mt19937_64& rng, GameState& world) const {
    world = state_;
    std::vector<int> cards = unseen_;
    bool kept = false;
    for (int attempt = 0; attempt < 40 && !kept; ++attempt) {
        std::shuffle(cards.begin(), cards.end(), rng);
        std::array<int, 5> room = holding_;
        // The most constrained cards first: those fewer seats may hold.
        auto seatsFor = [&](int d) {
            int n = 0;
            for (int p = 1; p <= 4; ++p)
                if (p != seat_ && !(voids_[static_cast<size_t>(p)] & SuitBit(SuitOf(state_.Deck[d].Card)))) ++n;
            return n;
        };
        std::stable_sort(cards.begin(), cards.end(), [&](int a, int b) { return seatsFor(a) < seatsFor(b); });
        kept = true;
        std::vector<int> assigned(53, 0);
        for (int d : cards) {
            std::array<int, 4> options{};
            int n = 0;
            for (int p = 1; p <= 4; ++p)
                if (p != seat_ && room[static_cast<size_t>(p)] > 0 &&
                    !(voids_[static_cast<size_t>(p)] & SuitBit(SuitOf(state_.Deck[d].Card))))
                    options[static_cast<size_t>(n++)] = p;
            if (n == 0) {
                kept = false;
                break;
            }
            // Weighted by the room left, so every seat fills in proportion.
            int total = 0;
            for (int k = 0; k < n; ++k) total += room[static_cast<size_t>(options[static_cast<size_t>(k)])];
            int pick = static_cast<int>(rng() % static_cast<uint64_t>(total));
            int chosen = options[0];
            for (int k = 0; k < n; ++k) {
                pick -= room[static_cast<size_t>(options[static_cast<size_t>(k)])];
                if (pick < 0) {
                    chosen = options[static_cast<size_t>(k)];
                    break;
                }
            }
            --room[static_cast<size_t>(chosen)];
            assigned[static_cast<size_t>(d)] = chosen;
        }
        if (kept)
            for (int d : cards) world.Deck[d].Owner = static_cast<uint8_t>(assigned[static_cast<size_t>(d)]);
    }
    if (!kept) {
        // Keep the counts at least.
        std::array<int, 5> room = holding_;
        size_t next = 0;
        for (int p = 1; p <= 4; ++p)
            for (; room[static_cast<size_t>(p)] > 0 && p != seat_; --room[static_cast<size_t>(p)])
                world.Deck[cards[next++]].Owner = static_cast<uint8_t>(p);
    }
    SettleHeldSlots(world);
    return kept;
}

std::optional<std::pair<int, int>> WorldSampler::TradeUnseen(std::mt19937_64& rng, GameState& world, int seat,
                                                               CardCode card) const {
    std::vector<int> mine, others;
    for (int d : unseen_) (world.Deck[d].Owner == seat ? mine : others).push_back(d);
    if (mine.empty() || others.empty()) return std::nullopt;
    const int wanted = card.empty() ? 0 : world.FindCard(card);
    const int a = wanted && world.Deck[wanted].Owner == seat ? wanted : mine[rng() % mine.size()];
    for (int attempt = 0; attempt < 4; ++attempt) {
        const int b = others[rng() % others.size()];
        const int other = world.Deck[b].Owner;
        if ((voids_[static_cast<size_t>(seat)] & SuitBit(SuitOf(world.Deck[b].Card))) ||
            (voids_[static_cast<size_t>(other)] & SuitBit(SuitOf(world.Deck[a].Card))))
            continue;
        std::swap(world.Deck[a].Owner, world.Deck[b].Owner);
        return std::pair{a, b};
    }
    return std::nullopt;
}

void WorldSampler::SettleHeldSlots(GameState& world) const {
    // Each other seat's held slots take its new cards, in pack order.
    for (int p = 1; p <= 4; ++p) {
        if (p == seat_) continue;
        std::vector<CardCode> held;
        for (int i = 1; i <= 52; ++i)
            if (world.Deck[i].Owner == p) held.push_back(world.Deck[i].Card);
        size_t next = 0;
        for (int k = 1; k <= 13; ++k) {
            TrickRecord& slot = world.Hands[p][k];
            if (slot.Winner == -1 && !slot.Cards[p].empty() && next < held.size()) slot = TrickRecord::Held(p, held[next++]);
        }
    }
}

// Whether the world's master, given five of its thirteen cards at random as
// the first five, would have named the trump the table shows the way the
// standard player names it. A master names a suit it holds well, so worlds
// where it would not are set aside: the cards it was dealt are not random.
bool MasterWouldNameTrump(const GameState& world, int master, std::mt19937_64& rng) {
    std::vector<CardCode> cards;
    for (int i = 1; i <= 52; ++i)
        if (world.Deck[i].Owner == master) cards.push_back(world.Deck[i].Card);
    for (size_t t = 1; t < world.Tricks.size(); ++t)
        if (!world.Tricks[t].Cards[static_cast<size_t>(master)].empty()) cards.push_back(world.Tricks[t].Cards[static_cast<size_t>(master)]);
    if (cards.size() != 13) return true;
    for (size_t k = 0; k < 5; ++k) std::swap(cards[k], cards[k + rng() % (13 - k)]);
    const std::vector<CardCode> seen(cards.begin(), cards.begin() + 5);
    std::vector<CardCode> outside;
    for (Suit s : {'g', 'p', 'h', 'x'})
        for (uint8_t r = 2; r <= 14; ++r)
            if (std::find(seen.begin(), seen.end(), CardCode{s, r}) == seen.end()) outside.push_back(CardCode{s, r});
    return ChooseTrumpFrom(seen, outside) == world.Trump;
}

} // namespace zarv::ai
