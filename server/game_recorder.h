// Follows a table's games through the game's events and hands each one to a
// ResultsSink: a finished game when it ends, the hands of an unfinished one
// when the table stops mid-game.
#pragma once

#include <array>

#include <string>

#include "engine/game_state.h"
#include "server/game_record.h"

namespace zarv::server {

class GameRecorder {
public:
    GameRecorder(const GameState& state, ResultsSink* sink, int table, std::string tableName, ai::Level level, bool rated = true);

    void HandStarted(int master);
    void TrumpKnown(Suit trump);
    void TrickSettled(int winner);
    void HandScored(int winner, int points);
    // A person's seat went to the computer (they left), or they came back to
    // it. One has left the game once the computer played a card for them: a
    // player who closes the program after the last card has not.
    void SeatLeft(int seat);
    void SeatBack(int seat);
    void CardPlayed(int seat);
    // The game reached seven points.
    void GameOver();
    // The table stops before the game ended: deserted (whoever is away left
    // the game), or closing.
    void Stopped(bool deserted);

private:
    void Begin();
    void Hand(bool scored);

    const GameState& state_;
    ResultsSink* sink_;
    GameRecord game_;
    HandResult hand_;
    bool active_ = false;
    std::array<bool, 5> away_{};  // seats whose person is gone, for now
};

} // namespace zarv::server
