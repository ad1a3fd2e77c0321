#include "ui/about_dialog.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPixmap>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QVBoxLayout>

#include "ui/balloon.h"

namespace zarv::ui {

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
    const QString title = QCoreApplication::applicationName();
    setWindowTitle(QStringLiteral("About ") + title);
    auto* picture = new QLabel(this);
    picture->setPixmap(QPixmap::fromImage(Balloon::SplashPicture().scaledToWidth(300, Qt::SmoothTransformation)));
    auto* name = new QLabel(QStringLiteral("<b style='font-size:16pt'>%1</b>").arg(title.toHtmlEscaped()), this);
    // The version as the build set it: major.minor.revision.
    lblVersion = new QLabel(QStringLiteral("Version ") + QCoreApplication::applicationVersion(), this);
    auto* description = new QLabel(
        tr("A trick-taking card game for four players in two teams. The HAKEM names the ZARV after seeing five "
           "cards; seven tricks win a hand, seven points win the game.\n\nOmbrel Card Games"),
        this);
    description->setWordWrap(true);
    cmdSysInfo = new QPushButton(tr("&System Info..."), this);
    cmdClose = new QPushButton(tr("OK"), this);
    cmdClose->setDefault(true);
    auto* text = new QVBoxLayout;
    text->addWidget(name);
    text->addWidget(lblVersion);
    text->addWidget(description, 1);
    auto* top = new QHBoxLayout;
    top->addWidget(picture);
    top->addLayout(text, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdSysInfo);
    buttons->addWidget(cmdClose);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(buttons);
    connect(cmdClose, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdSysInfo, &QPushButton::clicked, this, &AboutDialog::StartSysInfo);
}

QString AboutDialog::SystemInformationProgram() {
    for (const char* program : {"msinfo32", "kinfocenter", "hardinfo", "gnome-system-monitor", "plasma-systemmonitor"}) {
        const QString path = QStandardPaths::findExecutable(QString::fromLatin1(program));
        if (!path.isEmpty()) return path;
    }
    return {};
}

void AboutDialog::StartSysInfo() {
    const QString program = SystemInformationProgram();
    if (program.isEmpty() || !QProcess::startDetached(program, {}))
        QMessageBox::information(this, windowTitle(), QStringLiteral("System Information Is Unavailable At This Time"));
}

} // namespace zarv::ui
