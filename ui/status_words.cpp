#include "ui/status_words.h"

#include <algorithm>
#include <cmath>

#include "ui/network_play.h"
#include "ui/table_status.h"

namespace zarv::ui {

StatusWords::StatusWords(const Game& game, const NetworkPlay& network, const EventPump& pump)
    : game_(game), network_(network), pump_(pump) {}

QString StatusWords::turnText() const {
    const GameState& s = game_.state();
    if (network_.watching())
        return tr("Watching %1 \u2014 Game > Leave Network Game stops watching").arg(network_.watchedTable());
    if (network_.reconnector().active())
        return tr("Reconnecting to the Dealer... (%1 s left)").arg(network_.reconnector().secondsLeft());
    if (!endNote_.isEmpty()) return endNote_;
    if (network_.dealerSilent()) return tr("The Dealer is not answering \u2014 Game > Leave Network Game ends this game");
    // Before a network game: what the window waits for, not "Press F2".
    if (!s.GameStarted) {
        using Mode = net::NetworkMode::Kind;
        const net::NetworkMode& mode = network_.mode();
        if (mode.is(Mode::Hosting)) return tr("Waiting for players to join");
        // A seat kept from before: the Dealer gives it back once its hand is settled.
        if (mode.is(Mode::Joining) && network_.askingSeatBack()) return tr("Waiting for the Dealer to give your seat back");
        if (mode.is(Mode::Joining) || mode.is(Mode::Joined)) return tr("Waiting for the Dealer to start the game");
        if (mode.is(Mode::InServerLobby)) return tr("In the table server's lobby");
    }
    if (!refusal_.isEmpty()) return refusal_;
    if (!hint_.isEmpty()) return hint_;
    // Studying a hand: why the computer played the last card.
    if (s.Tracing && game_.LastComputerReason().kind != CardReason::Kind::None)
        return tr("Last card: %1").arg(ReasonInWords(game_.LastComputerReason()));
    // A remote player's time runs: every table counts it down.
    const int secondsLeft = s.WaitingForSeat >= 1 && s.WaitingForSeat == s.Turn && s.WaitingDeadline > 0
                                ? std::max(0, static_cast<int>(std::ceil(s.WaitingDeadline - pump_.Now())))
                                : -1;
    return WaitText(game_, secondsLeft);
}

QString StatusWords::trumpText() const { return TrumpText(game_.state()); }
QString StatusWords::scoreText() const { return SidesText(game_.state()); }

void StatusWords::ForgetNotes() {
    refusal_.clear();
    hint_.clear();
}

void StatusWords::FollowTurn() {
    // Not while the person's turn is handed back after a refused card.
    const QString turn = TurnKey(game_);
    if (turn == turn_) return;
    turn_ = turn;
    ForgetNotes();
}

} // namespace zarv::ui
