// The computer player: trump choice, the queries it decides from, its
// strategy and its candidate tables.
#include <gtest/gtest.h>

#include <algorithm>

#include "ai/card_selection.h"
#include "ai/hand_analysis.h"
#include "ai/strategy.h"
#include "ai/trump_choice.h"
#include "tests/test_table.h"

namespace zarv::testing {
namespace {

using ai::HandAnalysis;

// A pack whose first positions hold the given cards, the rest in standard order.
std::vector<CardCode> PackStartingWith(std::initializer_list<const char*> first) {
    std::vector<CardCode> pack;
    for (const char* c : first) pack.push_back(C(c));
    for (CardCode c : StandardPack())
        if (std::find(pack.begin(), pack.end(), c) == pack.end()) pack.push_back(c);
    return pack;
}

Suit TrumpFor(std::initializer_list<const char*> five) {
    GameState s;
    LoadPack(s, PackStartingWith(five));
    return ai::ChooseTrump(s, 1, 5);
}

TEST(ChooseTrump, WorkedExampleAndEdgeCases) {
    // h: 24 + 23 = 47, g: 43; both hearts are top cards, so h falls to 27 and clubs win.
    EXPECT_EQ(TrumpFor({"h14", "h13", "g12", "g11", "x2"}), 'g');
    EXPECT_EQ(TrumpFor({"p2", "p5", "p9", "p11", "p3"}), 'p');
    // Equal best scores without top cards: g is best, p second, and a tie goes to the second.
    EXPECT_EQ(TrumpFor({"g9", "g8", "p9", "p8", "h2"}), 'p');
    // A king whose ace is outside is no top card: x (23 + 14) beats h (23 + 12).
    EXPECT_EQ(TrumpFor({"x13", "x4", "h13", "h2", "g3"}), 'x');
    // A top card of a suit that is neither best nor second changes nothing.
    EXPECT_EQ(TrumpFor({"h12", "h11", "g10", "g9", "p14"}), 'h');
}

TEST(ChooseTrump, TopCardShareCountsHigherCardsOutside) {
    const std::vector<CardCode> others = {C("h3"), C("h14"), C("h10"), C("g14")};
    EXPECT_EQ(ai::TopCardShare(C("h12"), others), 7);   // 10 * 2 / 3 = 6.67
    EXPECT_EQ(ai::TopCardShare(C("h2"), others), 0);
    EXPECT_EQ(ai::TopCardShare(C("g13"), others), 0);
    EXPECT_EQ(ai::TopCardShare(C("h11"), {C("h2"), C("h12"), C("h3"), C("h4")}), 8);  // 7.5 goes to even 8
    EXPECT_EQ(ai::TopCardShare(C("h11"), {C("h2"), C("h12"), C("h3"), C("h4"), C("h5"), C("h13"), C("h6"), C("h7")}),
              8);  // 10 * 6 / 8 = 7.5 -> 8
    EXPECT_EQ(ai::TopCardShare(C("g13"), {C("g2")}), 10);
}

TEST(Queries, PickingCardsOfASuit) {
    GameState s;
    SetHeld(s, 1, {"h14", "h12", "h9", "h3", "g5"});
    HandAnalysis a(s);
    EXPECT_EQ(a.MiddleOfSuit(1, 'h'), C("h9"));  // the last card of rank 8..12 in slot order
    EXPECT_EQ(a.LowestOfSuit(1, 'h'), C("h3"));
    EXPECT_EQ(a.HighestOfSuit(1, 'h'), C("h14"));
    EXPECT_TRUE(a.LowestOfSuit(1, 'x').empty());
    SetHeld(s, 2, {"h3", "h14", "h13"});
    EXPECT_EQ(HandAnalysis(s).MiddleOfSuit(2, 'h'), C("h3"));  // no 8..12: the first card

    // Only trumps on the table: the lowest winner of the asked suit ignores them.
    s.Trump = 'x';
    StartTrick(s, 4, {"g7", "x9"});
    HandAnalysis b(s);
    EXPECT_EQ(b.LowestWinnerOfSuit(1, 'h'), C("h3"));
    EXPECT_TRUE(b.LowestWinnerOfSuit(1, 'x').empty());
    EXPECT_EQ(b.LowestWinnerOfSuit(1, 'g'), C("g5"));  // nothing beats the g7: the lowest club
}

TEST(Queries, TopCardsAndFallenCards) {
    GameState s;
    s.Trump = 'x';
    SetHeld(s, 1, {"h13", "h2", "p14", "g9", "g4"});
    SetHeld(s, 2, {"h14", "g2"});
    SetHeld(s, 3, {"h3", "g3"});
    SetHeld(s, 4, {"h4", "x5"});
    EXPECT_TRUE(HandAnalysis(s).HoldsTopOfSuit(1, 'p'));
    EXPECT_FALSE(HandAnalysis(s).HoldsTopOfSuit(1, 'h'));
    EXPECT_FALSE(HandAnalysis(s).HoldsTopOfSuit(1, 'x'));
    EXPECT_TRUE(HandAnalysis(s).IsTopRemaining(1, C("p14")));
    EXPECT_FALSE(HandAnalysis(s).IsTopRemaining(1, C("h13")));

    // Seat 2 plays its ace on seat 1's lead of hearts, seat 4 cannot follow.
    AddCompletedTrick(s, 1, {"h2", "h14", "h3", "x5"}, 4);
    HandAnalysis a(s);
    EXPECT_TRUE(a.HoldsTopOfSuit(1, 'h'));
    EXPECT_TRUE(a.IsTopRemaining(1, C("h13")));
    EXPECT_EQ(a.PlayedOfSuit(1, 'h'), 3);
    EXPECT_TRUE(a.IsBossCard(1, C("h13")));
    EXPECT_FALSE(a.IsBossCard(1, C("g9")));
    EXPECT_EQ(a.EstimateHolding(1, 4, 'h'), 0);  // shown void
    EXPECT_EQ(a.EstimateHolding(1, 1, 'h'), 1);  // own count
    // Unseen hearts: 13 - 3 fallen - 1 own + n (seat 3 followed: 1) = 10, shared by 2 holders, minus 1.
    EXPECT_EQ(a.EstimateHolding(1, 3, 'h'), 4);
    EXPECT_EQ(a.TeamTricksOf(1), 0);
}

TEST(Queries, HandSituation) {
    GameState s;
    auto situation = [&](int team, int other) {
        s.Tricks.assign(1, TrickRecord{});
        for (int i = 0; i < team; ++i) s.Tricks.push_back(TrickRecord{{}, 1, 1, 0});
        for (int i = 0; i < other; ++i) s.Tricks.push_back(TrickRecord{{}, 2, 2, 0});
        s.Tricks.push_back(TrickRecord{});
        return HandAnalysis(s).HandSituation(1);
    };
    EXPECT_EQ(situation(0, 5), 3);
    EXPECT_EQ(situation(6, 6), 3);
    EXPECT_EQ(situation(1, 6), 3);
    EXPECT_EQ(situation(2, 4), 0);
    EXPECT_EQ(situation(6, 2), 2);
    EXPECT_EQ(situation(0, 4), 2);
}

TEST(Queries, SignalsWalkBackFromTheLastTrick) {
    GameState s;
    s.Trump = 'x';
    SetHeld(s, 1, {"g2", "g3", "p2", "p3"});
    SetHeld(s, 3, {"h5", "h6", "x9"});
    EXPECT_EQ(HandAnalysis(s).PartnerSignal(1, 3, 'h'), 0);  // no trick yet
    AddCompletedTrick(s, 3, {"h5", "p4", "g2", "h7"}, 4);     // the partner led hearts
    AddCompletedTrick(s, 4, {"p5", "p2", "p6", "x9"}, 3);     // then trumped a spade
    HandAnalysis a(s);
    EXPECT_EQ(a.PartnerSignal(1, 3, 'x'), 14);
    EXPECT_EQ(a.PartnerSignal(1, 3, 'h'), 13);
    EXPECT_EQ(a.PartnerSignal(1, 3, 'g'), 0);
    EXPECT_EQ(a.OpponentSignal(1, 'p'), 10);  // seat 4 led spades
    EXPECT_EQ(a.OpponentSignal(1, 'g'), 0);
}

TEST(SureTricks, SlotOrderDecides) {
    GameState s;
    s.Trump = 'x';
    SetHeld(s, 1, {"h14", "h13", "h12"});
    EXPECT_EQ(ai::SureTricks(HandAnalysis(s), 1), 3);
    SetHeld(s, 1, {"h12", "h13", "h14"});
    EXPECT_EQ(ai::SureTricks(HandAnalysis(s), 1), 2);  // the ace, counted last, sets the limit back to 13
    SetHeld(s, 1, {"h13"});
    EXPECT_EQ(ai::SureTricks(HandAnalysis(s), 1), 0);
    SetHeld(s, 1, {"h12", "h13", "h14"});
    const auto before = s.Hands;
    ai::SureTricks(HandAnalysis(s), 1);
    // Counting marks nothing in the hand: every slot is as it was.
    for (int seat = 1; seat <= 4; ++seat)
        for (int k = 1; k <= 13; ++k) {
            EXPECT_EQ(s.Hands[seat][k].Winner, before[seat][k].Winner) << seat << "/" << k;
            EXPECT_EQ(s.Hands[seat][k].Leader, before[seat][k].Leader) << seat << "/" << k;
            EXPECT_EQ(s.Hands[seat][k].Cards, before[seat][k].Cards) << seat << "/" << k;
        }
}

TEST(SureTricks, AFallenAceLetsKingAndQueenCountInEitherOrder) {
    for (bool kingFirst : {true, false}) {
        GameState s;
        s.Trump = 'x';
        if (kingFirst)
            SetHeld(s, 1, {"h13", "h12", "g2", "h4"});
        else
            SetHeld(s, 1, {"h12", "h13", "g2", "h4"});
        AddCompletedTrick(s, 2, {"h14", "h2", "h3", "h4"}, 2);
        EXPECT_EQ(ai::SureTricks(HandAnalysis(s), 1), 2) << kingFirst;
    }
}

TEST(SureTricks, AnOpponentThatCanTrumpCutsTheRun) {
    GameState s;
    s.Trump = 'x';
    SetHeld(s, 1, {"h14", "h13", "h12", "h11", "g2", "g3", "g4", "g5", "g6", "g7", "p2", "p3", "p4"});
    HandAnalysis a(s);
    // Unseen hearts: 9 among 3 seats: 3 each; 4 winners cut to 3.
    EXPECT_EQ(a.EstimateHolding(1, 2, 'h'), 3);
    EXPECT_EQ(ai::SureTricks(a, 1), 3);

    // After a heart trick in which the partner showed a void, the unseen hearts
    // are shared by two seats: (13 - 3 - 4 + 1) / 2 - 1 = 2.5, rounded to 2 each.
    GameState t;
    t.Trump = 'x';
    SetHeld(t, 1, {"h14", "h13", "h12", "h11", "h10", "g2", "g3", "g4", "g5", "g6", "g7", "p2"});
    AddCompletedTrick(t, 4, {"h2", "h10", "h5", "g9"}, 1);
    HandAnalysis b(t);
    EXPECT_EQ(b.EstimateHolding(1, 2, 'h'), 2);
    EXPECT_EQ(b.EstimateHolding(1, 4, 'h'), 2);
    EXPECT_EQ(ai::SureTricks(b, 1), 2);
}

TEST(Strategy, SureWinnersAndSixTricksPlayOnlyHighest) {
    GameState s;
    s.Trump = 'x';
    SetHeld(s, 1, {"x14", "x13", "x12", "x11", "x10", "x9", "x8", "g2", "g3", "g4", "g5", "g6", "g7"});
    EXPECT_EQ(ai::ChooseStrategy(HandAnalysis(s), 1), ai::Strategy::OnlyHighest);
    SetHeld(s, 1, {"x2", "x3", "g4", "g5", "g6", "g7", "p8", "h2"});
    EXPECT_EQ(ai::ChooseStrategy(HandAnalysis(s), 1), ai::Strategy::Normal);
    s.Tricks.assign(1, TrickRecord{});
    for (int i = 0; i < 6; ++i) s.Tricks.push_back(TrickRecord{{}, 3, 3, 0});
    s.Tricks.push_back(TrickRecord{});
    EXPECT_EQ(ai::ChooseStrategy(HandAnalysis(s), 1), ai::Strategy::OnlyHighest);
}

TEST(CardSelection, FourthBehindAWinningPartnerPlaysItsSmallestCard) {
    GameState s;
    s.Trump = 'x';
    SetHeld(s, 4, {"h9", "h3", "h12", "g5", "p4"});
    StartTrick(s, 1, {"h5", "h13", "h7"});
    const ai::Choice c = ai::ChooseMove(s, 4, 4);
    EXPECT_EQ(c.tactic, Tactic::PlayLowest);
    EXPECT_EQ(c.suit, 'h');
    EXPECT_EQ(c.row, 3);  // row 3 scores 3000 more than row 4 outside trumps
    EXPECT_EQ(c.card, C("h3"));
}

TEST(CardSelection, FourthBeatsBothOpponentsWithItsLowestWinningCard) {
    GameState s;
    s.Trump = 'x';
    SetHeld(s, 4, {"h14", "h3", "h11", "g5"});
    StartTrick(s, 1, {"h5", "h2", "h10"});
    const ai::Choice c = ai::ChooseMove(s, 4, 4);
    EXPECT_EQ(c.row, 1);
    EXPECT_EQ(c.tactic, Tactic::PlayFirstBig);
    EXPECT_EQ(c.card, C("h11"));
}

TEST(CardSelection, AVoidSeatExaminesEverySuitItHolds) {
    GameState s;
    s.Trump = 'x';
    SetHeld(s, 2, {"g5", "x4", "p9"});
    StartTrick(s, 1, {"h5"});
    const ai::Choice c = ai::ChooseMove(s, 2, 2);
    // Second to play without hearts: trumping in (row 2, priority 3) beats throwing (row 6).
    EXPECT_EQ(c.suit, 'x');
    EXPECT_EQ(c.row, 2);
    EXPECT_EQ(c.card, C("x4"));
}

TEST(CardSelection, NothingSafeToLeadFallsBackToAnyCard) {
    GameState s;
    s.Trump = 'x';
    LoadPack(s, PackStartingWith({"h2", "g6", "g5"}));
    s.Deck[2].Owner = 1;
    s.Deck[3].Owner = 1;
    SetHeld(s, 1, {"g5", "g6", "g2"});
    // Clubs were led and seat 2 could not follow: it may trump any club now.
    AddCompletedTrick(s, 1, {"g2", "h5", "g3", "g4"}, 4);
    const ai::Choice c = ai::ChooseMove(s, 1, 1);
    EXPECT_EQ(c.row, 0);
    EXPECT_EQ(c.tactic, Tactic::PlayAnything);
    EXPECT_EQ(TacticName(c.tactic), "Play Somthing");
    EXPECT_EQ(c.card, C("g6"));  // the first held card in Deck order
}

// Checks every card the computer chooses against the rules' own answer,
// before the engine (which would replace a refused card) sees it.
class CheckingPlayer : public ComputerPlayer {
public:
    explicit CheckingPlayer(Game& game) : game_(game), inner_(game.positionForTests()) {}
    CardChoice SelectCard(int seat, int position) override {
        const std::vector<CardCode> legal = game_.LegalCards(seat);
        const CardChoice choice = inner_.SelectCard(seat, position);
        ++moves;
        if (std::find(legal.begin(), legal.end(), choice.card) == legal.end()) ++refused;
        return choice;
    }
    Suit ChooseTrump(int first, int count) override { return inner_.ChooseTrump(first, count); }
    long moves = 0;
    long refused = 0;

private:
    Game& game_;
    ai::ComputerSeatPlayer inner_;
};

TEST(CardSelection, EveryComputerCardIsLegalOverManySeededGames) {
    TestTable t;
    CheckingPlayer player(t.game);
    t.game.SetComputerPlayer(&player);
    for (int seat = 1; seat <= 4; ++seat) {
        t.s().Seats[seat].Name = "S" + std::to_string(seat);
        t.s().Seats[seat].Kind = SeatKind::Computer;
    }
    for (int game = 0; game < 60; ++game) t.game.StartClick();
    EXPECT_GT(player.moves, 20000);
    EXPECT_EQ(player.refused, 0);
}

}  // namespace
}  // namespace zarv::testing
