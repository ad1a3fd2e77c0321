// The saved-hand reader: any text is read or refused with a message; what is
// read writes back and reads again to the same hand.
#include <string>

#include "engine/saved_hand.h"
#include "fuzz/fuzz_target.h"

ZARV_FUZZ_TARGET {
    const std::string text(reinterpret_cast<const char*>(data), size);
    zarv::HandFault why;
    const auto hand = zarv::ReadSavedHand(text, &why);
    if (!hand) {
        ZARV_FUZZ_CHECK(why.kind != zarv::HandFault::Kind::None);
        ZARV_FUZZ_CHECK(zarv::Printable(zarv::EnglishText(why)) == zarv::EnglishText(why));  // nothing raw from the file
        return 0;
    }
    ZARV_FUZZ_CHECK(hand->deal.size() == 52);
    const auto again = zarv::ReadSavedHand(zarv::WriteSavedHand(*hand), &why);
    ZARV_FUZZ_CHECK(again && again->deal == hand->deal && again->master == hand->master &&
                    again->firstMaster == hand->firstMaster && again->trump == hand->trump);
    return 0;
}
