// The players' ratings, made from finished games in the order they ended.
// Zarv is two against two: each person is rated against the opposing pair
// as one opponent, partners sharing the result, each game a rating period of
// its own (Glicko-2, see glicko.h). The opponent is the pair's mean rating
// moved by half the difference between the player and the partner, so that
// the expected score is that of pair against pair (the means of their
// ratings): against the pair's mean alone, a player's rating would drift to
// the mean of its pairs and the spread of strengths would come out halved. The server's computer players
// have fixed ratings per level, measured from duels; they are never updated.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "server/game_record.h"
#include "server/glicko.h"

namespace zarv::server {

struct RatedPlayer {
    std::string name;  // as last seen
    Rating rating;
    int games = 0;
    int wins = 0;
};

class RatingBook {
public:
    // The computers' fixed ratings: the Standard player is the scale's centre,
    // each other level where its whole games against it put it (zarv-sim duel
    // 40 --games --seed 11 --team-a LEVEL, time-capped as at the table):
    // the Expert won 77 of 80, 400 * log10(0.9625 / 0.0375) = 564 above; the
    // Master 79 of 80, 400 * log10(0.9875 / 0.0125) = 759 above. The Beginner
    // won 785 of 4,000 (zarv-sim duel 1000 --games, seeds 11 and 2026),
    // 400 * log10(0.196 / 0.804) = 245 below.
    static constexpr double kStandardComputer = 1500;
    static constexpr double kExpertComputer = 2064;
    static constexpr double kBeginnerComputer = 1255;
    static constexpr double kMasterComputer = 2259;
    static constexpr double kComputerDeviation = 30;
    static double ComputerRating(ai::Level level);

    // A finished game counts; any other is passed over.
    void Add(const GameRecord& game);
    // The best, by rating and then by games (limit < 0: all).
    std::vector<RatedPlayer> Top(int limit) const;
    // The player of that name in any letter case, or null.
    const RatedPlayer* Find(const std::string& name) const;

private:
    // The rating a seat plays with in this game: a person's own, a computer's fixed one.
    Rating SeatRating(const GameRecord& game, int seat) const;
    std::map<std::string, RatedPlayer> players_;  // by the name in lower case
};

} // namespace zarv::server
