// One record of games won and lost per player name, with a check code that
// notices numbers edited by hand in the store.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace zarv::settings {

class SettingsStore;

using CheckCode = std::array<uint8_t, 15>;
inline constexpr char kRecordKey[] = "QUOTRWSPNVXHYZT";

// The code of win and lost with the salt n (100..900).
CheckCode MakeCheckCode(int64_t win, int64_t lost, int n);
// (win - lost) x 2.5 x n written with a sign position: " 0", "-7.5", " 250".
std::string SignedNumberText(double value);

// Adds a win or a loss to the player's record and writes a fresh code; rnd is
// a uniform number in [0, 1) for the salt. False when the result could not be
// kept (the file cannot be written, or a name with "\" that would be filed
// under another player's key): the caller tells the person.
// undone: the person took moves back in that game; such games are counted
// apart as well ("Undone", which older stores read as none).
bool AddPlayerResult(SettingsStore& store, const std::string& name, bool won, double rnd, bool undone = false);
// The player's games in which moves were taken back.
int64_t UndoneGames(SettingsStore& store, const std::string& name);
// Reads and verifies a record. A record that fails is set to zero in the
// store; win and lost keep what was read.
bool CheckPlayerRecord(SettingsStore& store, const std::string& name, int64_t& win, int64_t& lost);
// Deletes every player's record at once; the settings themselves stay.
void ResetAllRecords(SettingsStore& store);

} // namespace zarv::settings
