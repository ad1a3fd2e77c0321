// A person's commands that change the game (start, replay, give up, trace
// mode, a trace step, loading a hand). The window can ask for them at any
// moment, also while the engine waits inside a card's play; carrying one out
// there would change the game under the waiting code. So a command runs at
// once only at a safe point and is kept for the next safe point otherwise.
#include "engine/entry.h"
#include "engine/game.h"

namespace zarv {

bool Game::AtSafePoint() const { return entryDepth_ == 0 || (betweenTurns_ && entryDepth_ == turnLoopDepth_); }

void Game::Request(Command command) {
    // A returning machine's table replaces whatever game runs here, as a new game does.
    if (command == Command::Start) tableToResume_.reset();
    if (command == Command::Start || command == Command::Resume) {
        if (entryDepth_ > 0) {
            // A game is running further up the stack: end its waits now and
            // start anew once it has returned, so the stack does not grow game
            // by game. What was asked of the old game is dropped with it.
            restartPending_ = true;
            s_.StopRequested = true;
            pending_.clear();
            // The table stops showing the old game's turn at once.
            services_.view.ShowTurn();
            return;
        }
        restartPending_ = true;
        RunPendingCommands();
        return;
    }
    if (command == Command::Replay && scoring_) {
        // The result of a hand is being shown and the next hand is about to be
        // dealt: make that deal the replay (from the master of that moment), so
        // it is not dealt over at once by a fresh shuffle.
        replayPending_ = true;
        s_.WaitStart = 0;  // ends the pause after the result
        return;
    }
    if (command == Command::GiveUp) giveUpDeal_ = deals_;
    pending_.push_back(command);
    RunPendingCommands();
}

void Game::RunPendingCommands() {
    while (AtSafePoint()) {
        if (restartPending_) {
            if (entryDepth_ > 0) return;  // the loop ends; the game starts once it has unwound
            restartPending_ = false;
            EngineEntry entry(*this);
            if (tableToResume_) {
                const TableSnapshot table = *tableToResume_;
                tableToResume_.reset();
                ResumeBody(table);
            } else {
                StartGameBody();
            }
            continue;
        }
        if (pending_.empty()) return;
        const Command command = pending_.front();
        pending_.erase(pending_.begin());
        const bool wasBetweenTurns = betweenTurns_;
        betweenTurns_ = false;
        {
            EngineEntry entry(*this);
            Execute(command);
        }
        betweenTurns_ = wasBetweenTurns;
    }
}

void Game::Execute(Command command) {
    switch (command) {
    case Command::Start:
    case Command::Resume: break;  // handled by RunPendingCommands
    case Command::Replay: DoReplay(); break;
    case Command::GiveUp: DoGiveUp(); break;
    case Command::TraceMode: DoTraceMode(); break;
    case Command::ComputerStep: DoComputerStep(); break;
    case Command::Undo: DoUndo(); break;
    case Command::LoadHand:
        if (handToLoad_) {
            ApplyHand(*handToLoad_);
            handToLoad_.reset();
            DoReplay();
        }
        break;
    }
}

} // namespace zarv
