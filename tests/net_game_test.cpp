// Network play inside one process: a Dealer and its clients, each a machine
// of its own (threads for whole games), over in-process connections.
#include <atomic>

#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <thread>

#include "net/local_transport.h"
#include "net/wire.h"
#include "tests/net_machines.h"
#include "tests/test_table.h"
#include "tools/net_play.h"

namespace zarv::testing {
namespace {

using namespace zarv::net;
using sim::Machine;

// The same seed played stand-alone, every seat by the computer.
std::string StandAloneLines(uint64_t seed) {
    HeadlessGame h(seed);
    ai::ComputerSeatPlayer computer(h.game.positionForTests());
    std::ostringstream out;
    sim::HandReporter reporter(h.game, out);
    reporter.handLines = true;
    h.game.SetComputerPlayer(&computer);
    h.game.SetObserver(&reporter);
    h.AllComputerSeats();
    h.view.askNewGame = [&] {
        out << "game-over points " << h.s().PointsA << '-' << h.s().PointsB << '\n';
        return false;
    };
    h.game.StartClick();
    return out.str();
}

// --- The lobby, one thread: the Dealer's session is pumped by the test. ---

struct Lobby : ::testing::Test {
    LocalMachine dealer{NetworkSession::Role::Dealer, 1};
    std::vector<std::unique_ptr<RawPeer>> peers;
    struct Joined : SessionListener {
        std::vector<std::string> lines;
        void PlayerJoined(int, int, const std::string& name, const std::string& side) override {
            lines.push_back(name + " joined.  (" + side + ")");
        }
    } joined;

    void SetUp() override {
        dealer.endpoint.Listen();
        dealer.m.session.SetListener(&joined);
        for (int seat = 1; seat <= 4; ++seat) dealer.m.game.positionForTests().Seats[seat].Kind = SeatKind::Computer;
    }
    RawPeer& Connect() {
        peers.push_back(std::make_unique<RawPeer>());
        peers.back()->endpoint.ConnectTo(dealer.endpoint);
        Settle();
        return *peers.back();
    }
    // Lets every end take its inbox until nothing moves any more.
    void Settle() {
        for (int round = 0; round < 20; ++round) {
            int moved = dealer.endpoint.DeliverPending();
            for (auto& p : peers) moved += p->endpoint.DeliverPending();
            if (moved == 0) return;
        }
    }
    RawPeer& Join(const std::string& name, const std::string& side) {
        RawPeer& p = Connect();
        p.Say("Connect;" + name + ";" + side + "|");
        Settle();
        return p;
    }
};

TEST_F(Lobby, SeatsGoByTheTablesAndTheFourthIsRefused) {
    RawPeer& a = Join("Ann", "Against");
    RawPeer& b = Join("Bob", "Against");
    RawPeer& c = Join("Cy", "Against");
    EXPECT_EQ(b.heard.rfind("Join;4;You play against of Dealer.|", 0), 0u) << b.heard;
    EXPECT_EQ(c.heard, "Join;1;Against of Dealer position is ingaged, you'll play as Partner of Dealer.|");
    // The others hear of each newcomer, with the word seen from their seat:
    // Bob (4) plays with Ann (2), Cy (1) against both.
    EXPECT_EQ(a.heard, "Join;2;You play against of Dealer.|AddedPlayer;Bob;Partner|AddedPlayer;Cy;Against|");
    EXPECT_EQ(b.heard, "Join;4;You play against of Dealer.|AddedPlayer;Cy;Against|");
    const GameState& s = dealer.m.s();
    EXPECT_EQ(s.Seats[2].Name, "Ann");
    EXPECT_EQ(s.Seats[2].Kind, SeatKind::Human);
    EXPECT_EQ(s.Seats[4].Socket, 2);
    EXPECT_EQ(joined.lines[2], "Cy joined.  (Partner)");

    RawPeer& d = Join("Dan", "Partner");
    EXPECT_EQ(d.heard, "Join;3;All Positions are ingaged, please try later.|");  // the last word arrives
    EXPECT_TRUE(d.closed);
    EXPECT_EQ(dealer.m.dealer().seatedCount(), 3);
}

TEST_F(Lobby, PartnerTakenGoesAgainstAndAnEmptyNameIsUnknown) {
    RawPeer& a = Join("", "Partner");
    RawPeer& b = Join("Bob", "Partner");
    EXPECT_EQ(a.heard.rfind("Join;1;You play as Partner of Dealer.|", 0), 0u);
    EXPECT_EQ(b.heard, "Join;2;Partner of Dealer position is ingaged, you must play against of Dealer.|");
    EXPECT_EQ(joined.lines[0], "Unknown joined.  (Partner)");
    // Seat 1 hears "Against" for a later player.
    EXPECT_EQ(a.heard, "Join;1;You play as Partner of Dealer.|AddedPlayer;Bob;Against|");
    // A Connect without ";" gets no answer.
    RawPeer& c = Connect();
    c.Say("Connect;Cy|");
    Settle();
    EXPECT_EQ(c.heard, "");
}

// Persian names and chat, zero-width non-joiner included, pass through our
// Dealer byte for byte: a peer of the original protocol receives the UTF-8
// its writer sent, and the Dealer's own table reads the same text.
TEST_F(Lobby, PersianNamesAndChatTravelByteForByte) {
    const std::string maryam = "مریم‌جان", line = "سلام‌ها، بازی خوبی باشد!";
    RawPeer& a = Join(maryam, "Against");
    RawPeer& b = Join("Bob", "Against");
    EXPECT_EQ(dealer.m.s().Seats[2].Name, maryam);
    EXPECT_EQ(joined.lines[0], maryam + " joined.  (Against)");
    EXPECT_EQ(b.heard, "Join;4;You play against of Dealer.|");
    EXPECT_EQ(a.heard, "Join;2;You play against of Dealer.|AddedPlayer;Bob;Partner|");
    struct Chat : SessionListener {
        std::vector<std::string> lines;
        void ChatReceived(int seat, const std::string& text) override { lines.push_back(std::to_string(seat) + text); }
    } chat;
    dealer.m.session.SetListener(&chat);
    a.Say("Chat;2;" + line + "|");
    Settle();
    EXPECT_EQ(b.heard, "Join;4;You play against of Dealer.|Chat;2;" + line + "|");
    ASSERT_EQ(chat.lines.size(), 1u);
    EXPECT_EQ(chat.lines[0], "2" + line);
    dealer.m.session.SetListener(&joined);
}

TEST_F(Lobby, EachAnswerGoesToTheConnectionThatAsked) {
    RawPeer& first = Connect();
    RawPeer& second = Connect();
    second.Say("Connect;Second;Against|");
    Settle();
    first.Say("Connect;First;Against|");
    Settle();
    EXPECT_EQ(second.heard.rfind("Join;2;", 0), 0u) << second.heard;
    EXPECT_EQ(first.heard.rfind("Join;4;", 0), 0u) << first.heard;
    EXPECT_EQ(dealer.m.s().Seats[2].Socket, 2);  // the connection that asked, not the newest
    EXPECT_EQ(dealer.m.s().Seats[4].Socket, 1);
}

TEST_F(Lobby, StrayConnectionsCostNoPlaceAndAreClosedAfterThirtySeconds) {
    RawPeer& stray1 = Connect();
    RawPeer& stray2 = Connect();
    stray2.Say("hello|");  // not a Connect
    Settle();
    Join("A", "Against");
    Join("B", "Against");
    RawPeer& c = Join("C", "Against");
    EXPECT_EQ(c.heard.rfind("Join;1;", 0), 0u) << c.heard;
    EXPECT_FALSE(stray1.closed);
    const double next = dealer.m.session.Housekeep();
    EXPECT_NEAR(next - dealer.pump.Now(), net::DealerSession::kConnectTimeout, 1e-6);
    dealer.pump.WaitForEvents(next);  // the virtual clock moves on
    dealer.m.session.Housekeep();
    Settle();
    EXPECT_TRUE(stray1.closed);
    EXPECT_TRUE(stray2.closed);
    EXPECT_FALSE(c.closed);
}

TEST_F(Lobby, FloodsAndForgedChatCloseOrAreDropped) {
    RawPeer& a = Join("Ann", "Against");
    RawPeer& b = Join("Bob", "Against");
    // Chat as another seat: not passed on.
    a.Say("Chat;4;I am Bob|");
    Settle();
    EXPECT_EQ(b.heard.find("Chat"), std::string::npos);
    a.Say("Chat;2;hi all|");
    Settle();
    EXPECT_NE(b.heard.find("Chat;2;hi all|"), std::string::npos);
    // 64 KiB without "|": closed; the seat goes back to the computer at the next check.
    a.Say(std::string(70 * 1024, 'z'));
    Settle();
    EXPECT_TRUE(a.closed);
    dealer.m.game.CheckConnections();
    Settle();
    EXPECT_EQ(dealer.m.s().Seats[2].Kind, SeatKind::Computer);
    EXPECT_EQ(dealer.m.s().Seats[2].Socket, 0);
    EXPECT_NE(b.heard.find("Disconnected;2;Ann disconnected, A Computer Player Replaced by him/her.|"), std::string::npos);
    // Messages nobody can wait for are not kept.
    b.Say("HandIs;whatever|MasterPlayerIs;2|Nonsense;1|");
    Settle();
    EXPECT_EQ(dealer.m.session.queuedMessages(), 0u);
}

TEST_F(Lobby, APlayerWhoLeavesTheLobbyFreesTheSeatAndTheOthersAreTold) {
    RawPeer& a = Join("Ann", "Against");
    RawPeer& b = Join("Bob", "Against");
    a.endpoint.CloseAll();
    Settle();
    dealer.m.game.CheckConnections();
    Settle();
    EXPECT_EQ(dealer.m.s().Seats[2].Kind, SeatKind::Computer);
    EXPECT_NE(b.heard.find("Disconnected;2;Ann disconnected, A Computer Player Replaced by him/her.|"), std::string::npos);
    // The seat is free again for the next player.
    RawPeer& c = Join("Cy", "Against");
    EXPECT_EQ(c.heard.rfind("Join;2;", 0), 0u) << c.heard;
}

TEST_F(Lobby, NobodyJoinsOnceTheGameHasStartedAndTheDealerHearsOfIt) {
    struct Late : SessionListener {
        std::vector<std::string> names;
        void LateJoinRefused(const std::string& name) override { names.push_back(name); }
    } late;
    dealer.m.session.SetListener(&late);
    RawPeer& early = Connect();
    dealer.m.dealer().StopAccepting();
    Settle();
    EXPECT_TRUE(early.closed);  // never asked for a seat
    // The Dealer still listens (for players coming back), but a newcomer is refused.
    RawPeer& eve = Join("Eve", "Partner");
    EXPECT_EQ(eve.heard, "Join;3;All Positions are ingaged, please try later.|");
    EXPECT_TRUE(eve.closed);
    EXPECT_EQ(late.names, std::vector<std::string>{"Eve"});
}

// --- Whole games, a thread per machine. ---

TEST(NetworkGame, FourMachinesAgreeTrickByTrickWithAStandAloneGame) {
    for (uint64_t seed : {5u, 77u}) {
        Network4 net(seed);
        net.Play();
        const std::string expected = StandAloneLines(seed);
        ASSERT_GT(expected.size(), 1000u);
        EXPECT_EQ(net.dealerStatus, 0);
        EXPECT_EQ(GameLines(net.dealer.out.str()), expected);
        for (size_t i = 0; i < net.clients.size(); ++i) {
            EXPECT_EQ(net.status[i], 0) << net.clients[i]->out.str();
            EXPECT_EQ(GameLines(net.clients[i]->out.str()), expected) << "client " << i << "\n" << net.clients[i]->out.str().substr(net.clients[i]->out.str().size() - 300);
        }
    }
}

TEST(NetworkGame, TwoGamesInARowAndFewerClients) {
    Network4 net(9, 2);
    net.Play(2);
    const std::string lines = GameLines(net.dealer.out.str());
    size_t overs = 0;
    for (size_t at = 0; (at = lines.find("game-over", at)) != std::string::npos; ++at) ++overs;
    EXPECT_EQ(overs, 2u);
    for (auto& c : net.clients) EXPECT_EQ(GameLines(c->out.str()), lines);
    for (int st : net.status) EXPECT_EQ(st, 0);
}

// Reports as a machine does, and once, after the n-th trick it sees, acts.
struct AtTrick : sim::HandReporter {
    int n, tricks = 0;
    std::function<void()> action;
    AtTrick(Machine& m, int after, std::function<void()> act)
        : HandReporter(m.game, m.out), n(after), action(std::move(act)) {
        handLines = true;
        m.observer = this;
    }
    void TrickSettled(const TrickRecord& t) override {
        HandReporter::TrickSettled(t);
        if (++tricks == n) action();
    }
};

// A computer player that leaves the game at a chosen moment instead of deciding.
struct Leaver : ComputerPlayer {
    ai::ComputerSeatPlayer inner;
    Machine& m;
    bool onTrump, onMove;
    Leaver(Machine& mm, bool trump, bool move) : inner(mm.game.positionForTests()), m(mm), onTrump(trump), onMove(move) {}
    void Leave() {
        m.session.CloseAll();
        m.game.positionForTests().StopRequested = true;
    }
    CardChoice SelectCard(int seat, int position) override {
        if (onMove) {
            Leave();
            return {};
        }
        return inner.SelectCard(seat, position);
    }
    Suit ChooseTrump(int first, int count) override {
        if (onTrump) {
            Leave();
            return kNoSuit;
        }
        return inner.ChooseTrump(first, count);
    }
};

TEST(NetworkGame, APlayerLostWhileToMoveIsReplacedAndTheGameGoesOn) {
    Network4 net(21);
    Leaver leaver(net.clients[0]->m, false, true);
    net.clients[0]->m.game.SetComputerPlayer(&leaver);
    net.Play();
    const std::string dealerOut = net.dealer.out.str();
    EXPECT_NE(dealerOut.find("disconnected "), std::string::npos);
    EXPECT_NE(dealerOut.find("game-over"), std::string::npos) << dealerOut;
    EXPECT_EQ(net.status[0], 3);
    for (size_t i = 1; i < net.clients.size(); ++i) {
        EXPECT_EQ(net.status[i], 0);
        EXPECT_NE(net.clients[i]->out.str().find("disconnected "), std::string::npos);
        EXPECT_EQ(GameLines(net.clients[i]->out.str()), GameLines(dealerOut));
    }
}

TEST(NetworkGame, AMasterLostBeforeNamingTheTrumpIsReplacedAndTheGameGoesOn) {
    Network4 net(33);
    // Whichever client is the first to name a trump leaves instead.
    std::vector<std::unique_ptr<Leaver>> leavers;
    for (auto& c : net.clients) {
        leavers.push_back(std::make_unique<Leaver>(c->m, true, false));
        c->m.game.SetComputerPlayer(leavers.back().get());
    }
    net.Play();
    int left = 0;
    for (size_t i = 0; i < net.clients.size(); ++i) left += net.status[i] == 3;
    ASSERT_GE(left, 1) << net.dealer.out.str();
    // The computer named the trump for the lost master; the game was played out.
    const std::string dealerOut = net.dealer.out.str();
    EXPECT_NE(dealerOut.find("game-over"), std::string::npos) << dealerOut;
    for (size_t i = 0; i < net.clients.size(); ++i) {
        if (net.status[i] == 3) continue;
        EXPECT_EQ(net.status[i], 0) << net.clients[i]->out.str();
        EXPECT_NE(net.clients[i]->out.str().find("disconnected "), std::string::npos);
        EXPECT_EQ(GameLines(net.clients[i]->out.str()), GameLines(dealerOut));
    }
}

TEST(NetworkGame, AClientLostWhileOthersPlay) {
    Network4 net(44);
    // The first client leaves after the third trick it sees.
    Machine& leaver = net.clients[0]->m;
    AtTrick leave(leaver, 3, [&] {
        leaver.session.CloseAll();
        leaver.game.positionForTests().StopRequested = true;
    });
    net.Play();
    EXPECT_NE(net.dealer.out.str().find("game-over"), std::string::npos);
    EXPECT_NE(net.dealer.out.str().find("disconnected "), std::string::npos);
    EXPECT_EQ(net.status[0], 3);
    EXPECT_EQ(net.status[1], 0);
    EXPECT_EQ(net.status[2], 0);
}

TEST(NetworkGame, ADealerThatVanishesStopsEveryClient) {
    Network4 net(55);
    Machine& dealer = net.dealer.m;
    AtTrick vanish(dealer, 5, [&] {
        dealer.session.CloseAll();
        dealer.game.Stop();
    });
    net.Play();
    for (size_t i = 0; i < net.clients.size(); ++i) EXPECT_EQ(net.status[i], 3) << net.clients[i]->out.str();
}

// A client that sends what the rules refuse loses its seat; the game goes on.
TEST(NetworkGame, AnIllegalMoveFromAClientClosesItsConnection) {
    Network4 net(66);
    // After the second trick: a card for a seat that is not its own.
    Machine& cheat = net.clients[0]->m;
    AtTrick move(cheat, 2, [&] { cheat.session.SendText(0, "IMove" + std::to_string(NextSeat(cheat.s().LocalSeat)) + ";h2|"); });
    net.Play();
    EXPECT_NE(net.dealer.out.str().find("game-over"), std::string::npos);
    EXPECT_NE(net.dealer.out.str().find("disconnected "), std::string::npos);
    EXPECT_EQ(net.status[0], 3);
    EXPECT_EQ(net.status[1], 0);
}

// A Dealer that sends what the checks refuse: the client's game ends with a
// line that names the message, and the client exits 3 instead of hanging.
TEST(NetworkGame, BadMessagesFromTheDealerEndTheClientsGameWithAMessage) {
    GameState pack;
    LoadPack(pack, StandardPack());
    const std::string goodDeal = "HandIs;" + DealText(pack.Deck) + "|";
    const std::string join = "Join;2;You play against of Dealer.|";
    const std::string start = "Start;a;Computer;Ann;Human;c;Computer;d;Computer;|";
    struct Case {
        std::string script, named;
    };
    const Case cases[] = {
        {join + start + "HandIs;" + std::string(156, 'x') + "|", "HandIs;xxx"},
        {join + "Start;a;Computer;Ann;Human;c;Computer;d;|", "Start;a;Computer"},
        {join + "Start;a;Robot;Ann;Human;c;Computer;d;Computer;|", "Start;a;Robot"},
        {"Join;7;Seventh seat.|", "Join;7"},
        {join + start + goodDeal + "MasterPlayerIs;9|", "MasterPlayerIs;9"},
        // (The game's deal, the first master, then the first hand's deal.)
        {join + start + goodDeal + "MasterPlayerIs;1|" + goodDeal + "MasterCardIs;q|", "MasterCardIs;q"},
        {join + start + goodDeal + "MasterPlayerIs;1|" + goodDeal + "MasterCardIs;h|IMove1;z99|", "IMove1;z99"},
        // Seat 1 leads with a card it does not hold (the pack's first 13 are its).
        {join + start + goodDeal + "MasterPlayerIs;1|" + goodDeal + "MasterCardIs;h|IMove1;x14|", "IMove1;x14"},
    };
    for (const Case& c : cases) {
        RawPeer dealer;
        dealer.endpoint.Listen();
        LocalMachine client(NetworkSession::Role::Client, 1);
        int status = -1;
        std::thread t([&] {
            client.endpoint.ConnectTo(dealer.endpoint);
            status = sim::RunClient(client.m);
        });
        for (int i = 0; i < 3000 && dealer.heard.find("Connect;") == std::string::npos; ++i) {
            dealer.endpoint.DeliverPending();
            dealer.endpoint.WaitForInbox(0.01);
        }
        dealer.endpoint.Send(1, c.script);
        t.join();
        EXPECT_EQ(status, 3) << c.named;
        EXPECT_NE(client.out.str().find("bad-message " + c.named), std::string::npos) << client.out.str();
    }
}

// A Dealer of the original protocol ends its game when the HAKEM is lost
// before naming the ZARV, says so, and sends nothing more: the client's game
// ends too instead of waiting for a trump that never comes.
TEST(NetworkGame, ADealerOfTheOriginalProtocolThatEndsTheGameEndsTheClientsGame) {
    GameState pack;
    LoadPack(pack, StandardPack());
    const std::string deal = "HandIs;" + DealText(pack.Deck) + "|";
    RawPeer dealer;
    dealer.endpoint.Listen();
    LocalMachine client(NetworkSession::Role::Client, 1);
    std::atomic<bool> done = false;
    int status = -1;
    std::thread t([&] {
        client.endpoint.ConnectTo(dealer.endpoint);
        status = sim::RunClient(client.m);
        done = true;
    });
    for (int i = 0; i < 3000 && dealer.heard.find("Connect;") == std::string::npos; ++i) {
        dealer.endpoint.DeliverPending();
        dealer.endpoint.WaitForInbox(0.01);
    }
    dealer.endpoint.Send(1, "Join;2;You play against of Dealer.|Start;a;Computer;Ann;Human;c;Computer;d;Computer;|" +
                                deal + "MasterPlayerIs;1|" + deal);
    // Both deals taken: the client plays the first hand and waits for its trump.
    auto acknowledged = [&] {
        const size_t first = dealer.heard.find("Recived;HandIs|");
        return first != std::string::npos && dealer.heard.find("Recived;HandIs|", first + 1) != std::string::npos;
    };
    for (int i = 0; i < 3000 && !acknowledged(); ++i) {
        dealer.endpoint.DeliverPending();
        dealer.endpoint.WaitForInbox(0.01);
    }
    const bool dealt = acknowledged();
    if (dealt) dealer.endpoint.Send(1, "Disconnected;1;a disconnected, Game is over.|");
    // Bounded: a client that goes on waiting is let go by closing the connection.
    for (int i = 0; i < 2000 && !done; ++i) {
        dealer.endpoint.DeliverPending();
        dealer.endpoint.WaitForInbox(0.01);
    }
    const bool endedByTheDealersWord = done;
    dealer.endpoint.CloseAll();
    t.join();
    ASSERT_TRUE(dealt) << dealer.heard;
    EXPECT_TRUE(endedByTheDealersWord) << client.out.str();
    EXPECT_EQ(status, 3);
    EXPECT_TRUE(client.m.game.positionForTests().StopRequested);
    EXPECT_EQ(client.out.str().find("bad-message"), std::string::npos) << client.out.str();
}

} // namespace
} // namespace zarv::testing
