#include "ui/sprite_sheet.h"

#include "ui/unit_painter.h"

#include <cmath>

#include <QFont>
#include <QPainter>
#include <QPainterPath>

#include "ui/card_names.h"
#include "ui/suit_shapes.h"

namespace zarv::ui::sprite {

namespace {

const QColor kInk(20, 20, 24);
const QColor kRed(200, 16, 32);
const QColor kGold(222, 170, 40);
const QColor kDarkGold(150, 105, 20);
const QColor kSkin(250, 214, 178);

int RankIndexOf(int i) { return 14 - i; }

// A three-pointed gold crown filling the box, with a red stone at jewelY.
void DrawCrown(QPainter& p, const QRectF& box, double jewelY) {
    const double l = box.left(), t = box.top(), w = box.width(), h = box.height();
    QPainterPath crown;
    crown.moveTo(l, t + h);
    crown.lineTo(l, t + h * 0.22);
    crown.lineTo(l + w * 0.25, t + h * 0.6);
    crown.lineTo(l + w * 0.5, t);
    crown.lineTo(l + w * 0.75, t + h * 0.6);
    crown.lineTo(l + w, t + h * 0.22);
    crown.lineTo(l + w, t + h);
    crown.closeSubpath();
    p.fillPath(crown, kGold);
    p.setPen(QPen(kDarkGold, 0.8));
    p.drawPath(crown);
    p.setPen(Qt::NoPen);
    p.setBrush(kRed);
    p.drawEllipse(QPointF(l + w / 2, jewelY), 1.2, 1.2);
}  // cell i of a row shows rank 14 - i

// Text as a path scaled into the box: crisp at any size. A condensed text
// fills the box's width and height both (the "10" is squeezed, not shrunk).
void DrawFittedText(QPainter& p, const QString& text, const QRectF& box, const QColor& colour, bool condensed = false) {
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(64);
    font.setBold(true);
    QPainterPath path;
    path.addText(0, 0, font, text);
    const QRectF b = path.boundingRect();
    const double scale = std::min(box.width() / b.width(), box.height() / b.height());
    QTransform t;
    t.translate(box.center().x(), box.center().y());
    if (condensed)
        t.scale(box.width() / b.width(), box.height() / b.height());
    else
        t.scale(scale, scale);
    t.translate(-b.center().x(), -b.center().y());
    p.fillPath(t.map(path), colour);
}

void DrawIndexes(QPainter& p) {
    for (int i = 0; i < 13; ++i) {
        const int rank = RankIndexOf(i);
        const QString text = PrintedRank(rank);
        const double w = rank == 10 ? 10 : (rank == 14 || rank == 13 || rank == 12 ? 11 : 9.5);
        for (int row : {kBlackIndexRow, kRedIndexRow}) {
            // The "10" starts at the cell's left edge and stays within the 13
            // pixels a fanned hand leaves of each card.
            const QRectF box(rank == 10 ? i * 15 + 0.5 : i * 15 + (15 - w) / 2, row + 1.5, w, 12);
            DrawFittedText(p, text, box, row == kBlackIndexRow ? kInk : kRed, rank == 10);
        }
    }
}

void DrawSuitSigns(QPainter& p) {
    for (char suit : {'g', 'p', 'h', 'x'}) {
        const int c = SuitColumn(suit);
        p.fillPath(SuitPath(suit, QRectF(c + 1.5, kSmallSuitRow + 0.5, 9, 10)), SuitColour(suit));
        // Pips are centred between the pip column and the trump-sign column.
        p.fillPath(SuitPath(suit, QRectF(c + 2, kPipRow + 1, 12, 13)), SuitColour(suit));
    }
}

// The upper half of a court figure, 42 x 38; the card shows it twice, the
// second time upside down.
enum class Court { King, Queen, Jack };

// Shoulders and robe, the king's with an ermine collar.
void DrawRobe(QPainter& p, Court court) {
    const QColor robe = court == Court::King ? QColor(196, 32, 40)
                        : court == Court::Queen ? QColor(44, 76, 168)
                                                : QColor(34, 124, 66);
    const QColor trim = court == Court::Queen ? QColor(230, 196, 80) : kGold;
    p.setPen(Qt::NoPen);
    // Shoulders and robe.
    QPainterPath body;
    body.moveTo(5, 38);
    body.lineTo(8, 27);
    body.quadTo(21, 21, 34, 27);
    body.lineTo(37, 38);
    body.closeSubpath();
    p.fillPath(body, robe);
    p.setPen(QPen(trim, 1.6));
    p.drawLine(QPointF(21, 24), QPointF(21, 38));
    p.drawLine(QPointF(9, 28), QPointF(33, 28));
    p.setPen(Qt::NoPen);
    if (court == Court::King) {  // an ermine collar
        p.setBrush(Qt::white);
        p.drawRoundedRect(QRectF(12, 23, 18, 4), 2, 2);
        p.setBrush(kInk);
        for (double x : {15.0, 21.0, 27.0}) p.drawEllipse(QPointF(x, 25), 0.7, 0.9);
    }
}

// The face, with the queen's hair behind it.
void DrawHead(QPainter& p, Court court) {
    // Hair behind the face.
    if (court == Court::Queen) {
        p.setBrush(QColor(214, 160, 60));
        p.drawRoundedRect(QRectF(12, 7, 18, 19), 7, 7);
    }
    // Face.
    p.setBrush(kSkin);
    p.drawEllipse(QRectF(15, 9, 12, 13));
    p.setBrush(kInk);
    p.drawEllipse(QPointF(18.8, 15), 0.8, 0.9);
    p.drawEllipse(QPointF(23.2, 15), 0.8, 0.9);
    p.setPen(QPen(QColor(170, 60, 60), 0.9));
    p.drawLine(QPointF(19.8, 19), QPointF(22.2, 19));
    p.setPen(Qt::NoPen);

}

// Beard, crown and sceptre.
void DrawKingsMarks(QPainter& p) {
    p.setBrush(QColor(120, 78, 40));  // beard
    QPainterPath beard;
    beard.moveTo(15.5, 17);
    beard.quadTo(21, 27, 26.5, 17);
    beard.quadTo(21, 21, 15.5, 17);
    p.drawPath(beard);
    DrawCrown(p, QRectF(14, 1, 14, 9), 8);
    p.setPen(QPen(kGold, 1.6));  // sceptre
    p.drawLine(QPointF(35, 36), QPointF(35, 15));
    p.setPen(Qt::NoPen);
    p.setBrush(kGold);
    p.drawEllipse(QPointF(35, 14), 2.2, 2.2);
}

// Tiara and a flower on a stem.
void DrawQueensMarks(QPainter& p) {
    QPainterPath tiara;
    tiara.moveTo(15, 10);
    tiara.quadTo(21, 2, 27, 10);
    tiara.quadTo(21, 7.5, 15, 10);
    p.fillPath(tiara, kGold);
    p.setBrush(QColor(60, 170, 220));
    p.drawEllipse(QPointF(21, 6.5), 1.3, 1.3);
    p.setPen(QPen(QColor(40, 130, 50), 1.2));  // a flower on a stem
    p.drawLine(QPointF(7, 36), QPointF(7, 20));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(226, 60, 90));
    for (int k = 0; k < 5; ++k) {
        const double a = k * 2 * 3.14159265 / 5;
        p.drawEllipse(QPointF(7 + 2.2 * std::cos(a), 18 + 2.2 * std::sin(a)), 1.5, 1.5);
    }
    p.setBrush(kGold);
    p.drawEllipse(QPointF(7, 18), 1.1, 1.1);
}

// Short hair, a feathered cap and a halberd.
void DrawJacksMarks(QPainter& p) {
    p.setBrush(QColor(100, 60, 30));  // short hair
    p.drawRoundedRect(QRectF(14.5, 8, 13, 5), 2, 2);
    QPainterPath cap;
    cap.moveTo(13, 11);
    cap.quadTo(20, 1, 30, 8);
    cap.lineTo(30, 11);
    cap.closeSubpath();
    p.fillPath(cap, QColor(176, 28, 36));
    p.setPen(QPen(Qt::white, 1.3));  // a feather
    p.drawLine(QPointF(27, 7), QPointF(35, 1.5));
    p.setPen(QPen(QColor(120, 120, 128), 1.4));  // halberd
    p.drawLine(QPointF(36, 38), QPointF(36, 6));
    p.setPen(Qt::NoPen);
    QPainterPath blade;
    blade.moveTo(36, 7);
    blade.lineTo(40.5, 9);
    blade.lineTo(36, 14);
    blade.closeSubpath();
    p.fillPath(blade, QColor(170, 170, 180));
}

void DrawCourtHalf(QPainter& p, Court court) {
    DrawRobe(p, court);
    DrawHead(p, court);
    switch (court) {
    case Court::King: DrawKingsMarks(p); break;
    case Court::Queen: DrawQueensMarks(p); break;
    case Court::Jack: DrawJacksMarks(p); break;
    }
}

void DrawCourt(QPainter& sheet, int x, Court court) {
    QImage half(42, 38, QImage::Format_ARGB32_Premultiplied);
    half.fill(Qt::transparent);
    {
        QPainter p(&half);
        p.setRenderHint(QPainter::Antialiasing);
        DrawCourtHalf(p, court);
    }
    const QRect area(x, kFigureRow, 42, 77);
    sheet.save();
    sheet.setPen(Qt::NoPen);
    sheet.setBrush(QColor(252, 246, 228));
    sheet.drawRect(area);
    sheet.drawImage(QPoint(x, kFigureRow), half);
    sheet.drawImage(QPoint(x, kFigureRow + 39), half.mirrored(true, true));
    // The frame of a court card and the line between its two halves.
    sheet.setPen(QPen(kDarkGold, 1));
    sheet.setBrush(Qt::NoBrush);
    sheet.drawRect(QRectF(x + 0.5, kFigureRow + 0.5, 41, 76));
    sheet.setPen(QPen(kInk, 0.8));
    sheet.drawLine(QPointF(x + 1, kFigureRow + 38.5), QPointF(x + 41, kFigureRow + 38.5));
    sheet.restore();
}

void DrawAceOfSpades(QPainter& p) {
    const QRectF area(kAceOfSpadesX, kFigureRow, 42, 77);
    p.save();
    p.setPen(QPen(kGold, 1.4));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(area.center(), 19, 24);
    p.setPen(QPen(kDarkGold, 0.8));
    p.drawEllipse(area.center(), 16.5, 21.5);
    for (int k = 0; k < 8; ++k) {  // small rays around the ring
        const double a = k * 3.14159265 / 4;
        p.drawLine(area.center() + QPointF(17 * std::cos(a), 22 * std::sin(a)),
                   area.center() + QPointF(19.5 * std::cos(a), 24.5 * std::sin(a)));
    }
    p.fillPath(SpadePath(QRectF(area.center().x() - 13, area.center().y() - 15, 26, 30)), kInk);
    p.setBrush(kGold);
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(area.center().x(), area.center().y() - 1), 2.4, 2.4);
    p.restore();
}

void DrawPlainBack(QPainter& p) {
    const QRectF r = kBackDesign0;
    p.save();
    p.fillRect(r, QColor(26, 48, 116));
    p.setClipRect(r.adjusted(3, 3, -3, -3));
    p.setPen(QPen(QColor(110, 140, 210), 1));
    for (int k = -12; k <= 24; ++k) {  // a diamond lattice
        const double x = r.left() + k * 8;
        p.drawLine(QPointF(x, r.top()), QPointF(x + 96 * 0.6, r.bottom()));
        p.drawLine(QPointF(x, r.bottom()), QPointF(x + 96 * 0.6, r.top()));
    }
    p.setClipping(false);
    p.setPen(QPen(Qt::white, 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawRect(r.adjusted(2.5, 2.5, -2.5, -2.5));
    p.setBrush(QColor(26, 48, 116));
    p.setPen(QPen(kGold, 1.5));
    p.drawEllipse(r.center(), 14, 18);
    DrawFittedText(p, QStringLiteral("Z"), QRectF(r.center().x() - 7, r.center().y() - 9, 14, 18), kGold);
    p.restore();
}

void DrawSmallCells(QPainter& p) {
    // The master player's mark: a small crown.
    const QRectF m = kMasterMark;
    DrawCrown(p, QRectF(m.left() + 1.5, m.top() + 2, 12, m.height() - 5), m.bottom() - 5.5);

    // Design 3's ornaments: a rosette and a small heart-shaped leaf pair.
    const QPointF c1 = QRectF(kDesign3Top).center();
    p.setBrush(QColor(180, 20, 40));
    for (int k = 0; k < 6; ++k) {
        const double a = k * 3.14159265 / 3;
        p.drawEllipse(c1 + QPointF(3.6 * std::cos(a), 3.6 * std::sin(a)), 2.6, 2.6);
    }
    p.setBrush(kGold);
    p.drawEllipse(c1, 2.4, 2.4);
    const QRectF b = kDesign3Bottom;
    p.fillPath(DiamondPath(b.adjusted(2, 1, -2, -1)), QColor(180, 20, 40));
    p.fillPath(DiamondPath(b.adjusted(5, 4, -5, -4)), kGold);
}

} // namespace

int SuitColumn(char suit) {
    switch (suit) {
    case 'g': return 0;
    case 'p': return 15;
    case 'h': return 30;
    default: return 45;
    }
}

QImage BuildSpriteSheet(double scale) {
    QImage sheet(static_cast<int>(std::ceil(kWidth * scale - 1e-9)), static_cast<int>(std::ceil(kHeight * scale - 1e-9)),
                 QImage::Format_ARGB32_Premultiplied);
    sheet.setDevicePixelRatio(scale);
    sheet.fill(Qt::transparent);
    UnitPainter p(&sheet);
    p.setRenderHint(QPainter::Antialiasing);
    DrawIndexes(p);
    DrawSuitSigns(p);
    DrawCourt(p, kKingX, Court::King);
    DrawCourt(p, kQueenX, Court::Queen);
    DrawCourt(p, kJackX, Court::Jack);
    DrawAceOfSpades(p);
    DrawPlainBack(p);
    DrawSmallCells(p);
    return sheet;
}

} // namespace zarv::ui::sprite
