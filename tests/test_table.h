// A headless table for tests: the engine with quiet interfaces, and helpers
// that lay out hands and tricks the way the engine records them.
#pragma once

#include <initializer_list>
#include <string>
#include <vector>

#include "engine/game.h"
#include "engine/headless.h"

namespace zarv::testing {

struct TestTable : HeadlessGame {
    TestTable() : HeadlessGame(42) {}
};

inline CardCode C(const char* text) { return *CardCode::Parse(text); }

// A full deal in Deck order from 52 codes (or a standard order when empty).
std::vector<CardCode> StandardPack();
std::vector<CardCode> ParsePack(const std::string& codes);
void LoadPack(GameState& s, const std::vector<CardCode>& pack);

// The seats placed and the standard pack laid out closed, ready for NewHand(true).
void ReadyToDeal(Game& game);

// Puts the cards in seat's held slots 1..n (the rest cleared).
void SetHeld(GameState& s, int seat, std::initializer_list<const char*> cards);

// Records a completed trick: cards in the order played from leader. Every
// seat's slot holding its card becomes a copy of the trick, and a new trick
// in progress is opened after it.
void AddCompletedTrick(GameState& s, int leader, std::initializer_list<const char*> cards, int winner);

// Plays cards into the trick in progress from leader on, as PlayCard records
// them (the players' slots mirror the trick with Winner 0).
void StartTrick(GameState& s, int leader, std::initializer_list<const char*> cards);

// The table as it stood at the n-th card decision of a seeded game of four
// standard computer players, and the seat that was to move.
GameState MidHand(uint64_t seed, int decision, int& seat);

} // namespace zarv::testing
