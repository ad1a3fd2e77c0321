// What a table server keeps of a game: the table, who sat where, every hand
// (its HAKEM, ZARV, tricks and points) and the final points. Plain C++: the
// tables fill it, a ResultsSink stores it.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "ai/level.h"
#include "server/sanction.h"

namespace zarv::server {

struct SeatResult {
    std::string name;
    bool person = false;  // else the server's computer player
    bool left = false;    // the person left during the game and did not come back
};

struct HandResult {
    int number = 0;     // 1, 2, ... within the game
    int hakem = 0;      // the seat that named the ZARV
    char trump = '-';   // the suit letter (g p h x), '-' when none was named
    int tricksA = 0;    // tricks of seats 1 and 3
    int tricksB = 0;    // tricks of seats 2 and 4
    int winner = 0;     // the seat whose trick made the seventh
    int points = 0;     // 1, 2 (Koot) or 3 (PerKoot)
};

struct GameRecord {
    int table = 0;
    std::string tableName;
    ai::Level level = ai::Level::Standard;  // of the computer players (stored by its number)
    std::array<SeatResult, 5> seats{};  // seats[1..4]
    int64_t startedMs = 0;              // Unix time in milliseconds, UTC
    int64_t endedMs = 0;
    std::vector<HandResult> hands;
    int pointsA = 0, pointsB = 0;
    bool finished = false;  // false: the game stopped before seven points
    bool rated = true;      // false: a table its maker marked unrated
};

// A player's line of the standings, over finished games.
struct Standing {
    std::string name;
    int games = 0;
    int wins = 0;
    int points = 0;     // the points of the player's side, over all those games
    int hakemWins = 0;  // hands the player was HAKEM of and the side won
};

// A registered player's line of the top list by rating.
struct RatedStanding {
    std::string name;
    int games = 0;
    int wins = 0;
    int rating = 0;
    int deviation = 0;
};
// The rating of one who has played no rated game yet.
constexpr int kStartingRating = 1500;

// Where the tables hand their games. Called on the tables' threads.
class ResultsSink {
public:
    virtual ~ResultsSink() = default;
    virtual void Record(GameRecord game) = 0;
    // Wall-clock time for the records, Unix milliseconds.
    virtual int64_t NowMs() const = 0;
    // The best players of the last thirty days, as last read (any thread).
    virtual std::vector<Standing> Top() const { return {}; }
    // The registered players, best rated first, and one's rating (any thread).
    virtual std::vector<RatedStanding> RatedTop() const { return {}; }
    virtual int RatingOf(const std::string& /*name*/) const { return kStartingRating; }
    // The admin's sanctions in force, when they changed since the generation
    // given (which is moved on); false when they did not (any thread).
    virtual bool SanctionsChanged(int& /*generation*/, Sanctions* /*now*/) const { return false; }
};

} // namespace zarv::server
