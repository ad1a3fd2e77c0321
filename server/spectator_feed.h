// What the people watching a table see: the names, the cards as they are
// played, the HAKEM, the ZARV, the points and the chat, as "Seen" texts. It
// never sends a card that is still in a hand (the deal order, which every
// player's program gets, is exactly what a watcher must not).
#pragma once

#include <functional>
#include <set>
#include <string>

#include "engine/game_state.h"
#include "engine/interfaces.h"

namespace zarv::server {

class SpectatorFeed : public GameObserver {
public:
    using SendText = std::function<void(int connection, const std::string& text)>;
    SpectatorFeed(const GameState& state, SendText send) : s_(state), send_(std::move(send)) {}

    // A new watcher gets the table as it stands.
    void Add(int connection);
    void Remove(int connection);
    size_t count() const { return watchers_.size(); }
    const std::set<int>& watchers() const { return watchers_; }

    void SeatsChanged();
    void GameOver();
    void Chat(int seat, const std::string& text);
    void Closed(const std::string& text);

    // GameObserver
    void HandStarted(int master) override;
    void TrumpKnown(Suit trump) override;
    void CardPlayed(int seat, CardCode card) override;
    void TrickSettled(const TrickRecord& trick) override;
    void HandScored(int winner, int points) override;
    void PlayerLost(int) override { SeatsChanged(); }
    void PlayerReturned(int) override { SeatsChanged(); }

private:
    void ToAll(const std::string& what);
    void To(int connection, const std::string& what);
    std::string SeatsText() const;
    const GameState& s_;
    SendText send_;
    std::set<int> watchers_;
    int hands_ = 0;
};

} // namespace zarv::server
