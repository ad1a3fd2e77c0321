#include "ui/table_status_bar.h"

#include <QLabel>
#include <QStatusBar>

namespace zarv::ui {

TableStatusBar::TableStatusBar(QStatusBar& bar)
    : turn_(new QLabel(&bar)), trump_(new QLabel(&bar)), score_(new QLabel(&bar)), watching_(new QLabel(&bar)) {
    for (QLabel* label : {turn_, trump_, score_}) {
        label->setTextFormat(Qt::PlainText);
        // Two lines, whatever the width: a wrapped label must not ask for more.
        label->setFixedHeight(2 * label->fontMetrics().lineSpacing() + 2);
        // Clear of the window's edge on either side, in either direction.
        label->setContentsMargins(4, 0, 4, 0);
    }
    turn_->setWordWrap(true);
    turn_->setMinimumWidth(1);
    turn_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    trump_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    score_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    bar.addWidget(turn_, 1);
    watching_->setStyleSheet(QStringLiteral("font-weight: bold"));
    watching_->hide();
    Retranslate();
    bar.addPermanentWidget(watching_);
    bar.addPermanentWidget(trump_);
    bar.addPermanentWidget(score_);
}

void TableStatusBar::Show(const QString& turn, const QString& trump, const QString& score) {
    if (turn_->text() != turn) turn_->setText(turn);
    if (trump_->text() != trump) trump_->setText(trump);
    if (score_->text() != score) score_->setText(score);
}

void TableStatusBar::SetWatching(bool watching) { watching_->setVisible(watching); }

bool TableStatusBar::watchingShown() const { return !watching_->isHidden(); }

QString TableStatusBar::turnShown() const { return turn_->text(); }

void TableStatusBar::Retranslate() { watching_->setText(tr("Watching")); }

} // namespace zarv::ui
