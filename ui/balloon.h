// Message balloons: a borderless window shaped like a speech balloon that
// points at the seat that speaks (or at the table), shown for three seconds or
// until a click or a key. The same window is the start-up splash.
#pragma once

#include <QImage>
#include <QPainterPath>
#include <QRegion>
#include <QWidget>
#include <functional>

#include "engine/game_state.h"
#include "engine/interfaces.h"

namespace zarv::ui {

class TableWindow;

// The text of a balloon once a "%" code is taken out: the letter before the
// "%" names a suit whose sign is painted where the three characters stood.
struct BalloonText {
    QString text;
    Suit suit = kNoSuit;
    int signAt = -1;  // index of the two blanks, or -1
};
BalloonText TakeOutSuitCode(const QString& text);

// Where the parts of a balloon go, in the balloon window's own pixels.
struct BalloonShape {
    QRect body;                 // where the text is written
    QPolygon pointer;           // empty for a balloon without one
    QPoint corner;              // the window's top-left corner on the table (units)
    QSize window;
    bool wrapped = false;
    QPainterPath Outline() const;
};
BalloonShape ShapeBalloon(int seat, const QString& text, const GameState& state, int tableWidth, int tableHeight);
// The balloon window's shape: the body and the pointer, joined.
QRegion MaskOf(const BalloonShape& shape);

class Balloon : public QWidget {
    Q_OBJECT
public:
    // Shows the balloon and returns when it has closed (after 3 seconds, a
    // click, a key, or when stop() becomes true).
    static void Say(TableWindow& table, int seat, const QString& text, EventPump& pump,
                    const std::function<bool()>& stop);
    // A chat line in the writer's seat balloon: shown as it was typed (no
    // suit codes), for three seconds or until clicked, and returns at once, so
    // the game's waits go on meanwhile. A seat's newer line replaces its older.
    static Balloon* Chat(TableWindow& table, int seat, const QString& text);
    // How long a chat line of that many characters stays.
    static double ChatSeconds(int characters);
    // The start-up splash, centred on the screen; returns when it has closed.
    static void Splash(EventPump& pump, double seconds = 3.0);
    static QImage SplashPicture();

    static constexpr double kSeconds = 3.0;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    explicit Balloon(QWidget* owner);
    // Shapes and places a balloon for the seat (or the table) on the screen.
    void Prepare(TableWindow& table, int seat, const BalloonText& text);
    void WaitUntilClosed(EventPump& pump, double seconds, const std::function<bool()>& stop);

    BalloonShape shape_;
    BalloonText text_;
    QImage picture_;
    QImage sprite_;
    bool closed_ = false;
    bool chat_ = false;
    double scale_ = 1.0;  // widget pixels a table unit
};

} // namespace zarv::ui
