// The table's events in the player's language: one place for the words of
// every announcement the table makes.
#pragma once

#include <QString>

#include "engine/table_event.h"

namespace zarv::ui {

QString TableWords(const TableEvent& event);

} // namespace zarv::ui
