// What one seat of a table may see, as the browser is told it: its own hand,
// the cards on the table, the HAKEM and the ZARV once named, the counts and
// whose decision the table waits for. A watcher is seat 0 and holds no cards.
// This is the one place that decides what a browser sees of a game.
#pragma once

#include <nlohmann/json.hpp>

#include "ai/level.h"
#include "engine/game_state.h"

namespace zarv::server {

struct TableFacts {
    bool started = false;   // the table's game has begun (else: seats are being taken)
    ai::Level level = ai::Level::Standard;
    bool playNow = false;   // a private table of one person and three computers
    int watchers = 0;
    int deal = 0;           // hands dealt at this table so far (the hand in play is this one)
    bool dealing = false;   // the first HAKEM is drawn or a hand dealt
    bool trumpKnown = false;  // the ZARV of the hand in play is named
    double now = 0;         // the engine's clock, for the seconds left to decide
    bool reviewable = false;  // a hand has ended here: its players may ask for its review
};

// The view as a JSON object {"t":"view", ...}; see the README's browser protocol.
nlohmann::json SeatView(const GameState& s, int seat, const TableFacts& facts);

// The cards a seat holds now: dealt to it and not played.
std::vector<CardCode> HeldCards(const GameState& s, int seat);

} // namespace zarv::server
