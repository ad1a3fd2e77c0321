// Cards, suits and seats: the vocabulary every part of the game shares.
#pragma once

#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zarv {

// A suit letter: 'g' clubs, 'p' spades, 'h' hearts, 'x' diamonds. 0 stands for
// "no suit" (the empty text), which matches no card.
using Suit = char;
constexpr Suit kNoSuit = 0;

inline bool IsSuitLetter(char c) { return c == 'g' || c == 'p' || c == 'h' || c == 'x'; }

// A card as the game writes it: suit letter then rank 2..14 in decimal ("h14" is
// the ace of hearts). Kept as two bytes instead of a string: the computer player
// compares cards many thousand times a move. An empty code (suit 0) is "no card".
struct CardCode {
    Suit suit = kNoSuit;
    uint8_t rank = 0;

    constexpr bool empty() const { return suit == kNoSuit; }
    std::string text() const;
    // Parses exactly one valid code ("g2".."x14"); anything else gives nothing.
    static std::optional<CardCode> Parse(std::string_view text);
    friend constexpr bool operator==(CardCode, CardCode) = default;
};

inline Suit SuitOf(CardCode c) { return c.suit; }
// 0..3 for g p h x (the order of suits in card sets and tables), -1 for no suit.
constexpr int SuitIndex(Suit s) {
    switch (s) {
    case 'g': return 0;
    case 'p': return 1;
    case 'h': return 2;
    case 'x': return 3;
    default: return -1;
    }
}
inline int RankOf(CardCode c) { return c.rank; }

// Seats 1..4 play in increasing order; partners sit opposite.
inline int NextSeat(int s) { return s % 4 + 1; }
inline int PartnerOf(int s) { return (s + 1) % 4 + 1; }
inline int PreviousSeat(int s) { return (s + 2) % 4 + 1; }
inline bool SameTeam(int a, int b) { return a == b || a == PartnerOf(b); }
inline bool IsTeamA(int s) { return s == 1 || s == 3; }

// Whole numbers from fractions: nearest, a half to the even neighbour.
inline long RoundHalfEven(double v) { return static_cast<long>(std::nearbyint(v)); }

} // namespace zarv
