// What the cards a seat played say about the cards it was dealt. The hand so
// far is replayed in an imagined world from its first card: a seat known to
// play by the standard tables played exactly the card they choose in each
// position it saw, so a world where they choose another is impossible; a
// person (or any other player) mostly plays what a reasonable player would,
// so a world where they would have played another card is only less likely.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "engine/game_state.h"

namespace zarv::ai {

enum class SeatModel : uint8_t {
    Person,    // plays the standard card often, anything it may play sometimes
    Standard,  // plays exactly as the standard tables say
    Unread,    // its plays say nothing (a player that reasons otherwise)
};
using SeatModels = std::array<SeatModel, 5>;  // by seat, 1..4

// How often a person plays something else than the standard card: a card the
// standard tables do not choose is then this share of the time, spread over
// the cards the person might have played.
constexpr double kPersonSurprise = 0.5;

// The seats as a table has them: a person's plays read softly, a computer's
// (another of the same level, which reasons its own way) not at all.
SeatModels SeatsAsTheyAre(const GameState& state);

class PlayInference {
public:
    // The plays of the state's hand so far, judged for every seat but the viewer.
    PlayInference(const GameState& state, int viewer, const SeatModels& models);

    struct Verdict {
        double weight = 1;       // how likely the people's plays are in the world, relative to others
        int contradictions = 0;  // plays a standard seat would not have made in the world
        // The first of them: the seat, and the card it would have played instead.
        int seat = 0;
        CardCode instead;
    };
    // The world must hold the state's plays and the other seats' cards dealt
    // anew. Judging stops once more than `enough` contradictions are found.
    Verdict Judge(const GameState& world, int enough = 1 << 20) const;
    // Whether any play can tell one world from another.
    bool Telling() const { return telling_; }

private:
    struct Play {
        int seat = 0;
        CardCode card;
        int deck = 0;  // its Deck index
    };
    // The world as it was dealt: every played card back in its player's hand.
    GameState StartOf(const GameState& world) const;
    std::vector<Play> plays_;
    int firstLeader_ = 0;
    int viewer_;
    SeatModels models_;
    bool telling_ = false;
};

} // namespace zarv::ai
