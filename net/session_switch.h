// The game's network while the session under it changes: a window keeps one
// game for its whole life, and each network game gets a session of its own.
#pragma once

#include "net/session.h"

namespace zarv::net {

class SessionSwitch : public Network {
public:
    // The session the game talks to from now on.
    void Use(NetworkSession& session) { current_ = &session; }

    int ElementCount() const override { return current_->ElementCount(); }
    bool IsConnected(int index) const override { return current_->IsConnected(index); }
    void Send(int index, const TableMessage& message) override { current_->Send(index, message); }
    void CloseAll() override { current_->CloseAll(); }
    bool HandleMessage(int source, const TableMessage& awaited) override {
        return current_->HandleMessage(source, awaited);
    }
    void Drop(int index) override { current_->Drop(index); }
    void AwaitingSeat(int seat, double secondsLeft) override { current_->AwaitingSeat(seat, secondsLeft); }
    double Housekeep() override { return current_->Housekeep(); }
    std::optional<ReturningPlayer> TakeReturn() override { return current_->TakeReturn(); }
    void WelcomeBack(const ReturningPlayer& player, const TableSnapshot& table, const std::string& name) override {
        current_->WelcomeBack(player, table, name);
    }
    void GameStarting() override { current_->GameStarting(); }
    bool CanReturn() const override { return current_->CanReturn(); }

private:
    NetworkSession* current_ = nullptr;
};

} // namespace zarv::net
