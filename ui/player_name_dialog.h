// Choosing the player's name: one of the names with records here, or a new one.
#pragma once

#include <QDialog>

class QComboBox;
class QLabel;
class QPushButton;

namespace zarv::settings {
class Preferences;
}

namespace zarv::ui {

class PlayerNameDialog : public QDialog {
    Q_OBJECT
public:
    explicit PlayerNameDialog(settings::Preferences& preferences, QWidget* parent = nullptr);

    QComboBox* nameList = nullptr;
    QPushButton* okButton = nullptr;
    QLabel* promptLabel = nullptr;

    // Why a name cannot be taken, or "" when it can.
    static QString Refusal(const QString& name);

private:
    void Ok();

    settings::Preferences& preferences_;
};

} // namespace zarv::ui
