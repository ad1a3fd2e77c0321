// Network play for the window: the connection (its transport and session),
// hosting and joining, a table server's lobby and a watched table, the way
// back to a lost Dealer and the end of a network game. It drives the game
// the window shows and tells the window what to show by its signals; the
// network dialog talks to it directly.
#pragma once

#include <QHostAddress>
#include <QObject>
#include <QTimer>
#include <memory>
#include <optional>
#include <vector>

#include "engine/game.h"
#include "net/lobby_client.h"
#include "net/network_mode.h"
#include "net/qt/qt_event_pump.h"
#include "net/qt/tcp_transport.h"
#include "net/client_session.h"
#include "net/dealer_session.h"
#include "net/session_switch.h"
#include "settings/return_ticket.h"
#include "ui/reconnector.h"

namespace zarv::settings {
class Preferences;
}

namespace zarv::ui {

class NetworkDialog;

class NetworkPlay : public QObject, public net::SessionListener {
    Q_OBJECT
public:
    NetworkPlay(QtEventPump& pump, settings::Preferences& preferences, QObject* parent = nullptr);
    ~NetworkPlay() override;

    // The network of the game this play drives: whichever session is current.
    Network& gameNetwork() { return switch_; }
    void Attach(Game& game);
    // The session of the network game now (a Dealer's while none is on).
    net::NetworkSession& session() { return *session_; }
    // Sessions replaced while one of their calls was under way, not freed yet.
    size_t retiredSessions() const { return retired_.size(); }
    net::TcpTransport& transport() { return transport_; }
    net::LobbyClient* lobby() { return lobby_.get(); }
    Reconnector& reconnector() { return reconnector_; }
    const Reconnector& reconnector() const { return reconnector_; }
    const net::NetworkMode& mode() const { return mode_; }
    bool gameOn() const { return mode_.gameOn(); }
    bool watching() const { return mode_.is(net::NetworkMode::Kind::Watching); }
    const QString& watchedTable() const { return watchedTable_; }
    // A client of our own Dealer heard nothing from it for too long.
    bool dealerSilent() const { return gameOn() && client_ && client_->dealerSilent(); }
    settings::Preferences& preferences() { return preferences_; }
    // A seat this machine held in a network game when the program last
    // closed or crashed, which the same address may give back.
    std::optional<settings::ReturnTicket> keptSeat() const;
    // The connection now asks for such a seat back, not for a new one.
    bool askingSeatBack() const { return askedBack_; }

    struct Hosting {
        QString error;     // why nobody can join, or empty
        QString where;     // the port and this machine's addresses, for the others
        QString joinLine;  // one line a friend can type: "Join at 192.168.1.20:11001"
        QString note;      // why the port is not the usual one, or empty
        quint16 port = 0;
    };
    // Where hosting listens: every address, port 1001, else 11001 or any free
    // port. Tests listen on loopback on ports they choose.
    struct HostingPlan {
        QHostAddress address{QHostAddress::Any};
        quint16 port = 1001;
        std::vector<quint16> fallbacks{11001, 0};
    };
    void SetHostingPlan(HostingPlan plan) { plan_ = std::move(plan); }
    // The address a friend on another machine types to reach this one: the
    // first address others can use (no loopback, no link-local), with the
    // port when it is not the usual one; "" when there is none.
    static QString JoinAddress(const QList<QHostAddress>& addresses, quint16 port);

    // The network dialog's steps.
    // Listens as the Dealer on port 1001, or on a port above 1024 when 1001 cannot be opened.
    Hosting Host();
    // Joins the Dealer at host:port; address is what the person typed (it is
    // remembered, and a seat lost at that address is asked back).
    void Join(const QString& host, int port, const std::string& side, const QString& address = QString());
    // A table server: connects (over TLS when asked, checking the certificate
    // against the trust store or the pin) and asks for its lobby; address is
    // what the person typed, remembered with the pin.
    void OpenServerLobby(const QString& host, int port, const net::TcpTransport::Tls& tls, const QString& address);
    // The lobby kept a seat: from now on the connection is the session's,
    // which asks the table for the seat as any client asks a Dealer.
    void SitAtServerTable(int seat);
    // The maker, seated, starts its table.
    void StartServerTable(int table);
    // Back to a game of this machine alone: no connections, the local seat at 3.
    void BecomeStandAlone();
    // The open network dialog, to which the session's lobby reports go.
    void SetDialog(NetworkDialog* dialog) { dialog_ = dialog; }
    NetworkDialog* dialog() const { return dialog_; }
    // The dialog has closed: the game starts, the table sent back is taken
    // up, or the watching begins, as the dialog ended.
    void AfterDialog(bool start, const QString& watchedTable = QString());

    // The person's commands during a network game.
    void SendChat(const QString& line);
    // Game > Leave Network Game: a client leaves for good, a watcher stops watching.
    void Leave();
    // Game > Let the Computer Play (the Dealer): the seat being waited for is
    // handed to the computer now.
    void TakeOverWaitedSeat();

    // What the game tells: a new game is to start, the game has unwound.
    void BeforeNewGame();
    void GameUnwound();
    // The network game ends here: a clean table of this machine alone;
    // why is said in the status.
    void End(const QString& why);
    // The window closes: every connection goes.
    void CloseAll() { session_->CloseAll(); }

signals:
    // A network game begins, or a game whose Dealer was lost is taken up
    // again: the chat opens.
    void gameBegan();
    void gameTakenUp();
    // It is over: the chat goes, Network... is usable again; why is said.
    void gameEnded(const QString& why);
    // A line for the conversation, not from a seat.
    void notice(const QString& text);
    // A chat line of a seat (as this machine numbers them); fromHere: the
    // person at this machine wrote it.
    void chatLine(int seat, const QString& text, bool fromHere);
    // Our Dealer sent what cannot be followed: this game cannot go on.
    void dealerUnfollowable();
    // The status has news: reconnecting, a silent Dealer.
    void statusChanged();
    // A server table is being watched, has news, and is no longer watched.
    void watchingBegan();
    void watchNews();
    void watchChat(const QString& name, const QString& text);
    // The watched table announces something (a HAKEM, a ZARV, a result).
    void watchNotice(const QString& text);
    void watchingEnded(const QString& why);

private:
    // net::SessionListener
    void PlayerJoined(int connection, int seat, const std::string& name, const std::string& side) override;
    void Seated(int seat, const std::string& text) override;
    void PlayerAnnounced(const std::string& name, const std::string& side) override;
    void StartReceived() override;
    void ChatReceived(int seat, const std::string& text) override;
    void BadMessage(const std::string& what) override;
    void ConnectFailed(const std::string& why) override;
    void Connected() override;
    void ConnectionClosed(int index) override;
    void PlayerLeft(int connection, int seat, const std::string& name) override;
    void LateJoinRefused(const std::string& name) override;
    void RosterReceived(const std::array<std::string, 5>& names, const std::array<SeatKind, 5>& kinds) override;
    void TableReceived() override;
    void DealerSilent(double seconds) override;
    void DealerHeard() override;
    void TableClosing(const net::NoticeText& why) override;

    bool client() const { return client_ != nullptr; }
    // The seat held now is kept in the settings (when our Dealer gave a
    // token for it), or forgotten: the game it belongs to has ended here.
    void KeepSeat();
    void ForgetSeat();
    // The seat kept is one at this Dealer (or server), and may be asked back.
    bool HoldsSeatAt(bool server, const QString& host, int port) const;
    // Where this connection goes, for the seat it will hold there.
    void NoteWhereJoined(bool server, const QString& address, const QString& host, int port, bool encrypted);
    // A table server whose table holds a seat of ours: the seat is asked
    // back at the door, without the lobby.
    void ReturnToServerTable(const QString& host, int port, const net::TcpTransport::Tls& tls);
    // A fresh session for the next connection; the one before is kept until
    // none of its calls is under way.
    net::DealerSession& NewDealerSession();
    net::ClientSession& NewClientSession();
    void Install(std::unique_ptr<net::NetworkSession> session);
    void FreeRetiredSessions();
    void BeginGame();
    void ResumeGame();
    void TryToReturn();
    void BeginWatching(const QString& tableName);
    void OnWatchNews();
    void StopWatching(const QString& why);
    void CleanUpAfterGame(const QString& why);
    QString HostingWhere(Hosting& hosting, const QString& note);

    settings::Preferences& preferences_;
    QtEventPump& pump_;
    net::TcpTransport transport_;
    net::SessionSwitch switch_;
    std::unique_ptr<net::NetworkSession> session_;
    net::DealerSession* dealer_ = nullptr;  // the session, when it is a Dealer's
    net::ClientSession* client_ = nullptr;  // the session, when it is a client's
    std::vector<std::unique_ptr<net::NetworkSession>> retired_;
    Game* game_ = nullptr;
    net::NetworkMode mode_;
    NetworkDialog* dialog_ = nullptr;
    std::unique_ptr<net::LobbyClient> lobby_;
    QString watchedTable_;
    Reconnector reconnector_;
    // Where this machine joined last; the seat held there, and the token that takes it back.
    settings::ReturnTicket joinedAt_;
    settings::ReturnTicket ticket_;
    bool askedBack_ = false;  // the current session asks for a seat back
    // Why the Dealer or the table server said it closes the table (for the game on now).
    net::NoticeText closing_;
    // Why the game that ends once the engine has unwound ends.
    QString endWhy_;
    QTimer housekeeping_;  // heartbeats and silent peers while a network game is on
    HostingPlan plan_;
};

} // namespace zarv::ui
