// The exact search of a hand whose cards are all known: its values against a
// plain minimax over the table's own rules, positions whose answer is known
// by hand, and the Expert's card where one card is best in every world.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "ai/expert.h"
#include "ai/playout.h"
#include "ai/trick_search.h"
#include "ai/world_sampler.h"
#include "tests/test_table.h"

namespace zarv::testing {
namespace {

ai::CardBits Cards(std::initializer_list<const char*> codes) {
    ai::CardBits bits = 0;
    for (const char* c : codes) bits |= ai::CardBits{1} << ai::BitOf(C(c));
    return bits;
}

int Minimax(const GameState& s);

// The value for seats 1 and 3 once the seat has played the card.
int ValueAfter(const GameState& s, int seat, CardCode card) {
    GameState next = s;
    if (!ai::SimulatePlay(next, seat, card)) return Minimax(next);
    const ai::HandOutcome o = ai::OutcomeOf(next);
    return IsTeamA(o.winner) ? o.points : -o.points;
}

// Every card of every seat tried, by the table's own rules (no pruning, no
// runs, no table of positions): the value for seats 1 and 3.
int Minimax(const GameState& s) {
    const bool maximising = IsTeamA(s.Turn);
    int best = maximising ? -100 : 100;
    for (CardCode card : LegalCardsOf(s, s.Turn)) {
        const int v = ValueAfter(s, s.Turn, card);
        best = maximising ? std::max(best, v) : std::min(best, v);
    }
    return best;
}

int Held(const GameState& s, int seat) {
    int n = 0;
    for (int i = 1; i <= 52; ++i) n += s.Deck[i].Owner == seat;
    return n;
}

// Late positions of seeded games: the seat to move holds at most `cards`.
std::vector<std::pair<GameState, int>> LatePositions(int cards, size_t wanted) {
    std::vector<std::pair<GameState, int>> found;
    for (uint64_t seed = 1; found.size() < wanted && seed < 400; ++seed)
        for (int decision = 24; decision < 52 && found.size() < wanted; decision += 3) {
            int seat = 0;
            const GameState s = MidHand(seed, decision, seat);
            if (seat >= 1 && Held(s, seat) <= cards && Held(s, seat) >= 2) found.emplace_back(s, seat);
        }
    return found;
}

TEST(TrickSearch, AgreesWithPlainMinimaxOverTheTablesRules) {
    const auto positions = LatePositions(4, 40);
    ASSERT_GE(positions.size(), 30u);
    ai::TrickSearch search;
    for (const auto& [s, seat] : positions) {
        const auto values = search.ValuesOfMoves(ai::PositionOf(s));
        ASSERT_TRUE(values);
        ASSERT_EQ(values->size(), LegalCardsOf(s, seat).size());
        for (const auto& [card, value] : *values)
            EXPECT_EQ(value, ValueAfter(s, seat, card)) << card.text() << " by seat " << seat;
        EXPECT_EQ(search.Value(ai::PositionOf(s)), Minimax(s));
    }
}

TEST(TrickSearch, KnownPositions) {
    ai::SearchPosition p;
    p.trump = 2;  // hearts
    // Seats 2 and 4 have six tricks, seats 1 and 3 none, and no one but seat
    // 1 holds a trump: only its ace of hearts takes a trick and saves the hand
    // from seven to none (three points, seat 1 drew the first ace).
    p.tricksB = 6;
    p.hands = {Cards({"h14", "g2", "g3", "g4", "g5", "g6", "g7"}), Cards({"g8", "g9", "g10", "g11", "g12", "g13", "p3"}),
               Cards({"p2", "p4", "p5", "p6", "x2", "x4", "x5"}), Cards({"g14", "x3", "x6", "x7", "x8", "x9", "p7"})};
    p.leader = 0;
    p.sweepB = 3;
    ai::TrickSearch search;
    auto values = search.ValuesOfMoves(p);
    ASSERT_TRUE(values);
    std::map<std::string, int> byCard;
    for (const auto& [card, value] : *values) byCard[card.text()] = value;
    EXPECT_EQ(byCard, (std::map<std::string, int>{
                          {"h14", -1}, {"g2", -3}, {"g3", -3}, {"g4", -3}, {"g5", -3}, {"g6", -3}, {"g7", -3}}));
    EXPECT_EQ(search.Value(p), -1);

    // The last card of the hand, six tricks each, the trick led by seat 1:
    // seat 4 takes it with a trump, or the hand goes to seats 1 and 3.
    ai::SearchPosition last;
    last.trump = 3;  // diamonds
    last.tricksA = 6;
    last.tricksB = 6;
    last.leader = 0;
    last.played = 3;
    last.trick = {static_cast<uint8_t>(ai::BitOf(C("g14"))), static_cast<uint8_t>(ai::BitOf(C("g3"))),
                  static_cast<uint8_t>(ai::BitOf(C("g5"))), 0};
    last.hands = {0, 0, 0, Cards({"x2"})};
    EXPECT_EQ(search.Value(last), -1);
    last.hands[3] = Cards({"p14"});  // nothing to take it with
    EXPECT_EQ(search.Value(last), 1);
    // Holding a club, seat 4 must follow and cannot trump; seat 1 then
    // takes the last trick with the ace of trumps.
    last.tricksA = 5;
    last.hands = {Cards({"x14"}), Cards({"p3"}), Cards({"p4"}), Cards({"x2", "g2"})};
    EXPECT_EQ(search.Value(last), 1);
}

TEST(TrickSearch, GivesUpAtItsBudget) {
    int seat = 0;
    const GameState s = MidHand(3, 1, seat);  // a whole hand to search
    ai::TrickSearch small(1000);
    EXPECT_FALSE(small.ValuesOfMoves(ai::PositionOf(s)));
    EXPECT_LE(small.nodes(), 1001);
}

// Every world the seat cannot tell from the real one, when few cards are out.
std::vector<GameState> AllWorlds(const GameState& s, int seat) {
    const ai::WorldSampler sampler(s, seat);
    std::vector<int> unseen = sampler.unseen();
    std::vector<int> owners;
    for (int d : unseen) owners.push_back(s.Deck[d].Owner);
    std::sort(owners.begin(), owners.end());
    std::vector<GameState> worlds;
    do {
        GameState w = s;
        bool fits = true;
        for (size_t k = 0; k < unseen.size(); ++k) {
            const int p = owners[k];
            fits = fits && !(sampler.voids()[static_cast<size_t>(p)] & ai::SuitBit(SuitOf(s.Deck[unseen[k]].Card)));
            w.Deck[unseen[k]].Owner = static_cast<uint8_t>(p);
        }
        if (fits) worlds.push_back(w);
    } while (std::next_permutation(owners.begin(), owners.end()));
    return worlds;
}

TEST(ExpertPlayer, PlaysTheCardThatIsBestInEveryWorld) {
    int checked = 0;
    ai::TrickSearch search;
    for (const auto& [s, seat] : LatePositions(3, 120)) {
        const auto legal = LegalCardsOf(s, seat);
        if (legal.size() < 2) continue;
        // Each card's value in every world, and how often it falls short of the best.
        std::map<std::string, int> shortOfBest;
        const auto worlds = AllWorlds(s, seat);
        ASSERT_FALSE(worlds.empty());
        for (const GameState& w : worlds) {
            const auto values = search.ValuesOfMoves(ai::PositionOf(w));
            ASSERT_TRUE(values);
            int best = -100;
            for (const auto& [card, v] : *values) best = std::max(best, IsTeamA(seat) ? v : -v);
            for (const auto& [card, v] : *values) shortOfBest[card.text()] += (IsTeamA(seat) ? v : -v) < best;
        }
        // Only a position with a best card, where every other card is worse
        // in a fair share of the worlds (so the samples meet it).
        std::vector<std::string> dominant;
        bool clear = true;
        for (const auto& [card, n] : shortOfBest) {
            if (n == 0) dominant.push_back(card);
            else clear = clear && n * 5 >= static_cast<int>(worlds.size());
        }
        if (dominant.empty() || dominant.size() == shortOfBest.size() || !clear) continue;
        ai::ExpertPlayer expert(s, ai::ExpertOptions{300, 0, 5});
        const std::string played = expert.SelectCard(seat, s.TrickPosition).card.text();
        EXPECT_NE(std::find(dominant.begin(), dominant.end(), played), dominant.end()) << played << " by seat " << seat;
        ++checked;
    }
    EXPECT_GE(checked, 5);
}

} // namespace
} // namespace zarv::testing
