// The main window: the card table with the game's menus. It runs the game
// engine and is the engine's view of the world (drawing, balloons, questions,
// sound, the player records). Its network play and chat are in
// network_play.cpp, its saved hands in hand_files.cpp; the table itself is
// TableView, the status words table_status, the last trick LastTrickDialog.
#pragma once

#include <QMainWindow>
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
#include "settings/preferences.h"
#include "net/qt/qt_event_pump.h"
#include "ui/balloon.h"
#include "ui/chat_panel.h"
#include "ui/help_viewer.h"
#include "ui/table_input.h"
#include "ui/table_menus.h"
#include "ui/status_words.h"
#include "ui/table_status_bar.h"
#include "ui/network_play.h"
#include "ui/review_dialog.h"
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

class TableWindow : public QMainWindow, public Presentation, public PlayerRecords {
    Q_OBJECT
public:
    explicit TableWindow(settings::SettingsStore& store, QWidget* parent = nullptr);
    ~TableWindow() override;

    Game& game() { return game_; }
    BackgroundPlayer& computerPlayer() { return computer_; }
    settings::Preferences& preferences() { return preferences_; }
    const settings::Settings& currentSettings() const { return preferences_.current(); }
    const QtEventPump& pump() const { return pump_; }
    TableView& table() { return *view_; }
    const QImage& sprite() const { return sprite_; }
    // The menus, and the commands the engine enables and checks.
    const TableMenus& menus() const { return *menus_; }
    QAction* action(MenuItem item) const;

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
    // On start: a seat kept from a network game the program left by closing
    // or crashing is offered back.
    void OfferKeptSeat();
    // Game > Hint: the card the computer player would play for the person is
    // lifted and its reason said; nothing in the game changes.
    void HintClick();
    // Game > Review Hand: the last hand played (or, before one ends, a saved
    // hand with its cards played) trick by trick, with the Master's view of
    // the person's cards.
    void ReviewHandClick();
    // The review of the last hand, as the window sets it up (none before a hand ends).
    std::optional<ReviewSetting> LastHandReview() const;
    // The seats' names as a review shows them.
    std::array<QString, 5> SeatNames() const;
    // Game > Last Trick: the previous trick's four cards and who won it.
    void LastTrickClick();
    // The window that shows the help page when the system cannot open it.
    HelpViewer& help() { return help_; }
    // What the status bar says: what is expected of the person now, and the
    // trump, the HAKEM, the tricks and the points.
    const TableStatusBar& status() const { return *status_; }
    const StatusWords& words() const { return words_; }
    // The person at this machine is to play a card now.
    bool PersonPlaysNow() const;
    // A card of the person's hand the rules do not allow now (it is dimmed).
    bool DimmedCard(int d) const;
    // The last-trick view while it is open.
    QDialog* lastTrickDialog() const { return lastTrickDialog_; }
    ReviewDialog* reviewDialog() const { return reviewDialog_; }
    static QString SuitSign(Suit suit);
    // The text of the last balloon asked for (shown or not).
    QString lastBalloon() const { return lastBalloon_; }

    // Network play: hosting, joining, a table server, watching.
    NetworkPlay& network() { return network_; }
    class WatchView* watchView() { return watchView_; }
    // The chat panel along the bottom, shown while a network game is on.
    const ChatPanel& chatPanel() const { return *chatPanel_; }
    // The chat balloons showing now, by seat.
    Balloon* chatBalloon(int seat) const { return chatBalloons_[static_cast<size_t>(seat)]; }

    // Presentation
    void FreezeRepaint(bool frozen) override;
    void SetScreenSize(bool makeFull) override;
    // Full screen on or off (Game > Full Screen, the options, Esc).
    void SetFullScreen(bool full);
    bool IsFullScreen() const override { return fullScreen_; }
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
    void AddPlayerResult(const std::string& name, bool won, bool undone) override;
    bool MayUndo() const;
    // Says once, at start, that the settings file was damaged and where its copy is.
    void TellAboutDamagedSettings();

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
    // The mouse and the keys on the table.
    const TableInput& input() const { return *input_; }
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
    void RunNetworkDialog(const std::optional<settings::ReturnTicket>& seat);
    void BuildMenus();
    void PlaySound();
    // The window's place and size: as stored, or a first size that fits the screen.
    void PlaceWindow();
    void ConnectTimers();

    settings::Preferences preferences_;
    QtEventPump pump_;
    SeededRandom random_;
    NetworkPlay network_{pump_, preferences_};
    Game game_;
    StatusWords words_{game_, network_, pump_};
    BackgroundPlayer computer_;
    QImage sprite_;
    TableView* view_ = nullptr;
    QSoundEffect sound_;
    TableMenus* menus_ = nullptr;
    int frozen_ = 0;
    int beeps_ = 0;
    void SaveSuggestClick();
    void LoadSuggestClick();
    void ShowChat(bool shown);
    void UpdateStatus();
    TableInput* input_ = nullptr;
    void GiveKeysToTable();
    std::unique_ptr<TableStatusBar> status_;
    QString shownTurn_;    // what the table waited for when last shown
    HelpViewer help_{this};
    QDialog* lastTrickDialog_ = nullptr;
    ReviewDialog* reviewDialog_ = nullptr;
    QString SeatName(int seat) const;
    // What network play tells the window.
    void ConnectNetworkPlay();
    void NetworkGameBegan(bool takenUp);
    void NetworkGameEnded(const QString& why);
    void ChatLine(int seat, const QString& text, bool fromHere);
    void WatchingBegan();
    void WatchingEnded(const QString& why);
    ChatPanel* chatPanel_ = nullptr;
    class WatchView* watchView_ = nullptr;
    QTimer countdown_;  // repaints the status while a move limit runs, or while reconnecting
    bool fullScreen_ = false;
    bool maximisedBeforeFullScreen_ = false;
    QMessageBox* abandonQuestion_ = nullptr;
    QString lastBalloon_;
    std::array<QPointer<Balloon>, 5> chatBalloons_{};
    int widthForChat_ = 0;  // what the window grew by for the chat column
};

} // namespace zarv::ui
