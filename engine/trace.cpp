// Trace mode (every card face up, play stepped by Space) and replaying a hand.
#include "engine/entry.h"
#include "engine/game.h"

namespace zarv {

void Game::PlayModClick() {
    s_.TraceMode = 1 - s_.TraceMode;
    for (int i = 1; i <= 52; ++i) {
        CardRecord& c = s_.Deck[i];
        if (s_.TraceMode == 1 || c.Owner == s_.LocalSeat)
            c.FaceDown = false;
        else
            c.FaceDown = c.Owner < 5 || c.Owner > 8;
    }
    services_.view.RepaintCards({});
    // Play resumes only in a hand that is being played.
    if (s_.TraceMode == 0 && s_.GameStarted && s_.Turn >= 1 && s_.Turn <= 4) {
        {
            EngineEntry entry(*this);
            TurnLoop();
        }
        RunPendingRestart();
    }
}

void Game::ReplayClick() {
    {
        EngineEntry entry(*this);
        NewHand(true);
    }
    RunPendingRestart();
}

} // namespace zarv
