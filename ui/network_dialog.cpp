#include "ui/network_dialog.h"

#include <QButtonGroup>
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
#include <QVBoxLayout>

#include "net/wire.h"
#include "ui/table_window.h"

namespace zarv::ui {

NetworkDialog::NetworkDialog(TableWindow& table, QWidget* parent) : QDialog(parent), table_(table) {
    setWindowTitle(tr("Network"));
    auto* outer = new QVBoxLayout(this);
    pages_ = new QStackedLayout;
    outer->addLayout(pages_);

    pages_->addWidget(BuildSettingsPage());
    pages_->addWidget(BuildWaitPage());
    setMinimumWidth(420);

    connect(continueButton, &QPushButton::clicked, this, &NetworkDialog::Continue);
    connect(cancelButton, &QPushButton::clicked, this, &NetworkDialog::reject);
    connect(waitButton, &QPushButton::clicked, this, &NetworkDialog::WaitButtonClicked);
    connectTimer_.setSingleShot(true);
    // No answer in time is an answer too: to the connection request, and
    // then to the request for a seat.
    connect(&connectTimer_, &QTimer::timeout, this, [this] {
        if (answered_) return;
        Failed(tr("No answer from %1 after %2 seconds.").arg(tried_).arg(kConnectSeconds));
    });
}

QFrame* NetworkDialog::BuildSettingsPage() {
    // The settings page.
    roleFrame = new QFrame(this);
    auto* settings = new QVBoxLayout(roleFrame);
    roleChoices[0] = new QRadioButton(QStringLiteral("Play as Dealer (Others connect to my computer)"), roleFrame);
    roleChoices[1] = new QRadioButton(QStringLiteral("Connecting to another  player"), roleFrame);
    roleChoices[0]->setChecked(true);
    settings->addWidget(roleChoices[0]);
    settings->addWidget(roleChoices[1]);
    joinFrame = new QFrame(roleFrame);
    joinFrame->setFrameShape(QFrame::StyledPanel);
    auto* join = new QVBoxLayout(joinFrame);
    dealerAddressLabel = new QLabel(QStringLiteral("Dealer Computer Name or IP:"), joinFrame);
    dealerAddress = new QLineEdit(joinFrame);
    dealerAddress->setPlaceholderText(tr("name, address, name:port or [IPv6]:port"));
    dealerAddress->setText(QString::fromStdString(table_.currentSettings().LastDealer));
    sideChoices[0] = new QRadioButton(QStringLiteral("Partner of Dealer"), joinFrame);
    sideChoices[1] = new QRadioButton(QStringLiteral("Against of Dealer"), joinFrame);
    sideChoices[0]->setChecked(true);
    join->addWidget(dealerAddressLabel);
    join->addWidget(dealerAddress);
    join->addWidget(sideChoices[0]);
    join->addWidget(sideChoices[1]);
    settings->addWidget(joinFrame);
    auto* group1 = new QButtonGroup(this);
    group1->addButton(roleChoices[0], 0);
    group1->addButton(roleChoices[1], 1);
    auto* group2 = new QButtonGroup(this);
    group2->addButton(sideChoices[0], 0);
    group2->addButton(sideChoices[1], 1);
    joinFrame->setEnabled(false);
    connect(group1, &QButtonGroup::idClicked, this, [this](int index) {
        joinFrame->setEnabled(roleChoices[1]->isChecked());
        if (index == 1) dealerAddress->setFocus();
    });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    continueButton = new QPushButton(QStringLiteral("Continue..."), roleFrame);
    cancelButton = new QPushButton(QStringLiteral("Cancel"), roleFrame);
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
    statusLabel = new QLabel(QStringLiteral("Waiting for others to join..."), waitFrame);
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
    waitButton = new QPushButton(QStringLiteral("&Cancel"), waitFrame);
    wait->addWidget(waitButton, 0, Qt::AlignRight);
    return waitFrame;
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
    table_.BecomeStandAlone();
    for (size_t i = 1; i < playerLabels.size(); ++i) playerLabels[i]->deleteLater();
    playerLabels.resize(1);
    playerLabels[0]->hide();
    lineOfConnection_.clear();
    joinAddressLabel->clear();
    joinAddressLabel->hide();
    copyAddressButton->hide();
    statusLabel->setText(QStringLiteral("Waiting for others to join..."));
    SetWaitJob(WaitJob::Cancel);
    roleFrame->setEnabled(true);
    cancelButton->setEnabled(true);
    pages_->setCurrentWidget(roleFrame);
    continueButton->setDefault(true);
}

void NetworkDialog::Continue() {
    if (roleChoices[0]->isChecked()) {
        ShowWaitingPage();
        const TableWindow::Hosting hosting = table_.Host();
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
        QMessageBox::information(this, windowTitle(), QStringLiteral("Enter Dealer computer name please."));
        return;
    }
    std::string why;
    const auto where = net::ParseHostPort(tried_.toStdString(), &why);
    if (!where) {
        QMessageBox::information(this, windowTitle(), QString::fromStdString(why));
        return;
    }
    statusLabel->setText(QStringLiteral("Connecting to the Dealer..."));
    ShowWaitingPage();
    answered_ = false;
    connectTimer_.start(kConnectSeconds * 1000);
    table_.Join(QString::fromStdString(where->host), where->port, sideChoices[0]->isChecked() ? "Partner" : "Against", tried_);
}

void NetworkDialog::Failed(const QString& why) {
    answered_ = true;
    connectTimer_.stop();
    table_.BecomeStandAlone();
    statusLabel->setText(why);
    SetWaitJob(WaitJob::TryAgain);
}

void NetworkDialog::SetWaitJob(WaitJob job) {
    waitJob_ = job;
    switch (job) {
    case WaitJob::Cancel: waitButton->setText(QStringLiteral("&Cancel")); break;
    case WaitJob::TryAgain: waitButton->setText(tr("&Try Again")); break;
    case WaitJob::StartGame: waitButton->setText(QStringLiteral("Start Game")); break;
    case WaitJob::Disconnect: waitButton->setText(QStringLiteral("Disconnect")); break;
    }
}

void NetworkDialog::WaitButtonClicked() {
    switch (waitJob_) {
    case WaitJob::TryAgain: ShowSettingsPage(); return;
    case WaitJob::StartGame:
        start_ = true;
        accept();
        return;
    case WaitJob::Cancel:
    case WaitJob::Disconnect: reject(); return;  // no game
    }
}

void NetworkDialog::reject() {
    connectTimer_.stop();
    start_ = false;
    table_.BecomeStandAlone();
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
        const QString word = SameTeam(seat, localSeat) ? QStringLiteral("Partner") : QStringLiteral("Against");
        if (seat == 3)
            AddPlayerLine(tr("%1 is the Dealer.  (%2)").arg(name, word));
        else if (kinds[static_cast<size_t>(seat)] == SeatKind::Human)
            AddPlayerLine(name + QStringLiteral(" joined. ") + QStringLiteral(" (") + word + QStringLiteral(")"));
    }
    SetWaitJob(WaitJob::Disconnect);
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
        Failed(text.isEmpty() ? QStringLiteral("All Positions ingaged, Please try later.") : text);
        return;
    }
    statusLabel->setText(QStringLiteral("Please Wait until Dealer starts the game..."));
    playerLabels[0]->setText(QStringLiteral("* ") + text);
    playerLabels[0]->show();
    SetWaitJob(WaitJob::Disconnect);
}

void NetworkDialog::PlayerAnnounced(const QString& line) {
    AddPlayerLine(line);
    SetWaitJob(WaitJob::Disconnect);
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
