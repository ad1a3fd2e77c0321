// The computer players' levels: what the Expert reads from each seat's plays,
// the Beginner and the Master at whole games, and the levels' order.
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "ai/beginner.h"
#include "ai/card_selection.h"
#include "ai/level_player.h"
#include "ai/play_inference.h"
#include "ai/world_draw.h"
#include "tests/test_table.h"
#include "tools/duel.h"

namespace zarv::testing {
namespace {

constexpr ai::SeatModels kAllStandard{ai::SeatModel::Standard, ai::SeatModel::Standard, ai::SeatModel::Standard,
                                      ai::SeatModel::Standard, ai::SeatModel::Standard};

// The plays of the hand so far, in order: (seat, card).
std::vector<std::pair<int, CardCode>> PlaysOf(const GameState& s) {
    std::vector<std::pair<int, CardCode>> plays;
    for (size_t t = 1; t < s.Tricks.size(); ++t) {
        const TrickRecord& trick = s.Tricks[t];
        if (trick.Leader < 1) break;
        for (int k = 0, seat = trick.Leader; k < 4 && !trick.Cards[static_cast<size_t>(seat)].empty(); ++k, seat = NextSeat(seat))
            plays.emplace_back(seat, trick.Cards[static_cast<size_t>(seat)]);
    }
    return plays;
}

// The world's deal played again by the engine itself, every seat making the
// card it made at the table: how many times the standard player, at a seat
// other than the viewer's, would have chosen another card. An oracle apart
// from the inference: the engine deals, builds the hands and records tricks.
class Replayer : public ComputerPlayer {
public:
    Replayer(Game& game, std::vector<std::pair<int, CardCode>> plays, int viewer, Suit trump)
        : game_(game), standard_(game.state()), plays_(std::move(plays)), viewer_(viewer), trump_(trump) {}
    CardChoice SelectCard(int seat, int position) override {
        const auto [expectedSeat, card] = plays_[next_++];
        EXPECT_EQ(seat, expectedSeat);
        CardCode usual = standard_.SelectCard(seat, position).card;
        if (!game_.IsLegalCard(seat, usual)) usual = game_.LegalCards(seat).front();
        if (seat != viewer_ && game_.LegalCards(seat).size() > 1 && usual != card) ++mismatches;
        if (next_ == plays_.size()) game_.EndHere();
        return {card, {}};
    }
    Suit ChooseTrump(int, int) override { return trump_; }
    int mismatches = 0;

private:
    Game& game_;
    ai::ComputerSeatPlayer standard_;
    std::vector<std::pair<int, CardCode>> plays_;
    size_t next_ = 0;
    int viewer_;
    Suit trump_;
};

int EngineMismatches(const GameState& world, int viewer) {
    const auto plays = PlaysOf(world);
    // Each seat's cards as dealt, in pack order, in the runs the engine deals:
    // the HAKEM first, then the seats after it.
    std::array<std::vector<CardCode>, 5> dealt;
    for (int i = 1; i <= 52; ++i) {
        int owner = world.Deck[i].Owner;
        for (const auto& [seat, card] : plays)
            if (card == world.Deck[i].Card) owner = seat;
        dealt[static_cast<size_t>(owner)].push_back(world.Deck[i].Card);
    }
    std::vector<CardCode> pack;
    for (int k = 0, seat = world.MasterPlayer; k < 4; ++k, seat = NextSeat(seat))
        pack.insert(pack.end(), dealt[static_cast<size_t>(seat)].begin(), dealt[static_cast<size_t>(seat)].end());
    HeadlessGame h(1);
    h.AllComputerSeats();
    Replayer replay(h.game, plays, viewer, world.Trump);
    h.game.SetComputerPlayer(&replay);
    // Every hand kept in the order dealt, as the inference builds it: the
    // table sorts only the hand shown to a person, never one it imagines.
    h.game.SetSortedSeats(std::array<bool, 5>{});
    int firstMaster = 0;
    for (int seat = 1; seat <= 4; ++seat)
        if (world.Seats[seat].FirstMaster) firstMaster = seat;
    h.game.DealGivenHand(pack, world.MasterPlayer, firstMaster);
    h.game.TurnLoop();
    return replay.mismatches;
}

struct Position {
    GameState state;
    int seat = 0;
};

// Tables of four standard players at decisions late enough for plays to tell.
std::vector<Position> Positions() {
    std::vector<Position> positions;
    for (uint64_t seed : {4u, 11u, 17u})
        for (int decision : {9, 21, 34, 47}) {
            Position p;
            p.state = MidHand(seed, decision, p.seat);
            if (PlaysOf(p.state).size() >= 8) positions.push_back(p);
        }
    return positions;
}

TEST(PlayInference, CountsExactlyThePlaysAStandardSeatWouldNotHaveMade) {
    const auto positions = Positions();
    ASSERT_GE(positions.size(), 6u);
    int agreeing = 0, disagreeing = 0;
    for (const Position& p : positions) {
        const ai::PlayInference inference(p.state, p.seat, kAllStandard);
        // The real deal: every standard seat played what the tables chose.
        EXPECT_EQ(inference.Judge(p.state).contradictions, 0);
        const ai::WorldSampler sampler(p.state, p.seat);
        std::mt19937_64 rng(p.seat);
        GameState world;
        for (int n = 0; n < 25; ++n) {
            sampler.Sample(rng, world);
            const int counted = inference.Judge(world).contradictions;
            ASSERT_EQ(counted, EngineMismatches(world, p.seat)) << "world " << n;
            (counted ? disagreeing : agreeing) += 1;
        }
    }
    // Both kinds of world came up, so the count was put to the test.
    EXPECT_GT(agreeing, 5);
    EXPECT_GT(disagreeing, 20);
}

TEST(PlayInference, AWorldAStandardSeatCouldNotHaveProducedIsNeverDrawnWhileAnotherAgrees) {
    int drawnAgreeing = 0, blindAgreeing = 0, n = 0;
    for (const Position& p : Positions()) {
        const ai::WorldDraw draw(p.state, p.seat, kAllStandard);
        const ai::PlayInference inference(p.state, p.seat, kAllStandard);
        const ai::WorldSampler blind(p.state, p.seat);
        std::mt19937_64 rng(7);
        GameState world, spare;
        for (int k = 0; k < 20; ++k, ++n) {
            const ai::WorldDraw::Drawn drawn = draw.Draw(rng, world, spare);
            // What the draw says of its world is what the engine finds.
            if (drawn.misses == 0) {
                ++drawnAgreeing;
                ASSERT_EQ(EngineMismatches(world, p.seat), 0);
            }
            blind.Sample(rng, world);
            blindAgreeing += inference.Judge(world).contradictions == 0;
        }
    }
    // Late in a hand few worlds dealt blind agree with every play; the draws,
    // mended by trading cards between seats, mostly do (without the trades,
    // about one in six).
    EXPECT_GT(drawnAgreeing, n * 2 / 3) << n;
    EXPECT_GT(drawnAgreeing, 4 * blindAgreeing) << blindAgreeing;
}

TEST(PlayInference, APersonsPlayMakesTheWorldsThatPredictItMoreLikely) {
    constexpr ai::SeatModels kPeople{};
    // In each position, worlds in which the standard tables predict every
    // play against worlds in which they predict another card somewhere: a
    // play predicted counts about three times one that was not (fewer cards
    // to choose from also make a play likelier, so this holds on average).
    int compared = 0;
    for (const Position& p : Positions()) {
        const ai::PlayInference people(p.state, p.seat, kPeople), standard(p.state, p.seat, kAllStandard);
        const ai::WorldSampler sampler(p.state, p.seat);
        std::mt19937_64 rng(3);
        GameState world;
        double agreeing = 0, disagreeing = 0;
        int nAgreeing = 0, nDisagreeing = 0;
        for (int n = 0; n < 300; ++n) {
            sampler.Sample(rng, world);
            const double weight = people.Judge(world).weight;
            ASSERT_GT(weight, 0);  // a person may play anything: less likely, never impossible
            const bool agrees = standard.Judge(world).contradictions == 0;
            (agrees ? agreeing : disagreeing) += std::log(weight);
            (agrees ? nAgreeing : nDisagreeing) += 1;
        }
        if (nAgreeing < 3 || nDisagreeing < 3) continue;
        EXPECT_GT(agreeing / nAgreeing - disagreeing / nDisagreeing, std::log(2.0));
        ++compared;
    }
    EXPECT_GE(compared, 3);
}

// At a table, a person's plays are read softly; a computer's, which reasons
// at the same level its own way, are not read at all.
TEST(PlayInference, AtATablePeopleAreReadAndComputersAreNot) {
    for (const Position& p : Positions()) {
        GameState s = p.state;
        for (int seat = 1; seat <= 4; ++seat) s.Seats[seat].Kind = SeatKind::Computer;
        const int person = NextSeat(p.seat);
        s.Seats[person].Kind = SeatKind::Human;
        const ai::SeatModels models = ai::SeatsAsTheyAre(s);
        for (int seat = 1; seat <= 4; ++seat)
            EXPECT_EQ(models[static_cast<size_t>(seat)], seat == person ? ai::SeatModel::Person : ai::SeatModel::Unread);
        const ai::WorldSampler sampler(s, p.seat);
        std::mt19937_64 rng(5);
        GameState world;
        sampler.Sample(rng, world);
        constexpr ai::SeatModels kNone{ai::SeatModel::Unread, ai::SeatModel::Unread, ai::SeatModel::Unread,
                                       ai::SeatModel::Unread, ai::SeatModel::Unread};
        EXPECT_EQ(ai::PlayInference(s, p.seat, kNone).Judge(world).weight, 1.0);
        EXPECT_FALSE(ai::PlayInference(s, p.seat, kNone).Telling());
        // The person's plays alone weigh the world: as if the others were unread.
        ai::SeatModels onlyThePerson = kNone;
        onlyThePerson[static_cast<size_t>(person)] = ai::SeatModel::Person;
        EXPECT_EQ(ai::PlayInference(s, p.seat, models).Judge(world).weight,
                  ai::PlayInference(s, p.seat, onlyThePerson).Judge(world).weight);
        EXPECT_LT(ai::PlayInference(s, p.seat, models).Judge(world).weight, 1.0);
    }
}

// Every card a level plays is legal, through whole seeded games.
class CheckedLevel : public ComputerPlayer {
public:
    CheckedLevel(Game& g, ai::Level level, ai::ExpertOptions o) : g_(g), player_(g.state(), o) { player_.SetLevel(level); }
    CardChoice SelectCard(int seat, int position) override {
        const CardChoice c = player_.SelectCard(seat, position);
        ++moves;
        if (!g_.IsLegalCard(seat, c.card)) ++refused;
        if (c.reason.kind == CardReason::Kind::None) ++unexplained;
        return c;
    }
    Suit ChooseTrump(int first, int count) override { return player_.ChooseTrump(first, count); }
    long moves = 0, refused = 0, unexplained = 0;

private:
    Game& g_;
    ai::LevelPlayer player_;
};

TEST(Levels, BeginnerAndMasterPlayOnlyLegalCardsToTheEndOfWholeGames) {
    for (ai::Level level : {ai::Level::Beginner, ai::Level::Master})
        for (uint64_t seed : {1u, 2u, 3u}) {
            HeadlessGame h(seed);
            h.AllComputerSeats();
            CheckedLevel player(h.game, level, ai::ExpertOptions{2, 0, seed});
            h.game.SetComputerPlayer(&player);
            h.game.StartClick();
            EXPECT_TRUE(h.s().PointsA >= 7 || h.s().PointsB >= 7);
            EXPECT_GT(player.moves, 100);
            EXPECT_EQ(player.refused, 0) << ai::LevelText(level);
            EXPECT_EQ(player.unexplained, 0) << ai::LevelText(level);
        }
}

TEST(Levels, TheSameSeedDecidesTheSameOnOneThreadOrTwo) {
    for (const Position& p : Positions()) {
        ai::ExpertOptions one{24, 0, 5};
        one.models = kAllStandard;
        ai::ExpertOptions two = one;
        two.threads = 2;
        ai::ExpertPlayer a(p.state, one), b(p.state, two), again(p.state, two);
        const CardChoice first = a.SelectCard(p.seat, p.state.TrickPosition);
        EXPECT_EQ(first, b.SelectCard(p.seat, p.state.TrickPosition));
        EXPECT_EQ(first, again.SelectCard(p.seat, p.state.TrickPosition));
        ai::BeginnerPlayer learner(p.state, {}), same(p.state, {});
        EXPECT_EQ(learner.SelectCard(p.seat, p.state.TrickPosition), same.SelectCard(p.seat, p.state.TrickPosition));
    }
}

// The Beginner's mistakes come at the rate it is given: with none it follows
// its ideas; with every decision a mistake, it plays all sorts of cards.
TEST(Levels, TheBeginnersMistakesComeAtItsRate) {
    int differing = 0, decisions = 0;
    for (const Position& p : Positions()) {
        if (LegalCardsOf(p.state, p.seat).size() < 2) continue;
        ai::BeginnerPlayer careful(p.state, {0.0, 1}), careless(p.state, {1.0, 1});
        const CardChoice idea = careful.SelectCard(p.seat, p.state.TrickPosition);
        EXPECT_NE(idea.reason.tactic, Tactic::PlayAnything);
        for (uint64_t seed = 1; seed <= 20; ++seed, ++decisions) {
            careless.SetOptions({1.0, seed});
            const CardChoice slip = careless.SelectCard(p.seat, p.state.TrickPosition);
            EXPECT_EQ(slip.reason.tactic, Tactic::PlayAnything);
            differing += slip.card != idea.card;
        }
    }
    EXPECT_GT(differing, decisions / 4);
}

// A small duplicate duel at a few worlds a decision, always the same deals:
// each level ahead of the one below by a wide margin.
double ShareOf(const char* a, const char* b, int deals) {
    std::ostringstream out, progress;
    zarv::sim::RunDuel({"duel", std::to_string(deals), "--seed", "7", "--team-a", a, "--team-b", b, "--samples", "16"}, out,
                       progress);
    std::istringstream in(out.str());
    std::string word;
    double share = -1;
    while (in >> word)
        if (word == "point-share") in >> share;
    return share;
}

TEST(Levels, AreOrderedOnASmallDuel) {
    EXPECT_LT(ShareOf("beginner", "standard", 200), 0.45);
    EXPECT_GT(ShareOf("expert", "standard", 40), 0.55);
}

} // namespace
} // namespace zarv::testing
