// Undo in a game against the computer: the person takes back their last card
// and everything played after it, as many times as they like within the
// hand; before their first card, a HAKEM takes back the ZARV they named (the
// hand is dealt again as it was). The table is kept as it stood each time the
// person was asked for a card, and put back whole.
#include "engine/game.h"
#include "engine/table_layout.h"

namespace zarv {

namespace {

int CardsPlayed(const GameState& s) {
    int n = 0;
    for (size_t t = 1; t < s.Tricks.size(); ++t)
        for (int seat = 1; seat <= 4; ++seat) n += !s.Tricks[t].Cards[static_cast<size_t>(seat)].empty();
    return n;
}

} // namespace

bool Game::StandAlone() const {
    if (!s_.IsDealer || HasConnectedClient()) return false;
    for (int seat = 1; seat <= 4; ++seat)
        if (seat != s_.LocalSeat && s_.Seats[seat].Kind == SeatKind::Human) return false;
    return s_.Seats[s_.LocalSeat].Kind == SeatKind::Human;
}

void Game::KeepUndoPoint() {
    if (!StandAlone()) return;
    // The loop asks again after every event: one point a decision.
    if (!undoPoints_.empty() && CardsPlayed(undoPoints_.back()) == CardsPlayed(s_)) return;
    undoPoints_.push_back(s_);
}

bool Game::CanUndo() const {
    if (!Running() || !StandAlone() || s_.Tracing || scoring_ || dealing_ || s_.StopRequested) return false;
    if (s_.PointsA >= 7 || s_.PointsB >= 7) return false;
    const int now = CardsPlayed(s_);
    for (const GameState& point : undoPoints_)
        if (CardsPlayed(point) < now) return true;
    // The person named the ZARV of this hand and has no card to take back.
    return s_.MasterPlayer == s_.LocalSeat && s_.Trump != kNoSuit;
}

void Game::DoUndo() {
    if (!CanUndo()) return;
    undoUsed_ = true;
    const int now = CardsPlayed(s_);
    // The decision the person faces now is not one to take back.
    while (!undoPoints_.empty() && CardsPlayed(undoPoints_.back()) >= now) undoPoints_.pop_back();
    if (undoPoints_.empty()) {
        // Back to the ZARV: the hand is dealt again as it was, and its HAKEM
        // names it anew (a replay that keeps no ZARV).
        s_.Trump = kNoSuit;
        NewHand(true);
        return;
    }
    GameState restored = undoPoints_.back();
    // What belongs to the window and the options, not to the hand, stays as it is now.
    layout::Rescale(restored, restored.ScaleWidth, restored.ScaleHeight, s_.ScaleWidth, s_.ScaleHeight);
    restored.LayoutUnit = s_.LayoutUnit;
    restored.TurnDelay = s_.TurnDelay;
    restored.StepCount = s_.StepCount;
    restored.PlayerName = s_.PlayerName;
    restored.Tracing = s_.Tracing;
    for (int seat = 1; seat <= 4; ++seat) restored.Seats[seat].Name = s_.Seats[seat].Name;
    s_ = std::move(restored);
    Presentation& view = services_.view;
    view.ShowGiveUp(s_.GiveUp);
    view.RefreshPage();
    view.RepaintCards({});
    view.ShowTurn();
}

} // namespace zarv
