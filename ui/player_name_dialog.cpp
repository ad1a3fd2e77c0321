#include "ui/player_name_dialog.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QValidator>
#include <QVBoxLayout>

#include "settings/preferences.h"
#include "settings/settings.h"

namespace zarv::ui {

namespace {

// A name of at most 15 characters (not UTF-16 units: an emoji is one), so
// that the field stops taking letters where the name must end.
class NameLength : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override {
        return input.toUcs4().size() <= settings::kMaxNameLength ? Acceptable : Invalid;
    }
};

} // namespace

PlayerNameDialog::PlayerNameDialog(settings::Preferences& preferences, QWidget* parent)
    : QDialog(parent), preferences_(preferences) {
    setWindowTitle(tr("Player Name"));
    promptLabel = new QLabel(tr("Choose your name, or type a new one:"), this);
    nameList = new QComboBox(this);
    nameList->setEditable(true);
    nameList->setValidator(new NameLength(nameList));
    okButton = new QPushButton(tr("OK"), this);
    okButton->setDefault(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(promptLabel);
    layout->addWidget(nameList);
    layout->addWidget(okButton, 0, Qt::AlignRight);

    // The current name first, then the others with records on this machine.
    const QString current = QString::fromStdString(preferences_.current().PlayerName);
    for (const std::string& name : settings::EnumPlayers(preferences_.store())) {
        const QString n = QString::fromStdString(name);
        if (n == current)
            nameList->insertItem(0, n);
        else
            nameList->addItem(n);
    }
    // The name in use is offered first, with or without a record (after Reset too).
    nameList->setEditText(current);
    QTimer::singleShot(0, nameList->lineEdit(), [this] { nameList->lineEdit()->selectAll(); });
    connect(okButton, &QPushButton::clicked, this, &PlayerNameDialog::Ok);
}

QString PlayerNameDialog::Refusal(const QString& name) {
    // Characters, not UTF-16 units: eight emoji are a name of eight characters.
    const qsizetype length = name.toUcs4().size();
    if (length < 1 || length > settings::kMaxNameLength)
        return tr("Choose or type a name of 1 to 15 characters");
    // Network messages end at "|" and split at ";", and "\" would file the
    // results under another key: a name holding them is refused.
    if (name.contains(QLatin1Char('|')) || name.contains(QLatin1Char(';')) || name.contains(QLatin1Char('\\')))
        return tr("A name cannot hold \"|\", \";\" or \"\\\". Please choose another name.");
    return {};
}

void PlayerNameDialog::Ok() {
    const QString name = nameList->currentText();  // taken as typed
    const QString why = Refusal(name);
    if (!why.isEmpty()) {
        QMessageBox::information(this, windowTitle(), why);
        return;
    }
    preferences_.SetPlayerName(name.toStdString());
    accept();
}

} // namespace zarv::ui
