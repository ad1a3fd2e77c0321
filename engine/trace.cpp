// Trace mode (every card face up, play stepped by Space) and replaying a hand.
#include "engine/entry.h"
#include "engine/game.h"

namespace zarv {

void Game::DoTraceMode() {
    s_.Tracing = !s_.Tracing;
    for (int i = 1; i <= 52; ++i) {
        CardRecord& c = s_.Deck[i];
        if (s_.Tracing || c.Owner == s_.LocalSeat)
            c.FaceDown = false;
        else
            c.FaceDown = c.Owner < 5 || c.Owner > 8;
    }
    services_.view.RepaintCards({});
    services_.view.ShowTurn();
    view().CheckMenu(MenuItem::TraceMode, s_.Tracing);
    // Play resumes only in a hand that is being played (a loop still running
    // simply goes on).
    if (!s_.Tracing && s_.GameStarted && s_.Turn >= 1 && s_.Turn <= 4) TurnLoop();
}

SavedHand Game::CurrentHand() const {
    SavedHand hand;
    for (int i = 1; i <= 52; ++i) hand.deal.push_back(s_.SavedDeck[i].Card);
    hand.master = s_.MasterPlayer;
    for (int seat = 1; seat <= 4; ++seat)
        if (s_.Seats[seat].FirstMaster) hand.firstMaster = seat;
    hand.trump = s_.Trump;
    return hand;
}

void Game::ApplyHand(const SavedHand& hand) {
    // The pack keeps its records (and pictures); only their order follows the file.
    const auto pack = s_.Deck;
    for (int i = 1; i <= 52; ++i) {
        for (int k = 1; k <= 52; ++k)
            if (pack[k].Card == hand.deal[static_cast<size_t>(i - 1)]) s_.SavedDeck[i] = pack[k];
    }
    s_.MasterPlayer = hand.master;
    for (int seat = 1; seat <= 4; ++seat) s_.Seats[seat].FirstMaster = seat == (hand.firstMaster ? hand.firstMaster : hand.master);
    s_.Trump = hand.trump;
}

void Game::LayOutPack(std::span<const CardCode> pack) {
    PlaceSeats();
    for (int i = 1; i <= 52; ++i) {
        s_.Deck[i] = CardRecord{};
        s_.Deck[i].Card = pack[static_cast<size_t>(i - 1)];
        s_.Deck[i].Face = i;
    }
    Shuffle(0);  // lays the closed pack out without mixing it
    s_.SavedDeck = s_.Deck;
}

void Game::DealGivenHand(std::span<const CardCode> pack, int master, int firstMaster) {
    LayOutPack(pack);
    s_.MasterPlayer = master;
    for (int seat = 1; seat <= 4; ++seat) s_.Seats[seat].FirstMaster = seat == firstMaster;
    NewHand(true);
}

void Game::LoadHand(const SavedHand& hand) {
    if (hand.deal.size() != 52 || hand.master < 1 || hand.master > 4) return;
    if (!s_.GameStarted) {
        pendingHand_ = hand;
        StartClick();
        return;
    }
    handToLoad_ = hand;
    Request(Command::LoadHand);
}

void Game::DoReplay() { NewHand(true); }

} // namespace zarv
