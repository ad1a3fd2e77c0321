#include "ui/placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace zarv::ui {

void CentreOver(QWidget& window, const QWidget& over) {
    // A window not sized by hand yet takes the size its contents ask for.
    if (!window.testAttribute(Qt::WA_Resized)) window.adjustSize();
    QRect frame(QPoint(), window.size());
    frame.moveCenter(over.frameGeometry().center());
    if (const QScreen* screen = over.screen() ? over.screen() : QGuiApplication::primaryScreen()) {
        const QRect room = screen->availableGeometry();
        frame.moveLeft(std::clamp(frame.left(), room.left(), std::max(room.left(), room.right() - frame.width() + 1)));
        frame.moveTop(std::clamp(frame.top(), room.top(), std::max(room.top(), room.bottom() - frame.height() + 1)));
    }
    window.move(frame.topLeft());
}

} // namespace zarv::ui
