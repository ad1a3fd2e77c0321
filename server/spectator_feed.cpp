#include "server/spectator_feed.h"

#include "net/wire.h"

namespace zarv::server {

namespace {
std::string Kind(SeatKind kind) { return kind == SeatKind::Human ? "H" : "C"; }
} // namespace

void SpectatorFeed::To(int connection, const std::string& what) { send_(connection, net::Message("Seen", what)); }

void SpectatorFeed::ToAll(const std::string& what) {
    if (watchers_.empty()) return;
    const std::string text = net::Message("Seen", what);
    for (int connection : watchers_) send_(connection, text);
}

std::string SpectatorFeed::SeatsText() const {
    std::string text = "Seats";
    for (int seat = 1; seat <= 4; ++seat) {
        std::string name = s_.Seats[seat].Name;
        std::erase_if(name, [](char c) { return c == ';' || c == '|'; });
        text += ";" + name + ";" + Kind(s_.Seats[seat].Kind);
    }
    return text;
}

void SpectatorFeed::Add(int connection) {
    watchers_.insert(connection);
    To(connection, SeatsText());
    To(connection, "Points;" + std::to_string(s_.PointsA) + ";" + std::to_string(s_.PointsB));
    if (!s_.GameStarted || hands_ == 0) return;
    To(connection, "Hand;" + std::to_string(hands_) + ";" + std::to_string(s_.MasterPlayer));
    if (s_.Trump != kNoSuit) To(connection, std::string("Trump;") + s_.Trump);
    // The tricks of the hand so far, then the cards of the trick in progress.
    const TrickRecord* current = nullptr;
    for (const TrickRecord& t : s_.Tricks)
        if (t.Winner < 1 && t.Leader >= 1) current = &t;
    To(connection, "Tricks;" + std::to_string(TeamTricks(s_, 1)) + ";" + std::to_string(TeamTricks(s_, 2)));
    if (!current) return;
    for (int k = 0, seat = current->Leader; k < 4; ++k, seat = NextSeat(seat))
        if (!current->Cards[seat].empty()) To(connection, "Card;" + std::to_string(seat) + ";" + current->Cards[seat].text());
}

void SpectatorFeed::Remove(int connection) { watchers_.erase(connection); }

void SpectatorFeed::SeatsChanged() { ToAll(SeatsText()); }

void SpectatorFeed::GameOver() {
    hands_ = 0;
    ToAll("GameOver;" + std::to_string(s_.PointsA) + ";" + std::to_string(s_.PointsB));
}

void SpectatorFeed::Chat(int seat, const std::string& text) { ToAll("Chat;" + std::to_string(seat) + ";" + text); }

void SpectatorFeed::Closed(const std::string& text) { ToAll("Closed;" + text); }

void SpectatorFeed::HandStarted(int master) {
    if (hands_ == 0) {
        ToAll(SeatsText());
        ToAll("Points;0;0");
    }
    ToAll("Hand;" + std::to_string(++hands_) + ";" + std::to_string(master));
}

void SpectatorFeed::TrumpKnown(Suit trump) { ToAll(std::string("Trump;") + (trump == kNoSuit ? '-' : trump)); }

void SpectatorFeed::CardPlayed(int seat, CardCode card) { ToAll("Card;" + std::to_string(seat) + ";" + card.text()); }

void SpectatorFeed::TrickSettled(const TrickRecord& trick) { ToAll("Trick;" + std::to_string(trick.Winner)); }

void SpectatorFeed::HandScored(int winner, int points) {
    ToAll("Result;" + std::to_string(winner) + ";" + std::to_string(points) + ";" + std::to_string(s_.MasterPlayer));
    ToAll("Points;" + std::to_string(s_.PointsA) + ";" + std::to_string(s_.PointsB));
}

} // namespace zarv::server
