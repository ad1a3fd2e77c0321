// The card sprite picture: one 276 x 220 image holding every small drawing the
// table copies from (rank indexes, suit signs, pips, court figures, the ace of
// spades, the plain card back, the master player's mark). It is painted by our
// own code when the program starts.
#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>

namespace zarv::ui::sprite {

constexpr int kWidth = 276;
constexpr int kHeight = 220;

constexpr int kBlackIndexRow = 0;
constexpr int kRedIndexRow = 15;
constexpr int kIndexSize = 15;
constexpr int kSmallSuitRow = 33;  // 12 x 11
constexpr int kPipRow = 50;        // 15 x 15
constexpr int kFigureRow = 31;     // 42 x 77
constexpr int kKingX = 89, kQueenX = 137, kJackX = 185, kAceOfSpadesX = 233;
constexpr QRect kBackDesign0{89, 114, 66, 96};
constexpr QRect kMasterMark{0, 67, 15, 15};
constexpr QRect kDesign3Top{44, 67, 15, 15};
constexpr QRect kDesign3Bottom{60, 67, 15, 15};

inline int RankIndexX(int rank) { return (14 - rank) * 15; }
// Column of a suit's small sign and pip: clubs 0, spades 15, hearts 30, diamonds 45.
int SuitColumn(char suit);
// Column of the trump sign of a suit: one pixel right of its pip.
inline int TrumpSignColumn(char suit) { return SuitColumn(suit) + 1; }

// Painted at scale device pixels a unit: the cells keep their places in units,
// and a finer sheet gives sharper cards on a larger table.
QImage BuildSpriteSheet(double scale = 1.0);

} // namespace zarv::ui::sprite
