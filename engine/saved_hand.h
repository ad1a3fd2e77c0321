// A hand written to a small text file, to study it later or to share it:
//
//   # Zarv hand
//   deal g2 g3 ... (the 52 cards in deal order: the master gets 1-13, the next seat 14-26, ...)
//   master 2
//   first-master 1
//   trump h          (or "-" when none was named yet)
//   plays h14 h2 ... (optional: the cards played, in the order played)
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
    // The cards played so far, in order (a hand kept for its review). Save
    // Suggest writes none, so that its files stay readable everywhere.
    std::vector<CardCode> plays;
};

// What is wrong with a saved hand or its file. The tools say it in English
// (EnglishText); the window in the person's language.
struct HandFault {
    enum class Kind {
        None,
        CannotRead,    // the file (subject) could not be read (reason: the system's words, if any)
        IsDirectory,   // subject
        NotAFile,      // subject: a device, a pipe...
        TooLarge,      // subject: the file, or "" for a text
        NotACard,      // subject: the word
        CardTwice,     // subject: the card
        PlayedTwice,   // subject: the card
        DealSize,      // count: the codes found (53: more than 52)
        BadSeat,       // subject: "master" or "first-master"
        BadTrump,
        UnknownEntry,  // subject: the entry's first word
        NoDeal,
        NoMaster,
    };
    Kind kind = Kind::None;
    std::string subject;  // printable (see Printable)
    std::string reason;
    int count = 0;
    int line = 0;  // the line it is on (0: not one line)
};
std::string EnglishText(const HandFault& fault);

// The text of a saved hand.
std::string WriteSavedHand(const SavedHand& hand);
// Reads a saved hand; on failure returns nothing and says why in *fault.
std::optional<SavedHand> ReadSavedHand(const std::string& text, HandFault* fault);
// Reads a saved hand's file: only a regular file (not a directory, a device
// or a pipe, which could be endless or block), and at most kMaxSavedHandBytes.
// On failure returns nothing and says why in *fault.
constexpr size_t kMaxSavedHandBytes = 64 * 1024;  // a hand takes about 200 bytes
std::optional<std::string> ReadSavedHandFile(const std::string& path, HandFault* fault);
// Text from a file as it may be shown in a message: bytes outside printable
// ASCII become \xNN, so nothing reaches a terminal raw.
std::string Printable(std::string_view text);
// Checks 52 distinct valid codes; says which code is wrong.
std::optional<std::vector<CardCode>> ParseDeal(const std::string& codes, HandFault* fault);
// Checks distinct valid codes (whether they could have been played in that
// order is the replay's to say).
std::optional<std::vector<CardCode>> ParsePlays(const std::string& codes, HandFault* fault);
// The cards of a game state's tricks, in the order they were played.
struct GameState;
std::vector<CardCode> PlayedCardsOf(const GameState& state);

} // namespace zarv
