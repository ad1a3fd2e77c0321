// The door and the lobby of a table server, on the socket thread: who may
// connect, which table a connection goes to, the lobby's own messages, the
// names held at tables, and the limits that keep one person from spoiling the
// server for the others. Plain C++: the sockets are behind LobbyLinks, the
// tables behind TableFactory, so tests and the fuzzer drive it without either.
#pragma once

#include <array>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>

#include "net/notice.h"
#include "net/framing.h"
#include "net/lobby_wire.h"
#include "server/account_request.h"
#include "server/game_record.h"
#include "server/reserved_names.h"
#include "server/sign_in_limits.h"
#include "server/sender_guard.h"
#include "server/server_table.h"

namespace zarv::server {

struct LobbyLimits {
    int maxTables = 500;
    int connectionsPerAddress = 16;  // 0: no limit
    int tablesPerConnection = 3;
    double connectTimeout = 30;      // seconds to ask for a seat, a return or the lobby
    // The rules of the tables a program of the original protocol is seated at.
    ai::Level levelForOriginal = ai::Level::Standard;
    double moveLimit = 60;
    double autoStartAfter = 60;
    // For every table.
    double idleAfter = 600;
    double nextGameAfter = 10;
    bool skipPauses = false;
};

class LobbyLinks {
public:
    virtual ~LobbyLinks() = default;
    virtual void Send(int connection, const std::string& text) = 0;
    // Closes once what was sent has been written out.
    virtual void Close(int connection) = 0;
    virtual void Log(const std::string& line) = 0;
    virtual double Now() const = 0;
    // The server's standings, best first (none without a results database).
    virtual std::vector<Standing> Top() const { return {}; }
    // The registered players by rating, and one name's rating.
    virtual std::vector<RatedStanding> RatedTop() const { return {}; }
    virtual int RatingOf(const std::string& /*name*/) const { return kStartingRating; }
    // The lobby holds news back until then: Housekeep is to be called by that time.
    virtual void HousekeepBy(double when) = 0;
    // Bytes of lobby news the connection may be sent now: a follower that
    // reads slowly is told the rest later, not dropped for a full buffer.
    virtual size_t Room(int connection) const = 0;
    // Stop reading the connection (its table has not taken what it sent),
    // or read on: what arrived meanwhile is handed to Data then.
    virtual void Hold(int /*connection*/, bool /*held*/) {}
    // Hands an account request to the accounts (answered later through
    // Lobby::AccountAnswered): Ok when taken, Busy when too many wait,
    // Unavailable on a server without accounts.
    virtual AccountOutcome AskAccounts(const AccountRequest&) { return AccountOutcome::Unavailable; }
};

class TableFactory {
public:
    virtual ~TableFactory() = default;
    virtual std::unique_ptr<TableHandle> Open(int id, const TableRules& rules) = 0;
};

class Lobby {
public:
    Lobby(LobbyLimits limits, LobbyLinks& links, TableFactory& tables);

    // The sockets' news. Accept is false when the connection is refused.
    // secure: the connection is encrypted (TLS), so passwords may travel on it.
    // browser: a web client's connection (its texts come from a WebLink).
    bool Accept(int connection, const std::string& address, bool secure, bool browser = false);
    void Data(int connection, std::string_view bytes);
    void Closed(int connection);
    // Closes connections that said nothing in time and tells the followers
    // the news held back; returns when to call again.
    double Housekeep();
    // Every table and every connection hears the words; the tables end.
    void Shutdown(const std::string& words);
    // The admin's sanctions as they now stand, and whether an address lies in
    // a banned range: a banned name or address is refused from now on, and
    // one already here is told why and closed (its seat goes to the computer).
    void ApplySanctions(Sanctions now, std::function<bool(const std::string& address)> addressBanned);

    // The tables' news, moved to the socket thread.
    void TableChanged(int table, const std::array<std::string, 5>& names, const std::array<net::SeatFill, 5>& fills,
                      bool playing);
    void TokenGiven(int table, int connection, const std::string& token);
    // The table closes the connection (it refused a seat, dropped a player...).
    void TableClosed(int table, int connection);
    void TableEnded(int table);
    // The accounts' answer to a connection's request, and the registered
    // names as they now stand (nobody else may sit under them).
    void AccountAnswered(const AccountAnswer& answer);
    void SetReservedNames(const std::vector<NameKeys>& names) { reserved_.Set(names); }

    size_t tableCount() const { return tables_.size(); }
    size_t connectionCount() const { return connections_.size(); }
    // The table a connection is at or watches (0: none).
    int TableOf(int connection) const;

    // Messages of one connection its table may have waiting; past it the
    // connection is not read until the table catches up, and a connection
    // with this many more held is closed.
    static constexpr size_t kMaxWaiting = 64;
    static constexpr size_t kMaxHeld = 4096;
    static constexpr double kHeldCheckEvery = 0.02;
    // Messages a connection may send while the accounts answer it; past it, it is closed.
    static constexpr size_t kMaxAfterAccounts = 32;

private:
    enum class Where { Door, Lobby, Table, Watching, Leaving };
    struct Connection {
        std::string address;
        net::Framer framer;
        Where where = Where::Door;
        bool ours = false;
        bool secure = false;
        bool following = false;  // asked for the list: hears of every change while in the lobby
        std::set<int> untold;    // tables whose latest news it has not had room for yet
        int listEndOwed = -1;    // the count its list ends with, once the list is all told
        bool notices = false;    // reads notices by their codes ("LobbyNotices")
        bool ratings = false;    // shows ratings ("LobbyRatings")
        bool levels = false;     // knows the four computer levels ("LobbyLevels")
        // Which table lines it reads: with ratings or not, with levels or not.
        int Dialect() const { return (ratings ? 1 : 0) + (levels ? 2 : 0); }
        bool browser = false;    // a web client: the tables speak to it in JSON
        double since = 0;
        int table = 0;
        int chosenTable = 0, chosenSeat = 0;  // LobbySit: kept for the "Connect" that follows
        int tablesMade = 0;
        std::string name;  // the name it sat under (held while it is at the table)
        SenderGuard guard;
        bool forfeited = false;  // closed for flooding: its seat is not kept for it
        std::deque<std::string> held;  // for its table, which has not taken what came before
        std::string account;           // the name it signed in with (empty: a guest)
        std::string guestName;         // a browser's name when it is no account's
        NameKeys accountKeys;
        std::string session;           // its session's token, to sign out with
        bool askingAccounts = false;   // a request is with the accounts
        std::deque<net::Piece> afterAccounts;  // what it sent meanwhile
    };
    struct Table {
        std::unique_ptr<TableHandle> handle;
        net::TableLine line;
        std::string password;
        int maker = 0;
        bool makerAtTable = true;
        std::set<int> watchers;
        bool ending = false;
        std::string announced;  // the last "TableIs" its followers heard
        // Seats given to connections the table has not yet reported seated:
        // nobody else is sent to them meanwhile.
        std::map<int, int> promised;  // seat -> connection
    };

    // Judges a connection's message, then dispatches it (or keeps it while
    // the connection waits for the accounts).
    void Handle(int id, Connection& c, const net::Piece& piece);
    void Dispatch(int id, Connection& c, const net::Piece& piece);
    void HandleLobby(int id, Connection& c, const net::Piece& piece);
    void Welcome(int id, Connection& c);
    void Make(int id, Connection& c, const std::string& detail);
    // The table to sit at or watch, or nothing (and the connection is told why).
    Table* TableFor(int id, int table, const std::string& password, bool toWatch);
    void Sit(int id, Connection& c, const std::string& detail);
    void Watch(int id, Connection& c, const std::string& detail);
    void StopWatching(int id, Connection& c);
    void StartTable(int id, Connection& c, const std::string& detail);
    void PlayNow(int id, Connection& c, const std::string& detail);
    // Room for one more table, and this connection has not made its share (else it is told why).
    bool MayMakeTable(int id, const Connection& c);
    void Seat(int id, Connection& c, const net::Piece& connect);
    void Return(int id, Connection& c, const net::Piece& request);
    // The account commands of the lobby ("LobbyRegister" and the like).
    bool IsAccountCommand(const std::string& command) const;
    void AccountCommand(int id, Connection& c, const net::Piece& piece);
    void Answer(int id, Connection& c, const AccountAnswer& answer);
    // The name a connection may sit under, or nothing (and it is refused).
    std::optional<std::string> SeatName(int id, Connection& c, const std::string& asked);
    // A browser's guest name that an account holds: it is told so while
    // still in the lobby (true), rather than refused at its seat.
    bool GuestNameReserved(int id, const Connection& c);
    void No(int id, net::Notice why, const std::string& name = std::string());
    static std::string NoticeFor(const Connection& c, const net::NoticeText& notice);
    void Refuse(int id, Connection& c, const std::string& why);
    int OpenTable(const TableRules& rules, const std::string& password, bool watchable, int maker);
    // A waiting public table with a place for a program of the original
    // protocol, and the seat its Dealer would give (a new table if none).
    std::pair<int, int> TableForOriginal(const std::string& side);
    // Taken, promised or chosen in the lobby by someone else.
    bool SeatSpoken(int table, int seat, int asker) const;
    void Unpromise(int connection);
    void Announce(int table);
    void AnnounceGone(int table);
    // Followers hear the first news at once, and what follows within
    // kAnnounceEvery as one batch of each table's latest line: a lobby
    // where many tables fill at once would otherwise bury every follower.
    void Tell(int table);
    void TellHeld();
    void TellUntold(int id, Connection& c);
    // A table's latest line, or that it is gone; with ratings, each seat's mark too.
    std::string NewsOf(int table, int dialect) const;
    // A seat's mark: a registered person's rating, "G" for a guest.
    std::string MarkOf(const net::TableLine& line, int seat) const;
    void SendTop(int id, const Connection& c);
    void Drop(int id, const std::string& why);
    // Tells a connection the notice in the way it reads notices where it is.
    void Notify(int id, const Connection& c, const net::NoticeText& notice);
    void Banish(int id, Connection& c, const std::string& why, const std::string& words);
    // What a connection at a table sends it: checked, then handed on or held.
    void ToTable(int id, Connection& c, const net::Piece& piece);
    void Forward(int id, Connection& c, std::string text);
    // Hands held messages to tables that have room again; true while any are left.
    bool FeedHeld();
    // Closes the connection when the guard says so; true when it did.
    bool Judge(int id, SenderGuard::Verdict verdict, const SenderGuard& guard);
    bool NameHeld(const std::string& name) const;
    void Log(const std::string& line) { links_.Log(line); }

    LobbyLimits limits_;
    LobbyLinks& links_;
    TableFactory& factory_;
    std::map<int, Connection> connections_;
    std::map<int, Table> tables_;
    std::map<std::string, int> perAddress_;
    // Names seated at tables, folded to lower case: the connection that holds
    // each (0 after it left: a player with the return token may still come back).
    std::map<std::string, std::pair<int, int>> names_;  // name -> (table, connection)
    std::map<std::string, std::pair<int, std::string>> tokens_;  // return token -> (table, name)
    int nextTable_ = 1;
    bool closing_ = false;
    Sanctions sanctions_;
    SignInLimits signInLimits_;
    ReservedNames reserved_;
    std::function<bool(const std::string&)> addressBanned_;
    static constexpr double kAnnounceEvery = 0.5;
    std::set<int> held_;       // tables with news not yet told
    double nextTelling_ = 0;  // when news may go out again
    bool behind_ = false;     // a follower has news it had no room for
};

} // namespace zarv::server
