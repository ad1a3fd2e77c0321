#include "ui/table_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QDateTime>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <algorithm>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>
#include <QCloseEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QAudioDevice>
#include <QMediaDevices>
#include <QMenuBar>
#include <QMessageBox>
#include <QPainter>
#include <QScreen>
#include <cmath>

#include "engine/table_layout.h"
#include "settings/player_records.h"
#include "settings/settings_store.h"
#include "ui/about_dialog.h"
#include "ui/balloon.h"
#include "ui/options_dialog.h"
#include "ui/player_name_dialog.h"
#include "ui/scores_dialog.h"
#include "ui/card_pictures.h"
#include "ui/last_trick_dialog.h"
#include "ui/colour.h"
#include "ui/notice_words.h"
#include "ui/language.h"
#include "ui/sprite_sheet.h"
#include "ui/watch_view.h"
#include "ui/placement.h"
#include "ui/program_files.h"
#include "ui/status_words.h"
#include "ui/table_input.h"
#include "ui/table_menus.h"
#include "ui/table_status.h"
#include "ui/table_words.h"

namespace zarv::ui {

TableWindow::TableWindow(settings::SettingsStore& store, QWidget* parent)
    : QMainWindow(parent),
      preferences_(store),
      game_(EngineServices{*this, pump_, random_, network_.gameNetwork(), *this}),
      // The Expert decides within its worlds or a tenth of a second, whichever comes first.
      computer_(game_.state(), pump_,
                ai::ExpertOptions{ai::kDefaultWorlds, 100, static_cast<uint64_t>(QDateTime::currentMSecsSinceEpoch())}),
      sprite_(sprite::BuildSpriteSheet()) {
    setWindowTitle(tr("Zarv"));
    game_.SetComputerPlayer(&computer_);
    game_.SetPlayerName(currentSettings().PlayerName);
    network_.Attach(game_);
    // The table, and beside it the conversation of a network game: a column
    // as tall as the table, so the table keeps its size and the talk its room.
    auto* centre = new QWidget(this);
    auto* row = new QHBoxLayout(centre);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    view_ = new TableView(game_.state(), sprite_, centre);
    row->addWidget(view_, 1);
    // A watched table is shown in the table's place.
    watchView_ = new WatchView([this](CardCode card) { return PaintCardFace(sprite_, card); }, centre);
    row->addWidget(watchView_, 1);
    watchView_->hide();
    chatPanel_ = new ChatPanel(centre);
    connect(chatPanel_, &ChatPanel::lineEntered, &network_, &NetworkPlay::SendChat);
    row->addWidget(chatPanel_);
    chatPanel_->hide();
    setCentralWidget(centre);
    // The table takes the keyboard whenever no dialog has it.
    view_->setFocusPolicy(Qt::StrongFocus);
    view_->dimmed = [this](int d) { return DimmedCard(d); };
    status_ = std::make_unique<TableStatusBar>(*statusBar());
    input_ = new TableInput(game_, *view_, this);
    connect(input_, &TableInput::lastTrickAsked, this, &TableWindow::LastTrickClick);
    connect(input_, &TableInput::acted, this, [this] { words_.ForgetNotes(); });
    connect(input_, &TableInput::done, this, &TableWindow::UpdateStatus);
    ConnectTimers();
    ConnectNetworkPlay();
    BuildMenus();
    sound_.setSource(QUrl::fromLocalFile(ProgramFolder() + QStringLiteral("/Pass.wav")));

    // The pictures follow the table's resolution: drawn anew when it changes.
    view_->pixelScaleChanged = [this](double scale) {
        sprite_ = sprite::BuildSpriteSheet(scale);
        if (view_->gameStarted) MakeCardPictures();
        if (game_.state().GiveUp != GiveUpFlag::Hidden) ShowGiveUp(game_.state().GiveUp);
    };
    LoadSettings();
    PlaceWindow();
    UpdateStatus();
}

void TableWindow::ConnectTimers() {
    // The status counts down while a remote player's time runs, or while reconnecting.
    countdown_.setInterval(1000);
    connect(&countdown_, &QTimer::timeout, this, [this] {
        const GameState& s = game_.state();
        if (s.WaitingDeadline <= 0 && !network_.reconnector().active()) countdown_.stop();
        UpdateStatus();
    });
}

void TableWindow::PlaceWindow() {
    // Where the window was last; the first time, most of the screen's free area.
    const QByteArray stored = QByteArray::fromBase64(QByteArray::fromStdString(currentSettings().WindowPlace));
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    const int bars = menuBar()->sizeHint().height() + statusBar()->sizeHint().height();
    if (stored.isEmpty() || !restoreGeometry(stored)) resize(FirstWindowSize(screen, bars));
    if (currentSettings().FullScreen) SetFullScreen(true);
}

TableWindow::~TableWindow() { game_.Stop(); }

void TableWindow::BuildMenus() {
    TableMenus::Commands c;
    c.start = [this] {
        if (MayAbandonGame()) game_.StartClick();
    };
    c.playerName = [this] { PlayerNameClick(); };
    c.score = [this] { ScoreClick(); };
    c.options = [this] { OptionsClick(); };
    c.network = [this] { NetworkClick(); };
    c.leave = [this] { network_.Leave(); };
    c.takeOver = [this] { network_.TakeOverWaitedSeat(); };
    c.fullScreen = [this] { SetFullScreen(!fullScreen_); };
    c.hint = [this] { HintClick(); };
    c.lastTrick = [this] { LastTrickClick(); };
    c.review = [this] { ReviewHandClick(); };
    c.undo = [this] {
        if (MayUndo()) game_.UndoClick();
    };
    c.exit = [this] {
        if (MayAbandonGame()) close();
    };
    c.help = [this] { HelpClick(); };
    c.about = [this] { AboutClick(); };
    c.trace = [this] {
        // The check mark follows the engine once the command is carried out.
        menus_->trace()->setChecked(game_.state().Tracing);
        game_.PlayModClick();
    };
    c.replay = [this] { game_.ReplayClick(); };
    c.loadSuggest = [this] { LoadSuggestClick(); };
    c.saveSuggest = [this] { SaveSuggestClick(); };
    menus_ = new TableMenus(*menuBar(), c, this);
    connect(menus_, &TableMenus::closed, this, &TableWindow::GiveKeysToTable);
}

void TableWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::LanguageChange) return;
    setWindowTitle(tr("Zarv"));
    menus_->Retranslate();
    status_->Retranslate();
    // The help page is the language's own: the next F1 opens it anew.
    help_.Forget();
    // The flag of surrender carries its word.
    if (game_.state().GiveUp != GiveUpFlag::Hidden) ShowGiveUp(game_.state().GiveUp);
    UpdateStatus();
    view_->RefreshPage();
    view_->update();
    watchView_->update();
}

void TableWindow::LoadSettings() {
    game_.SetSpeed(currentSettings().Speed);
    game_.LeaveTraceMode();
    // The stored numbers are the levels' own.
    computer_.SetLevel(ai::LevelFromNumber(static_cast<long>(currentSettings().Level)));
    game_.SetMoveLimit(currentSettings().MoveLimit);
    TableColours c;
    c.background = ToQColor(currentSettings().FeltColour);
    c.edge = ToQColor(EdgeColour(currentSettings().FeltColour));
    c.strongA = ToQColor(currentSettings().SeatColourA);
    c.lightA = ToQColor(currentSettings().SeatBorderA);
    c.strongB = ToQColor(currentSettings().SeatColourB);
    c.lightB = ToQColor(currentSettings().SeatBorderB);
    view_->SetColours(c);
}

void TableWindow::RedrawBack() {
    view_->SetBackPicture(DrawDeck(sprite_, currentSettings().Deck, currentSettings().DeckColour1, currentSettings().DeckColour2, currentSettings().DeckColour3));
}

void TableWindow::OptionsClick() {
    game_.Pause(0.6);
    if (game_.state().Animating) return;
    OptionsDialog dialog(*this, this);
    dialog.exec();
    view_->RefreshPage();
    GiveKeysToTable();
}

void TableWindow::PlayerNameClick() {
    PlayerNameDialog dialog(preferences_, this);
    // Over the table, also on a first start when the window has only just appeared.
    CentreOver(dialog, *this);
    if (dialog.exec() == QDialog::Accepted) game_.SetPlayerName(currentSettings().PlayerName);
    GiveKeysToTable();
}

void TableWindow::ScoreClick() {
    ScoresDialog dialog(preferences_.store(), this);
    dialog.exec();
    GiveKeysToTable();
}

void TableWindow::AboutClick() {
    AboutDialog dialog(this, preferences_.store().fileName());
    dialog.exec();
    GiveKeysToTable();
}

void TableWindow::HelpClick() { help_.Show(); }

void TableWindow::FreezeRepaint(bool frozen) {
    frozen_ = std::max(0, frozen_ + (frozen ? 1 : -1));
    view_->setUpdatesEnabled(frozen_ == 0);
}

void TableWindow::SetScreenSize(bool) {
    // The table keeps its design layout at every window size (the view
    // scales it), so the game never needs it laid out anew.
}

void TableWindow::SetFullScreen(bool full) {
    if (full == fullScreen_) return;
    fullScreen_ = full;
    preferences_.SetFullScreen(full);
    // The same table, scaled to the whole screen; the status bar stays. Back
    // from it, the window is as it was (maximised stays maximised).
    if (full) {
        maximisedBeforeFullScreen_ = isMaximized();
        showFullScreen();
    } else if (maximisedBeforeFullScreen_) {
        showMaximized();
    } else {
        showNormal();
    }
    menus_->fullScreen()->setChecked(full);
}

void TableWindow::MakeCardPictures() {
    const GameState& s = game_.state();
    std::vector<QImage> pictures(53);
    pictures[0] = DrawDeck(sprite_, currentSettings().Deck, currentSettings().DeckColour1, currentSettings().DeckColour2, currentSettings().DeckColour3);
    for (int k = 1; k <= 52; ++k) pictures[static_cast<size_t>(s.Deck[k].Face)] = PaintCardFace(sprite_, s.Deck[k].Card);
    view_->SetCardPictures(std::move(pictures));
    view_->gameStarted = true;
}

void TableWindow::PlaySound() {
    if (!currentSettings().SoundFX || sound_.status() != QSoundEffect::Ready) return;
    // Without an audio device nothing would ever be heard or end: skip it.
    if (QMediaDevices::audioOutputs().isEmpty()) return;
    sound_.play();
    // Wait while it plays, but never longer than the sound itself lasts.
    const double deadline = pump_.Now() + 0.12;
    while (sound_.isPlaying() && pump_.Now() < deadline && !game_.state().StopRequested) pump_.WaitForEvents(deadline);
}

void TableWindow::ShowMovement(std::span<const CardMove> moves) {
    ShowTurn();  // a movement is a wait too: the table says what it waits for
    PlaySound();
    view_->AnimateMoves(moves, game_.state().StepCount, pump_, [this] { return game_.state().StopRequested; });
}

void TableWindow::Announce(const TableEvent& event) {
    const int seat = event.speaker();
    ShowTurn();
    lastBalloon_ = TableWords(event);
    // In a network game the table's announcements are part of the conversation.
    if (network_.gameOn() && seat == kFromTheTable) chatPanel_->AddNotice(lastBalloon_);
    if (!currentSettings().Talk) return;
    Balloon::Say(*this, seat, lastBalloon_, pump_, [this] { return game_.state().StopRequested; });
    GiveKeysToTable();
}

QRect TableWindow::GiveUpRect() const {
    const layout::Box box = layout::GiveUpBox(game_.state());
    return QRect(static_cast<int>(std::lround(box.left)), static_cast<int>(std::lround(box.top)), layout::kGiveUpWidth,
                 layout::kGiveUpHeight);
}

void TableWindow::ShowGiveUp(GiveUpFlag flag) { view_->PaintGiveUp(flag != GiveUpFlag::Hidden, GiveUpRect(), GiveUpPicture(view_->pixelScale())); }

bool TableWindow::AskNewGame() {
    ShowTurn();
    // Who won and by how much, and buttons that say what each answer does.
    QMessageBox box(QMessageBox::Question, tr("Game Over"),
                    GameResultText(game_.state()) + QStringLiteral("\n\n") + tr("Start a new game?"),
                    QMessageBox::Yes | QMessageBox::No, this);
    box.button(QMessageBox::Yes)->setText(tr("&New Game"));
    box.button(QMessageBox::No)->setText(tr("E&xit Zarv"));
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

QAction* TableWindow::action(MenuItem item) const { return menus_->action(item); }

void TableWindow::EnableMenu(MenuItem item, bool enabled) { menus_->Enable(item, enabled); }

bool TableWindow::GameInProgress() const {
    const GameState& s = game_.state();
    return s.GameStarted && !s.StopRequested && s.PointsA < 7 && s.PointsB < 7 && !s.Tracing && game_.Running();
}

bool TableWindow::MayAbandonGame() {
    if (!GameInProgress() || !currentSettings().AskBeforeAbandoning) return true;
    QMessageBox box(QMessageBox::Question, tr("Zarv"), tr("A game is in progress. Leave it unfinished?"),
                    QMessageBox::Yes | QMessageBox::No, this);
    box.setDefaultButton(QMessageBox::No);
    auto* dontAsk = new QCheckBox(tr("Don't ask again"), &box);
    box.setCheckBox(dontAsk);
    abandonQuestion_ = &box;
    const bool yes = box.exec() == QMessageBox::Yes;
    abandonQuestion_ = nullptr;
    if (dontAsk->isChecked()) preferences_.SetAskBeforeAbandoning(false);
    GiveKeysToTable();
    return yes;
}

void TableWindow::CheckMenu(MenuItem item, bool checked) { menus_->Check(item, checked); }

void TableWindow::Beep() {
    ++beeps_;
    QApplication::beep();
    // Say why, not only beep: the card is not the person's, or the suit led must be followed.
    const GameState& s = game_.state();
    const Suit follow = SuitToFollow(s, s.LocalSeat);
    words_.Refused(follow != kNoSuit ? tr("You must follow %1").arg(SuitSign(follow)) : tr("That card is not in your hand"));
    UpdateStatus();
}


void TableWindow::AddPlayerResult(const std::string& name, bool won, bool undone) {
    if (settings::AddPlayerResult(preferences_.store(), name, won, game_.RandomFraction(), undone)) return;
    // Never lost without a word.
    QMessageBox::warning(this, tr("Scores"),
                         tr("This game's result could not be recorded for %1 in %2.")
                             .arg(QString::fromStdString(name), preferences_.store().fileName()));
}

void TableWindow::TellAboutDamagedSettings() {
    if (preferences_.store().damagedCopy().isEmpty()) return;
    QMessageBox::information(this, tr("Settings"),
                             tr("The settings file was damaged; a copy was kept as %1. Everything that could be "
                                "read from it is kept.")
                                 .arg(preferences_.store().damagedCopy()));
}

QString TableWindow::SuitSign(Suit suit) { return ui::SuitSign(suit); }

void TableWindow::GiveKeysToTable() {
    QTimer::singleShot(0, this, [this] {
        if (QApplication::activeModalWidget()) return;  // a dialog keeps them
        activateWindow();
        view_->setFocus(Qt::OtherFocusReason);
    });
}

bool TableWindow::PersonPlaysNow() const {
    const GameState& s = game_.state();
    const Game::TableWait wait = game_.Awaiting();
    return wait.kind == Game::TableWait::Kind::Card && wait.seat == s.LocalSeat &&
           s.Seats[s.LocalSeat].Kind == SeatKind::Human && !s.Tracing;
}

bool TableWindow::DimmedCard(int d) const {
    const GameState& s = game_.state();
    if (!currentSettings().DimCards || d < 1 || d > 52 || s.Deck[d].Owner != s.LocalSeat) return false;
    // Only while the person plays a card (not while naming the trump).
    return PersonPlaysNow() && !game_.IsLegalCard(s.LocalSeat, s.Deck[d].Card);
}

void TableWindow::UpdateStatus() {
    if (status_) status_->Show(words_.turnText(), words_.trumpText(), words_.scoreText());
}

// Undo belongs to a game against the computer alone, never to a network game.
bool TableWindow::MayUndo() const { return network_.mode().is(net::NetworkMode::Kind::Alone) && game_.CanUndo(); }

void TableWindow::ShowTurn() {
    const GameState& s = game_.state();
    const Game::TableWait wait = game_.Awaiting();
    // Called at every step and wait of the game: acts only when what the
    // table waits for changes.
    // A client that lost its Dealer waits for the table, not for a seat.
    const bool tableLost = network_.mode().is(net::NetworkMode::Kind::Reconnecting);
    const QString key = WaitKey(game_) + (tableLost ? QStringLiteral(" lost") : QString());
    // The Dealer may hand a silent remote seat to the computer at once.
    menus_->takeOver()->setEnabled(s.IsDealer && s.WaitingForSeat > 0 && s.WaitingForSeat != s.LocalSeat);
    menus_->undo()->setEnabled(MayUndo());
    if (s.WaitingDeadline > 0 && !countdown_.isActive()) countdown_.start();
    if (key == shownTurn_) return;
    shownTurn_ = key;
    // A hint or a refusal belongs to one turn: it goes when the game moves
    // on, not while the person's turn is handed back after a refused card.
    words_.FollowTurn();
    const bool lit = !tableLost && (wait.kind == Game::TableWait::Kind::Card || wait.kind == Game::TableWait::Kind::Trump);
    // One picture of the table for the change: the lit plate, the lifted and the dimmed cards.
    view_->setUpdatesEnabled(false);
    view_->SetRaisedCard(0);
    view_->SetTurnSeat(lit ? wait.seat : 0);
    view_->setUpdatesEnabled(frozen_ == 0);
    view_->RefreshPage();
    UpdateStatus();
}

void TableWindow::HintClick() {
    const GameState& s = game_.state();
    if (!s.HumanMayPlay || s.Turn != s.LocalSeat) return;
    const CardChoice hint = game_.Hint(s.LocalSeat);
    const int d = hint.card.empty() ? 0 : s.FindCard(hint.card);
    // The Expert's hint takes a moment, during which the card may have been
    // played or the game stopped: only a card still to play is lifted.
    if (d == 0 || !s.HumanMayPlay || s.Turn != s.LocalSeat || !game_.IsLegalCard(s.LocalSeat, hint.card)) return;
    view_->SetRaisedCard(d);
    words_.Hinted(tr("Hint: %1 (%2) \u2014 press Enter to play it").arg(CardName(hint.card), ReasonInWords(hint.reason)));
    UpdateStatus();
}

void TableWindow::LastTrickClick() {
    if (network_.watching()) return;  // the table behind the watched one is not in sight
    const auto trick = game_.LastTrick();
    if (!trick) return;
    LastTrickDialog dialog(game_.state(), *trick, sprite_, this);
    lastTrickDialog_ = &dialog;
    dialog.exec();
    lastTrickDialog_ = nullptr;
    GiveKeysToTable();
}

void TableWindow::closeEvent(QCloseEvent* event) {
    // Closed by the window's frame in the middle of a game: asked first.
    if (event->spontaneous() && !MayAbandonGame()) {
        event->ignore();
        return;
    }
    preferences_.SetWindowPlace(saveGeometry().toBase64().toStdString());
    // Every wait of the game ends; the call stack unwinds and the program ends.
    game_.Stop();
    network_.CloseAll();
    event->accept();
}

void TableWindow::keyPressEvent(QKeyEvent* event) {
    if (input_->KeyPressed(*event)) return;
    if (event->key() == Qt::Key_Escape && fullScreen_) return SetFullScreen(false);
    QMainWindow::keyPressEvent(event);
}

void TableWindow::keyReleaseEvent(QKeyEvent* event) {
    input_->KeyReleased(*event);
    QMainWindow::keyReleaseEvent(event);
}

} // namespace zarv::ui
