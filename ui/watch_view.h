// The table a watcher sees: the four seats with their names and how many
// cards each still holds (backs only), the cards on the table, the HAKEM,
// the ZARV, the tricks and the points. Painted from what the server sent the
// watcher, which never names a card still in a hand.
#pragma once

#include <QImage>
#include <QWidget>

class QPainter;
#include <functional>
#include <map>

#include "net/watched_table.h"

namespace zarv::ui {

class WatchView : public QWidget {
    Q_OBJECT
public:
    using FacePainter = std::function<QImage(CardCode)>;
    WatchView(FacePainter faces, QWidget* parent = nullptr);

    void SetLook(const QColor& felt, const QImage& back);
    void Show(const net::WatchedTable& table, const QString& tableName);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // A seat's player by name (or the seat's number before the name is known).
    QString SeatLabel(int seat) const;
    // The sizes one paint works with.
    struct Look {
        QRectF area;
        double scale = 1;
        QSizeF card;
        QColor ink;
    };
    void PaintSeat(QPainter& p, const Look& look, int seat);
    void PaintTrick(QPainter& p, const Look& look);
    void PaintStanding(QPainter& p, const Look& look);
    const QImage& Face(CardCode card);
    FacePainter faces_;
    std::map<int, QImage> faceCache_;
    QColor felt_{0, 96, 48};
    QImage back_;
    net::WatchedTable table_;
    QString name_;
};

} // namespace zarv::ui
