#include "ui/server_lobby_page.h"

#include "ui/language.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace zarv::ui {

namespace {

enum Column { kTable, kSeat1, kSeat2, kSeat3, kSeat4, kState, kWatchers, kLevel, kColumns };

QString SeatText(const net::TableLine& t, int seat) {
    const auto k = static_cast<size_t>(seat);
    switch (t.fills[k]) {
    case net::SeatFill::Free: return ServerLobbyPage::tr("(free)");
    case net::SeatFill::Computer: return ServerLobbyPage::tr("%1 (computer)").arg(QString::fromStdString(t.names[k]).trimmed());
    case net::SeatFill::Person: {
        const QString name = QString::fromStdString(t.names[k]).trimmed();
        // A registered person's rating, or that the person is a guest (from a server that shows ratings).
        if (t.marks[k] == "G") return ServerLobbyPage::tr("%1 (guest)").arg(name);
        if (!t.marks[k].empty()) return ServerLobbyPage::tr("%1 (%2)").arg(name, Number(QString::fromStdString(t.marks[k]).toInt()));
        return name;
    }
    }
    return {};
}

QString LevelName(ai::Level level) {
    switch (level) {
    case ai::Level::Beginner: return ServerLobbyPage::tr("Beginner");
    case ai::Level::Expert: return ServerLobbyPage::tr("Expert");
    case ai::Level::Master: return ServerLobbyPage::tr("Master");
    case ai::Level::Standard: break;
    }
    return ServerLobbyPage::tr("Standard");
}

} // namespace

ServerLobbyPage::ServerLobbyPage(QWidget* parent) : QFrame(parent) {
    auto* page = new QVBoxLayout(this);
    statusLabel = new QLabel(this);
    statusLabel->setWordWrap(true);
    statusLabel->setTextFormat(Qt::PlainText);
    page->addWidget(statusLabel);
    page->addLayout(BuildAccountRow());

    auto* tablesLabel = new QLabel(tr("&Tables:"), this);
    tableList = new QTreeWidget(this);
    tablesLabel->setBuddy(tableList);
    tableList->setColumnCount(kColumns);
    tableList->setHeaderLabels({tr("Table"), tr("Seat 1"), tr("Seat 2"), tr("Seat 3"), tr("Seat 4"), tr("State"),
                                tr("Watching"), tr("Computer")});
    tableList->setRootIsDecorated(false);
    tableList->setAllColumnsShowFocus(true);
    tableList->setSelectionMode(QAbstractItemView::SingleSelection);
    tableList->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    tableList->setMinimumHeight(160);
    page->addWidget(tablesLabel);
    page->addWidget(tableList, 1);

    page->addLayout(BuildActions());

    auto* bestLabel = bestLabel_ = new QLabel(tr("&Best players of the last 30 days:"), this);
    bestList = new QTreeWidget(this);
    bestLabel->setBuddy(bestList);
    bestList->setHeaderLabels({tr("Rank"), tr("Player"), tr("Games"), tr("Wins"), tr("Points"), tr("HAKEM hands won")});
    bestList->setRootIsDecorated(false);
    bestList->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    bestList->setMaximumHeight(140);
    page->addWidget(bestLabel);
    page->addWidget(bestList);
    ConnectButtons();
    SelectionChanged();
}

QHBoxLayout* ServerLobbyPage::BuildActions() {
    auto* actions = new QHBoxLayout;
    makeButton = new QPushButton(tr("&Make Table..."), this);
    auto* seatLabel = new QLabel(tr("S&eat:"), this);
    seatChoice = new QComboBox(this);
    seatLabel->setBuddy(seatChoice);
    seatChoice->setToolTip(tr("Seat 1 is the partner of the server's own seat (3); seats 2 and 4 play against them."));
    sitButton = new QPushButton(tr("&Sit Down"), this);
    watchButton = new QPushButton(tr("&Watch"), this);
    leaveButton = new QPushButton(tr("&Leave"), this);
    actions->addWidget(makeButton);
    actions->addStretch();
    actions->addWidget(seatLabel);
    actions->addWidget(seatChoice);
    actions->addWidget(sitButton);
    actions->addWidget(watchButton);
    actions->addWidget(leaveButton);
    return actions;
}

QHBoxLayout* ServerLobbyPage::BuildAccountRow() {
    auto* row = new QHBoxLayout;
    accountLabel = new QLabel(this);
    accountLabel->setTextFormat(Qt::PlainText);
    signInButton = new QPushButton(tr("Sign &In..."), this);
    registerButton = new QPushButton(tr("&Register..."), this);
    signOutButton = new QPushButton(tr("Sign &Out"), this);
    row->addWidget(accountLabel, 1);
    row->addWidget(signInButton);
    row->addWidget(registerButton);
    row->addWidget(signOutButton);
    ShowAccount(QString(), false, false);
    return row;
}

void ServerLobbyPage::ShowAccount(const QString& name, bool signedIn, bool encrypted) {
    accountLabel->setText(name.isEmpty()       ? QString()
                          : signedIn           ? tr("Signed in as %1").arg(name)
                                               : tr("Playing as %1, a guest").arg(name));
    signInButton->setVisible(!signedIn);
    registerButton->setVisible(!signedIn);
    signOutButton->setVisible(signedIn);
    const QString needsTls = tr("Passwords travel only over an encrypted connection: tick \"Encrypted connection\" and connect again.");
    for (QPushButton* button : {signInButton, registerButton}) {
        button->setEnabled(encrypted);
        button->setToolTip(encrypted ? QString() : needsTls);
    }
}

void ServerLobbyPage::ConnectButtons() {
    connect(tableList, &QTreeWidget::itemSelectionChanged, this, &ServerLobbyPage::SelectionChanged);
    connect(tableList, &QTreeWidget::itemActivated, this, [this] {
        if (sitButton->isEnabled()) sitButton->click();
    });
    connect(makeButton, &QPushButton::clicked, this, &ServerLobbyPage::makeClicked);
    connect(sitButton, &QPushButton::clicked, this, [this] {
        if (selectedTable() > 0 && chosenSeat() > 0) emit sitClicked(selectedTable(), chosenSeat());
    });
    connect(watchButton, &QPushButton::clicked, this, [this] {
        if (selectedTable() > 0) emit watchClicked(selectedTable());
    });
    connect(leaveButton, &QPushButton::clicked, this, &ServerLobbyPage::leaveClicked);
    connect(signInButton, &QPushButton::clicked, this, [this] { emit signInClicked(false); });
    connect(registerButton, &QPushButton::clicked, this, [this] { emit signInClicked(true); });
    connect(signOutButton, &QPushButton::clicked, this, &ServerLobbyPage::signOutClicked);
}

void ServerLobbyPage::SetStatus(const QString& text) { statusLabel->setText(text); }

int ServerLobbyPage::selectedTable() const {
    const auto items = tableList->selectedItems();
    return items.isEmpty() ? 0 : items.first()->data(kTable, Qt::UserRole).toInt();
}

bool ServerLobbyPage::selectedIsPrivate() const {
    const auto it = tables_.find(selectedTable());
    return it != tables_.end() && it->second.isPrivate;
}

QString ServerLobbyPage::tableName(int id) const {
    const auto it = tables_.find(id);
    return it == tables_.end() ? QString() : QString::fromStdString(it->second.name);
}

int ServerLobbyPage::chosenSeat() const { return seatChoice->currentData().toInt(); }

void ServerLobbyPage::SelectTable(int id) {
    for (int i = 0; i < tableList->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = tableList->topLevelItem(i);
        if (item->data(kTable, Qt::UserRole).toInt() == id) {
            tableList->setCurrentItem(item);
            item->setSelected(true);
        }
    }
}

void ServerLobbyPage::ShowTables(const std::map<int, net::TableLine>& tables) {
    const int selected = selectedTable();
    tables_ = tables;
    const QSignalBlocker quiet(tableList);
    tableList->clear();
    for (const auto& [id, t] : tables) {
        auto* item = new QTreeWidgetItem(tableList);
        // A lock marks a table that needs its password.
        item->setText(kTable, (t.isPrivate ? QStringLiteral("\U0001F512 ") : QString()) + QString::fromStdString(t.name));
        item->setData(kTable, Qt::UserRole, id);
        item->setToolTip(kTable, t.isPrivate ? tr("Private: the table's password is asked for") : tr("Open to everyone"));
        for (int seat = 1; seat <= 4; ++seat) item->setText(kSeat1 + seat - 1, SeatText(t, seat));
        item->setText(kState, t.playing ? tr("Playing") : tr("Waiting"));
        item->setText(kWatchers, t.watchable ? Number(t.watchers) : tr("not allowed"));
        item->setText(kLevel, LevelName(t.level) +
                                  (t.moveLimit > 0 ? tr(", %1 s a move").arg(t.moveLimit) : QString()) +
                                  (t.rated ? QString() : tr(", unrated")));
    }
    if (selected > 0) SelectTable(selected);
    if (selectedTable() == 0 && tableList->topLevelItemCount() > 0) {
        tableList->setCurrentItem(tableList->topLevelItem(0));
        tableList->topLevelItem(0)->setSelected(true);
    }
    SelectionChanged();
}

void ServerLobbyPage::ShowBest(const std::vector<net::TopLine>& best, bool byRating) {
    bestList->clear();
    // A server that shows ratings lists its registered players by rating.
    bestLabel_->setText(byRating ? tr("&Best rated players:") : tr("&Best players of the last 30 days:"));
    bestList->setHeaderLabels(byRating ? QStringList{tr("Rank"), tr("Player"), tr("Rating"), tr("Games"), tr("Wins")}
                                       : QStringList{tr("Rank"), tr("Player"), tr("Games"), tr("Wins"), tr("Points"),
                                                     tr("HAKEM hands won")});
    for (const net::TopLine& b : best) {
        if (byRating)
            new QTreeWidgetItem(bestList, {Number(b.rank), QString::fromStdString(b.name),
                                           tr("%1 ± %2").arg(Number(b.rating), Number(b.deviation)), Number(b.games),
                                           Number(b.wins)});
        else
            new QTreeWidgetItem(bestList, {Number(b.rank), QString::fromStdString(b.name), Number(b.games),
                                           Number(b.wins), Number(b.points), Number(b.hakemWins)});
    }
}

void ServerLobbyPage::SelectionChanged() {
    const int chosen = seatChoice->currentData().toInt();
    seatChoice->clear();
    const auto it = tables_.find(selectedTable());
    if (it != tables_.end() && !it->second.playing)
        for (int seat : {1, 2, 4})
            if (it->second.fills[static_cast<size_t>(seat)] == net::SeatFill::Free)
                seatChoice->addItem(Number(seat), seat);
    if (const int again = seatChoice->findData(chosen); again >= 0) seatChoice->setCurrentIndex(again);
    seatChoice->setEnabled(seatChoice->count() > 0);
    sitButton->setEnabled(seatChoice->count() > 0);
    sitButton->setToolTip(it == tables_.end()      ? tr("Choose a table first")
                          : it->second.playing     ? tr("The table is playing")
                          : seatChoice->count() == 0 ? tr("The table is full")
                                                     : QString());
    const bool watchable = it != tables_.end() && it->second.watchable;
    watchButton->setEnabled(watchable);
    watchButton->setToolTip(it != tables_.end() && !watchable ? tr("The table's maker does not allow watching") : QString());
}

} // namespace zarv::ui
