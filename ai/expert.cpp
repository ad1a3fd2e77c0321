#include "ai/expert.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <random>
#include <thread>
#include <utility>

#include "ai/card_selection.h"
#include "ai/playout.h"
#include "ai/world_draw.h"
#include "ai/world_value.h"
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
        if (o.stop && o.stop()) return false;
        if (o.samples > 0 && worlds >= o.samples) return false;
        if (o.millis > 0 && worlds >= 4 && Now() >= deadline) return false;
        return o.samples > 0 || o.millis > 0 || worlds < 64;
    }
};

// A world's own random numbers: the same world whichever thread looks at it.
std::mt19937_64 WorldRandom(uint64_t decisionSeed, int world) {
    return std::mt19937_64(decisionSeed ^ (static_cast<uint64_t>(world) + 1) * 0xD1B54A32D192ED03ULL);
}

} // namespace

ExpertOptions MasterOptions(ExpertOptions expert) {
    expert.samples *= 4;
    expert.millis *= 4;
    expert.exactCards += 2;
    expert.threads = 2;
    expert.master = true;
    return expert;
}

template <typename Look> int ExpertPlayer::ForEachWorld(Look look) {
    const Budget budget(options_);
    const int threads = std::max(1, options_.threads);
    if (static_cast<int>(searches_.size()) < threads) searches_.resize(static_cast<size_t>(threads));
    std::atomic<int> next{0}, looked{0};
    auto work = [&](int thread) {
        for (int k; budget.More(k = next.fetch_add(1));) {
            look(k, thread);
            ++looked;
        }
    };
    std::vector<std::thread> helpers;
    for (int t = 1; t < threads; ++t) helpers.emplace_back(work, t);
    work(0);
    for (auto& h : helpers) h.join();
    return looked;
}

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

namespace {

// Each world's values, added up in world order once all are in: the same sum
// however the threads shared them out.
class WorldValues {
public:
    WorldValues(int threads, size_t width) : width_(width), rows_(static_cast<size_t>(threads)) {}
    std::vector<double>& Row(int world, int thread) {
        auto& rows = rows_[static_cast<size_t>(thread)];
        rows.emplace_back(world, std::vector<double>(width_, 0.0));
        return rows.back().second;
    }
    std::vector<double> Sum() const {
        std::vector<std::pair<int, const std::vector<double>*>> all;
        for (const auto& rows : rows_)
            for (const auto& [world, values] : rows) all.emplace_back(world, &values);
        std::sort(all.begin(), all.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
        std::vector<double> sum(width_, 0.0);
        for (const auto& [world, values] : all)
            for (size_t i = 0; i < width_; ++i) sum[i] += (*values)[i];
        return sum;
    }

private:
    size_t width_;
    std::vector<std::vector<std::pair<int, std::vector<double>>>> rows_;
};

} // namespace

std::vector<double> ExpertPlayer::Reckon(int seat, const std::vector<CardCode>& legal) {
    const uint64_t seed = DecisionSeed(seat);
    const SeatModels models = options_.models.value_or(SeatsAsTheyAre(state_));
    const WorldDraw draw(state_, seat, models);
    int held = 0;
    for (int i = 1; i <= 52; ++i) held += state_.Deck[i].Owner == seat;
    WorldValuing how;
    how.exact = held <= options_.exactCards;
    const int opponent = NextSeat(seat);
    how.standardOpponents = models[static_cast<size_t>(opponent)] == SeatModel::Standard &&
                            models[static_cast<size_t>(PartnerOf(opponent))] == SeatModel::Standard;
    how.pointsOnly = options_.pointsOnly;
    // Per world: each legal card's value, then the world's weight.
    WorldValues values(std::max(1, options_.threads), legal.size() + 1);
    const int worlds = ForEachWorld([&](int k, int thread) {
        std::mt19937_64 rng = WorldRandom(seed, k);
        GameState world, spare;
        const double weight = draw.Draw(rng, world, spare).weight;
        std::vector<double>& row = values.Row(k, thread);
        row[legal.size()] = weight;
        const std::vector<double> inWorld = ValuesInWorld(world, seat, legal, how, searches_[static_cast<size_t>(thread)]);
        for (size_t c = 0; c < legal.size(); ++c) row[c] = weight * inWorld[c];
    });
    lastWorlds_ = worlds;
    return values.Sum();
}

std::vector<CardValue> ExpertPlayer::ValuesOfCards(int seat) {
    const std::vector<CardCode> legal = LegalCardsOf(state_, seat);
    lastWorlds_ = 0;
    if (legal.size() < 2) return legal.empty() ? std::vector<CardValue>{} : std::vector<CardValue>{{legal.front(), 0}};
    const std::vector<double> total = Reckon(seat, legal);
    const double weights = total[legal.size()] > 0 ? total[legal.size()] : 1;
    std::vector<CardValue> values;
    for (size_t c = 0; c < legal.size(); ++c) values.push_back({legal[c], total[c] / weights});
    return values;
}

CardChoice ExpertPlayer::SelectCard(int seat, int position) {
    const std::vector<CardCode> legal = LegalCardsOf(state_, seat);
    lastWorlds_ = 0;
    if (legal.empty()) return {};
    if (legal.size() == 1) return {legal.front(), CardReason::OnlyCardAllowed()};
    std::vector<double> total = Reckon(seat, legal);
    const double weights = total[legal.size()] > 0 ? total[legal.size()] : 1;
    const int worlds = lastWorlds_;
    // Among cards worth the same (exact values tie often), the standard
    // player's card: it also plays well against people who do not see all.
    const CardCode usual = ChooseMove(state_, seat, position).card;
    for (size_t c = 0; c < legal.size(); ++c)
        if (legal[c] == usual) total[c] += 1e-6 * weights;
    size_t best = 0, second = 1;
    for (size_t c = 1; c < legal.size(); ++c) {
        if (total[c] > total[best]) {
            second = best;
            best = c;
        } else if (c != best && (second == best || total[c] > total[second])) {
            second = c;
        }
    }
    const ExpertReckoning reckoning{legal[best], total[best] / weights, legal[second], total[second] / weights, worlds,
                                    options_.master};
    return {legal[best], CardReason::Of(reckoning)};
}

Suit ExpertPlayer::ChooseTrump(int first, int count) {
    const int master = state_.MasterPlayer;
    const uint64_t seed = DecisionSeed(master) ^ 0x5A5A5A5AULL;
    // The master sees its first cards; the rest of the pack is dealt anew in each world.
    std::vector<int> unseenCards;
    for (int i = 1; i <= 52; ++i)
        if (i < first || i >= first + count) unseenCards.push_back(i);
    const Suit suits[4] = {'g', 'p', 'h', 'x'};
    WorldValues values(std::max(1, options_.threads), 4);
    lastWorlds_ = ForEachWorld([&](int k, int thread) {
        std::mt19937_64 rng = WorldRandom(seed, k);
        std::vector<int> unseen = unseenCards;
        std::shuffle(unseen.begin(), unseen.end(), rng);
        GameState world = state_;
        // The master takes 13 - count more, the others 13 each.
        size_t next = 0;
        for (int i = first; i < first + count; ++i) world.Deck[i].Owner = static_cast<uint8_t>(master);
        for (int c = count; c < 13; ++c) world.Deck[unseen[next++]].Owner = static_cast<uint8_t>(master);
        for (int p = 1; p <= 4; ++p)
            if (p != master)
                for (int c = 0; c < 13; ++c) world.Deck[unseen[next++]].Owner = static_cast<uint8_t>(p);
        for (int p = 1; p <= 4; ++p) {
            int slot = 0;
            for (int i = 1; i <= 52 && slot < 13; ++i)
                if (world.Deck[i].Owner == p) world.Hands[p][++slot] = TrickRecord::Held(p, world.Deck[i].Card);
        }
        world.Tricks.assign(2, TrickRecord{});
        world.Turn = master;
        world.TrickPosition = 1;
        std::vector<double>& row = values.Row(k, thread);
        for (size_t s = 0; s < 4; ++s) {
            world.Trump = suits[s];
            row[s] = PlayOut(world).ValueFor(master);
        }
    });
    const std::vector<double> total = values.Sum();
    int best = 0;
    for (int s = 1; s < 4; ++s)
        if (total[static_cast<size_t>(s)] > total[static_cast<size_t>(best)]) best = s;
    return suits[best];
}

} // namespace zarv::ai
