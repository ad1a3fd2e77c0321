// Painting pictures whose device pixel ratio may be below 1. The table and
// its cards are drawn in units at the pixels they are shown with; on a small
// screen that is fewer than one pixel a unit. Qt follows a picture's ratio
// only from 1 up, so below 1 the painter scales itself, and a picture is
// always drawn into a rect in units, never at a point.
#pragma once

#include <QImage>
#include <QPainter>

namespace zarv::ui {

class UnitPainter : public QPainter {
public:
    explicit UnitPainter(QImage* picture) : QPainter(picture) {
        const double k = picture->devicePixelRatio();
        if (k < 1) scale(k, k);
    }
};

// Where a picture goes with its top left corner at `at`, in units.
inline QRectF UnitsAt(QPointF at, const QImage& picture) {
    const double k = picture.devicePixelRatio();
    return QRectF(at, QSizeF(picture.width() / k, picture.height() / k));
}

} // namespace zarv::ui
