#include "ui/make_table_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>

namespace zarv::ui {

MakeTableDialog::MakeTableDialog(bool encrypted, const QString& suggestedName, QWidget* parent, bool ratings, bool levels)
    : QDialog(parent) {
    setWindowTitle(tr("Make Table"));
    auto* form = new QFormLayout(this);
    tableName = new QLineEdit(suggestedName, this);
    tableName->setMaxLength(static_cast<int>(net::kMaxTableName));
    password = new QLineEdit(this);
    password->setEchoMode(QLineEdit::Password);
    password->setMaxLength(static_cast<int>(net::kMaxPassword));
    password->setPlaceholderText(tr("none: anyone may sit down"));
    if (!encrypted) {
        password->setEnabled(false);
        password->setPlaceholderText(tr("needs an encrypted connection"));
        password->setToolTip(tr("Passwords travel only over an encrypted (TLS) connection to the server."));
    }
    // Wide enough that its hint is read whole, in either language.
    password->setMinimumWidth(password->fontMetrics().horizontalAdvance(password->placeholderText()) +
                              4 * password->fontMetrics().averageCharWidth());
    level = new QComboBox(this);
    // A server that knows only two levels is offered those two.
    if (levels) level->addItem(tr("Beginner"), static_cast<int>(ai::Level::Beginner));
    level->addItem(tr("Standard"), static_cast<int>(ai::Level::Standard));
    level->addItem(tr("Expert"), static_cast<int>(ai::Level::Expert));
    if (levels) level->addItem(tr("Master"), static_cast<int>(ai::Level::Master));
    level->setCurrentIndex(level->findData(static_cast<int>(ai::Level::Standard)));
    moveLimit = new QSpinBox(this);
    moveLimit->setRange(10, 600);
    moveLimit->setValue(60);
    moveLimit->setSuffix(tr(" seconds"));
    watchable = new QCheckBox(tr("Others may &watch"), this);
    watchable->setChecked(true);
    rated = new QCheckBox(tr("Games count in the &ratings"), this);
    rated->setChecked(true);
    rated->setVisible(ratings);
    form->addRow(tr("Table &name:"), tableName);
    form->addRow(tr("&Password:"), password);
    form->addRow(tr("&Computer players:"), level);
    form->addRow(tr("&Move limit:"), moveLimit);
    form->addRow(QString(), watchable);
    form->addRow(QString(), rated);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(tr("&Make"));
    form->addRow(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &MakeTableDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &MakeTableDialog::reject);
    tableName->setFocus();
    tableName->selectAll();
}

net::MakeRequest MakeTableDialog::request() const {
    net::MakeRequest r;
    r.name = tableName->text().trimmed().toStdString();
    r.password = password->isEnabled() ? password->text().toStdString() : std::string();
    r.level = ai::LevelFromNumber(level->currentData().toInt());
    r.moveLimit = moveLimit->value();
    r.watchable = watchable->isChecked();
    r.rated = rated->isChecked();
    return r;
}

void MakeTableDialog::accept() {
    const net::MakeRequest r = request();
    if (r.name.empty() || !net::IsLobbyText(r.name, net::kMaxTableName)) {
        QMessageBox::information(this, windowTitle(), tr("A table needs a name of up to 40 characters, without ; or |."));
        tableName->setFocus();
        return;
    }
    if (!net::IsLobbyText(r.password, net::kMaxPassword)) {
        QMessageBox::information(this, windowTitle(), tr("A password may not hold ; or |."));
        password->setFocus();
        return;
    }
    QDialog::accept();
}

} // namespace zarv::ui
