// A hand written to a small text file, to study it later or to share it:
//
//   # Zarv hand
//   deal g2 g3 ... (the 52 cards in deal order: the master gets 1-13, the next seat 14-26, ...)
//   master 2
//   first-master 1
//   trump h          (or "-" when none was named yet)
//
// Lines may come in any order; "#" starts a comment that runs to the end of
// its line, and blank lines are ignored. A UTF-8 byte-order mark at the start
// is allowed. "deal" and "master" are required.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/card.h"

namespace zarv {

struct SavedHand {
    std::vector<CardCode> deal;  // 52 distinct cards
    int master = 0;
    int firstMaster = 0;  // 0: the master
    Suit trump = kNoSuit;
};

// The text of a saved hand.
std::string WriteSavedHand(const SavedHand& hand);
// Reads a saved hand; on failure returns nothing and says why in *error.
std::optional<SavedHand> ReadSavedHand(const std::string& text, std::string* error);
// Reads a saved hand's file: only a regular file (not a directory, a device
// or a pipe, which could be endless or block), and at most kMaxSavedHandBytes.
// On failure returns nothing and says why in *error.
constexpr size_t kMaxSavedHandBytes = 64 * 1024;  // a hand takes about 200 bytes
std::optional<std::string> ReadSavedHandFile(const std::string& path, std::string* error);
// Text from a file as it may be shown in a message: bytes outside printable
// ASCII become \xNN, so nothing reaches a terminal raw.
std::string Printable(std::string_view text);
// Checks 52 distinct valid codes; says which code is wrong.
std::optional<std::vector<CardCode>> ParseDeal(const std::string& codes, std::string* error);

} // namespace zarv
