// The words the window uses for the game: what the table waits for, the
// trump and its HAKEM, the sides' tricks and points, a game's result, and the
// names of cards. Built from the game alone, so that they cannot go stale.
#pragma once

#include <QString>

#include "engine/game.h"
#include "ui/card_names.h"

namespace zarv::ui {

// "1 trick", "2 tricks"; "1 point", "2 points".
QString TrickCount(int n);
QString PointCount(int n);

// What the table waits for, said to the person at this machine (secondsLeft:
// a remote player's countdown, or -1).
QString WaitText(const Game& game, int secondsLeft);
// What the table waits for now, as a key that changes when the wait does.
QString WaitKey(const Game& game);
// Whose turn of which trick it is, as a key that changes when the game moves
// on (not when the person's turn is handed back after a refused card).
QString TurnKey(const Game& game);
// "ZARV ♣" and "HAKEM Tib", on two lines.
QString TrumpText(const GameState& s);
// Each side's tricks and points, ours first, on two lines.
QString SidesText(const GameState& s);
// Who won the game, and by how many points: "You and Tib won the game, 7 to 4."
QString GameResultText(const GameState& s);
// Why the computer chose a card, in a player's words.
QString ReasonInWords(const CardReason& reason);

} // namespace zarv::ui
