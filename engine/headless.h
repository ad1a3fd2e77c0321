// Implementations of the engine's interfaces without a window, for tests and
// the zarv-sim tool: a quiet table, a virtual clock, a seeded generator and no
// network.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>
#include <stdexcept>

#include "engine/game.h"
#include "engine/interfaces.h"
#include "engine/seeded_random.h"

namespace zarv {

// A table that draws nothing. Answers "No" to a new game unless told otherwise.
class QuietTable : public Presentation {
public:
    void FreezeRepaint(bool) override {}
    void SetScreenSize(bool) override {}
    bool IsFullScreen() const override { return false; }
    void MakeCardPictures() override {}
    void RefreshPage() override {
        if (onRefresh) onRefresh();
    }
    void DrawTable() override {}
    void DrawBoard() override {}
    void DrawMasterMark() override {}
    void DrawTrumpSign(Suit, int, int) override {}
    void RepaintCards(std::span<const int>) override {}
    void ShowMovement(std::span<const CardMove>) override {}
    void Announce(const TableEvent& event) override {
        if (recordSayings) said.emplace_back(event.speaker(), EnglishText(event));
        if (onAnnounce) onAnnounce(event);
    }
    void ShowGiveUp(GiveUpFlag) override {}
    bool AskNewGame() override { return askNewGame ? askNewGame() : false; }
    void CloseMainWindow() override {}
    void EnableMenu(MenuItem, bool) override {}
    void CheckMenu(MenuItem, bool) override {}
    void Beep() override { ++beeps; }
    void GameUnwound() override { ++unwinds; }
    void ShowTurn() override {
        if (onTurn) onTurn();
    }

    std::function<bool()> askNewGame;
    // What a test watches: each redraw of the whole table, each announcement.
    std::function<void()> onRefresh;
    std::function<void(const TableEvent&)> onAnnounce;
    // Whose turn it is, or what the game waits for, may have changed.
    std::function<void()> onTurn;
    int beeps = 0;
    int unwinds = 0;
    bool recordSayings = false;
    std::vector<std::pair<int, std::string>> said;
};

// Thrown when the engine waits for an event that nothing headless can send.
struct HeadlessStall : std::runtime_error {
    HeadlessStall() : std::runtime_error("the game waits for an event that never comes") {}
};

// Time passes only when the engine waits: a wait with a deadline jumps the
// clock to it (then runs onTick), so pauses cost nothing. A wait for an event
// runs onIdle, which stands in for the user (a click, a key); without it the
// wait could never end, and HeadlessStall is thrown.
class VirtualPump : public EventPump {
public:
    void ProcessEvents() override { ++processCalls; }
    void WaitForEvents(double deadline) override;
    double Now() const override { return now; }

    std::function<void()> onIdle;
    std::function<void()> onTick;
    bool advanceTime = true;  // false: waits with a deadline only run onTick
    double now = 1000.0;
    long waitCalls = 0;
    long processCalls = 0;
};


// A stand-alone game: only the (closed) listening element exists.
class NoNetwork : public Network {
public:
    int ElementCount() const override { return 1; }
    bool IsConnected(int) const override { return false; }
    void Send(int, const TableMessage&) override {}
    void CloseAll() override {}
    bool HandleMessage(int, const TableMessage&) override { return false; }
};

class NoRecords : public PlayerRecords {
public:
    void AddPlayerResult(const std::string&, bool won, bool undone) override {
        won ? ++wins : ++losses;
        undoneGames += undone;
    }
    int wins = 0;
    int losses = 0;
    int undoneGames = 0;  // of those, games in which the person took moves back
};

// Ends the game once a hand is scored: for a tool or a test that wants one hand.
class StopAfterHand : public GameObserver {
public:
    explicit StopAfterHand(Game& game) : game_(game) {}
    void TrickSettled(const TrickRecord&) override {}
    void HandScored(int, int) override { game_.EndHere(); }

private:
    Game& game_;
};

// A whole game without a display: the engine with the quiet interfaces above.
struct HeadlessGame {
    QuietTable view;
    VirtualPump pump;
    SeededRandom random;
    NoNetwork network;
    NoRecords records;
    Game game{EngineServices{view, pump, random, network, records}};

    explicit HeadlessGame(uint64_t seed) : random(seed) {}
    // The game's state, to set up a position (tests) or read it.
    GameState& s() { return game.positionForTests(); }
    // Every seat played by the computer, under names of its own.
    void AllComputerSeats();
};

} // namespace zarv
