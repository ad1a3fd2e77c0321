#include "ai/world_draw.h"

#include <climits>
#include <utility>

namespace zarv::ai {

WorldDraw::WorldDraw(const GameState& state, int seat, const SeatModels& models)
    : sampler_(state, seat), inference_(state, seat, models), master_(state.MasterPlayer),
      judgeTrump_(master_ >= 1 && master_ <= 4 && master_ != seat && state.Trump != kNoSuit) {}

WorldDraw::Drawn WorldDraw::Draw(std::mt19937_64& rng, GameState& world, GameState& spare) const {
    Drawn kept{1, INT_MAX};
    for (int attempt = 0; attempt < kDrawAttempts && kept.misses > 0; ++attempt) {
        const bool first = kept.misses == INT_MAX;
        GameState& into = first ? world : spare;
        sampler_.Sample(rng, into);
        const int trumpMisses = judgeTrump_ && !MasterWouldNameTrump(into, master_, rng) ? 1 : 0;
        // A world the ZARV already speaks against is no better than the one kept.
        if (trumpMisses && !first) continue;
        // Only a world that disagrees less than the one kept is judged to the end.
        const PlayInference::Verdict v = inference_.Judge(into, first ? INT_MAX - 1 : kept.misses - 1 - trumpMisses);
        const int misses = trumpMisses + v.contradictions;
        if (misses < kept.misses) {
            if (!first) std::swap(world, spare);
            kept = {v.weight, misses};
        }
    }
    return kept;
}

} // namespace zarv::ai
