// Playing on a table server: the connection and its lobby, then the seat,
// after which a server table is played exactly as a Dealer's game is; or a
// table watched from the lobby.
#include <QTimer>

#include "net/wire.h"
#include "settings/preferences.h"
#include "ui/notice_words.h"
#include "ui/watch_news.h"
#include "ui/network_play.h"

namespace zarv::ui {

using Mode = net::NetworkMode::Kind;

void NetworkPlay::OpenServerLobby(const QString& host, int port, const net::TcpTransport::Tls& tls,
                                  const QString& address) {
    preferences_.SetLastServer(address.toStdString());
    if (HoldsSeatAt(true, host, port)) return ReturnToServerTable(host, port, tls);
    BecomeStandAlone();
    mode_.OpenServerLobby();
    transport_.SetTls(tls);
    NoteWhereJoined(true, address, host, port, tls.enabled);
    lobby_ = std::make_unique<net::LobbyClient>(transport_);
    transport_.SetEvents(lobby_.get());
    transport_.ConnectTo(host, static_cast<quint16>(port));
    emit statusChanged();
}

void NetworkPlay::ReturnToServerTable(const QString& host, int port, const net::TcpTransport::Tls& tls) {
    BecomeStandAlone();
    mode_.Join();
    transport_.SetTls(tls);
    ticket_.encrypted = tls.enabled;
    NewClientSession().SetReturnRequest(ticket_.token);
    askedBack_ = true;
    game_->SetLocalSeat(ticket_.seat);
    transport_.ConnectTo(host, static_cast<quint16>(port));
}

void NetworkPlay::SitAtServerTable(int seat) {
    if (!lobby_ || !mode_.SitDown()) return;
    net::ClientSession& session = NewClientSession();
    // Seat 1 is the partner of the server's own seat (3).
    session.SetJoinRequest(preferences_.current().PlayerName, net::SideWord(seat));
    session.OnConnected();
    emit statusChanged();
}

void NetworkPlay::StartServerTable(int table) {
    if (client() && transport_.IsConnected(0)) transport_.Send(0, net::Message("LobbyStart", std::to_string(table)));
}

void NetworkPlay::BeginWatching(const QString& tableName) {
    if (!lobby_ || !mode_.Watch()) return;
    watchedTable_ = tableName;
    lobby_->onNews = [this] { OnWatchNews(); };
    lobby_->onChat = [this](int seat, const std::string& text) {
        if (seat < 1 || seat > 4) return;
        emit watchChat(QString::fromStdString(lobby_->watched.names[static_cast<size_t>(seat)]).trimmed(),
                       QString::fromStdString(text));
    };
    lobby_->onTableNews = [this](const net::SeenEvent& news) {
        const QString words = WatchNewsInWords(news, lobby_->watched);
        if (!words.isEmpty()) emit watchNotice(words);
    };
    emit watchingBegan();
}

void NetworkPlay::OnWatchNews() {
    if (!watching() || !lobby_) return;
    emit watchNews();
    if (lobby_->closed || lobby_->tableClosed || !lobby_->watched.closed.empty()) {
        const QString why = !lobby_->closingWords.empty() ? NoticeInWords(lobby_->closingNotice)
                            : !lobby_->watched.closed.empty() ? FromWire(lobby_->watched.closed)
                                                              : tr("The connection to the table server was lost.");
        // Not inside the lobby's own report: the lobby goes with the watching.
        QTimer::singleShot(0, this, [this, why] { StopWatching(why); });
    }
}

void NetworkPlay::StopWatching(const QString& why) {
    if (!watching()) return;
    if (lobby_ && transport_.IsConnected(0)) {
        lobby_->Leave();
        transport_.Close(0);
    }
    BecomeStandAlone();
    emit watchingEnded(why);
}

} // namespace zarv::ui
