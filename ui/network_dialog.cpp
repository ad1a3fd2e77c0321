#include "ui/network_dialog.h"

#include "ui/notice_words.h"
#include "ui/language.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFormLayout>
#include <QInputDialog>
#include <QClipboard>
#include <QGuiApplication>
#include <algorithm>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedLayout>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "net/qt/tls_pin.h"
#include "net/wire.h"
#include "settings/settings.h"
#include "ui/make_table_dialog.h"
#include "ui/server_account.h"
#include "ui/server_lobby_page.h"
#include "settings/preferences.h"
#include "ui/network_play.h"
#include "ui/placement.h"

namespace zarv::ui {

NetworkDialog::NetworkDialog(NetworkPlay& network, QWidget* parent) : QDialog(parent), network_(network) {
    setWindowTitle(tr("Network"));
    auto* outer = new QVBoxLayout(this);
    pages_ = new QStackedLayout;
    outer->addLayout(pages_);

    pages_->addWidget(BuildSettingsPage());
    pages_->addWidget(BuildWaitPage());
    lobbyPage = new ServerLobbyPage(this);
    pages_->addWidget(lobbyPage);
    connect(lobbyPage, &ServerLobbyPage::makeClicked, this, &NetworkDialog::MakeTable);
    connect(lobbyPage, &ServerLobbyPage::sitClicked, this, &NetworkDialog::SitAtTable);
    connect(lobbyPage, &ServerLobbyPage::watchClicked, this, &NetworkDialog::WatchTable);
    connect(lobbyPage, &ServerLobbyPage::leaveClicked, this, &NetworkDialog::ShowSettingsPage);
    account_ = new ServerAccount(*lobbyPage, network_.preferences(), this);
    connect(lobbyPage, &ServerLobbyPage::signInClicked, this, [this](bool registering) {
        if (network_.lobby()) account_->Ask(*network_.lobby(), registering);
    });
    connect(lobbyPage, &ServerLobbyPage::signOutClicked, this, [this] {
        if (network_.lobby()) account_->SignOut(*network_.lobby());
    });
    setMinimumWidth(420);

    connect(continueButton, &QPushButton::clicked, this, &NetworkDialog::Continue);
    connect(cancelButton, &QPushButton::clicked, this, &NetworkDialog::reject);
    connect(waitButton, &QPushButton::clicked, this, &NetworkDialog::WaitButtonClicked);
    connectTimer_.setSingleShot(true);
    // No answer in time is an answer too: to the connection request, and
    // then to the request for a seat.
    connect(&connectTimer_, &QTimer::timeout, this, [this] {
        if (answered_) return;
        if (pages_->currentWidget() == lobbyPage && network_.lobby() && network_.lobby()->connected)
            return ServerFailed(tr("%1 answered, but it is no table server (no lobby after %2 seconds).")
                                    .arg(tried_)
                                    .arg(kConnectSeconds));
        if (pages_->currentWidget() == lobbyPage && encrypted_)
            return ServerFailed(tr("No answer from %1 after %2 seconds. If it is a server without TLS, turn off "
                                   "“Encrypted connection”.")
                                    .arg(tried_)
                                    .arg(kConnectSeconds));
        if (pages_->currentWidget() == lobbyPage) ServerFailed(tr("No answer from %1 after %2 seconds.").arg(tried_).arg(kConnectSeconds));
        else Failed(tr("No answer from %1 after %2 seconds.").arg(tried_).arg(kConnectSeconds));
    });
}

QFrame* NetworkDialog::BuildSettingsPage() {
    // The settings page.
    roleFrame = new QFrame(this);
    auto* settings = new QVBoxLayout(roleFrame);
    roleChoices[0] = new QRadioButton(tr("Play as Dealer (Others connect to my computer)"), roleFrame);
    roleChoices[1] = new QRadioButton(tr("Join another player's game"), roleFrame);
    roleChoices[2] = new QRadioButton(tr("Play on a &table server"), roleFrame);
    roleChoices[0]->setChecked(true);
    settings->addWidget(roleChoices[0]);
    settings->addWidget(roleChoices[1]);
    joinFrame = new QFrame(roleFrame);
    joinFrame->setFrameShape(QFrame::StyledPanel);
    auto* join = new QVBoxLayout(joinFrame);
    dealerAddressLabel = new QLabel(tr("The Dealer's computer name or address:"), joinFrame);
    dealerAddress = new QLineEdit(joinFrame);
    dealerAddress->setPlaceholderText(tr("name, address, name:port or [IPv6]:port"));
    dealerAddress->setText(QString::fromStdString(network_.preferences().current().LastDealer));
    sideChoices[0] = new QRadioButton(tr("The Dealer's partner"), joinFrame);
    sideChoices[1] = new QRadioButton(tr("Against the Dealer"), joinFrame);
    sideChoices[0]->setChecked(true);
    join->addWidget(dealerAddressLabel);
    join->addWidget(dealerAddress);
    join->addWidget(sideChoices[0]);
    join->addWidget(sideChoices[1]);
    settings->addWidget(joinFrame);
    settings->addWidget(roleChoices[2]);
    settings->addWidget(BuildServerFrame());
    auto* group1 = new QButtonGroup(this);
    group1->addButton(roleChoices[0], 0);
    group1->addButton(roleChoices[1], 1);
    group1->addButton(roleChoices[2], 2);
    auto* group2 = new QButtonGroup(this);
    group2->addButton(sideChoices[0], 0);
    group2->addButton(sideChoices[1], 1);
    // The way it was used last comes back checked.
    const int lastRole = std::clamp(network_.preferences().current().NetworkRole, 0, 2);
    roleChoices[lastRole]->setChecked(true);
    joinFrame->setEnabled(lastRole == 1);
    serverFrame->setEnabled(lastRole == 2);
    connect(group1, &QButtonGroup::idClicked, this, [this](int index) {
        joinFrame->setEnabled(roleChoices[1]->isChecked());
        serverFrame->setEnabled(roleChoices[2]->isChecked());
        if (index == 1) dealerAddress->setFocus();
        if (index == 2) serverAddress->setFocus();
    });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    continueButton = new QPushButton(tr("Continue..."), roleFrame);
    cancelButton = new QPushButton(tr("Cancel"), roleFrame);
    continueButton->setDefault(true);
    buttons->addWidget(continueButton);
    buttons->addWidget(cancelButton);
    settings->addLayout(buttons);
    return roleFrame;

}

QFrame* NetworkDialog::BuildWaitPage() {
    // The waiting page.
    waitFrame = new QFrame(this);
    auto* wait = new QVBoxLayout(waitFrame);
    statusLabel = new QLabel(tr("Waiting for others to join..."), waitFrame);
    QFont arial(QStringLiteral("Arial"));
    arial.setPointSize(10);
    statusLabel->setFont(arial);
    statusLabel->setWordWrap(true);
    joinAddressLabel = new QLabel(waitFrame);
    joinAddressLabel->setWordWrap(true);
    joinAddressLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    joinAddressLabel->setTextFormat(Qt::PlainText);
    QFont large = joinAddressLabel->font();
    large.setBold(true);
    joinAddressLabel->setFont(large);
    copyAddressButton = new QPushButton(tr("&Copy"), waitFrame);
    copyAddressButton->setToolTip(tr("Copy the address, to send it to a friend"));
    auto* addressRow = new QHBoxLayout;
    addressRow->addWidget(joinAddressLabel, 1);
    addressRow->addWidget(copyAddressButton);
    wait->addWidget(statusLabel);
    wait->addLayout(addressRow);
    joinAddressLabel->hide();
    copyAddressButton->hide();
    connect(copyAddressButton, &QPushButton::clicked, this, [this] {
        // The address is the line's last word ("Join at" is not part of it).
        QGuiApplication::clipboard()->setText(joinAddressLabel->text().section(QLatin1Char(' '), -1));
    });
    playerLines_ = new QVBoxLayout;
    wait->addLayout(playerLines_);
    AddPlayerLine(QString());
    playerLabels[0]->hide();
    wait->addStretch();
    waitButton = new QPushButton(tr("&Cancel"), waitFrame);
    wait->addWidget(waitButton, 0, Qt::AlignRight);
    return waitFrame;
}

QFrame* NetworkDialog::BuildServerFrame() {
    serverFrame = new QFrame(roleFrame);
    serverFrame->setFrameShape(QFrame::StyledPanel);
    auto* form = new QFormLayout(serverFrame);
    const std::string last = network_.preferences().current().LastServer;
    serverAddress = new QLineEdit(QString::fromStdString(last), serverFrame);
    serverAddress->setPlaceholderText(tr("name, address, name:port or [IPv6]:port"));
    serverEncrypted = new QCheckBox(tr("&Encrypted connection (TLS)"), serverFrame);
    serverEncrypted->setChecked(true);
    serverEncrypted->setToolTip(tr("Needed for private tables. The server's certificate is checked; "
                                   "a failed check stops the connection."));
    serverPin = new QLineEdit(QString::fromStdString(network_.preferences().ServerPin(last)), serverFrame);
    serverPin->setPlaceholderText(tr("only for a self-made certificate: AB:CD:..."));
    serverPin->setToolTip(tr("The SHA-256 fingerprint of the server's certificate, as its admin publishes it. "
                             "Remembered for this server."));
    serverPlayerName = new QLineEdit(QString::fromStdString(network_.preferences().current().PlayerName), serverFrame);
    serverPlayerName->setMaxLength(static_cast<int>(net::kMaxPlayerName));
    form->addRow(tr("Ser&ver:"), serverAddress);
    form->addRow(QString(), serverEncrypted);
    form->addRow(tr("Certificate &fingerprint:"), serverPin);
    form->addRow(tr("Your &name:"), serverPlayerName);
    // Each server has its own pin: another address brings its own back.
    connect(serverAddress, &QLineEdit::editingFinished, this, [this] {
        serverPin->setText(QString::fromStdString(
            network_.preferences().ServerPin(serverAddress->text().trimmed().toStdString())));
    });
    return serverFrame;
}

bool NetworkDialog::waiting() const { return pages_->currentWidget() == waitFrame; }

QStringList NetworkDialog::players() const {
    QStringList lines;
    for (QLabel* l : playerLabels)
        if (!l->isHidden()) lines << l->text();
    return lines;
}

void NetworkDialog::AddPlayerLine(const QString& text) {
    auto* line = new QLabel(waitFrame);
    line->setTextFormat(Qt::PlainText);  // a name is shown as text, never interpreted
    line->setText(text);
    playerLines_->addWidget(line);
    playerLabels.push_back(line);
}

void NetworkDialog::ShowWaitingPage() {
    pages_->setCurrentWidget(waitFrame);
    roleFrame->setEnabled(false);   // the settings are locked
    cancelButton->setEnabled(false);
    waitButton->setDefault(true);
    waitButton->setFocus();
}

void NetworkDialog::ShowSettingsPage() {
    connectTimer_.stop();
    network_.BecomeStandAlone();
    for (size_t i = 1; i < playerLabels.size(); ++i) playerLabels[i]->deleteLater();
    playerLabels.resize(1);
    playerLabels[0]->hide();
    lineOfConnection_.clear();
    inLobby_ = false;
    madeTable_ = serverTable_ = askedSeat_ = watchedTable_ = 0;
    askedWatch_ = false;
    joinAddressLabel->clear();
    joinAddressLabel->hide();
    copyAddressButton->hide();
    statusLabel->setText(tr("Waiting for others to join..."));
    SetWaitJob(WaitJob::Cancel);
    roleFrame->setEnabled(true);
    cancelButton->setEnabled(true);
    pages_->setCurrentWidget(roleFrame);
    continueButton->setDefault(true);
}

void NetworkDialog::Continue() {
    for (int role = 0; role < 3; ++role)
        if (roleChoices[role]->isChecked() && network_.preferences().current().NetworkRole != role)
            network_.preferences().SetNetworkRole(role);
    if (roleChoices[2]->isChecked()) return ContinueToServer();
    if (roleChoices[0]->isChecked()) {
        ShowWaitingPage();
        const NetworkPlay::Hosting hosting = network_.Host();
        if (!hosting.error.isEmpty()) {
            Failed(hosting.error);
            return;
        }
        // The line to share comes last (Copy takes its last word).
        joinAddressLabel->setText(hosting.joinLine.isEmpty() ? hosting.where : hosting.note + hosting.joinLine);
        joinAddressLabel->setToolTip(hosting.where);
        joinAddressLabel->show();
        copyAddressButton->setVisible(!hosting.joinLine.isEmpty());
        return;
    }
    tried_ = dealerAddress->text().trimmed();
    if (tried_.isEmpty()) {
        QMessageBox::information(this, windowTitle(), tr("Please enter the Dealer's computer name."));
        return;
    }
    net::NoticeText why;
    const auto where = net::ParseHostPort(LatinDigits(tried_).toStdString(), &why);
    if (!where) {
        QMessageBox::information(this, windowTitle(), NoticeInWords(why));
        return;
    }
    statusLabel->setText(tr("Connecting to the Dealer..."));
    ShowWaitingPage();
    answered_ = false;
    connectTimer_.start(kConnectSeconds * 1000);
    network_.Join(QString::fromStdString(where->host), where->port, sideChoices[0]->isChecked() ? "Partner" : "Against", tried_);
    if (network_.askingSeatBack()) statusLabel->setText(tr("Asking the Dealer for your seat back..."));
}

void NetworkDialog::ReturnTo(const settings::ReturnTicket& seat) {
    const QString address = QString::fromStdString(seat.address);
    if (seat.server) {
        roleChoices[2]->click();
        serverAddress->setText(address);
        serverEncrypted->setChecked(seat.encrypted);
        serverPin->setText(QString::fromStdString(network_.preferences().ServerPin(seat.address)));
    } else {
        roleChoices[1]->click();
        dealerAddress->setText(address);
    }
    Continue();
}

void NetworkDialog::Failed(const QString& why) {
    answered_ = true;
    connectTimer_.stop();
    network_.BecomeStandAlone();
    statusLabel->setText(why);
    SetWaitJob(WaitJob::TryAgain);
}

void NetworkDialog::SetWaitJob(WaitJob job) {
    waitJob_ = job;
    switch (job) {
    case WaitJob::Cancel: waitButton->setText(tr("&Cancel")); break;
    case WaitJob::TryAgain: waitButton->setText(tr("&Try Again")); break;
    case WaitJob::StartGame: waitButton->setText(tr("Start Game")); break;
    case WaitJob::Disconnect: waitButton->setText(tr("Disconnect")); break;
    case WaitJob::StartTable: waitButton->setText(tr("&Start the Table")); break;
    }
}

void NetworkDialog::WaitButtonClicked() {
    switch (waitJob_) {
    case WaitJob::TryAgain: ShowSettingsPage(); return;
    case WaitJob::StartGame:
        start_ = true;
        accept();
        return;
    case WaitJob::StartTable:
        statusLabel->setText(tr("Starting the table; the computer plays the empty seats..."));
        network_.StartServerTable(serverTable_);
        return;
    case WaitJob::Cancel:
    case WaitJob::Disconnect: reject(); return;  // no game
    }
}

void NetworkDialog::reject() {
    connectTimer_.stop();
    start_ = false;
    network_.BecomeStandAlone();
    QDialog::reject();
}

void NetworkDialog::PlayerJoined(const QString& line) {
    AddPlayerLine(line);  // below the ones before (line 0 stays hidden on the Dealer)
    SetWaitJob(WaitJob::StartGame);
}

void NetworkDialog::PlayerJoinedOn(int connection, const QString& line) {
    PlayerJoined(line);
    lineOfConnection_[connection] = playerLabels.back();
}

void NetworkDialog::PlayerLeft(int connection, const QString& name) {
    const auto it = lineOfConnection_.find(connection);
    if (it != lineOfConnection_.end()) {
        playerLabels.erase(std::find(playerLabels.begin(), playerLabels.end(), it->second));
        it->second->deleteLater();
        lineOfConnection_.erase(it);
    }
    statusLabel->setText(tr("%1 left; the seat is free again.").arg(name.trimmed()));
    if (lineOfConnection_.empty()) SetWaitJob(WaitJob::Cancel);
}

void NetworkDialog::RosterReceived(const std::array<std::string, 5>& names, const std::array<SeatKind, 5>& kinds,
                                   int localSeat) {
    // Line 0 is this machine's own seat; the others are rebuilt from the roster.
    for (size_t i = 1; i < playerLabels.size(); ++i) playerLabels[i]->deleteLater();
    playerLabels.resize(1);
    for (int seat = 1; seat <= 4; ++seat) {
        if (seat == localSeat) continue;
        const QString name = QString::fromStdString(names[static_cast<size_t>(seat)]).trimmed();
        const char* side = net::SideWord(seat, localSeat);
        if (seat == 3)
            AddPlayerLine(tr("%1 is the Dealer.  (%2)").arg(name, SideInWords(side)));
        else if (kinds[static_cast<size_t>(seat)] == SeatKind::Human)
            AddPlayerLine(JoinedInWords(name, side));
    }
    SetWaitJob(SeatedJob());
}

void NetworkDialog::ResumeReceived() {
    connectTimer_.stop();
    start_ = false;
    accept();
}

void NetworkDialog::Connected() {
    // Connected; now the Dealer has to answer the request for a seat.
    connectTimer_.start(kConnectSeconds * 1000);
}

void NetworkDialog::Seated(int seat, const QString& text) {
    answered_ = true;
    connectTimer_.stop();
    if (seat == 3) {
        // A refused return says why; a refused join says what it always said.
        Failed(text.isEmpty() ? NoticeInWords(net::Notice::TableFull) : text);
        return;
    }
    statusLabel->setText(serverTable_ == 0 ? tr("Please wait until the Dealer starts the game...")
                         : serverTable_ == madeTable_
                             ? tr("Start the table when your friends are seated; the computer plays the empty seats.")
                             : tr("Please wait until the table starts: when its seats are taken, or its maker starts it."));
    playerLabels[0]->setText(QStringLiteral("* ") + text);
    playerLabels[0]->show();
    SetWaitJob(SeatedJob());
}

void NetworkDialog::PlayerAnnounced(const QString& line) {
    AddPlayerLine(line);
    SetWaitJob(SeatedJob());
}

NetworkDialog::WaitJob NetworkDialog::SeatedJob() const {
    return serverTable_ != 0 && serverTable_ == madeTable_ ? WaitJob::StartTable : WaitJob::Disconnect;
}

void NetworkDialog::ContinueToServer() {
    tried_ = serverAddress->text().trimmed();
    if (tried_.isEmpty()) {
        QMessageBox::information(this, windowTitle(), tr("Enter the table server's name or address please."));
        serverAddress->setFocus();
        return;
    }
    net::NoticeText why;
    const auto where = net::ParseHostPort(LatinDigits(tried_).toStdString(), &why);
    if (!where) {
        QMessageBox::information(this, windowTitle(), NoticeInWords(why));
        serverAddress->setFocus();
        return;
    }
    const QString pinText = LatinDigits(serverPin->text().trimmed());
    const QByteArray pin = net::ParsePin(pinText);
    if (!pinText.isEmpty() && pin.isEmpty()) {
        QMessageBox::information(this, windowTitle(),
                                 tr("A certificate fingerprint is 64 hexadecimal digits (colons may stand between "
                                    "them), as the server's admin publishes it."));
        serverPin->setFocus();
        return;
    }
    const QString name = serverPlayerName->text().trimmed();
    if (name.isEmpty() || !net::IsLobbyText(name.toStdString(), net::kMaxPlayerName)) {
        QMessageBox::information(this, windowTitle(), tr("Enter your name please (without ; or |)."));
        serverPlayerName->setFocus();
        return;
    }
    if (name.toStdString() != network_.preferences().current().PlayerName) network_.preferences().SetPlayerName(name.toStdString());
    network_.preferences().SetServerPin(tried_.toStdString(), pin.isEmpty() ? std::string() : net::PinText(pin).toStdString());
    encrypted_ = serverEncrypted->isChecked() || !pin.isEmpty();
    inLobby_ = false;
    madeTable_ = serverTable_ = askedSeat_ = 0;
    roleFrame->setEnabled(false);
    pages_->setCurrentWidget(lobbyPage);
    // The tables' columns need room.
    if (width() < 760) {
        resize(760, std::max(height(), 520));
        if (parentWidget()) CentreOver(*this, *parentWidget());
    }
    lobbyPage->ShowTables({});
    lobbyPage->ShowBest({});
    lobbyPage->makeButton->setEnabled(false);
    lobbyPage->SetStatus(tr("Connecting to %1...").arg(tried_));
    lobbyPage->leaveButton->setFocus();
    answered_ = false;
    connectTimer_.start(kConnectSeconds * 1000);
    network_.OpenServerLobby(QString::fromStdString(where->host), where->port, {encrypted_, pin}, tried_);
    if (network_.lobby()) {
        network_.lobby()->onNews = [this] { LobbyNews(); };
        return;
    }
    // This server's table keeps a seat of ours: it is asked back at the door.
    statusLabel->setText(tr("Asking %1 for your seat back...").arg(tried_));
    ShowWaitingPage();
}

void NetworkDialog::ServerFailed(const QString& why) {
    pages_->setCurrentWidget(waitFrame);
    cancelButton->setEnabled(false);
    waitButton->setDefault(true);
    waitButton->setFocus();
    Failed(why);
}

void NetworkDialog::LobbyNews() {
    net::LobbyClient* lobby = network_.lobby();
    if (!lobby || pages_->currentWidget() != lobbyPage) return;
    if (lobby->failed) return ServerFailed(tr("Cannot connect to %1: %2").arg(tried_, QString::fromStdString(lobby->failure)));
    if (lobby->closed)
        return ServerFailed(lobby->tableClosed ? NoticeInWords(lobby->closingNotice)
                                               : tr("The table server at %1 closed the connection.").arg(tried_));
    if (lobby->lobbyVersion > 0 && !inLobby_) {
        inLobby_ = true;
        answered_ = true;
        connectTimer_.stop();
        lobby->List();
        lobby->AskTop();
        lobbyPage->makeButton->setEnabled(true);
        lobbyPage->SetStatus(tr("Connected to %1%2. Choose a table and a seat, or make a table.")
                                 .arg(tried_, encrypted_ ? tr(" (encrypted)") : QString()));
        lobbyPage->tableList->setFocus();
        account_->Entered(*lobby, tried_, encrypted_, QString::fromStdString(network_.preferences().current().PlayerName));
    }
    if (QString said; account_->News(*lobby, &said) && !said.isEmpty()) lobbyPage->SetStatus(said);
    lobbyPage->ShowTables(lobby->tables);
    if (lobby->topListed) lobbyPage->ShowBest(lobby->top, lobby->ratingsAgreed);
    if (!lobby->refusal.empty()) {
        lobbyPage->SetStatus(NoticeInWords(lobby->refusalNotice));
        lobby->refusal.clear();
        askedSeat_ = 0;
        askedWatch_ = false;
    }
    if (lobby->okWhat == "Made") {
        lobby->okWhat.clear();
        madeTable_ = lobby->okTable;
        lobbyPage->SelectTable(madeTable_);
        lobbyPage->SetStatus(tr("Your table is made. Choose your seat and sit down."));
        lobbyPage->sitButton->setFocus();
    } else if (lobby->okWhat == "Watch" && askedWatch_) {
        lobby->okWhat.clear();
        connectTimer_.stop();
        watchedTable_ = lobby->okTable;
        watchedName_ = lobbyPage->tableName(watchedTable_);
        start_ = false;
        accept();
    } else if (lobby->okWhat == "Sit" && askedSeat_ > 0) {
        lobby->okWhat.clear();
        // The seat is kept: the table is asked for it as a Dealer is.
        serverTable_ = lobby->okTable;
        statusLabel->setText(tr("Asking the table for the seat..."));
        ShowWaitingPage();
        answered_ = false;
        connectTimer_.start(kConnectSeconds * 1000);
        network_.SitAtServerTable(askedSeat_);
    }
}

void NetworkDialog::MakeTable() {
    net::LobbyClient* lobby = network_.lobby();
    if (!lobby) return;
    MakeTableDialog make(encrypted_, tr("%1's table").arg(QString::fromStdString(network_.preferences().current().PlayerName)), this,
                         lobby->ratingsAgreed, lobby->levelsAgreed);
    if (make.exec() != QDialog::Accepted) return;
    lobbyPage->SetStatus(tr("Making the table..."));
    lobby->Make(make.request());
}

bool NetworkDialog::PasswordFor(std::string* password) {
    if (!lobbyPage->selectedIsPrivate()) return true;
    if (!encrypted_) {
        lobbyPage->SetStatus(tr("This table is private: its password travels only over an encrypted connection. "
                                "Leave, tick \"Encrypted connection\" and connect again."));
        return false;
    }
    bool given = false;
    const QString text = QInputDialog::getText(this, tr("Private Table"), tr("The table's &password:"),
                                               QLineEdit::Password, QString(), &given);
    if (given) *password = text.toStdString();
    return given;
}

void NetworkDialog::WatchTable(int table) {
    net::LobbyClient* lobby = network_.lobby();
    if (!lobby) return;
    std::string password;
    if (!PasswordFor(&password)) return;
    askedWatch_ = true;
    lobbyPage->SetStatus(tr("Asking to watch..."));
    lobby->Watch(table, password);
}

void NetworkDialog::SitAtTable(int table, int seat) {
    net::LobbyClient* lobby = network_.lobby();
    if (!lobby) return;
    std::string password;
    if (!PasswordFor(&password)) return;
    askedSeat_ = seat;
    lobbyPage->SetStatus(tr("Asking for seat %1...").arg(seat));
    lobby->Sit(table, seat, password);
}

void NetworkDialog::StartReceived() {
    start_ = true;
    accept();
}

void NetworkDialog::ConnectFailed(const QString& why) {
    answered_ = true;
    Failed(tr("Cannot connect to %1: %2").arg(tried_, why));
}

void NetworkDialog::ConnectionClosed() {
    // Already answered (a refusal, a failure) or the game begins: nothing to add.
    if (waitJob_ == WaitJob::TryAgain || start_) return;
    Failed(tr("The Dealer at %1 closed the connection.").arg(tried_));
}

} // namespace zarv::ui
