// Game > Review Hand: the last hand played, or a saved hand with its cards
// played, opened in the review.
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

#include "ui/hand_fault_words.h"
#include "ui/table_window.h"

namespace zarv::ui {

namespace {

} // namespace

std::array<QString, 5> TableWindow::SeatNames() const {
    const GameState& s = game_.state();
    std::array<QString, 5> names;
    for (int seat = 1; seat <= 4; ++seat) {
        names[static_cast<size_t>(seat)] = QString::fromStdString(s.Seats[seat].Name).trimmed();
        // A saved hand opened before any game: the seats have no names yet.
        if (names[static_cast<size_t>(seat)].isEmpty()) names[static_cast<size_t>(seat)] = tr("Seat %L1").arg(seat);
    }
    return names;
}

std::optional<ReviewSetting> TableWindow::LastHandReview() const {
    const auto& hand = game_.LastPlayedHand();
    const GameState& s = game_.state();
    if (!hand || s.LocalSeat < 1 || s.LocalSeat > 4) return std::nullopt;
    ReviewSetting setting;
    setting.hand = *hand;
    setting.seat = s.LocalSeat;
    setting.names = SeatNames();
    // At a network table the others' cards that were never played stay unseen.
    setting.seenOnly = !network_.mode().is(net::NetworkMode::Kind::Alone);
    return setting;
}

void TableWindow::ReviewHandClick() {
    if (network_.watching()) return;  // a watcher has no decisions of its own
    std::optional<ReviewSetting> setting = LastHandReview();
    if (!setting) {
        // No hand has ended yet: a saved one may be reviewed.
        const QString path = QFileDialog::getOpenFileName(this, tr("Review Hand"), QString(),
                                                          tr("Zarv hands (*.zarv);;All files (*)"));
        if (path.isEmpty()) return;
        HandFault why;
        const auto text = ReadSavedHandFile(path.toStdString(), &why);
        const auto hand = text ? ReadSavedHand(*text, &why) : std::nullopt;
        QString problem;
        if (!text) problem = HandFaultInWords(why);
        else if (!hand) problem = tr("%1 is not a saved hand: %2").arg(QFileInfo(path).fileName(), HandFaultInWords(why));
        else if (hand->plays.empty()) problem = tr("%1 holds no cards played, so there is nothing to review.").arg(QFileInfo(path).fileName());
        if (!problem.isEmpty()) {
            QMessageBox::warning(this, tr("Review Hand"), problem);
            GiveKeysToTable();
            return;
        }
        const GameState& s = game_.state();
        setting = ReviewSetting{*hand, s.LocalSeat >= 1 && s.LocalSeat <= 4 ? s.LocalSeat : 3, SeatNames(), false};
    }
    ai::ReviewFault fault;
    if (!ai::ReplayHand(setting->hand, setting->seat, &fault)) {
        QMessageBox::warning(this, tr("Review Hand"), tr("This hand cannot be reviewed: %1").arg(ReviewFaultInWords(fault)));
        GiveKeysToTable();
        return;
    }
    ReviewDialog dialog(*setting, sprite_, this);
    reviewDialog_ = &dialog;
    dialog.exec();
    reviewDialog_ = nullptr;
    GiveKeysToTable();
}

} // namespace zarv::ui
