// The computer player at a chosen level: Standard (the table-driven player)
// or Expert (sampling and playing out). The table and the tools use it.
#pragma once

#include <optional>
#include <string>

#include "ai/card_selection.h"
#include "ai/expert.h"

namespace zarv::ai {

enum class Level { Standard, Expert };
// "standard" / "expert", as the tools and the settings write them.
inline std::optional<Level> LevelFromText(const std::string& text) {
    if (text == "standard") return Level::Standard;
    if (text == "expert") return Level::Expert;
    return std::nullopt;
}

class LevelPlayer : public ComputerPlayer {
public:
    LevelPlayer(const GameState& state, ExpertOptions options) : standard_(state), expert_(state, options) {}
    void SetLevel(Level level) { level_ = level; }
    Level level() const { return level_; }
    void SetExpertOptions(ExpertOptions options) { expert_.SetOptions(options); }
    CardChoice SelectCard(int seat, int position) override {
        return level_ == Level::Expert ? expert_.SelectCard(seat, position) : standard_.SelectCard(seat, position);
    }
    Suit ChooseTrump(int first, int count) override {
        return level_ == Level::Expert ? expert_.ChooseTrump(first, count) : standard_.ChooseTrump(first, count);
    }

private:
    ComputerSeatPlayer standard_;
    ExpertPlayer expert_;
    Level level_ = Level::Standard;
};

} // namespace zarv::ai
