// Hosting and joining a Dealer, the session's reports, a lost Dealer and the
// way back to it, and the end of a network game.
#include "ui/network_play.h"

#include <QDateTime>
#include <QNetworkInterface>
#include <QTimer>

#include "net/wire.h"
#include "settings/preferences.h"
#include "ui/notice_words.h"
#include "ui/network_dialog.h"

namespace zarv::ui {

using Mode = net::NetworkMode::Kind;

NetworkPlay::NetworkPlay(QtEventPump& pump, settings::Preferences& preferences, QObject* parent)
    : QObject(parent), preferences_(preferences), pump_(pump) {
    NewDealerSession();
    connect(&reconnector_, &Reconnector::attempt, this, &NetworkPlay::TryToReturn);
    connect(&reconnector_, &Reconnector::gaveUp, this,
            [this] { End(tr("The Dealer could not be reached again; the network game is over.")); });
    // Heartbeats and silent Dealers, also while a dialog or question is open.
    housekeeping_.setInterval(1000);
    connect(&housekeeping_, &QTimer::timeout, this, [this] { session_->Housekeep(); });
    if (auto kept = preferences_.ReturnTicketAt(QDateTime::currentSecsSinceEpoch())) ticket_ = *kept;
}

std::optional<settings::ReturnTicket> NetworkPlay::keptSeat() const {
    if (gameOn() || ticket_.token.empty() || ticket_.seat == 0) return std::nullopt;
    return ticket_;
}

void NetworkPlay::KeepSeat() {
    if (!client_ || client_->returnToken().empty()) return;
    if (!askedBack_) ticket_ = joinedAt_;
    ticket_.token = client_->returnToken();
    ticket_.seat = game_->state().LocalSeat;
    ticket_.savedAt = QDateTime::currentSecsSinceEpoch();
    preferences_.KeepReturnTicket(ticket_);
}

bool NetworkPlay::HoldsSeatAt(bool server, const QString& host, int port) const {
    return ticket_.server == server && ticket_.host == host.toStdString() && ticket_.port == port &&
           !ticket_.token.empty() && ticket_.seat != 0;
}

void NetworkPlay::NoteWhereJoined(bool server, const QString& address, const QString& host, int port, bool encrypted) {
    joinedAt_ = settings::ReturnTicket{};
    joinedAt_.server = server;
    joinedAt_.address = address.toStdString();
    joinedAt_.host = host.toStdString();
    joinedAt_.port = port;
    joinedAt_.encrypted = encrypted;
}

void NetworkPlay::ForgetSeat() {
    ticket_.token.clear();
    ticket_.seat = 0;
    preferences_.ForgetReturnTicket();
}

NetworkPlay::~NetworkPlay() {
    session_->SetListener(nullptr);
    for (auto& old : retired_) old->SetListener(nullptr);
}

void NetworkPlay::Attach(Game& game) {
    game_ = &game;
    session_->Attach(game);
}

net::DealerSession& NetworkPlay::NewDealerSession() {
    auto fresh = std::make_unique<net::DealerSession>(transport_, pump_);
    net::DealerSession& dealer = *fresh;
    Install(std::move(fresh));
    dealer_ = &dealer;
    return dealer;
}

net::ClientSession& NetworkPlay::NewClientSession() {
    auto fresh = std::make_unique<net::ClientSession>(transport_, pump_);
    net::ClientSession& client = *fresh;
    closing_ = {};
    askedBack_ = false;
    Install(std::move(fresh));
    client_ = &client;
    return client;
}

void NetworkPlay::Install(std::unique_ptr<net::NetworkSession> session) {
    // The transport reports to the new session from now on; the old one hears nothing more.
    if (session_) {
        session_->SetListener(nullptr);
        retired_.push_back(std::move(session_));
        QTimer::singleShot(0, this, &NetworkPlay::FreeRetiredSessions);
    }
    session_ = std::move(session);
    dealer_ = nullptr;
    client_ = nullptr;
    if (game_) session_->Attach(*game_);
    session_->SetListener(this);
    switch_.Use(*session_);
}

void NetworkPlay::FreeRetiredSessions() {
    // A session whose report or wait is still on the stack (a game waiting
    // for its message, a balloon inside its report) goes once that returns.
    std::erase_if(retired_, [](const auto& old) { return !old->busy(); });
}

QString NetworkPlay::JoinAddress(const QList<QHostAddress>& addresses, quint16 port) {
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

NetworkPlay::Hosting NetworkPlay::Host() {
    BecomeStandAlone();
    Hosting h;
    QString note;
    bool listening = transport_.Listen(plan_.port, plan_.address);
    if (!listening) {
        // An ordinary user may not open ports below 1024, or another program holds it.
        const QString firstError = transport_.error();
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
    mode_.Host();
    emit statusChanged();
    h.port = transport_.port();
    h.note = note;
    h.where = HostingWhere(h, note);
    return h;
}

QString NetworkPlay::HostingWhere(Hosting& h, const QString& note) {
    QList<QHostAddress> all = QNetworkInterface::allAddresses();
    if (plan_.address.isLoopback()) all = {plan_.address};
    QStringList addresses;
    for (const QHostAddress& a : all)
        if ((!a.isLoopback() || plan_.address.isLoopback()) && !a.isLinkLocal())
            addresses << (a.protocol() == QAbstractSocket::IPv6Protocol ? QStringLiteral("[%1]").arg(a.toString()) : a.toString());
    // Loopback is what a test asks for; a person shares an address others can reach.
    QString line = JoinAddress(all, h.port);
    if (line.isEmpty() && plan_.address.isLoopback()) line = QStringLiteral("%1:%2").arg(plan_.address.toString()).arg(h.port);
    h.joinLine = line.isEmpty() ? QString() : tr("Join at %1").arg(line);
    const QString port = h.port == net::kDefaultPort ? QString() : QStringLiteral(":%1").arg(h.port);
    return note + tr("Others join at port %1 of this computer: %2")
                      .arg(h.port)
                      .arg(addresses.isEmpty() ? tr("(no network address found)") : addresses.join(port + QStringLiteral(", ")) + port);
}

void NetworkPlay::Join(const QString& host, int port, const std::string& side, const QString& address) {
    BecomeStandAlone();
    mode_.Join();
    net::ClientSession& session = NewClientSession();
    session.SetJoinRequest(preferences_.current().PlayerName, side);
    if (!address.isEmpty()) preferences_.SetLastDealer(address.toStdString());
    // A seat lost at this very Dealer is asked back instead of joining anew.
    if (HoldsSeatAt(false, host, port)) {
        session.SetReturnRequest(ticket_.token);
        askedBack_ = true;
        game_->SetLocalSeat(ticket_.seat);
    } else {
        NoteWhereJoined(false, address.isEmpty() ? host : address, host, port, false);
    }
    transport_.ConnectTo(host, static_cast<quint16>(port));
    emit statusChanged();
}

void NetworkPlay::BecomeStandAlone() {
    mode_.BecomeAlone();
    transport_.Reset();
    // No lobby, no TLS: the next connection is chosen afresh.
    transport_.SetTls({});
    if (lobby_) {
        // This may run inside the lobby's own report: it goes once that has
        // returned (it hears nothing more: the transport reports to the session).
        QTimer::singleShot(0, [gone = lobby_.release()] { delete gone; });
    }
    NewDealerSession();
    // Seats that players took are the computer's again, under the usual names.
    game_->BecomeOwnDealer();
    emit statusChanged();
}

void NetworkPlay::AfterDialog(bool start, const QString& watchedTable) {
    if (!watchedTable.isEmpty()) return BeginWatching(watchedTable);
    // The address given was where this machine had lost its seat: it is back.
    if (mode_.is(Mode::Returning)) return ResumeGame();
    if (start) BeginGame();
}

void NetworkPlay::BeginGame() {
    if (!mode_.StartGame()) return;
    if (dealer_) dealer_->StopAccepting();
    KeepSeat();
    housekeeping_.start();
    emit gameBegan();
    game_->StartClick();
}

void NetworkPlay::ResumeGame() {
    if (!mode_.is(Mode::Returning)) return;
    const auto table = client_->TakeTable();
    mode_.Resume();
    KeepSeat();
    reconnector_.Stop();
    housekeeping_.start();
    emit gameTakenUp();
    // Nothing to take up when the game here was still running as the table
    // came: it took the table up itself.
    if (table) game_->Resume(*table);
}

void NetworkPlay::BeforeNewGame() {
    // A game of this machine's own ends the watching.
    if (watching()) StopWatching(QString());
    if (!gameOn()) {
        // The table of a network game that ended stays in sight until the
        // next game, which is this machine's own.
        if (mode_.is(Mode::Ended)) BecomeStandAlone();
        return;
    }
    const bool over = client() ? !session_->IsConnected(0) : !game_->HasConnectedClient();
    if (!over) return;
    // A new game after a network game has ended is a game of this machine alone.
    End(QString());
    BecomeStandAlone();
}

void NetworkPlay::End(const QString& why) {
    reconnector_.Stop();
    if (!gameOn()) return;
    if (game_->Running()) {
        // The game here still reads what the Dealer sent before it went (its
        // last cards); it stops by itself once it finds nothing more, and the
        // table is cleaned after that.
        if (client_) client_->Leave();
        if (mode_.EndLater()) endWhy_ = why;
        return;
    }
    CleanUpAfterGame(why);
}

void NetworkPlay::CleanUpAfterGame(const QString& why) {
    housekeeping_.stop();
    const bool wasClient = client();
    mode_.End(wasClient);
    if (wasClient) {
        ForgetSeat();
        // Nothing of the lost game stays live: no turn, no flag, no lit plate.
        client_->Leave();
        game_->ClearTurn();
        transport_.Reset();
        NewDealerSession();
    }
    emit gameEnded(why);
}

void NetworkPlay::GameUnwound() {
    if (!mode_.is(Mode::Ending)) return;
    // From the event loop, not from inside the engine's last frame.
    QTimer::singleShot(0, this, [this, why = endWhy_] {
        if (mode_.is(Mode::Ending)) CleanUpAfterGame(why);
    });
}

void NetworkPlay::Leave() {
    if (watching()) return StopWatching(tr("You stopped watching."));
    if (!gameOn() || !client()) return;
    ForgetSeat();  // leaving on purpose: the seat is not taken back
    End(tr("You left the network game."));
}

void NetworkPlay::TakeOverWaitedSeat() {
    const GameState& s = game_->state();
    if (!s.IsDealer || s.WaitingForSeat == 0) return;
    game_->TakeOverWaitedSeat();
}

void NetworkPlay::TryToReturn() {
    // Each try is a new connection asking for the seat back.
    NewClientSession().SetReturnRequest(ticket_.token);
    askedBack_ = true;
    transport_.ConnectTo(QString::fromStdString(ticket_.host), static_cast<quint16>(ticket_.port));
    emit statusChanged();
}

void NetworkPlay::SendChat(const QString& line) {
    if (line.isEmpty()) return;
    session_->SendChat(line.toStdString());
    // The writer sees the line in the conversation, not in a balloon.
    emit chatLine(game_->state().LocalSeat, line, true);
}

} // namespace zarv::ui
