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

namespace {
int SettledTricks(const GameState& g, int seat, bool ours) {
    int n = 0;
    for (size_t i = 1; i < g.Tricks.size(); ++i) {
        const int w = g.Tricks[i].Winner;
        if (w >= 1 && w <= 4 && SameTeam(w, seat) == ours) ++n;
    }
    return n;
}
} // namespace

int TeamTricks(const GameState& g, int seat) { return SettledTricks(g, seat, true); }
int OpponentTricks(const GameState& g, int seat) { return SettledTricks(g, seat, false); }

const char* ComputerName(int seat) {
    static const char* const kNames[5] = {"", "Tib ", "Vrel", "Zarv", "Dastrel"};
    return kNames[seat >= 1 && seat <= 4 ? seat : 0];
}


} // namespace zarv
