// Which cards a seat may play: one answer for the person's click, the
// computer and a card that arrives from another machine.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/test_table.h"

namespace zarv::testing {
namespace {

struct Position : ::testing::Test {
    TestTable t;
    GameState& s = t.s();

    void SetUp() override {
        ReadyToDeal(t.game);
        for (int seat = 1; seat <= 4; ++seat) t.s().Seats[seat].Kind = SeatKind::Computer;
        // Seat 2 holds two clubs, a heart and a diamond; seat 3 a club and a spade.
        Give(2, {"g3", "g9", "h5", "x9"});
        Give(3, {"g4", "p7"});
        Give(1, {"g10", "h10"});
        Give(4, {"x2", "x3"});
        s.Tricks.assign(2, TrickRecord{});
        s.Trump = 'x';
    }
    void Give(int seat, std::initializer_list<const char*> cards) {
        for (const char* c : cards) s.Deck[s.FindCard(C(c))].Owner = static_cast<uint8_t>(seat);
        t.game.BuildHand(seat);
    }
    std::vector<std::string> Legal(int seat) const {
        std::vector<std::string> out;
        for (CardCode c : t.game.LegalCards(seat)) out.push_back(c.text());
        std::sort(out.begin(), out.end());
        return out;
    }
    using Strings = std::vector<std::string>;
};

TEST_F(Position, TheLeaderMayPlayAnyCardItHolds) {
    s.Turn = 2;
    s.TrickPosition = 1;
    EXPECT_EQ(Legal(2), (Strings{"g3", "g9", "h5", "x9"}));
}

TEST_F(Position, AFollowerMustFollowTheLedSuitWhileItHoldsIt) {
    StartTrick(s, 1, {"g10"});
    ASSERT_EQ(s.Turn, 2);
    EXPECT_EQ(Legal(2), (Strings{"g3", "g9"}));
    EXPECT_FALSE(t.game.IsLegalCard(2, C("x9")));  // trumping while holding clubs
}

TEST_F(Position, AFollowerWithoutTheLedSuitMayPlayAnything) {
    StartTrick(s, 1, {"p2"});
    EXPECT_EQ(Legal(2), (Strings{"g3", "g9", "h5", "x9"}));
}

TEST_F(Position, NothingIsLegalOutOfTurnOrNotHeld) {
    StartTrick(s, 1, {"g10"});
    EXPECT_TRUE(Legal(3).empty());               // seat 3 waits for seat 2
    EXPECT_FALSE(t.game.IsLegalCard(2, C("g4")));  // seat 3's card
    EXPECT_FALSE(t.game.IsLegalCard(2, C("g10"))); // on the table
    EXPECT_FALSE(t.game.IsLegalCard(2, CardCode{}));
    s.Turn = 0;                                   // a trick being settled
    EXPECT_TRUE(Legal(2).empty());
}

TEST_F(Position, EveryRoadRefusesAnIllegalCardAndChangesNothing) {
    StartTrick(s, 1, {"g10"});
    for (CardOrigin origin : {CardOrigin::LocalPerson, CardOrigin::Computer, CardOrigin::RemotePerson}) {
        const auto deck = s.Deck;
        const auto tricks = s.Tricks;
        EXPECT_FALSE(t.game.PlaySeatCard(2, C("x9"), origin));  // must follow clubs
        EXPECT_FALSE(t.game.PlaySeatCard(3, C("g4"), origin));  // not seat 3's turn
        for (int i = 1; i <= 52; ++i) EXPECT_EQ(s.Deck[i].Owner, deck[i].Owner) << i;
        EXPECT_EQ(s.Tricks.size(), tricks.size());
        EXPECT_TRUE(s.Tricks.back().Cards[2].empty());
        EXPECT_EQ(s.Turn, 2);
    }
    // A legal card goes to the table, played by its seat.
    EXPECT_TRUE(t.game.PlaySeatCard(2, C("g9"), CardOrigin::RemotePerson));
    EXPECT_EQ(s.Deck[s.FindCard(C("g9"))].Owner, 6);
    EXPECT_EQ(s.Tricks.back().Cards[2], C("g9"));
    EXPECT_EQ(s.Turn, 3);
}

// A computer player that names a card the rules refuse.
class StubbornPlayer : public ComputerPlayer {
public:
    CardChoice SelectCard(int, int) override { return {C("x9"), CardReason::Of(Tactic::PlayABig)}; }
    Suit ChooseTrump(int, int) override { return 'x'; }
};

TEST_F(Position, AComputerCardTheRulesRefuseIsReplacedByTheFirstLegalOne) {
    StubbornPlayer stubborn;
    t.game.SetComputerPlayer(&stubborn);
    StartTrick(s, 1, {"g10"});
    t.game.ComputerMove(2);
    EXPECT_EQ(s.Tricks.back().Cards[2], C("g3"));  // the first club in Deck order
    EXPECT_EQ(s.Deck[s.FindCard(C("x9"))].Owner, 2);
    EXPECT_EQ(t.game.LastComputerReason(), CardReason::Of(Tactic::PlayABig));
}

} // namespace
} // namespace zarv::testing

namespace zarv::testing {
namespace {

TEST(GiveUp, OfferedOnlyWhileItWouldDoSomething) {
    TestTable t;
    GameState& s = t.s();
    auto tricks = [&](std::initializer_list<int> winners) {
        s.Tricks.assign(1, TrickRecord{});
        for (int w : winners) s.Tricks.push_back(TrickRecord{{}, w, w, static_cast<int>(s.Tricks.size())});
        s.Tricks.push_back(TrickRecord{});
    };
    tricks({});
    EXPECT_FALSE(t.game.GiveUpPossible());
    tricks({3, 2});
    EXPECT_TRUE(t.game.GiveUpPossible());
    tricks({2, 4, 2, 4, 2, 4, 3});  // six for the other side: giving up would do nothing
    EXPECT_FALSE(t.game.GiveUpPossible());
    tricks({1, 3, 1, 3, 1, 3, 2});
    EXPECT_FALSE(t.game.GiveUpPossible());
}

} // namespace
} // namespace zarv::testing
