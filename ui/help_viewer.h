// The help page: opened in the system's browser, or shown by the program
// itself where no browser opens it.
#pragma once

#include <QCoreApplication>
#include <QPointer>
#include <QUrl>
#include <functional>

class QWidget;

namespace zarv::ui {

class HelpViewer {
    Q_DECLARE_TR_FUNCTIONS(HelpViewer)

public:
    // Opens a page outside the program; false when nothing could.
    using UrlOpener = std::function<bool(const QUrl&)>;

    // The pages lie in folder (by default the program's own).
    explicit HelpViewer(QWidget* owner, QString folder = QString());
    // The page in the window's language, beside the program.
    static QString Page();
    static QString PageIn(const QString& folder);
    void Show();
    // The window's language changed: the next Show opens that language's page.
    void Forget();
    // The program's own help window, when it shows one.
    QWidget* window() const { return window_; }
    void SetUrlOpener(UrlOpener opener) { openExternally_ = std::move(opener); }
    // A right-to-left page's tables as the program's own window must be given
    // them: it lays columns out left to right whatever the page's direction,
    // so each row's cells come in reverse order, and each table keeps to the right.
    static QString RightToLeftTables(const QString& html);

private:
    QWidget* owner_;
    QString folder_;
    QPointer<QWidget> window_;
    UrlOpener openExternally_;
};

} // namespace zarv::ui
