// The window's part in network play: hosting and joining, the lobby's
// reports, the chat box, a lost Dealer and the way back to it, and the end of
// a network game.
#include "ui/table_window.h"

#include <QLineEdit>
#include <QMessageBox>
#include <QNetworkInterface>
#include <QStatusBar>
#include <QTimer>

#include "net/wire.h"
#include "ui/engine_texts.h"
#include "ui/network_dialog.h"

namespace zarv::ui {

void TableWindow::NetworkClick() {
    NetworkDialog dialog(*this, this);
    SetNetworkDialog(&dialog);
    dialog.exec();
    SetNetworkDialog(nullptr);
    if (dialog.watchingTable()) {
        BeginWatching(dialog.watchedTableName());
        return;
    }
    if (resumePending_) {
        // The address given was where this machine had lost its seat: it is back.
        ResumeNetworkGame();
        return;
    }
    AfterNetworkDialog(dialog.startGame());
}

void TableWindow::AfterNetworkDialog(bool start) {
    if (!start) return;
    if (session_.role() == net::NetworkSession::Role::Dealer) session_.StopAccepting();
    networkGame_ = true;
    endNote_.clear();
    chatPanel->Clear();
    EnableMenu(MenuItem::Network, false);
    leaveAction_->setEnabled(session_.role() == net::NetworkSession::Role::Client);
    housekeeping_.start();
    ShowChat(true);
    game_.StartClick();
}

QString TableWindow::JoinAddress(const QList<QHostAddress>& addresses, quint16 port) {
    // IPv4 first (it is what people type); never an address only this machine,
    // or only this network link, can use.
    const QHostAddress* best = nullptr;
    for (const QHostAddress& a : addresses) {
        if (a.isLoopback() || a.isLinkLocal() || a.isNull() || a.isMulticast()) continue;
        if (a.protocol() == QAbstractSocket::IPv4Protocol) {
            best = &a;
            break;
        }
        if (!best && a.protocol() == QAbstractSocket::IPv6Protocol) best = &a;
    }
    if (!best) return {};
    const bool v6 = best->protocol() == QAbstractSocket::IPv6Protocol;
    if (port == net::kDefaultPort) return best->toString();
    return v6 ? QStringLiteral("[%1]:%2").arg(best->toString()).arg(port) : QStringLiteral("%1:%2").arg(best->toString()).arg(port);
}

TableWindow::Hosting TableWindow::Host() {
    BecomeStandAlone();
    Hosting h;
    QString note;
    bool listening = transport_.Listen(plan_.port, plan_.address);
    QString firstError;
    if (!listening) {
        // An ordinary user may not open ports below 1024, or another program holds it.
        firstError = transport_.error();
        for (quint16 port : plan_.fallbacks)
            if ((listening = transport_.Listen(port, plan_.address))) break;
        if (listening)
            note = tr("Port %1 could not be opened (%2), so this game listens on port %3 instead.\n")
                       .arg(plan_.port)
                       .arg(firstError)
                       .arg(transport_.port());
    }
    if (!listening) {
        h.error = tr("No port could be opened for others to join: %1").arg(transport_.error());
        return h;
    }
    h.port = transport_.port();
    QList<QHostAddress> all = QNetworkInterface::allAddresses();
    if (plan_.address.isLoopback()) all = {plan_.address};
    QStringList addresses;
    for (const QHostAddress& a : all)
        if ((!a.isLoopback() || plan_.address.isLoopback()) && !a.isLinkLocal())
            addresses << (a.protocol() == QAbstractSocket::IPv6Protocol ? QStringLiteral("[%1]").arg(a.toString()) : a.toString());
    const QString port = h.port == net::kDefaultPort ? QString() : QStringLiteral(":%1").arg(h.port);
    h.note = note;
    h.where = note + tr("Others join at port %1 of this computer: %2")
                         .arg(h.port)
                         .arg(addresses.isEmpty() ? tr("(no network address found)") : addresses.join(port + QStringLiteral(", ")) + port);
    // Loopback is what a test asks for; a person shares an address others can reach.
    QString line = JoinAddress(all, h.port);
    if (line.isEmpty() && plan_.address.isLoopback()) line = QStringLiteral("%1:%2").arg(plan_.address.toString()).arg(h.port);
    h.joinLine = line.isEmpty() ? QString() : tr("Join at %1").arg(line);
    return h;
}

void TableWindow::Join(const QString& host, int port, const std::string& side, const QString& address) {
    BecomeStandAlone();
    session_.Reset(net::NetworkSession::Role::Client);
    session_.SetJoinRequest(settings_.PlayerName, side);
    if (!address.isEmpty()) {
        settings_.LastDealer = address.toStdString();
        settings::SaveLastDealer(store_, settings_.LastDealer);
    }
    // A seat lost at this very Dealer is asked back instead of joining anew.
    const bool sameDealer = ticket_.host == host && ticket_.port == port && !ticket_.token.empty();
    if (sameDealer) {
        session_.SetReturnRequest(ticket_.token);
        game_.SetLocalSeat(ticket_.seat);
    } else {
        ticket_ = ReturnTicket{host, port, {}, 0};
    }
    transport_.ConnectTo(host, static_cast<quint16>(port));
}

void TableWindow::BecomeStandAlone() {
    transport_.Reset();
    // No lobby, no TLS: the next connection is chosen afresh.
    transport_.SetEvents(&session_);
    transport_.SetTls({});
    if (lobby_) {
        // This may run inside the lobby's own report: it goes once that has
        // returned (it hears nothing more: the transport reports to the session).
        QTimer::singleShot(0, [gone = lobby_.release()] { delete gone; });
    }
    session_.Reset(net::NetworkSession::Role::Dealer);
    // Seats that players took are the computer's again, under the usual names.
    game_.BecomeOwnDealer();
}

void TableWindow::BeforeNewGame() {
    // A game of this machine's own ends the watching.
    if (watching_) StopWatching(QString());
    if (!networkGame_) {
        // The table of a network game that ended stays in sight until the
        // next game, which is this machine's own.
        if (standAloneNext_) BecomeStandAlone();
        standAloneNext_ = false;
        endNote_.clear();
        return;
    }
    const bool over = session_.role() == net::NetworkSession::Role::Client ? !session_.IsConnected(0)
                                                                           : !game_.HasConnectedClient();
    if (!over) return;
    // A new game after a network game has ended is a game of this machine alone.
    EndNetworkGame(QString());
    endNote_.clear();
    BecomeStandAlone();
}

void TableWindow::EndNetworkGame(const QString& why) {
    reconnector_.Stop();
    resumePending_ = false;
    dealerSilent_ = false;
    if (!networkGame_) return;
    if (game_.Running()) {
        // The game here still reads what the Dealer sent before it went (its
        // last cards); it stops by itself once it finds nothing more, and the
        // table is cleaned after that.
        if (session_.role() == net::NetworkSession::Role::Client) session_.Leave();
        endWhenUnwound_ = why;
        return;
    }
    housekeeping_.stop();
    networkGame_ = false;
    if (session_.role() == net::NetworkSession::Role::Client) {
        // Nothing of the lost game stays live: no turn, no flag, no lit plate.
        session_.Leave();
        game_.ClearTurn();
        transport_.Reset();
        session_.Reset(net::NetworkSession::Role::Dealer);
        standAloneNext_ = true;
    }
    endNote_ = why;
    ShowChat(false);
    chatPanel->Clear();
    EnableMenu(MenuItem::Network, true);
    leaveAction_->setEnabled(false);
    takeOverAction_->setEnabled(false);
    view_->SetTurnSeat(0);
    view_->RefreshPage();
    UpdateStatus();
}

void TableWindow::GameUnwound() {
    if (!endWhenUnwound_) return;
    // From the event loop, not from inside the engine's last frame.
    QTimer::singleShot(0, this, [this, why = *endWhenUnwound_] { EndNetworkGame(why); });
    endWhenUnwound_.reset();
}

void TableWindow::LeaveNetworkGame() {
    if (watching_) return StopWatching(tr("You stopped watching."));
    if (!networkGame_ || session_.role() != net::NetworkSession::Role::Client) return;
    ticket_.token.clear();  // leaving on purpose: the seat is not taken back
    EndNetworkGame(tr("You left the network game."));
}

void TableWindow::TakeOverWaitedSeat() {
    const GameState& s = game_.state();
    if (!s.IsDealer || s.WaitingForSeat == 0) return;
    game_.TakeOverWaitedSeat();
}

void TableWindow::TryToReturn() {
    // Each try is a new connection asking for the seat back.
    session_.Reset(net::NetworkSession::Role::Client);
    session_.SetReturnRequest(ticket_.token);
    transport_.ConnectTo(ticket_.host, static_cast<quint16>(ticket_.port));
    UpdateStatus();
}

void TableWindow::ResumeNetworkGame() {
    const auto table = session_.TakeTable();
    resumePending_ = false;
    if (!table) return;
    reconnector_.Stop();
    networkGame_ = true;
    endNote_.clear();
    EnableMenu(MenuItem::Network, false);
    leaveAction_->setEnabled(true);
    housekeeping_.start();
    ShowChat(true);
    game_.Resume(*table);
}

void TableWindow::ShowChat(bool shown) {
    if (shown == !chatPanel->isHidden()) return;
    chatPanel->setVisible(shown);
    // A window of its own size grows by the chat box, so the table keeps its
    // size; full screen or maximised, the table gives the box its height.
    if (!isMaximized() && !isFullScreen() && isVisible()) {
        const int chat = chatPanel->sizeHint().height();
        resize(width(), std::max(minimumSizeHint().height(), height() + (shown ? chat : -chat)));
    }
}

QString TableWindow::SeatName(int seat) const {
    const GameState& s = game_.state();
    if (seat < 1 || seat > 4) return {};
    if (seat == s.LocalSeat) return QString::fromStdString(settings_.PlayerName).trimmed();
    return QString::fromStdString(s.Seats[seat].Name).trimmed();
}

void TableWindow::SendChat(const QString& line) {
    if (line.isEmpty()) return;
    session_.SendChat(line.toStdString());
    // The writer sees the line in the conversation, not in a balloon.
    chatPanel->AddLine(SeatName(game_.state().LocalSeat), line);
}

void TableWindow::PlayerJoined(int connection, int, const std::string& line) {
    if (dialog_) dialog_->PlayerJoinedOn(connection, FromEngine(line));
}

void TableWindow::Seated(int seat, const std::string& text) {
    if (dialog_) {
        dialog_->Seated(seat, FromEngine(text));
        return;
    }
    // Asked for the seat back, and the Dealer said no.
    if (seat == 3 && reconnector_.active())
        EndNetworkGame(tr("The Dealer did not give the seat back: %1").arg(FromEngine(text)));
}

void TableWindow::PlayerAnnounced(const std::string& line) {
    if (dialog_) dialog_->PlayerAnnounced(FromEngine(line));
}

void TableWindow::StartReceived() {
    if (dialog_) dialog_->StartReceived();
}

void TableWindow::Connected() {
    if (dialog_) dialog_->Connected();
}

void TableWindow::ConnectFailed(const std::string& why) {
    if (dialog_) dialog_->ConnectFailed(FromEngine(why));
}

void TableWindow::ConnectionClosed(int index) {
    if (index != 0 || session_.role() != net::NetworkSession::Role::Client) return;
    if (dialog_) {
        dialog_->ConnectionClosed();
        return;
    }
    if (!networkGame_ || reconnector_.active()) return;
    // The Dealer is gone. Ours keeps the seat: come back to it for a while.
    if (session_.CanReturn()) {
        ticket_.token = session_.returnToken();
        ticket_.seat = game_.state().LocalSeat;
        chatPanel->AddNotice(tr("The connection to the Dealer was lost. Reconnecting..."));
        countdown_.start();
        reconnector_.Start();
        return;
    }
    // The game's own loop says so when it notices; the table is cleaned once it has unwound.
    QTimer::singleShot(0, this, [this] {
        if (networkGame_ && !reconnector_.active() && !resumePending_)
            EndNetworkGame(tr("The Dealer has gone; the network game is over."));
    });
}

void TableWindow::PlayerLeft(int connection, int, const std::string& name) {
    if (dialog_) dialog_->PlayerLeft(connection, QString::fromStdString(name));
}

void TableWindow::LateJoinRefused(const std::string& name) {
    const QString text = tr("%1 tried to join, but the game has started.").arg(QString::fromStdString(name).trimmed());
    if (networkGame_) chatPanel->AddNotice(text);
    statusBar()->showMessage(text, 8000);
}

void TableWindow::RosterReceived(const std::array<std::string, 5>& names, const std::array<SeatKind, 5>& kinds) {
    if (dialog_) dialog_->RosterReceived(names, kinds, game_.state().LocalSeat);
}

void TableWindow::TableReceived() {
    resumePending_ = true;
    reconnector_.Stop();
    if (dialog_) {
        dialog_->ResumeReceived();
        return;
    }
    // Taken up from the event loop: a game still on the stack ends first, and
    // the table is taken up once it has unwound.
    QTimer::singleShot(0, this, [this] {
        if (resumePending_) ResumeNetworkGame();
    });
}

void TableWindow::DealerSilent(double seconds) {
    dealerSilent_ = true;
    chatPanel->AddNotice(tr("The Dealer has not answered for %1 seconds. Game > Leave Network Game ends this game here.")
                           .arg(static_cast<int>(seconds)));
    UpdateStatus();
}

void TableWindow::DealerHeard() {
    dealerSilent_ = false;
    UpdateStatus();
}

void TableWindow::ChatReceived(int seat, const std::string& text) {
    if (seat < 1 || seat > 4) return;
    chatPanel->AddLine(SeatName(seat), QString::fromStdString(text));
    if (!settings_.Talk) return;
    // Relative to this machine's own seat, as every balloon is.
    if (chatBalloons_[static_cast<size_t>(seat)]) chatBalloons_[static_cast<size_t>(seat)]->close();
    chatBalloons_[static_cast<size_t>(seat)] = Balloon::Chat(*this, seat, QString::fromStdString(text));
}

void TableWindow::BadMessage(const std::string&) {
    if (session_.role() != net::NetworkSession::Role::Client) return;  // the Dealer closed that player's connection
    Announce(TableEvent::Just(TableEvent::Kind::DealerUnfollowable));
}

} // namespace zarv::ui
