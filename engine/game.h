// The game engine: the procedures of a game over its state. It owns the
// GameState and reaches the table, the clock, the random generator, the
// network and the computer player only through the interfaces it is given.
#pragma once

#include <array>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "engine/game_state.h"
#include "engine/interfaces.h"
#include "engine/saved_hand.h"
#include "engine/table_snapshot.h"

namespace zarv {

// Who chose a card: the person at this machine, the computer, or a person at
// another machine (the card arrived as a network message).
enum class CardOrigin { LocalPerson, Computer, RemotePerson };

// What a person can ask of the game that changes it. Such a command that
// arrives while the engine waits (inside a pause, a movement, a balloon) is
// kept until the engine is at a safe point: between two turns of the turn
// loop, or with no game procedure running.
enum class Command { Start, Replay, GiveUp, TraceMode, ComputerStep, LoadHand, Resume, Undo };

struct EngineServices {
    Presentation& view;
    EventPump& pump;
    Random& random;
    Network& network;
    PlayerRecords& records;
};

// The rules on a state, for whoever reasons about one (the game itself, a
// player that plays hands out in its head): the cards the seat may play now,
// and who wins a complete trick with that trump.
// The suit the seat must follow now (it holds the suit led), or no suit when
// it may play anything.
Suit SuitToFollow(const GameState& s, int seat);
std::vector<CardCode> LegalCardsOf(const GameState& s, int seat);
bool IsLegalCardOf(const GameState& s, int seat, CardCode card);
int TrickWinnerOf(const TrickRecord& trick, Suit trump);
// A card played into the trick in progress: the trick, the seats' hand slots
// (which mirror every trick their cards are in) and the turn after it. True
// when the trick is complete.
bool RecordPlayedCard(GameState& s, int seat, CardCode card);
void MirrorTrickInHands(GameState& s, const TrickRecord& trick);

class Game {
public:
    explicit Game(EngineServices services);

    // For tests that set up a position; everything else changes the game through its operations.
    GameState& positionForTests() { return s_; }
    Presentation& view() { return services_.view; }
    const GameState& state() const { return s_; }
    void SetComputerPlayer(ComputerPlayer* player) { computer_ = player; }
    void SetObserver(GameObserver* observer) { observer_ = observer; }
    // Which seats get their hand put in order at the deal; by default the local
    // seat. Tools that deal fixed hands choose the set themselves.
    void SetSortedSeats(std::optional<std::array<bool, 5>> seats) { sortedSeats_ = seats; }
    // The computer player names the trump and plays the cards of this
    // machine's own seat (a bot joining a network game).
    void SetLocalAutoplay(bool on) { localAutoplay_ = on; }
    double RandomFraction() { return services_.random.Next(); }

    // --- Commands ---
    // Carries the command out now when the engine is at a safe point, else
    // keeps it for the next one. Start also ends every wait of the running game
    // at once, so that it unwinds and the new game begins.
    void Request(Command command);
    // A game procedure is on the call stack (a game is being played or shown).
    bool Running() const { return entryDepth_ > 0; }
    // The game waits for the person at this machine (a card or the trump).
    // (Not while that person's card is on its way: that runs deeper.)
    bool WaitsForLocalPerson() const { return localWaitDepth_ >= 0 && localWaitDepth_ == entryDepth_; }
    // Commands kept and not carried out yet.
    size_t PendingCommands() const { return pending_.size(); }

    // What the table waits for now, as the people at it see it: the one
    // source the window's lit plate, status and dimmed cards are drawn from.
    struct TableWait {
        enum class Kind { Nothing, Deal, Trump, Card, HandResult, GameOver };
        Kind kind = Kind::Nothing;
        int seat = 0;  // whose trump or card is awaited; 0 for the rest
        bool operator==(const TableWait&) const = default;
    };
    TableWait Awaiting() const;

    // --- Game flow ---
    // Starts a new game (Request(Command::Start)).
    void StartClick() { Request(Command::Start); }
    void ChooseFirstMaster();
    void NewHand(bool replay = false);
    void SendHand();
    // A client takes the Dealer's deal order ("HandIs"): its pack is put in
    // that order and laid out closed as a pile of its own.
    void TakeDealOrder(const std::array<CardCode, 52>& order);
    // The window is closing or the user declined a new game: every wait ends.
    void Stop();
    // The table as it stands, for the player of seat who comes back.
    TableSnapshot Snapshot(int seat) const;
    // A client that came back takes up the Dealer's game where the table
    // stands (a command: it starts at the next safe point, as a new game does).
    void Resume(const TableSnapshot& table);

    // --- The table's set-up, changed by the window and the network ---
    // (Through these, so that every change of the state has one owner.)
    // The Dealer: a seat that was given to a player who left before the game
    // started is the computer's again.
    void FreeSeat(int seat);
    void SetPlayerName(const std::string& name) { s_.PlayerName = name; }
    // The pause between turns and the steps of a card's movement.
    void SetSpeed(int speed);
    void LeaveTraceMode() { s_.Tracing = false; }
    void SetRole(bool dealer) { s_.IsDealer = dealer; }
    // This machine's seat in a network game (1..4).
    void SetLocalSeat(int seat);
    // This machine deals for itself again: seat 3, every other seat the
    // computer's under its usual name.
    void BecomeOwnDealer();
    // A seat as the Dealer's "Start" has it, and a seat whose player came
    // back or was lost.
    void SetSeat(int seat, const std::string& name, SeatKind kind);
    void SetSeatKind(int seat, SeatKind kind);
    // Every seat the computer's, under its usual name (a table nobody has joined yet).
    void SeatComputerPlayers();
    // The Dealer: a person at another machine, on that connection, takes the seat.
    void GiveSeat(int seat, const std::string& name, int connection);
    // What a client hears from its Dealer: the first HAKEM, the ZARV.
    void TakeMasterPlayer(int seat);
    void TakeTrump(Suit trump);
    // The game ends where it stands (its Dealer ended it); commands kept
    // for the next safe point stay.
    void EndHere() { s_.StopRequested = true; }
    // Nothing of a game that was left stays live: no turn, no wait for a
    // remote seat, no give-up flag.
    void ClearTurn();

    // --- Cards, pack and movement ---
    void Shuffle(int times);
    // Builds the 52 codes in a random suit order (the pictures come from the view).
    void MakeCardFaces();
    void GatherCards();
    void DealCards(int first, int count, double targetX, double targetY, int owner,
                   std::optional<bool> faceDown = std::nullopt, bool sortFirst = false);
    void SortRun(int first, int count);
    void BuildHand(int seat);
    // Moves Deck entries to new places with new owners; missing faceDown turns them face up.
    void AnimateCards(std::span<CardMove> moves, std::optional<bool> faceDown);
    void AnimateCard(int entry, int x, int y, int owner, std::optional<bool> faceDown) {
        CardMove move{entry, x, y, owner};
        AnimateCards({&move, 1}, faceDown);
    }
    void PlaceSeats();
    // The pack in this order (positions 1..52), laid out closed for the next
    // NewHand(true): tools and tests that play a given hand.
    void LayOutPack(std::span<const CardCode> pack);
    // Deals a given hand: that pack, that master (and first master), and the
    // trump named as usual.
    void DealGivenHand(std::span<const CardCode> pack, int master, int firstMaster);

    // --- Rules ---
    // The cards the seat may play now: it is the seat's turn, the card is in its
    // hand, and it follows the led suit while it holds that suit. Every road to
    // the table (a click, the computer, a network message, a hint) asks this.
    std::vector<CardCode> LegalCards(int seat) const;
    bool IsLegalCard(int seat, CardCode card) const;
    // The one road of a card to the table, whoever chose it: checks it, tells
    // the other machines, moves it to its landing point and plays it. Returns
    // false, changing nothing, for a card the seat may not play.
    bool PlaySeatCard(int seat, CardCode card, CardOrigin origin);
    // The computer chooses a card for the seat and plays it the same way.
    void ComputerMove(int seat);
    // What the computer player would play for the seat now, without playing
    // it (a hint); no card when it is not the seat's turn.
    CardChoice Hint(int seat) const;
    // The trick completed last in this hand, if any.
    std::optional<TrickRecord> LastTrick() const;
    // Whether giving up the hand would do anything now (both teams have a
    // trick, neither has six).
    bool GiveUpPossible() const;
    // Why the computer played its last card (its tactic), for studying a hand.
    const CardReason& LastComputerReason() const { return lastReason_; }
    void PlayCard(int ownerCode, CardCode card);
    void ScoreHand(int seat);
    int TrickWinner(const TrickRecord& trick) const;

    // --- Turn loop and waits ---
    void TurnLoop();
    // Plays or awaits the turn of seat 1..4; true when it is this machine's
    // person's, whose card comes as an event.
    bool TakeTurn(int seat);
    void Pause(double seconds = 1.0);
    void CheckConnections();
    // Waits until the awaited message from connection source has been
    // handled, or the game stops.
    // On the Dealer, a limited wait (a person's decision, an acknowledgement)
    // gives up after the move limit: the connection is closed and the
    // computer plays the seat.
    void WaitForMessage(int source, const TableMessage& awaited, int seatThatMayBeLost = 0, bool limited = false);
    // How long the Dealer waits for a remote player (0: for ever).
    void SetMoveLimit(double seconds) { moveLimit_ = seconds > 0 ? seconds : 0; }
    double moveLimit() const { return moveLimit_; }
    // The Dealer's person hands the seat being waited for to the computer now.
    void TakeOverWaitedSeat() { takeOver_ = true; }
    // A client: the Dealer waits for seat, for at most secondsLeft (0: no limit).
    void ShowRemoteWait(int seat, double secondsLeft);
    void SendToEveryClient(const TableMessage& message, int except = -1, bool letEventsRun = false);
    bool HasConnectedClient() const;

    // --- The local player's input ---
    int HitTest(int x, int y) const;
    void ClickAt(double x, double y);
    void PointerAt(double x, double y);
    void SpaceReleased();
    void SetGiveUpFlag(GiveUpFlag flag);
    void GiveUp() { Request(Command::GiveUp); }
    bool GiveUpContains(double x, double y) const;
    // The local player's click on a card (the move or the trump being awaited).
    void CardClicked(int d);
    // The person picks card d (Deck index; 0 for none), by a click or with the
    // keys: the same checks and refusals either way.
    void ChooseCard(int d, bool byClick);

    // --- Undo, in a game against the computer ---
    // The person may take back their last card (or, as HAKEM, their choice of
    // ZARV) and everything played after it, within the hand.
    bool CanUndo() const;
    void UndoClick() { Request(Command::Undo); }
    // Undo was used in the game being played.
    bool undoUsed() const { return undoUsed_; }

    // --- Trace mode and replay ---
    void PlayModClick() { Request(Command::TraceMode); }
    void ReplayClick() { Request(Command::Replay); }
    // The hand being played, as Save Suggest writes it.
    SavedHand CurrentHand() const;
    // Deals a saved hand as Replay does (starting a game first when none runs).
    void LoadHand(const SavedHand& hand);
    // The last hand played to its end, with its cards in the order played
    // (for its review); none before the first hand ends.
    const std::optional<SavedHand>& LastPlayedHand() const { return lastPlayedHand_; }

private:
    friend class EngineEntry;
    // Whether a command may run now, and running it.
    bool AtSafePoint() const;
    void Execute(Command command);
    // Runs the kept commands (at a safe point).
    void RunPendingCommands();
    void StartGameBody();
    // A new game: the scores, the hand and the waits of the last one cleared.
    void ClearLastGame();
    // Empty seats get this machine's person (seat 3) or the computer.
    void SeatThisGamesPlayers();
    void DoGiveUp();
    void DoTraceMode();
    void DoReplay();
    void DoComputerStep();
    // A stand-alone game: this machine deals, and its person plays against the computer alone.
    bool StandAlone() const;
    // The table as it stands when the person is asked for a card (once a decision).
    void KeepUndoPoint();
    void DoUndo();
    bool SortsHand(int seat) const;
    bool HandFaceDown(int seat) const;
    void DealHandCards(int first, int count, int seat, bool sort);
    void ChooseTrumpForHand();
    // Deals the hand around from the pack's order: the master's first five,
    // the trump (named now, or the one given), then the rest.
    // The game is won: the result is recorded and the person asked for another.
    void FinishGame();
    void DealAround(std::optional<Suit> knownTrump);
    void ResumeBody(const TableSnapshot& table);
    // The hand of a table being taken up, dealt and played as far as it stands.
    void ReplayHandSoFar(const TableSnapshot& table);
    // The Dealer seats players who came back (the table is settled).
    void SeatReturningPlayers();
    void ClearRemoteWait();
    void Announce(const TableEvent& event) { services_.view.Announce(event); }

    GameState s_;
    EngineServices services_;
    ComputerPlayer* computer_ = nullptr;
    GameObserver* observer_ = nullptr;
    std::optional<std::array<bool, 5>> sortedSeats_;
    int entryDepth_ = 0;          // engine procedures that may wait, on the call stack
    int turnLoopDepth_ = -1;      // entryDepth_ of the running turn loop, -1 when none runs
    bool betweenTurns_ = false;   // the turn loop sleeps between two turns
    bool restartPending_ = false; // a new game waits for the old one to unwind
    std::vector<Command> pending_;          // commands kept for a safe point, oldest first
    std::optional<SavedHand> lastPlayedHand_;
    std::optional<SavedHand> handToLoad_;   // the hand a kept LoadHand deals
    long deals_ = 0;              // hands dealt so far (replays included)
    long giveUpDeal_ = -1;        // the deal a kept GiveUp gives up
    std::optional<SavedHand> pendingHand_;  // the first hand of a game started to load it
    bool localAutoplay_ = false;
    bool replayPending_ = false;  // Replay chosen while a result was shown: the next hand is the replay
    bool scoring_ = false;        // a hand's result is being shown (ScoreHand runs)
    bool dealing_ = false;        // the first ace is drawn or a hand dealt (not the trump's wait)
    CardReason lastReason_;
    void ApplyHand(const SavedHand& hand);
    double moveLimit_ = 0;
    bool takeOver_ = false;
    // Cards go where they belong without being shown on the way and pauses
    // are skipped: a returning machine catches up with the table.
    bool instant_ = false;
    int localWaitDepth_ = -1;  // entryDepth_ of the wait for the local person, -1 when none
    bool resumeFailed_ = false;
    std::optional<TableSnapshot> tableToResume_;
    std::vector<GameState> undoPoints_;  // this hand's tables at the person's card decisions, oldest first
    bool undoUsed_ = false;
};

} // namespace zarv
