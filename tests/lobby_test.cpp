// The table server's door and lobby on their own, without sockets or tables:
// what each connection is told, which table it reaches, and the limits that
// keep one connection from spoiling the server for the others.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "net/lobby_wire.h"
#include "net/notice.h"
#include "net/wire.h"
#include "server/lobby.h"
#include "server/web_link.h"

namespace zarv::testing {
namespace {

using server::Lobby;

struct Links : server::LobbyLinks {
    std::map<int, std::vector<std::string>> sent;
    std::map<int, bool> closed;
    std::vector<std::string> log;
    double now = 100;
    void Send(int connection, const std::string& text) override { sent[connection].push_back(text); }
    void Close(int connection) override { closed[connection] = true; }
    void Log(const std::string& line) override { log.push_back(line); }
    double Now() const override { return now; }
    std::vector<double> wakeUps;
    void HousekeepBy(double when) override { wakeUps.push_back(when); }
    std::map<int, size_t> room;  // bytes of lobby news a connection may be sent (plenty unless set)
    size_t Room(int connection) const override {
        const auto it = room.find(connection);
        return it == room.end() ? 1 << 20 : it->second;
    }
    std::map<int, bool> holding;  // connections the lobby asked not to be read
    void Hold(int connection, bool held) override { holding[connection] = held; }
    // What the connection was told last.
    std::string Last(int connection) { return sent[connection].empty() ? std::string() : sent[connection].back(); }
};

struct FakeTable : server::TableHandle {
    std::vector<std::pair<int, int>> admitted;  // connection, chosen seat
    std::vector<std::string> delivered;
    std::vector<int> watchers;
    bool started = false;
    std::string shutdownWords;
    size_t waiting = 0;  // messages it has not taken yet, as the lobby asks
    size_t Waiting(int) const override { return waiting; }
    void Admit(int connection, int seat) override { admitted.emplace_back(connection, seat); }
    void Deliver(int, std::string text) override { delivered.push_back(std::move(text)); }
    void Lost(int) override {}
    void Watch(int connection) override { watchers.push_back(connection); }
    void Unwatch(int) override {}
    void Start() override { started = true; }
    void Shutdown(std::string words) override { shutdownWords = std::move(words); }
};

struct Tables : server::TableFactory {
    std::map<int, FakeTable*> opened;
    std::map<int, server::TableRules> rules;
    std::unique_ptr<server::TableHandle> Open(int id, const server::TableRules& r) override {
        auto table = std::make_unique<FakeTable>();
        opened[id] = table.get();
        rules[id] = r;
        return table;
    }
};

struct LobbyTest : ::testing::Test {
    Links links;
    Tables tables;
    server::LobbyLimits limits;
    std::unique_ptr<Lobby> lobby;

    void SetUp() override {
        limits.maxTables = 3;
        limits.connectionsPerAddress = 2;
        limits.tablesPerConnection = 2;
        limits.connectTimeout = 30;
        lobby = std::make_unique<Lobby>(limits, links, tables);
    }
    // A program of ours, in the lobby.
    void Enter(int id, bool secure = true, const std::string& address = "127.0.0.1") {
        ASSERT_TRUE(lobby->Accept(id, address, secure));
        lobby->Data(id, "Recived;Lobby|");
        ASSERT_EQ(links.Last(id), "Lobby;" + std::to_string(net::kLobbyVersion) + "|");
    }
    void Say(int id, const std::string& text) { lobby->Data(id, text); }
    std::string Make(int id, const std::string& name, const std::string& password = "") {
        net::MakeRequest r;
        r.name = name;
        r.password = password;
        Say(id, net::Message("LobbyMake", net::MakeText(r)));
        return links.Last(id);
    }
};

TEST_F(LobbyTest, AMadeTableIsListedToFollowersAndItsMakerSitsAndStartsIt) {
    Enter(1);
    Enter(2);
    Say(2, "LobbyList;|");
    EXPECT_EQ(links.Last(2), "ListEnd;0|");
    EXPECT_EQ(Make(1, "Friday"), "LobbyOk;Made;1|");
    ASSERT_EQ(tables.opened.count(1), 1u);
    EXPECT_TRUE(tables.rules[1].startsByMaker);
    // The follower hears of the new table at once.
    const auto line = net::ParseTableLine(links.Last(2).substr(8, links.Last(2).size() - 9));
    ASSERT_TRUE(links.Last(2).rfind("TableIs;", 0) == 0) << links.Last(2);
    ASSERT_TRUE(line.has_value());
    EXPECT_EQ(line->name, "Friday");
    EXPECT_EQ(line->fills[3], net::SeatFill::Computer);

    // The maker chooses seat 2, and its "Connect" goes to that table with it.
    Say(1, net::Message("LobbySit", net::SitText({1, 2, ""})));
    EXPECT_EQ(links.Last(1), "LobbyOk;Sit;1;2|");
    // Nobody else is promised the same seat meanwhile.
    Say(2, net::Message("LobbySit", net::SitText({1, 2, ""})));
    EXPECT_EQ(links.Last(2), "LobbyNo;That seat is taken.|");
    Say(1, "Connect;Ann;Against|");
    ASSERT_EQ(tables.opened[1]->admitted.size(), 1u);
    EXPECT_EQ(tables.opened[1]->admitted[0], std::make_pair(1, 2));
    EXPECT_EQ(tables.opened[1]->delivered.back(), "Connect;Ann;Against|");
    EXPECT_EQ(lobby->TableOf(1), 1);
    // Only the maker starts it.
    Say(2, "LobbyStart;1|");
    EXPECT_EQ(links.Last(2), "LobbyNo;Only the table's maker may start it.|");
    EXPECT_FALSE(tables.opened[1]->started);
    Say(1, "LobbyStart;1|");
    EXPECT_TRUE(tables.opened[1]->started);
    EXPECT_EQ(links.Last(1), "LobbyOk;Start;1|");
}

// A program that knows the four levels makes a Master's and a Beginner's table
// and sees them as such; an older program of ours hears them as the nearer of
// the two levels it knows, in lines it can read.
TEST_F(LobbyTest, TheFourLevelsTravelOnlyToProgramsThatKnowThem) {
    Enter(1);
    Enter(2);
    Say(1, "LobbyLevels;1|");
    EXPECT_EQ(links.Last(1), "LobbyOk;Levels;1|");
    Say(1, "LobbyList;|");
    Say(2, "LobbyList;|");
    for (const auto& [name, level] : {std::pair{"Hard", ai::Level::Master}, std::pair{"Easy", ai::Level::Beginner}}) {
        net::MakeRequest r;
        r.name = name;
        r.level = level;
        Say(1, net::Message("LobbyMake", net::MakeText(r, false, true)));
    }
    EXPECT_EQ(tables.rules[1].level, ai::Level::Master);
    EXPECT_EQ(tables.rules[2].level, ai::Level::Beginner);
    links.now += 1;
    lobby->Housekeep();
    auto levelsSeen = [&](int id) {
        std::map<std::string, std::string> seen;  // table name: the line's level letter
        for (const std::string& text : links.sent[id])
            if (text.rfind("TableIs;", 0) == 0) {
                const std::string detail = text.substr(8, text.size() - 9);
                const auto f = net::Fields(detail, ';');
                if (f.size() > 6) seen[std::string(f[1])] = std::string(f[6]);
                EXPECT_TRUE(net::ParseTableLine(detail).has_value()) << text;
            }
        return seen;
    };
    EXPECT_EQ(levelsSeen(1), (std::map<std::string, std::string>{{"Hard", "M"}, {"Easy", "B"}}));
    EXPECT_EQ(levelsSeen(2), (std::map<std::string, std::string>{{"Hard", "E"}, {"Easy", "S"}}));
    // A table made by an older program asks for one of the two levels it knows.
    net::MakeRequest old;
    old.name = "Old";
    old.level = ai::Level::Master;
    EXPECT_NE(net::MakeText(old).find(";expert;"), std::string::npos);
    EXPECT_FALSE(net::ParseMake("T;;grandmaster;60;1").has_value());
}

// Many tables filling at once: each follower hears every table's latest line
// in batches, not every step of every table.
TEST_F(LobbyTest, FollowersHearABusyLobbyInBatchesOfEachTablesLatestLine) {
    Enter(1);
    Enter(2);
    Say(2, "LobbyList;|");
    links.sent[2].clear();
    ASSERT_EQ(Make(1, "One"), "LobbyOk;Made;1|");
    ASSERT_EQ(links.sent[2].size(), 1u) << "the first news goes at once";
    // A maker who follows sees its own table listed before it is told it was made.
    Say(1, "LobbyList;|");
    ASSERT_EQ(Make(1, "Two"), "LobbyOk;Made;2|");
    ASSERT_GE(links.sent[1].size(), 2u);
    EXPECT_EQ(links.sent[1][links.sent[1].size() - 2].rfind("TableIs;2;Two;", 0), 0u) << links.sent[1][links.sent[1].size() - 2];
    std::array<std::string, 5> names{"", "Ann", "", "", ""};
    std::array<net::SeatFill, 5> fills{net::SeatFill::Free, net::SeatFill::Person, net::SeatFill::Free,
                                       net::SeatFill::Computer, net::SeatFill::Free};
    lobby->TableChanged(1, names, fills, false);
    names[2] = "Bob";
    fills[2] = net::SeatFill::Person;
    lobby->TableChanged(1, names, fills, true);
    lobby->TableEnded(2);
    // Held back, and the server asked to come back when the batch is due.
    EXPECT_EQ(links.sent[2].size(), 1u);
    ASSERT_FALSE(links.wakeUps.empty());
    const double due = links.wakeUps.front();
    EXPECT_GT(due, links.now);
    EXPECT_LE(lobby->Housekeep(), due);
    EXPECT_EQ(links.sent[2].size(), 1u);

    links.now = due;
    lobby->Housekeep();
    ASSERT_EQ(links.sent[2].size(), 3u) << "table 1's last line and table 2's end, nothing between";
    const auto line = net::ParseTableLine(links.sent[2][1].substr(8, links.sent[2][1].size() - 9));
    ASSERT_TRUE(line.has_value()) << links.sent[2][1];
    EXPECT_EQ(line->names[2], "Bob");
    EXPECT_TRUE(line->playing);
    EXPECT_EQ(links.sent[2][2], "TableGone;2|");

    // Quiet again: the next news goes at once.
    links.now += 10;
    lobby->TableEnded(1);
    EXPECT_EQ(links.Last(2), "TableGone;1|");
}

// A follower that reads slowly is told what it has room for, and the rest
// (each table's latest line) once it has read: never dropped, never told stale news.
TEST_F(LobbyTest, ASlowFollowerIsToldTheListInPartsAsItReads) {
    limits.maxTables = 10;
    limits.tablesPerConnection = 10;
    lobby = std::make_unique<Lobby>(limits, links, tables);
    Enter(1);
    Enter(2);
    for (const char* name : {"One", "Two", "Three", "Four"}) Make(1, name);
    links.room[2] = 50;  // room for one line
    links.sent[2].clear();
    Say(2, "LobbyList;|");
    ASSERT_EQ(links.sent[2].size(), 1u);
    EXPECT_EQ(links.sent[2][0].rfind("TableIs;1;One;", 0), 0u) << links.sent[2][0];

    // Meanwhile table 2 ends and table 3 changes.
    lobby->TableEnded(2);
    std::array<std::string, 5> names{"", "", "Bob", "Zarv", ""};
    std::array<net::SeatFill, 5> fills{net::SeatFill::Free, net::SeatFill::Free, net::SeatFill::Person,
                                       net::SeatFill::Computer, net::SeatFill::Free};
    lobby->TableChanged(3, names, fills, false);
    links.room[2] = 1 << 20;  // it has read
    links.now += 1;
    lobby->Housekeep();
    std::vector<std::string> heard(links.sent[2].begin() + 1, links.sent[2].end());
    ASSERT_EQ(heard.size(), 4u) << ::testing::PrintToString(heard);
    EXPECT_EQ(heard[0], "TableGone;2|");
    EXPECT_NE(heard[1].find(";Bob;"), std::string::npos) << "table 3 as it is now: " << heard[1];
    EXPECT_EQ(heard[2].rfind("TableIs;4;Four;", 0), 0u) << heard[2];
    EXPECT_EQ(heard[3], "ListEnd;4|") << "the list ends after all of it";
    EXPECT_FALSE(links.closed[2]);
}

TEST_F(LobbyTest, AProgramThatReadsCodesHearsRefusalsWithTheirCodesAndOthersTheWords) {
    Enter(1);
    Enter(2, true, "127.0.0.2");
    Say(1, "LobbyNotices;1|");
    EXPECT_EQ(links.Last(1), "LobbyOk;Notices;1|");
    Say(1, "LobbyStart;9|");
    Say(2, "LobbyStart;9|");
    EXPECT_EQ(links.Last(1), "LobbyNo;19;There is no such table.|");
    EXPECT_EQ(links.Last(2), "LobbyNo;There is no such table.|");
    Say(1, "LobbyWhatever;|");
    EXPECT_EQ(links.Last(1), "LobbyNo;28;The lobby does not know \"LobbyWhatever\".|");
    // The server closing: ours in the lobby hear why, with the code where it is read.
    lobby->Shutdown("The server is closing");
    EXPECT_EQ(links.Last(1), "Closing;11;The server is closing|");
    EXPECT_EQ(links.Last(2), "Closing;The server is closing|");
}

TEST_F(LobbyTest, PasswordsNeedAnEncryptedConnectionAndTheRightWord) {
    Enter(1, /*secure=*/false);
    EXPECT_EQ(Make(1, "Secret", "pw"), net::Message("LobbyNo", net::NoticeWords(net::Notice::PasswordsNeedTls)));
    EXPECT_TRUE(tables.opened.empty());
    Enter(2);
    EXPECT_EQ(Make(2, "Secret", "pw"), "LobbyOk;Made;1|");
    // A plain connection may not even try; a secure one must know the word.
    Say(1, std::string("LobbyWatch;1;|"));
    EXPECT_EQ(links.Last(1), net::Message("LobbyNo", net::NoticeWords(net::Notice::PasswordsNeedTls)));
    Enter(3, true, "127.0.0.2");
    Say(3, net::Message("LobbySit", net::SitText({1, 1, "wrong"})));
    EXPECT_EQ(links.Last(3), "LobbyNo;Wrong password.|");
    Say(3, std::string("LobbyWatch;1;pw|"));
    EXPECT_EQ(links.Last(3), "LobbyOk;Watch;1|");
    EXPECT_EQ(tables.opened[1]->watchers, std::vector<int>{3});
    // The log says whether a table has a password, never the password.
    for (const std::string& line : links.log) EXPECT_EQ(line.find("pw"), std::string::npos) << line;
}

TEST_F(LobbyTest, LimitsOnConnectionsAndTablesAreKept) {
    Enter(1);
    Enter(2);
    EXPECT_FALSE(lobby->Accept(3, "127.0.0.1", true)) << "a third connection from one address";
    EXPECT_TRUE(lobby->Accept(4, "127.0.0.9", true));
    // Two tables a connection, three on the server, one name once.
    EXPECT_EQ(Make(1, "One"), "LobbyOk;Made;1|");
    EXPECT_EQ(Make(1, "one"), "LobbyNo;There is a table of that name already.|");
    EXPECT_EQ(Make(1, "Two"), "LobbyOk;Made;2|");
    EXPECT_EQ(Make(1, "Three"), "LobbyNo;You have made as many tables as one connection may.|");
    EXPECT_EQ(Make(2, "Three"), "LobbyOk;Made;3|");
    EXPECT_EQ(Make(2, "Four"), "LobbyNo;The server has no room for another table now.|");
    EXPECT_EQ(lobby->tableCount(), 3u);
    // A connection that leaves frees its place for its address.
    lobby->Closed(2);
    EXPECT_TRUE(lobby->Accept(5, "127.0.0.1", true));
}

TEST_F(LobbyTest, AConnectionThatSaysNothingInTimeIsClosed) {
    ASSERT_TRUE(lobby->Accept(1, "127.0.0.1", false));
    Enter(2);
    links.now += limits.connectTimeout - 1;
    lobby->Housekeep();
    EXPECT_FALSE(links.closed[1]);
    links.now += 2;
    lobby->Housekeep();
    EXPECT_TRUE(links.closed[1]);
}

TEST_F(LobbyTest, AProgramOfTheOriginalProtocolIsSeatedAtAWaitingPublicTable) {
    // It never hears a lobby text: it asks for a seat as of a Dealer.
    ASSERT_TRUE(lobby->Accept(1, "127.0.0.1", false));
    Say(1, "Connect;Cy;Partner|");
    ASSERT_EQ(tables.opened.size(), 1u);
    EXPECT_FALSE(tables.rules[1].startsByMaker);
    EXPECT_EQ(tables.opened[1]->delivered.back(), "Connect;Cy;Partner|");
    EXPECT_TRUE(links.sent[1].empty());
    // The same name in another case is refused in the protocol's own words.
    ASSERT_TRUE(lobby->Accept(2, "127.0.0.3", false));
    Say(2, "Connect;cY;Against|");
    EXPECT_EQ(links.Last(2).rfind("Join;3;", 0), 0u) << links.Last(2);
    EXPECT_TRUE(links.closed[2]);
    // Another name joins the same waiting table.
    ASSERT_TRUE(lobby->Accept(3, "127.0.0.3", false));
    Say(3, "Connect;Dan;Against|");
    EXPECT_EQ(tables.opened.size(), 1u);
    EXPECT_EQ(lobby->TableOf(3), 1);
}

TEST_F(LobbyTest, ABurstOfOriginalProgramsIsSpreadOverTablesBeforeAnyReportsItsSeats) {
    // Nine arrive before any table has said who sat where: three to a table,
    // each at the seat its Dealer would give, nobody sent to a full table.
    const char* sides[] = {"Partner", "Against", "Partner", "Against", "Against", "Against", "Partner", "Partner", "Against"};
    for (int id = 1; id <= 9; ++id) {
        ASSERT_TRUE(lobby->Accept(id, "10.0.0." + std::to_string(id), false));
        Say(id, "Connect;P" + std::to_string(id) + ";" + sides[id - 1] + "|");
        EXPECT_TRUE(links.sent[id].empty()) << links.Last(id);
        if (id == 3) {
            // The first table reports its first player alone: the others are still on their way.
            std::array<std::string, 5> names{"", "P1", "", "Zarv", ""};
            std::array<net::SeatFill, 5> fills;
            fills.fill(net::SeatFill::Free);
            fills[1] = net::SeatFill::Person;
            fills[3] = net::SeatFill::Computer;
            lobby->TableChanged(1, names, fills, false);
        }
    }
    ASSERT_EQ(tables.opened.size(), 3u);
    for (const auto& [id, table] : tables.opened) {
        std::set<int> seats;
        for (const auto& [connection, seat] : table->admitted) seats.insert(seat);
        EXPECT_EQ(seats, (std::set<int>{1, 2, 4})) << "table " << id;
    }
    // The first asked for the HAKEM's partner and sits there.
    EXPECT_EQ(tables.opened[1]->admitted.front(), std::make_pair(1, 1));
    // A tenth finds every table full: refused in the protocol's words, and the log says why.
    ASSERT_TRUE(lobby->Accept(10, "10.0.0.10", false));
    Say(10, "Connect;P10;Partner|");
    EXPECT_EQ(links.Last(10), net::Message("Join", std::string("3;") + net::kRefusal));
    EXPECT_NE(links.log.back().find("refused connection 10: every table is full"), std::string::npos) << links.log.back();
    // One who leaves before its table seated it frees the place for the next.
    lobby->Closed(2);
    ASSERT_TRUE(lobby->Accept(11, "10.0.0.11", false));
    Say(11, "Connect;P11;Against|");
    EXPECT_EQ(lobby->TableOf(11), 1) << links.Last(11);
    EXPECT_EQ(tables.opened[1]->admitted.back(), std::make_pair(11, 2));
}

// --- What one connection at a table may send ---

struct SenderTest : LobbyTest {
    // A program of the original protocol at table 1.
    FakeTable* SitOriginal(int id) {
        EXPECT_TRUE(lobby->Accept(id, "10.1.0." + std::to_string(id), false));
        Say(id, "Connect;Cy" + std::to_string(id) + ";Partner|");
        EXPECT_EQ(lobby->TableOf(id), 1);
        return tables.opened[1];
    }
    size_t Chats(const FakeTable* t) {
        return static_cast<size_t>(std::count_if(t->delivered.begin(), t->delivered.end(),
                                                  [](const std::string& m) { return m.rfind("Chat;", 0) == 0; }));
    }
};

TEST_F(SenderTest, AChatterIsAskedToSlowDownAndClosedIfItGoesOn) {
    FakeTable* t = SitOriginal(1);
    for (int line = 1; line <= 5; ++line) Say(1, "Chat;1;line " + std::to_string(line) + "|");
    EXPECT_EQ(Chats(t), 5u);
    // The sixth within ten seconds is not handed on; it hears why in the Dealer's words.
    Say(1, "Chat;1;line 6|");
    EXPECT_EQ(Chats(t), 5u);
    EXPECT_EQ(links.Last(1), net::Message("Chat", "3;" + net::NoticeWords(net::Notice::SlowDown)));
    EXPECT_EQ(net::RecognizeNotice(net::NoticeWords(net::Notice::SlowDown)).code, net::Notice::SlowDown);
    // Ten seconds on, five more may go.
    links.now += server::SenderGuard::kChatWindow;
    Say(1, "Chat;1;later|");
    EXPECT_EQ(Chats(t), 6u);
    EXPECT_FALSE(links.closed[1]);
    // One that keeps on after being told is closed, and the log says why.
    for (int line = 0; line < 20 && !links.closed[1]; ++line) Say(1, "Chat;1;more|");
    EXPECT_TRUE(links.closed[1]);
    EXPECT_NE(links.log.back().find("limit chat dropped connection 1"), std::string::npos) << links.log.back();
    EXPECT_LE(Chats(t), 10u);
}

TEST_F(SenderTest, ALongChatLineIsCutToTheWindowsLengthInWholeLetters) {
    FakeTable* t = SitOriginal(1);
    std::string persian;
    for (int i = 0; i < 250; ++i) persian += "\u0632";  // two bytes a letter
    Say(1, "Chat;1;" + persian + "|");
    ASSERT_EQ(Chats(t), 1u);
    EXPECT_EQ(t->delivered.back(), "Chat;1;" + persian.substr(0, 2 * server::kMaxChatLetters) + "|");
}

TEST_F(SenderTest, JunkIsNotHandedToTheTableAndAJunkSenderIsClosed) {
    FakeTable* t = SitOriginal(1);
    const size_t before = t->delivered.size();
    Say(1, "Recived;HandIs|IMove1;g02|");  // the protocol's: handed on
    EXPECT_EQ(t->delivered.size(), before + 2);
    for (int i = 0; i < 20; ++i) Say(1, "NoSuchCommand;" + std::to_string(i) + "|x|");
    EXPECT_EQ(t->delivered.size(), before + 2);
    EXPECT_TRUE(links.closed[1]);
    EXPECT_NE(links.log.back().find("limit junk"), std::string::npos) << links.log.back();
}

TEST_F(SenderTest, AConnectionWhoseTableIsBehindIsNotReadUntilItCatchesUp) {
    FakeTable* t = SitOriginal(1);
    const size_t before = t->delivered.size();
    t->waiting = Lobby::kMaxWaiting;
    Say(1, "Recived;HandIs|Recived;HandIs|");
    EXPECT_EQ(t->delivered.size(), before);
    EXPECT_TRUE(links.holding[1]);
    ASSERT_FALSE(links.wakeUps.empty());  // the lobby looks again soon
    // Still behind: still held.
    lobby->Housekeep();
    EXPECT_EQ(t->delivered.size(), before);
    // Caught up: what was held goes in order, and the connection is read again.
    t->waiting = 0;
    lobby->Housekeep();
    EXPECT_EQ(t->delivered.size(), before + 2);
    EXPECT_FALSE(links.holding[1]);
    // A connection that keeps sending while held (a browser cannot be stopped) is closed.
    t->waiting = Lobby::kMaxWaiting;
    std::string many;
    for (size_t i = 0; i <= Lobby::kMaxHeld; ++i) many += "Recived;HandIs|";
    Say(1, many);
    EXPECT_TRUE(links.closed[1]);
    EXPECT_NE(links.log.back().find("limit flood"), std::string::npos) << links.log.back();
}

TEST_F(SenderTest, ASenderFasterThanAnyGameIsClosed) {
    FakeTable* t = SitOriginal(1);
    // As fast as the fastest table's players, for ten seconds: fine.
    for (int tick = 0; tick < 1000; ++tick) {
        links.now += 0.01;
        std::string burst;
        for (int i = 0; i < 10; ++i) burst += "Recived;HandIs|";
        Say(1, burst);
    }
    EXPECT_FALSE(links.closed[1]);
    EXPECT_EQ(t->delivered.size(), 10'001u);
    // Twenty thousand at once are not.
    std::string flood;
    for (int i = 0; i < 20'000; ++i) flood += "Recived;HandIs|";
    Say(1, flood);
    EXPECT_TRUE(links.closed[1]);
    EXPECT_NE(links.log.back().find("limit flood"), std::string::npos) << links.log.back();
}

TEST_F(LobbyTest, AClosingTableIsNeitherListedNorCounted) {
    Enter(1);
    Make(1, "One");
    Make(1, "Two");
    Say(1, net::Message("LobbySit", net::SitText({1, 2, ""})));
    Say(1, "Connect;Ann;Against|");
    ASSERT_EQ(lobby->TableOf(1), 1);
    // The server closes; a player of ours still at a table asks for the list.
    lobby->Shutdown("The server is closing");
    links.sent[1].clear();
    Say(1, "LobbyList;|");
    ASSERT_FALSE(links.sent[1].empty());
    EXPECT_EQ(links.sent[1].back(), "ListEnd;0|");
    const auto& heard = links.sent[1];
    EXPECT_EQ(std::count_if(heard.begin(), heard.end(), [](const std::string& t) { return t.rfind("TableIs;", 0) == 0; }), 0);
}

TEST_F(LobbyTest, ShuttingDownTellsEveryTableAndRefusesNewcomers) {
    Enter(1);
    Make(1, "Friday");
    lobby->Shutdown("The server is closing");
    EXPECT_EQ(tables.opened[1]->shutdownWords, "The server is closing");
    EXPECT_FALSE(lobby->Accept(9, "127.0.0.5", false));
}

} // namespace
} // namespace zarv::testing
