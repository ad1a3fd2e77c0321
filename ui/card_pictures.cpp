#include "ui/card_pictures.h"

#include "ui/unit_painter.h"

#include <QCoreApplication>
#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <cmath>

#include "engine/table_layout.h"
#include "ui/colour.h"
#include "ui/sprite_sheet.h"

namespace zarv::ui {

namespace {

double Px(double v) { return std::nearbyint(v); }  // half-pixel places: nearest, halves to even


struct Pip {
    double x, y;
    bool up;
};

// The pips of ranks 2 to 10, in the order they are drawn.
std::vector<Pip> PipsOf(int rank) {
    const std::vector<Pip> four = {{16, 10, true}, {16.5, 94, false}, {42.5, 10, true}, {42.5, 94, false}};
    const std::vector<Pip> sides = {{16, 30, true}, {16.5, 74, false}, {42.5, 30, true}, {42.5, 74, false}};
    std::vector<Pip> pips;
    auto add = [&](const std::vector<Pip>& more) { pips.insert(pips.end(), more.begin(), more.end()); };
    switch (rank) {
    case 2: pips = {{29.5, 10, true}, {29.5, 94, false}}; break;
    case 3: pips = {{29.5, 46.5, true}, {29.5, 10, true}, {29.5, 94, false}}; break;
    case 4: pips = four; break;
    case 5: pips = {{29.5, 46.5, true}}; add(four); break;
    case 6: pips = four; add({{16, 44.5, true}, {42.5, 44.5, true}}); break;
    case 7: pips = {{29.5, 25, true}}; add(PipsOf(6)); break;
    case 8: pips = sides; add(four); break;
    case 9:
        pips = {{29.5, 46.5, true}};
        add(four);
        add(sides);
        pips.push_back({29.5, 46.5, true});  // the centre pip twice: it looks the same
        break;
    case 10: pips = four; add({{29.5, 20, true}, {29.5, 84, false}}); add(sides); break;
    default: break;
    }
    return pips;
}

void Text(QPainter& p, const QRectF& box, const QString& text, double points, bool bold, const QColor& colour,
          int flags) {
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(points * 96.0 / 72.0))));
    font.setBold(bold);
    p.setFont(font);
    p.setPen(colour);
    p.drawText(box, flags | Qt::TextSingleLine, text);
}

} // namespace

void CopyCell(QPainter& p, const QImage& sprite, double x, double y, double w, double h, const QRect& cell) {
    if (w == 0) w = cell.width();
    if (h == 0) h = cell.height();
    // The cell in the sprite's own pixels, which may be finer than the table's units.
    const double ks = sprite.devicePixelRatio();
    const QRect pixels = ks == 1 ? cell
                                 : QRectF(cell.x() * ks, cell.y() * ks, cell.width() * ks, cell.height() * ks).toAlignedRect();
    const QImage part = sprite.copy(pixels).mirrored(w < 0, h < 0);
    // Placed on whole pixels of the target, so that a cell is copied, not resampled.
    const double k = p.device() ? p.device()->devicePixelRatioF() : 1.0;
    const double left = w < 0 ? x + w : x, top = h < 0 ? y + h : y;
    p.drawImage(QRectF(Px(left * k) / k, Px(top * k) / k, std::fabs(w), std::fabs(h)), part);
}

QImage BlankPicture(int width, int height, double scale) {
    QImage image(static_cast<int>(std::ceil(width * scale - 1e-9)), static_cast<int>(std::ceil(height * scale - 1e-9)),
                 QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(scale);
    return image;
}

QImage PaintCardFace(const QImage& sprite, CardCode card) {
    QImage face = BlankPicture(kCardW, kCardH, sprite.devicePixelRatio());
    face.fill(Qt::white);
    UnitPainter p(&face);
    p.setRenderHint(QPainter::SmoothPixmapTransform, false);
    const int r = card.rank;
    const int c = sprite::SuitColumn(card.suit);
    const int row = (card.suit == 'h' || card.suit == 'x') ? sprite::kRedIndexRow : sprite::kBlackIndexRow;
    const int indexX = sprite::RankIndexX(r);
    const QRect smallSign(c, sprite::kSmallSuitRow, 12, 11);
    const QRect pip(c, sprite::kPipRow, 15, 15);

    CopyCell(p, sprite, 2, 2, 0, 0, QRect(indexX, row, 15, 15));
    CopyCell(p, sprite, 2, 17, 0, 0, smallSign);
    CopyCell(p, sprite, 70, 100, -15, -15, QRect(indexX + 1, row + 1, 15, 15));
    CopyCell(p, sprite, 59, 85, 0, -11, smallSign);

    auto drawPip = [&](double x, double y, bool up) { CopyCell(p, sprite, x, y, 15, up ? 15 : -15, pip); };
    const QRect figureCell = [&] {
        const int x = r == 13 ? sprite::kKingX : r == 12 ? sprite::kQueenX : sprite::kJackX;
        return QRect(x, sprite::kFigureRow, 42, 77);
    }();
    switch (r) {
    case 11:
    case 12:
        CopyCell(p, sprite, 16, 14.5, 0, 0, figureCell);
        drawPip(14.5, 92, false);
        drawPip(44.5, 13, true);
        break;
    case 13:
        CopyCell(p, sprite, 16, 14.5, 0, 0, figureCell);
        drawPip(14, 13, true);
        drawPip(44.5, 92, false);
        break;
    case 14:
        if (card.suit == 'p')
            CopyCell(p, sprite, 16, 14.5, 0, 0, QRect(sprite::kAceOfSpadesX, sprite::kFigureRow, 42, 77));
        else
            drawPip(29.5, card.suit == 'g' ? 42.5 : card.suit == 'x' ? 44.5 : 46.5, true);
        break;
    default:
        for (const Pip& q : PipsOf(r)) drawPip(q.x, q.y, q.up);
    }
    return face;
}

QImage DrawDeck(const QImage& sprite, int design, uint32_t c1, uint32_t c2, uint32_t c3) {
    QImage card = BlankPicture(kCardW, kCardH, sprite.devicePixelRatio());
    card.fill(Qt::white);
    UnitPainter p(&card);
    p.setRenderHint(QPainter::Antialiasing);
    CopyCell(p, sprite, 4, 4, 0, 0, sprite::kBackDesign0);
    const QColor k1 = ToQColor(c1), k2 = ToQColor(c2), k3 = ToQColor(c3), white(Qt::white);
    auto box = [&](double l, double t, double r, double b) { return QRectF(l, t, r - l, b - t); };
    switch (design) {
    case 1:
        p.setPen(QPen(k3, 2));
        p.setBrush(k1);
        p.drawRoundedRect(box(5, 5, 69, 99), 3.5, 3.5);
        Text(p, box(0, 15, 74, 35), QStringLiteral("Ombrel"), 9, true, k3, Qt::AlignHCenter | Qt::AlignBottom);
        Text(p, box(0, 35, 74, 52), QStringLiteral("Card Games"), 5, false, k3, Qt::AlignHCenter | Qt::AlignBottom);
        Text(p, box(0, 52, 74, 104), QStringLiteral("Zarv"), 15, false, k2, Qt::AlignHCenter | Qt::AlignTop);
        break;
    case 2:
        p.setPen(Qt::NoPen);
        p.fillRect(box(0, 0, 74, 104), white);
        p.setBrush(k2);
        p.drawRoundedRect(box(5, 5, 69, 99), 3.5, 3.5);
        p.setClipRect(box(5, 5, 69, 99));
        p.setBrush(white);
        p.drawEllipse(box(7, 0, 222, 222));
        p.setBrush(k1);
        p.drawEllipse(box(10, 10, 222, 222));
        p.setBrush(white);
        p.drawEllipse(box(10, 27, 222, 222));
        p.setClipping(false);
        break;
    case 3: {
        p.setPen(QPen(white, 1));
        p.setBrush(k1);
        p.drawRect(box(5, 5, 69, 99));
        p.drawRect(box(10, 10, 64, 94));
        p.drawEllipse(box(10, 10, 64, 94));
        p.setBrush(white);
        p.drawEllipse(box(15, 15, 59, 89));
        p.setBrush(k1);
        p.drawRect(box(10, 42, 64, 62));
        Text(p, box(10, 42, 64, 62), QStringLiteral("Z.A.R.V"), 9, true, k2, Qt::AlignCenter);
        const double x = std::nearbyint((74 - 15) / 2.0);
        CopyCell(p, sprite, x, 42 - 20 - 15, 0, 0, sprite::kDesign3Top);
        CopyCell(p, sprite, x, 62 + 20 + 15, 15, -15, sprite::kDesign3Bottom);
        break;
    }
    case 4:
        p.setPen(Qt::NoPen);
        p.fillRect(box(5, 5, 69, 99), k1);
        p.fillRect(box(5, 30, 69, 99), k2);
        p.fillRect(box(5, 57, 69, 99), k3);
        break;
    default: break;  // design 0, and any number outside 0..4
    }
    return card;
}

QImage GiveUpPicture(double scale) {
    // A white flag on a pole, on a small dark plate: "I give up this hand".
    QImage img = BlankPicture(layout::kGiveUpWidth, layout::kGiveUpHeight, scale);
    img.fill(Qt::transparent);
    UnitPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(30, 30, 30, 200));
    p.setPen(QPen(QColor(230, 230, 210), 1));
    p.drawRoundedRect(QRectF(0.5, 0.5, layout::kGiveUpWidth - 1, layout::kGiveUpHeight - 1), 7, 7);
    // The flag above, its word below across the whole plate: room for the
    // taller Persian letters too.
    p.setPen(QPen(QColor(150, 110, 60), 2));
    p.drawLine(QPointF(14, 4), QPointF(14, 22));
    QPainterPath flag;
    flag.moveTo(15, 5);
    flag.cubicTo(23, 2, 29, 10, 42, 6);
    flag.lineTo(42, 16);
    flag.cubicTo(29, 20, 23, 12, 15, 15);
    flag.closeSubpath();
    p.fillPath(flag, Qt::white);
    p.setPen(QColor(240, 240, 240));
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(10);
    f.setBold(true);
    p.setFont(f);
    p.drawText(QRectF(2, 22, layout::kGiveUpWidth - 4, 17), Qt::AlignCenter, QCoreApplication::translate("CardPictures", "Give up"));
    return img;
}

} // namespace zarv::ui
