// Network play when things go wrong: a Dealer that starts a new game in the
// middle of one, a player who goes silent, one who drops and comes back, a
// silent Dealer, and what a program of the original protocol hears meanwhile.
// Machines are threads of this process over in-process connections.
#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

#include "net/wire.h"
#include "tests/net_machines.h"
#include "tests/test_table.h"

namespace zarv::testing {
namespace {

int CountLines(const std::string& all, const std::string& prefix) {
    std::istringstream in(all);
    std::string line;
    int n = 0;
    while (std::getline(in, line)) n += line.rfind(prefix, 0) == 0;
    return n;
}

// The lines after the first one that starts with prefix.
std::string After(const std::string& all, const std::string& prefix) {
    const size_t at = all.find("\n" + prefix);
    if (at == std::string::npos) return {};
    const size_t next = all.find('\n', at + 1);
    return next == std::string::npos ? std::string() : all.substr(next + 1);
}

// Reports as a machine does, and calls the hooks it is given.
struct Hooks : sim::HandReporter {
    int tricks = 0;
    std::function<void(int)> onTrick;
    std::function<void(int)> onLost;
    Hooks(Machine& m) : HandReporter(m.game, m.out) {
        handLines = true;
        m.observer = this;
    }
    void TrickSettled(const TrickRecord& t) override {
        HandReporter::TrickSettled(t);
        ++tricks;
        if (onTrick) onTrick(tricks);
    }
    void PlayerLost(int seat) override {
        HandReporter::PlayerLost(seat);
        if (onLost) onLost(seat);
    }
};

TEST(NetworkFaults, ADealersNewGameInTheMiddleRestartsEveryTable) {
    Network4 net(12);
    Machine& dealer = net.dealer.m;
    Hooks hooks(dealer);
    bool restarted = false;
    hooks.onTrick = [&](int n) {
        if (n == 4 && !restarted) {
            restarted = true;
            dealer.game.StartClick();  // F2 on the Dealer, in the middle of a hand
        }
    };
    net.Play();
    const std::string lines = GameLines(net.dealer.out.str());
    EXPECT_TRUE(restarted);
    // The abandoned game's four tricks, then a whole new game to its end.
    EXPECT_EQ(CountLines(lines, "game-over"), 1) << lines;
    EXPECT_EQ(CountLines(lines, "hand 1 "), 1);
    for (size_t i = 0; i < net.clients.size(); ++i) {
        EXPECT_EQ(net.status[i], 0) << net.clients[i]->out.str();
        EXPECT_EQ(GameLines(net.clients[i]->out.str()), lines) << "client " << i;
    }
}

TEST(NetworkFaults, ASilentPlayerIsReplacedAfterTheMoveLimitAndTheOthersFinish) {
    Network4 net(31);
    net.dealerOptions.moveLimit = 5;
    // The silent client costs the Dealer one grace period of real time.
    net.dealer.pump.SetMessageGrace(3);
    net.clientOptions[1].freezeAtTrick = 3;
    NewsAgreesWithTable dealerTable(net.dealer.m), otherTable(net.clients[0]->m);
    net.Play();
    const std::string dealerOut = net.dealer.out.str();
    const int frozenSeat = net.clients[1]->m.s().LocalSeat;
    // Each table shows the computer at that seat as the news is told.
    for (const NewsAgreesWithTable* table : {&dealerTable, &otherTable}) {
        EXPECT_EQ(table->told, 1);
        EXPECT_EQ(table->contradicted, 0);
    }
    EXPECT_NE(dealerOut.find("seat " + std::to_string(frozenSeat) + " silent for 5 s: computer plays"), std::string::npos)
        << dealerOut;
    EXPECT_NE(dealerOut.find("disconnected " + std::to_string(frozenSeat)), std::string::npos);
    EXPECT_NE(dealerOut.find("game-over"), std::string::npos);
    EXPECT_NE(net.clients[1]->out.str().find("frozen at trick 3"), std::string::npos);
    EXPECT_EQ(net.status[1], 3);
    for (size_t i : {0u, 2u}) {
        EXPECT_EQ(net.status[i], 0) << net.clients[i]->out.str();
        EXPECT_EQ(GameLines(net.clients[i]->out.str()), GameLines(dealerOut));
    }
}

TEST(NetworkFaults, ADroppedPlayerComesBackToItsSeatAndSeesWhatTheDealerSees) {
    // Early in a hand, and at a hand's last trick (the next deal and trump come first).
    for (int dropAt : {2, 9}) {
        Network4 net(40 + dropAt);
        Machine& dealer = net.dealer.m;
        Hooks hooks(dealer);
        // The Dealer goes on only once the player knocks again, so that the
        // return happens in the middle of the game, wherever it stands.
        hooks.onLost = [&](int) {
            while (dealer.dealer().pendingReturns() == 0) dealer.pump.WaitForMessage(kForever);
        };
        net.clientOptions[0].dropAtTrick = dropAt;
        net.clientOptions[0].returnAfter = 0;
        net.Play();
        const std::string dealerOut = net.dealer.out.str();
        const std::string back = net.clients[0]->out.str();
        const int seat = net.clients[0]->m.s().LocalSeat;
        EXPECT_EQ(net.status[0], 0) << back;
        ASSERT_NE(back.find("returned seat " + std::to_string(seat)), std::string::npos) << back;
        EXPECT_NE(dealerOut.find("back " + std::to_string(seat)), std::string::npos) << dealerOut;
        // From its return on, the player's table says what the Dealer's says.
        const std::string since = GameLines(After(back, "returned seat"));
        ASSERT_GT(since.size(), 100u);
        const std::string all = GameLines(dealerOut);
        EXPECT_EQ(all.substr(all.size() - std::min(all.size(), since.size())), since);
        // The others heard the player was back.
        for (size_t i : {1u, 2u}) {
            EXPECT_EQ(net.status[i], 0);
            EXPECT_NE(net.clients[i]->out.str().find("back " + std::to_string(seat)), std::string::npos);
            EXPECT_EQ(GameLines(net.clients[i]->out.str()), all);
        }
    }
}

TEST(NetworkFaults, AProgramOfTheOriginalProtocolNeverHearsAnythingNew) {
    // Client 2 speaks only the original protocol: any new message would be a
    // bad message to it and end its game. Client 0 drops and comes back, and
    // client 1 goes silent, so that the Dealer has every reason to speak.
    Network4 net(57);
    net.clients[2]->m.client().SetSpeaksExtensions(false);
    Machine& dealer = net.dealer.m;
    Hooks hooks(dealer);
    bool once = false;
    hooks.onLost = [&](int seat) {
        if (once || seat != net.clients[0]->m.s().LocalSeat) return;
        once = true;
        while (dealer.dealer().pendingReturns() == 0) dealer.pump.WaitForMessage(kForever);
    };
    net.dealerOptions.moveLimit = 5;
    net.dealer.pump.SetMessageGrace(3);
    net.clientOptions[0].dropAtTrick = 4;
    net.clientOptions[0].returnAfter = 0;
    net.clientOptions[1].freezeAtTrick = 20;
    net.Play();
    const std::string plain = net.clients[2]->out.str();
    EXPECT_EQ(net.status[2], 0) << plain;
    EXPECT_EQ(plain.find("bad-message"), std::string::npos) << plain;
    EXPECT_EQ(GameLines(plain), GameLines(net.dealer.out.str()));
    EXPECT_FALSE(net.clients[2]->m.client().dealerIsOurs());
    EXPECT_TRUE(net.clients[0]->m.client().dealerIsOurs());
}

// --- The lobby and the door, one thread. ---

struct Door : ::testing::Test {
    LocalMachine dealer{NetworkSession::Role::Dealer, 1};
    std::vector<std::unique_ptr<RawPeer>> peers;
    void SetUp() override {
        dealer.endpoint.Listen();
        for (int seat = 1; seat <= 4; ++seat) dealer.m.game.positionForTests().Seats[seat].Kind = SeatKind::Computer;
        dealer.m.game.positionForTests().Seats[3].Name = "Zed";
    }
    void Settle() {
        for (int round = 0; round < 20; ++round) {
            int moved = dealer.endpoint.DeliverPending();
            for (auto& p : peers) moved += p->endpoint.DeliverPending();
            if (moved == 0) return;
        }
    }
    RawPeer& Say(const std::string& text) {
        peers.push_back(std::make_unique<RawPeer>());
        peers.back()->endpoint.ConnectTo(dealer.endpoint);
        Settle();
        peers.back()->Say(text);
        Settle();
        return *peers.back();
    }
    static std::string TokenIn(const std::string& heard) {
        const size_t at = heard.find("Hello;");
        return at == std::string::npos ? std::string() : heard.substr(at + 6, 32);
    }
};

TEST_F(Door, OursHearTheTableAndGetATokenWhileTheOriginalHearOnlyTheOriginal) {
    RawPeer& plain = Say("Connect;Ann;Against|");
    RawPeer& ours = Say("Connect;Bob;Partner|");
    ours.Say("Recived;Join|");
    Settle();
    EXPECT_TRUE(net::IsToken(TokenIn(ours.heard))) << ours.heard;
    EXPECT_NE(ours.heard.find("Roster;Bob;Human;Ann;Human;Zed;Human;;Computer;|"), std::string::npos) << ours.heard;
    // Ann hears of Bob as ever, with the word seen from her seat (Bob sits across from the Dealer's partner seat).
    EXPECT_EQ(plain.heard, "Join;2;You play against of Dealer.|AddedPlayer;Bob;Against|");
    // A third player: ours hears the table again, the original an AddedPlayer.
    Say("Connect;Cy;Against|");
    EXPECT_NE(ours.heard.find("Roster;Bob;Human;Ann;Human;Zed;Human;Cy;Human;|"), std::string::npos) << ours.heard;
    EXPECT_EQ(plain.heard, "Join;2;You play against of Dealer.|AddedPlayer;Bob;Against|AddedPlayer;Cy;Partner|");
}

TEST_F(Door, APlayerWhoLeavesTheLobbyFreesTheSeatForAnyoneAndLeavesNoTrace) {
    struct Left : SessionListener {
        std::vector<std::string> names;
        void PlayerLeft(int, int, const std::string& name) override { names.push_back(name); }
    } left;
    dealer.m.session.SetListener(&left);
    RawPeer& fay = Say("Connect;Fay;Partner|");
    RawPeer& ours = Say("Connect;Bob;Against|");
    ours.Say("Recived;Join|");
    Settle();
    fay.endpoint.CloseAll();
    Settle();
    EXPECT_EQ(left.names, std::vector<std::string>{"Fay"});
    EXPECT_EQ(dealer.m.dealer().seatedCount(), 1);
    EXPECT_EQ(dealer.m.s().Seats[1].Kind, SeatKind::Computer);
    EXPECT_EQ(dealer.m.s().Seats[1].Name, "");
    EXPECT_NE(ours.heard.rfind("Roster;;Computer;Bob;Human;Zed;Human;;Computer;|"), std::string::npos) << ours.heard;
    // Fay comes back and gets her side again; nobody is listed twice.
    RawPeer& again = Say("Connect;Fay;Partner|");
    EXPECT_EQ(again.heard.rfind("Join;1;You play as Partner of Dealer.|", 0), 0u) << again.heard;
    EXPECT_EQ(dealer.m.dealer().seatedCount(), 2);
}

TEST_F(Door, OnlyTheRightTokenDuringAGameTakesASeatBack) {
    RawPeer& ours = Say("Connect;Bob;Against|");
    ours.Say("Recived;Join|");
    Settle();
    const std::string token = TokenIn(ours.heard);
    ASSERT_FALSE(token.empty());
    // Before the game there is nothing to come back to.
    RawPeer& early = Say("Return;" + token + "|");
    EXPECT_EQ(early.heard, "Join;3;The Dealer has no game in progress; join it again.|");
    EXPECT_TRUE(early.closed);
    dealer.m.dealer().StopAccepting();
    // A wrong token, a name alone, or a malformed one: refused with a word, closed.
    std::string wrong = token;
    wrong[0] = wrong[0] == 'a' ? 'b' : 'a';
    for (const std::string& t : {wrong, std::string("Bob"), std::string(), std::string(200, 'a')}) {
        RawPeer& p = Say("Return;" + t + "|");
        EXPECT_EQ(p.heard, "Join;3;That seat is not yours to take back.|") << t;
        EXPECT_TRUE(p.closed);
    }
    EXPECT_EQ(dealer.m.dealer().pendingReturns(), 0u);
    // The right one waits at the door until the table is settled.
    RawPeer& back = Say("Return;" + token + "|");
    EXPECT_FALSE(back.closed);
    EXPECT_EQ(dealer.m.dealer().pendingReturns(), 1u);
    // A second knock of the same player replaces the first.
    RawPeer& backAgain = Say("Return;" + token + "|");
    EXPECT_TRUE(back.closed);
    EXPECT_FALSE(backAgain.closed);
    EXPECT_EQ(dealer.m.dealer().pendingReturns(), 1u);
}

TEST(NetworkFaults, AClientOfASilentDealerSaysSoAndLeaves) {
    RawPeer dealer;
    dealer.endpoint.Listen();
    LocalMachine client(NetworkSession::Role::Client, 3);
    client.pump.SetMessageGrace(0.2);  // the Dealer below never answers in time
    int status = -1;
    std::thread t([&] {
        client.endpoint.ConnectTo(dealer.endpoint);
        status = sim::RunClient(client.m);
    });
    for (int i = 0; i < 3000 && dealer.heard.find("Recived;Join|") == std::string::npos; ++i) {
        dealer.endpoint.DeliverPending();
        if (i == 0 || dealer.heard.find("Connect;") != std::string::npos)
            dealer.endpoint.Send(1, "Join;2;You play against of Dealer.|");
        dealer.endpoint.WaitForInbox(0.01);
    }
    ASSERT_NE(dealer.heard.find("Recived;Join|"), std::string::npos);
    // Our Dealer, as far as the client can tell; then a game starts and it falls silent.
    dealer.endpoint.Send(1, "Hello;0123456789abcdef0123456789abcdef|Start;a;Computer;Ann;Human;c;Computer;d;Computer;|");
    t.join();
    EXPECT_EQ(status, 3);
    EXPECT_NE(client.out.str().find("dealer silent for 30 s"), std::string::npos) << client.out.str();
}

} // namespace
} // namespace zarv::testing
