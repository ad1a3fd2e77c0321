#include "ui/sign_in_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "net/lobby_wire.h"

namespace zarv::ui {

namespace {
constexpr int kLeastPassword = 8;
}

SignInDialog::SignInDialog(bool registering, const QString& suggestedName, QWidget* parent) : QDialog(parent) {
    setWindowTitle(registering ? tr("Register") : tr("Sign In"));
    auto* form = new QFormLayout(this);
    auto* about = new QLabel(registering ? tr("Register your name on this server to keep it: nobody else can play under it, "
                                              "in any spelling. The window remembers your sign-in.")
                                         : tr("Sign in with the name and password you registered on this server. "
                                              "The window remembers your sign-in."),
                             this);
    about->setWordWrap(true);
    form->addRow(about);
    name = new QLineEdit(suggestedName, this);
    name->setMaxLength(static_cast<int>(net::kMaxPlayerName));
    password = new QLineEdit(this);
    password->setEchoMode(QLineEdit::Password);
    password->setMaxLength(static_cast<int>(net::kMaxPassword));
    password->setPlaceholderText(tr("8 to 64 characters, without ; or |"));
    password->setMinimumWidth(password->fontMetrics().horizontalAdvance(password->placeholderText()) +
                              4 * password->fontMetrics().averageCharWidth());
    form->addRow(tr("&Name:"), name);
    form->addRow(tr("&Password:"), password);
    if (registering) {
        repeated = new QLineEdit(this);
        repeated->setEchoMode(QLineEdit::Password);
        repeated->setMaxLength(static_cast<int>(net::kMaxPassword));
        form->addRow(tr("Password &again:"), repeated);
    }
    problem = new QLabel(this);
    problem->setWordWrap(true);
    problem->setTextFormat(Qt::PlainText);
    problem->hide();
    form->addRow(problem);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(registering ? tr("&Register") : tr("Sign &In"));
    form->addRow(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &SignInDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &SignInDialog::reject);
    (name->text().isEmpty() ? name : password)->setFocus();
}

std::string SignInDialog::chosenName() const { return name->text().trimmed().toStdString(); }
std::string SignInDialog::chosenPassword() const { return password->text().toStdString(); }

void SignInDialog::accept() {
    auto say = [this](const QString& text, QLineEdit* field) {
        problem->setText(text);
        problem->show();
        field->setFocus();
    };
    if (chosenName().empty() || !net::IsLobbyText(chosenName(), net::kMaxPlayerName))
        return say(tr("A name has 1 to 40 letters, without ; or |."), name);
    const std::string pw = chosenPassword();
    if (static_cast<int>(pw.size()) < kLeastPassword || !net::IsLobbyText(pw, net::kMaxPassword))
        return say(tr("A password has 8 to 64 characters, without ; or |."), password);
    if (repeated && repeated->text() != password->text()) return say(tr("The two passwords differ."), repeated);
    QDialog::accept();
}

} // namespace zarv::ui
