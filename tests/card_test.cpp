// Card codes and seats.
#include <gtest/gtest.h>

#include "engine/game_state.h"

namespace zarv {
namespace {

TEST(CardCode, ParsesOnlyValidCodes) {
    const auto x10 = CardCode::Parse("x10");
    ASSERT_TRUE(x10);
    EXPECT_EQ(SuitOf(*x10), 'x');
    EXPECT_EQ(RankOf(*x10), 10);
    EXPECT_EQ(RankOf(*CardCode::Parse("g2")), 2);
    EXPECT_EQ(CardCode::Parse("h14")->text(), "h14");
    for (const char* bad : {"", "h", "h1", "h15", "h02", "k5", "H5", "x 5", "p140", "g-2"})
        EXPECT_FALSE(CardCode::Parse(bad)) << bad;
}

TEST(Seats, PartnersSitOppositeAndPlayGoesRound) {
    EXPECT_EQ(PartnerOf(4), 2);
    EXPECT_EQ(PartnerOf(1), 3);
    EXPECT_EQ(NextSeat(4), 1);
    EXPECT_EQ(PreviousSeat(1), 4);
    EXPECT_TRUE(SameTeam(1, 3));
    EXPECT_FALSE(SameTeam(2, 3));
}

TEST(GameState, FindCardAndSpeedDerivations) {
    GameState s;
    s.Deck[7].Card = *CardCode::Parse("h12");
    EXPECT_EQ(s.FindCard(*CardCode::Parse("h12")), 7);
    EXPECT_EQ(s.FindCard(*CardCode::Parse("h13")), 0);
    EXPECT_DOUBLE_EQ(TurnDelayForSpeed(0), 0.01);
    EXPECT_DOUBLE_EQ(TurnDelayForSpeed(5), 0);
    EXPECT_EQ(StepCountForSpeed(0), 26);
    EXPECT_EQ(StepCountForSpeed(5), 1);
    EXPECT_EQ(StepCountForSpeed(9), 1);  // out of range: the nearest speed
    EXPECT_EQ(RoundHalfEven(2.5), 2);
    EXPECT_EQ(RoundHalfEven(3.5), 4);
    EXPECT_EQ(RoundHalfEven(-0.5), 0);
}

}  // namespace
}  // namespace zarv
