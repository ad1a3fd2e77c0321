#include "ui/about_dialog.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QScreen>
#include <QSysInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/balloon.h"
#include "ui/language.h"

namespace zarv::ui {

AboutDialog::AboutDialog(QWidget* parent, const QString& settingsFile) : QDialog(parent), settingsFile_(settingsFile) {
    const QString title = QCoreApplication::applicationName();
    setWindowTitle(tr("About %1").arg(tr("Zarv")));
    auto* picture = new QLabel(this);
    picture->setPixmap(QPixmap::fromImage(Balloon::SplashPicture().scaledToWidth(300, Qt::SmoothTransformation)));
    auto* name = new QLabel(QStringLiteral("<b style='font-size:16pt'>%1</b>").arg(tr("Zarv").toHtmlEscaped()), this);
    // The version as the build set it: major.minor.revision.
    versionLabel = new QLabel(tr("Version %1").arg(LocalDigits(QCoreApplication::applicationVersion())), this);
    auto* description = new QLabel(
        tr("A trick-taking card game for four players in two teams. The HAKEM names the ZARV after seeing five "
           "cards; seven tricks win a hand, seven points win the game.\n\nOmbrel Card Games"),
        this);
    description->setWordWrap(true);
    systemInfoButton = new QPushButton(tr("&System Info..."), this);
    closeButton = new QPushButton(tr("OK"), this);
    closeButton->setDefault(true);
    auto* text = new QVBoxLayout;
    text->addWidget(name);
    text->addWidget(versionLabel);
    text->addWidget(description, 1);
    auto* top = new QHBoxLayout;
    top->addWidget(picture);
    top->addLayout(text, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(systemInfoButton);
    buttons->addWidget(closeButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(buttons);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(systemInfoButton, &QPushButton::clicked, this, &AboutDialog::StartSysInfo);
}

QString AboutDialog::SystemInformation() const {
    QStringList lines;
    lines << QStringLiteral("%1 %2").arg(QCoreApplication::applicationName(), QCoreApplication::applicationVersion());
    lines << tr("Qt %1 (built with %2)").arg(QString::fromLatin1(qVersion()), QStringLiteral(QT_VERSION_STR));
    lines << tr("Platform: %1, %2 (%3)")
                 .arg(QSysInfo::prettyProductName(), QSysInfo::currentCpuArchitecture(), QGuiApplication::platformName());
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (screen) {
        const QSize size = screen->size();
        lines << tr("Screen: %1 x %2, scale %3, %4 dots per inch")
                     .arg(size.width())
                     .arg(size.height())
                     .arg(screen->devicePixelRatio())
                     .arg(qRound(screen->logicalDotsPerInch()));
    }
    lines << tr("Settings: %1").arg(settingsFile_.isEmpty() ? tr("(none)") : LeftToRightRun(settingsFile_));
    return lines.join(QLatin1Char('\n'));
}

void AboutDialog::StartSysInfo() {
    QDialog dialog(this);
    dialog.setWindowTitle(tr("System Info"));
    auto* text = new QPlainTextEdit(SystemInformation(), &dialog);
    text->setReadOnly(true);
    text->setMinimumSize(460, 140);
    auto* copy = new QPushButton(tr("&Copy"), &dialog);
    auto* close = new QPushButton(tr("Close"), &dialog);
    close->setDefault(true);
    connect(copy, &QPushButton::clicked, &dialog, [this] { QGuiApplication::clipboard()->setText(SystemInformation()); });
    connect(close, &QPushButton::clicked, &dialog, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(copy);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(text);
    layout->addLayout(buttons);
    sysInfo_ = &dialog;
    dialog.exec();
    sysInfo_ = nullptr;
}

} // namespace zarv::ui
