// The window's status bar: what the table waits for on the left (wrapped when
// long), and on the right "Watching" while a table is watched, the trump and
// its HAKEM, and each side's tricks and points, two lines each, where nothing
// cuts them.
#pragma once

#include <QCoreApplication>
#include <QString>

class QLabel;
class QStatusBar;

namespace zarv::ui {

class TableStatusBar {
    Q_DECLARE_TR_FUNCTIONS(TableStatusBar)

public:
    explicit TableStatusBar(QStatusBar& bar);
    // Only what changed is set: a repaint is an event, and an event wakes the
    // turn loop that waits for the person.
    void Show(const QString& turn, const QString& trump, const QString& score);
    void SetWatching(bool watching);
    bool watchingShown() const;
    // What the turn's part of the bar shows now.
    QString turnShown() const;
    void Retranslate();

private:
    QLabel* turn_;
    QLabel* trump_;
    QLabel* score_;
    QLabel* watching_;
};

} // namespace zarv::ui
