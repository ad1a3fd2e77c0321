#include "ui/table_window.h"

#include <QApplication>
#include <QMenuBar>
#include <QPainter>

#include "engine/game_state.h"

namespace zarv::ui {

TableWindow::TableWindow(QWidget* parent) : QMainWindow(parent) {
    setWindowTitle(QStringLiteral("Zarv"));
    BuildMenus();
    setCentralWidget(new QWidget(this));
    centralWidget()->setFixedSize(kTableWidth, kTableHeight);
}

void TableWindow::BuildMenus() {
    QMenu* game = menuBar()->addMenu(tr("&Game"));
    game->addAction(tr("&Start"), QKeySequence(Qt::Key_F2));
    game->addAction(tr("Player Name..."));
    game->addAction(tr("Score..."));
    game->addAction(tr("&Options..."));
    game->addAction(tr("&Network..."));
    game->addSeparator();
    game->addAction(tr("E&xit"), QKeySequence(Qt::CTRL | Qt::Key_Q), this, &QWidget::close);
    QMenu* help = menuBar()->addMenu(tr("&Help"));
    help->addAction(tr("&Help"), QKeySequence(Qt::Key_F1));
    help->addAction(tr("&About..."));
    QMenu* trace = menuBar()->addMenu(tr("&Trace"));
    trace->addAction(tr("Trace Mode"), QKeySequence(Qt::Key_F12))->setCheckable(true);
    trace->addAction(tr("&Replay This Hand"), QKeySequence(Qt::Key_F11))->setEnabled(false);
    trace->addAction(tr("Load Suggest..."));
    trace->addAction(tr("Save Suggest..."));
}

void TableWindow::paintEvent(QPaintEvent*) {
    // The felt of the default colour scheme until a game is started.
    QPainter p(this);
    const QRect area = centralWidget()->geometry();
    p.fillRect(rect(), palette().window());
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(52, 97, 54));
    p.setPen(Qt::black);
    p.drawRoundedRect(area.adjusted(2, 2, -2, -2), 30, 30);
}

} // namespace zarv::ui
