// zarv-web-art: the web client's card pictures, painted by the window's own
// painter: every face and the back of the first colour scheme in one sheet
// (13 columns: clubs, spades, hearts, diamonds, then the back), at three
// device pixels a unit so that a phone's 3x screen shows them crisp, and the
// scheme's colours for the page; and the page's icon as pictures of the
// sizes a phone's home screen asks for.
#include <QApplication>
#include <QFile>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>

#include "settings/settings.h"
#include "ui/card_pictures.h"
#include "ui/sprite_sheet.h"

namespace {

QString Hex(uint32_t bgr) {
    // Stored as 0x00BBGGRR.
    return QStringLiteral("#%1%2%3")
        .arg(bgr & 0xFF, 2, 16, QLatin1Char('0'))
        .arg((bgr >> 8) & 0xFF, 2, 16, QLatin1Char('0'))
        .arg((bgr >> 16) & 0xFF, 2, 16, QLatin1Char('0'));
}

// The icon at each size a home screen asks for, and a "maskable" one whose
// felt fills the square and whose picture keeps inside the middle 80%,
// which a phone may cut to a circle or a rounded square.
bool PaintIcons(const QString& svg, const QString& folder) {
    QSvgRenderer icon(svg);
    if (!icon.isValid()) return false;
    bool ok = true;
    for (int size : {192, 512}) {
        QImage plain(size, size, QImage::Format_ARGB32_Premultiplied);
        plain.fill(Qt::transparent);
        QPainter p(&plain);
        icon.render(&p);
        p.end();
        ok = ok && plain.save(folder + QStringLiteral("/icon-%1.png").arg(size), "PNG", 0);
    }
    QImage maskable(512, 512, QImage::Format_ARGB32_Premultiplied);
    maskable.fill(QColor(0x34, 0x61, 0x3a));
    QPainter p(&maskable);
    icon.render(&p, QRectF(512 * 0.1, 512 * 0.1, 512 * 0.8, 512 * 0.8));
    p.end();
    return ok && maskable.save(folder + "/icon-maskable-512.png", "PNG", 0);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: zarv-web-art <folder> <icon.svg>\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString folder = QString::fromLocal8Bit(argv[1]);
    using namespace zarv::ui;
    constexpr double kScale = 3.0;
    const QImage sprite = sprite::BuildSpriteSheet(kScale);
    const zarv::settings::Settings look;
    const int w = static_cast<int>(kCardW * kScale), h = static_cast<int>(kCardH * kScale);
    QImage sheet(13 * w, 5 * h, QImage::Format_ARGB32_Premultiplied);
    sheet.fill(Qt::transparent);
    {
        QPainter p(&sheet);
        const char suits[4] = {'g', 'p', 'h', 'x'};
        auto place = [&](int column, int row, QImage picture) {
            picture.setDevicePixelRatio(1.0);
            p.drawImage(QRect(column * w, row * h, w, h), picture);
        };
        for (int s = 0; s < 4; ++s)
            for (int r = 2; r <= 14; ++r) place(r - 2, s, PaintCardFace(sprite, zarv::CardCode{suits[s], uint8_t(r)}));
        place(0, 4, DrawDeck(sprite, look.Deck, look.DeckColour1, look.DeckColour2, look.DeckColour3));
    }
    bool ok = sheet.save(folder + "/cards.png", "PNG", 0);
    QFile colours(folder + "/look.json");
    ok = ok && colours.open(QIODevice::WriteOnly);
    colours.write(QStringLiteral("{\"felt\":\"%1\",\"seatA\":\"%2\",\"seatB\":\"%3\",\"borderA\":\"%4\",\"borderB\":\"%5\",\"cardWidth\":%6,\"cardHeight\":%7}\n")
                      .arg(Hex(look.FeltColour), Hex(look.SeatColourA), Hex(look.SeatColourB), Hex(look.SeatBorderA),
                           Hex(look.SeatBorderB))
                      .arg(w)
                      .arg(h)
                      .toUtf8());
    ok = ok && PaintIcons(QString::fromLocal8Bit(argv[2]), folder);
    return ok ? 0 : 1;
}
