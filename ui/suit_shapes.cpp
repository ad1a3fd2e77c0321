#include "ui/suit_shapes.h"

namespace zarv::ui {

namespace {
// The flared stem under a club or a spade, from `from` (a fraction of the height) down.
QPainterPath StemPath(const QRectF& r, double from, double bend) {
    const double x = r.x(), y = r.y(), w = r.width(), h = r.height();
    QPainterPath stem;
    stem.moveTo(x + w * 0.5, y + h * from);
    stem.quadTo(x + w * 0.52, y + h * bend, x + w * 0.72, y + h);
    stem.lineTo(x + w * 0.28, y + h);
    stem.quadTo(x + w * 0.48, y + h * bend, x + w * 0.5, y + h * from);
    return stem;
}
} // namespace

// Each shape fills the rectangle it is given, keeping the proportions of a
// printed pip (a little taller than wide).
QPainterPath HeartPath(const QRectF& r) {
    const double x = r.x(), y = r.y(), w = r.width(), h = r.height();
    QPainterPath p;
    p.moveTo(x + w * 0.5, y + h);
    p.cubicTo(x + w * 0.42, y + h * 0.82, x, y + h * 0.62, x, y + h * 0.3);
    p.cubicTo(x, y + h * 0.08, x + w * 0.18, y, x + w * 0.28, y);
    p.cubicTo(x + w * 0.4, y, x + w * 0.48, y + h * 0.1, x + w * 0.5, y + h * 0.22);
    p.cubicTo(x + w * 0.52, y + h * 0.1, x + w * 0.6, y, x + w * 0.72, y);
    p.cubicTo(x + w * 0.82, y, x + w, y + h * 0.08, x + w, y + h * 0.3);
    p.cubicTo(x + w, y + h * 0.62, x + w * 0.58, y + h * 0.82, x + w * 0.5, y + h);
    p.closeSubpath();
    return p;
}

QPainterPath DiamondPath(const QRectF& r) {
    const double x = r.x(), y = r.y(), w = r.width(), h = r.height();
    QPainterPath p;
    p.moveTo(x + w * 0.5, y);
    p.quadTo(x + w * 0.72, y + h * 0.3, x + w * 0.95, y + h * 0.5);
    p.quadTo(x + w * 0.72, y + h * 0.7, x + w * 0.5, y + h);
    p.quadTo(x + w * 0.28, y + h * 0.7, x + w * 0.05, y + h * 0.5);
    p.quadTo(x + w * 0.28, y + h * 0.3, x + w * 0.5, y);
    p.closeSubpath();
    return p;
}

QPainterPath ClubPath(const QRectF& r) {
    const double x = r.x(), y = r.y(), w = r.width(), h = r.height();
    const double d = w * 0.46;  // leaf diameter
    QPainterPath p;
    p.setFillRule(Qt::WindingFill);
    p.addEllipse(QRectF(x + (w - d) / 2, y, d, d));
    p.addEllipse(QRectF(x, y + h * 0.34, d, d));
    p.addEllipse(QRectF(x + w - d, y + h * 0.34, d, d));
    p.addRect(QRectF(x + w * 0.4, y + h * 0.3, w * 0.2, h * 0.3));
    p.addPath(StemPath(r, 0.45, 0.85));
    return p.simplified();
}

QPainterPath SpadePath(const QRectF& r) {
    const double x = r.x(), y = r.y(), w = r.width(), h = r.height();
    QPainterPath p;
    p.setFillRule(Qt::WindingFill);
    // An upside-down heart for the blade.
    QPainterPath blade;
    blade.moveTo(x + w * 0.5, y);
    blade.cubicTo(x + w * 0.6, y + h * 0.16, x + w, y + h * 0.32, x + w, y + h * 0.58);
    blade.cubicTo(x + w, y + h * 0.76, x + w * 0.84, y + h * 0.82, x + w * 0.72, y + h * 0.82);
    blade.cubicTo(x + w * 0.6, y + h * 0.82, x + w * 0.52, y + h * 0.74, x + w * 0.5, y + h * 0.66);
    blade.cubicTo(x + w * 0.48, y + h * 0.74, x + w * 0.4, y + h * 0.82, x + w * 0.28, y + h * 0.82);
    blade.cubicTo(x + w * 0.16, y + h * 0.82, x, y + h * 0.76, x, y + h * 0.58);
    blade.cubicTo(x, y + h * 0.32, x + w * 0.4, y + h * 0.16, x + w * 0.5, y);
    blade.closeSubpath();
    p.addPath(blade);
    p.addPath(StemPath(r, 0.6, 0.9));
    return p.simplified();
}

QPainterPath SuitPath(char suit, const QRectF& r) {
    switch (suit) {
    case 'g': return ClubPath(r);
    case 'p': return SpadePath(r);
    case 'h': return HeartPath(r);
    default: return DiamondPath(r);
    }
}

QColor SuitColour(char suit) {
    return (suit == 'h' || suit == 'x') ? QColor(200, 16, 32) : QColor(20, 20, 24);
}

} // namespace zarv::ui
