// How a player writes cards: the suits' signs, the ranks' names, a card.
#pragma once

#include <QString>

#include "engine/card.h"

namespace zarv::ui {

QString SuitSign(Suit suit);
// "A", "K", "10"... and a card as a player writes it: "10♥".
QString RankName(int rank);
QString CardName(CardCode card);

} // namespace zarv::ui
