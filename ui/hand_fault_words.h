// What is wrong with a saved hand or its file, in the window's language.
#pragma once

#include <QString>

#include "engine/saved_hand.h"

namespace zarv::ui {

QString HandFaultInWords(const HandFault& fault);

} // namespace zarv::ui
