// The lines zarv-sim prints about a hand: "trick 1 2:x14 3:g4 4:x5 1:x2 winner 3",
// "result team B tricks 5-7 points 1 next-master 2", and for network games
// also "hand <n> master <s>" and "trump <suit>" when a hand begins.
#pragma once

#include <ostream>

#include "engine/game.h"
#include "engine/game_state.h"
#include "engine/interfaces.h"

namespace zarv::sim {

class HandReporter : public GameObserver {
public:
    HandReporter(Game& game, std::ostream& out) : game_(game), state_(game.state()), out_(out) {}
    bool oneHand = false;    // stop the game after the first hand
    bool handLines = false;  // print "hand" and "trump" lines

    void HandStarted(int master) override {
        tricks_ = teamA_ = teamB_ = 0;
        if (handLines) out_ << "hand " << ++hands_ << " master " << master << '\n';
    }
    void TrumpKnown(Suit trump) override {
        if (handLines) out_ << "trump " << (trump ? std::string(1, trump) : std::string()) << '\n';
    }
    void TrickSettled(const TrickRecord& trick) override {
        out_ << "trick " << ++tricks_;
        for (int k = 0, seat = trick.Leader; k < 4; ++k, seat = NextSeat(seat))
            out_ << ' ' << seat << ':' << trick.Cards[seat].text();
        out_ << " winner " << trick.Winner << '\n';
        ++(IsTeamA(trick.Winner) ? teamA_ : teamB_);
    }
    void HandScored(int winner, int points) override {
        out_ << "result team " << (IsTeamA(winner) ? 'A' : 'B') << " tricks " << teamA_ << '-' << teamB_ << " points "
             << points << " next-master " << state_.MasterPlayer << '\n';
        if (oneHand) game_.EndHere();
    }
    void PlayerLost(int seat) override { out_ << "disconnected " << seat << '\n'; }
    void SeatSilent(int seat, double seconds) override {
        out_ << "seat " << seat << " silent for " << seconds << " s: computer plays\n";
    }
    void PlayerReturned(int seat) override { out_ << "back " << seat << '\n'; }
    // A machine that came back counts the hand and its tricks as the table does.
    void TableTakenUp() override {
        hands_ = state_.HandsPlayed + 1;
        tricks_ = teamA_ = teamB_ = 0;
        for (const TrickRecord& t : state_.Tricks) {
            if (t.Winner < 1) continue;
            ++tricks_;
            ++(IsTeamA(t.Winner) ? teamA_ : teamB_);
        }
    }
    int hands() const { return hands_; }
    int tricksThisHand() const { return tricks_; }

private:
    Game& game_;
    const GameState& state_;
    std::ostream& out_;
    int hands_ = 0, tricks_ = 0, teamA_ = 0, teamB_ = 0;
};

} // namespace zarv::sim
