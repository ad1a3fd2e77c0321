// Follows a table's games through the game's events and hands each one to a
// ResultsSink: a finished game when it ends, the hands of an unfinished one
// when the table stops mid-game.
#pragma once

#include <string>

#include "engine/game_state.h"
#include "server/game_record.h"

namespace zarv::server {

class GameRecorder {
public:
    GameRecorder(const GameState& state, ResultsSink* sink, int table, std::string tableName, bool expert, bool rated = true);

    void HandStarted(int master);
    void TrumpKnown(Suit trump);
    void TrickSettled(int winner);
    void HandScored(int winner, int points);
    // A person's seat went to the computer (they left), or they came back to it.
    void SeatLeft(int seat);
    void SeatBack(int seat);
    // The game reached seven points.
    void GameOver();
    // The table stops (closing, deserted) before the game ended.
    void Stopped();

private:
    void Begin();
    void Hand(bool scored);

    const GameState& state_;
    ResultsSink* sink_;
    GameRecord game_;
    HandResult hand_;
    bool active_ = false;
};

} // namespace zarv::server
