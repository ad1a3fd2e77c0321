// The texts that travel between the Dealer and its clients: a command name,
// ";", a detail and "|". Everything here is exact to the byte, so that
// another program speaking the same protocol can play with ours.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "net/notice.h"
#include "engine/card.h"
#include "engine/game_state.h"
#include "engine/table_event.h"
#include "engine/table_message.h"
#include "engine/table_snapshot.h"

namespace zarv::net {

constexpr int kDefaultPort = 1001;
constexpr char kEnd = '|';

// "Command;Detail|".
std::string Message(std::string_view command, std::string_view detail);

// The commands that are handled as soon as they arrive; the others wait in
// the queue until a wait of the engine asks for them.
bool IsImmediate(std::string_view command);
// Whether a wait of the Dealer (or of a client) can ever ask for the command:
// what no wait asks for and is not handled on arrival is not kept.
bool DealerMayWaitFor(std::string_view command);
bool ClientMayWaitFor(std::string_view command);
// "IMove1".."IMove4" -> the seat, else 0.
int MoveSeat(std::string_view command);

// The deal order as "HandIs" carries it (DealText), read back:
// exactly 156 characters, 52 distinct valid codes.
std::optional<std::array<CardCode, 52>> DecodeDeal(std::string_view detail);

// The seat a joining player gets, and the sentence that tells him so.
struct JoinReply {
    int code = 3;      // the seat 1, 2 or 4; 3 refuses
    const char* text = "";
    const char* word = "";  // "Partner" or "Against": the position, as the players list shows it
};
// seatTaken[s] for seats 1..4 (seat 3 is the Dealer's own).
JoinReply AssignSeat(std::string_view side, const std::array<bool, 5>& seatTaken);
extern const char* const kRefusal;  // "All Positions are ingaged, please try later."

// "Connect" detail: name ";" side. Nothing without a ";"; "Unknown" for an empty name.
struct ConnectRequest {
    std::string name;
    std::string side;
};
std::optional<ConnectRequest> ParseConnect(std::string_view detail);

// "Start" detail (StartText): name and kind of seats 1..4, each
// field ended by ";".
struct StartSeats {
    std::array<std::string, 5> names;
    std::array<SeatKind, 5> kinds{};
};
std::optional<StartSeats> ParseStart(std::string_view detail);

// A detail "seat;text" ("Chat", "Disconnected"), the seat one digit 1..4.
struct SeatText {
    int seat = 0;
    std::string text;
};
std::optional<SeatText> ParseSeatText(std::string_view detail);

// "Disconnected" detail: the seat and the table's words, which say one of
// two things: the game is over (the Dealer stopped it), or the computer plays
// the seat from now on.
struct LostPlayer {
    enum class Outcome { GameOver, Replaced };
    int seat = 0;
    std::string text;
    Outcome outcome = Outcome::Replaced;
};
std::optional<LostPlayer> ParseDisconnected(std::string_view detail);

// A name or chat line as received: kept as UTF-8 when it is valid UTF-8, else
// read as Latin-1 (an older peer writes its code page).
std::string TextFromWire(std::string_view bytes);
// "name", "name:port", "[v6 address]:port" or a bare IPv6 address; the port
// is kDefaultPort when none is given. Nothing for text that is none of these
// (and *error says why).
struct HostPort {
    std::string host;
    int port = kDefaultPort;
};
std::optional<HostPort> ParseHostPort(std::string_view text, NoticeText* error);

// The engine's messages in words. MessageText is the whole text to send,
// what the message carries beyond its fields taken from the game's state.
// A wait for a message looks for the command, and for "Recived" the detail
// that names what is acknowledged.
std::string MessageText(const TableMessage& message, const GameState& s);
struct AwaitedText {
    std::string command;
    std::string detail;  // empty: any detail
};
AwaitedText AwaitedTextOf(const TableMessage& awaited);
// The detail of "HandIs" (52 codes, each right-aligned in three characters)
// and of "Start" (name and kind of seats 1..4, every field ended by ";").
std::string DealText(const std::array<CardRecord, 53>& deck);
std::string StartText(const std::array<SeatRecord, 5>& seats);

// --- Between our own programs only ---
// A program that follows only the original protocol never receives these: a
// client shows that it knows them by acknowledging its seat ("Recived;Join",
// an acknowledgement any Dealer may receive and leave unread), and only then
// does the Dealer send them; a client sends its own only to a Dealer that has
// sent it "Hello".
//   D -> C  Hello;<token>                 the seat's return token
//   D -> C  Roster;<as Start>             the seats as they stand, in the lobby
//   D -> C  Waiting;<seat>;<seconds>      the Dealer waits for seat (0: nobody),
//                                         seconds left (0: no limit); repeated
//                                         as a heartbeat every kHeartbeat seconds
//   C -> D  Return;<token>                first message of a returning player
//   D -> C  Table;<table>                 the table as it stands, to the returner
//   D -> C  Back;<seat>;<text>            a player came back ("Eve is back.")
//   D -> C  Closing;<text>                the Dealer ends the table on purpose:
//                                         there is nothing to come back to
//   D -> C  Watchers;<n>                  a table server: so many people watch
constexpr const char* kExtensionAck = "Join";  // the detail of the client's "Recived"
constexpr double kHeartbeat = 10.0;
// Whether the command is one of ours beyond the original protocol.
bool IsExtension(std::string_view command);
// The fields of a detail between separators (an empty text is one empty field).
std::vector<std::string_view> Fields(std::string_view text, char separator);
// A count as the texts carry it: 1 to 6 decimal digits.
std::optional<int> ParseCount(std::string_view text);
// A token is 32 lower-case hex digits.
bool IsToken(std::string_view text);
// "Waiting" detail, read back.
struct WaitingFor {
    int seat = 0;
    int seconds = 0;
};
std::optional<WaitingFor> ParseWaiting(std::string_view detail);
// "Table" detail: seat;kinds;firstMaster;master;trump;pointsA;pointsB;
// handsPlayed;resultsA;resultsB;deal;played, where kinds are four letters H/C,
// trump a suit letter or "-", results fourteen digits, deal as "HandIs"
// carries it and played the codes in order, separated by ",".
std::string TableText(const TableSnapshot& table);
std::optional<TableSnapshot> ParseTable(std::string_view detail);

// The detail of "Back" and "Disconnected": the seat and the table's sentence
// about it ("Eve is back.", "Eve disconnected, A Computer Player Replaced by
// him/her.").
std::string SeatNewsText(const TableEvent& event);
// The protocol's word for the side of seat as seen from seat of (by default
// the Dealer's own seat 3): "Partner" or "Against".
const char* SideWord(int seat, int of = 3);
// What a Dealer said about a seat, as the table's event: the sentences our
// Dealers write from events are read back as those events; any other words
// (a Dealer of the original protocol may word its own) come as they are.
TableEvent SeatNewsFrom(TableEvent::Kind kind, int seat, const std::string& name, const std::string& text);

} // namespace zarv::net
