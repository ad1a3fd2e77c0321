#include "ui/watch_view.h"

#include "ui/notice_words.h"

#include <QPainter>
#include <QPainterPath>

#include "ui/card_names.h"
#include "ui/card_pictures.h"
#include "ui/table_status.h"

namespace zarv::ui {

namespace {

// The seats as the person at the machine sees a table: 1 at the bottom,
// then round to the left, the top and the right.
QPointF SeatCentre(int seat, const QRectF& area) {
    switch (seat) {
    case 1: return {area.center().x(), area.bottom() - area.height() * 0.16};
    case 2: return {area.left() + area.width() * 0.14, area.center().y()};
    case 3: return {area.center().x(), area.top() + area.height() * 0.16};
    default: return {area.right() - area.width() * 0.14, area.center().y()};
    }
}

} // namespace

WatchView::WatchView(FacePainter faces, QWidget* parent) : QWidget(parent), faces_(std::move(faces)) {
    setMinimumSize(480, 360);
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(tr("The watched table"));
}

void WatchView::SetLook(const QColor& felt, const QImage& back) {
    felt_ = felt;
    back_ = back;
    update();
}

void WatchView::Show(const net::WatchedTable& table, const QString& tableName) {
    table_ = table;
    name_ = tableName;
    update();
}

const QImage& WatchView::Face(CardCode card) {
    const int key = static_cast<int>(card.suit) * 100 + card.rank;
    auto it = faceCache_.find(key);
    if (it == faceCache_.end()) it = faceCache_.emplace(key, faces_(card)).first;
    return it->second;
}

void WatchView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    const QRectF area = QRectF(rect()).adjusted(6, 6, -6, -6);
    QPainterPath felt;
    felt.addRoundedRect(area, 40, 40);
    p.fillPath(felt, felt_);
    p.setPen(QPen(felt_.darker(160), 3));
    p.drawPath(felt);

    // Cards a little smaller than at play: the whole table fits any window.
    Look look;
    look.area = area;
    look.scale = std::clamp(std::min(area.width() / 900.0, area.height() / 680.0), 0.45, 1.2);
    look.card = QSizeF(kCardW * look.scale, kCardH * look.scale);
    look.ink = felt_.lightness() > 140 ? Qt::black : Qt::white;
    QFont font = p.font();
    font.setPointSizeF(std::max(8.0, 11 * look.scale));
    p.setFont(font);
    for (int seat = 1; seat <= 4; ++seat) PaintSeat(p, look, seat);
    PaintTrick(p, look);
    PaintStanding(p, look);
}

void WatchView::PaintSeat(QPainter& p, const Look& look, int seat) {
    const QSizeF card = look.card;
    const QPointF c = SeatCentre(seat, look.area);
    const int held = table_.CardsHeld(seat);
    // The backs of the cards still held, fanned along the seat's side.
    const bool across = seat == 1 || seat == 3;
    const double step = (across ? card.width() : card.height()) * 0.22;
    const double length = (across ? card.width() : card.height()) + step * std::max(0, held - 1);
    for (int k = 0; k < held; ++k) {
        QRectF r(QPointF(), card);
        if (across) r.moveCenter({c.x() - length / 2 + card.width() / 2 + k * step, c.y()});
        else r.moveCenter({c.x(), c.y() - length / 2 + card.height() / 2 + k * step});
        if (!back_.isNull()) p.drawImage(r, back_);
        else p.fillRect(r, Qt::darkBlue);
    }
    // The plate: name, who plays it, and the HAKEM's mark.
    const QString who = QString::fromStdString(table_.names[static_cast<size_t>(seat)]).trimmed();
    const QString kind = table_.person[static_cast<size_t>(seat)] ? tr("[Human]") : tr("[Computer]");
    QString plate = who.isEmpty() ? tr("Seat %1").arg(seat) : who + QStringLiteral("  ") + kind;
    if (table_.hakem == seat && table_.hand > 0) plate += QStringLiteral("  \u265B ") + tr("HAKEM");
    // Beside the cards on the table's side: above the bottom hand, below
    // the top one, above the hands at the sides.
    QRectF label(0, 0, 260 * look.scale + 80, 24 * look.scale + 8);
    const double offset = card.height() / 2 + label.height() / 2 + 4;
    const double sideTop = c.y() - std::max(length, card.height()) / 2;
    label.moveCenter(seat == 1   ? c - QPointF(0, offset)
                     : seat == 3 ? c + QPointF(0, offset)
                                 : QPointF(c.x(), sideTop - label.height() / 2 - 4));
    p.setPen(look.ink);
    p.drawText(label, Qt::AlignCenter, plate);
    // The seat the table waits for is lit, as at play.
    if (table_.turn == seat) {
        const QRectF text = p.boundingRect(label, Qt::AlignCenter, plate);
        p.setPen(QPen(QColor(255, 215, 0), 2));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(text.adjusted(-8, -3, 8, 3), 6, 6);
    }
}

void WatchView::PaintTrick(QPainter& p, const Look& look) {
    // Each card a little towards its player; the winner's framed.
    const QPointF middle = look.area.center();
    const QPointF toward[5] = {{}, {0, 0.62}, {-1.1, 0}, {0, -0.62}, {1.1, 0}};
    for (int seat = 1; seat <= 4; ++seat) {
        const CardCode c = table_.trick[static_cast<size_t>(seat)];
        if (c.empty()) continue;
        QRectF r(QPointF(), look.card);
        r.moveCenter(middle + QPointF(toward[seat].x() * look.card.width(), toward[seat].y() * look.card.height()));
        p.drawImage(r, Face(c));
        if (table_.trickWinner == seat) {
            p.setPen(QPen(QColor(255, 215, 0), 3));
            p.drawRoundedRect(r.adjusted(-2, -2, 2, 2), 6, 6);
        }
    }
}

QString WatchView::SeatLabel(int seat) const {
    const QString name = QString::fromStdString(table_.names[static_cast<size_t>(seat)]).trimmed();
    return name.isEmpty() ? tr("Seat %1").arg(seat) : name;
}

void WatchView::PaintStanding(QPainter& p, const Look& look) {
    // What the table stands at, in the top left corner.
    // Seats 1 and 3 play together against 2 and 4.
    QStringList lines;
    lines << name_;
    if (table_.hand > 0)
        lines << tr("Hand %1   ZARV %2").arg(table_.hand).arg(table_.trump == kNoSuit ? QStringLiteral("-") : SuitSign(table_.trump));
    // Each side by its players' names, with its tricks in this hand and its points.
    auto side = [&](int first, int second, int tricks, int points) {
        const QString a = SeatLabel(first), b = SeatLabel(second);
        return table_.hand > 0 ? tr("%1 and %2: %3, %4").arg(a, b, TrickCount(tricks), PointCount(points))
                               : tr("%1 and %2: %3").arg(a, b, PointCount(points));
    };
    lines << side(1, 3, table_.tricksA, table_.pointsA) << side(2, 4, table_.tricksB, table_.pointsB);
    if (table_.turn != 0)
        lines << (table_.trump == kNoSuit ? tr("%1 is choosing the ZARV.") : tr("%1 to play.")).arg(SeatLabel(table_.turn));
    if (table_.gameOver) lines << tr("The game is over.");
    if (table_.hand == 0 && !table_.gameOver) lines << tr("Waiting for the game to begin...");
    if (!table_.closed.empty()) lines << FromWire(table_.closed);
    p.setPen(look.ink);
    const QRectF& area = look.area;
    const QRectF corner(area.left() + 30, area.top() + 20,
                        std::max(120.0, SeatCentre(3, area).x() - 140 * look.scale - area.left() - 40), area.height() * 0.3);
    p.drawText(corner, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, lines.join('\n'));
}

} // namespace zarv::ui
