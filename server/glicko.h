// The Glicko-2 rating method: a rating, its deviation (how sure it is) and
// its volatility (how much the player's strength moves), updated after a
// rating period from the results against opponents of known rating.
// Source: Mark E. Glickman, "Example of the Glicko-2 system" (Boston
// University, 2013), http://www.glicko.net/glicko/glicko2.pdf — steps 1 to 8.
#pragma once

#include <vector>

namespace zarv::server {

struct Rating {
    double rating = 1500;
    double deviation = 350;  // a new player: as unsure as the method allows
    double volatility = 0.06;
};

struct RatedResult {
    double opponentRating = 1500;
    double opponentDeviation = 350;
    double score = 0;  // 1 won, 0 lost (0.5 drawn)
};

// The system constant: how much the volatility may change (Glickman
// suggests 0.3 to 1.2; smaller is steadier).
constexpr double kGlickoTau = 0.5;
constexpr double kMaxDeviation = 350;

// The rating after one period with these results (none: only the deviation grows).
Rating Updated(const Rating& before, const std::vector<RatedResult>& results, double tau = kGlickoTau);

// The expected score against an opponent, as the method sees it.
double ExpectedScore(const Rating& player, double opponentRating, double opponentDeviation);

} // namespace zarv::server
