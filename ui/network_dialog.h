// The network dialog: host a game as the Dealer, or join one. Two pages in
// one place: the settings, and the waiting page with the status line and the
// list of players, whose button starts the game, cancels or disconnects.
#pragma once

#include <QDialog>
#include <QTimer>
#include <array>
#include <map>
#include <string>
#include <vector>

#include "engine/game_state.h"
#include "settings/return_ticket.h"

class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QStackedLayout;
class QVBoxLayout;

namespace zarv::ui {

class NetworkPlay;

class NetworkDialog : public QDialog {
    Q_OBJECT
public:
    // A client waits this long for the Dealer to answer.
    static constexpr int kConnectSeconds = 15;

    explicit NetworkDialog(NetworkPlay& network, QWidget* parent = nullptr);

    // The controls.
    QFrame* roleFrame = nullptr;
    QRadioButton* roleChoices[3] = {};  // host, join a Dealer, play on a table server
    QFrame* joinFrame = nullptr;
    QLabel* dealerAddressLabel = nullptr;
    QLineEdit* dealerAddress = nullptr;
    QRadioButton* sideChoices[2] = {};
    QFrame* serverFrame = nullptr;
    QLineEdit* serverAddress = nullptr;
    QCheckBox* serverEncrypted = nullptr;
    QLineEdit* serverPin = nullptr;  // the certificate's SHA-256 fingerprint, for a self-made one
    QLineEdit* serverPlayerName = nullptr;
    class ServerLobbyPage* lobbyPage = nullptr;
    QPushButton* continueButton = nullptr;
    QPushButton* cancelButton = nullptr;
    QFrame* waitFrame = nullptr;
    QLabel* statusLabel = nullptr;
    QLabel* joinAddressLabel = nullptr;  // where others find this Dealer: "Join at ..."
    QPushButton* copyAddressButton = nullptr;
    std::vector<QLabel*> playerLabels;
    QPushButton* waitButton = nullptr;

    // "Start" when the game is to begin as the dialog closes.
    bool startGame() const { return start_; }
    // The lobby let this machine watch a table: the window shows it.
    bool watchingTable() const { return watchedTable_ > 0; }
    QString watchedTableName() const { return watchedName_; }
    bool waiting() const;
    QStringList players() const;

    // What the session reports while the dialog is open.
    void PlayerJoined(const QString& line);
    void PlayerJoinedOn(int connection, const QString& line);
    void Seated(int seat, const QString& text);
    void PlayerAnnounced(const QString& line);
    void StartReceived();
    void ConnectFailed(const QString& why);
    void Connected();
    void ConnectionClosed();
    // The Dealer: the player on that connection left the lobby.
    void PlayerLeft(int connection, const QString& name);
    // A client of our own Dealer: the seats as they stand (the Dealer's
    // included), each said as seen from this machine's seat.
    void RosterReceived(const std::array<std::string, 5>& names, const std::array<SeatKind, 5>& kinds, int localSeat);
    // A seat lost at this Dealer was given back: the game is taken up.
    void ResumeReceived();
    // Asks the Dealer or table server of a seat kept across a restart for it,
    // as if the person had typed its address.
    void ReturnTo(const settings::ReturnTicket& seat);
    // The table server's lobby said something (or the connection failed or closed).
    void LobbyNews();

protected:
    void reject() override;

private:
    void Continue();
    // The waiting page's one button does what the moment asks: cancel the
    // wait, go back to try again, start the game, or leave the Dealer.
    enum class WaitJob { Cancel, TryAgain, StartGame, Disconnect, StartTable };
    // Seated: the maker of a server table may start it; others wait.
    WaitJob SeatedJob() const;
    void ContinueToServer();
    void MakeTable();
    void SitAtTable(int table, int seat);
    void WatchTable(int table);
    // The table's password when it is private (asked of the person); false when not given.
    bool PasswordFor(std::string* password);
    void ServerFailed(const QString& why);
    void SetWaitJob(WaitJob job);
    void WaitButtonClicked();
    QFrame* BuildSettingsPage();
    QFrame* BuildWaitPage();
    QFrame* BuildServerFrame();
    void ShowWaitingPage();
    void ShowSettingsPage();
    void AddPlayerLine(const QString& text);
    // The attempt failed: say why and let the person try again.
    void Failed(const QString& why);

    NetworkPlay& network_;
    QStackedLayout* pages_ = nullptr;
    QVBoxLayout* playerLines_ = nullptr;
    QTimer connectTimer_;
    std::map<int, QLabel*> lineOfConnection_;  // the Dealer: each player's line
    bool answered_ = false;  // the Dealer answered the join request
    QString tried_;  // the Dealer's name as typed
    bool start_ = false;
    bool encrypted_ = false;   // the table server's connection speaks TLS
    bool inLobby_ = false;     // the server answered with its lobby
    int madeTable_ = 0;        // the table this connection made on the server
    int serverTable_ = 0;      // the server table whose seat was asked for
    int askedSeat_ = 0;
    bool askedWatch_ = false;
    int watchedTable_ = 0;
    QString watchedName_;
    WaitJob waitJob_ = WaitJob::Cancel;
    class ServerAccount* account_ = nullptr;
};

} // namespace zarv::ui
