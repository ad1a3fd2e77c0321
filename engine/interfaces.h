// Everything the engine reaches outside itself goes through these small
// interfaces. The window implements them with Qt; tests and zarv-sim implement
// them headless, so whole games run without a display.
#pragma once

#include <limits>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "engine/card.h"
#include "engine/card_reason.h"
#include "engine/game_state.h"
#include "engine/table_event.h"
#include "engine/table_message.h"

namespace zarv {

struct TrickRecord;
struct TableSnapshot;

// A deadline that never comes: wait for an event.
constexpr double kForever = std::numeric_limits<double>::infinity();

// One card of a movement: from where it lies to where it goes.
struct CardMove {
    int index = 0;  // Deck index
    int toX = 0, toY = 0;
    int owner = 0;  // the card's Owner once it has arrived
    int fromX = 0, fromY = 0;
};

enum class MenuItem { PlayerName, Replay, Options, Network, TraceMode };

// The table as the engine sees it: drawing, balloons, questions, menus.
class Presentation {
public:
    virtual ~Presentation() = default;
    virtual void FreezeRepaint(bool frozen) = 0;
    // Lays the table out in window or full-screen mode (rescaling seats and cards).
    virtual void SetScreenSize(bool makeFull) = 0;
    virtual bool IsFullScreen() const = 0;
    // The pack's codes are set; paint one face per card and the back.
    virtual void MakeCardPictures() = 0;
    virtual void RefreshPage() = 0;
    virtual void DrawTable() = 0;
    virtual void DrawBoard() = 0;
    virtual void DrawMasterMark() = 0;
    virtual void DrawTrumpSign(Suit suit, int x, int y) = 0;
    // Repaints the cards in painting order, leaving out the last moved.size() entries.
    virtual void RepaintCards(std::span<const int> moved) = 0;
    // Shows a movement stepwise; Deck still holds the old places and already the
    // new faces. Returns when the cards have arrived or the game is stopping.
    virtual void ShowMovement(std::span<const CardMove> moves) = 0;
    // What the table announces, in a balloon from the seat that says it or
    // from the table; returns when it has closed (at once when balloons are off).
    virtual void Announce(const TableEvent& event) = 0;
    // Paints the give-up flag as it is now, or covers it when it is hidden.
    virtual void ShowGiveUp(GiveUpFlag flag) = 0;
    virtual bool AskNewGame() = 0;  // the game is over: a new one (true), or the program ends
    virtual void CloseMainWindow() = 0;
    virtual void EnableMenu(MenuItem item, bool enabled) = 0;
    // The check mark of a menu item that can be on or off (Trace Mode).
    virtual void CheckMenu(MenuItem item, bool checked) = 0;
    virtual void Beep() = 0;
    // A new game is about to begin (the table may set up its seats and connections).
    virtual void BeforeNewGame() {}
    // The seat to move, or what the game waits for, may have changed (the
    // table's turn marker and the words that say what is expected).
    virtual void ShowTurn() {}
    // The outermost game procedure has returned: nothing of a game is on the
    // call stack any more (Game::Running() is false).
    virtual void GameUnwound() {}
};

// The event loop and the monotonic clock. Waits sleep in WaitForEvents; nothing
// in the engine spins.
class EventPump {
public:
    virtual ~EventPump() = default;
    // Runs the events that are pending now, without blocking.
    virtual void ProcessEvents() = 0;
    // Sleeps until at least one event has been handled or Now() reaches the
    // deadline, whichever comes first. An infinite deadline waits for an event.
    virtual void WaitForEvents(double deadline) = 0;
    // Seconds on a clock that never jumps back (no wrap at midnight).
    virtual double Now() const = 0;
    // As WaitForEvents, for a wait on another machine (a message, a move
    // limit): a pump that skips pauses must still wait for the peer here.
    virtual void WaitForMessage(double deadline) { WaitForEvents(deadline); }
};

// Uniform numbers in [0, 1).
class Random {
public:
    virtual ~Random() = default;
    virtual double Next() = 0;
    // Seeds from the clock; a generator with a fixed seed for tests keeps its sequence.
    virtual void Reseed() = 0;
};

// The connections of a network game. Index 0 is the listening socket on the
// host and the one connection on a client.
class Network {
public:
    virtual ~Network() = default;
    virtual int ElementCount() const = 0;
    virtual bool IsConnected(int index) const = 0;
    // Writes the message to the connection (its texts are the network layer's).
    virtual void Send(int index, const TableMessage& message) = 0;
    virtual void CloseAll() = 0;
    // Handles the first queued message from source that is the awaited one
    // (for a Move, of that seat; for Received, of what it acknowledges); true
    // when it found one.
    virtual bool HandleMessage(int source, const TableMessage& awaited) = 0;

    // What goes beyond the original protocol travels only between our own
    // programs; each does nothing where no such program is connected.

    // Closes a connection whose player stayed silent past the move limit;
    // whatever it sent and was not read yet is forgotten with it.
    virtual void Drop(int /*index*/) {}
    // The Dealer waits for seat's decision (0: for nobody), for at most
    // secondsLeft (0: no limit), so that every table can show it.
    virtual void AwaitingSeat(int /*seat*/, double /*secondsLeft*/) {}
    // Work of the connections that is due at a time (heartbeats, a silent
    // peer). Every wait calls it; it returns when it wants to run again.
    virtual double Housekeep() { return kForever; }
    // The Dealer: the next player who came back to a seat, seated only when
    // the table is settled (between two turns).
    struct ReturningPlayer {
        int seat = 0;
        int connection = 0;
    };
    virtual std::optional<ReturningPlayer> TakeReturn() { return std::nullopt; }
    // The Dealer: the player has its seat again; its machine gets the table
    // as it stands and the others are told.
    virtual void WelcomeBack(const ReturningPlayer& /*player*/, const TableSnapshot& /*table*/,
                             const std::string& /*name*/) {}
    // The Dealer starts a new game: what the clients sent for the old one is stale.
    virtual void GameStarting() {}
    // A client: a lost Dealer may be reached again and this seat taken back.
    virtual bool CanReturn() const { return false; }
};

// A computer player's decision: the card, and why (shown when a hand is studied).
struct CardChoice {
    CardCode card;
    CardReason reason;
    bool operator==(const CardChoice&) const = default;
};

// The computer player. It decides; the engine checks and plays.
class ComputerPlayer {
public:
    virtual ~ComputerPlayer() = default;
    // Chooses one card for the seat at that place of the trick (1 leads .. 4
    // plays last), without playing it.
    virtual CardChoice SelectCard(int seat, int position) = 0;
    // The trump for a computer master player, from Deck positions first..first+count-1.
    virtual Suit ChooseTrump(int first, int count) = 0;
};

// Per-player results at game over.
class PlayerRecords {
public:
    virtual ~PlayerRecords() = default;
    // undone: the person took moves back in the game.
    virtual void AddPlayerResult(const std::string& name, bool won, bool undone) = 0;
};

// Optional listener for tools and tests that report on a game.
class GameObserver {
public:
    virtual ~GameObserver() = default;
    // A hand is being dealt (replays included), with its master player.
    virtual void HandStarted(int /*master*/) {}
    // The trump of the hand is known (no suit when nobody named one).
    virtual void TrumpKnown(Suit /*trump*/) {}
    // A card is in the trick (before the trick is settled).
    virtual void CardPlayed(int /*seat*/, CardCode /*card*/) {}
    virtual void TrickSettled(const TrickRecord& trick) = 0;
    // Called once the hand is scored and the master role has passed on.
    virtual void HandScored(int winner, int points) = 0;
    // The Dealer found a seated player's connection lost.
    virtual void PlayerLost(int /*seat*/) {}
    // The Dealer gave up waiting for a silent seat: the computer plays it.
    virtual void SeatSilent(int /*seat*/, double /*seconds*/) {}
    // The Dealer seated a player who came back.
    virtual void PlayerReturned(int /*seat*/) {}
    // A returning machine has caught up with the table; play goes on from here.
    virtual void TableTakenUp() {}
};

} // namespace zarv
