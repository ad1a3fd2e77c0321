// Undo in a game against the computer: the person's last card (or ZARV) and
// everything after it taken back, the table put back exactly as it stood,
// and the game marked in the person's records.
#include <gtest/gtest.h>

#include "ai/card_selection.h"
#include "tests/test_table.h"

namespace zarv::testing {
namespace {

int CardsOf(const GameState& s, int seat) {
    int n = 0;
    for (size_t t = 1; t < s.Tricks.size(); ++t) n += !s.Tricks[t].Cards[static_cast<size_t>(seat)].empty();
    return n;
}

bool SameTrick(const TrickRecord& a, const TrickRecord& b) {
    return a.Cards == b.Cards && a.Winner == b.Winner && a.Leader == b.Leader && a.Number == b.Number;
}

// Everything of the game in the two states, field by field; empty when they agree.
std::string Differences(const GameState& a, const GameState& b) {
    std::string d;
    auto note = [&](bool same, const std::string& what) {
        if (!same) d += what + " ";
    };
    for (int i = 0; i <= 52; ++i) {
        const CardRecord &x = a.Deck[static_cast<size_t>(i)], &y = b.Deck[static_cast<size_t>(i)];
        note(x.Card == y.Card && x.Owner == y.Owner && x.X == y.X && x.Y == y.Y && x.Face == y.Face && x.FaceDown == y.FaceDown,
             "deck " + std::to_string(i));
    }
    note(a.DrawOrder == b.DrawOrder, "painting order");
    note(a.Tricks.size() == b.Tricks.size(), "tricks");
    for (size_t t = 0; t < std::min(a.Tricks.size(), b.Tricks.size()); ++t) note(SameTrick(a.Tricks[t], b.Tricks[t]), "trick " + std::to_string(t));
    for (int p = 1; p <= 4; ++p) {
        for (int k = 1; k <= 13; ++k)
            note(SameTrick(a.Hands[static_cast<size_t>(p)][static_cast<size_t>(k)], b.Hands[static_cast<size_t>(p)][static_cast<size_t>(k)]),
                 "slot " + std::to_string(p) + "." + std::to_string(k));
        const SeatRecord &x = a.Seats[static_cast<size_t>(p)], &y = b.Seats[static_cast<size_t>(p)];
        note(x.Name == y.Name && x.Kind == y.Kind && x.X == y.X && x.Y == y.Y && x.FirstMaster == y.FirstMaster,
             "seat " + std::to_string(p));
    }
    note(a.HandsPlayed == b.HandsPlayed && a.ResultsA == b.ResultsA && a.ResultsB == b.ResultsB, "board");
    note(a.PointsA == b.PointsA && a.PointsB == b.PointsB, "points");
    note(a.MasterPlayer == b.MasterPlayer && a.Trump == b.Trump, "HAKEM or ZARV");
    note(a.Turn == b.Turn && a.TrickPosition == b.TrickPosition && a.HumanMayPlay == b.HumanMayPlay, "turn");
    note(a.GiveUp == b.GiveUp, "give-up flag");
    return d;
}

// A person at seat 3 who plays the first card the rules allow, and names the
// ZARV with the first of their five cards.
struct PersonAtTable {
    HeadlessGame h;
    ai::ComputerSeatPlayer computer{h.s()};
    explicit PersonAtTable(uint64_t seed = 5) : h(seed) { h.game.SetComputerPlayer(&computer); }
    void Decide() {
        const GameState& s = h.s();
        if (s.TrumpBeingNamed() && s.MasterPlayer == 3) {
            for (int d = 1; d <= 52; ++d)
                if (s.Deck[d].Owner == 3) return h.game.ChooseCard(d, false);
        }
        ASSERT_EQ(s.Turn, 3);
        h.game.ChooseCard(s.FindCard(LegalCardsOf(s, 3).front()), false);
    }
};

TEST(Undo, TakesBackTheLastCardAndEverythingAfterAndPutsTheTableBackExactly) {
    PersonAtTable t;
    std::optional<GameState> beforeThird;
    bool undone = false, compared = false;
    t.h.pump.onIdle = [&] {
        const GameState& s = t.h.s();
        if (s.HandsPlayed == 0 && !s.TrumpBeingNamed()) {
            const int played = CardsOf(s, 3);
            if (played == 2 && !beforeThird) beforeThird = s;  // the third card is about to be chosen
            if (played == 3 && !undone) {
                // Three tricks' cards of the others have followed it; all go back.
                ASSERT_TRUE(t.h.game.CanUndo());
                undone = true;
                t.h.game.UndoClick();
                return;
            }
            if (played == 2 && undone && !compared) {
                compared = true;
                EXPECT_EQ(Differences(s, *beforeThird), "");
                EXPECT_FALSE(t.h.game.CanUndo() && CardsOf(s, 3) == 0) << "nothing before the first card but the ZARV";
            }
        }
        t.Decide();
    };
    t.h.game.StartClick();
    ASSERT_TRUE(compared);
    // The game went on to its end and is marked in the records.
    EXPECT_EQ(t.h.records.wins + t.h.records.losses, 1);
    EXPECT_EQ(t.h.records.undoneGames, 1);
}

TEST(Undo, AGameWithoutUndoIsNotMarkedAndNothingIsTakenBackAcrossHands) {
    PersonAtTable t;
    int firstDecisionsOfLaterHands = 0;
    t.h.pump.onIdle = [&] {
        const GameState& s = t.h.s();
        // At a later hand's first card, the cards of the hands before are out of reach.
        if (s.HandsPlayed > 0 && !s.TrumpBeingNamed() && CardsOf(s, 3) == 0) {
            ++firstDecisionsOfLaterHands;
            EXPECT_EQ(t.h.game.CanUndo(), s.MasterPlayer == 3) << "only a HAKEM's ZARV";
        }
        t.Decide();
    };
    t.h.game.StartClick();
    EXPECT_GT(firstDecisionsOfLaterHands, 0);
    EXPECT_EQ(t.h.records.undoneGames, 0);
}

TEST(Undo, AHakemTakesBackTheZarvAndNamesItAgainFromTheSameFiveCards) {
    // Games are played until the person has been HAKEM once.
    for (uint64_t seed = 1; seed <= 30; ++seed) {
        PersonAtTable t(seed);
        std::vector<CardCode> five;
        int named = 0;
        bool undone = false;
        t.h.pump.onIdle = [&] {
            const GameState& s = t.h.s();
            if (s.TrumpBeingNamed() && s.MasterPlayer == 3 && named < 2 && (named == 0 || undone)) {
                std::vector<CardCode> cards;
                for (int d = 1; d <= 52; ++d)
                    if (s.Deck[d].Owner == 3) cards.push_back(s.Deck[d].Card);
                EXPECT_EQ(cards.size(), 5u);
                if (++named == 1) five = cards;
                else EXPECT_EQ(cards, five) << "the same deal again";
            }
            if (named == 1 && !undone && !s.TrumpBeingNamed() && s.Turn == 3 && CardsOf(s, 3) == 0) {
                ASSERT_TRUE(t.h.game.CanUndo());
                undone = true;
                t.h.game.UndoClick();
                return;
            }
            t.Decide();
        };
        t.h.game.StartClick();
        if (named == 0) continue;
        EXPECT_EQ(named, 2) << "the ZARV is asked for again";
        EXPECT_EQ(t.h.records.undoneGames, 1);
        return;
    }
    FAIL() << "the person was never HAKEM";
}

} // namespace
} // namespace zarv::testing
