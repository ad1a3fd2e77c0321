// The results of every player on this machine, and erasing them all.
#pragma once

#include <QDialog>

class QPushButton;
class QTableWidget;

namespace zarv::settings {
class SettingsStore;
}

namespace zarv::ui {

class ScoresDialog : public QDialog {
    Q_OBJECT
public:
    explicit ScoresDialog(settings::SettingsStore& store, QWidget* parent = nullptr);

    QTableWidget* scoresTable = nullptr;
    QPushButton* resetButton = nullptr;
    QPushButton* closeButton = nullptr;

    void FillGrid();
    // Erases every record after the user said Yes; the question can be answered for tests.
    void Reset(bool confirmed);

private:
    settings::SettingsStore& store_;
};

} // namespace zarv::ui
