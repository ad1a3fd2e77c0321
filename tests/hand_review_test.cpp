// The review of a played hand: the numbers of positions whose values follow
// from the rules alone, the tricks as they fell, hands that could not have
// been played, and the plays a saved hand keeps.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

#include "ai/card_selection.h"
#include "ai/hand_review.h"
#include "engine/headless.h"

namespace zarv::testing {
namespace {

std::vector<CardCode> Cards(const std::string& codes) {
    HandFault why;
    auto plays = ParsePlays(codes, &why);
    EXPECT_TRUE(plays) << EnglishText(why);
    return plays.value_or(std::vector<CardCode>{});
}

std::vector<CardCode> Suit13(char suit) {
    std::vector<CardCode> cards;
    for (int rank = 2; rank <= 14; ++rank) cards.push_back(CardCode{suit, static_cast<uint8_t>(rank)});
    return cards;
}

// A deal from each seat's cards (seats 1..4), with the ZARV h; the first ace
// was drawn by seat 2, so seven to none against its side is worth three.
SavedHand DealOf(const std::array<std::string, 5>& hands, int master, const std::string& plays) {
    SavedHand hand;
    for (int k = 0, seat = master; k < 4; ++k, seat = NextSeat(seat)) {
        const auto cards = Cards(hands[static_cast<size_t>(seat)]);
        hand.deal.insert(hand.deal.end(), cards.begin(), cards.end());
    }
    hand.master = master;
    hand.firstMaster = 2;
    hand.trump = 'h';
    hand.plays = Cards(plays);
    return hand;
}

std::string SuitText(char suit) {
    std::string text;
    for (CardCode c : Suit13(suit)) text += c.text() + " ";
    return text;
}

// Seat 1, HAKEM, holds every ZARV: whatever it plays, it takes all seven tricks.
SavedHand AllTheZarv() {
    return DealOf({"", SuitText('h'), SuitText('p'), SuitText('g'), SuitText('x')}, 1,
                  "h2 p2 g2 x2  h3 p3 g3 x3  h4 p4 g4 x4  h5 p5 g5 x5  h6 p6 g6 x6  h7 p7 g7 x7  h8 p8 g8 x8");
}

// Seat 1 takes the three ZARV tricks and its partner two club tricks; then
// it keeps the last ZARV (h14) and the ace of clubs while the others' ZARV
// are all gone. Twice it throws a card where the h14 would have won:
//  - trick 6 (on a spade led, with eight cards): ruffing and then leading
//    the ace of clubs takes seven to none, 3 points, in every deal it could
//    imagine; it throws x2 instead;
//  - trick 12 (six tricks to five for the other side): ruffing and leading
//    the ace wins the hand, +1; it throws the ace, and the other side takes
//    its seventh trick, -1. That card cost exactly 2 points.
SavedHand TheLastZarvKeptTooLong() {
    return DealOf({"",
                   "h11 h12 h13 h14 g14 g2 g3 x2 x3 x4 x5 x6 x7",
                   "h2 h3 h4 p5 p6 p7 p8 p9 p10 p11 p12 p13 p14",
                   "h5 h6 h7 g6 g7 g8 g9 g10 g11 g12 g13 p2 p3",
                   "h8 h9 h10 x8 x9 x10 x11 x12 x13 x14 g4 g5 p4"},
                  2,
                  "h2 h5 h8 h11  h12 h3 h6 h9  h13 h4 h7 h10  g2 p5 g13 g4  g12 g5 g3 p6"
                  "  p2 p4 x2 p7  p8 p3 x8 x3  p9 g6 x9 x4  p10 g7 x10 x5  p11 g8 x11 x6"
                  "  p12 g9 x12 x7  p13 g10 x13 g14");
}

const ai::ReviewedDecision& InTrick(const ai::HandReview& review, int trick) {
    for (const auto& d : review.decisions)
        if (d.trick == trick) return d;
    ADD_FAILURE() << "no decision in trick " << trick;
    return review.decisions.front();
}

double ValueOf(const ai::ReviewedDecision& d, CardCode card) {
    for (const auto& v : d.values)
        if (v.card == card) return v.value;
    ADD_FAILURE() << card.text() << " was not a choice";
    return 0;
}

// Seven to none against the side of the first ace: 3 points.
constexpr double kSevenToNone = 3;

TEST(HandReview, WhenNoCardCanLoseEveryCardIsWorthTheWholeHand) {
    ai::ReviewFault why;
    const auto review = ai::ReviewHand(AllTheZarv(), 1, ai::ReviewOptions(1), &why);
    ASSERT_TRUE(review) << EnglishText(why);
    ASSERT_EQ(review->tricks.size(), 7u);
    ASSERT_EQ(review->decisions.size(), 7u);
    for (const auto& d : review->decisions) {
        EXPECT_NEAR(d.cost, 0, 1e-9) << "trick " << d.trick;
        EXPECT_EQ(d.values.size(), static_cast<size_t>(14 - d.trick));
        for (const auto& v : d.values) EXPECT_NEAR(v.value, kSevenToNone, 1e-9) << v.card.text();
    }
    for (const auto& t : review->tricks) {
        EXPECT_EQ(t.leader, 1);
        EXPECT_EQ(t.winner, 1);
    }
    // Seat 3's cards shrink by one a trick, in the order dealt.
    EXPECT_EQ(review->tricks[0].held[3], Suit13('g'));
    EXPECT_EQ(review->tricks[6].held[3].size(), 7u);
    EXPECT_EQ(review->tricks[6].held[3].front(), (CardCode{'g', 8}));
}

TEST(HandReview, TheCostOfACardIsWhatTheBestCardWouldHaveWonMore) {
    ai::ReviewFault why;
    const SavedHand hand = TheLastZarvKeptTooLong();
    const auto review = ai::ReviewHand(hand, 1, ai::ReviewOptions(1), &why);
    ASSERT_TRUE(review) << EnglishText(why);
    ASSERT_EQ(review->tricks.size(), 12u);
    EXPECT_EQ(review->tricks[0].leader, 2);
    EXPECT_EQ(review->tricks[3].winner, 3);
    EXPECT_EQ(review->tricks[11].winner, 2);
    EXPECT_EQ(review->tricks[11].held[1], Cards("h14 g14"));

    const CardCode h14{'h', 14}, g14{'g', 14};
    const auto& last = InTrick(*review, 12);
    EXPECT_EQ(last.played, g14);
    EXPECT_EQ(last.best, h14);
    EXPECT_NEAR(ValueOf(last, h14), 1, 1e-9);
    EXPECT_NEAR(ValueOf(last, g14), -1, 1e-9);
    EXPECT_NEAR(last.cost, 2, 1e-9);

    const auto& sixth = InTrick(*review, 6);
    EXPECT_EQ(sixth.played, (CardCode{'x', 2}));
    EXPECT_EQ(sixth.best, h14);
    EXPECT_NEAR(ValueOf(sixth, h14), kSevenToNone, 1e-9);
    EXPECT_GE(sixth.cost, 2 - 1e-9);

    // The numbers are in hundredths, and a cost is what the shown values
    // differ by: a "best" card never shows less than another.
    for (const auto& d : review->decisions) {
        for (const auto& v : d.values) EXPECT_DOUBLE_EQ(v.value * 100, std::nearbyint(v.value * 100)) << v.card.text();
        if (d.values.empty()) continue;
        EXPECT_NEAR(d.cost, d.values.front().value - ValueOf(d, d.played), 1e-9) << "trick " << d.trick;
        if (d.best == d.played) {
            EXPECT_NEAR(ValueOf(d, d.played), d.values.front().value, 1e-9);
        }
    }

    // Costliest first: never a cheaper decision before a dearer one.
    const auto order = review->CostliestFirst();
    ASSERT_EQ(order.size(), review->decisions.size());
    for (size_t k = 1; k < order.size(); ++k)
        EXPECT_GE(review->decisions[order[k - 1]].cost, review->decisions[order[k]].cost);

    // The same numbers on two threads; from seat 3's chair only its own cards.
    const auto twice = ai::ReviewHand(hand, 1, ai::ReviewOptions(2));
    ASSERT_TRUE(twice);
    for (size_t k = 0; k < review->decisions.size(); ++k)
        EXPECT_DOUBLE_EQ(twice->decisions[k].cost, review->decisions[k].cost);
    const auto seat3 = ai::ReviewHand(hand, 3, ai::ReviewOptions(1));
    ASSERT_TRUE(seat3);
    for (const auto& d : seat3->decisions)
        for (const auto& v : d.values) EXPECT_NE(SuitOf(v.card), 'x') << v.card.text();
}

TEST(HandReview, AHandThatCouldNotHaveBeenPlayedIsRefusedAndSaysWhere) {
    ai::ReviewFault why;
    SavedHand hand = TheLastZarvKeptTooLong();
    // Seat 3 holds hearts and throws a club on the heart led.
    hand.plays[1] = CardCode{'g', 6};
    EXPECT_FALSE(ai::ReviewHand(hand, 1, ai::ReviewOptions(1), &why));
    EXPECT_EQ(why.kind, ai::ReviewFault::Kind::BadPlay);
    EXPECT_EQ(why.play, 2);
    EXPECT_EQ(EnglishText(why), "card 2 of the plays (g6) could not have been played then");

    hand = TheLastZarvKeptTooLong();
    hand.plays[0] = CardCode{'g', 2};  // seat 1's card, in seat 2's turn
    EXPECT_FALSE(ai::ReviewHand(hand, 1, ai::ReviewOptions(1), &why));
    EXPECT_EQ(why.play, 1);

    hand = TheLastZarvKeptTooLong();
    hand.trump = kNoSuit;
    EXPECT_FALSE(ai::ReviewHand(hand, 1, ai::ReviewOptions(1), &why));
    EXPECT_EQ(why.kind, ai::ReviewFault::Kind::NoTrump);
    hand = TheLastZarvKeptTooLong();
    hand.plays.clear();
    EXPECT_FALSE(ai::ReviewHand(hand, 1, ai::ReviewOptions(1), &why));
    EXPECT_EQ(why.kind, ai::ReviewFault::Kind::NoPlays);
    EXPECT_FALSE(ai::ReviewHand(TheLastZarvKeptTooLong(), 5, ai::ReviewOptions(1), &why));
    EXPECT_EQ(why.kind, ai::ReviewFault::Kind::BadSeat);
}

TEST(HandReview, AHandStoppedHalfwayIsReviewedAsFarAsItWent) {
    SavedHand hand = TheLastZarvKeptTooLong();
    hand.plays.resize(6);  // the second trick stops after two cards
    const auto review = ai::ReviewHand(hand, 1, ai::ReviewOptions(1));
    ASSERT_TRUE(review);
    ASSERT_EQ(review->tricks.size(), 2u);
    EXPECT_EQ(review->tricks[1].winner, 0);
    EXPECT_EQ(review->decisions.size(), 2u);
}

TEST(HandReview, TheTableKeepsItsLastHandWithTheCardsInTheOrderPlayed) {
    HeadlessGame h(21);
    h.AllComputerSeats();
    StopAfterHand stop(h.game);
    h.game.SetObserver(&stop);
    ai::ComputerSeatPlayer standard(h.game.state());
    h.game.SetComputerPlayer(&standard);
    EXPECT_FALSE(h.game.LastPlayedHand());
    std::vector<CardCode> pack = Suit13('g');
    for (char suit : {'p', 'h', 'x'}) {
        const auto all = Suit13(suit);
        pack.insert(pack.end(), all.begin(), all.end());
    }
    std::mt19937_64 rng(21);
    std::shuffle(pack.begin(), pack.end(), rng);
    h.game.DealGivenHand(pack, 2, 2);
    h.game.TurnLoop();
    ASSERT_TRUE(h.game.LastPlayedHand());
    const SavedHand hand = *h.game.LastPlayedHand();
    EXPECT_EQ(hand.plays.size() % 4, 0u);
    EXPECT_GE(hand.plays.size(), 28u);

    // It survives its file, and the review plays it again to the same tricks.
    HandFault fault;
    const auto read = ReadSavedHand(WriteSavedHand(hand), &fault);
    ASSERT_TRUE(read) << EnglishText(fault);
    EXPECT_EQ(read->plays, hand.plays);
    const auto review = ai::ReviewHand(*read, 3, ai::ReviewOptions(1));
    ASSERT_TRUE(review);
    EXPECT_EQ(review->tricks.size() * 4, hand.plays.size());
    int sideA = 0, sideB = 0;
    for (const auto& t : review->tricks) (IsTeamA(t.winner) ? sideA : sideB) += 1;
    EXPECT_EQ(std::max(sideA, sideB), 7);
}

TEST(SavedHandFiles, PlaysAreOptionalAndARepeatedPlayIsRefusedOnItsLine) {
    SavedHand hand = AllTheZarv();
    hand.plays.clear();
    const std::string plain = WriteSavedHand(hand);
    EXPECT_EQ(plain.find("plays"), std::string::npos);
    HandFault why;
    const auto read = ReadSavedHand(plain + "plays g2 h14\n", &why);
    ASSERT_TRUE(read) << EnglishText(why);
    EXPECT_EQ(read->plays, Cards("g2 h14"));
    EXPECT_FALSE(ReadSavedHand(plain + "plays g2 h14 g2\n", &why));
    EXPECT_EQ(EnglishText(why), "line 6: card g2 is played twice");
    EXPECT_FALSE(ReadSavedHand(plain + "plays g2 h15\n", &why));
    EXPECT_EQ(why.kind, HandFault::Kind::NotACard);
}

} // namespace
} // namespace zarv::testing
