// Ratings: the Glicko-2 update against its author's worked example, a series
// of games between players of known strength, and what the rating book counts.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <random>

#include "server/glicko.h"
#include "server/rating_book.h"

namespace zarv::testing {
namespace {

using server::GameRecord;
using server::Rating;
using server::RatingBook;
using server::Updated;

TEST(GlickoTest, TheWorkedExampleOfTheMethodsPaper) {
    // Glickman, "Example of the Glicko-2 system": a 1500 player (deviation
    // 200, volatility 0.06) beats a 1400 (30), loses to a 1550 (100) and a 1700 (300); tau 0.5.
    const Rating after = Updated({1500, 200, 0.06}, {{1400, 30, 1}, {1550, 100, 0}, {1700, 300, 0}}, 0.5);
    EXPECT_NEAR(after.rating, 1464.06, 0.01);
    EXPECT_NEAR(after.deviation, 151.52, 0.01);
    EXPECT_NEAR(after.volatility, 0.05999, 0.00001);
}

TEST(GlickoTest, APeriodWithoutGamesOnlyWidensTheDeviationUpToItsBound) {
    const Rating after = Updated({1650, 200, 0.06}, {});
    EXPECT_EQ(after.rating, 1650);
    EXPECT_NEAR(after.deviation, std::sqrt(200.0 * 200 + std::pow(0.06 * 173.7178, 2)), 1e-6);
    EXPECT_EQ(Updated({1500, 349.9, 0.06}, {}).deviation, server::kMaxDeviation);
    // A win against a stronger player is worth more than against a weaker one.
    EXPECT_GT(Updated({1500, 100, 0.06}, {{1800, 50, 1}}).rating, Updated({1500, 100, 0.06}, {{1200, 50, 1}}).rating);
}

// A finished game of four named seats (seat 3 the computer unless named).
GameRecord Finished(std::array<std::string, 5> names, bool firstSideWon, ai::Level level = ai::Level::Standard) {
    GameRecord g;
    g.level = level;
    for (int s = 1; s <= 4; ++s) {
        const bool person = !names[static_cast<size_t>(s)].empty();
        g.seats[static_cast<size_t>(s)] = {person ? names[static_cast<size_t>(s)] : "Zarv", person, false};
    }
    (firstSideWon ? g.pointsA : g.pointsB) = 7;
    g.finished = true;
    return g;
}

TEST(RatingBookTest, PartnersShareTheResultAgainstTheOpposingPair) {
    RatingBook book;
    book.Add(Finished({"", "Ann", "Bob", "Cy", "Dee"}, true));
    const auto* ann = book.Find("ANN");  // any letter case
    const auto* cy = book.Find("cy");
    ASSERT_TRUE(ann && cy && book.Find("Bob") && book.Find("Dee"));
    EXPECT_GT(ann->rating.rating, 1500);
    EXPECT_DOUBLE_EQ(ann->rating.rating, cy->rating.rating);  // partners, the same start
    EXPECT_DOUBLE_EQ(book.Find("Bob")->rating.rating, book.Find("Dee")->rating.rating);
    EXPECT_NEAR(ann->rating.rating - 1500, 1500 - book.Find("Bob")->rating.rating, 1e-9);
    EXPECT_EQ(ann->games, 1);
    // The computer at seat 3 is no player of the book.
    EXPECT_EQ(book.Top(-1).size(), 4u);
}

TEST(RatingBookTest, OnlyFinishedGamesCountAndComputersKeepTheirRatings) {
    RatingBook book;
    GameRecord stopped = Finished({"", "Ann", "Bob", "", "Dee"}, true);
    stopped.finished = false;
    book.Add(stopped);
    EXPECT_EQ(book.Find("Ann"), nullptr);
    // Beating a pair with the Expert is worth more than beating one with the Standard player.
    RatingBook againstExpert, againstStandard;
    againstExpert.Add(Finished({"", "Ann", "", "", ""}, true, ai::Level::Expert));
    againstStandard.Add(Finished({"", "Ann", "", "", ""}, true, ai::Level::Standard));
    EXPECT_GT(againstExpert.Find("Ann")->rating.rating, againstStandard.Find("Ann")->rating.rating);
    EXPECT_EQ(againstStandard.Top(-1).size(), 1u);
    // ... and beating a pair of Beginners less, the level read back from its stored number.
    RatingBook againstBeginner;
    GameRecord easy = Finished({"", "Ann", "", "", ""}, true, ai::LevelFromNumber(2));
    againstBeginner.Add(easy);
    EXPECT_LT(againstBeginner.Find("Ann")->rating.rating, againstStandard.Find("Ann")->rating.rating);
    // ... and beating a pair of Masters more than beating Experts.
    RatingBook againstMaster;
    againstMaster.Add(Finished({"", "Ann", "", "", ""}, true, ai::LevelFromNumber(3)));
    EXPECT_GT(againstMaster.Find("Ann")->rating.rating, againstExpert.Find("Ann")->rating.rating);
}

TEST(RatingBookTest, AnUnratedTableCountsForNobodyAndOneWhoLeavesLoses) {
    RatingBook book;
    GameRecord unrated = Finished({"", "Ann", "Bob", "", "Dee"}, true);
    unrated.rated = false;
    book.Add(unrated);
    EXPECT_EQ(book.Find("Ann"), nullptr);
    // Ann left a game her side won without her: she loses it, her partner's win stands.
    GameRecord won = Finished({"", "Ann", "Bob", "Cy", "Dee"}, true);
    won.seats[1].left = true;
    book.Add(won);
    EXPECT_LT(book.Find("Ann")->rating.rating, 1500);
    EXPECT_GT(book.Find("Cy")->rating.rating, 1500);
    EXPECT_LT(book.Find("Bob")->rating.rating, 1500);
    // A game stopped before its end (everyone gone) counts against those who left it only.
    RatingBook stopped;
    GameRecord deserted = Finished({"", "Ann", "Bob", "Cy", "Dee"}, false);
    deserted.finished = false;
    deserted.seats[2].left = true;
    stopped.Add(deserted);
    EXPECT_LT(stopped.Find("Bob")->rating.rating, 1500);
    EXPECT_EQ(stopped.Find("Ann"), nullptr);
    EXPECT_EQ(stopped.Find("Dee"), nullptr);
}

TEST(RatingBookTest, GamesBetweenKnownStrengthsBringTheRatingsToThem) {
    // Six players 100 points apart; each game four of them at random, the
    // pair's chance of winning as the method models it (the means of the pairs).
    const std::array<double, 6> strength = {1250, 1350, 1450, 1550, 1650, 1750};
    const std::array<std::string, 6> names = {"P0", "P1", "P2", "P3", "P4", "P5"};
    std::mt19937 random(5);
    RatingBook book;
    // Each game is a rating period of its own, so a rating wanders around the
    // strength it has found: what is checked is its mean over the last games.
    std::array<double, 6> sum{};
    constexpr int kGames = 6000, kSettled = 2000;
    for (int game = 0; game < kGames; ++game) {
        std::array<int, 6> order = {0, 1, 2, 3, 4, 5};
        std::shuffle(order.begin(), order.end(), random);
        const double a = (strength[order[0]] + strength[order[2]]) / 2, b = (strength[order[1]] + strength[order[3]]) / 2;
        const bool firstWins = std::uniform_real_distribution<double>(0, 1)(random) < 1 / (1 + std::pow(10, (b - a) / 400));
        book.Add(Finished({"", names[order[0]], names[order[1]], names[order[2]], names[order[3]]}, firstWins));
        if (game < kSettled) continue;
        for (size_t k = 0; k < names.size(); ++k) {
            const auto* p = book.Find(names[k]);
            sum[k] += p ? p->rating.rating : 1500;
        }
    }
    double centre = 0;
    for (double& s : sum) centre += (s /= kGames - kSettled) / 6;
    for (size_t k = 0; k < names.size(); ++k) {
        EXPECT_NEAR(sum[k] - centre, strength[k] - 1500, 50) << names[k];
        if (k > 0) {
            EXPECT_GT(sum[k], sum[k - 1]) << names[k];
        }
        EXPECT_LT(book.Find(names[k])->rating.deviation, 80) << names[k];
    }
}

} // namespace
} // namespace zarv::testing
