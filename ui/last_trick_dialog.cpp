#include "ui/last_trick_dialog.h"

#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/card_pictures.h"

namespace zarv::ui {

namespace {
QString NameOf(const GameState& s, int seat) { return QString::fromStdString(s.Seats[seat].Name).trimmed(); }
} // namespace

QImage LastTrickDialog::Picture(const GameState& s, const TrickRecord& trick, const QImage& sprite) {
    // The four cards in the order they were played, and who took them.
    QImage picture(4 * 80 + 10, 104 + 34, QImage::Format_ARGB32_Premultiplied);
    picture.fill(QColor(40, 90, 50));
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    for (int k = 0, seat = trick.Leader; k < 4; ++k, seat = NextSeat(seat)) {
        const QImage face = PaintCardFace(sprite, trick.Cards[seat]);
        const QRectF at(8 + k * 80, 6, 74, 104);
        p.setBrush(Qt::white);
        p.setPen(seat == trick.Winner ? QPen(QColor(255, 214, 64), 3) : QPen(QColor(200, 200, 160), 1));
        p.drawRoundedRect(at, 6, 6);
        const double ks = face.devicePixelRatio();
        p.drawImage(QRectF(at.left() + 2, at.top() + 2, 70, 100), face, QRectF(2 * ks, 2 * ks, 70 * ks, 100 * ks));
        p.setPen(Qt::white);
        p.drawText(QRectF(at.left(), 112, 74, 20), Qt::AlignCenter,
                   NameOf(s, seat));
    }
    p.end();
    return picture;
}

LastTrickDialog::LastTrickDialog(const GameState& s, const TrickRecord& trick, const QImage& sprite, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(tr("Last trick \u2014 won by %1").arg(NameOf(s, trick.Winner)));
    auto* layout = new QVBoxLayout(this);
    auto* image = new QLabel(this);
    image->setPixmap(QPixmap::fromImage(Picture(s, trick, sprite)));
    layout->addWidget(image);
    auto* won = new QLabel(tr("Won by %1").arg(NameOf(s, trick.Winner)), this);
    won->setTextFormat(Qt::PlainText);
    layout->addWidget(won);
    auto* close = new QPushButton(tr("Close"), this);
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(close, 0, Qt::AlignRight);
}

} // namespace zarv::ui
