#include "ui/table_menus.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace zarv::ui {

namespace {

QAction* Add(QMenu* menu, const std::function<void()>& command, QKeySequence keys = {}) {
    QAction* action = menu->addAction(QString());
    if (!keys.isEmpty()) action->setShortcut(keys);
    QObject::connect(action, &QAction::triggered, menu, [command] { command(); });
    return action;
}

} // namespace

TableMenus::TableMenus(QMenuBar& bar, const Commands& commands, QObject* parent) : QObject(parent) {
    BuildGameMenu(bar, commands);
    BuildHelpAndTraceMenus(bar, commands);
    // A closed menu hands the keys back to the table, so that Space steps the
    // game and letters do not open menus.
    for (QMenu* menu : bar.findChildren<QMenu*>()) connect(menu, &QMenu::aboutToHide, this, &TableMenus::closed);
}

void TableMenus::BuildGameMenu(QMenuBar& bar, const Commands& c) {
    QMenu* game = bar.addMenu(QString());
    Worded(game->menuAction(), QT_TR_NOOP("&Game"));
    start_ = Worded(Add(game, c.start, QKeySequence(Qt::Key_F2)), QT_TR_NOOP("&Start"));
    // Greyed out during a game: the menu says why.
    game->setToolTipsVisible(true);
    byItem_[MenuItem::PlayerName] = Worded(Add(game, c.playerName), QT_TR_NOOP("Player Name..."),
                                           QT_TR_NOOP("Your name can be changed between games"));
    Worded(Add(game, c.score), QT_TR_NOOP("Score..."));
    byItem_[MenuItem::Options] = Worded(Add(game, c.options), QT_TR_NOOP("&Options..."));
    byItem_[MenuItem::Network] = Worded(Add(game, c.network), QT_TR_NOOP("&Network..."));
    leave_ = Worded(Add(game, c.leave), QT_TR_NOOP("Leave Network Game"));
    leave_->setEnabled(false);
    takeOver_ = Worded(Add(game, c.takeOver, QKeySequence(Qt::CTRL | Qt::Key_K)),
                       QT_TR_NOOP("Let the Computer Play for the Waited Player"));
    takeOver_->setEnabled(false);
    game->addSeparator();
    // F11 is Replay's: full screen has its own keys, and Esc leaves it.
    fullScreen_ = Worded(Add(game, c.fullScreen, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F)), QT_TR_NOOP("&Full Screen"));
    fullScreen_->setCheckable(true);
    hint_ = Worded(Add(game, c.hint, QKeySequence(Qt::Key_H)), QT_TR_NOOP("&Hint"));
    lastTrick_ = Worded(Add(game, c.lastTrick, QKeySequence(Qt::Key_L)), QT_TR_NOOP("&Last Trick"));
    undo_ = Worded(Add(game, c.undo, QKeySequence::Undo), QT_TR_NOOP("&Undo"),
                   QT_TR_NOOP("Takes back your last card, or the ZARV you named, in a game against the computer"));
    undo_->setEnabled(false);
    review_ = Worded(Add(game, c.review, QKeySequence(Qt::CTRL | Qt::Key_R)), QT_TR_NOOP("&Review Hand..."),
                     QT_TR_NOOP("The last hand trick by trick, and what your cards cost or won"));
    game->addSeparator();
    Worded(Add(game, c.exit, QKeySequence(Qt::CTRL | Qt::Key_Q)), QT_TR_NOOP("E&xit"));
}

void TableMenus::BuildHelpAndTraceMenus(QMenuBar& bar, const Commands& c) {
    QMenu* help = bar.addMenu(QString());
    Worded(help->menuAction(), QT_TR_NOOP("&Help"));
    Worded(Add(help, c.help, QKeySequence(Qt::Key_F1)), QT_TR_NOOP("&Help"));
    Worded(Add(help, c.about), QT_TR_NOOP("&About..."));
    QMenu* trace = bar.addMenu(QString());
    Worded(trace->menuAction(), QT_TR_NOOP("&Trace"));
    trace_ = Worded(Add(trace, c.trace, QKeySequence(Qt::Key_F12)), QT_TR_NOOP("Trace Mode"));
    trace_->setCheckable(true);
    byItem_[MenuItem::TraceMode] = trace_;
    byItem_[MenuItem::Replay] = Worded(Add(trace, c.replay, QKeySequence(Qt::Key_F11)), QT_TR_NOOP("&Replay This Hand"));
    byItem_[MenuItem::Replay]->setEnabled(false);
    Worded(Add(trace, c.loadSuggest), QT_TR_NOOP("Load Suggest..."));
    Worded(Add(trace, c.saveSuggest), QT_TR_NOOP("Save Suggest..."));
}

QAction* TableMenus::Worded(QAction* action, const char* text, const char* tip) {
    words_.push_back({action, text, tip});
    action->setText(tr(text));
    if (tip) action->setToolTip(tr(tip));
    return action;
}

void TableMenus::Retranslate() {
    // In place: a menu command (Options, where the language is chosen) may
    // still be on the stack of the menu that carries it.
    for (const Words& w : words_) {
        w.action->setText(tr(w.text));
        if (w.tip) w.action->setToolTip(tr(w.tip));
    }
}

void TableMenus::Enable(MenuItem item, bool enabled) {
    const auto it = byItem_.find(item);
    if (it == byItem_.end()) return;
    it->second->setEnabled(enabled);
    if (item == MenuItem::PlayerName) it->second->setStatusTip(enabled ? QString() : tr("Your name can be changed between games"));
}

void TableMenus::Check(MenuItem item, bool checked) {
    if (const auto it = byItem_.find(item); it != byItem_.end()) it->second->setChecked(checked);
}

} // namespace zarv::ui
