// The Dealer with one seated player whose every message comes from the
// fuzzer: framing, the queue, the checks and every handler on the Dealer.
#include "fuzz/net_harness.h"

ZARV_FUZZ_TARGET {
    using namespace zarv;
    fuzz::NetMachine m(net::NetworkSession::Role::Dealer, data, size);
    GameState& s = m.game.positionForTests();
    static const char* const kNames[5] = {"", "Tib ", "Vrel", "Zarv", "Dastrel"};
    for (int seat = 1; seat <= 4; ++seat) {
        s.Seats[seat].Name = kNames[seat];
        s.Seats[seat].Kind = SeatKind::Computer;
    }
    m.transport.elements = 2;
    m.transport.open[1] = true;
    m.session.OnAccepted(1);
    m.session.OnData(1, "Connect;Fuzz;Against|");  // seated at 2
    ZARV_FUZZ_CHECK(s.Seats[2].Kind == SeatKind::Human && s.Seats[2].Socket == 1);
    m.dealer().StopAccepting();
    m.game.StartClick();
    // The game ended: its cards are all in one place each.
    int placed = 0;
    for (int i = 1; i <= 52; ++i) placed += s.Deck[i].Owner <= kPileB;
    ZARV_FUZZ_CHECK(placed == 52);
    return 0;
}
