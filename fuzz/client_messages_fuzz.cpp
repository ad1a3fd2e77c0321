// A client whose Dealer is the fuzzer: the lobby's answers, the start, the
// deal, the master and trump, the moves and the lost-player messages.
#include "fuzz/net_harness.h"

ZARV_FUZZ_TARGET {
    using namespace zarv;
    fuzz::NetMachine m(net::NetworkSession::Role::Client, data, size);
    struct Started : net::SessionListener {
        bool started = false;
        void StartReceived() override { started = true; }
    } listener;
    m.session.SetListener(&listener);
    GameState& s = m.game.positionForTests();
    s.IsDealer = false;
    m.game.SetLocalAutoplay(true);
    m.transport.open[0] = true;
    m.client().SetJoinRequest("Fuzz", "Against");
    m.session.OnConnected();
    while (!listener.started && m.Feed()) {}
    if (!listener.started) return 0;
    m.game.StartClick();
    ZARV_FUZZ_CHECK(s.LocalSeat >= 1 && s.LocalSeat <= 4);
    return 0;
}
