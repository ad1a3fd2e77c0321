// What a watched table announces, in the watcher's words for the chat log:
// each hand's HAKEM, its ZARV, who won it, and the game's end.
#pragma once

#include <QString>

#include "net/lobby_wire.h"
#include "net/watched_table.h"

namespace zarv::ui {

// `table` is the watched table with the news already taken in; empty when
// the news is nothing to announce.
QString WatchNewsInWords(const net::SeenEvent& news, const net::WatchedTable& table);

} // namespace zarv::ui
