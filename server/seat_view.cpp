#include "server/seat_view.h"

#include <cmath>

#include "engine/game.h"

namespace zarv::server {

using nlohmann::json;

namespace {

json CardList(const std::vector<CardCode>& cards) {
    json list = json::array();
    for (CardCode c : cards) list.push_back(c.text());
    return list;
}

// The cards of a trick in the order they were played: [[seat, card], ...].
json TrickCards(const TrickRecord& t) {
    json cards = json::array();
    if (t.Leader < 1 || t.Leader > 4) return cards;
    for (int k = 0, seat = t.Leader; k < 4; ++k, seat = NextSeat(seat))
        if (!t.Cards[static_cast<size_t>(seat)].empty()) cards.push_back({seat, t.Cards[static_cast<size_t>(seat)].text()});
    return cards;
}

bool Between(const TableFacts& facts) { return facts.dealing && !facts.trumpKnown; }

std::string Phase(const GameState& s, const TableFacts& facts) {
    if (!facts.started) return "seating";
    if (s.Turn == 0 && (s.PointsA >= 7 || s.PointsB >= 7)) return "over";
    if (s.MasterPlayer == 0) return "drawing";
    if (s.TrumpBeingNamed()) return "trump";
    return "playing";
}

// What the seat decides now, if the table waits for it: the ZARV (from the
// HAKEM's five cards) or a card (from those the rules allow).
void AddDecision(json& view, const GameState& s, int seat, const std::vector<CardCode>& hand, const TableFacts& facts) {
    if (seat == 0 || s.WaitingForSeat != seat) return;
    if (s.MasterPlayer == seat && s.Trump == kNoSuit) {
        view["decide"] = "trump";
    } else {
        std::vector<CardCode> legal;
        for (CardCode c : hand)
            if (IsLegalCardOf(s, seat, c)) legal.push_back(c);
        view["decide"] = "card";
        view["legal"] = CardList(legal);
    }
    if (s.WaitingDeadline > 0)
        // Whole seconds, as a clock counts down: 60 s left shows 60 until it is 59.x.
        view["secondsLeft"] = std::max(0L, static_cast<long>(std::ceil(s.WaitingDeadline - facts.now - 1e-3)));
}

} // namespace

std::vector<CardCode> HeldCards(const GameState& s, int seat) {
    std::vector<CardCode> cards;
    if (seat < 1 || seat > 4) return cards;
    for (int i = 1; i <= 52; ++i)
        if (s.Deck[static_cast<size_t>(i)].Owner == seat) cards.push_back(s.Deck[static_cast<size_t>(i)].Card);
    return cards;
}

json SeatView(const GameState& s, int seat, const TableFacts& facts) {
    json view = {{"t", "view"}, {"seat", seat}, {"phase", Phase(s, facts)}};
    json names = json::array(), kinds = json::array(), counts = json::array();
    for (int k = 1; k <= 4; ++k) {
        names.push_back(s.Seats[static_cast<size_t>(k)].Name);
        kinds.push_back(s.Seats[static_cast<size_t>(k)].Kind == SeatKind::Human && k != 3 ? "person" : "computer");
        counts.push_back(facts.started && !Between(facts) ? HeldCards(s, k).size() : 0);
    }
    view["names"] = names;
    view["kinds"] = kinds;
    view["counts"] = counts;
    view["points"] = {s.PointsA, s.PointsB};
    view["watchers"] = facts.watchers;
    view["expert"] = facts.level == ai::Level::Expert || facts.level == ai::Level::Master;
    view["level"] = ai::LevelText(facts.level);
    view["playNow"] = facts.playNow;
    if (facts.reviewable && seat >= 1 && seat <= 4) view["reviewable"] = true;
    if (!facts.started) return view;
    view["deal"] = facts.deal;
    view["hakem"] = s.MasterPlayer;
    // Until the new hand's ZARV is named, the last hand's is none of this one's.
    view["trump"] = s.Trump == kNoSuit || !facts.trumpKnown ? json() : json(std::string(1, s.Trump));
    view["tricks"] = {TeamTricks(s, 1), TeamTricks(s, 2)};
    // Whose decision the table waits for, else whose turn it is.
    view["turn"] = s.WaitingForSeat > 0 ? s.WaitingForSeat : s.Turn;
    // The trick in progress, and the last one settled in this hand.
    const TrickRecord* current = nullptr;
    const TrickRecord* last = nullptr;
    for (size_t i = 1; i < s.Tricks.size(); ++i) {
        const TrickRecord& t = s.Tricks[i];
        if (t.Winner >= 1) last = &t;
        else if (t.Leader >= 1) current = &t;
    }
    view["trick"] = current ? TrickCards(*current) : json::array();
    if (last) view["last"] = {{"cards", TrickCards(*last)}, {"winner", last->Winner}};
    // While the first HAKEM is drawn, and between two hands, the cards lie
    // where the last deal or the draw left them: nobody holds a hand yet.
    // (The HAKEM's wait for the ZARV is no dealing: his five cards are his.)
    const std::vector<CardCode> hand = Between(facts) ? std::vector<CardCode>{} : HeldCards(s, seat);
    if (seat >= 1) view["hand"] = CardList(hand);
    AddDecision(view, s, seat, hand, facts);
    return view;
}

} // namespace zarv::server
