// Where this machine stands in network play, as one value. Every change is a
// named step that is taken only from the modes it belongs to; a step asked
// for at the wrong moment (a report that arrives late, a second click) is
// refused and changes nothing.
#pragma once

#include <string_view>

namespace zarv::net {

class NetworkMode {
public:
    enum class Kind {
        Alone,          // this machine's own game
        Hosting,        // the Dealer's lobby: listening while people join
        Joining,        // a client on its way to a seat, at a Dealer or a server table
        InServerLobby,  // connected to a table server, choosing a table
        Watching,       // watching a server table
        Dealing,        // the Dealer's network game is on
        Joined,         // a client's network game is on
        Reconnecting,   // the Dealer was lost; the seat is being asked back
        Returning,      // the Dealer gave the seat back; taken up once the game has unwound
        Ending,         // the game ended while the engine was busy; cleaned once it has unwound
        Ended,          // a client's game is over; its table stays in sight until the next game
    };

    Kind kind() const { return kind_; }
    bool is(Kind kind) const { return kind_ == kind; }
    // A network game is being played: the chat is open and Network... is closed.
    bool gameOn() const;
    // What the mode is called in a log or a test's message.
    static std::string_view Name(Kind kind);

    // Every step from anywhere back to a game of this machine alone.
    void BecomeAlone() { kind_ = Kind::Alone; }
    // Steps out of the lobby stage (Alone or a lobby): listen, go to a Dealer,
    // open a table server's lobby.
    bool Host();
    bool Join();
    bool OpenServerLobby();
    // The server's lobby kept a seat or let this machine watch.
    bool SitDown();
    bool Watch();
    // The network dialog closed with Start.
    bool StartGame();
    // A client's Dealer went away and it may come back to its seat.
    bool LoseDealer();
    // The Dealer sent the table back (after reconnecting, or joining the
    // Dealer where the seat was lost).
    bool TableBack();
    // The table sent back is taken up.
    bool Resume();
    // The game ends while the engine is still busy with it.
    bool EndLater();
    // The game is over here: a client's table stays in sight (Ended), the
    // Dealer's network is gone (Alone).
    bool End(bool client);

private:
    bool Step(bool allowed, Kind to);
    bool InLobbyStage() const;
    Kind kind_ = Kind::Alone;
};

} // namespace zarv::net
