#include "ui/balloon.h"

#include <QCoreApplication>
#include <algorithm>

#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <cmath>

#include "ui/card_pictures.h"
#include "ui/sprite_sheet.h"
#include "ui/suit_shapes.h"
#include "ui/table_window.h"

namespace zarv::ui {

namespace {
constexpr int kBodyHeight = 30;
constexpr int kMargin = 10;
constexpr int kMinWidth = 100;
constexpr int kMaxWidth = 300;
const QColor kBalloonColour(255, 252, 228);
const QColor kTextColour(30, 30, 30);

QFont BalloonFont() {
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(13);
    f.setBold(true);
    return f;
}
} // namespace

BalloonText TakeOutSuitCode(const QString& text) {
    BalloonText out{text};
    const qsizetype p = text.indexOf(QLatin1Char('%'));  // 0-based
    if (text.size() < 5 || p < 1) return out;
    const char letter = text[p - 1].toLatin1();
    out.text = text.left(p - 1) + QStringLiteral("  ") + text.mid(p + 2);
    out.signAt = static_cast<int>(p - 1);
    if (IsSuitLetter(letter)) out.suit = letter;
    return out;
}

QRegion MaskOf(const BalloonShape& shape) {
    // The body and the pointer joined: a region made of each, united, so that
    // where they overlap nothing of the table shows through.
    QPainterPath body;
    body.addRoundedRect(QRectF(shape.body.adjusted(-kMargin, -kMargin, kMargin, kMargin)), 15, 15);
    QRegion region(body.toFillPolygon().toPolygon());
    if (!shape.pointer.isEmpty()) region = region.united(QRegion(shape.pointer));
    return region;
}

QPainterPath BalloonShape::Outline() const {
    // The body and the pointer as one shape (their union), painted and framed
    // as one: no seam and no hole where they overlap.
    QPainterPath path;
    path.addRoundedRect(QRectF(body.adjusted(-kMargin, -kMargin, kMargin, kMargin)), 15, 15);
    if (!pointer.isEmpty()) {
        QPainterPath tip;
        tip.addPolygon(QPolygonF(pointer));
        tip.closeSubpath();
        path = path.united(tip);
    }
    return path;
}

BalloonShape ShapeBalloon(int seat, const QString& text, const GameState& state, int tableWidth, int tableHeight) {
    BalloonShape b;
    const QFontMetrics metrics(BalloonFont());
    int w = std::max(metrics.horizontalAdvance(text) + 20, kMinWidth);
    int h = kBodyHeight;
    if (w > kMaxWidth) {
        w = kMaxWidth;
        b.wrapped = true;
        h = std::max(kBodyHeight, metrics.boundingRect(QRect(0, 0, w - 20, 1000), Qt::TextWordWrap, text).height() + 8);
    }
    const int grow = h - kBodyHeight;  // a wrapped text makes the body taller; the pointer moves down with it
    const double u = state.LayoutUnit;
    // Everything in table units first: the body, and the pointer's tip at the speaker.
    QRect body;
    QPolygon pointer;
    if (seat >= 1 && seat <= 4) {
        const SeatRecord& speaker = state.Seats[seat];
        const int left = static_cast<int>(std::lround(speaker.X + 7 * u));
        const QPoint tip(left + (seat == 2 ? 20 : seat == 4 ? 0 : 10), speaker.Y + 23);
        body = QRect(left + 10, speaker.Y - 42 - grow, w, h);
        // Inside the table, edge and rounded margin included.
        constexpr int kEdge = 6 + kMargin;
        body.moveLeft(std::clamp(body.left(), kEdge, std::max(kEdge, tableWidth - kEdge - w)));
        // No room above the speaker (the top seat): below the tip, pointing up.
        if (body.top() < kEdge) body.moveTop(tip.y() + 35);
        body.moveTop(std::clamp(body.top(), kEdge, std::max(kEdge, tableHeight - kEdge - h)));
        // The pointer leaves the body's edge nearest the speaker and ends at it.
        const int baseLeft = std::clamp(tip.x() - 20, body.left(), std::max(body.left(), body.right() - 40));
        if (tip.y() > body.bottom())
            pointer = QPolygon({QPoint(baseLeft, body.bottom() - 10), tip, QPoint(baseLeft + 40, body.bottom() - 10)});
        else if (tip.y() < body.top())
            pointer = QPolygon({QPoint(baseLeft, body.top() + 10), tip, QPoint(baseLeft + 40, body.top() + 10)});
    } else if (seat == 0) {
        // The table itself speaks: no pointer.
        body = QRect(20, 65, w, std::max(20, h - 10));
    } else {
        body = QRect((tableWidth - w) / 2 + 10, (tableHeight - kBodyHeight) / 2 + 10, w, h);
    }
    // Then in the balloon window's own pixels, its corner on the table.
    b.body = body;
    b.pointer = pointer;
    const QRect all = b.Outline().boundingRect().toAlignedRect();
    b.corner = all.topLeft();
    b.body.translate(-b.corner);
    b.pointer.translate(-b.corner);
    b.window = QSize(all.width() + 3, all.height() + 3);
    return b;
}

Balloon::Balloon(QWidget* owner) : QWidget(owner, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setAttribute(Qt::WA_DeleteOnClose, false);
    setFocusPolicy(Qt::StrongFocus);
}

void Balloon::Prepare(TableWindow& table, int seat, const BalloonText& text) {
    const GameState& s = table.game().state();
    text_ = text;
    sprite_ = table.sprite();
    shape_ = ShapeBalloon(seat, text_.text, s, kTableWidth, kTableHeight);
    // The balloon grows and shrinks with the table it lies on.
    scale_ = table.table().viewScale();
    resize(QSize(static_cast<int>(std::ceil(shape_.window.width() * scale_)),
                 static_cast<int>(std::ceil(shape_.window.height() * scale_))));
    const QPolygonF outline = QTransform::fromScale(scale_, scale_).map(shape_.Outline()).toFillPolygon();
    setMask(QRegion(outline.toPolygon()).united(QRegion(QTransform::fromScale(scale_, scale_).map(QPolygonF(shape_.pointer)).toPolygon())));
    move(table.table().mapToGlobal(table.table().ToWidget(QPointF(shape_.corner)).toPoint()));
}

void Balloon::Say(TableWindow& table, int seat, const QString& text, EventPump& pump,
                  const std::function<bool()>& stop) {
    Balloon b(&table);
    b.Prepare(table, seat, TakeOutSuitCode(text));
    b.setWindowModality(Qt::ApplicationModal);
    b.WaitUntilClosed(pump, kSeconds, stop);
}

Balloon* Balloon::Chat(TableWindow& table, int seat, const QString& text) {
    auto* b = new Balloon(&table);
    b->chat_ = true;
    b->setAttribute(Qt::WA_DeleteOnClose, true);
    b->setAttribute(Qt::WA_ShowWithoutActivating, true);  // the keys stay where they are
    b->setFocusPolicy(Qt::NoFocus);
    BalloonText plain;
    plain.text = text;
    b->Prepare(table, seat, plain);
    b->show();
    QTimer::singleShot(static_cast<int>(ChatSeconds(static_cast<int>(text.size())) * 1000), b, &QWidget::close);
    return b;
}

double Balloon::ChatSeconds(int characters) {
    // Long enough to read at about fifteen characters a second, never
    // shorter than an announcement, never so long that it hides the table.
    return std::clamp(2.0 + characters / 15.0, kSeconds, 15.0);
}

void Balloon::Splash(EventPump& pump, double seconds) {
    Balloon b(nullptr);
    b.picture_ = SplashPicture();
    b.resize(b.picture_.size());
    QPainterPath shape;
    shape.addRoundedRect(QRectF(0, 0, b.width(), b.height()), 7.5, 7.5);
    b.setMask(QRegion(shape.toFillPolygon().toPolygon()));
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        b.move(screen->geometry().center() - QPoint(b.width() / 2, b.height() / 2));
    b.WaitUntilClosed(pump, seconds, [] { return false; });
}

void Balloon::WaitUntilClosed(EventPump& pump, double seconds, const std::function<bool()>& stop) {
    if (stop()) return;  // a closing table shows nothing more
    show();
    raise();
    activateWindow();
    const double deadline = pump.Now() + seconds;
    while (!closed_ && pump.Now() < deadline && !stop()) pump.WaitForEvents(deadline);
    hide();
    // The keys go back to the table (a window manager may not hand them back).
    if (QWidget* owner = parentWidget()) owner->activateWindow();
}

void Balloon::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    if (!picture_.isNull()) {
        p.drawImage(0, 0, picture_);
        p.setPen(QPen(Qt::white, 2));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(QRectF(1, 1, width() - 2, height() - 2), 7.5, 7.5);
        return;
    }
    p.scale(scale_, scale_);
    const QPainterPath outline = shape_.Outline();
    p.fillPath(outline, kBalloonColour);
    p.setPen(QPen(Qt::white, 2));
    p.drawPath(outline);
    p.setPen(QPen(QColor(120, 110, 80), 1));
    p.drawPath(outline.translated(0, 0));
    p.setFont(BalloonFont());
    p.setPen(kTextColour);
    const int flags = shape_.wrapped ? (Qt::AlignCenter | Qt::TextWordWrap) : (Qt::AlignCenter | Qt::TextSingleLine);
    const QRect textBox = shape_.body.adjusted(4, 0, -4, 0);
    p.drawText(textBox, flags, text_.text);
    if (text_.suit != kNoSuit && !shape_.wrapped) {
        // The sign of the suit in the two blanks the code left.
        const QFontMetrics m(BalloonFont());
        const int full = m.horizontalAdvance(text_.text);
        const int start = textBox.left() + (textBox.width() - full) / 2 + m.horizontalAdvance(text_.text.left(text_.signAt));
        const int gap = m.horizontalAdvance(QStringLiteral("  "));
        const QRectF sign(start + (gap - 9) / 2.0, textBox.center().y() - 5, 9, 10);
        p.fillPath(SuitPath(text_.suit, sign), SuitColour(text_.suit));
    }
}

void Balloon::mousePressEvent(QMouseEvent*) {
    closed_ = true;
    if (chat_) close();
}
void Balloon::keyPressEvent(QKeyEvent*) { closed_ = true; }

QImage Balloon::SplashPicture() {
    QImage img(400, 280, QImage::Format_ARGB32_Premultiplied);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient felt(0, 0, 0, 280);
    felt.setColorAt(0, QColor(40, 110, 60));
    felt.setColorAt(1, QColor(20, 64, 36));
    p.fillRect(img.rect(), felt);
    // A fan of the four aces.
    const QImage sprite = sprite::BuildSpriteSheet();
    const char suits[4] = {'h', 'g', 'x', 'p'};
    for (int i = 0; i < 4; ++i) {
        p.save();
        // Pivot and spread keep the last card's corner inside the picture.
        p.translate(282, 262);
        p.rotate(-21 + i * 14);
        p.translate(-37, -190);
        p.setBrush(Qt::white);
        p.setPen(QColor(200, 200, 160));
        p.drawRoundedRect(QRectF(0, 0, 74, 104), 4.5, 4.5);
        p.drawImage(2, 2, PaintCardFace(sprite, CardCode{suits[i], 14}), 2, 2, 70, 100);
        p.restore();
    }
    QFont title(QStringLiteral("Arial"));
    title.setPixelSize(64);
    title.setBold(true);
    p.setFont(title);
    p.setPen(QColor(0, 0, 0, 90));
    p.drawText(QRect(28, 73, 200, 80), Qt::AlignLeft | Qt::AlignVCenter, QCoreApplication::translate("Balloon", "Zarv"));
    p.setPen(QColor(250, 214, 96));
    p.drawText(QRect(25, 70, 200, 80), Qt::AlignLeft | Qt::AlignVCenter, QCoreApplication::translate("Balloon", "Zarv"));
    QFont small(QStringLiteral("Arial"));
    small.setPixelSize(14);
    p.setFont(small);
    p.setPen(QColor(235, 235, 220));
    p.drawText(QRect(28, 150, 220, 20), Qt::AlignLeft, QCoreApplication::translate("Balloon", "Ombrel Card Games"));
    small.setPixelSize(11);
    p.setFont(small);
    p.drawText(QRect(28, 172, 220, 40), Qt::AlignLeft | Qt::TextWordWrap,
               QCoreApplication::translate("Balloon", "Name the ZARV, take seven tricks,\nwin seven points."));
    return img;
}

} // namespace zarv::ui
