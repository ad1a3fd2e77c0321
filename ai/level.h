// The computer players' levels, and their names as the tools, the settings,
// the lobby and the results write them.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace zarv::ai {

// The numbers are what stores keep: Standard and Expert were the first two,
// so older stores keep their meaning.
enum class Level { Standard = 0, Expert = 1, Beginner = 2, Master = 3 };

// From the easiest to the strongest, as menus offer them.
constexpr std::array<Level, 4> kLevelsByStrength{Level::Beginner, Level::Standard, Level::Expert, Level::Master};

// "beginner", "standard", "expert", "master".
inline const char* LevelText(Level level) {
    switch (level) {
    case Level::Beginner: return "beginner";
    case Level::Expert: return "expert";
    case Level::Master: return "master";
    case Level::Standard: break;
    }
    return "standard";
}

inline std::optional<Level> LevelFromText(std::string_view text) {
    for (Level level : kLevelsByStrength)
        if (text == LevelText(level)) return level;
    return std::nullopt;
}

// A stored number; anything unknown is the Standard level.
inline Level LevelFromNumber(long number) {
    return number >= 0 && number <= 3 ? static_cast<Level>(number) : Level::Standard;
}

// The levels for a usage message: "beginner|standard|expert|master".
inline std::string LevelChoices() {
    std::string choices;
    for (Level level : kLevelsByStrength) choices += (choices.empty() ? "" : "|") + std::string(LevelText(level));
    return choices;
}

} // namespace zarv::ai
