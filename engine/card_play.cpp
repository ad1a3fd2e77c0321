// The one road of a card to the table. Whoever chose it (the person at this
// machine, the computer, a person at another machine), the card is checked
// against the rules, announced to the other machines, moved and played here.
#include "engine/game.h"
#include "engine/table_layout.h"

namespace zarv {

std::vector<CardCode> Game::LegalCards(int seat) const {
    std::vector<CardCode> cards;
    if (seat < 1 || seat > 4 || s_.Turn != seat) return cards;
    const Suit led = s_.TrickPosition >= 2 ? s_.LedSuit() : kNoSuit;
    bool holdsLed = false;
    for (int i = 1; i <= 52; ++i)
        holdsLed = holdsLed || (s_.Deck[i].Owner == seat && SuitOf(s_.Deck[i].Card) == led && led != kNoSuit);
    for (int i = 1; i <= 52; ++i) {
        const CardRecord& c = s_.Deck[i];
        if (c.Owner == seat && (!holdsLed || SuitOf(c.Card) == led)) cards.push_back(c.Card);
    }
    return cards;
}

bool Game::IsLegalCard(int seat, CardCode card) const {
    if (card.empty()) return false;
    for (CardCode c : LegalCards(seat))
        if (c == card) return true;
    return false;
}

bool Game::PlaySeatCard(int seat, CardCode card, CardOrigin origin) {
    if (!IsLegalCard(seat, card)) return false;
    const int d = s_.FindCard(card);
    Network& net = services_.network;

    // The other machines hear of the card before it is played here: playing
    // the last card of a hand deals the next one, and a machine still waiting
    // for this card could not take the new deal.
    const std::string command = "IMove" + std::to_string(seat);
    const std::string message = command + ";" + card.text() + "|";
    if (s_.IsDealer) {
        // A remote person's card goes to every other machine, not back to its own.
        SendToEveryClient(message, origin == CardOrigin::RemotePerson ? s_.Seats[seat].Socket : -1);
    } else if (origin == CardOrigin::LocalPerson && net.IsConnected(0)) {
        net.Send(0, message);
        WaitForMessage(0, "Recived", command);
    }
    // The wait may have seen the game stop or the card played meanwhile.
    if (s_.StopRequested || !IsLegalCard(seat, card)) return false;

    const layout::Point to = origin == CardOrigin::LocalPerson ? layout::ClickLandingPoint(s_, s_.Deck[d])
                                                               : layout::LandingPoint(s_, seat);
    AnimateCard(d, static_cast<int>(to.x), static_cast<int>(to.y), seat + 4, false);
    PlayCard(seat + 4, card);
    services_.view.RepaintCards({&d, 1});
    return true;
}

void Game::ComputerMove(int seat) {
    if (!computer_ || s_.ComputerMoving || seat < 1 || seat > 4) return;
    s_.ComputerMoving = true;
    const CardChoice choice = computer_->SelectCard(seat, s_.TrickPosition);
    lastReason_ = choice.reason;
    // A player that names a card the rules refuse would stall the game: the
    // seat then plays its first legal card instead.
    const std::vector<CardCode> legal = LegalCards(seat);
    const CardCode card = IsLegalCard(seat, choice.card) || legal.empty() ? choice.card : legal.front();
    PlaySeatCard(seat, card, CardOrigin::Computer);
    s_.ComputerMoving = false;
}

} // namespace zarv
