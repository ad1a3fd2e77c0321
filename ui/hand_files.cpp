// Trace > Save Suggest and Load Suggest: the hand being played written to a
// file, and a hand of a file dealt as Replay deals it.
#include "ui/table_window.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

#include "ui/hand_fault_words.h"

namespace zarv::ui {

QString TableWindow::WithHandExtension(const QString& path) {
    // The file dialog's filter lists *.zarv: a name typed without an extension gets it.
    if (path.isEmpty() || !QFileInfo(path).suffix().isEmpty()) return path;
    return path + QStringLiteral(".zarv");
}

QString TableWindow::SaveHandTo(const QString& path) {
    const GameState& s = game_.state();
    if (!s.GameStarted || s.MasterPlayer < 1) return tr("There is no hand to save yet: start a game first.");
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text))
        return tr("Cannot write %1: %2").arg(path, file.errorString());
    const std::string text = WriteSavedHand(game_.CurrentHand());
    if (file.write(text.data(), static_cast<qint64>(text.size())) != static_cast<qint64>(text.size()) || !file.flush())
        return tr("Cannot write %1: %2").arg(path, file.errorString());
    return {};
}

QString TableWindow::LoadHandFrom(const QString& path) {
    HandFault why;
    const auto text = ReadSavedHandFile(path.toStdString(), &why);
    if (!text) return HandFaultInWords(why);
    const auto hand = ReadSavedHand(*text, &why);
    if (!hand) return tr("%1 is not a saved hand: %2").arg(QFileInfo(path).fileName(), HandFaultInWords(why));
    game_.LoadHand(*hand);
    return {};
}

void TableWindow::SaveSuggestClick() {
    const GameState& s = game_.state();
    if (!s.GameStarted || s.MasterPlayer < 1) {
        // Said before any file is asked for.
        QMessageBox::information(this, tr("Save Suggest"), tr("There is no hand to save yet: start a game first."));
        GiveKeysToTable();
        return;
    }
    const QString path = WithHandExtension(
        QFileDialog::getSaveFileName(this, tr("Save Suggest"), QString(), tr("Zarv hands (*.zarv);;All files (*)")));
    if (path.isEmpty()) return;
    const QString error = SaveHandTo(path);
    if (!error.isEmpty()) QMessageBox::warning(this, tr("Save Suggest"), error);
    GiveKeysToTable();
}

void TableWindow::LoadSuggestClick() {
    const QString path = QFileDialog::getOpenFileName(this, tr("Load Suggest"), QString(), tr("Zarv hands (*.zarv);;All files (*)"));
    if (path.isEmpty()) return;
    const QString error = LoadHandFrom(path);
    if (!error.isEmpty()) QMessageBox::warning(this, tr("Load Suggest"), error);
    GiveKeysToTable();
}

} // namespace zarv::ui
