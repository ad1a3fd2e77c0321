// What the window shows of network play: the network dialog, the chat box,
// the menus of a network game, and a watched table in the table's place.
#include "ui/table_window.h"

#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>

#include "ui/card_pictures.h"
#include "ui/colour.h"
#include "ui/network_dialog.h"
#include "ui/table_status_bar.h"
#include "ui/watch_view.h"

namespace zarv::ui {

void TableWindow::NetworkClick() { RunNetworkDialog(std::nullopt); }

void TableWindow::OfferKeptSeat() {
    const auto seat = network_.keptSeat();
    if (!seat) return;
    QMessageBox ask(QMessageBox::Question, tr("Network"),
                    tr("When Zarv last closed, you had a seat in a network game at %1.\n\nGo back to your seat?")
                        .arg(QString::fromStdString(seat->address)),
                    QMessageBox::Yes | QMessageBox::No, this);
    ask.button(QMessageBox::Yes)->setText(tr("&Go Back"));
    ask.button(QMessageBox::No)->setText(tr("&Not Now"));
    ask.setDefaultButton(QMessageBox::Yes);
    if (ask.exec() == QMessageBox::Yes) RunNetworkDialog(seat);
}

void TableWindow::RunNetworkDialog(const std::optional<settings::ReturnTicket>& seat) {
    NetworkDialog dialog(network_, this);
    network_.SetDialog(&dialog);
    if (seat) dialog.ReturnTo(*seat);
    dialog.exec();
    network_.SetDialog(nullptr);
    network_.AfterDialog(dialog.startGame(), dialog.watchingTable() ? dialog.watchedTableName() : QString());
}

void TableWindow::ConnectNetworkPlay() {
    connect(&network_, &NetworkPlay::gameBegan, this, [this] { NetworkGameBegan(false); });
    connect(&network_, &NetworkPlay::gameTakenUp, this, [this] { NetworkGameBegan(true); });
    connect(&network_, &NetworkPlay::gameEnded, this, &TableWindow::NetworkGameEnded);
    connect(&network_, &NetworkPlay::notice, chatPanel_, &ChatPanel::AddNotice);
    connect(&network_, &NetworkPlay::chatLine, this, &TableWindow::ChatLine);
    connect(&network_, &NetworkPlay::statusChanged, this, [this] {
        if (network_.reconnector().active()) countdown_.start();
        ShowTurn();  // no plate is lit while the table is lost
        UpdateStatus();
    });
    connect(&network_, &NetworkPlay::dealerUnfollowable, this,
            [this] { Announce(TableEvent::Just(TableEvent::Kind::DealerUnfollowable)); });
    connect(&network_, &NetworkPlay::watchingBegan, this, &TableWindow::WatchingBegan);
    connect(&network_, &NetworkPlay::watchNews, this,
            [this] { watchView_->Show(network_.lobby()->watched, network_.watchedTable()); });
    connect(&network_, &NetworkPlay::watchChat, chatPanel_, &ChatPanel::AddLine);
    connect(&network_, &NetworkPlay::watchNotice, chatPanel_, &ChatPanel::AddNotice);
    connect(&network_, &NetworkPlay::watchingEnded, this, &TableWindow::WatchingEnded);
}

void TableWindow::NetworkGameBegan(bool takenUp) {
    words_.SetEndNote(QString());
    // A game taken up again goes on with its conversation.
    if (!takenUp) chatPanel_->Clear();
    if (takenUp) chatPanel_->AddNotice(tr("You are back at your seat."));
    EnableMenu(MenuItem::Network, false);
    menus_->leave()->setEnabled(network_.mode().is(net::NetworkMode::Kind::Joined));
    ShowChat(true);
}

void TableWindow::NetworkGameEnded(const QString& why) {
    words_.SetEndNote(why);
    ShowChat(false);
    chatPanel_->Clear();
    EnableMenu(MenuItem::Network, true);
    menus_->leave()->setEnabled(false);
    menus_->takeOver()->setEnabled(false);
    view_->SetTurnSeat(0);
    view_->RefreshPage();
    UpdateStatus();
}

void TableWindow::BeforeNewGame() {
    network_.BeforeNewGame();
    if (!network_.gameOn()) words_.SetEndNote(QString());
}

void TableWindow::GameUnwound() { network_.GameUnwound(); }

void TableWindow::ShowChat(bool shown) {
    if (shown == !chatPanel_->isHidden()) return;
    chatPanel_->setVisible(shown);
    // A window of its own size grows by the chat box, so the table keeps its
    // size; full screen or maximised, the table gives the box its height.
    if (!isMaximized() && !isFullScreen() && isVisible()) {
        const int chat = chatPanel_->sizeHint().height();
        resize(width(), std::max(minimumSizeHint().height(), height() + (shown ? chat : -chat)));
    }
}

QString TableWindow::SeatName(int seat) const {
    const GameState& s = game_.state();
    if (seat < 1 || seat > 4) return {};
    if (seat == s.LocalSeat) return QString::fromStdString(currentSettings().PlayerName).trimmed();
    return QString::fromStdString(s.Seats[seat].Name).trimmed();
}

void TableWindow::ChatLine(int seat, const QString& text, bool fromHere) {
    chatPanel_->AddLine(SeatName(seat), text);
    // The writer sees the line in the conversation only; others' lines also in a balloon.
    if (fromHere || !currentSettings().Talk) return;
    // Relative to this machine's own seat, as every balloon is.
    QPointer<Balloon>& shown = chatBalloons_[static_cast<size_t>(seat)];
    if (shown) shown->close();
    shown = Balloon::Chat(*this, seat, text);
}

void TableWindow::WatchingBegan() {
    view_->hide();
    const settings::Settings& s = currentSettings();
    watchView_->SetLook(ToQColor(s.FeltColour), DrawDeck(sprite_, s.Deck, s.DeckColour1, s.DeckColour2, s.DeckColour3));
    watchView_->Show(network_.lobby()->watched, network_.watchedTable());
    watchView_->show();
    status_->SetWatching(true);
    chatPanel_->Clear();
    chatPanel_->SetWritable(false);
    ShowChat(true);
    EnableMenu(MenuItem::Network, false);
    menus_->leave()->setEnabled(true);
    // What does nothing while watching is greyed out.
    for (QAction* idle : {menus_->start(), menus_->hint(), menus_->lastTrick()}) idle->setEnabled(false);
    words_.SetEndNote(QString());
    UpdateStatus();
}

void TableWindow::WatchingEnded(const QString& why) {
    watchView_->hide();
    view_->show();
    status_->SetWatching(false);
    chatPanel_->SetWritable(true);
    ShowChat(false);
    chatPanel_->Clear();
    EnableMenu(MenuItem::Network, true);
    menus_->leave()->setEnabled(false);
    for (QAction* back : {menus_->start(), menus_->hint(), menus_->lastTrick()}) back->setEnabled(true);
    words_.SetEndNote(why);
    view_->RefreshPage();
    UpdateStatus();
}

} // namespace zarv::ui
