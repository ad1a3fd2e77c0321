// What the window shows of network play: the network dialog, the chat box,
// the menus of a network game, and a watched table in the table's place.
#include "ui/table_window.h"

#include <QLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
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
    const int before = width();  // showing the column may widen the window to its new minimum
    chatPanel_->setVisible(shown);
    // A window of its own size grows sideways by the chat column, as far as
    // the screen allows, so the table keeps its size; full screen or
    // maximised, the table gives the column its width.
    if (isMaximized() || isFullScreen() || !isVisible()) {
        widthForChat_ = 0;
        return;
    }
    // The window's minimum follows the column at once, not at the next layout pass.
    centralWidget()->layout()->activate();
    layout()->activate();
    if (!shown) {
        resize(std::max(minimumSizeHint().width(), before - widthForChat_), height());
        widthForChat_ = 0;
        return;
    }
    const QRect free = screen() ? screen()->availableGeometry() : QRect();
    int wanted = before + chatPanel_->sizeHint().width();
    if (free.isValid()) wanted = std::min(wanted, free.width() - (frameGeometry().width() - width()));
    resize(std::max(wanted, minimumSizeHint().width()), height());
    widthForChat_ = width() - before;
    // Grown past the screen's edge: moved back inside it.
    const QRect frame = frameGeometry();
    if (free.isValid() && frame.right() > free.right()) move(pos() - QPoint(frame.right() - free.right(), 0));
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
