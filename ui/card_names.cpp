#include "ui/card_names.h"

#include "ui/language.h"

namespace zarv::ui {

QString SuitSign(Suit suit) {
    switch (suit) {
    case 'g': return QStringLiteral("\u2663");
    case 'p': return QStringLiteral("\u2660");
    case 'h': return QStringLiteral("\u2665");
    case 'x': return QStringLiteral("\u2666");
    default: return {};
    }
}

QString PrintedRank(int rank) {
    switch (rank) {
    case 14: return QStringLiteral("A");
    case 13: return QStringLiteral("K");
    case 12: return QStringLiteral("Q");
    case 11: return QStringLiteral("J");
    default: return QString::number(rank);
    }
}

QString RankName(int rank) { return rank <= 10 ? Number(rank) : PrintedRank(rank); }

// Its rank (a Latin letter or a number) and its sign stay in that order in a Farsi line.
QString CardName(CardCode card) { return card.empty() ? QString() : LeftToRightRun(RankName(card.rank) + SuitSign(card.suit)); }

} // namespace zarv::ui
