#include "ui/watch_news.h"

#include <QCoreApplication>
#include <algorithm>
#include <cstdlib>

#include "engine/table_event.h"
#include "ui/card_names.h"
#include "ui/table_words.h"

namespace zarv::ui {

namespace {

struct Words {
    Q_DECLARE_TR_FUNCTIONS(WatchNews)
};

QString SeatName(const net::WatchedTable& table, int seat) {
    const QString name = seat >= 1 && seat <= 4 ? QString::fromStdString(table.names[static_cast<size_t>(seat)]).trimmed() : QString();
    return name.isEmpty() ? Words::tr("Seat %1").arg(seat) : name;
}

int Partner(int seat) { return (seat + 1) % 4 + 1; }

} // namespace

QString WatchNewsInWords(const net::SeenEvent& news, const net::WatchedTable& table) {
    if (news.what == "Hand")
        return Words::tr("Hand %1: %2 is HAKEM.").arg(table.hand).arg(SeatName(table, table.hakem));
    if (news.what == "Trump" && table.trump != kNoSuit)
        return Words::tr("%1 names the ZARV: %2").arg(SeatName(table, table.hakem), SuitSign(table.trump));
    if (news.what == "Result") {
        // The same words the players hear at the table.
        const int seat = std::atoi(news.detail.c_str());
        if (seat < 1 || seat > 4) return {};
        TableEvent won = TableEvent::About(TableEvent::Kind::HandWon, seat, SeatName(table, seat).toStdString());
        won.partner = SeatName(table, Partner(seat)).toStdString();
        const auto points = news.detail.find(';');
        won.points = points == std::string::npos ? 1 : std::atoi(news.detail.c_str() + points + 1);
        won.byFirstSide = seat == 1 || seat == 3;
        return TableWords(won).replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    }
    if (news.what == "GameOver") {
        const bool firstWon = table.pointsA > table.pointsB;
        const int first = firstWon ? 1 : 2;
        return Words::tr("Game over: %1 and %2 win, %3 to %4.")
            .arg(SeatName(table, first), SeatName(table, first + 2))
            .arg(std::max(table.pointsA, table.pointsB))
            .arg(std::min(table.pointsA, table.pointsB));
    }
    return {};
}

} // namespace zarv::ui
