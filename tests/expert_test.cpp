// The Expert computer player: the worlds it imagines, the cards it plays, and
// the duel that measures it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <sstream>

#include "ai/card_selection.h"
#include "ai/expert.h"
#include "ai/playout.h"
#include "ai/world_draw.h"
#include "ai/world_sampler.h"
#include "ai/world_value.h"
#include "tests/test_table.h"
#include "tools/duel.h"
#include "tools/simulator.h"

namespace zarv::testing {
namespace {

// A world the seat may imagine: its own hand and every card played where they
// are, each seat holding as many cards as before, none of a suit its owner
// showed void in (when the voids could be kept), and hand slots that agree
// with the pack.
void ExpectAPossibleWorld(const GameState& s, int seat, const GameState& world, const std::array<uint8_t, 5>& voids,
                          bool voidsKept) {
    std::array<int, 5> held{}, heldBefore{};
    for (int i = 1; i <= 52; ++i) {
        const int before = s.Deck[i].Owner, after = world.Deck[i].Owner;
        if (before == seat || before > 4 || before == 0) {
            ASSERT_EQ(after, before) << i;
        }
        if (after >= 1 && after <= 4) ++held[static_cast<size_t>(after)];
        if (before >= 1 && before <= 4) ++heldBefore[static_cast<size_t>(before)];
        if (voidsKept && after >= 1 && after <= 4 && after != seat) {
            ASSERT_FALSE(voids[static_cast<size_t>(after)] & ai::SuitBit(SuitOf(s.Deck[i].Card)))
                << "seat " << after << " got " << s.Deck[i].Card.text();
        }
    }
    EXPECT_EQ(held, heldBefore);
    for (int p = 1; p <= 4; ++p)
        for (int k = 1; k <= 13; ++k) {
            const TrickRecord& slot = world.Hands[p][k];
            if (slot.Winner == -1 && !slot.Cards[p].empty()) {
                ASSERT_EQ(world.Deck[world.FindCard(slot.Cards[p])].Owner, p);
            }
        }
}

// Worlds dealt at random, and worlds drawn for what the standard seats'
// plays say (mended by trading cards between seats).
TEST(WorldSampler, NoWorldGivesASeatACardItCannotHold) {
    constexpr ai::SeatModels kAllStandard{ai::SeatModel::Standard, ai::SeatModel::Standard, ai::SeatModel::Standard,
                                          ai::SeatModel::Standard, ai::SeatModel::Standard};
    for (uint64_t seed : {3u, 8u, 21u}) {
        for (int decision : {7, 19, 30}) {
            int seat = 0;
            const GameState s = MidHand(seed, decision, seat);
            ASSERT_GE(seat, 1);
            const ai::WorldSampler sampler(s, seat);
            const ai::WorldDraw draw(s, seat, kAllStandard);
            std::mt19937_64 rng(seed);
            GameState world, spare;
            for (int n = 0; n < 300; ++n) {
                const bool kept = sampler.Sample(rng, world);
                ExpectAPossibleWorld(s, seat, world, sampler.voids(), kept);
                if (n % 10 == 0) {
                    draw.Draw(rng, world, spare);
                    ExpectAPossibleWorld(s, seat, world, sampler.voids(), true);
                }
            }
        }
    }
}

// The voids the table has shown, read from the tricks: a seat that did not
// follow the suit led holds none of it.
std::array<std::array<bool, 5>, 5> ShownVoids(const GameState& s) {
    std::array<std::array<bool, 5>, 5> voids{};
    for (size_t t = 1; t < s.Tricks.size(); ++t) {
        const TrickRecord& trick = s.Tricks[t];
        if (trick.Leader < 1 || trick.Leader > 4) continue;
        const Suit led = SuitOf(trick.Cards[static_cast<size_t>(trick.Leader)]);
        for (int p = 1; p <= 4; ++p) {
            const CardCode c = trick.Cards[static_cast<size_t>(p)];
            if (!c.empty() && SuitOf(c) != led) voids[static_cast<size_t>(p)][static_cast<size_t>(SuitIndex(led))] = true;
        }
    }
    return voids;
}

TEST(WorldSampler, AVoidShownIsAVoidKept) {
    int checked = 0, voidsShown = 0;
    for (uint64_t seed : {5u, 8u, 13u}) {
        for (int decision = 10; decision < 40; decision += 3) {
            int seat = 0;
            const GameState s = MidHand(seed, decision, seat);
            const auto voids = ShownVoids(s);
            for (int p = 1; p <= 4; ++p)
                for (bool v : voids[static_cast<size_t>(p)]) voidsShown += p != seat && v;
            const ai::WorldSampler sampler(s, seat);
            std::mt19937_64 rng(seed * 100 + static_cast<uint64_t>(decision));
            GameState world;
            for (int n = 0; n < 50; ++n) {
                if (!sampler.Sample(rng, world)) continue;  // voids that cannot all be kept
                for (int i = 1; i <= 52; ++i) {
                    const int owner = world.Deck[i].Owner;
                    if (owner < 1 || owner > 4 || owner == seat) continue;
                    const Suit suit = SuitOf(world.Deck[i].Card);
                    if (!voids[static_cast<size_t>(owner)][static_cast<size_t>(SuitIndex(suit))]) continue;
                    ADD_FAILURE() << "seat " << owner << " showed a void in " << suit << " and got "
                                  << world.Deck[i].Card.text() << " (seed " << seed << ", decision " << decision << ")";
                    return;
                }
                ++checked;
            }
        }
    }
    EXPECT_GT(voidsShown, 10) << "these hands show too few voids to say anything";
    EXPECT_GT(checked, 100) << "too few worlds kept their voids to say anything";
}

// A master names a suit it holds well: worlds kept for the trump give the
// master more trumps than worlds drawn blind.
TEST(WorldSampler, WorldsKeptForTheTrumpGiveTheMasterMoreTrumps) {
    int judged = 0;
    for (uint64_t seed : {2u, 6u, 12u}) {
        int seat = 0;
        const GameState s = MidHand(seed, 2, seat);
        const int master = s.MasterPlayer;
        if (seat == master) continue;
        const ai::WorldSampler sampler(s, seat);
        std::mt19937_64 rng(seed);
        GameState world;
        double all = 0, kept = 0;
        int n = 0, k = 0;
        for (; n < 600; ++n) {
            sampler.Sample(rng, world);
            int trumps = 0;
            for (int i = 1; i <= 52; ++i)
                trumps += SuitOf(world.Deck[i].Card) == s.Trump &&
                          (world.Deck[i].Owner == master || world.Deck[i].Owner == master + 4);
            for (size_t t = 1; t + 1 < world.Tricks.size(); ++t) trumps += SuitOf(world.Tricks[t].Cards[static_cast<size_t>(master)]) == s.Trump;
            all += trumps;
            if (ai::MasterWouldNameTrump(world, master, rng)) {
                kept += trumps;
                ++k;
            }
        }
        ASSERT_GT(k, 20);
        EXPECT_GT(kept / k, all / n + 0.4) << "seed " << seed;
        ++judged;
    }
    EXPECT_GE(judged, 2);
}

class Checked : public ComputerPlayer {
public:
    Checked(Game& g, ai::ExpertOptions o) : g_(g), expert_(g.state(), o) {}
    CardChoice SelectCard(int seat, int position) override {
        const CardChoice c = expert_.SelectCard(seat, position);
        ++moves;
        if (!g_.IsLegalCard(seat, c.card)) ++refused;
        if (c.reason.kind != CardReason::Kind::Reckoning && c.reason.kind != CardReason::Kind::OnlyCard) ++unexplained;
        return c;
    }
    Suit ChooseTrump(int first, int count) override { return expert_.ChooseTrump(first, count); }
    long moves = 0, refused = 0, unexplained = 0;

private:
    Game& g_;
    ai::ExpertPlayer expert_;
};

TEST(ExpertPlayer, PlaysOnlyLegalCardsToTheEndOfWholeGames) {
    for (uint64_t seed : {1u, 2u, 3u, 4u, 5u, 6u}) {
        HeadlessGame h(seed);
        h.AllComputerSeats();
        Checked player(h.game, ai::ExpertOptions{3, 0, seed});
        h.game.SetComputerPlayer(&player);
        h.game.StartClick();
        EXPECT_TRUE(h.s().PointsA >= 7 || h.s().PointsB >= 7);
        EXPECT_GT(player.moves, 100);
        EXPECT_EQ(player.refused, 0);
        EXPECT_EQ(player.unexplained, 0);
    }
}

TEST(ExpertPlayer, TheSameSeedDecidesTheSame) {
    int seat = 0;
    const GameState s = MidHand(9, 22, seat);
    ai::ExpertPlayer a(s, ai::ExpertOptions{16, 0, 4}), b(s, ai::ExpertOptions{16, 0, 4});
    const CardChoice first = a.SelectCard(seat, s.TrickPosition), second = b.SelectCard(seat, s.TrickPosition);
    EXPECT_EQ(first.card, second.card);
    EXPECT_EQ(first.reason, second.reason);  // the same worlds, so the same expected losses
}

TEST(ExpertPlayer, TheTimeCapIsKept) {
    int seat = 0;
    const GameState s = MidHand(9, 3, seat);
    // A clock that moves a millisecond each time it is read: the 20 ms cap
    // ends the decision long before its 5,000 worlds, whatever the machine.
    double now = 100;
    ai::ExpertOptions capped{5000, 20, 1};
    capped.clock = [&now] { return now += 0.001; };
    ai::ExpertPlayer timed(s, capped);
    timed.SelectCard(seat, s.TrickPosition);
    EXPECT_GE(timed.lastWorlds(), 4);  // a few worlds even on a slow machine
    EXPECT_LE(timed.lastWorlds(), 25);
    // The same decision without a cap looks at every world it was given.
    ai::ExpertPlayer uncapped(s, ai::ExpertOptions{200, 0, 1});
    uncapped.SelectCard(seat, s.TrickPosition);
    EXPECT_EQ(uncapped.lastWorlds(), 200);
}

TEST(ExpertPlayer, ADecisionToldToStopLooksAtNoMoreWorlds) {
    int seat = 0;
    const GameState s = MidHand(9, 3, seat);
    // With no limit of worlds or time it would look at 64; the stop ends it after ten questions.
    ai::ExpertOptions options{0, 0, 1};
    int asked = 0;
    options.stop = [&asked] { return ++asked > 10; };
    ai::ExpertPlayer stopped(s, options);
    const CardChoice c = stopped.SelectCard(seat, s.TrickPosition);
    EXPECT_LE(stopped.lastWorlds(), 10);
    const auto legal = LegalCardsOf(s, seat);
    EXPECT_NE(std::find(legal.begin(), legal.end(), c.card), legal.end());
}

// What the seat's side can make of a world at best when the other side plays
// by the standard tables: every card of ours tried, theirs as the tables say.
double BestAgainstTheTables(const GameState& s, int seat) {
    GameState g = s;
    for (;;) {
        const int turn = g.Turn;
        const std::vector<CardCode> legal = LegalCardsOf(g, turn);
        if (!SameTeam(turn, seat)) {
            CardCode card = ai::ChooseMove(g, turn, g.TrickPosition).card;
            if (!IsLegalCardOf(g, turn, card)) card = legal.front();
            if (ai::SimulatePlay(g, turn, card)) return ai::OutcomeOf(g).PointsFor(seat);
            continue;
        }
        double best = -4;
        for (const CardCode card : legal) {
            GameState next = g;
            best = std::max(best, ai::SimulatePlay(next, turn, card) ? ai::OutcomeOf(next).PointsFor(seat)
                                                                      : BestAgainstTheTables(next, seat));
        }
        return best;
    }
}

// The last cards of real hands, every hand known: exact play counts both
// sides finding their best, a play-out the standard player's choices for
// both. Against a side known to play by the standard tables a world is worth
// the better of the two, so a card that wins only because they go wrong still
// counts, and never more than our side's best against their play.
TEST(WorldValue, AgainstTheStandardPlayerAWorldIsWorthTheBetterOfExactAndPlayedOut) {
    ai::TrickSearch search;
    int positions = 0, theirMistakes = 0;
    for (uint64_t seed = 1; seed <= 8; ++seed)
        for (int decision = 30; decision <= 42; decision += 3) {
            int seat = 0;
            const GameState s = MidHand(seed, decision, seat);
            const std::vector<CardCode> legal = LegalCardsOf(s, seat);
            int held = 0;
            for (int i = 1; i <= 52; ++i) held += s.Deck[i].Owner == seat;
            if (seat < 1 || legal.size() < 2 || held > 6) continue;
            ++positions;
            const auto exact = search.ValuesOfMoves(ai::PositionOf(s));
            ASSERT_TRUE(exact.has_value());
            const double side = IsTeamA(seat) ? 1 : -1;
            const auto solved = ai::ValuesInWorld(s, seat, legal, {true, false, true}, search);
            const auto floored = ai::ValuesInWorld(s, seat, legal, {true, true, true}, search);
            const auto withMargin = ai::ValuesInWorld(s, seat, legal, {true, true, false}, search);
            const auto playedOut = ai::ValuesInWorld(s, seat, legal, {false, false, true}, search);
            for (size_t c = 0; c < legal.size(); ++c) {
                const std::string where = "seed " + std::to_string(seed) + " decision " + std::to_string(decision) +
                                          " card " + legal[c].text();
                double best = 0;
                for (const auto& [card, value] : *exact)
                    if (card == legal[c]) best = side * value;
                GameState rest = s;
                const ai::HandOutcome o = ai::SimulatePlay(rest, seat, legal[c]) ? ai::OutcomeOf(rest) : ai::PlayOut(rest);
                GameState after = s;
                const double ceiling = ai::SimulatePlay(after, seat, legal[c]) ? ai::OutcomeOf(after).PointsFor(seat)
                                                                             : BestAgainstTheTables(after, seat);
                EXPECT_EQ(solved[c], best) << where;
                EXPECT_EQ(playedOut[c], o.PointsFor(seat)) << where;
                EXPECT_EQ(floored[c], std::max(best, o.PointsFor(seat))) << where;
                EXPECT_LE(floored[c], ceiling) << where;
                if (o.PointsFor(seat) > best) {
                    ++theirMistakes;
                    EXPECT_EQ(withMargin[c], o.ValueFor(seat)) << "the play-out's tricks break ties: " << where;
                }
            }
        }
    EXPECT_GE(positions, 10);
    EXPECT_GT(theirMistakes, 0) << "no position where the standard player goes wrong: the test proves little";
}

TEST(Playout, AHandPlayedInTheHeadEndsWithSevenTricks) {
    int seat = 0;
    const GameState s = MidHand(11, 5, seat);
    const ai::HandOutcome o = ai::PlayOut(s);
    EXPECT_TRUE(o.tricksA == 7 || o.tricksB == 7);
    EXPECT_GE(o.points, 1);
    EXPECT_LE(o.points, 3);
    // What one side wins the other loses; the points count far more than
    // the tricks beyond seven, which only break ties between equal points.
    const int loser = NextSeat(o.winner);
    EXPECT_DOUBLE_EQ(o.ValueFor(o.winner), -o.ValueFor(loser));
    EXPECT_DOUBLE_EQ(o.ValueFor(o.winner), o.ValueFor(PartnerOf(o.winner)));
    EXPECT_GT(o.ValueFor(o.winner), o.points);
    EXPECT_LT(o.ValueFor(o.winner), o.points + 0.5);
    ai::HandOutcome closer = o;
    (IsTeamA(o.winner) ? closer.tricksB : closer.tricksA) += 1;
    EXPECT_LT(closer.ValueFor(o.winner), o.ValueFor(o.winner)) << "a narrower win is worth less";
}

TEST(Duel, StandardAgainstStandardIsExactlyEven) {
    std::ostringstream out, err;
    ASSERT_EQ(sim::Run({"duel", "40", "--team-a", "standard", "--team-b", "standard", "--seed", "3"}, out, err), 0)
        << err.str();
    EXPECT_NE(out.str().find("point-share 0.5000 ci95 0.5000-0.5000"), std::string::npos) << out.str();
    std::ostringstream games, gamesErr;
    ASSERT_EQ(sim::Run({"duel", "4", "--games", "--team-a", "standard", "--team-b", "standard"}, games, gamesErr), 0);
    EXPECT_NE(games.str().find("win-rate 0.5000"), std::string::npos) << games.str();
}

// How far a duel has come goes to the error stream, with what the finished
// pairs won; the result line alone goes out. A long duel reports each
// hundredth part, not each deal.
TEST(Duel, ProgressGoesToTheErrorStream) {
    std::ostringstream out, err;
    ASSERT_EQ(sim::Run({"duel", "4", "--games", "--team-a", "standard", "--team-b", "standard", "--jobs", "2"}, out, err), 0);
    const std::string result = out.str();
    EXPECT_EQ(result.find("duel: "), std::string::npos) << result;
    EXPECT_EQ(std::count(result.begin(), result.end(), '\n'), 1);
    const std::string progress = err.str();
    EXPECT_NE(progress.find("duel: 1 of 4 game pairs done"), std::string::npos) << progress;
    EXPECT_NE(progress.find("duel: 4 of 4 game pairs done, team a 4 wins, team b 4\n"), std::string::npos) << progress;
    std::ostringstream manyOut, manyErr;
    ASSERT_EQ(sim::Run({"duel", "250", "--team-a", "standard", "--team-b", "standard"}, manyOut, manyErr), 0);
    const std::string lines = manyErr.str();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), '\n'), 100) << lines;
    EXPECT_NE(lines.find("duel: 250 of 250 deals done"), std::string::npos) << lines;
}

// The share is of everything won, and its interval lies around it.
TEST(Duel, TheShareAndItsIntervalByHand) {
    // 3 of 5 points; differences from 0.6 of each deal: 0.8, -0.6, -0.2.
    const sim::Share s = sim::ShareOf({{2, 0}, {0, 1}, {1, 1}});
    EXPECT_DOUBLE_EQ(s.value, 0.6);
    const double se = std::sqrt(1.04 / 6) / (5.0 / 3);
    EXPECT_NEAR(s.lo, 0.6 - 1.96 * se, 1e-12);
    EXPECT_DOUBLE_EQ(s.hi, 1.0);  // never above the whole
    const sim::Share even = sim::ShareOf({{3, 3}, {1, 1}});
    EXPECT_DOUBLE_EQ(even.lo, 0.5);
    EXPECT_DOUBLE_EQ(even.hi, 0.5);
}

// The deals are shared out among threads; the figures must not depend on how.
TEST(Duel, TheFiguresDoNotDependOnTheThreads) {
    auto figures = [](const char* jobs, bool games) {
        std::ostringstream out, err;
        std::vector<std::string> args{"duel", "6", "--samples", "3", "--seed", "8", "--jobs", jobs};
        if (games) args.push_back("--games");
        EXPECT_EQ(sim::Run(args, out, err), 0) << err.str();
        const std::string line = out.str();
        return line.substr(0, line.find(" seconds"));
    };
    EXPECT_EQ(figures("1", false), figures("3", false));
    EXPECT_EQ(figures("1", true), figures("2", true));
}

} // namespace
} // namespace zarv::testing
