// Make a table on a table server: its name, an optional password (only over
// an encrypted connection), the computer players' level, the move limit and
// whether others may watch.
#pragma once

#include <QDialog>

#include "net/lobby_wire.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QSpinBox;

namespace zarv::ui {

class MakeTableDialog : public QDialog {
    Q_OBJECT
public:
    // encrypted: passwords may be given (they never travel unencrypted).
    // ratings: the server rates games, and a table may be made unrated.
    // ratings: the server shows ratings; levels: it knows the four computer levels.
    MakeTableDialog(bool encrypted, const QString& suggestedName, QWidget* parent = nullptr, bool ratings = false,
                    bool levels = false);

    QLineEdit* tableName = nullptr;
    QLineEdit* password = nullptr;
    QComboBox* level = nullptr;
    QSpinBox* moveLimit = nullptr;
    QCheckBox* watchable = nullptr;
    QCheckBox* rated = nullptr;

    net::MakeRequest request() const;
    // Checks the name and password first.
    void accept() override;
};

} // namespace zarv::ui
