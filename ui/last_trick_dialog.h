// Game > Last Trick: the previous trick's four cards in the order they were
// played, the winner's framed in gold, and who won it.
#pragma once

#include <QDialog>
#include <QImage>

#include "engine/game_state.h"

namespace zarv::ui {

class LastTrickDialog : public QDialog {
    Q_OBJECT
public:
    LastTrickDialog(const GameState& s, const TrickRecord& trick, const QImage& sprite, QWidget* parent = nullptr);

    // The picture of the four cards with the players' names below them.
    static QImage Picture(const GameState& s, const TrickRecord& trick, const QImage& sprite);
};

} // namespace zarv::ui
