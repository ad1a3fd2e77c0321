#include "ui/help_viewer.h"

#include <QDesktopServices>
#include <QFileInfo>
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
        if (QFileInfo::exists(page))
            browser->setSource(QUrl::fromLocalFile(page));
        else
            browser->setPlainText(tr("The help page is missing: %1").arg(page));
        window_ = browser;
        if (owner_) CentreOver(*window_, *owner_);
    }
    window_->show();
    window_->raise();
}

void HelpViewer::Forget() {
    if (window_) window_->deleteLater();
    window_ = nullptr;
}

} // namespace zarv::ui
