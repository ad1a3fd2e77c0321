// Where a window of the program opens: over the game's window, centred, and
// on the screen.
#pragma once

class QWidget;

namespace zarv::ui {

// Moves a window (a dialog, the help) so that it is centred over another,
// and kept inside that window's screen.
void CentreOver(QWidget& window, const QWidget& over);

} // namespace zarv::ui
