// Commands a person gives while the engine waits (inside a pause after a
// trick, after a hand's result, between turns) are carried out at a safe
// point: whatever is fired at whichever wait, every game still finishes and
// every card stays in exactly one place.
#include <gtest/gtest.h>

#include <array>

#include <functional>
#include <set>
#include <string>

#include "ai/card_selection.h"
#include "engine/table_layout.h"
#include "tests/test_table.h"

namespace zarv::testing {
namespace {

// Every card in one place, and the pack, the tricks and the hands agree.
void ExpectConsistent(const GameState& s, const std::string& where) {
    std::set<std::pair<char, int>> codes;
    for (int i = 1; i <= 52; ++i) codes.insert({s.Deck[i].Card.suit, s.Deck[i].Card.rank});
    ASSERT_EQ(codes.size(), 52u) << where;
    ASSERT_GE(s.Tricks.size(), 2u) << where;
    // Tricks before the last lie in the winners' piles; the last one's cards lie
    // on the table, or in a pile once it is settled.
    const TrickRecord& last = s.Tricks.back();
    auto pileOf = [](int winner) { return IsTeamA(winner) ? kPileA : kPileB; };
    for (int i = 1; i <= 52; ++i) {
        const CardRecord& c = s.Deck[i];
        ASSERT_NE(c.Owner, kInPack) << where << ": a card left in the pack during play";
        if (c.Owner >= 5 && c.Owner <= 8) {
            ASSERT_EQ(last.Cards[c.Owner - 4], c.Card) << where << ": a card on the table outside the trick";
        }
    }
    for (size_t t = 1; t < s.Tricks.size(); ++t) {
        const TrickRecord& trick = s.Tricks[t];
        const bool completed = t + 1 < s.Tricks.size();
        if (completed) {
            ASSERT_GE(trick.Winner, 1) << where << ": trick " << t;
        }
        for (int seat = 1; seat <= 4; ++seat) {
            if (trick.Cards[seat].empty()) {
                ASSERT_FALSE(completed) << where << ": trick " << t;
                continue;
            }
            const int owner = s.Deck[s.FindCard(trick.Cards[seat])].Owner;
            if (completed) {
                ASSERT_EQ(owner, pileOf(trick.Winner)) << where << ": trick " << t;
            } else {
                ASSERT_TRUE(owner == seat + 4 || (trick.Winner > 0 && owner == pileOf(trick.Winner))) << where;
            }
        }
    }
    for (int seat = 1; seat <= 4; ++seat) {
        std::set<std::pair<char, int>> inDeck, inSlots;
        for (int i = 1; i <= 52; ++i)
            if (s.Deck[i].Owner == seat) inDeck.insert({s.Deck[i].Card.suit, s.Deck[i].Card.rank});
        for (int k = 1; k <= 13; ++k) {
            const TrickRecord& slot = s.Hands[seat][k];
            if (slot.Winner == -1 && !slot.Cards[seat].empty()) inSlots.insert({slot.Cards[seat].suit, slot.Cards[seat].rank});
        }
        ASSERT_EQ(inDeck, inSlots) << where << ": seat " << seat << "'s hand";
    }
}

class ConsistencyCheck : public GameObserver {
public:
    explicit ConsistencyCheck(const GameState& s) : s_(s) {}
    void TrickSettled(const TrickRecord&) override {
        ++tricks;
        ExpectConsistent(s_, "trick " + std::to_string(tricks));
    }
    void HandScored(int, int) override {}
    long tricks = 0;

private:
    const GameState& s_;
};

enum class Fired { Start, Replay, GiveUp, TraceOnAndOff, TraceSteps, LoadHand };

struct Table : TestTable {
    ai::ComputerSeatPlayer computer{s()};
    ConsistencyCheck check{s()};
    Table() {
        game.SetComputerPlayer(&computer);
        game.SetObserver(&check);
        AllComputerSeats();
        view.askNewGame = [] { return false; };
    }
    bool Over() { return s().PointsA >= 7 || s().PointsB >= 7; }
};

SavedHand SomeHand() {
    SavedHand hand;
    hand.deal = StandardPack();
    hand.master = 2;
    return hand;
}

void Fire(Table& t, Fired what) {
    Game& g = t.game;
    switch (what) {
    case Fired::Start: g.StartClick(); break;
    case Fired::Replay: g.ReplayClick(); break;
    case Fired::GiveUp: {
        // A click on the flag where it is (or would be): offered or not.
        const layout::Box box = layout::GiveUpBox(t.s());
        if (t.s().GiveUp != GiveUpFlag::Hidden)
            g.ClickAt(box.left + 5, box.top + 5);
        else
            g.GiveUp();
        break;
    }
    case Fired::TraceOnAndOff: g.PlayModClick(); g.PlayModClick(); break;
    case Fired::TraceSteps: g.PlayModClick(); g.SpaceReleased(); g.SpaceReleased(); break;
    case Fired::LoadHand: g.LoadHand(SomeHand()); break;
    }
}

// Plays one seeded game, firing the command at the given wait (the clock's
// tick), and steps a game left in trace mode to its end. Returns the ticks seen.
long PlayFiringAt(Fired what, long at, uint64_t seed) {
    Table t;
    t.random = SeededRandom(seed);
    long ticks = 0;
    t.pump.onTick = [&] {
        if (ticks++ == at) Fire(t, what);
    };
    t.game.StartClick();
    for (int step = 0; step < 2000 && !t.Over(); ++step) {
        if (!t.s().Tracing) break;
        if (step % 40 == 39)
            t.game.PlayModClick();  // back to automatic play
        else
            t.game.SpaceReleased();
    }
    EXPECT_TRUE(t.Over()) << "fired at wait " << at;
    EXPECT_EQ(t.game.PendingCommands(), 0u);
    EXPECT_GT(t.check.tricks, 20);
    return ticks;
}

class FiredAtEveryWait : public ::testing::TestWithParam<Fired> {};

TEST_P(FiredAtEveryWait, EveryGameFinishesWithEveryCardInOnePlace) {
    // The first pass counts the waits of the game; then one game per wait of
    // its first hands, and every seventh wait after them.
    const long waits = PlayFiringAt(GetParam(), -1, 11);
    ASSERT_GT(waits, 100);
    for (long at = 0; at < waits && !HasFatalFailure(); at += (at < 120 ? 1 : 7)) PlayFiringAt(GetParam(), at, 11);
}

std::string FiredName(const ::testing::TestParamInfo<Fired>& info) {
    static const char* const kNames[] = {"Start", "Replay", "GiveUp", "TraceOnAndOff", "TraceSteps", "LoadHand"};
    return kNames[static_cast<int>(info.param)];
}

INSTANTIATE_TEST_SUITE_P(Commands, FiredAtEveryWait,
                         ::testing::Values(Fired::Start, Fired::Replay, Fired::GiveUp, Fired::TraceOnAndOff,
                                           Fired::TraceSteps, Fired::LoadHand),
                         FiredName);

TEST(Commands, ReplayDuringATrickPauseWaitsForTheTrickToSettle) {
    Table t;
    int tricksWhenReplayed = -1;
    size_t trickSizeAtFire = 0;
    std::array<CardRecord, 53> dealAtFire{};
    int replayedDeal = -1;  // 1: the next deal was the same cards; 0: another deal
    t.pump.onTick = [&] {
        // The pause after the fourth card of the second trick.
        if (t.s().Turn == 0 && t.s().Tricks.size() == 3 && tricksWhenReplayed < 0) {
            trickSizeAtFire = t.s().Tricks.size();
            dealAtFire = t.s().SavedDeck;
            t.game.ReplayClick();
            EXPECT_EQ(t.game.PendingCommands(), 1u);  // kept: the trick is still being settled
            EXPECT_EQ(t.s().Tricks.size(), trickSizeAtFire);
            tricksWhenReplayed = static_cast<int>(t.check.tricks);
            return;
        }
        // Once carried out, the kept Replay deals the same cards again.
        if (tricksWhenReplayed >= 0 && replayedDeal < 0 && t.game.PendingCommands() == 0 && t.s().Tricks.size() == 2 &&
            t.s().Trump != kNoSuit) {
            bool same = true;
            for (int i = 1; i <= 52; ++i) same = same && t.s().SavedDeck[i].Card == dealAtFire[i].Card;
            replayedDeal = same ? 1 : 0;
        }
    };
    t.game.StartClick();
    EXPECT_TRUE(t.Over());
    EXPECT_GE(tricksWhenReplayed, 0);
    EXPECT_EQ(replayedDeal, 1);
}

TEST(Commands, AGiveUpKeptBehindAReplayIsNotCarriedIntoTheNewDeal) {
    Table t;
    bool fired = false;
    long tricksAtFire = 0;
    t.pump.onTick = [&] {
        // The pause after the fourth card of the third trick: Replay, then the flag.
        if (!fired && t.s().Turn == 0 && t.s().Tricks.size() == 4) {
            fired = true;
            tricksAtFire = t.check.tricks;
            t.game.ReplayClick();
            t.game.GiveUp();
            EXPECT_EQ(t.game.PendingCommands(), 2u);
        }
    };
    struct FirstScore : GameObserver {
        ConsistencyCheck& inner;
        long tricksAtFirstScore = -1;
        explicit FirstScore(ConsistencyCheck& i) : inner(i) {}
        void TrickSettled(const TrickRecord& tr) override { inner.TrickSettled(tr); }
        void HandScored(int, int) override {
            if (tricksAtFirstScore < 0) tricksAtFirstScore = inner.tricks;
        }
    } scores(t.check);
    t.game.SetObserver(&scores);
    t.game.StartClick();
    ASSERT_TRUE(fired);
    // The replayed hand is played out (seven tricks at least), not given up unplayed.
    EXPECT_GE(scores.tricksAtFirstScore - tricksAtFire, 7);
}

} // namespace
} // namespace zarv::testing
