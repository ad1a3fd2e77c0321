#include "ai/expert.h"

#include <algorithm>
#include <chrono>
#include <random>

#include "ai/card_selection.h"
#include "ai/playout.h"
#include "ai/world_sampler.h"
#include "engine/game.h"

namespace zarv::ai {

namespace {

double SteadySeconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// Whether another world should be looked at.
struct Budget {
    const ExpertOptions& o;
    double deadline;
    explicit Budget(const ExpertOptions& options) : o(options), deadline(Now() + options.millis / 1000) {}
    double Now() const { return o.clock ? o.clock() : SteadySeconds(); }
    // At most the samples, and (when there is a cap) no longer than the cap,
    // though a few worlds even on a slow machine.
    bool More(int worlds) const {
        if (o.samples > 0 && worlds >= o.samples) return false;
        if (o.millis > 0 && worlds >= 4 && Now() >= deadline) return false;
        return o.samples > 0 || o.millis > 0 || worlds < 64;
    }
};

} // namespace

uint64_t ExpertPlayer::DecisionSeed(int seat) const {
    // The state's played cards and the seat: the same state decides the same.
    uint64_t h = options_.seed * 0x9E3779B97F4A7C15ULL + static_cast<uint64_t>(seat);
    for (size_t t = 1; t < state_.Tricks.size(); ++t)
        for (int p = 1; p <= 4; ++p) {
            const CardCode c = state_.Tricks[t].Cards[p];
            h = (h ^ (static_cast<uint64_t>(c.suit) << 8 | c.rank)) * 0x100000001B3ULL;
        }
    for (int i = 1; i <= 52; ++i) h = (h ^ state_.Deck[i].Owner) * 0x100000001B3ULL;
    return h;
}

CardChoice ExpertPlayer::SelectCard(int seat, int position) {
    const std::vector<CardCode> legal = LegalCardsOf(state_, seat);
    lastWorlds_ = 0;
    if (legal.empty()) return {};
    if (legal.size() == 1) return {legal.front(), CardReason::OnlyCardAllowed()};
    std::mt19937_64 rng(DecisionSeed(seat));
    const WorldSampler sampler(state_, seat);
    std::vector<double> total(legal.size(), 0.0);
    GameState world, copy;
    const Budget budget(options_);
    int worlds = 0;
    int held = 0;
    for (int i = 1; i <= 52; ++i) held += state_.Deck[i].Owner == seat;
    const double side = IsTeamA(seat) ? 1 : -1;
    const int master = state_.MasterPlayer;
    const bool judgeTrump = master >= 1 && master <= 4 && master != seat && state_.Trump != kNoSuit;
    for (; budget.More(worlds); ++worlds) {
        // A world where the master would have named another trump is
        // unlikely: another is drawn in its place (a few times at most).
        for (int attempt = 0; attempt < 8; ++attempt) {
            sampler.Sample(rng, world);
            if (!judgeTrump || MasterWouldNameTrump(world, master, rng)) break;
        }
        if (held <= options_.exactCards) {
            if (const auto values = search_.ValuesOfMoves(PositionOf(world))) {
                for (const auto& [card, value] : *values)
                    for (size_t c = 0; c < legal.size(); ++c)
                        if (legal[c] == card) total[c] += side * value;
                continue;
            }
        }
        for (size_t c = 0; c < legal.size(); ++c) {
            copy = world;
            const HandOutcome o = SimulatePlay(copy, seat, legal[c]) ? OutcomeOf(copy) : PlayOut(copy);
            total[c] += o.ValueFor(seat);
        }
    }
    lastWorlds_ = worlds;
    // Among cards worth the same (exact values tie often), the standard
    // player's card: it also plays well against people who do not see all.
    const CardCode usual = ChooseMove(state_, seat, position).card;
    for (size_t c = 0; c < legal.size(); ++c)
        if (legal[c] == usual) total[c] += 1e-6;
    size_t best = 0, second = legal.size() > 1 ? 1 : 0;
    for (size_t c = 1; c < legal.size(); ++c) {
        if (total[c] > total[best]) {
            second = best;
            best = c;
        } else if (c != best && (second == best || total[c] > total[second])) {
            second = c;
        }
    }
    const ExpertReckoning reckoning{legal[best], total[best] / worlds, legal[second], total[second] / worlds, worlds};
    return {legal[best], CardReason::Of(reckoning)};
}

Suit ExpertPlayer::ChooseTrump(int first, int count) {
    const int master = state_.MasterPlayer;
    std::mt19937_64 rng(DecisionSeed(master) ^ 0x5A5A5A5AULL);
    // The master sees its first cards; the rest of the pack is dealt anew in each world.
    std::vector<int> unseen;
    for (int i = 1; i <= 52; ++i)
        if (i < first || i >= first + count) unseen.push_back(i);
    const Suit suits[4] = {'g', 'p', 'h', 'x'};
    std::array<double, 4> total{};
    const Budget budget(options_);
    int worlds = 0;
    GameState world = state_;
    for (; budget.More(worlds); ++worlds) {
        std::shuffle(unseen.begin(), unseen.end(), rng);
        // The master takes 13 - count more, the others 13 each.
        size_t next = 0;
        for (int i = first; i < first + count; ++i) world.Deck[i].Owner = static_cast<uint8_t>(master);
        for (int k = count; k < 13; ++k) world.Deck[unseen[next++]].Owner = static_cast<uint8_t>(master);
        for (int p = 1; p <= 4; ++p)
            if (p != master)
                for (int k = 0; k < 13; ++k) world.Deck[unseen[next++]].Owner = static_cast<uint8_t>(p);
        for (int p = 1; p <= 4; ++p) {
            int slot = 0;
            for (int i = 1; i <= 52 && slot < 13; ++i)
                if (world.Deck[i].Owner == p) world.Hands[p][++slot] = TrickRecord::Held(p, world.Deck[i].Card);
        }
        world.Tricks.assign(2, TrickRecord{});
        world.Turn = master;
        world.TrickPosition = 1;
        for (int s = 0; s < 4; ++s) {
            world.Trump = suits[s];
            total[static_cast<size_t>(s)] += PlayOut(world).ValueFor(master);
        }
    }
    lastWorlds_ = worlds;
    int best = 0;
    for (int s = 1; s < 4; ++s)
        if (total[static_cast<size_t>(s)] > total[static_cast<size_t>(best)]) best = s;
    return suits[best];
}

} // namespace zarv::ai
