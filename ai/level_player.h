// The computer player at a chosen level: Beginner (a learner), Standard (the
// table-driven player), Expert (sampling and playing out) or Master (the
// Expert with a larger budget on two threads). The table and the tools use it.
#pragma once

#include "ai/beginner.h"
#include "ai/card_selection.h"
#include "ai/expert.h"
#include "ai/level.h"

namespace zarv::ai {

class LevelPlayer : public ComputerPlayer {
public:
    LevelPlayer(const GameState& state, ExpertOptions options)
        : standard_(state), beginner_(state, BeginnerOptions{kBeginnerMistakeRate, options.seed}), expert_(state, options),
          master_(state, MasterOptions(options)) {}
    void SetLevel(Level level) { level_ = level; }
    Level level() const { return level_; }
    // The Expert's options; the Master's follow from them, the Beginner takes the seed.
    void SetExpertOptions(ExpertOptions options) {
        expert_.SetOptions(options);
        master_.SetOptions(MasterOptions(options));
        beginner_.SetOptions(BeginnerOptions{kBeginnerMistakeRate, options.seed});
    }
    CardChoice SelectCard(int seat, int position) override { return Player().SelectCard(seat, position); }
    Suit ChooseTrump(int first, int count) override { return Player().ChooseTrump(first, count); }

private:
    ComputerPlayer& Player() {
        switch (level_) {
        case Level::Beginner: return beginner_;
        case Level::Expert: return expert_;
        case Level::Master: return master_;
        case Level::Standard: break;
        }
        return standard_;
    }
    ComputerSeatPlayer standard_;
    BeginnerPlayer beginner_;
    ExpertPlayer expert_;
    ExpertPlayer master_;
    Level level_ = Level::Standard;
};

} // namespace zarv::ai
