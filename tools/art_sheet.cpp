// zarv-art: writes the game's pictures to PNG files for a look at them: the
// sprite picture, all 52 faces, and the five card-back designs.
#include <QApplication>
#include <QPainter>
#include <cstdio>

#include "ui/card_pictures.h"
#include "ui/sprite_sheet.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: zarv-art <folder>\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString folder = QString::fromLocal8Bit(argv[1]);
    using namespace zarv::ui;
    const QImage sprite = sprite::BuildSpriteSheet();
    QImage big(sprite.size() * 3, QImage::Format_ARGB32_Premultiplied);
    big.fill(QColor(200, 200, 200));
    {
        QPainter p(&big);
        p.drawImage(big.rect(), sprite);
    }
    bool ok = big.save(folder + "/sprite.png");

    QImage faces(13 * 80 + 6, 4 * 110 + 6, QImage::Format_ARGB32_Premultiplied);
    faces.fill(QColor(52, 97, 54));
    {
        QPainter p(&faces);
        const char suits[4] = {'g', 'p', 'h', 'x'};
        for (int s = 0; s < 4; ++s)
            for (int r = 2; r <= 14; ++r)
                p.drawImage(6 + (r - 2) * 80, 6 + s * 110, PaintCardFace(sprite, zarv::CardCode{suits[s], uint8_t(r)}));
    }
    ok = faces.save(folder + "/faces.png") && ok;

    QImage backs(5 * 80 + 6, 116, QImage::Format_ARGB32_Premultiplied);
    backs.fill(QColor(52, 97, 54));
    {
        QPainter p(&backs);
        // Scheme 1's deck colours, as the options would give them.
        for (int d = 0; d <= 4; ++d) p.drawImage(6 + d * 80, 6, DrawDeck(sprite, d, 0x15C6F2, 0x0F0F0F, 0xCE6700));
    }
    ok = backs.save(folder + "/backs.png") && ok;
    return ok ? 0 : 1;
}
