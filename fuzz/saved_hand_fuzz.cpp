// The saved-hand reader: any text is read or refused with a message; what is
// read writes back and reads again to the same hand; its plays are replayed
// for a review or refused, never more tricks than the cards allow.
#include <string>

#include "ai/hand_review.h"
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
                    again->firstMaster == hand->firstMaster && again->trump == hand->trump && again->plays == hand->plays);
    zarv::ai::ReviewFault fault;
    const auto replayed = zarv::ai::ReplayHand(*hand, 1, &fault);
    if (!replayed) {
        ZARV_FUZZ_CHECK(fault.kind != zarv::ai::ReviewFault::Kind::None);
        return 0;
    }
    ZARV_FUZZ_CHECK(replayed->tricks.size() <= 13 && replayed->tricks.size() * 4 >= hand->plays.size());
    return 0;
}
