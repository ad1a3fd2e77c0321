// The person's hands on the table: a press of the mouse (a lifted card plays
// wherever it shows, a trick pile shows the last trick, the rest is the
// game's), and the keys that choose among the person's cards and play one.
#pragma once

#include <QObject>
#include <QPointF>
#include <vector>

#include "engine/game.h"

class QKeyEvent;

namespace zarv::ui {

class TableView;

class TableInput : public QObject {
    Q_OBJECT
public:
    TableInput(Game& game, TableView& view, QObject* parent = nullptr);

    void Pressed(QPointF at);
    // Left and Right choose a card, Enter plays it; false for any other key.
    bool KeyPressed(const QKeyEvent& event);
    void KeyReleased(const QKeyEvent& event);
    // The person's lifted card where it shows at that table point, or 0.
    int LiftedCardAt(QPointF at) const;

signals:
    // A press on a trick pile.
    void lastTrickAsked();
    // The person pressed or played: a refusal or hint of before is over.
    void acted();
    // The game may have moved: the status says so.
    void done();

private:
    void MoveSelection(int step);
    void PlaySelection();
    // The person's cards from left to right as they show.
    std::vector<int> HandInScreenOrder() const;

    Game& game_;
    TableView& view_;
};

} // namespace zarv::ui
