// The window's part in playing on a table server: the connection and its
// lobby, then the seat, after which a server table is played exactly as a
// Dealer's game is.
#include "ui/table_window.h"

#include <QLabel>
#include <QLineEdit>
#include <QStatusBar>
#include <QTimer>

#include "net/wire.h"
#include "ui/card_pictures.h"
#include "ui/engine_texts.h"
#include "ui/colour.h"
#include "ui/watch_view.h"

namespace zarv::ui {

void TableWindow::OpenServerLobby(const QString& host, int port, const net::TcpTransport::Tls& tls,
                                  const QString& address) {
    BecomeStandAlone();
    settings_.LastServer = address.toStdString();
    settings::SaveLastServer(store_, settings_.LastServer);
    transport_.SetTls(tls);
    ticket_ = ReturnTicket{host, port, {}, 0};
    lobby_ = std::make_unique<net::LobbyClient>(transport_);
    transport_.SetEvents(lobby_.get());
    transport_.ConnectTo(host, static_cast<quint16>(port));
}

void TableWindow::SitAtServerTable(int seat) {
    if (!lobby_) return;
    session_.Reset(net::NetworkSession::Role::Client);
    // Seat 1 is the partner of the server's own seat (3).
    session_.SetJoinRequest(settings_.PlayerName, net::SideWord(seat));
    transport_.SetEvents(&session_);
    session_.OnConnected();
}

void TableWindow::StartServerTable(int table) {
    if (session_.role() == net::NetworkSession::Role::Client && transport_.IsConnected(0))
        transport_.Send(0, net::Message("LobbyStart", std::to_string(table)));
}

void TableWindow::BeginWatching(const QString& tableName) {
    if (!lobby_) return;
    watching_ = true;
    watchedTable_ = tableName;
    view_->hide();
    watchView_->SetLook(ToQColor(settings_.FeltColour),
                        DrawDeck(sprite_, settings_.Deck, settings_.DeckColour1, settings_.DeckColour2, settings_.DeckColour3));
    watchView_->Show(lobby_->watched, watchedTable_);
    watchView_->show();
    status_->SetWatching(true);
    chatPanel->Clear();
    chatInput->setEnabled(false);  // watchers read the players' chat, they do not write
    ShowChat(true);
    EnableMenu(MenuItem::Network, false);
    leaveAction_->setEnabled(true);
    lobby_->onNews = [this] { WatchNews(); };
    lobby_->onChat = [this](int seat, const std::string& text) {
        if (seat < 1 || seat > 4) return;
        chatPanel->AddLine(QString::fromStdString(lobby_->watched.names[static_cast<size_t>(seat)]).trimmed(),
                           QString::fromStdString(text));
    };
    endNote_.clear();
    UpdateStatus();
}

void TableWindow::WatchNews() {
    if (!watching_ || !lobby_) return;
    watchView_->Show(lobby_->watched, watchedTable_);
    if (lobby_->closed || lobby_->tableClosed || !lobby_->watched.closed.empty()) {
        const QString why = !lobby_->closingWords.empty() ? FromEngine(lobby_->closingWords)
                            : !lobby_->watched.closed.empty() ? FromEngine(lobby_->watched.closed)
                                                              : tr("The connection to the table server was lost.");
        // Not inside the lobby's own report: the lobby goes with the watching.
        QTimer::singleShot(0, this, [this, why] { StopWatching(why); });
    }
}

void TableWindow::StopWatching(const QString& why) {
    if (!watching_) return;
    watching_ = false;
    if (lobby_ && transport_.IsConnected(0)) {
        lobby_->Leave();
        transport_.Close(0);
    }
    BecomeStandAlone();
    watchView_->hide();
    view_->show();
    status_->SetWatching(false);
    chatInput->setEnabled(true);
    ShowChat(false);
    chatPanel->Clear();
    EnableMenu(MenuItem::Network, true);
    leaveAction_->setEnabled(false);
    endNote_ = why;
    statusBar()->showMessage(why, 8000);
    view_->RefreshPage();
    UpdateStatus();
}

} // namespace zarv::ui
