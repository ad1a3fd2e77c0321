#include "ui/scores_dialog.h"

#include "ui/language.h"

#include <QFontMetrics>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <cmath>

#include "settings/player_records.h"
#include "settings/settings.h"

namespace zarv::ui {

ScoresDialog::ScoresDialog(settings::SettingsStore& store, QWidget* parent) : QDialog(parent), store_(store) {
    setWindowTitle(tr("Score"));
    auto* frame = new QGroupBox(this);
    scoresTable = new QTableWidget(0, 6, frame);
    scoresTable->setHorizontalHeaderLabels(
        {tr("Player Name"), tr("Plays"), tr("Wins"), tr("Losses"),
         tr("Win Rate"), tr("With Undo")});
    scoresTable->setFont(QFont(QStringLiteral("Arial")));
    scoresTable->verticalHeader()->hide();
    scoresTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    const QFontMetrics m(scoresTable->font());
    scoresTable->setColumnWidth(0, m.horizontalAdvance(QStringLiteral("XXXXXXXXXXXXXXXXX")) + 14);
    for (int c = 1; c < 6; ++c)
        scoresTable->setColumnWidth(c, m.horizontalAdvance(scoresTable->horizontalHeaderItem(c)->text()) + 27);
    auto* frameLayout = new QVBoxLayout(frame);
    frameLayout->addWidget(scoresTable);
    resetButton = new QPushButton(tr("&Reset"), this);
    closeButton = new QPushButton(tr("&Close"), this);
    closeButton->setDefault(true);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(resetButton);
    buttons->addStretch();
    buttons->addWidget(closeButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(frame);
    layout->addLayout(buttons);
    resize(600, 320);
    FillGrid();

    connect(closeButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(resetButton, &QPushButton::clicked, this, [this] {
        const auto answer = QMessageBox::question(this, tr("Reset"),
                                                  tr("Are you sure you want to reset all  game results?"),
                                                  QMessageBox::Yes | QMessageBox::No);
        Reset(answer == QMessageBox::Yes);
    });
}

void ScoresDialog::FillGrid() {
    scoresTable->setRowCount(0);  // erased players must not stay
    for (const std::string& name : settings::EnumPlayers(store_)) {
        int64_t wins = 0, losses = 0;
        if (!settings::CheckPlayerRecord(store_, name, wins, losses)) continue;  // failed records are left out
        const int64_t plays = wins + losses;
        const QString rate =
            Number(plays > 0 ? static_cast<long long>(std::nearbyint(100.0 * wins / plays)) : 0) + tr("%", "after a percentage");
        const int row = scoresTable->rowCount();
        scoresTable->insertRow(row);
        // The games in which moves were taken back, counted apart.
        const QString cells[6] = {QString::fromStdString(name), Number(plays), Number(wins),
                                  Number(losses), rate, Number(settings::UndoneGames(store_, name))};
        for (int c = 0; c < 6; ++c) scoresTable->setItem(row, c, new QTableWidgetItem(cells[c]));
    }
}

void ScoresDialog::Reset(bool confirmed) {
    if (!confirmed) return;
    settings::ResetAllRecords(store_);
    FillGrid();
}

} // namespace zarv::ui
