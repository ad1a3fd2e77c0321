// How a player writes cards: the suits' signs, the ranks' names, a card.
#pragma once

#include <QString>

#include "engine/card.h"

namespace zarv::ui {

QString SuitSign(Suit suit);
// The index printed on a card's face: "A", "K", "10"... in every language.
QString PrintedRank(int rank);
// The rank as a text names it (the window's digits) and a card as a player writes it: "10♥".
QString RankName(int rank);
QString CardName(CardCode card);

} // namespace zarv::ui
