// The rules of a trick and the scoring of a hand.
#include <gtest/gtest.h>

#include "tests/test_table.h"

namespace zarv::testing {
namespace {

TrickRecord Trick(int leader, std::initializer_list<const char*> cards) {
    TrickRecord t;
    t.Leader = leader;
    int seat = leader;
    for (const char* c : cards) {
        t.Cards[seat] = C(c);
        seat = NextSeat(seat);
    }
    return t;
}

TEST(TrickWinner, TrumpBeatsTheLedSuitAndOffSuitCardsNeverWin) {
    TestTable t;
    t.s().Trump = 'x';
    EXPECT_EQ(t.game.TrickWinner(Trick(1, {"h5", "h14", "x2", "g14"})), 3);  // the only trump
    t.s().Trump = 'p';
    EXPECT_EQ(t.game.TrickWinner(Trick(1, {"h5", "g14", "h9", "x3"})), 3);   // h9, highest of the led suit
    EXPECT_EQ(t.game.TrickWinner(Trick(2, {"g2", "h14", "x14", "p2"})), 1);  // a low trump on another suit
}

TEST(TrickWinner, HighestTrumpWinsWhenTrumpsAreLed) {
    TestTable t;
    t.s().Trump = 'g';
    EXPECT_EQ(t.game.TrickWinner(Trick(4, {"g3", "g12", "g5", "h14"})), 1);
    // Without any trump among the cards nobody scores above the led suit's highest card.
    t.s().Trump = kNoSuit;
    EXPECT_EQ(t.game.TrickWinner(Trick(2, {"p9", "p10", "h14", "p2"})), 3);
}

// Seven completed tricks, then an empty trick in progress.
void SetTricks(GameState& s, std::initializer_list<int> winners) {
    s.Tricks.assign(1, TrickRecord{});
    int n = 0;
    for (int w : winners) {
        TrickRecord t;
        t.Winner = w;
        t.Leader = w;
        t.Number = ++n;
        s.Tricks.push_back(t);
    }
    s.Tricks.push_back(TrickRecord{});
}

struct Scoring : ::testing::Test {
    TestTable t;
    void SetUp() override {
        t.view.recordSayings = true;
        const char* names[5] = {"", "Tib ", "Vrel", "Me", "Dastrel"};
        for (int seat = 1; seat <= 4; ++seat) t.s().Seats[seat].Name = names[seat];
        t.s().ResultsA.fill(0);
        t.s().ResultsB.fill(0);
        t.s().HandsPlayed = 0;
    }
    void FirstMaster(int seat) {
        for (int k = 1; k <= 4; ++k) t.s().Seats[k].FirstMaster = k == seat;
    }
};

TEST_F(Scoring, KootAndPerKootForTeamB) {
    t.s().MasterPlayer = 1;
    FirstMaster(1);  // the losing side drew the first ace
    SetTricks(t.s(), {2, 4, 2, 4, 2, 4, 2});
    t.game.ScoreHand(2);
    EXPECT_EQ(t.s().PointsB, 3);
    EXPECT_EQ(t.s().ResultsB[1], 3);
    EXPECT_EQ(t.s().ResultsA[1], 0);
    EXPECT_EQ(t.s().HandsPlayed, 1);
    ASSERT_FALSE(t.view.said.empty());
    EXPECT_EQ(t.view.said.back().first, 0);
    EXPECT_EQ(t.view.said.back().second, "PerKoot!\r\nVrel and Dastrel are Winner.");
    EXPECT_EQ(t.s().MasterPlayer, 2);  // the master's side lost: the role passes on

    FirstMaster(4);  // the winners hold it: only Koot
    SetTricks(t.s(), {2, 2, 2, 2, 4, 4, 4});
    t.game.ScoreHand(4);
    EXPECT_EQ(t.s().PointsB, 5);
    EXPECT_EQ(t.s().ResultsB[2], 2);
    EXPECT_EQ(t.view.said.back().second, "Koot!\r\nDastrel and Vrel are Winner.");
    EXPECT_EQ(t.s().MasterPlayer, 2);  // the master's side won: it stays
}

TEST_F(Scoring, PerKootForTeamAHasTwoExclamationMarks) {
    t.s().MasterPlayer = 4;
    FirstMaster(2);
    SetTricks(t.s(), {1, 3, 1, 3, 1, 3, 1});
    t.game.ScoreHand(1);
    EXPECT_EQ(t.s().PointsA, 3);
    EXPECT_EQ(t.s().ResultsA[1], 3);
    EXPECT_EQ(t.view.said.back().second, "PerKoot!!\r\nTib  and Me are Winner.");
    EXPECT_EQ(t.s().MasterPlayer, 1);
}

TEST_F(Scoring, AHandWithTricksOnBothSidesIsWorthOnePoint) {
    t.s().MasterPlayer = 3;
    FirstMaster(2);
    SetTricks(t.s(), {1, 2, 3, 1, 3, 1, 4, 3});
    t.game.ScoreHand(3);
    EXPECT_EQ(t.s().PointsA, 1);
    EXPECT_EQ(t.s().ResultsA[1], 1);
    EXPECT_EQ(t.s().ResultsB[1], 0);
    EXPECT_EQ(t.view.said.back().second, "Me and Tib  are Winner.");
    EXPECT_EQ(t.s().MasterPlayer, 3);
}

TEST_F(Scoring, AThreePointHandTakesSixToNineAndTheGameEndsAtTheNextHand) {
    int asked = 0;
    t.view.askNewGame = [&] { ++asked; return false; };
    t.s().PointsA = 6;
    t.s().MasterPlayer = 2;
    FirstMaster(2);
    SetTricks(t.s(), {1, 3, 1, 3, 1, 3, 1});
    t.game.ScoreHand(1);
    EXPECT_EQ(t.s().PointsA, 9);
    EXPECT_EQ(asked, 0);
    const auto packBefore = t.s().Deck;
    t.game.NewHand();
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(t.records.wins, 1);  // the local seat 3 is on the winning side
    EXPECT_TRUE(t.s().StopRequested);
    for (int i = 1; i <= 52; ++i) EXPECT_EQ(t.s().Deck[i].Card, packBefore[i].Card);  // nothing dealt
}

}  // namespace
}  // namespace zarv::testing
