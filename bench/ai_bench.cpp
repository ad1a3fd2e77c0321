// How fast the computer player decides, and how fast whole games run headless.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <vector>

#include "ai/card_selection.h"
#include "ai/trump_choice.h"
#include "ai/expert.h"
#include "ai/hand_review.h"
#include "ai/playout.h"
#include "ai/trick_search.h"
#include "engine/game.h"
#include "engine/headless.h"

namespace {

using namespace zarv;

struct Position {
    GameState state;
    int seat;
};

// Records the table at every computer move of a few seeded games.
class Recorder : public ComputerPlayer {
public:
    explicit Recorder(Game& game) : game_(game), inner_(game.positionForTests()) {}
    CardChoice SelectCard(int seat, int position) override {
        if (position >= 1 && position <= 4) positions[position - 1].push_back({game_.positionForTests(), seat});
        return inner_.SelectCard(seat, position);
    }
    Suit ChooseTrump(int first, int count) override { return inner_.ChooseTrump(first, count); }
    std::array<std::vector<Position>, 4> positions;

private:
    Game& game_;
    ai::ComputerSeatPlayer inner_;
};

struct Headless : HeadlessGame {
    explicit Headless(uint64_t seed) : HeadlessGame(seed) { AllComputerSeats(); }
};

const std::array<std::vector<Position>, 4>& RecordedPositions() {
    static const auto positions = [] {
        Headless h(2024);
        Recorder recorder(h.game);
        h.game.SetComputerPlayer(&recorder);
        for (int i = 0; i < 3; ++i) h.game.StartClick();
        return recorder.positions;
    }();
    return positions;
}

void BM_SelectCard(benchmark::State& st) {
    const auto& positions = RecordedPositions()[st.range(0) - 1];
    size_t i = 0;
    for (auto _ : st) {
        const Position& p = positions[i++ % positions.size()];
        benchmark::DoNotOptimize(ai::ChooseMove(p.state, p.seat, static_cast<int>(st.range(0))));
    }
}
BENCHMARK(BM_SelectCard)->DenseRange(1, 4)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_ChooseTrump(benchmark::State& st) {
    std::vector<GameState> deals;
    for (const auto& p : RecordedPositions()[0])
        if (deals.size() < 64) deals.push_back(p.state);
    size_t i = 0;
    for (auto _ : st) benchmark::DoNotOptimize(ai::ChooseTrump(deals[i++ % deals.size()], 1, 5));
}
BENCHMARK(BM_ChooseTrump)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

// The Expert: one card decided with a fixed number of worlds, and hands
// played out in the head (playouts a second).
void BM_ExpertCard(benchmark::State& st) {
    const auto& positions = RecordedPositions()[static_cast<size_t>(st.range(0)) - 1];
    size_t i = 0;
    for (auto _ : st) {
        const Position& p = positions[i++ % positions.size()];
        ai::ExpertPlayer expert(p.state, ai::ExpertOptions{static_cast<int>(st.range(1)), 0, 1});
        benchmark::DoNotOptimize(expert.SelectCard(p.seat, static_cast<int>(st.range(0))));
    }
}
BENCHMARK(BM_ExpertCard)->Args({1, 16})->Args({1, 64})->Args({3, 64})->Unit(benchmark::kMillisecond);

void BM_PlayOut(benchmark::State& st) {
    const auto& positions = RecordedPositions()[0];
    size_t i = 0;
    for (auto _ : st) benchmark::DoNotOptimize(ai::PlayOut(positions[i++ % positions.size()].state));
    st.counters["playouts_per_second"] = benchmark::Counter(static_cast<double>(st.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_PlayOut)->Unit(benchmark::kMicrosecond);

// The exact search of one world (every hand known) at a stage of the hand:
// the seat to move holds range(0) cards.
void BM_TrickSearch(benchmark::State& st) {
    std::vector<ai::SearchPosition> stage;
    for (const auto& list : RecordedPositions())
        for (const Position& p : list) {
            int held = 0;
            for (int i = 1; i <= 52; ++i) held += p.state.Deck[i].Owner == p.seat;
            if (held == st.range(0)) stage.push_back(ai::PositionOf(p.state));
        }
    ai::TrickSearch search(50'000'000);
    size_t i = 0;
    long nodes = 0;
    for (auto _ : st) {
        benchmark::DoNotOptimize(search.ValuesOfMoves(stage[i++ % stage.size()]));
        nodes += search.nodes();
    }
    st.counters["nodes"] = benchmark::Counter(static_cast<double>(nodes) / static_cast<double>(st.iterations()));
}
BENCHMARK(BM_TrickSearch)->DenseRange(3, 13)->Unit(benchmark::kMicrosecond);

// How long the Expert and the Master take a decision as the table runs them
// (their worlds or their time cap, whichever first), over whole seeded games:
// the median and the 99th percentile, for cards and for trumps apart. Arg 0:
// four Experts; 1: four Masters; 2: Experts at seats 1 and 3 against the
// Standard player, whose plays they read exactly.
class TimedExpert : public ComputerPlayer {
public:
    TimedExpert(const GameState& s, ai::ExpertOptions o, bool againstStandard)
        : s_(s), expert_(s, o), standard_(s), againstStandard_(againstStandard) {}
    CardChoice SelectCard(int seat, int position) override {
        if (againstStandard_ && !IsTeamA(seat)) return standard_.SelectCard(seat, position);
        const auto start = Clock::now();
        CardChoice c = expert_.SelectCard(seat, position);
        cards.push_back(Millis(start));
        if (expert_.lastWorlds() > 0 && expert_.lastWorlds() < worlds) ++capped;
        return c;
    }
    Suit ChooseTrump(int first, int count) override {
        if (againstStandard_ && !IsTeamA(s_.MasterPlayer)) return standard_.ChooseTrump(first, count);
        const auto start = Clock::now();
        const Suit t = expert_.ChooseTrump(first, count);
        trumps.push_back(Millis(start));
        return t;
    }
    std::vector<double> cards, trumps;
    int capped = 0;  // card decisions the time cap cut short
    int worlds = ai::kDefaultWorlds;

private:
    using Clock = std::chrono::steady_clock;
    static double Millis(Clock::time_point start) {
        return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    }
    const GameState& s_;
    ai::ExpertPlayer expert_;
    ai::ComputerSeatPlayer standard_;
    bool againstStandard_;
};

double Percentile(std::vector<double> v, double q) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v[static_cast<size_t>(q * static_cast<double>(v.size() - 1))];
}

void BM_ExpertDecisionTimes(benchmark::State& st) {
    const bool master = st.range(1) == 1, againstStandard = st.range(1) == 2;
    ai::ExpertOptions options{ai::kDefaultWorlds, 100, 1};
    if (againstStandard)
        options.models = ai::SeatModels{ai::SeatModel::Unread, ai::SeatModel::Unread, ai::SeatModel::Standard,
                                        ai::SeatModel::Unread, ai::SeatModel::Standard};
    if (master) options = ai::MasterOptions(options);
    for (auto _ : st) {
        std::vector<double> cards, trumps;
        int capped = 0;
        for (uint64_t seed = 1; seed <= static_cast<uint64_t>(st.range(0)); ++seed) {
            Headless h(seed);
            TimedExpert expert(h.game.positionForTests(), options, againstStandard);
            expert.worlds = options.samples;
            h.game.SetComputerPlayer(&expert);
            h.game.StartClick();
            cards.insert(cards.end(), expert.cards.begin(), expert.cards.end());
            trumps.insert(trumps.end(), expert.trumps.begin(), expert.trumps.end());
            capped += expert.capped;
        }
        st.counters["cards_cut_short"] = capped;
        st.counters["card_median_ms"] = Percentile(cards, 0.5);
        st.counters["card_p99_ms"] = Percentile(cards, 0.99);
        st.counters["trump_median_ms"] = Percentile(trumps, 0.5);
        st.counters["trump_p99_ms"] = Percentile(trumps, 0.99);
        st.counters["cards"] = static_cast<double>(cards.size());
        st.counters["trumps"] = static_cast<double>(trumps.size());
    }
}
BENCHMARK(BM_ExpertDecisionTimes)->Args({4, 0})->Args({2, 1})->Args({4, 2})->Iterations(1)->Unit(benchmark::kSecond);

// A whole review of one seat's hand, as the window (two threads) or the
// server (one) makes it: the first hands of a few games of standard players.
void BM_ReviewHand(benchmark::State& st) {
    std::vector<SavedHand> hands;
    for (uint64_t seed = 1; seed <= 4; ++seed) {
        Headless h(seed);
        ai::ComputerSeatPlayer player(h.game.positionForTests());
        h.game.SetComputerPlayer(&player);
        StopAfterHand stop(h.game);
        h.game.SetObserver(&stop);
        h.game.StartClick();
        hands.push_back(*h.game.LastPlayedHand());
    }
    const ai::ExpertOptions options = ai::ReviewOptions(static_cast<int>(st.range(0)));
    for (auto _ : st) {
        std::vector<double> seconds;
        for (const SavedHand& hand : hands) {
            const auto start = std::chrono::steady_clock::now();
            benchmark::DoNotOptimize(ai::ReviewHand(hand, 1, options));
            seconds.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        }
        st.counters["review_median_s"] = Percentile(seconds, 0.5);
        st.counters["review_max_s"] = Percentile(seconds, 1.0);
    }
}
BENCHMARK(BM_ReviewHand)->Arg(1)->Arg(2)->Iterations(1)->Unit(benchmark::kSecond);

void BM_WholeGame(benchmark::State& st) {
    Headless h(7);
    ai::ComputerSeatPlayer player(h.game.positionForTests());
    h.game.SetComputerPlayer(&player);
    for (auto _ : st) h.game.StartClick();
    st.counters["games_per_second"] = benchmark::Counter(static_cast<double>(st.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_WholeGame)->Unit(benchmark::kMillisecond)->Repetitions(3)->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
