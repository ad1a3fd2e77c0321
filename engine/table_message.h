// A message of a network game as the engine sends it or waits for it. The
// network layer alone writes and reads the texts; what a message carries
// beyond these fields (the seats of Start, the pack of Deal, the trump, the
// lost player's name) it takes from the game's state as it is when sent.
#pragma once

#include <cstdint>

#include "engine/card.h"

namespace zarv {

struct TableMessage {
    enum class Kind : uint8_t {
        Start,         // a new game, with its seats
        MasterPlayer,  // the HAKEM of the first hand
        Deal,          // the order of the pack for a hand
        Trump,         // the ZARV the HAKEM named
        Move,          // a seat's card
        Received,      // an acknowledgement of a Deal, a Trump or a Move
        SeatReplaced,  // a player was lost; the computer plays the seat
    };
    Kind kind = Kind::Start;
    int seat = 0;                     // Move, SeatReplaced; MasterPlayer: the HAKEM
    CardCode card{};                  // Move, when sent
    Kind acknowledges = Kind::Start;  // Received: what it acknowledges (a Move's seat in seat)

    static TableMessage Of(Kind kind, int seat = 0) { return {kind, seat, {}, Kind::Start}; }
    static TableMessage Move(int seat, CardCode card = {}) { return {Kind::Move, seat, card, Kind::Start}; }
    static TableMessage ReceivedOf(const TableMessage& what) { return {Kind::Received, what.seat, {}, what.kind}; }
};

} // namespace zarv
