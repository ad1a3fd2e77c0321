// The four suit signs as paths, in any size: clubs ('g'), spades ('p'),
// hearts ('h') and diamonds ('x').
#pragma once

#include <QColor>
#include <QPainterPath>
#include <QRectF>

namespace zarv::ui {

QPainterPath HeartPath(const QRectF& r);
QPainterPath DiamondPath(const QRectF& r);
QPainterPath ClubPath(const QRectF& r);
QPainterPath SpadePath(const QRectF& r);
QPainterPath SuitPath(char suit, const QRectF& r);
// Black for clubs and spades, red for hearts and diamonds.
QColor SuitColour(char suit);

} // namespace zarv::ui
