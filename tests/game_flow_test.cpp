// The flow of a game: the draw, the deal, replay, shuffling, the waits, and
// whole games played headless.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <set>
#include <stdexcept>
#include <tuple>

#include "tests/test_table.h"

namespace zarv::testing {
namespace {

void AllComputer(GameState& s) {
    const char* names[5] = {"", "Tib ", "Vrel", "Me", "Dastrel"};
    for (int seat = 1; seat <= 4; ++seat) {
        s.Seats[seat].Name = names[seat];
        s.Seats[seat].Kind = SeatKind::Computer;
    }
}

// Plays the first card in Deck order that the rules allow: a simple, legal chooser.
class FirstLegalPlayer : public ComputerPlayer {
public:
    explicit FirstLegalPlayer(Game& game) : game_(game) {}
    CardChoice SelectCard(int seat, int) override {
        const std::vector<CardCode> legal = game_.LegalCards(seat);
        if (legal.empty()) return {};
        ++played;
        return {legal.front(), CardReason::Of(Tactic::PlayAnything)};
    }
    Suit ChooseTrump(int, int) override { return 'h'; }
    int played = 0;

private:
    Game& game_;
};

TEST(FirstAceDraw, StopsAtTheFirstAce) {
    TestTable t;
    t.view.recordSayings = true;
    AllComputer(t.s());
    auto pack = StandardPack();  // g2..g14, p2.., the first ace at position 13
    std::swap(pack[0], pack[12]);
    LoadPack(t.s(), pack);
    t.game.ChooseFirstMaster();
    EXPECT_EQ(t.s().MasterPlayer, 1);
    EXPECT_TRUE(t.s().Seats[1].FirstMaster);
    EXPECT_EQ(t.s().Deck[1].Owner, 1);
    EXPECT_EQ(t.s().Deck[2].Owner, kInPack);  // the draw stopped after one card
    EXPECT_EQ(t.view.said.back().second, "Tib  is \"HAKEM\"... ");

    // Aces at positions 3 and 7 (and later): the third seat draws first.
    pack = StandardPack();
    std::swap(pack[2], pack[12]);
    std::swap(pack[6], pack[25]);
    LoadPack(t.s(), pack);
    t.game.ChooseFirstMaster();
    EXPECT_EQ(t.s().MasterPlayer, 3);
    EXPECT_TRUE(t.s().Seats[3].FirstMaster);
    EXPECT_FALSE(t.s().Seats[1].FirstMaster);
    EXPECT_EQ(t.s().Deck[3].Owner, 3);
    EXPECT_EQ(t.s().Deck[4].Owner, kInPack);
}

struct Dealing : ::testing::Test {
    TestTable t;
    FirstLegalPlayer player{t.game};
    void SetUp() override {
        t.game.SetComputerPlayer(&player);
        AllComputer(t.s());
        ReadyToDeal(t.game);
    }
};

TEST_F(Dealing, TheMasterHoldsTheFirstThirteenAndLeads) {
    t.s().MasterPlayer = 2;
    t.game.NewHand(true);
    const int owners[4] = {2, 3, 4, 1};
    for (int i = 1; i <= 52; ++i) EXPECT_EQ(t.s().Deck[i].Owner, owners[(i - 1) / 13]) << "position " << i;
    EXPECT_EQ(t.s().Turn, 2);
    EXPECT_EQ(t.s().Trump, 'h');
    // The local seat's hand is sorted (x, p, h, g, highest first); the others keep the deal order.
    for (int i = 14; i < 26; ++i) {
        const CardCode a = t.s().Deck[i].Card, b = t.s().Deck[i + 1].Card;
        EXPECT_GT(100 * a.suit + a.rank, 100 * b.suit + b.rank);
    }
    for (int i = 1; i <= 13; ++i) EXPECT_EQ(t.s().Deck[i].Card, t.s().SavedDeck[i].Card);
    // Hands follow Deck order.
    EXPECT_EQ(t.s().Hands[2][1].Cards[2], t.s().Deck[1].Card);
    EXPECT_EQ(t.s().Hands[2][1].Winner, -1);
    EXPECT_EQ(t.s().Hands[3][1].Cards[3], t.s().Deck[14].Card);
}

TEST_F(Dealing, AHandCardsArchAtMostSevenPixels) {
    t.s().MasterPlayer = 1;
    t.game.NewHand(true);
    // Positions 27..39 went to seat 3 in one run from 27: offsets 6, 7, 6, 5, ... -4.
    const int expected[13] = {6, 7, 6, 5, 4, 3, 2, 1, 0, -1, -2, -3, -4};
    for (int k = 0; k < 13; ++k) {
        EXPECT_EQ(t.s().Deck[27 + k].Y, t.s().Seats[3].Y - expected[k]);
        EXPECT_EQ(t.s().Deck[27 + k].X, t.s().Seats[3].X + 13 * k);
    }
}

TEST_F(Dealing, ReplayDealsTheSamePositionsFromTheCurrentMasterAndKeepsTheTrump) {
    t.s().Seats[3].Kind = SeatKind::Human;
    t.s().MasterPlayer = 3;
    int clicks = 0;
    // The local master names the trump by clicking his first card.
    t.pump.onIdle = [&] {
        ++clicks;
        const CardRecord& first = t.s().Deck[1];
        t.game.ClickAt(first.X + 3, first.Y + 50);
    };
    t.game.NewHand(true);
    ASSERT_EQ(clicks, 1);
    const Suit trump = t.s().Trump;
    EXPECT_EQ(trump, SuitOf(t.s().Deck[1].Card));

    t.pump.onIdle = nullptr;  // a second question would stall
    t.game.ReplayClick();
    EXPECT_EQ(t.s().Trump, trump);
    std::multiset<std::string> cards;
    for (int i = 1; i <= 13; ++i) {
        EXPECT_EQ(t.s().Deck[i].Owner, 3);
        cards.insert(t.s().Deck[i].Card.text());
    }
    std::multiset<std::string> saved;
    for (int i = 1; i <= 13; ++i) saved.insert(t.s().SavedDeck[i].Card.text());
    EXPECT_EQ(cards, saved);

    // The role has passed on: the same positions go to the new master.
    t.s().MasterPlayer = 4;
    t.game.ReplayClick();
    for (int i = 1; i <= 39; ++i) EXPECT_EQ(t.s().Deck[i].Card, t.s().SavedDeck[i].Card) << i;
    for (int i = 1; i <= 13; ++i) EXPECT_EQ(t.s().Deck[i].Owner, 4);
    for (int i = 40; i <= 52; ++i) EXPECT_EQ(t.s().Deck[i].Owner, 3);
}

TEST(Shuffle, ResetsThePackAndMixesOnlyOnTheDealer) {
    TestTable t;
    LoadPack(t.s(), StandardPack());
    t.s().Deck[5].Owner = 3;
    t.s().Deck[5].FaceDown = false;
    t.s().IsDealer = false;
    t.game.Shuffle(400);
    const auto standard = StandardPack();
    for (int i = 1; i <= 52; ++i) {
        EXPECT_EQ(t.s().Deck[i].Card, standard[i - 1]);
        EXPECT_EQ(t.s().Deck[i].Owner, kInPack);
        EXPECT_TRUE(t.s().Deck[i].FaceDown);
        EXPECT_EQ(t.s().DrawOrder[i], 53 - i);
    }
    // The closed pack: the card painted i-th lies at ((i + 1) / 7 + 20, i / 5 + 20), rounded.
    EXPECT_EQ(t.s().Deck[52].X, 20);  // i = 1
    EXPECT_EQ(t.s().Deck[52].Y, 20);
    EXPECT_EQ(t.s().Deck[1].X, 28);   // i = 52: 53 / 7 = 7.57
    EXPECT_EQ(t.s().Deck[1].Y, 30);   // 52 / 5 = 10.4
    EXPECT_EQ(t.s().Deck[50].Y, 21);  // i = 3: 20.6

    t.s().IsDealer = true;
    t.game.Shuffle(400);
    int moved = 0;
    std::set<std::string> codes;
    for (int i = 1; i <= 52; ++i) {
        moved += t.s().Deck[i].Card != standard[i - 1];
        codes.insert(t.s().Deck[i].Card.text());
    }
    EXPECT_GT(moved, 30);
    EXPECT_EQ(codes.size(), 52u);
}

TEST(Waits, APauseSleepsUntilItsDeadlineInOneWait) {
    TestTable t;
    const double start = t.pump.now;
    t.game.Pause(3);
    EXPECT_EQ(t.pump.waitCalls, 1);
    EXPECT_DOUBLE_EQ(t.pump.now, start + 3);

    t.s().Tracing = true;  // trace mode: every pause returns at once
    t.game.Pause(3);
    EXPECT_EQ(t.pump.waitCalls, 1);
}

TEST(Waits, SpaceAndStopEndAPause) {
    TestTable t;
    t.pump.advanceTime = false;  // time stands still: only an event can end the pause
    int ticks = 0;
    t.pump.onTick = [&] {
        if (++ticks == 2) t.game.SpaceReleased();
    };
    t.game.Pause(3);
    EXPECT_EQ(ticks, 2);

    ticks = 0;
    t.pump.onTick = [&] {
        if (++ticks == 3) t.s().StopRequested = true;
    };
    t.game.Pause(3);
    EXPECT_EQ(ticks, 3);
}

// A client whose connection is open waits for the dealer's messages.
class OpenConnection : public NoNetwork {
public:
    bool IsConnected(int index) const override { return index == 0; }
    int handled = 0;
    bool HandleMessage(int, const TableMessage&) override {
        ++handled;
        return false;
    }
};

// The window ends a network game once nothing of the game is on the call
// stack: it hears of that moment once, after the outermost procedure, never
// from inside a hand.
TEST(Waits, TheViewHearsWhenTheWholeGameHasUnwound) {
    struct Hands : GameObserver {
        QuietTable& view;
        std::vector<int> unwindsDuringPlay;
        explicit Hands(QuietTable& v) : view(v) {}
        void TrickSettled(const TrickRecord&) override {}
        void HandScored(int, int) override { unwindsDuringPlay.push_back(view.unwinds); }
    };
    TestTable t;
    t.AllComputerSeats();
    FirstLegalPlayer player(t.game);
    t.game.SetComputerPlayer(&player);
    Hands hands(t.view);
    t.game.SetObserver(&hands);
    t.game.StartClick();
    ASSERT_FALSE(hands.unwindsDuringPlay.empty());
    for (int n : hands.unwindsDuringPlay) EXPECT_EQ(n, 0);
    EXPECT_EQ(t.view.unwinds, 1);
    EXPECT_FALSE(t.game.Running());
}

TEST(Waits, StopEndsTheWaitForAMessageAndForTheLocalTrump) {
    TestTable t;
    OpenConnection net;
    Game client(EngineServices{t.view, t.pump, t.random, net, t.records});
    client.positionForTests().IsDealer = false;
    int idle = 0;
    t.pump.onIdle = [&] {
        if (++idle == 5) client.positionForTests().StopRequested = true;
    };
    client.WaitForMessage(0, TableMessage::Of(TableMessage::Kind::Deal));
    EXPECT_EQ(idle, 5);
    EXPECT_GE(net.handled, 5);

    // The local master's trump: only a click or a stop ends the wait.
    TestTable u;
    AllComputer(u.s());
    u.s().Seats[3].Kind = SeatKind::Human;
    LoadPack(u.s(), StandardPack());
    u.s().SavedDeck = u.s().Deck;
    u.s().MasterPlayer = 3;
    idle = 0;
    u.pump.onIdle = [&] {
        if (++idle == 4) u.s().StopRequested = true;
    };
    u.game.NewHand(true);
    EXPECT_EQ(idle, 4);
    EXPECT_EQ(u.s().Trump, kNoSuit);
}

TEST(WholeGame, ComputerSeatsPlayLegalCardsToGameOver) {
    TestTable t;
    FirstLegalPlayer player(t.game);
    t.game.SetComputerPlayer(&player);
    AllComputer(t.s());
    int asked = 0;
    t.view.askNewGame = [&] { ++asked; return false; };
    t.game.StartClick();
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(t.s().PointsA >= 7 || t.s().PointsB >= 7);
    EXPECT_EQ(t.records.wins + t.records.losses, 1);
    const int hands = t.s().HandsPlayed;
    EXPECT_GE(hands, 3);
    EXPECT_LE(hands, 13);
    EXPECT_GE(player.played, hands * 28);  // at least seven tricks a hand
}

TEST(WholeGame, APersonClicksThroughAWholeGame) {
    TestTable t;
    FirstLegalPlayer computer(t.game);
    t.game.SetComputerPlayer(&computer);
    t.s().PlayerName = "Ann";
    int clicks = 0;
    // Whenever the game waits for the person, click the first card the rules allow.
    t.pump.onIdle = [&] {
        GameState& s = t.s();
        ASSERT_EQ(s.Turn, s.LocalSeat);
        const Suit led = s.LedSuit();
        bool holdsLed = false;
        for (int i = 1; i <= 52; ++i) holdsLed = holdsLed || (s.Deck[i].Owner == 3 && SuitOf(s.Deck[i].Card) == led);
        for (int k = 52; k >= 1; --k) {
            const int d = s.DrawOrder[k];
            if (s.Deck[d].Owner != 3 || (holdsLed && SuitOf(s.Deck[d].Card) != led)) continue;
            if (t.game.HitTest(s.Deck[d].X + 3, s.Deck[d].Y + 50) != d) continue;  // its visible edge
            ++clicks;
            t.game.ClickAt(s.Deck[d].X + 3, s.Deck[d].Y + 50);
            return;
        }
        throw std::runtime_error("no playable card visible");
    };
    t.view.askNewGame = [] { return false; };
    t.game.StartClick();
    EXPECT_TRUE(t.s().PointsA >= 7 || t.s().PointsB >= 7);
    EXPECT_EQ(t.s().Seats[3].Name, "Ann");
    EXPECT_GT(clicks, 20);
    EXPECT_EQ(t.view.beeps, 0);
}

TEST(WholeGame, TwoHundredNewGamesKeepTheStackDepth) {
    TestTable t;
    FirstLegalPlayer player(t.game);
    t.game.SetComputerPlayer(&player);
    AllComputer(t.s());
    std::vector<std::uintptr_t> depth;
    t.view.askNewGame = [&] {
        int marker = 0;
        depth.push_back(reinterpret_cast<std::uintptr_t>(&marker));
        return depth.size() < 200;
    };
    t.game.StartClick();
    ASSERT_EQ(depth.size(), 200u);
    // The first game runs one frame higher than the restarted ones; after that
    // every game asks from the same depth.
    for (size_t i = 2; i < depth.size(); ++i) EXPECT_EQ(depth[i], depth[1]) << "game " << i + 1;
    EXPECT_LT(depth[0] > depth[1] ? depth[0] - depth[1] : depth[1] - depth[0], 512u);
}

TEST(WholeGame, StartWhileAGameRunsRestartsAfterTheOldGameUnwinds) {
    TestTable t;
    FirstLegalPlayer player(t.game);
    t.game.SetComputerPlayer(&player);
    AllComputer(t.s());
    int starts = 0, pauses = 0;
    // In the middle of the first game (during a pause), the user starts anew.
    t.pump.onTick = [&] {
        if (++pauses == 50) {
            ++starts;
            t.game.StartClick();
            EXPECT_TRUE(t.s().StopRequested);
        }
    };
    int asked = 0;
    t.view.askNewGame = [&] { ++asked; return false; };
    t.game.StartClick();
    EXPECT_EQ(starts, 1);
    EXPECT_EQ(asked, 1);  // only the second game reached its end
    EXPECT_TRUE(t.s().PointsA >= 7 || t.s().PointsB >= 7);
}

}  // namespace
}  // namespace zarv::testing

namespace zarv::testing {
namespace {

// The turn loop offers giving up only once both sides have a trick.
TEST(GiveUp, OfferedOnlyWhenBothSidesHaveATrick) {
    for (const auto& [ours, theirs, offered] : {std::tuple{1, 0, false}, {0, 2, false}, {1, 1, true}}) {
        TestTable t;
        t.s().Seats[3].Kind = SeatKind::Human;
        t.s().Tricks.assign(1, TrickRecord{});
        for (int i = 0; i < ours; ++i) t.s().Tricks.push_back(TrickRecord{{}, 1, 1, 0});
        for (int i = 0; i < theirs; ++i) t.s().Tricks.push_back(TrickRecord{{}, 2, 2, 0});
        t.s().Tricks.push_back(TrickRecord{});
        t.s().Turn = 3;
        t.pump.onIdle = [&] { t.s().StopRequested = true; };  // the person's move: look, then stop
        t.game.TurnLoop();
        EXPECT_EQ(t.s().GiveUp, offered ? GiveUpFlag::Shown : GiveUpFlag::Hidden) << ours << "-" << theirs;
        EXPECT_TRUE(t.s().HumanMayPlay);
    }
}

TEST(GiveUp, ConcedesTheHandToTheOtherSide) {
    TestTable t;
    AllComputer(t.s());
    t.s().Seats[3].Kind = SeatKind::Human;
    t.s().MasterPlayer = 3;
    for (int seat = 1; seat <= 4; ++seat) t.s().Seats[seat].FirstMaster = seat == 3;
    t.s().Tricks.assign(1, TrickRecord{});
    for (int w : {1, 2, 4}) t.s().Tricks.push_back(TrickRecord{{}, w, w, 0});
    t.s().Tricks.push_back(TrickRecord{});
    t.view.askNewGame = [] { return false; };
    t.s().StopRequested = false;
    t.game.GiveUp();
    EXPECT_EQ(t.s().PointsB, 1);  // seat 4, after the local seat 3, wins: one point, no Koot
    EXPECT_EQ(t.s().MasterPlayer, 4);
}

}  // namespace
}  // namespace zarv::testing

namespace zarv::testing {
namespace {

TEST(Replay, ChosenDuringTheResultPauseDealsTheSameCardsFromTheNewMaster) {
    TestTable t;
    FirstLegalPlayer player(t.game);
    t.game.SetComputerPlayer(&player);
    AllComputer(t.s());
    ReadyToDeal(t.game);
    t.s().MasterPlayer = 1;
    t.game.NewHand(true);
    // During the 3-second pause after the first hand's result, choose Replay.
    bool replayed = false;
    std::array<CardCode, 53> saved{};
    int newMaster = 0;
    t.pump.onTick = [&] {
        if (!replayed && t.pump.now > 0 && t.s().HandsPlayed == 1 && t.s().Turn != 0) {
            replayed = true;
            for (int i = 1; i <= 52; ++i) saved[i] = t.s().SavedDeck[i].Card;
            newMaster = t.s().MasterPlayer;
            t.game.ReplayClick();
        }
    };
    // Play until the second hand has been dealt.
    t.view.askNewGame = [] { return false; };
    while (t.s().HandsPlayed == 0 && !t.s().StopRequested) t.game.ComputerMove(t.s().Turn);
    ASSERT_TRUE(replayed);
    EXPECT_EQ(t.s().HandsPlayed, 1);  // the replayed hand is not scored
    for (int i = 1; i <= 52; ++i) EXPECT_EQ(t.s().SavedDeck[i].Card, saved[i]) << i;
    for (int i = 1; i <= 13; ++i) EXPECT_EQ(t.s().Deck[i].Owner, newMaster);
}

}  // namespace
}  // namespace zarv::testing

namespace zarv::testing {
namespace {

// The shuffle, step by step as the rules of the pack give it, on the same numbers.
std::vector<CardCode> LiteralShuffle(std::vector<CardCode> pack, int times, uint64_t seed) {
    SeededRandom rnd(seed);
    pack.insert(pack.begin(), CardCode{});  // positions from 1
    for (int n = 0; n < times; ++n) {
        const int k = static_cast<int>(rnd.Next() * 25) + 5;
        for (int j = 1; j <= k; ++j) std::swap(pack[j], pack[52 - j]);
    }
    for (int n = 0; n < times; ++n) {
        const int a = static_cast<int>(rnd.Next() * 52) + 1;
        const int b = static_cast<int>(rnd.Next() * 52) + 1;
        std::swap(pack[a], pack[b]);
    }
    return pack;
}

TEST(Shuffle, MixesExactlyAsTheExchangesOneByOne) {
    for (const auto& [times, seed] : {std::pair{1, 5u}, {7, 11u}, {200, 3u}, {499, 99u}}) {
        HeadlessGame h(seed);
        LoadPack(h.s(), StandardPack());
        h.game.Shuffle(times);
        const auto expected = LiteralShuffle(StandardPack(), times, seed);
        for (int i = 1; i <= 52; ++i) EXPECT_EQ(h.s().Deck[i].Card, expected[i]) << times << " " << i;
    }
}

}  // namespace
}  // namespace zarv::testing

namespace zarv::testing {
namespace {

// What the table shows while a hand is gathered and dealt: the new hand, led
// by its master, never the last hand's tricks or the last player to move; and
// a new game never shows the last game's counts.
TEST(HandStart, TheTableShowsTheNewHandFromItsFirstMoment) {
    HeadlessGame h(17);
    FirstLegalPlayer computer(h.game);
    h.game.SetComputerPlayer(&computer);
    AllComputer(h.s());
    struct Look : GameObserver {
        GameState& s;
        int hands = 0, stale = 0, lastWinner = 0;
        explicit Look(GameState& state) : s(state) {}
        void HandStarted(int master) override {
            ++hands;
            // Nothing of the last hand: no trick, the master to lead.
            stale += s.Tricks.size() != 2 || !s.Tricks[1].Cards[1].empty() || s.Tricks[1].Leader != 0;
            stale += s.Turn != master;
        }
        void TrickSettled(const TrickRecord& t) override { lastWinner = t.Winner; }
        void HandScored(int, int) override {}
    } look(h.s());
    h.game.SetObserver(&look);
    h.view.askNewGame = [] { return false; };
    h.game.StartClick();
    EXPECT_GT(look.hands, 5);
    EXPECT_EQ(look.stale, 0);
    // The next game begins with empty tricks and no trump before its first deal.
    struct First : GameObserver {
        GameState& s;
        bool checked = false, clean = false;
        explicit First(GameState& state) : s(state) {}
        void HandStarted(int) override {
            if (checked) return;
            checked = true;
            clean = s.PointsA == 0 && s.PointsB == 0 && s.Tricks.size() == 2 && s.HandsPlayed == 0;
        }
        void TrickSettled(const TrickRecord&) override {}
        void HandScored(int, int) override { s.StopRequested = true; }
    } first(h.s());
    h.game.SetObserver(&first);
    h.game.StartClick();
    EXPECT_TRUE(first.checked);
    EXPECT_TRUE(first.clean);
}

} // namespace
} // namespace zarv::testing
