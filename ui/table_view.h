// The card table's drawing surface. Everything is painted into one image that
// keeps what was drawn (the felt, the seats, the board and the cards); the
// widget only shows that image. Card movements are drawn step by step through
// a copy of the table without the moving cards.
//
// The table is laid out in units of its design size (842 x 676). The widget
// may be any size: the table fills it with its shape kept, and the image is
// painted at as many device pixels a unit as it is shown with, so that cards
// and text stay sharp. At the design size one unit is one pixel.
#pragma once

#include <QImage>
#include <QWidget>
#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "engine/game_state.h"
#include "engine/interfaces.h"

namespace zarv::ui {

// The colours LoadSettings makes from the settings.
struct TableColours {
    QColor background{52, 97, 54};
    QColor edge;
    QColor strongA{150, 32, 29}, lightA{222, 80, 80};   // seats 1 and 3
    QColor strongB{15, 67, 130}, lightB{137, 181, 245};  // seats 2 and 4
    QColor face{Qt::white};
    QColor frame{200, 200, 160};
    QColor grey{0xC2, 0xC2, 0xC2};
    QColor strong(int seat) const { return seat % 2 == 1 ? strongA : strongB; }
    QColor light(int seat) const { return seat % 2 == 1 ? lightA : lightB; }
};

class TableView : public QWidget {
    Q_OBJECT
public:
    TableView(const GameState& state, const QImage& sprite, QWidget* parent = nullptr);

    void SetColours(const TableColours& colours);
    // Face pictures by Face id (1..52) and the back (id 0).
    void SetCardPictures(std::vector<QImage> pictures);
    void SetBackPicture(const QImage& back);
    const QImage& surface() const { return surface_; }
    QSize sizeHint() const override { return QSize(kTableWidth, kTableHeight); }
    // Names of 12 units stay readable down to this scale (9 pixels).
    static constexpr double kMinimumScale = 0.75;
    QSize minimumSizeHint() const override;
    // The colour the table shows at a point of the table (in units).
    QColor ColourAt(QPointF at) const;

    // Device pixels a unit of the table takes, and widget pixels a unit.
    double pixelScale() const { return pixelScale_; }
    double viewScale() const { return viewScale_; }
    // Where the table lies in the widget, and a table point in the widget and back.
    QRectF TableArea() const;
    QPointF ToWidget(QPointF at) const { return TableArea().topLeft() + at * viewScale_; }
    QRect ToWidget(const QRectF& r) const;
    QPointF ToTable(QPointF widgetPoint) const { return (widgetPoint - TableArea().topLeft()) / viewScale_; }
    // Paints at scale device pixels a unit from now on (the widget's size and
    // screen choose it; tests and benchmarks may set it).
    void SetPixelScale(double scale);
    // Told when the pictures should be drawn again at the new scale.
    std::function<void(double scale)> pixelScaleChanged;
    void RefreshPage();
    void DrawTable();
    void DrawMasterMark();
    void DrawTrumpSign(Suit suit, int x, int y);
    void DrawBoard();
    int StackDepth(int idx) const;
    void PaintCard(QPainter& p, int idx, std::optional<int> depth = std::nullopt);
    void RepaintCards(std::span<const int> moved);
    // The give-up image at its place, or the felt over it.
    void PaintGiveUp(bool shown, const QRect& where, const QImage& picture);
    const QImage& giveUpPicture() const { return giveUpPicture_; }

    // Moves the cards step by step, each step only where they are; waits for
    // the next frame between steps. Returns early when stop() says so.
    void AnimateMoves(std::span<const CardMove> moves, int stepCount, EventPump& pump,
                      const std::function<bool()>& stop);

    bool gameStarted = false;  // nothing is drawn before the first game
    // Before the first game: the felt and a line that says how to begin.
    void DrawWelcome();

    // The seat to move, marked on the table (0: none).
    void SetTurnSeat(int seat);
    int turnSeat() const { return turnSeat_; }
    // A card of the person's hand lifted (chosen with the keys, or a hint); 0: none.
    void SetRaisedCard(int d);
    int raisedCard() const { return raisedCard_; }
    static constexpr int kLift = 14;
    // Cards the person may not play now are dimmed when this says so.
    std::function<bool(int d)> dimmed;
    // The colour of text on a name plate of that colour, readable on it.
    static QColor TextOn(const QColor& plate);
    // The contrast ratio of two colours (1 to 21), from their relative luminance.
    static double Contrast(const QColor& a, const QColor& b);
    static double Luminance(const QColor& c);

signals:
    void mousePressed(QPointF at);
    void mouseMoved(QPointF at);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    // The whole table into target, leaving out the last cards of the painting order.
    void RenderTable(QImage& target, int leaveOutLast);
    void DrawTableWith(QPainter& p);
    void DrawMasterMarkWith(QPainter& p);
    void DrawSignsWith(QPainter& p);
    void DrawBoardWith(QPainter& p);
    void PaintCardsWith(QPainter& p, int count);
    void PaintCardAt(QPainter& p, int idx, int x, int y, int depth);
    const QImage& PictureOf(int idx) const;

    const GameState& s_;
    const QImage& sprite_;
    TableColours colours_;
    std::vector<QImage> pictures_;
    std::vector<QImage> cards_;  // each picture inside its rounded outline, ready to copy
    QImage surface_;
    double pixelScale_ = 1.0;
    double viewScale_ = 1.0;
    void FitToWidget();
    void UpdateTable(const QRectF& r) { update(ToWidget(r)); }
    // The felt with the seats, piles and names, kept while none of them changes.
    QImage feltCache_;
    QString feltKey_;
    int turnSeat_ = 0;
    bool giveUpShown_ = false;
    QRect giveUpRect_;
    QImage giveUpPicture_;
    int raisedCard_ = 0;
    void DrawTurnMarkerWith(QPainter& p);
    QImage boardCache_;  // the score board alone, on a clear image
    QRect boardArea_;
    QString boardKey_;
};

} // namespace zarv::ui
