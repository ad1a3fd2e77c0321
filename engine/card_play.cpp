// The one road of a card to the table. Whoever chose it (the person at this
// machine, the computer, a person at another machine), the card is checked
// against the rules, announced to the other machines, moved and played here.
#include "engine/game.h"
#include "engine/table_layout.h"

namespace zarv {

Suit SuitToFollow(const GameState& s, int seat) {
    const Suit led = s.LedSuit();
    if (led == kNoSuit) return kNoSuit;
    for (int i = 1; i <= 52; ++i)
        if (s.Deck[i].Owner == seat && SuitOf(s.Deck[i].Card) == led) return led;
    return kNoSuit;
}

std::vector<CardCode> LegalCardsOf(const GameState& s, int seat) {
    std::vector<CardCode> cards;
    if (seat < 1 || seat > 4 || s.Turn != seat) return cards;
    const Suit follow = SuitToFollow(s, seat);
    for (int i = 1; i <= 52; ++i) {
        const CardRecord& c = s.Deck[i];
        if (c.Owner == seat && (follow == kNoSuit || SuitOf(c.Card) == follow)) cards.push_back(c.Card);
    }
    return cards;
}

bool IsLegalCardOf(const GameState& s, int seat, CardCode card) {
    if (card.empty() || seat < 1 || seat > 4 || s.Turn != seat) return false;
    const int d = s.FindCard(card);
    if (d == 0 || s.Deck[d].Owner != seat) return false;
    const Suit follow = SuitToFollow(s, seat);
    return follow == kNoSuit || SuitOf(card) == follow;
}

std::vector<CardCode> Game::LegalCards(int seat) const { return LegalCardsOf(s_, seat); }

bool Game::IsLegalCard(int seat, CardCode card) const { return IsLegalCardOf(s_, seat, card); }

bool Game::PlaySeatCard(int seat, CardCode card, CardOrigin origin) {
    if (!IsLegalCard(seat, card)) return false;
    const int d = s_.FindCard(card);
    Network& net = services_.network;
    ClearRemoteWait();

    // The other machines hear of the card before it is played here: playing
    // the last card of a hand deals the next one, and a machine still waiting
    // for this card could not take the new deal.
    const TableMessage message = TableMessage::Move(seat, card);
    if (s_.IsDealer) {
        // A remote person's card goes to every other machine, not back to its own.
        SendToEveryClient(message, origin == CardOrigin::RemotePerson ? s_.Seats[seat].Socket : -1);
    } else if (origin != CardOrigin::RemotePerson && seat == s_.LocalSeat && net.IsConnected(0)) {
        // This machine's own seat: the Dealer hears of it and acknowledges.
        net.Send(0, message);
        WaitForMessage(0, TableMessage::ReceivedOf(message));
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

CardChoice Game::Hint(int seat) const {
    if (!computer_ || seat < 1 || seat > 4 || s_.Turn != seat || s_.TrumpBeingNamed())
        return {};
    CardChoice choice = computer_->SelectCard(seat, s_.TrickPosition);
    if (!IsLegalCard(seat, choice.card)) {
        const std::vector<CardCode> legal = LegalCards(seat);
        choice.card = legal.empty() ? CardCode{} : legal.front();
    }
    return choice;
}

std::optional<TrickRecord> Game::LastTrick() const {
    for (size_t i = s_.Tricks.size(); i-- > 1;)
        if (s_.Tricks[i].Winner >= 1) return s_.Tricks[i];
    return std::nullopt;
}

void Game::ComputerMove(int seat) {
    if (!computer_ || s_.ComputerMoving || seat < 1 || seat > 4) return;
    s_.ComputerMoving = true;
    const CardChoice choice = computer_->SelectCard(seat, s_.TrickPosition);
    lastReason_ = choice.reason;
    // A player that names a card the rules refuse would stall the game: the
    // seat then plays its first legal card instead.
    CardCode card = choice.card;
    if (!IsLegalCard(seat, card)) {
        const std::vector<CardCode> legal = LegalCards(seat);
        if (!legal.empty()) card = legal.front();
    }
    PlaySeatCard(seat, card, CardOrigin::Computer);
    s_.ComputerMoving = false;
}

} // namespace zarv
