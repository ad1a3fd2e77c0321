// The texts of a table server's lobby, between the server and our own
// programs. A program of the original protocol never sees them: it connects
// and asks for a seat ("Connect") as it would of a Dealer. Ours speaks first
// with "Recived;Lobby" (an acknowledgement any Dealer may receive and leave
// unread), and only a server that answers "Lobby" hears the rest.
//
//   C -> S  Recived;Lobby                       a program of ours asks for the lobby
//   S -> C  Lobby;<version>                     the answer
//   C -> S  LobbyNotices;1                      this program reads notices by their codes
//   S -> C  LobbyOk;Notices;1                   ... and from now on refusals and closing
//                                               words carry their code: <code>;<words>
//                                               (see notice.h; an older server refuses
//                                               the request, and the words stay words)
//   C -> S  LobbyList;                          lists the tables, and from then on tells
//                                               of every change while in the lobby:
//   S -> C  TableIs;<table line>                a table as it stands (sent again when it changes)
//   S -> C  ListEnd;<count>                     every table has been listed once
//   S -> C  TableGone;<id>                      the table has closed
//   C -> S  LobbyMake;<name>;<password>;<level>;<move limit>;<watchable>
//   C -> S  LobbySit;<id>;<seat>;<password>     the seat (1, 2 or 4) is kept for this
//                                               connection's "Connect", which follows
//   C -> S  LobbyWatch;<id>;<password>          watch the table (the "Seen" texts follow)
//   C -> S  LobbyLeave;                         stop watching
//   C -> S  LobbyStart;<id>                     the maker starts the table
//   S -> C  LobbyOk;<what>;<id>[;<seat>]        Made, Sit, Watch, Leave or Start done
//   S -> C  LobbyNo;<why>                       refused, in words (or <code>;<words>)
//   S -> C  Seen;<what>;...                     what a watcher sees (below)
//   S -> C  Watchers;<n>                        to seated players of ours: so many watch
//   C -> S  LobbyTop;                           the best players of the last 30 days:
//   S -> C  Top;<rank>;<name>;<games>;<wins>;<points>;<HAKEM hands won>   (up to ten)
//   S -> C  TopEnd;<count>
//   C -> S  LobbyRatings;1                      this program shows ratings (an older
//   S -> C  LobbyOk;Ratings;1                   server refuses it); from then on:
//           TableIs lines end with ;<rated 0|1> and each seat's mark (a person's
//           rating, "G" for a guest, else empty); LobbyMake may end with ;<rated 0|1>;
//           the top list is the registered players' by rating, each Top line
//           ending with ;<rating>;<deviation>
//   C -> S  LobbyLevels;1                       this program knows the four computer
//   S -> C  LobbyOk;Levels;1                    levels (an older server refuses it); from
//           then on a TableIs level may be B (Beginner) or M (Master) as well as
//           S and E, and LobbyMake's level beginner or master. Other programs
//           hear a Beginner's table as S and a Master's as E.
//   C -> S  LobbyRegister;<name>;<password>     accounts, on an encrypted connection only:
//   C -> S  LobbySignIn;<name>;<password>       S -> C  LobbyOk;SignedIn;<name>;<token>
//   C -> S  LobbyResume;<name>;<token>          (the token signs in again, for 30 days of disuse)
//   C -> S  LobbySignOut;                       S -> C  LobbyOk;SignedOut
//   C -> S  LobbyPassword;<old>;<new>           S -> C  LobbyOk;Password;<token> (others end)
//   C -> S  LobbyDeleteAccount;<password>       S -> C  LobbyOk;Deleted
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "ai/level.h"
#include "engine/card.h"

namespace zarv::net {

constexpr int kLobbyVersion = 1;
constexpr const char* kLobbyAsk = "Lobby";  // the detail of the client's first "Recived"
constexpr size_t kMaxTableName = 40;
constexpr size_t kMaxPassword = 64;
constexpr size_t kMaxPlayerName = 40;

// How a table's seat is filled, as the lobby shows it.
enum class SeatFill : char { Free = '-', Person = 'H', Computer = 'C' };

struct TableLine {
    int id = 0;
    std::string name;
    bool playing = false;
    bool isPrivate = false;
    bool watchable = true;
    int watchers = 0;
    ai::Level level = ai::Level::Standard;  // of its computer players
    int moveLimit = 0;  // seconds; 0: no limit
    std::array<std::string, 5> names;  // seats 1..4
    std::array<SeatFill, 5> fills{SeatFill::Free, SeatFill::Free, SeatFill::Free, SeatFill::Free, SeatFill::Free};
    // For programs that show ratings (see LobbyRatings).
    bool rated = true;                  // its games count in the ratings
    std::array<std::string, 5> marks;   // a person's rating, "G" for a guest, else empty
};

// "TableIs" detail: id;name;W|P;private 0|1;watchable 0|1;watchers;S|E;move limit;
// then name;fill for seats 1 to 4. Names lose any ";" or "|" they had.
// withRatings: the rated flag and the seats' marks too; withLevels: the
// level's own letter (B S E M), else the nearer of S and E.
std::string TableLineText(const TableLine& table, bool withRatings = false, bool withLevels = false);
std::optional<TableLine> ParseTableLine(std::string_view detail);

struct MakeRequest {
    std::string name;
    std::string password;  // empty: a public table
    ai::Level level = ai::Level::Standard;
    int moveLimit = 60;
    bool watchable = true;
    bool rated = true;  // sent only to a server that agreed to ratings
};
// withLevels: the level's own name, else the nearer of standard and expert.
std::string MakeText(const MakeRequest& request, bool withRated = false, bool withLevels = false);
std::optional<MakeRequest> ParseMake(std::string_view detail);

struct SitRequest {
    int table = 0;
    int seat = 0;  // 1, 2 or 4
    std::string password;
};
std::string SitText(const SitRequest& request);
std::optional<SitRequest> ParseSit(std::string_view detail);

struct WatchRequest {
    int table = 0;
    std::string password;
};
std::optional<WatchRequest> ParseWatch(std::string_view detail);
std::optional<int> ParseTableId(std::string_view detail);

// One line of the server's standings.
struct TopLine {
    int rank = 0;
    std::string name;
    int games = 0, wins = 0, points = 0, hakemWins = 0;
    int rating = 0, deviation = 0;  // the top list by rating (see LobbyRatings)
};
std::string TopLineText(const TopLine& line, bool withRatings = false);
std::optional<TopLine> ParseTopLine(std::string_view detail);

// What a watcher sees, as "Seen" details. Nothing here ever names a card
// that is still in a hand: only cards on the table and the ZARV's suit.
//   Seats;n1;k1;n2;k2;n3;k3;n4;k4      names and kinds (H or C)
//   Points;<a>;<b>                     the game's points of both teams
//   Hand;<number>;<HAKEM>              a hand begins
//   Trump;<suit letter>                the ZARV is named
//   Card;<seat>;<card>                 a card is played into the trick
//   Trick;<winner>                     the trick is settled
//   Result;<winner>;<points>;<next HAKEM>   the hand is scored
//   GameOver;<a>;<b>                   the game is over
//   Chat;<seat>;<text>                 a player's chat line
//   Closed;<text>                      the table has closed
struct SeenEvent {
    std::string what;
    std::string detail;  // the rest, after "what;"
};
std::optional<SeenEvent> ParseSeen(std::string_view detail);

// A table name or password as the lobby takes it: printable, no ";" or "|",
// not longer than the limit.
bool IsLobbyText(std::string_view text, size_t limit);

} // namespace zarv::net
