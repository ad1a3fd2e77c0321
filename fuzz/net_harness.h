// One machine of a network game whose peer is the fuzzer: the input's bytes
// arrive a piece at a time whenever the game waits for an event, and when
// they run out the connection closes, so every game comes to an end.
#pragma once

#include <algorithm>
#include <string>
#include <string_view>

#include "ai/card_selection.h"
#include "engine/game.h"
#include "engine/headless.h"
#include "fuzz/fuzz_target.h"
#include "net/sessions.h"

namespace zarv::fuzz {

struct FakeTransport : net::Transport {
    net::TransportEvents* events_ = nullptr;
    bool open[2] = {false, false};
    int elements = 1;
    size_t sentBytes = 0;
    void SetEvents(net::TransportEvents* e) override { events_ = e; }
    net::TransportEvents* events() const override { return events_; }
    int ElementCount() const override { return elements; }
    bool IsConnected(int i) const override { return i >= 0 && i < 2 && i < elements && open[i]; }
    void Send(int, std::string_view bytes) override { sentBytes += bytes.size(); }
    void Close(int i) override {
        if (i >= 0 && i < 2) open[i] = false;
    }
    void StopListening() override {}
    void CloseAll() override { open[0] = open[1] = false; }
};

// Stops the game after one hand: enough to reach every message's handling.
struct OneHand : GameObserver {
    GameState& s;
    explicit OneHand(GameState& state) : s(state) {}
    void TrickSettled(const TrickRecord&) override {}
    void HandScored(int, int) override { s.StopRequested = true; }
};

struct NetMachine {
    FakeTransport transport;
    VirtualPump pump;
    QuietTable view;
    SeededRandom random{7};
    NoRecords records;
    std::unique_ptr<net::NetworkSession> owned;
    net::NetworkSession& session;
    net::DealerSession& dealer() { return static_cast<net::DealerSession&>(session); }
    net::ClientSession& client() { return static_cast<net::ClientSession&>(session); }
    Game game;
    ai::ComputerSeatPlayer computer{game.positionForTests()};
    OneHand oneHand{game.positionForTests()};
    std::string_view input;
    int peer;  // the element the fuzzer's bytes come in on

    NetMachine(net::NetworkSession::Role role, const uint8_t* data, size_t size)
        : owned(net::MakeSession(role, transport, pump)), session(*owned), game(EngineServices{view, pump, random, session, records}),
          input(reinterpret_cast<const char*>(data), size), peer(role == net::NetworkSession::Role::Dealer ? 1 : 0) {
        session.Attach(game);
        game.SetComputerPlayer(&computer);
        game.SetObserver(&oneHand);
        pump.onIdle = [this] { Feed(); };
        // A wait with a deadline (a pause, a heartbeat, a move limit) lets the
        // next piece arrive too: a peer speaks whenever it likes.
        pump.onTick = [this] { Feed(); };
    }
    // The next piece of the input (its length from the first byte), or the close.
    bool Feed() {
        if (input.empty()) {
            if (transport.open[peer]) {
                transport.open[peer] = false;
                session.OnClosed(peer);
            } else {
                game.Stop();  // nothing more can come: whoever waits, stops
            }
            return false;
        }
        const size_t n = std::min(input.size(), static_cast<size_t>(static_cast<uint8_t>(input[0])) % 64 + 1);
        const std::string_view piece = input.substr(0, n);
        input.remove_prefix(n);
        session.OnData(peer, piece);
        // Nothing grows without bound, whatever arrives.
        ZARV_FUZZ_CHECK(session.queuedMessages() <= 2 * net::MessageQueue::kMaxPerConnection);
        return true;
    }
};

} // namespace zarv::fuzz
