#include "ai/play_inference.h"

#include "ai/card_selection.h"
#include "ai/playout.h"
#include "engine/game.h"

namespace zarv::ai {

SeatModels SeatsAsTheyAre(const GameState& state) {
    SeatModels models{};
    for (int seat = 1; seat <= 4; ++seat)
        models[static_cast<size_t>(seat)] = state.Seats[seat].Kind == SeatKind::Human ? SeatModel::Person : SeatModel::Unread;
    return models;
}

PlayInference::PlayInference(const GameState& state, int viewer, const SeatModels& models)
    : viewer_(viewer), models_(models) {
    for (size_t t = 1; t < state.Tricks.size(); ++t) {
        const TrickRecord& trick = state.Tricks[t];
        if (trick.Leader < 1 || trick.Leader > 4) break;
        if (t == 1) firstLeader_ = trick.Leader;
        for (int k = 0, seat = trick.Leader; k < 4; ++k, seat = NextSeat(seat)) {
            const CardCode card = trick.Cards[static_cast<size_t>(seat)];
            if (card.empty()) break;
            plays_.push_back({seat, card, state.FindCard(card)});
            telling_ = telling_ || (seat != viewer && models[static_cast<size_t>(seat)] != SeatModel::Unread);
        }
    }
}

GameState PlayInference::StartOf(const GameState& world) const {
    GameState s = world;
    for (const Play& p : plays_) s.Deck[static_cast<size_t>(p.deck)].Owner = static_cast<uint8_t>(p.seat);
    // The hand slots as the table builds them after the deal: in pack order.
    for (int seat = 1; seat <= 4; ++seat) {
        int slot = 0;
        for (int i = 1; i <= 52 && slot < 13; ++i)
            if (s.Deck[i].Owner == seat) s.Hands[seat][++slot] = TrickRecord::Held(seat, s.Deck[i].Card);
        while (slot < 13) s.Hands[seat][++slot] = TrickRecord::Cleared();
    }
    s.Tricks.assign(2, TrickRecord{});
    s.TrickPosition = 1;
    s.Turn = firstLeader_;
    return s;
}

PlayInference::Verdict PlayInference::Judge(const GameState& world, int enough) const {
    Verdict v;
    if (!telling_) return v;
    GameState s = StartOf(world);
    for (const Play& p : plays_) {
        if (p.seat != viewer_ && models_[static_cast<size_t>(p.seat)] != SeatModel::Unread) {
            const std::vector<CardCode> legal = LegalCardsOf(s, p.seat);
            if (legal.size() > 1) {
                // What the standard player would have played there, as the table plays it.
                CardCode usual = ChooseMove(s, p.seat, s.TrickPosition).card;
                if (!IsLegalCardOf(s, p.seat, usual)) usual = legal.front();
                const double n = static_cast<double>(legal.size());
                if (models_[static_cast<size_t>(p.seat)] == SeatModel::Standard) {
                    if (usual != p.card && v.contradictions++ == 0) {
                        v.seat = p.seat;
                        v.instead = usual;
                    }
                    if (v.contradictions > enough) return v;
                } else {
                    v.weight *= usual == p.card ? 1 - kPersonSurprise + kPersonSurprise / n : kPersonSurprise / n;
                }
            }
        }
        SimulatePlay(s, p.seat, p.card);
    }
    return v;
}

} // namespace zarv::ai
