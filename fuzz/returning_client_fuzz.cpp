// A client coming back to its seat whose Dealer is the fuzzer: the table it
// is sent ("Table"), then whatever follows. Whatever the table says, the
// machine either takes the game up with every card in one place, or refuses it.
#include "fuzz/net_harness.h"

ZARV_FUZZ_TARGET {
    using namespace zarv;
    fuzz::NetMachine m(net::NetworkSession::Role::Client, data, size);
    struct Back : net::SessionListener {
        bool table = false, refused = false;
        void TableReceived() override { table = true; }
        void Seated(int seat, const std::string&) override { refused = refused || seat == 3; }
    } listener;
    m.session.SetListener(&listener);
    GameState& s = m.game.positionForTests();
    s.IsDealer = false;
    s.LocalSeat = 2;
    for (int seat = 1; seat <= 4; ++seat) s.Seats[seat].Name = "P" + std::to_string(seat);
    m.game.SetLocalAutoplay(true);
    m.transport.open[0] = true;
    m.client().SetReturnRequest("0123456789abcdef0123456789abcdef");
    m.session.OnConnected();
    while (!listener.table && !listener.refused && m.Feed()) {}
    const auto table = m.client().TakeTable();
    if (!table) return 0;
    ZARV_FUZZ_CHECK(table->seat == 2 && table->master >= 1 && table->master <= 4);
    m.game.Resume(*table);
    // Every card lies in exactly one place, whatever was played from the table.
    int placed = 0;
    for (int i = 1; i <= 52; ++i) placed += s.Deck[i].Owner <= kPileB;
    ZARV_FUZZ_CHECK(placed == 52);
    return 0;
}
