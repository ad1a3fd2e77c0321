// What the table waits for, from the game's state and the step it is at.
#include "engine/game.h"

namespace zarv {

Game::TableWait Game::Awaiting() const {
    using Kind = TableWait::Kind;
    if (!s_.GameStarted || s_.StopRequested) return {};
    if (s_.PointsA >= 7 || s_.PointsB >= 7) return {Kind::GameOver, 0};
    if (scoring_) return {Kind::HandResult, 0};
    if (dealing_) return {Kind::Deal, 0};
    // Between two cards of a trick nobody is awaited: the trick is being settled.
    if (s_.Turn < 1 || s_.Turn > 4) return {};
    const bool trumpToName = s_.TrumpBeingNamed() && s_.Turn == s_.MasterPlayer;
    if (trumpToName) return {Kind::Trump, s_.Turn};
    // The person's card is awaited once the turn is handed over, not during
    // the pause after the card before (a click then would not count).
    const bool person = s_.Turn == s_.LocalSeat && s_.Seats[s_.Turn].Kind == SeatKind::Human && !localAutoplay_ &&
                        !s_.Tracing;
    if (person && !s_.HumanMayPlay) return {};
    return {Kind::Card, s_.Turn};
}

} // namespace zarv
