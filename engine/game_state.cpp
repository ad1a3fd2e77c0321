#include "engine/game_state.h"

#include <algorithm>

namespace zarv {

const std::string& SeatKindText(SeatKind kind) {
    static const std::string human = "Human", computer = "Computer";
    return kind == SeatKind::Human ? human : computer;
}

std::optional<SeatKind> SeatKindFromText(std::string_view text) {
    if (text == "Human") return SeatKind::Human;
    if (text == "Computer") return SeatKind::Computer;
    return std::nullopt;
}

double TurnDelayForSpeed(int speed) {
    static constexpr double kDelays[6] = {0.01, 0.008, 0.007, 0.005, 0.003, 0};
    return kDelays[std::clamp(speed, 0, 5)];
}

int StepCountForSpeed(int speed) { return (5 - std::clamp(speed, 0, 5)) * 5 + 1; }

int TeamTricks(const GameState& g, int seat) {
    int n = 0;
    const int last = static_cast<int>(g.Tricks.size()) - 1;
    for (int i = 1; i < last; ++i)
        if (g.Tricks[i].Winner == seat || g.Tricks[i].Winner == PartnerOf(seat)) ++n;
    return n;
}

int OpponentTricks(const GameState& g, int seat) {
    int n = 0;
    const int last = static_cast<int>(g.Tricks.size()) - 1;
    for (int i = 1; i < last; ++i)
        if (g.Tricks[i].Winner != seat && g.Tricks[i].Winner != PartnerOf(seat)) ++n;
    return n;
}

std::string SeatReplacedText(const std::string& name) {
    return name + " disconnected, A Computer Player Replaced by him/her.";
}

} // namespace zarv
