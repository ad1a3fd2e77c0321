#include "server/game_recorder.h"

#include <utility>

namespace zarv::server {

GameRecorder::GameRecorder(const GameState& state, ResultsSink* sink, int table, std::string tableName, ai::Level level,
                           bool rated)
    : state_(state), sink_(sink) {
    game_.rated = rated;
    game_.table = table;
    game_.tableName = std::move(tableName);
    game_.level = level;
}

void GameRecorder::Begin() {
    active_ = true;
    away_.fill(false);
    game_.hands.clear();
    game_.pointsA = game_.pointsB = 0;
    game_.finished = false;
    game_.startedMs = sink_->NowMs();
    // Who sat down for this game: a person who drops later is still the
    // seat's player (the computer only stands in).
    for (int seat = 1; seat <= 4; ++seat) {
        const SeatRecord& s = state_.Seats[static_cast<size_t>(seat)];
        game_.seats[static_cast<size_t>(seat)] = {s.Name, s.Kind == SeatKind::Human && seat != 3, false};
    }
}

void GameRecorder::HandStarted(int master) {
    if (!sink_) return;
    if (!active_) Begin();
    // A hand dealt again (nobody named a ZARV in time) starts afresh.
    hand_ = HandResult{};
    hand_.hakem = master;
}

void GameRecorder::TrumpKnown(Suit trump) { hand_.trump = IsSuitLetter(trump) ? trump : '-'; }

void GameRecorder::TrickSettled(int winner) {
    if (winner < 1 || winner > 4) return;
    ++(IsTeamA(winner) ? hand_.tricksA : hand_.tricksB);
}

void GameRecorder::HandScored(int winner, int points) {
    if (!active_) return;
    hand_.number = static_cast<int>(game_.hands.size()) + 1;
    hand_.winner = winner;
    hand_.points = points;
    game_.hands.push_back(hand_);
    hand_ = HandResult{};
    game_.pointsA = state_.PointsA;
    game_.pointsB = state_.PointsB;
}

void GameRecorder::SeatLeft(int seat) {
    if (active_ && seat >= 1 && seat <= 4 && game_.seats[static_cast<size_t>(seat)].person)
        away_[static_cast<size_t>(seat)] = true;
}

void GameRecorder::SeatBack(int seat) {
    if (seat < 1 || seat > 4) return;
    away_[static_cast<size_t>(seat)] = false;
    game_.seats[static_cast<size_t>(seat)].left = false;
}

void GameRecorder::CardPlayed(int seat) {
    if (active_ && seat >= 1 && seat <= 4 && away_[static_cast<size_t>(seat)]) game_.seats[static_cast<size_t>(seat)].left = true;
}

void GameRecorder::GameOver() {
    if (!active_) return;
    active_ = false;
    game_.finished = game_.pointsA >= 7 || game_.pointsB >= 7;
    game_.endedMs = sink_->NowMs();
    sink_->Record(game_);
}

void GameRecorder::Stopped(bool deserted) {
    if (!active_) return;
    active_ = false;
    if (deserted)
        for (size_t seat = 1; seat <= 4; ++seat) game_.seats[seat].left = game_.seats[seat].left || away_[seat];
    // Nothing was scored: there is nothing of this game to keep.
    if (game_.hands.empty()) return;
    game_.finished = false;
    game_.endedMs = sink_->NowMs();
    sink_->Record(game_);
}

} // namespace zarv::server
