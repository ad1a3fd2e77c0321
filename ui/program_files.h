// Where the program's own files lie (the sound, the help pages): beside the
// program while it is built, or in the data folder next to bin/ once installed.
#pragma once

#include <QSize>
#include <QString>

class QScreen;

namespace zarv::ui {

QString ProgramFolder();
// The same, for a program in that folder.
QString ProgramFolderFor(const QString& programDir);

// A window's first size, before it has ever been closed: about four fifths
// of the screen's free area, shaped like the table plus the bars.
QSize FirstWindowSize(const QScreen* screen, int bars);

} // namespace zarv::ui
