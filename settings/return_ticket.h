// The seat this machine holds in a network game, kept across a restart: a
// program that crashed or was closed in the middle of a game asks the same
// Dealer or table server for the seat back with the token it was given.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace zarv::settings {

class SettingsStore;

struct ReturnTicket {
    bool server = false;   // a table server's table, else a Dealer's game
    std::string address;   // as the person typed it, to show and to fill the dialog in
    std::string host;      // where to connect
    int port = 0;
    bool encrypted = false;  // a table server reached over TLS
    std::string token;     // what the Dealer gave for the seat
    int seat = 0;          // the seat, as this machine numbers it
    int64_t savedAt = 0;   // seconds since the epoch

    // A game lasts an evening at most: an older ticket is not offered.
    static constexpr int64_t kKeepSeconds = 12 * 3600;
};

// The ticket kept, when there is one that is whole and not older than
// kKeepSeconds at `now`; anything else reads as none.
std::optional<ReturnTicket> ReadReturnTicket(SettingsStore& store, int64_t now);
void SaveReturnTicket(SettingsStore& store, const ReturnTicket& ticket);
void ForgetReturnTicket(SettingsStore& store);

} // namespace zarv::settings
