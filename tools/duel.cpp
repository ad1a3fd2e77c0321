#include "tools/duel.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <mutex>
#include <ostream>
#include <random>
#include <thread>
#include <cstdlib>

#include "ai/level_player.h"
#include "engine/game.h"
#include "engine/headless.h"
#include "cmdline/options.h"

namespace zarv::sim {

using namespace cmdline;

namespace {

// Seats 1 and 3 play one level, seats 2 and 4 the other. A level that reads
// the table knows which seats play by the standard tables; its partner and
// any other computer reason their own way, and their plays are not read.
class MixedPlayer : public ComputerPlayer {
public:
    MixedPlayer(const GameState& s, ai::Level levelA, ai::Level levelB, ai::ExpertOptions options)
        : s_(s), a_(s, Knowing(options, levelB, 2)), b_(s, Knowing(options, levelA, 1)) {
        a_.SetLevel(levelA);
        b_.SetLevel(levelB);
    }
    CardChoice SelectCard(int seat, int position) override { return Of(seat).SelectCard(seat, position); }
    Suit ChooseTrump(int first, int count) override { return Of(s_.MasterPlayer).ChooseTrump(first, count); }

private:
    static ai::ExpertOptions Knowing(ai::ExpertOptions o, ai::Level others, int anOtherSeat) {
        ai::SeatModels models{ai::SeatModel::Unread, ai::SeatModel::Unread, ai::SeatModel::Unread, ai::SeatModel::Unread,
                              ai::SeatModel::Unread};
        if (others == ai::Level::Standard)
            models[static_cast<size_t>(anOtherSeat)] = models[static_cast<size_t>(anOtherSeat + 2)] = ai::SeatModel::Standard;
        o.models = models;
        return o;
    }
    ai::LevelPlayer& Of(int seat) { return IsTeamA(seat) ? a_ : b_; }
    const GameState& s_;
    ai::LevelPlayer a_, b_;
};

struct Scores : GameObserver {
    Game& game;
    bool stopAfterHand;
    int winner = 0, points = 0;
    Scores(Game& g, bool oneHand) : game(g), stopAfterHand(oneHand) {}
    void TrickSettled(const TrickRecord&) override {}
    void HandScored(int w, int p) override {
        winner = w;
        points = p;
        if (stopAfterHand) game.EndHere();
    }
};

struct Table : HeadlessGame {
    MixedPlayer player;
    Table(uint64_t seed, ai::Level levelA, ai::Level levelB, ai::ExpertOptions o)
        : HeadlessGame(seed), player(game.state(), levelA, levelB, o) {
        game.SetComputerPlayer(&player);
        AllComputerSeats();
    }
};

ai::Level ParseLevel(const std::string& text) {
    if (const auto level = ai::LevelFromText(text)) return *level;
    throw UsageError{"a level is " + ai::LevelChoices() + ", not '" + text + "'"};
}

} // namespace

// Level a's share of everything won, and its 95% interval: the deals (or
// game pairs) are the samples, and the share a ratio of two sums, so its
// spread comes from each deal's difference from that share (normal
// approximation). Even play on every deal gives an interval of zero width.
Share ShareOf(const std::vector<std::array<long long, 2>>& results) {
    double a = 0, total = 0;
    for (const auto& [x, y] : results) {
        a += static_cast<double>(x);
        total += static_cast<double>(x + y);
    }
    const double n = static_cast<double>(results.size());
    if (total <= 0 || n < 1) return {};
    Share s;
    s.value = a / total;
    double spread = 0;
    for (const auto& [x, y] : results) {
        const double d = static_cast<double>(x) - s.value * static_cast<double>(x + y);
        spread += d * d;
    }
    const double se = n > 1 ? std::sqrt(spread / (n * (n - 1))) / (total / n) : 0;
    s.lo = std::max(0.0, s.value - 1.96 * se);
    s.hi = std::min(1.0, s.value + 1.96 * se);
    return s;
}

namespace {

using Deal = std::array<CardCode, 52>;

struct DuelSetup {
    bool games = false;  // whole games instead of single deals
    long long n = 0;
    uint64_t seed = 1;
    ai::Level levelA = ai::Level::Expert, levelB = ai::Level::Standard;
    int jobs = 1;
    ai::ExpertOptions options;
};

DuelSetup ReadDuelArgs(const std::vector<std::string>& args) {
    if (args.size() < 2) throw UsageError{"duel needs the number of deals (or game pairs)"};
    std::vector<std::string> rest(args);
    DuelSetup d;
    d.games = std::erase(rest, std::string("--games")) > 0;
    d.n = ParseWhole(rest[1], "the number of deals", 1, 1'000'000);
    const auto o = ParseOptions(rest, 2, {"--seed", "--team-a", "--team-b", "--samples", "--jobs"});
    d.seed = o.count("--seed") ? ParseSeed(o.at("--seed"), "--seed") : 1;
    d.levelA = o.count("--team-a") ? ParseLevel(o.at("--team-a")) : ai::Level::Expert;
    d.levelB = o.count("--team-b") ? ParseLevel(o.at("--team-b")) : ai::Level::Standard;
    const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
    d.jobs = static_cast<int>(o.count("--jobs") ? ParseWhole(o.at("--jobs"), "--jobs", 1, 256) : cores);
    d.options.seed = d.seed;
    d.options.samples = o.count("--samples") ? static_cast<int>(ParseWhole(o.at("--samples"), "--samples", 1, 100'000)) : 0;
    if (d.options.samples > 0) d.options.millis = 0;  // a fixed cost and a reproducible duel
    return d;
}

// The deals are drawn first, in order, so the result does not depend on how
// many threads play them.
std::vector<Deal> DrawDeals(long long n, uint64_t seed) {
    std::mt19937_64 rng(seed);
    std::vector<Deal> deals(static_cast<size_t>(n));
    for (auto& deal : deals) {
        int k = 0;
        for (Suit s : {'g', 'p', 'h', 'x'})
            for (int r = 2; r <= 14; ++r) deal[static_cast<size_t>(k++)] = CardCode{s, static_cast<uint8_t>(r)};
        std::shuffle(deal.begin(), deal.end(), rng);
    }
    return deals;
}

// Deal (or game) i played twice, the levels changing seats between the runs:
// level a's and level b's points (or wins).
std::array<long long, 2> PlayBothWays(const DuelSetup& d, long long i, const Deal* deal) {
    long long a = 0, b = 0;
    for (int swap = 0; swap < 2; ++swap) {
        // Run 0: seats 1 and 3 play level a; run 1: they play level b.
        const bool aOnSeatsA = swap == 0;
        Table t(d.seed + static_cast<uint64_t>(i), aOnSeatsA ? d.levelA : d.levelB, aOnSeatsA ? d.levelB : d.levelA,
                d.options);
        const GameState& s = t.s();
        Scores scores(t.game, !d.games);
        t.game.SetObserver(&scores);
        if (!deal) {
            t.game.StartClick();
            const bool seatsAWon = s.PointsA >= 7;
            ((seatsAWon == aOnSeatsA) ? a : b) += 1;
            continue;
        }
        const int master = static_cast<int>(i % 4) + 1;
        t.game.DealGivenHand(*deal, master, master);
        t.game.TurnLoop();
        (IsTeamA(scores.winner) == aOnSeatsA ? a : b) += scores.points;
    }
    return {a, b};
}

// Runs play(0) .. play(n - 1) on that many threads, each taking the next.
template <typename Play>
void ShareOut(long long n, int jobs, Play play) {
    std::atomic<long long> next{0};
    std::vector<std::thread> workers;
    for (int j = 0; j < jobs; ++j)
        workers.emplace_back([&] {
            for (long long i; (i = next++) < n;) play(i);
        });
    for (auto& w : workers) w.join();
}

// A line on the error stream as the duel goes (every pair while there are
// few, every hundredth part of them when there are many), with what the pairs
// finished so far have won: a long duel stopped early still says something.
class Progress {
public:
    Progress(long long n, bool games, std::ostream& err) : n_(n), games_(games), err_(err) {}
    void Done(const std::array<long long, 2>& result) {
        const std::lock_guard<std::mutex> lock(mutex_);
        ++done_;
        a_ += result[0];
        b_ += result[1];
        if (n_ > 100 && done_ * 100 / n_ == (done_ - 1) * 100 / n_) return;
        err_ << "duel: " << done_ << " of " << n_ << (games_ ? " game pairs" : " deals") << " done, team a "
             << a_ << (games_ ? " wins" : " points") << ", team b " << b_ << std::endl;
    }

private:
    const long long n_;
    const bool games_;
    std::ostream& err_;
    std::mutex mutex_;
    long long done_ = 0, a_ = 0, b_ = 0;
};

} // namespace

int RunDuel(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    const DuelSetup d = ReadDuelArgs(args);
    const auto start = std::chrono::steady_clock::now();
    const std::vector<Deal> deals = d.games ? std::vector<Deal>() : DrawDeals(d.n, d.seed);
    std::vector<std::array<long long, 2>> results(static_cast<size_t>(d.n));  // level a's and level b's points or wins
    Progress progress(d.n, d.games, err);
    ShareOut(d.n, d.jobs, [&](long long i) {
        const auto result = PlayBothWays(d, i, d.games ? nullptr : &deals[static_cast<size_t>(i)]);
        results[static_cast<size_t>(i)] = result;
        progress.Done(result);
    });
    long long pa = 0, pb = 0;
    for (const auto& [a, b] : results) {
        pa += a;
        pb += b;
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const Share share = ShareOf(results);
    char line[256];
    if (d.games)
        std::snprintf(line, sizeof line, "duel games %lld team-a-wins %lld team-b-wins %lld win-rate %.4f ci95 %.4f-%.4f seconds %.3f",
                      d.n, pa, pb, share.value, share.lo, share.hi, seconds);
    else
        std::snprintf(line, sizeof line,
                      "duel deals %lld team-a-points %lld team-b-points %lld point-share %.4f ci95 %.4f-%.4f seconds %.3f", d.n,
                      pa, pb, share.value, share.lo, share.hi, seconds);
    out << line << '\n';
    return 0;
}

} // namespace zarv::sim
