#include "ai/world_value.h"

#include "ai/playout.h"

namespace zarv::ai {

namespace {

HandOutcome PlayedOut(const GameState& world, int seat, CardCode card) {
    GameState s = world;
    return SimulatePlay(s, seat, card) ? OutcomeOf(s) : PlayOut(s);
}

} // namespace

std::vector<double> ValuesInWorld(const GameState& world, int seat, const std::vector<CardCode>& legal,
                                  const WorldValuing& how, TrickSearch& search) {
    std::vector<double> values(legal.size(), 0.0);
    if (how.exact) {
        if (const auto exact = search.ValuesOfMoves(PositionOf(world))) {
            const double side = IsTeamA(seat) ? 1 : -1;
            for (const auto& [card, value] : *exact)
                for (size_t c = 0; c < legal.size(); ++c)
                    if (legal[c] == card) values[c] = side * value;
            if (how.standardOpponents)
                for (size_t c = 0; c < legal.size(); ++c) {
                    const HandOutcome o = PlayedOut(world, seat, legal[c]);
                    if (o.PointsFor(seat) > values[c]) values[c] = how.pointsOnly ? o.PointsFor(seat) : o.ValueFor(seat);
                }
            return values;
        }
    }
    for (size_t c = 0; c < legal.size(); ++c) {
        const HandOutcome o = PlayedOut(world, seat, legal[c]);
        values[c] = how.pointsOnly ? o.PointsFor(seat) : o.ValueFor(seat);
    }
    return values;
}

} // namespace zarv::ai
