#include "ui/table_view.h"

#include "ui/language.h"

#include "engine/table_layout.h"

#include <QMouseEvent>
#include <QPainter>
#include <QRandomGenerator>
#include <algorithm>
#include <cmath>

#include "ui/unit_painter.h"

#include "ui/card_pictures.h"
#include "ui/sprite_sheet.h"

namespace zarv::ui {

namespace {

// A rectangle from (l, t) to (r, b) with corner ellipses cw x ch, outline inside.
void RoundRect(QPainter& p, double l, double t, double r, double b, double cw, double ch) {
    p.drawRoundedRect(QRectF(l + 0.5, t + 0.5, r - l - 1, b - t - 1), cw / 2, ch / 2);
}

QFont TableFont(int pixels, bool bold) {
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

QRect CardRect(int x, int y, int depth) { return QRect(x, y, kCardW + depth + 4, kCardH + depth + 4); }

// A rectangle of table units in the image's own pixels.
QRect InPixels(const QImage& image, const QRectF& r) {
    const double k = image.devicePixelRatio();
    if (k == 1) return r.toRect();
    return QRectF(r.x() * k, r.y() * k, r.width() * k, r.height() * k).toAlignedRect();
}

// An image of the table's size in units, at scale device pixels a unit.
QImage TableImage(double scale) {
    QImage image(static_cast<int>(std::ceil(kTableWidth * scale - 1e-9)), static_cast<int>(std::ceil(kTableHeight * scale - 1e-9)),
                 QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(scale);
    return image;
}

// Keeps only the colour bits that the pixels share with mask (a bitwise AND),
// as a shadow laid over the table does. Done on the pixels themselves: a
// painter's raster operations are many times slower. r is in table units.
void AndPixels(QImage& image, const QRect& units, QRgb mask) {
    QRect r = InPixels(image, units) & image.rect();
    for (int y = r.top(); y <= r.bottom(); ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = r.left(); x <= r.right(); ++x) line[x] &= mask;
    }
}

} // namespace

TableView::TableView(const GameState& state, const QImage& sprite, QWidget* parent)
    : QWidget(parent), s_(state), sprite_(sprite) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    SetPixelScale(1.0);
}

void TableView::SetPixelScale(double scale) {
    // Drawn at the size shown: a table smaller than the design is as sharp
    // as a larger one (the window never gets smaller than kMinimumScale).
    if (!(scale >= kMinimumScale / 2 && scale < 16)) scale = 1.0;
    const bool changed = scale != pixelScale_ || surface_.isNull();
    pixelScale_ = scale;
    if (!changed) return;
    surface_ = TableImage(scale);
    surface_.fill(palette().window().color());
    feltKey_.clear();
    boardKey_.clear();
    if (pixelScaleChanged) pixelScaleChanged(scale);
    if (!gameStarted)
        DrawWelcome();
    else
        RefreshPage();
}

void TableView::FitToWidget() {
    // The largest table that fits, its shape kept, on whole device pixels.
    const double ratio = devicePixelRatioF();
    const double fit = std::min(width() / double(kTableWidth), height() / double(kTableHeight));
    if (fit <= 0) return;
    viewScale_ = fit;
    SetPixelScale(fit * ratio);
    update();
}

void TableView::resizeEvent(QResizeEvent*) { FitToWidget(); }

QSize TableView::minimumSizeHint() const {
    // The smallest table whose names and card indexes can still be read.
    return QSize(static_cast<int>(std::ceil(kTableWidth * kMinimumScale)), static_cast<int>(std::ceil(kTableHeight * kMinimumScale)));
}

QRectF TableView::TableArea() const {
    // Centred, its corner on a whole device pixel.
    const double ratio = devicePixelRatioF();
    const double w = kTableWidth * viewScale_, h = kTableHeight * viewScale_;
    const double left = std::floor((width() - w) / 2 * ratio) / ratio, top = std::floor((height() - h) / 2 * ratio) / ratio;
    return QRectF(std::max(0.0, left), std::max(0.0, top), w, h);
}

QRect TableView::ToWidget(const QRectF& r) const {
    const QPointF a = ToWidget(r.topLeft()), b = ToWidget(r.bottomRight());
    return QRectF(a, b).toAlignedRect().adjusted(-1, -1, 1, 1);
}

QColor TableView::ColourAt(QPointF at) const {
    const double k = surface_.devicePixelRatio();
    return surface_.pixelColor(QPoint(static_cast<int>(at.x() * k), static_cast<int>(at.y() * k)));
}

void TableView::SetColours(const TableColours& colours) {
    colours_ = colours;
    SetCardPictures(std::move(pictures_));  // the outline takes the frame colour
}

void TableView::SetCardPictures(std::vector<QImage> pictures) {
    pictures_ = std::move(pictures);
    cards_.clear();
    for (const QImage& picture : pictures_) {
        const double k = picture.devicePixelRatio();
        QImage card = BlankPicture(kCardW + 1, kCardH + 1, k);
        card.fill(Qt::transparent);
        UnitPainter p(&card);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(colours_.frame);
        p.setBrush(colours_.face);
        RoundRect(p, 0, 0, kCardW, kCardH, 9, 9);
        p.drawImage(QRectF(2, 2, kCardW - 4, kCardH - 4), picture, QRectF(2 * k, 2 * k, (kCardW - 4) * k, (kCardH - 4) * k));
        cards_.push_back(card);
    }
    feltKey_.clear();
}

void TableView::SetBackPicture(const QImage& back) {
    if (pictures_.empty()) return;  // no game yet: the back is painted with the faces
    pictures_[0] = back;
    SetCardPictures(std::move(pictures_));
}

void TableView::DrawWelcome() {
    UnitPainter p(&surface_);
    const int w = kTableWidth, h = kTableHeight;
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(colours_.background);
    p.setPen(Qt::black);
    RoundRect(p, 2, 2, w - 2, h - 2, 60, 60);
    p.setPen(colours_.edge);
    p.setBrush(Qt::NoBrush);
    RoundRect(p, 6, 6, w - 6, h - 6, 60, 60);
    p.setFont(TableFont(16, true));
    p.setPen(TextOn(colours_.background));
    p.drawText(QRect(0, 0, w, h), Qt::AlignCenter, tr("Press F2 or choose Game > Start to deal"));
    update();
}

double TableView::Luminance(const QColor& c) {
    auto channel = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}

double TableView::Contrast(const QColor& a, const QColor& b) {
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor TableView::TextOn(const QColor& plate) {
    // Whichever of white and black stands out more from the plate.
    const QColor light(255, 255, 255), dark(0, 0, 0);
    return Contrast(light, plate) >= Contrast(dark, plate) ? light : dark;
}

void TableView::SetTurnSeat(int seat) {
    if (seat == turnSeat_) return;
    turnSeat_ = seat;
    RefreshPage();
}

void TableView::SetRaisedCard(int d) {
    if (d == raisedCard_) return;
    raisedCard_ = d;
    RefreshPage();
}

void TableView::DrawTurnMarkerWith(QPainter& p) {
    if (turnSeat_ < 1 || turnSeat_ > 4) return;
    // A lit frame around the name plate of the seat to move.
    const SeatRecord& seat = s_.Seats[turnSeat_];
    const QRectF plate(seat.X + 36, seat.Y + 113, 78, 34);  // around the name and kind
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(255, 214, 64), 3));
    p.drawRoundedRect(plate, 8, 8);
}


void TableView::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    const QRectF area = TableArea();
    // Around a table narrower or lower than the widget: the window's colour.
    // (The table's own pixels are only those it covers whole: a column it
    // covers in part is filled first, then painted over.)
    const QRect inner(QPoint(static_cast<int>(std::ceil(area.left())), static_cast<int>(std::ceil(area.top()))),
                      QPoint(static_cast<int>(std::floor(area.right())) - 1, static_cast<int>(std::floor(area.bottom())) - 1));
    const QRegion around = QRegion(event->rect()) - QRegion(inner);
    for (const QRect& r : around) p.fillRect(r, palette().window());
    // Shown at its own resolution, except in a window smaller than the design.
    p.setRenderHint(QPainter::SmoothPixmapTransform, std::abs(viewScale_ * devicePixelRatioF() - pixelScale_) > 1e-9);
    p.drawImage(area, surface_);
}

void TableView::mousePressEvent(QMouseEvent* event) { emit mousePressed(ToTable(event->position())); }
void TableView::mouseMoveEvent(QMouseEvent* event) { emit mouseMoved(ToTable(event->position())); }

void TableView::RefreshPage() {
    if (!gameStarted) return;
    RenderTable(surface_, 0);
    update();
}

void TableView::RenderTable(QImage& target, int leaveOutLast) {
    // The felt and seats change only with the layout, the names and the colours.
    QString key = QStringLiteral("%1 %2 %3 %4 ").arg(target.width()).arg(target.height()).arg(s_.LayoutUnit).arg(s_.LocalSeat);
    key += colours_.background.name() + colours_.strongA.name() + colours_.strongB.name() + colours_.lightA.name() +
           colours_.lightB.name() + colours_.edge.name();
    key += QString::number(static_cast<int>(CurrentLanguage()));  // the board's words and digits
    for (int seat = 1; seat <= 4; ++seat)
        key += QStringLiteral("|%1,%2,").arg(s_.Seats[seat].X).arg(s_.Seats[seat].Y) +
               QString::fromStdString(s_.Seats[seat].Name + "," + SeatKindText(s_.Seats[seat].Kind));
    if (key != feltKey_ || feltCache_.size() != target.size()) {
        feltCache_ = TableImage(target.devicePixelRatio());
        feltCache_.fill(palette().window().color());
        UnitPainter felt(&feltCache_);
        DrawTableWith(felt);
        feltKey_ = key;
    }
    if (target.size() != feltCache_.size() || target.format() != feltCache_.format())
        target = TableImage(feltCache_.devicePixelRatio());
    UnitPainter p(&target);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(UnitsAt(QPointF(0, 0), feltCache_), feltCache_);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    DrawSignsWith(p);
    DrawTurnMarkerWith(p);
    if (giveUpShown_ && s_.GiveUp != GiveUpFlag::Hidden) p.drawImage(QRectF(giveUpRect_), giveUpPicture_);
    // The board changes once a hand: keep it as a picture in between.
    QString boardKey = key;
    boardKey += QString::number(s_.HandsPlayed) + QLatin1Char('/') + QString::number(layout::BoardColumns(s_));
    for (int i = 1; i <= 14; ++i) boardKey += QString::number(s_.ResultsA[i]) + QString::number(s_.ResultsB[i]);
    if (boardKey != boardKey_) {
        boardCache_ = TableImage(target.devicePixelRatio());
        boardCache_.fill(Qt::transparent);
        UnitPainter board(&boardCache_);
        DrawBoardWith(board);
        board.end();
        boardArea_ = QRect(0, 0, 0, 0);
        for (int y = 0; y < boardCache_.height(); y += 2)  // find the board's bounds once
            for (int x = boardCache_.width() / 2; x < boardCache_.width(); x += 2)
                if (qAlpha(boardCache_.pixel(x, y))) boardArea_ |= QRect(x - 2, y - 2, 5, 5);
        boardKey_ = boardKey;
    }
    const double k = boardCache_.devicePixelRatio();
    p.drawImage(QRectF(boardArea_.x() / k, boardArea_.y() / k, boardArea_.width() / k, boardArea_.height() / k), boardCache_,
                QRectF(boardArea_));
    PaintCardsWith(p, 52 - leaveOutLast);
}

void TableView::PaintCardsWith(QPainter& p, int count) {
    p.setRenderHint(QPainter::Antialiasing);
    for (int k = 1; k <= count && !s_.StopRequested; ++k) {
        const int d = s_.DrawOrder[k];
        if (d < 1 || d > 52) continue;
        if (s_.Deck[d].Owner != kInPack)
            PaintCard(p, d, 1);
        else
            PaintCard(p, d);
    }
}

void TableView::DrawTable() {
    UnitPainter p(&surface_);
    DrawTableWith(p);
    update();
}

void TableView::DrawTableWith(QPainter& p) {
    const int w = kTableWidth, h = kTableHeight;
    const double u = s_.LayoutUnit;
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(colours_.background);
    p.setPen(Qt::black);
    RoundRect(p, 2, 2, w - 2, h - 2, 60, 60);
    p.setPen(colours_.edge);
    RoundRect(p, 6, 6, w - 6, h - 6, 60, 60);

    // The two trick piles: the partner's (the local side) and the left seat's.
    const int l = s_.LocalSeat;
    for (int pile = 0; pile < 2; ++pile) {
        const int seat = pile == 0 ? PartnerOf(l) : NextSeat(l);
        QRectF previous;
        for (int k = 1; k <= 7; ++k) {
            const layout::Point at = layout::PileCardPlace(s_, pile == 0, k);
            const double x = at.x, y = at.y;
            p.setBrush(colours_.strong(seat));
            p.setPen(colours_.light(seat));
            RoundRect(p, x, y, x + 74, y + 104, 10, 10);
            if (k >= 2) {  // hide the previous outline where the two overlap
                p.setPen(colours_.strong(seat));
                p.drawRect(QRectF(QPointF(x + 0.5, y + 0.5), previous.bottomRight() - QPointF(1.5, 1.5)));
            }
            previous = QRectF(x, y, 74, 104);
        }
    }

    for (int seat = 1; seat <= 4; ++seat) {
        const SeatRecord& rec = s_.Seats[seat];
        const double x = rec.X, y = rec.Y;
        p.setBrush(colours_.strong(seat));
        p.setPen(colours_.light(seat));
        const layout::Box frame = layout::HandFrame(s_, rec), tab = layout::NameTab(s_, rec);
        RoundRect(p, frame.left, frame.top, frame.right, frame.bottom, 10, 10);
        RoundRect(p, tab.left, tab.top, tab.right, tab.bottom, 10, 10);
        p.setPen(TextOn(colours_.strong(seat)));
        p.setFont(TableFont(12, true));
        p.drawText(QRectF(x + 40, y + 117, 70, 60), Qt::AlignHCenter | Qt::AlignTop,
                   QString::fromStdString(rec.Name) + QLatin1Char('\n') +
                       (rec.Kind == SeatKind::Human ? tr("[Human]") : tr("[Computer]")));
    }
    // Join each name tab to its hand frame.
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(Qt::NoPen);
    for (int seat = 1; seat <= 4; ++seat) {
        const SeatRecord& rec = s_.Seats[seat];
        p.setBrush(colours_.strong(seat));
        p.drawRect(QRectF(QPointF(rec.X + 3 * u + 64, rec.Y - u + 2), QPointF(rec.X + 3 * u + 84, rec.Y + 104 + u - 4)));
    }
}

void TableView::DrawMasterMark() {
    const int m = s_.MasterPlayer;
    if (m < 1 || m > 4) return;
    const layout::Point at = layout::MasterMarkPlace(s_.Seats[m]);
    UnitPainter p(&surface_);
    DrawMasterMarkWith(p);
    UpdateTable(QRectF(at.x, at.y, layout::kMarkSize + 1, layout::kMarkSize + 1));
}

void TableView::DrawMasterMarkWith(QPainter& p) {
    const layout::Point at = layout::MasterMarkPlace(s_.Seats[s_.MasterPlayer]);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(colours_.face);
    p.setPen(colours_.frame);
    RoundRect(p, at.x, at.y, at.x + layout::kMarkSize, at.y + layout::kMarkSize, 4, 4);
    CopyCell(p, sprite_, at.x + 4.5, at.y + 2.5, 0, 0, sprite::kMasterMark);
}

void TableView::DrawTrumpSign(Suit suit, int x, int y) {
    if (suit == kNoSuit) return;
    UnitPainter p(&surface_);
    CopyCell(p, sprite_, x, y + 7, 0, 0, QRect(sprite::TrumpSignColumn(suit), sprite::kPipRow, 15, 15));
    UpdateTable(QRectF(x, y, 16, 24));
}

void TableView::DrawSignsWith(QPainter& p) {
    const int m = s_.MasterPlayer;
    if (m < 1 || m > 4) return;
    DrawMasterMarkWith(p);
    if (s_.Trump != kNoSuit) {
        const layout::Point at = layout::TrumpSignPlace(s_.Seats[m]);
        CopyCell(p, sprite_, at.x, at.y + 7, 0, 0, QRect(sprite::TrumpSignColumn(s_.Trump), sprite::kPipRow, 15, 15));
    }
}

void TableView::DrawBoard() {
    UnitPainter p(&surface_);
    DrawBoardWith(p);
    update();
}

void TableView::DrawBoardWith(QPainter& p) {
    const int columns = layout::BoardColumns(s_);
    // The hand in play is lit: the column past those played, while there is one.
    const int lit = columns > std::clamp(s_.HandsPlayed, 0, 13) ? columns - 1 : -1;
    const layout::Board board = layout::BoardPlace(s_, kTableWidth, kTableHeight);
    auto rect = [](const layout::Box& b) { return QRectF(b.left, b.top, b.width(), b.height()); };
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(colours_.frame);
    p.setPen(colours_.grey);
    RoundRect(p, board.frame.left, board.frame.top, board.frame.right, board.frame.bottom, 20, 20);
    p.setBrush(Qt::black);
    RoundRect(p, board.inner.left, board.inner.top, board.inner.right, board.inner.bottom, 20, 20);

    p.setPen(Qt::white);
    p.setFont(TableFont(11, true));
    p.drawText(rect(board.caption), Qt::AlignCenter | Qt::TextSingleLine, tr("Result"));
    for (int i = 0; i < columns; ++i) {
        const QRectF heading = rect(board.Heading(i));
        const bool current = i == lit;
        p.setBrush(current ? Qt::white : Qt::black);
        p.setPen(colours_.grey);
        p.drawRoundedRect(heading, 1, 1);
        p.setPen(current ? Qt::black : Qt::white);
        p.setFont(TableFont(11, false));
        p.drawText(heading, Qt::AlignCenter | Qt::TextSingleLine, Number(i + 1));
        const int results[2] = {s_.ResultsA[i + 1], s_.ResultsB[i + 1]};
        for (int team = 0; team < 2; ++team) {
            const QRectF cell = rect(board.Cell(i, team));
            p.setBrush(Qt::black);
            p.setPen(team == 0 ? colours_.lightA : colours_.lightB);
            p.drawRoundedRect(cell, 2, 2);
            if (results[team] > 0) {
                p.setPen(Qt::white);
                p.setFont(TableFont(12, true));
                p.drawText(cell, Qt::AlignCenter | Qt::TextSingleLine, Number(results[team]));
            }
        }
    }
}

int TableView::StackDepth(int idx) const {
    const CardRecord& card = s_.Deck[idx];
    const long px = RoundHalfEven(card.X + kCardW / 4.0);
    const long py = card.Y + 78;
    int c = 0;
    for (int k = 1; k <= 52; ++k) {
        const int d = s_.DrawOrder[k];
        if (d == idx) break;
        if (d < 1 || d > 52) continue;
        const CardRecord& other = s_.Deck[d];
        if (other.X <= px && px <= other.X + kCardW && other.Y <= py && py <= other.Y + kCardH) ++c;
    }
    if (card.Owner >= 1 && card.Owner <= 8) return c <= 5 ? c : 1;
    return c > 10 ? 7 : c;
}

const QImage& TableView::PictureOf(int idx) const {
    static const QImage kBlank = [] {
        QImage i(kCardW, kCardH, QImage::Format_ARGB32_Premultiplied);
        i.fill(Qt::white);
        return i;
    }();
    const CardRecord& card = s_.Deck[idx];
    const size_t id = card.FaceDown ? 0 : static_cast<size_t>(card.Face);
    return id < pictures_.size() ? pictures_[id] : kBlank;
}

void TableView::PaintCardAt(QPainter& p, int idx, int x, int y, int depth) {
    auto* image = dynamic_cast<QImage*>(p.device());
    if (depth > 0 && image && image->format() == QImage::Format_ARGB32_Premultiplied) {
        // A soft shadow: keeps only what the grey and the table share. The
        // rectangles leave its corners rounded.
        const QRgb grey = 0xFF000000 | colours_.grey.rgb();
        const int l = x + depth, t = y + depth;
        AndPixels(*image, QRect(l + 3, t, kCardW - 6, kCardH), grey);
        AndPixels(*image, QRect(l, t + 3, 3, kCardH - 6), grey);
        AndPixels(*image, QRect(l + kCardW - 3, t + 3, 3, kCardH - 6), grey);
        for (QPoint corner : {QPoint(l + 1, t + 1), QPoint(l + kCardW - 3, t + 1), QPoint(l + 1, t + kCardH - 3),
                              QPoint(l + kCardW - 3, t + kCardH - 3)})
            AndPixels(*image, QRect(corner, QSize(2, 2)), grey);
    }
    const CardRecord& card = s_.Deck[idx];
    const size_t id = card.FaceDown ? 0 : static_cast<size_t>(card.Face);
    if (id < cards_.size()) {
        p.drawImage(UnitsAt(QPointF(x, y), cards_[id]), cards_[id]);
        return;
    }
    p.setPen(colours_.frame);
    p.setBrush(colours_.face);
    RoundRect(p, x, y, x + kCardW, y + kCardH, 9, 9);
    const QImage& picture = PictureOf(idx);
    const double k = picture.devicePixelRatio();
    p.drawImage(QRectF(x + 2, y + 2, kCardW - 4, kCardH - 4), picture, QRectF(2 * k, 2 * k, (kCardW - 4) * k, (kCardH - 4) * k));
}

void TableView::PaintCard(QPainter& p, int idx, std::optional<int> depth) {
    const int d0 = StackDepth(idx);
    int d = depth.value_or(d0);
    if (d < d0) d = 1;
    const CardRecord& card = s_.Deck[idx];
    const int y = card.Y - (idx == raisedCard_ ? kLift : 0);
    PaintCardAt(p, idx, card.X, y, d);
    if (dimmed && dimmed(idx)) {
        // A card the rules do not allow now, under a veil.
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 0, 95));
        p.drawRoundedRect(QRectF(card.X + 0.5, y + 0.5, kCardW, kCardH), 9, 9);
    }
}

void TableView::RepaintCards(std::span<const int>) {
    // The whole table from the game's state: cheaper than a frame of a card
    // movement, and nothing of an earlier picture (a marker, a card's old
    // place) can stay behind.
    RefreshPage();
}

void TableView::PaintGiveUp(bool shown, const QRect& where, const QImage& picture) {
    // Kept, so that a repaint of the whole table draws it again while it shows.
    giveUpShown_ = shown;
    giveUpRect_ = where;
    giveUpPicture_ = picture;
    UnitPainter p(&surface_);
    if (!shown)
        p.fillRect(where, colours_.background);
    else
        p.drawImage(QRectF(where), picture);
    UpdateTable(where);
}

void TableView::AnimateMoves(std::span<const CardMove> moves, int stepCount, EventPump& pump,
                             const std::function<bool()>& stop) {
    if (moves.empty() || !gameStarted) return;
    stepCount = std::max(stepCount, 1);
    const size_t n = moves.size();
    // The table without the moving cards (they are the last n of the painting order).
    QImage background = TableImage(pixelScale_);
    RenderTable(background, static_cast<int>(n));

    struct Moving {
        int idx;
        double x, y, tx, ty, dx, dy;
    };
    std::vector<Moving> cards;
    for (const CardMove& m : moves) {
        auto increment = [&](int from, int to) {
            const double r = QRandomGenerator::global()->generateDouble();
            const double step = std::nearbyint(std::abs(to - from) / static_cast<double>(stepCount) * (r / 5 + 1));
            // A card that still has a way to go moves at least a pixel a step.
            return (to != from && step < 1) ? 1.0 : step;
        };
        cards.push_back({m.index, double(m.fromX), double(m.fromY), double(m.toX), double(m.toY),
                         increment(m.fromX, m.toX), increment(m.fromY, m.toY)});
    }

    constexpr double kFrame = 1.0 / 60;
    double nextFrame = pump.Now();
    auto away = [&] {
        return std::any_of(cards.begin(), cards.end(), [](const Moving& c) { return c.x != c.tx || c.y != c.ty; });
    };
    while (away() && !stop()) {
        QRegion dirty;
        // Where the cards were, with room for the deepest shadow (a stack's).
        for (const Moving& c : cards) dirty += CardRect(int(c.x), int(c.y), 8);
        for (Moving& c : cards) {
            auto approach = [](double& v, double target, double step) {
                if (std::abs(target - v) <= step) v = target;
                else v += target > v ? step : -step;
            };
            approach(c.x, c.tx, c.dx);
            approach(c.y, c.ty, c.dy);
            dirty += CardRect(int(c.x), int(c.y), 2);
        }
        UnitPainter p(&surface_);
        p.setCompositionMode(QPainter::CompositionMode_Source);
        for (const QRect& r : dirty) p.drawImage(QRectF(r), background, QRectF(InPixels(background, r)));
        p.setCompositionMode(QPainter::CompositionMode_SourceOver);
        p.setRenderHint(QPainter::Antialiasing);
        for (const Moving& c : cards) PaintCardAt(p, c.idx, int(c.x), int(c.y), 1);
        p.end();
        QRegion shown;
        for (const QRect& r : dirty) shown += ToWidget(QRectF(r));
        repaint(shown);
        nextFrame += kFrame;
        while (pump.Now() < nextFrame && !stop()) pump.WaitForEvents(nextFrame);
    }
    // Where a stopped movement leaves its cards does not matter: the table is
    // repainted from the game's state next.
}

} // namespace zarv::ui
