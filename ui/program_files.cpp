#include "ui/program_files.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QScreen>
#include <algorithm>

#include "engine/game_state.h"

namespace zarv::ui {

QString ProgramFolder() { return ProgramFolderFor(QCoreApplication::applicationDirPath()); }

QString ProgramFolderFor(const QString& dir) {
    if (!QFileInfo::exists(dir + QStringLiteral("/Pass.wav"))) {
        const QString shared = QFileInfo(dir + QStringLiteral("/../share/zarv")).canonicalFilePath();
        if (!shared.isEmpty() && QFileInfo::exists(shared + QStringLiteral("/Pass.wav"))) return shared;
    }
    return dir;
}

QSize FirstWindowSize(const QScreen* screen, int bars) {
    const QSize table(kTableWidth, kTableHeight);
    if (!screen) return table;
    const QSize area = screen->availableGeometry().size() * 0.8;
    const QSize fitted = table.scaled(area.width(), std::max(1, area.height() - bars), Qt::KeepAspectRatio);
    return QSize(fitted.width(), fitted.height() + bars);
}

} // namespace zarv::ui
