#include "ui/help_viewer.h"

#include <QDesktopServices>
#include <QFile>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QTextBrowser>

#include "ui/language.h"
#include "ui/placement.h"
#include "ui/program_files.h"

namespace zarv::ui {

HelpViewer::HelpViewer(QWidget* owner, QString folder)
    : owner_(owner), folder_(std::move(folder)), openExternally_(&QDesktopServices::openUrl) {}

QString HelpViewer::Page() { return PageIn(ProgramFolder()); }

QString HelpViewer::PageIn(const QString& folder) {
    const bool farsi = CurrentLanguage() == settings::LanguageChoice::Farsi;
    return folder + (farsi ? QStringLiteral("/Help/Help_fa.htm") : QStringLiteral("/Help/Help.htm"));
}

void HelpViewer::Show() {
    const QString page = folder_.isEmpty() ? Page() : PageIn(folder_);
    if (openExternally_ && openExternally_(QUrl::fromLocalFile(page))) return;
    // No browser here: the program shows the page itself.
    if (!window_) {
        auto* browser = new QTextBrowser(owner_);
        browser->setWindowFlag(Qt::Window);
        browser->setWindowTitle(tr("Zarv Help"));
        browser->setOpenExternalLinks(true);
        browser->resize(640, 720);
        QFile file(page);
        if (file.open(QIODevice::ReadOnly)) {
            QString html = QString::fromUtf8(file.readAll());
            if (QGuiApplication::layoutDirection() == Qt::RightToLeft) html = RightToLeftTables(html);
            browser->document()->setBaseUrl(QUrl::fromLocalFile(page));
            browser->setHtml(html);
        } else
            browser->setPlainText(tr("The help page is missing: %1").arg(page));
        window_ = browser;
        if (owner_) CentreOver(*window_, *owner_);
    }
    window_->show();
    window_->raise();
}

QString HelpViewer::RightToLeftTables(const QString& html) {
    static const QRegularExpression row(QStringLiteral("<tr>(.*?)</tr>"), QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression cell(QStringLiteral("<(td|th)\\b[^>]*>.*?</\\1>"), QRegularExpression::DotMatchesEverythingOption);
    QString out;
    qsizetype done = 0;
    for (const auto& r : row.globalMatch(html)) {
        QStringList cells;
        for (const auto& c : cell.globalMatch(r.captured(1))) cells.prepend(c.captured(0));
        out += html.mid(done, r.capturedStart() - done) + QStringLiteral("<tr>") + cells.join(QString()) + QStringLiteral("</tr>");
        done = r.capturedEnd();
    }
    out += html.mid(done);
    out.replace(QStringLiteral("<table>"), QStringLiteral("<table align=\"right\">"));
    return out;
}

void HelpViewer::Forget() {
    if (window_) window_->deleteLater();
    window_ = nullptr;
}

} // namespace zarv::ui
