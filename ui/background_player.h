// The computer player of the window: the Expert thinks on a thread of its own,
// over a copy of the table, while the window keeps painting and answering.
// The engine's call waits for the answer in its usual way (sleeping in the
// event loop), so commands given meanwhile are kept for the engine's next
// safe point like those given during any other wait.
#pragma once

#include <atomic>

#include "ai/level_player.h"
#include "engine/interfaces.h"

namespace zarv::ui {

class BackgroundPlayer : public ComputerPlayer {
public:
    BackgroundPlayer(const GameState& live, EventPump& pump, ai::ExpertOptions options);
    CardChoice SelectCard(int seat, int position) override;
    Suit ChooseTrump(int first, int count) override;

    void SetLevel(ai::Level level) { level_ = level; }
    ai::Level level() const { return level_; }
    void SetExpertOptions(ai::ExpertOptions options);
    // Decisions made on the thread so far.
    long backgroundDecisions() const { return backgroundDecisions_; }

private:
    template <typename Decision> auto Decide(Decision decision);

    const GameState& live_;
    EventPump& pump_;
    ai::ExpertOptions options_;
    GameState snapshot_;        // the table as it was when the decision began
    ai::LevelPlayer player_;    // decides over snapshot_
    ai::Level level_ = ai::Level::Standard;
    bool busy_ = false;
    long backgroundDecisions_ = 0;
};

} // namespace zarv::ui
