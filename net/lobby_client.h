// Our side of a table server's lobby: it asks for the lobby, learns the
// tables, makes one, keeps a seat or watches. Once a seat is kept, the
// connection is handed to the program's network session, which asks for it
// with "Connect" as for any Dealer. Given a stream, a watcher writes what it
// sees in the lines zarv-sim prints for a game.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "net/notice.h"
#include "net/framing.h"
#include "net/lobby_wire.h"
#include "net/transport.h"
#include "net/watched_table.h"

namespace zarv::net {

class LobbyClient : public TransportEvents {
public:
    explicit LobbyClient(Transport& transport, std::ostream* watchLog = nullptr)
        : transport_(transport), out_(watchLog) {}

    // TransportEvents (the connection to the server, element 0)
    static constexpr size_t kMaxTables = 100'000;  // the most a server may list

    void OnAccepted(int) override {}
    void OnConnected() override;
    void OnConnectFailed(const std::string& why) override;
    void OnData(int index, std::string_view bytes) override;
    void OnClosed(int index) override;

    void Make(const MakeRequest& request);
    void Sit(int table, int seat, const std::string& password);
    void Watch(int table, const std::string& password);
    void List();
    void AskTop();
    void Start(int table);
    void Leave();  // stops watching
    // Accounts (on an encrypted connection only; the server refuses them on
    // a plain one). The answer is okWhat "SignedIn" (and signedInAs and
    // sessionToken), or a refusal; an older server does not know them.
    void Register(const std::string& name, const std::string& password);
    void SignIn(const std::string& name, const std::string& password);
    void Resume(const std::string& name, const std::string& token);
    void SignOut();
    void ChangePassword(const std::string& oldPassword, const std::string& newPassword);  // okWhat "Password"
    void DeleteAccount(const std::string& password);                                       // okWhat "Deleted"

    // What the server said.
    bool connected = false;
    bool failed = false;
    std::string failure;
    bool closed = false;
    int lobbyVersion = 0;     // 0 until "Lobby" arrived: a server of ours
    bool listed = false;      // the first list is complete
    std::map<int, TableLine> tables;
    std::string refusal;      // the last "LobbyNo", in its English words
    NoticeText refusalNotice;  // ... and as a notice
    // The server sends notices with their codes (it answered "LobbyNotices").
    bool noticesAgreed = false;
    // The server shows ratings (it answered "LobbyRatings"): table lines carry
    // marks, the top list is by rating, and a table may be made unrated.
    bool ratingsAgreed = false;
    // The server knows the four computer levels (it answered "LobbyLevels").
    bool levelsAgreed = false;
    std::string okWhat;       // the last "LobbyOk": Made, Sit, Watch, Leave, Start or an account's
    std::string signedInAs;   // the account's name as registered (empty: a guest)
    std::string sessionToken;  // to sign in again without the password
    int okTable = 0, okSeat = 0;
    // Watching
    int gamesSeen = 0;
    bool tableClosed = false;
    std::string closingWords;
    NoticeText closingNotice;
    std::vector<TopLine> top;  // the server's best players, after AskTop
    bool topListed = false;
    // Called after anything arrived, failed or closed.
    std::function<void()> onNews;
    std::optional<int> TableNamed(const std::string& name) const;
    WatchedTable watched;  // the table being watched, as it stands
    // A player's chat line at the watched table: seat and text.
    std::function<void(int, const std::string&)> onChat;
    // Every "Seen" text arrives here too (tests check each byte).
    std::function<void(const std::string&)> onSeen;
    // What the watched table announces (a hand, its ZARV, its result, the
    // game's end), once `watched` has taken it in.
    std::function<void(const SeenEvent&)> onTableNews;

private:
    void Handle(const Piece& piece);
    // "LobbyNo" and "LobbyOk": to what this program asked by itself, or to the person's request.
    void Refused(const std::string& detail);
    void Done(const std::string& detail);
    void Seen(const std::string& detail);
    void Send(const std::string& command, const std::string& detail);
    Transport& transport_;
    std::ostream* out_;
    Framer framer_;
    // The hand being watched.
    int tricks_ = 0, teamA_ = 0, teamB_ = 0;
    std::string trick_;
    // "LobbyNotices" was asked and its answer has not come.
    bool noticesAsked_ = false;
    bool ratingsAsked_ = false;
    bool levelsAsked_ = false;
};

} // namespace zarv::net
