// The main window: the card table with the game's menus. It runs the game
// engine and is the engine's view of the world (drawing, balloons, questions,
// sound, the player records). Its network play and chat are in
// network_play.cpp, its saved hands in hand_files.cpp; the table itself is
// TableView, the status words table_status, the last trick LastTrickDialog.
#pragma once

#include <QHostAddress>
#include <QMainWindow>
#include <optional>
#include <QPointer>
#include <array>
#include <vector>
#include <QAudioDevice>
#include <QSoundEffect>
#include <map>
#include <memory>

#include "ai/card_selection.h"
#include "ai/level_player.h"
#include "ui/background_player.h"
#include "engine/game.h"
#include "engine/seeded_random.h"
#include "settings/settings.h"
#include "net/qt/qt_event_pump.h"
#include "net/qt/tcp_transport.h"
#include "net/lobby_client.h"
#include "net/session.h"
#include "ui/balloon.h"
#include "ui/chat_panel.h"
#include "ui/help_viewer.h"
#include "ui/table_status_bar.h"
#include "ui/reconnector.h"
#include "ui/table_view.h"

class QDialog;
class QFrame;
class QLabel;
class QLineEdit;
class QMessageBox;

namespace zarv::settings {
class SettingsStore;
}

namespace zarv::ui {

class NetworkDialog;

class TableWindow : public QMainWindow, public Presentation, public PlayerRecords, public net::SessionListener {
    Q_OBJECT
public:
    explicit TableWindow(settings::SettingsStore& store, QWidget* parent = nullptr);
    ~TableWindow() override;

    Game& game() { return game_; }
    BackgroundPlayer& computerPlayer() { return computer_; }
    const QtEventPump& pump() const { return pump_; }
    TableView& table() { return *view_; }
    const QImage& sprite() const { return sprite_; }
    settings::Settings& currentSettings() { return settings_; }
    settings::SettingsStore& settingsStore() { return store_; }
    QAction* action(MenuItem item) const { return menu_.at(item); }
    QAction* startAction() const { return startAction_; }
    QAction* traceAction() const { return traceAction_; }

    // Turns the settings into colours and timings (and clears trace mode).
    void LoadSettings();
    // Paints the card back again from the settings' design and colours.
    void RedrawBack();
    // The menu commands that open windows of their own.
    void OptionsClick();
    void PlayerNameClick();
    void ScoreClick();
    void AboutClick();
    void HelpClick();
    void NetworkClick();
    // Game > Hint: the card the computer player would play for the person is
    // lifted and its reason said; nothing in the game changes.
    void HintClick();
    // Game > Last Trick: the previous trick's four cards and who won it.
    void LastTrickClick();
    // The window that shows the help page when the system cannot open it.
    HelpViewer& help() { return help_; }
    // What the status bar says: what is expected of the person now, and the
    // trump, the HAKEM, the tricks and the points.
    const TableStatusBar& status() const { return *status_; }
    QString turnText() const;
    QString trumpText() const;
    QString scoreText() const;
    // The person at this machine is to play a card now.
    bool PersonPlaysNow() const;
    // A card of the person's hand the rules do not allow now (it is dimmed).
    bool DimmedCard(int d) const;
    // The last-trick view while it is open.
    QDialog* lastTrickDialog() const { return lastTrickDialog_; }
    static QString SuitSign(Suit suit);
    // What the network dialog's closing starts: the chat box and the game.
    void AfterNetworkDialog(bool start);
    // The open network dialog, to which the session's lobby reports go.
    void SetNetworkDialog(NetworkDialog* dialog) { dialog_ = dialog; }
    // The text of the last balloon asked for (shown or not).
    QString lastBalloon() const { return lastBalloon_; }

    // Network play, as the network dialog drives it.
    net::NetworkSession& session() { return session_; }
    net::TcpTransport& transport() { return transport_; }
    struct Hosting {
        QString error;     // why nobody can join, or empty
        QString where;     // the port and this machine's addresses, for the others
        QString joinLine;  // one line a friend can type: "Join at 192.168.1.20:11001"
        QString note;      // why the port is not the usual one, or empty
        quint16 port = 0;
    };
    // The address a friend on another machine types to reach this one: the
    // first address others can use (no loopback, no link-local), with the
    // port when it is not the usual one; "" when there is none.
    static QString JoinAddress(const QList<QHostAddress>& addresses, quint16 port);
    // Listens as the Dealer on port 1001, or on a port above 1024 when 1001
    // cannot be opened.
    Hosting Host();
    // Where hosting listens: every address, port 1001, else 11001 or any free
    // port. Tests listen on loopback on ports they choose.
    struct HostingPlan {
        QHostAddress address{QHostAddress::Any};
        quint16 port = 1001;
        std::vector<quint16> fallbacks{11001, 0};
    };
    void SetHostingPlan(HostingPlan plan) { plan_ = std::move(plan); }
    // Joins the Dealer at host:port; address is what the person typed (it is
    // remembered, and a seat lost at that address is asked back).
    void Join(const QString& host, int port, const std::string& side, const QString& address = QString());
    // Back to a game of this machine alone: no connections, the local seat at 3.
    void BecomeStandAlone();
    // A table server: connects (over TLS when asked, checking the certificate
    // against the trust store or the pin) and asks for its lobby; address is
    // what the person typed, remembered with the pin.
    void OpenServerLobby(const QString& host, int port, const net::TcpTransport::Tls& tls, const QString& address);
    net::LobbyClient* lobby() { return lobby_.get(); }
    // The lobby kept a seat: from now on the connection is the session's,
    // which asks the table for the seat as any client asks a Dealer.
    void SitAtServerTable(int seat);
    // The maker, seated, starts its table.
    void StartServerTable(int table);
    // The lobby let this machine watch a table: the window shows it (no
    // hidden hand, only backs), "Watching" on the status bar, and Game >
    // Leave Network Game ends it.
    void BeginWatching(const QString& tableName);
    void StopWatching(const QString& why);
    bool watching() const { return watching_; }
    class WatchView* watchView() { return watchView_; }
    // The chat panel along the bottom, shown while a network game is on.
    ChatPanel* chatPanel = nullptr;
    QLineEdit* chatInput = nullptr;
    // A network game is on (started from the dialog, or taken up again).
    bool inNetworkGame() const { return networkGame_; }
    // Coming back to the Dealer after a lost connection.
    Reconnector& reconnector() { return reconnector_; }
    // The network game ends here: a clean table of this machine alone, the
    // chat put away and Game > Network... usable again; why is said in the status.
    void EndNetworkGame(const QString& why);
    // Game > Leave Network Game (a client): the connection is closed for good.
    void LeaveNetworkGame();
    // Game > Let the Computer Play (the Dealer): the seat being waited for is
    // handed to the computer now.
    void TakeOverWaitedSeat();
    QAction* leaveAction() const { return leaveAction_; }
    QAction* takeOverAction() const { return takeOverAction_; }
    NetworkDialog* networkDialog() const { return dialog_; }
    // The chat balloons showing now, by seat.
    Balloon* chatBalloon(int seat) const { return chatBalloons_[static_cast<size_t>(seat)]; }
    static QString HelpPage();
    // Where the program's files lie (the sound, the help page).
    static QString ProgramFolder();
    static QString ProgramFolderFor(const QString& programDir);

    // Presentation
    void FreezeRepaint(bool frozen) override;
    void SetScreenSize(bool makeFull) override;
    // Full screen on or off (Game > Full Screen, the options, Esc).
    void SetFullScreen(bool full);
    QAction* fullScreenAction() const { return fullScreenAction_; }
    bool IsFullScreen() const override { return settings_.FullScreen; }
    void MakeCardPictures() override;
    void RefreshPage() override { view_->RefreshPage(); }
    void DrawTable() override { view_->DrawTable(); }
    void DrawBoard() override {
        view_->DrawBoard();
        ShowTurn();
        UpdateStatus();
    }
    void DrawMasterMark() override { view_->DrawMasterMark(); }
    void DrawTrumpSign(Suit suit, int x, int y) override { view_->DrawTrumpSign(suit, x, y); }
    void RepaintCards(std::span<const int> moved) override {
        ShowTurn();
        view_->RepaintCards(moved);
        if (game_.state().Tracing) UpdateStatus();  // the last move's reason
    }
    void ShowMovement(std::span<const CardMove> moves) override;
    void Announce(const TableEvent& event) override;
    void GameUnwound() override;
    void ShowGiveUp(GiveUpFlag flag) override;
    bool AskNewGame() override;
    void CloseMainWindow() override { close(); }
    void EnableMenu(MenuItem item, bool enabled) override;
    void BeforeNewGame() override;
    void ShowTurn() override;
    void CheckMenu(MenuItem item, bool checked) override;
    void Beep() override;

    // PlayerRecords
    void AddPlayerResult(const std::string& name, bool won) override;
    // Says once, at start, that the settings file was damaged and where its copy is.
    void TellAboutDamagedSettings();

    // What the network session reports.
    void PlayerJoined(int connection, int seat, const std::string& line) override;
    void Seated(int seat, const std::string& text) override;
    void PlayerAnnounced(const std::string& line) override;
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

    // Writes the hand being played to a file; returns why it failed, or "".
    QString SaveHandTo(const QString& path);
    // Deals the hand of a file as Replay does; returns why it failed, or ""
    // (and then the game goes on untouched).
    QString LoadHandFrom(const QString& path);
    int beeps() const { return beeps_; }
    // A game is under way and unfinished: F2 or Exit would throw it away.
    bool GameInProgress() const;
    // Asks before a game in progress is thrown away (unless told not to ask); true: go on.
    bool MayAbandonGame();
    QMessageBox* abandonQuestion() const { return abandonQuestion_; }
    // The person's lifted card where it shows at that table point, or 0.
    int LiftedCardAt(QPointF at) const;
    // A saved hand's name with ".zarv" added when it has no extension.
    static QString WithHandExtension(const QString& path);

    QRect GiveUpRect() const;

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    // A new language: menus, status and the help page follow it.
    void changeEvent(QEvent* event) override;

private:
    void BuildMenus();
    // Gives a menu command its words (and tooltip), and remembers them for another language.
    QAction* Worded(QAction* action, const char* text, const char* tip = nullptr);
    void RetranslateMenus();
    void PlaySound();
    // The window's place and size: as stored, or a first size that fits the screen.
    void PlaceWindow();
    // A press on the table: a trick pile shows the last trick, a lifted card plays, the rest is the game's.
    void TablePressed(QPointF at);
    void ConnectTimers();
    QSize FirstSize() const;

    settings::SettingsStore& store_;
    settings::Settings settings_;
    QtEventPump pump_;
    SeededRandom random_;
    net::TcpTransport transport_;
    net::NetworkSession session_{transport_, pump_, net::NetworkSession::Role::Dealer};
    Game game_;
    BackgroundPlayer computer_;
    QImage sprite_;
    TableView* view_ = nullptr;
    QSoundEffect sound_;
    std::map<MenuItem, QAction*> menu_;
    // Every menu command with the untranslated words it shows.
    struct MenuWords {
        QAction* action;
        const char* text;
        const char* tip;
    };
    std::vector<MenuWords> menuWords_;
    QAction* startAction_ = nullptr;
    QAction* traceAction_ = nullptr;
    int frozen_ = 0;
    int beeps_ = 0;
    void SaveSuggestClick();
    void LoadSuggestClick();
    void ShowChat(bool shown);
    void UpdateStatus();
    // The keys choose among the person's cards, left to right.
    void MoveSelection(int step);
    void PlaySelection();
    std::vector<int> HandInScreenOrder() const;
    void GiveKeysToTable();
    std::unique_ptr<TableStatusBar> status_;
    QString refusal_;  // why the last click or key was refused
    QString hintText_;
    QString shownTurn_;    // what the table waited for when last shown
    QString shownTurnOf_;  // whose turn of which trick the hint and refusal belong to
    HelpViewer help_{this};
    QDialog* lastTrickDialog_ = nullptr;
    void SendChat(const QString& line);
    void ResumeNetworkGame();
    void TryToReturn();
    QString SeatName(int seat) const;
    NetworkDialog* dialog_ = nullptr;
    std::unique_ptr<net::LobbyClient> lobby_;
    class WatchView* watchView_ = nullptr;
    bool watching_ = false;
    QString watchedTable_;
    void WatchNews();
    Reconnector reconnector_;
    // Where this machine joined last, and the token that takes its seat back there.
    struct ReturnTicket {
        QString host;
        int port = 0;
        std::string token;
        int seat = 0;
    } ticket_;
    bool resumePending_ = false;
    // A network game ended while its game was still on the call stack: the
    // table is cleaned, with these words, once the game has unwound.
    std::optional<QString> endWhenUnwound_;
    bool standAloneNext_ = false;  // the next game is this machine's own  // the Dealer sent the table; the game is taken up
    bool dealerSilent_ = false;
    QString endNote_;  // why the last network game ended, until the next game
    QTimer countdown_;  // repaints the status while a move limit runs
    QTimer housekeeping_;  // heartbeats and silent peers while a network game is on
    QAction* leaveAction_ = nullptr;
    QAction* fullScreenAction_ = nullptr;
    QMessageBox* abandonQuestion_ = nullptr;
    QAction* takeOverAction_ = nullptr;
    bool networkGame_ = false;  // a network game was started from the dialog
    QString lastBalloon_;
    HostingPlan plan_;
    std::array<QPointer<Balloon>, 5> chatBalloons_{};
};

} // namespace zarv::ui
