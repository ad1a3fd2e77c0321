#include "ai/world_draw.h"

#include <climits>
#include <utility>

namespace zarv::ai {

WorldDraw::WorldDraw(const GameState& state, int seat, const SeatModels& models)
    : sampler_(state, seat), inference_(state, seat, models), master_(state.MasterPlayer),
      judgeTrump_(master_ >= 1 && master_ <= 4 && master_ != seat && state.Trump != kNoSuit) {}

WorldDraw::Drawn WorldDraw::Draw(std::mt19937_64& rng, GameState& world, GameState& spare) const {
    Drawn kept{1, INT_MAX, 0, {}};
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
            kept = {v.weight, misses, v.seat, v.instead};
        }
    }
    if (kept.misses > 0) Mend(rng, world, kept);
    return kept;
}

// A trade at a time, keeping each that leaves no more disagreement (an equal
// one too, so the world wanders rather than sticks).
void WorldDraw::Mend(std::mt19937_64& rng, GameState& world, Drawn& kept) const {
    bool traded = false;
    for (int step = 0; step < kMendingTrades && kept.misses > 0; ++step) {
        // The seat that played against the tables first gives up the card they would have played.
        const int seat = kept.seat ? kept.seat : master_;
        const auto trade = sampler_.TradeUnseen(rng, world, seat, kept.instead);
        if (!trade) continue;
        const int trumpMisses = judgeTrump_ && !MasterWouldNameTrump(world, master_, rng) ? 1 : 0;
        const PlayInference::Verdict v =
            trumpMisses > kept.misses ? PlayInference::Verdict{1, 1 << 20, 0, {}} : inference_.Judge(world, kept.misses - trumpMisses);
        const int misses = trumpMisses + v.contradictions;
        if (misses <= kept.misses) {
            kept = {v.weight, misses, v.seat, v.instead};
            traded = true;
        } else {
            std::swap(world.Deck[trade->first].Owner, world.Deck[trade->second].Owner);
        }
    }
    if (traded) sampler_.SettleHeldSlots(world);
}

} // namespace zarv::ai
