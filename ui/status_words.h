// What the status bar says about the table: what it waits for, or a note
// that stands in its place for a while (watching, reconnecting, why the
// last network game ended, a silent Dealer, why the person's card was
// refused, the hint), and the trump and the sides' tricks and points.
#pragma once

#include <QCoreApplication>
#include <QString>

#include "engine/game.h"
#include "engine/interfaces.h"

namespace zarv::ui {

class NetworkPlay;

class StatusWords {
    Q_DECLARE_TR_FUNCTIONS(StatusWords)

public:
    StatusWords(const Game& game, const NetworkPlay& network, const EventPump& pump);

    QString turnText() const;
    QString trumpText() const;
    QString scoreText() const;

    // Why the person's last card was refused, and the hint: both belong to one turn.
    void Refused(const QString& why) { refusal_ = why; }
    void Hinted(const QString& hint) { hint_ = hint; }
    void ForgetNotes();
    // Called as the game moves: a new turn forgets the refusal and the hint.
    void FollowTurn();
    // Why the last network game ended, said until the next game.
    void SetEndNote(const QString& why) { endNote_ = why; }

private:
    const Game& game_;
    const NetworkPlay& network_;
    const EventPump& pump_;
    QString refusal_;
    QString hint_;
    QString turn_;  // whose turn of which trick the notes belong to
    QString endNote_;
};

} // namespace zarv::ui
