// The browsers at one table, on the table's thread. To the Dealer's session a
// browser is a program of ours like any other: this class speaks the
// protocol for it (asks for the seat, acknowledges each deal) and keeps what
// the session writes to it; the browser hears only its seat's view, the
// table's news and the chat, in JSON lines. Its moves are checked here
// against the rules before the session ever sees them, and a refused one is
// answered with the reason.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "engine/game_state.h"
#include "engine/table_event.h"
#include "net/framing.h"
#include "server/seat_view.h"

namespace zarv::server {

class BrowserSeats {
public:
    struct Links {
        // One JSON message for a browser's connection.
        std::function<void(int connection, const std::string& json)> send;
        // A protocol text for the Dealer's session, as if the connection had sent it.
        std::function<void(int connection, const std::string& text)> deliver;
        // The seat the connection holds (0: none).
        std::function<int(int connection)> seatOf;
        // The computer's choice for a seat (a hint); empty when it has none.
        std::function<CardCode(int seat)> suggest;
        // Starts the review of the last hand for the seat, to be sent to the
        // connection when made; else says why not ("noReview", "reviewBusy").
        std::function<std::string(int connection, int seat)> review;
        // Runs the job at the table's next wait (never inside the session's own call).
        std::function<void(std::function<void()>)> later;
    };
    static constexpr size_t kChatKept = 50;

    BrowserSeats(const GameState& state, Links links) : s_(state), links_(std::move(links)) {}

    void AddPlayer(int connection) { browsers_[connection] = Browser{}; }
    void AddWatcher(int connection);
    void Remove(int connection) { browsers_.erase(connection); }
    bool Has(int connection) const { return browsers_.count(connection) > 0; }
    bool empty() const { return browsers_.empty(); }

    // What the Dealer's session writes to a browser's connection.
    void FromDealer(int connection, std::string_view bytes);
    // What a seated browser sent through the lobby ("WebPlay;h14|", "Connect;...|").
    void FromBrowser(int connection, const std::string& text);
    // Each browser gets its view where it has changed.
    void Refresh(const TableFacts& facts);
    // The table's news and chat, for every browser (and the history).
    void News(const TableEvent& event);
    void Chat(int seat, const std::string& text);
    // The person asked for the next game now (the table may start it early).
    bool TakeAgainAsked();

private:
    struct Browser {
        bool watcher = false;
        bool moveSent = false;  // its decision is on its way: no second one
        net::Framer framer;
        std::string lastView;   // the last view sent, without its countdown
        bool historySent = false;
    };

    void HandleDealerText(int connection, Browser& b, const net::Piece& piece);
    void Play(int connection, Browser& b, const std::string& detail);
    void NameTrump(int connection, Browser& b, const std::string& detail);
    void Hint(int connection);
    void Review(int connection);
    void SayChat(int connection, const std::string& text);
    void Refuse(int connection, const std::string& reason, const std::string& extra = std::string());
    void ToAll(const nlohmann::json& message);
    void SendHistory(int connection, Browser& b);
    void Keep(nlohmann::json line);

    const GameState& s_;
    Links links_;
    std::map<int, Browser> browsers_;
    std::deque<nlohmann::json> history_;  // chat lines and news, oldest first
    TableFacts facts_;
    bool againAsked_ = false;
};

// A table's news as the browser protocol carries it: {"t":"news","kind":...}.
nlohmann::json NewsMessage(const TableEvent& event);

} // namespace zarv::server
