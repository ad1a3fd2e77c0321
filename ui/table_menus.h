// The window's menus: Game, Help and Trace, with their keys. Each command
// calls what the window gives it; the menus keep their words so that they
// follow a change of language in place.
#pragma once

#include <QObject>
#include <functional>
#include <map>
#include <vector>

#include "engine/interfaces.h"

class QAction;
class QMenuBar;

namespace zarv::ui {

class TableMenus : public QObject {
    Q_OBJECT
public:
    // What each command does.
    struct Commands {
        std::function<void()> start, playerName, score, options, network, leave, takeOver, fullScreen, hint,
            lastTrick, review, undo, exit, help, about, trace, replay, loadSuggest, saveSuggest;
    };
    TableMenus(QMenuBar& bar, const Commands& commands, QObject* parent = nullptr);

    // The commands the engine enables and checks.
    QAction* action(MenuItem item) const { return byItem_.at(item); }
    void Enable(MenuItem item, bool enabled);
    void Check(MenuItem item, bool checked);
    QAction* start() const { return start_; }
    QAction* trace() const { return trace_; }
    QAction* leave() const { return leave_; }
    QAction* takeOver() const { return takeOver_; }
    QAction* fullScreen() const { return fullScreen_; }
    QAction* hint() const { return hint_; }
    QAction* lastTrick() const { return lastTrick_; }
    QAction* undo() const { return undo_; }
    QAction* review() const { return review_; }
    // Every command's words again, in the language now in use.
    void Retranslate();

signals:
    // A menu closed (Esc included): the table takes the keys back.
    void closed();

private:
    // Gives a command its words (and tooltip), and remembers them for another language.
    QAction* Worded(QAction* action, const char* text, const char* tip = nullptr);
    void BuildGameMenu(QMenuBar& bar, const Commands& c);
    void BuildHelpAndTraceMenus(QMenuBar& bar, const Commands& c);

    struct Words {
        QAction* action;
        const char* text;
        const char* tip;
    };
    std::vector<Words> words_;
    std::map<MenuItem, QAction*> byItem_;
    QAction* start_ = nullptr;
    QAction* trace_ = nullptr;
    QAction* leave_ = nullptr;
    QAction* takeOver_ = nullptr;
    QAction* fullScreen_ = nullptr;
    QAction* hint_ = nullptr;
    QAction* lastTrick_ = nullptr;
    QAction* undo_ = nullptr;
    QAction* review_ = nullptr;
};

} // namespace zarv::ui
