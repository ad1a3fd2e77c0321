// Sign in to a table server with an account, or register a name there: the
// name and the password (8 to 64 characters, without ; or |).
#pragma once

#include <QDialog>
#include <string>

class QLabel;
class QLineEdit;

namespace zarv::ui {

class SignInDialog : public QDialog {
    Q_OBJECT
public:
    SignInDialog(bool registering, const QString& suggestedName, QWidget* parent = nullptr);

    QLineEdit* name = nullptr;
    QLineEdit* password = nullptr;
    QLineEdit* repeated = nullptr;  // registering: the password once more
    QLabel* problem = nullptr;

    std::string chosenName() const;
    std::string chosenPassword() const;
    // Checks what was typed first, and says what is wrong in the dialog.
    void accept() override;
};

} // namespace zarv::ui
