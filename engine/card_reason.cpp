#include "engine/card_reason.h"

#include <array>

namespace zarv {

const std::string& TacticName(Tactic t) {
    static const std::array<std::string, 5> kNames = {"PlayBigest", "PlaySmallest", "PlayFirstBig", "PlayABig",
                                                      "Play Somthing"};
    return kNames[static_cast<size_t>(t)];
}

} // namespace zarv
