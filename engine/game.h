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

namespace zarv {

struct EngineServices {
    Presentation& view;
    EventPump& pump;
    Random& random;
    Network& network;
    PlayerRecords& records;
};

class Game {
public:
    explicit Game(EngineServices services);

    GameState& state() { return s_; }
    Presentation& view() { return services_.view; }
    const GameState& state() const { return s_; }
    void SetComputerPlayer(ComputerPlayer* player) { computer_ = player; }
    void SetObserver(GameObserver* observer) { observer_ = observer; }
    // Which seats get their hand put in order at the deal; by default the local
    // seat. Tools that deal fixed hands choose the set themselves.
    void SetSortedSeats(std::optional<std::array<bool, 5>> seats) { sortedSeats_ = seats; }
    double Rnd() { return services_.random.Next(); }

    // --- Game flow ---
    // Starts a new game. While a game's procedures are running further up the
    // call stack, it stops them and starts the new game once they have unwound.
    void StartClick();
    void ChooseFirstMaster();
    void NewHand(bool replay = false);
    void SendHand();
    // The window is closing or the user declined a new game: every wait ends.
    void Stop();

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
    // Where the n-th trick of the winner's side lies.
    void TrickPilePoint(int winner, int n, int& x, int& y) const;
    // Landing point of a card played by seat, as seen from this machine.
    void LandingPoint(int seat, int& x, int& y) const;
    // Rescales seats and cards when the drawing area changes size.
    void RescaleLayout(int oldWidth, int oldHeight, int newWidth, int newHeight);

    // --- Rules ---
    void PlayCard(int ownerCode, CardCode card);
    void ScoreHand(int seat);
    int TrickWinner(const TrickRecord& trick) const;

    // --- Turn loop and waits ---
    void TurnLoop();
    void Pause(double seconds = 1.0);
    void CheckConnections();
    // Waits until the message named command from connection source has been
    // handled, or the game stops, or keepWaiting says to give up.
    void WaitForMessage(int source, const std::string& command, const std::string& detail,
                        int seatThatMayBeLost = 0);
    void SendToEveryClient(const std::string& text, int except = -1, bool letEventsRun = false);
    bool HasConnectedClient() const;

    // --- The local player's input ---
    int HitTest(int x, int y) const;
    void FormMouseDown(double x, double y);
    void FormMouseMove(double x, double y);
    void FormKeyUp(int keyCode);
    void SetGiveUpState(int state);
    void GiveUp();
    bool GiveUpContains(double x, double y) const;
    // Plays the local seat's card d (a checked click): network, movement, PlayCard.
    void PlayLocalCard(int d);
    // Lets the computer move for the seat to move (Space in trace mode).
    void ComputerMoveNow();

    // --- Trace mode and replay ---
    void PlayModClick();
    void ReplayClick();
    // The hand being played, as Save Suggest writes it.
    SavedHand CurrentHand() const;
    // Deals a saved hand as Replay does (starting a game first when none runs).
    void LoadHand(const SavedHand& hand);

    // Size of the give-up image, pixels.
    static constexpr int kGiveUpWidth = 56;
    static constexpr int kGiveUpHeight = 40;

private:
    friend class EngineEntry;
    void StartGameBody();
    void RunPendingRestart();
    bool SortsHand(int seat) const;
    bool HandFaceDown(int seat) const;
    void DealHandCards(int first, int count, int seat, bool sort);
    void ChooseTrumpForHand();
    void SayMsg(int pos, const std::string& text) { services_.view.SayMsg(pos, text); }

    GameState s_;
    EngineServices services_;
    ComputerPlayer* computer_ = nullptr;
    GameObserver* observer_ = nullptr;
    std::optional<std::array<bool, 5>> sortedSeats_;
    int entryDepth_ = 0;          // engine procedures that may wait, on the call stack
    bool restartPending_ = false; // a new game waits for the old one to unwind
    std::optional<SavedHand> pendingHand_;  // the first hand of a game started to load it
    bool scoring_ = false;        // a hand's result is being shown (ScoreHand runs)
    bool replayPending_ = false;  // Replay chosen then: the next hand is the replay
    void ApplyHand(const SavedHand& hand);
};

} // namespace zarv
