// The pictures of the cards: one 74 x 104 face per card, built from the
// sprite picture, and the back in one of five designs.
#pragma once

#include <QImage>
#include <cstdint>

#include "engine/card.h"

namespace zarv::ui {

constexpr int kCardW = 74;
constexpr int kCardH = 104;

// Copies a sprite cell to (x, y), at its own size or at w x h; a negative
// size mirrors the cell, which then extends left or up from (x, y).
void CopyCell(QPainter& p, const QImage& sprite, double x, double y, double w, double h, const QRect& cell);
// An image of width x height units at scale device pixels a unit (its contents undefined).
QImage BlankPicture(int width, int height, double scale);
// The give-up flag: a white flag on a pole, on a small dark plate.
QImage GiveUpPicture(double scale = 1.0);

// A card picture has the resolution of the sprite it is made from.
QImage PaintCardFace(const QImage& sprite, CardCode card);
// The back of the cards in design 0..4 from the three deck colours (0x00BBGGRR).
QImage DrawDeck(const QImage& sprite, int design, uint32_t c1, uint32_t c2, uint32_t c3);

} // namespace zarv::ui
