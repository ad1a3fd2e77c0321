// What is wrong with a saved hand or its file, or why a hand cannot be
// reviewed, in the window's language.
#pragma once

#include <QString>

#include "ai/hand_review.h"
#include "engine/saved_hand.h"

namespace zarv::ui {

QString HandFaultInWords(const HandFault& fault);
QString ReviewFaultInWords(const ai::ReviewFault& fault);

} // namespace zarv::ui
