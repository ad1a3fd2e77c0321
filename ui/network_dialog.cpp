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

    // The settings page.
    Frame1 = new QFrame(this);
    auto* settings = new QVBoxLayout(Frame1);
    Option1[0] = new QRadioButton(QStringLiteral("Play as Dealer (Others connect to my computer)"), Frame1);
    Option1[1] = new QRadioButton(QStringLiteral("Connecting to another  player"), Frame1);
    Option1[0]->setChecked(true);
    settings->addWidget(Option1[0]);
    settings->addWidget(Option1[1]);
    Frame2 = new QFrame(Frame1);
    Frame2->setFrameShape(QFrame::StyledPanel);
    auto* join = new QVBoxLayout(Frame2);
    Label1 = new QLabel(QStringLiteral("Dealer Computer Name or IP:"), Frame2);
    txtComp = new QLineEdit(Frame2);
    txtComp->setPlaceholderText(tr("name, address, name:port or [IPv6]:port"));
    txtComp->setText(QString::fromStdString(table_.currentSettings().LastDealer));
    Option2[0] = new QRadioButton(QStringLiteral("Partner of Dealer"), Frame2);
    Option2[1] = new QRadioButton(QStringLiteral("Against of Dealer"), Frame2);
    Option2[0]->setChecked(true);
    join->addWidget(Label1);
    join->addWidget(txtComp);
    join->addWidget(Option2[0]);
    join->addWidget(Option2[1]);
    settings->addWidget(Frame2);
    auto* group1 = new QButtonGroup(this);
    group1->addButton(Option1[0], 0);
    group1->addButton(Option1[1], 1);
    auto* group2 = new QButtonGroup(this);
    group2->addButton(Option2[0], 0);
    group2->addButton(Option2[1], 1);
    Frame2->setEnabled(false);
    connect(group1, &QButtonGroup::idClicked, this, [this](int index) {
        Frame2->setEnabled(Option1[1]->isChecked());
        if (index == 1) txtComp->setFocus();
    });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    cmdConnect = new QPushButton(QStringLiteral("Continue..."), Frame1);
    Command1 = new QPushButton(QStringLiteral("Cancel"), Frame1);
    cmdConnect->setDefault(true);
    buttons->addWidget(cmdConnect);
    buttons->addWidget(Command1);
    settings->addLayout(buttons);
    pages_->addWidget(Frame1);

    // The waiting page.
    FraWait = new QFrame(this);
    auto* wait = new QVBoxLayout(FraWait);
    lblStatus = new QLabel(QStringLiteral("Waiting for others to join..."), FraWait);
    QFont arial(QStringLiteral("Arial"));
    arial.setPointSize(10);
    lblStatus->setFont(arial);
    lblStatus->setWordWrap(true);
    lblAddress = new QLabel(FraWait);
    lblAddress->setWordWrap(true);
    lblAddress->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lblAddress->setTextFormat(Qt::PlainText);
    QFont large = lblAddress->font();
    large.setBold(true);
    lblAddress->setFont(large);
    cmdCopyAddress = new QPushButton(tr("&Copy"), FraWait);
    cmdCopyAddress->setToolTip(tr("Copy the address, to send it to a friend"));
    auto* addressRow = new QHBoxLayout;
    addressRow->addWidget(lblAddress, 1);
    addressRow->addWidget(cmdCopyAddress);
    wait->addWidget(lblStatus);
    wait->addLayout(addressRow);
    lblAddress->hide();
    cmdCopyAddress->hide();
    connect(cmdCopyAddress, &QPushButton::clicked, this, [this] {
        // The address is the line's last word ("Join at" is not part of it).
        QGuiApplication::clipboard()->setText(lblAddress->text().section(QLatin1Char(' '), -1));
    });
    playerLines_ = new QVBoxLayout;
    wait->addLayout(playerLines_);
    AddPlayerLine(QString());
    lblPlayers[0]->hide();
    wait->addStretch();
    cmdServerStart = new QPushButton(QStringLiteral("&Cancel"), FraWait);
    wait->addWidget(cmdServerStart, 0, Qt::AlignRight);
    pages_->addWidget(FraWait);
    setMinimumWidth(420);

    connect(cmdConnect, &QPushButton::clicked, this, &NetworkDialog::Continue);
    connect(Command1, &QPushButton::clicked, this, &NetworkDialog::reject);
    connect(cmdServerStart, &QPushButton::clicked, this, &NetworkDialog::ServerStartClicked);
    connectTimer_.setSingleShot(true);
    // No answer in time is an answer too: to the connection request, and
    // then to the request for a seat.
    connect(&connectTimer_, &QTimer::timeout, this, [this] {
        if (answered_) return;
        Failed(tr("No answer from %1 after %2 seconds.").arg(tried_).arg(kConnectSeconds));
    });
}

bool NetworkDialog::waiting() const { return pages_->currentWidget() == FraWait; }

QStringList NetworkDialog::players() const {
    QStringList lines;
    for (QLabel* l : lblPlayers)
        if (!l->isHidden()) lines << l->text();
    return lines;
}

void NetworkDialog::AddPlayerLine(const QString& text) {
    auto* line = new QLabel(FraWait);
    line->setTextFormat(Qt::PlainText);  // a name is shown as text, never interpreted
    line->setText(text);
    playerLines_->addWidget(line);
    lblPlayers.push_back(line);
}

void NetworkDialog::ShowWaitingPage() {
    pages_->setCurrentWidget(FraWait);
    Frame1->setEnabled(false);   // the settings are locked
    Command1->setEnabled(false);
    cmdServerStart->setDefault(true);
    cmdServerStart->setFocus();
}

void NetworkDialog::ShowSettingsPage() {
    connectTimer_.stop();
    tryAgain_ = false;
    table_.BecomeStandAlone();
    for (size_t i = 1; i < lblPlayers.size(); ++i) lblPlayers[i]->deleteLater();
    lblPlayers.resize(1);
    lblPlayers[0]->hide();
    lineOfConnection_.clear();
    lblAddress->clear();
    lblAddress->hide();
    cmdCopyAddress->hide();
    lblStatus->setText(QStringLiteral("Waiting for others to join..."));
    cmdServerStart->setText(QStringLiteral("&Cancel"));
    Frame1->setEnabled(true);
    Command1->setEnabled(true);
    pages_->setCurrentWidget(Frame1);
    cmdConnect->setDefault(true);
}

void NetworkDialog::Continue() {
    if (Option1[0]->isChecked()) {
        ShowWaitingPage();
        const TableWindow::Hosting hosting = table_.Host();
        if (!hosting.error.isEmpty()) {
            Failed(hosting.error);
            return;
        }
        // The line to share comes last (Copy takes its last word).
        lblAddress->setText(hosting.joinLine.isEmpty() ? hosting.where : hosting.note + hosting.joinLine);
        lblAddress->setToolTip(hosting.where);
        lblAddress->show();
        cmdCopyAddress->setVisible(!hosting.joinLine.isEmpty());
        return;
    }
    tried_ = txtComp->text().trimmed();
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
    lblStatus->setText(QStringLiteral("Connecting to the Dealer..."));
    ShowWaitingPage();
    answered_ = false;
    connectTimer_.start(kConnectSeconds * 1000);
    table_.Join(QString::fromStdString(where->host), where->port, Option2[0]->isChecked() ? "Partner" : "Against", tried_);
}

void NetworkDialog::Failed(const QString& why) {
    answered_ = true;
    connectTimer_.stop();
    table_.BecomeStandAlone();
    lblStatus->setText(why);
    tryAgain_ = true;
    cmdServerStart->setText(tr("&Try Again"));
}

void NetworkDialog::ServerStartClicked() {
    if (tryAgain_) {
        ShowSettingsPage();
        return;
    }
    if (cmdServerStart->text() == QStringLiteral("Start Game")) {
        start_ = true;
        accept();
        return;
    }
    reject();  // "&Cancel" or "Disconnect": no game
}

void NetworkDialog::reject() {
    connectTimer_.stop();
    start_ = false;
    table_.BecomeStandAlone();
    QDialog::reject();
}

void NetworkDialog::PlayerJoined(const QString& line) {
    AddPlayerLine(line);  // below the ones before (line 0 stays hidden on the Dealer)
    cmdServerStart->setText(QStringLiteral("Start Game"));
}

void NetworkDialog::PlayerJoinedOn(int connection, const QString& line) {
    PlayerJoined(line);
    lineOfConnection_[connection] = lblPlayers.back();
}

void NetworkDialog::PlayerLeft(int connection, const QString& name) {
    const auto it = lineOfConnection_.find(connection);
    if (it != lineOfConnection_.end()) {
        lblPlayers.erase(std::find(lblPlayers.begin(), lblPlayers.end(), it->second));
        it->second->deleteLater();
        lineOfConnection_.erase(it);
    }
    lblStatus->setText(tr("%1 left; the seat is free again.").arg(name.trimmed()));
    if (lineOfConnection_.empty()) cmdServerStart->setText(QStringLiteral("&Cancel"));
}

void NetworkDialog::RosterReceived(const std::array<std::string, 5>& names, const std::array<SeatKind, 5>& kinds,
                                   int localSeat) {
    // Line 0 is this machine's own seat; the others are rebuilt from the roster.
    for (size_t i = 1; i < lblPlayers.size(); ++i) lblPlayers[i]->deleteLater();
    lblPlayers.resize(1);
    for (int seat = 1; seat <= 4; ++seat) {
        if (seat == localSeat) continue;
        const QString name = QString::fromStdString(names[static_cast<size_t>(seat)]).trimmed();
        const QString word = SameTeam(seat, localSeat) ? QStringLiteral("Partner") : QStringLiteral("Against");
        if (seat == 3)
            AddPlayerLine(tr("%1 is the Dealer.  (%2)").arg(name, word));
        else if (kinds[static_cast<size_t>(seat)] == SeatKind::Human)
            AddPlayerLine(name + QStringLiteral(" joined. ") + QStringLiteral(" (") + word + QStringLiteral(")"));
    }
    cmdServerStart->setText(QStringLiteral("Disconnect"));
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
    lblStatus->setText(QStringLiteral("Please Wait until Dealer starts the game..."));
    lblPlayers[0]->setText(QStringLiteral("* ") + text);
    lblPlayers[0]->show();
    cmdServerStart->setText(QStringLiteral("Disconnect"));
}

void NetworkDialog::PlayerAnnounced(const QString& line) {
    AddPlayerLine(line);
    cmdServerStart->setText(QStringLiteral("Disconnect"));
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
    if (tryAgain_ || start_) return;
    if (lblStatus->text() == QStringLiteral("All Positions ingaged, Please try later.")) return;
    Failed(tr("The Dealer at %1 closed the connection.").arg(tried_));
}

} // namespace zarv::ui
