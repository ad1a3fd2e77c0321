// The rest of a hand played exactly, when every seat's cards are known (one
// of the worlds the Expert imagines): minimax over every card each seat may
// play, with alpha-beta pruning, cards of one run counted once, and a table of
// positions already settled at the start of a trick. The value is what the
// hand is worth to seats 1 and 3: +1 to +3 points when they take seven tricks
// first, -1 to -3 when seats 2 and 4 do.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "engine/game_state.h"

namespace zarv::ai {

// A card as a bit: suit lane (16 bits each, g p h x) and rank - 2.
using CardBits = uint64_t;

struct SearchPosition {
    std::array<CardBits, 4> hands{};  // seats 1..4 at 0..3
    int leader = 0;                   // seat index (0..3) that led the trick in progress
    int played = 0;                   // cards in the trick in progress
    std::array<uint8_t, 4> trick{};   // their bit numbers, in the order played
    int tricksA = 0, tricksB = 0;
    int trump = -1;                   // suit lane, -1 without a trump
    int sweepA = 2, sweepB = 2;       // points for taking seven tricks to none
};

// The position of a game state: every seat's held cards as the state says.
SearchPosition PositionOf(const GameState& s);
int BitOf(CardCode card);
CardCode CardOfBit(int bit);

class TrickSearch {
public:
    // Gives up (returns nothing) after this many positions.
    explicit TrickSearch(long nodeBudget = 200000);
    // The exact value of the position for seats 1 and 3.
    std::optional<int> Value(const SearchPosition& position);
    // The exact value of each card the seat to move may play.
    std::optional<std::vector<std::pair<CardCode, int>>> ValuesOfMoves(const SearchPosition& position);
    long nodes() const { return nodes_; }

private:
    struct Entry {
        std::array<CardBits, 4> hands{};
        uint32_t generation = 0;
        int8_t leader = -1, tricksA = -1;
        int8_t lower = -100, upper = 100;
    };
    int Search(int alpha, int beta);
    int Play(int bit, int alpha, int beta);
    template <typename Probe> int Exact(Probe probe);
    CardBits Legal(int seat) const;  // the seat's cards it may play now
    CardBits Present() const;
    int Moves(int seat, std::array<int, 13>& out) const;
    Entry& Slot();
    void Begin(const SearchPosition& position);

    SearchPosition p_;
    long budget_, nodes_ = 0;
    bool exhausted_ = false;
    uint32_t generation_ = 0;
    std::vector<Entry> table_;
};

} // namespace zarv::ai
