// What the table announces, as values. The window words each in the player's
// language; net/ writes the protocol's sentences from them where the wire
// needs text; the headless tools keep the English sentences.
#pragma once

#include <string>

namespace zarv {

struct TableEvent {
    enum class Kind {
        HakemNamed,          // seat: the first HAKEM of the game
        NameYourTrump,       // this machine's person is HAKEM and names the ZARV now
        ChoosingTrump,       // seat: a HAKEM is choosing the ZARV (said by that seat)
        HandWon,             // seat: the winner, with its partner; points 1, 2 (Koot) or 3 (PerKoot)
        PlayerBack,          // seat: its player came back
        SeatReplaced,        // seat: its player left; the computer plays the seat
        PlayerLeftGameOver,  // seat: its player left and the Dealer ended the game
        Reconnecting,        // this machine lost its Dealer and is coming back
        Disconnected,        // this machine lost its Dealer for good
        TableNotFollowed,    // the Dealer's table could not be taken up
        DealerUnfollowable,  // the Dealer sent what this game cannot follow
        Words,               // words as they came from another program
    };
    static constexpr int kKinds = static_cast<int>(Kind::Words) + 1;

    Kind kind = Kind::Words;
    int seat = 0;
    std::string name;     // the seat's name as it stood
    std::string partner;  // HandWon: the winner's partner
    int points = 0;       // HandWon
    // HandWon: a PerKoot of seats 1 and 3 was always announced with two
    // exclamation marks, of seats 2 and 4 with one.
    bool byFirstSide = false;
    std::string words;    // Words

    static TableEvent About(Kind kind, int seat, std::string name) {
        TableEvent e;
        e.kind = kind;
        e.seat = seat;
        e.name = std::move(name);
        return e;
    }
    static TableEvent Just(Kind kind) { return About(kind, 0, {}); }
    static TableEvent AsWords(std::string words) {
        TableEvent e;
        e.words = std::move(words);
        return e;
    }
    // The seat that says it (ChoosingTrump), or 0: the table says it.
    int speaker() const { return kind == Kind::ChoosingTrump ? seat : 0; }
    bool operator==(const TableEvent&) const = default;
};

// The event in English, as the table has always said it (and as the
// protocol's texts have it, for the kinds that travel).
std::string EnglishText(const TableEvent& event);

} // namespace zarv
