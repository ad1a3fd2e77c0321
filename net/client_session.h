// A client's end of a network game: joining a Dealer (or asking for a seat
// back), the Dealer's messages checked and handed to the game, what our own
// Dealers say beyond the original protocol, and a Dealer that falls silent.
#pragma once

#include <optional>
#include <string>

#include "net/session.h"

namespace zarv::net {

class ClientSession : public NetworkSession {
public:
    // A client of our own Dealer that hears nothing for this long in a game
    // (the Dealer sends a heartbeat every kHeartbeat seconds) says so.
    static constexpr double kDealerSilence = 30.0;

    ClientSession(Transport& transport, EventPump& pump) : NetworkSession(transport, pump) {}

    Role role() const override { return Role::Client; }
    // The name and side ("Partner" or "Against") it asks for on connecting.
    void SetJoinRequest(const std::string& name, const std::string& side);
    // The next connection asks for its seat back with this token (given by
    // our own Dealer) instead of joining.
    void SetReturnRequest(const std::string& token);
    // The Dealer is one of ours and gave this seat's return token.
    bool dealerIsOurs() const { return dealerIsOurs_; }
    const std::string& returnToken() const { return token_; }
    // Our own Dealer has been silent too long (DealerSilent was told).
    bool dealerSilent() const { return toldSilent_; }
    // A returning client: the table the Dealer sent, once.
    std::optional<TableSnapshot> TakeTable();
    // Leaves the game on purpose: the connection closes and the program does
    // not come back.
    void Leave();
    // A client that speaks only the original protocol (for tests of what
    // such a program receives): it never shows that it knows more.
    void SetSpeaksExtensions(bool on) { speaksExtensions_ = on; }
    void SendChat(const std::string& text) override;
    // Notices a silent Dealer of ours; returns when it should be called next.
    double Housekeep() override;

    // Network
    void CloseAll() override;
    void GameStarting() override;
    bool CanReturn() const override;

    // TransportEvents
    void OnAccepted(int) override {}
    void OnConnected() override;
    void OnConnectFailed(const std::string& why) override;
    void OnClosed(int index) override;

private:
    void Arrive(int source, Piece piece) override;
    void HandleQueued(const QueuedMessage& m) override;
    // A Dealer that sent what the protocol does not allow ends the game here.
    void Reject(int source, const std::string& what) override;
    // The Dealer started a new game before sending what a wait asks for: the
    // old game is over here too.
    bool MayWait(int source, const std::string& command, const std::string& detail) override;
    void Heard(int index) override;
    void HandleImmediate(const Piece& piece);
    void HandleExtension(const Piece& piece);
    void HandleOurDealersNews(const Piece& piece);
    void HandleTable(const std::string& detail);
    void HandleJoin(const std::string& detail);
    void HandleStart(const std::string& detail);
    void HandleDisconnected(const std::string& detail);

    std::string joinName_ = "Unknown";
    std::string joinSide_ = "Against";
    bool ackSent_ = false;
    bool speaksExtensions_ = true;
    // What our own Dealer told it, and when it last heard anything.
    bool dealerIsOurs_ = false;
    std::string token_;
    std::string returnToken_;
    std::optional<TableSnapshot> table_;
    std::array<std::string, 5> rosterNames_{};  // the Dealer's roster, for the table asked back
    bool inGame_ = false;
    bool left_ = false;
    double lastHeard_ = 0;
    bool toldSilent_ = false;
};

} // namespace zarv::net
