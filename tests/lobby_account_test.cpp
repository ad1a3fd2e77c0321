// The lobby's part in accounts, with the accounts answering as the test
// says: who may ask, what waits for the answer, and the names a connection
// may sit under. The accounts themselves are tested on real databases.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <optional>
#include <memory>
#include <string>
#include <vector>

#include "net/wire.h"
#include "server/lobby.h"
#include "server/sign_in_limits.h"

namespace zarv::testing {
namespace {

using server::AccountAnswer;
using server::AccountOutcome;
using server::AccountRequest;

struct Links : server::LobbyLinks {
    std::map<int, std::vector<std::string>> sent;
    std::map<int, bool> closed;
    std::vector<AccountRequest> asked;
    AccountOutcome taking = AccountOutcome::Ok;
    double now = 100;
    void Send(int connection, const std::string& text) override { sent[connection].push_back(text); }
    void Close(int connection) override { closed[connection] = true; }
    void Log(const std::string&) override {}
    double Now() const override { return now; }
    void HousekeepBy(double) override {}
    size_t Room(int) const override { return 1 << 20; }
    AccountOutcome AskAccounts(const AccountRequest& r) override {
        if (taking == AccountOutcome::Ok) asked.push_back(r);
        return taking;
    }
    std::string Last(int connection) { return sent[connection].empty() ? std::string() : sent[connection].back(); }
    std::vector<server::Standing> Top() const override { return {{"Dee", 9, 8, 60, 4}}; }
    std::vector<server::RatedStanding> RatedTop() const override { return {{"Ann", 12, 9, 1623, 88}}; }
    int RatingOf(const std::string& name) const override { return name == "Ann" ? 1623 : server::kStartingRating; }
};

struct Table : server::TableHandle {
    std::vector<std::string> delivered;
    size_t Waiting(int) const override { return 0; }
    void Admit(int, int) override {}
    void Deliver(int, std::string text) override { delivered.push_back(std::move(text)); }
    void Lost(int) override {}
    void Watch(int) override {}
    void Unwatch(int) override {}
    void Start() override {}
    void Shutdown(std::string) override {}
};

struct Tables : server::TableFactory {
    std::map<int, Table*> opened;
    std::unique_ptr<server::TableHandle> Open(int id, const server::TableRules&) override {
        auto t = std::make_unique<Table>();
        opened[id] = t.get();
        return t;
    }
};

struct LobbyAccounts : ::testing::Test {
    Links links;
    Tables tables;
    server::Lobby lobby{server::LobbyLimits{}, links, tables};

    void Enter(int id, bool secure = true, const std::string& address = "127.0.0.1") {
        ASSERT_TRUE(lobby.Accept(id, address, secure));
        lobby.Data(id, "Recived;Lobby|LobbyNotices;1|");
        ASSERT_EQ(links.Last(id), "LobbyOk;Notices;1|");
    }
    void Answer(const AccountRequest& r, AccountOutcome outcome, const std::string& name = {},
                const std::string& token = {}) {
        lobby.AccountAnswered({r.kind, r.connection, outcome, name, token});
    }
    // Makes a table and sits at seat 1 under the name; what the table was sent.
    std::string SitAs(int id, const std::string& name) {
        net::MakeRequest make;
        make.name = "table of " + std::to_string(id);
        lobby.Data(id, net::Message("LobbyMake", net::MakeText(make)));
        const int table = static_cast<int>(tables.opened.size());
        lobby.Data(id, net::Message("LobbySit", net::SitText({table, 1, ""})) + net::Message("Connect", name + ";Partner"));
        return tables.opened[table]->delivered.empty() ? links.Last(id) : tables.opened[table]->delivered.back();
    }
};

const std::string kToken(64, 'a');

TEST_F(LobbyAccounts, PasswordsAreAskedOnlyOnEncryptedConnectionsAndWithinTheRules) {
    Enter(1, false);
    lobby.Data(1, "LobbySignIn;Ann;secret-password|");
    EXPECT_EQ(links.Last(1), "LobbyNo;" + net::NoticeDetail(net::MakeNotice(net::Notice::PasswordsNeedTls)) + "|");
    Enter(2);
    for (const std::string& bad : std::vector<std::string>{"LobbyRegister;Ann;short|", "LobbyRegister;;long-enough-password|",
                                  "LobbySignIn;Ann|", "LobbyRegister;Ann;" + std::string(65, 'p') + "|"}) {
        lobby.Data(2, bad);
        EXPECT_EQ(links.Last(2), "LobbyNo;" + net::NoticeDetail(net::MakeNotice(net::Notice::AccountRules)) + "|") << bad;
    }
    // A token that is no token of ours is not looked up.
    lobby.Data(2, "LobbyResume;Ann;1234|");
    EXPECT_EQ(links.Last(2), "LobbyNo;" + net::NoticeDetail(net::MakeNotice(net::Notice::WrongSignIn)) + "|");
    // Signing out, changing a password or deleting needs a sign-in first.
    for (const std::string first : {"LobbySignOut;|", "LobbyPassword;old-password;new-password|", "LobbyDeleteAccount;old-password|"}) {
        lobby.Data(2, first);
        EXPECT_EQ(links.Last(2), "LobbyNo;" + net::NoticeDetail(net::MakeNotice(net::Notice::SignInFirst)) + "|") << first;
    }
    EXPECT_TRUE(links.asked.empty());
    // A full queue of the accounts: the asker hears so, and may ask again.
    links.taking = AccountOutcome::Busy;
    lobby.Data(2, "LobbySignIn;Ann;secret-password|");
    EXPECT_EQ(links.Last(2), "LobbyNo;" + net::NoticeDetail(net::MakeNotice(net::Notice::AccountsUnavailable)) + "|");
}

TEST_F(LobbyAccounts, WhatFollowsASignInWaitsForItsAnswerAndTheAccountsNameIsTheSeatsName) {
    Enter(1);
    // Sent all at once, as a program may: the sign-in, then a table and a seat.
    lobby.Data(1, "LobbySignIn;ann;secret-password|");
    ASSERT_EQ(links.asked.size(), 1u);
    EXPECT_EQ(links.asked[0].name, "ann");
    EXPECT_EQ(links.asked[0].secret, "secret-password");
    net::MakeRequest make;
    make.name = "Ann's table";
    lobby.Data(1, net::Message("LobbyMake", net::MakeText(make)) + net::Message("LobbySit", net::SitText({1, 2, ""})) +
                      net::Message("Connect", "ann;Against"));
    // A second request while the first is out is not asked.
    EXPECT_EQ(links.asked.size(), 1u);
    EXPECT_TRUE(tables.opened.empty());  // nothing made nor seated before the answer
    Answer(links.asked[0], AccountOutcome::Ok, "Ann", kToken);
    EXPECT_NE(std::find(links.sent[1].begin(), links.sent[1].end(), "LobbyOk;SignedIn;Ann;" + kToken + "|"),
              links.sent[1].end());
    // Then the rest, in order: made, sat, and seated under the account's own spelling.
    ASSERT_EQ(tables.opened.size(), 1u);
    ASSERT_FALSE(tables.opened[1]->delivered.empty());
    EXPECT_EQ(tables.opened[1]->delivered.back(), "Connect;Ann;Against|");
}

TEST_F(LobbyAccounts, ARegisteredNameIsNobodyElsesInAnyCaseOrLookAlikeSpelling) {
    lobby.SetReservedNames({server::KeysOf("Ann"), server::KeysOf("Paul")});
    int id = 1;
    for (const std::string name : {"Ann", "ANN", "\xCE\x91nn", " ann ", "PauI", "\xEF\xBC\xB0\xEF\xBD\x81ul"}) {
        Enter(id);
        SitAs(id, name);
        ASSERT_TRUE(links.closed[id]) << name;
        EXPECT_EQ(links.Last(id), "Join;3;" + net::NoticeWords(net::Notice::NameRegistered, name) + "|") << name;
        ++id;
    }
    // Other names are guests' to take.
    Enter(id);
    EXPECT_EQ(SitAs(id, "Anna"), "Connect;Anna;Partner|");
    // A program of the original protocol is a guest too.
    ASSERT_TRUE(lobby.Accept(50, "127.0.0.1", false));
    lobby.Data(50, "Connect;aNN;Partner|");
    EXPECT_TRUE(links.closed[50]);

    // Registering a name that is held is refused without asking the accounts;
    // one that is free is reserved as soon as it is registered.
    Enter(60);
    lobby.Data(60, "LobbyRegister;\xCE\x91NN;secret-password|");
    EXPECT_EQ(links.Last(60), "LobbyNo;" + net::NoticeDetail(net::MakeNotice(net::Notice::NameTaken, "\xCE\x91NN")) + "|");
    EXPECT_TRUE(links.asked.empty());
    lobby.Data(60, "LobbyRegister;Zoe;secret-password|");
    ASSERT_EQ(links.asked.size(), 1u);
    Answer(links.asked[0], AccountOutcome::Ok, "Zoe", kToken);
    Enter(61);
    SitAs(61, "zoe");
    EXPECT_TRUE(links.closed[61]);
}

TEST_F(LobbyAccounts, ABrowserUnderARegisteredNameIsToldInTheLobbyAndMaySignIn) {
    lobby.SetReservedNames({server::KeysOf("Ann")});
    ASSERT_TRUE(lobby.Accept(1, "127.0.0.1", true, true));
    lobby.Data(1, "Recived;Lobby|LobbyNotices;1|LobbyGuest;ann|");
    const std::string reserved = "LobbyNo;" + net::NoticeDetail(net::MakeNotice(net::Notice::NameRegistered, "ann")) + "|";
    EXPECT_EQ(links.Last(1), reserved);
    // Neither a table of its own nor a seat: it stays in the lobby, told why.
    lobby.Data(1, "LobbyPlayNow;S|");
    EXPECT_EQ(links.Last(1), reserved);
    EXPECT_TRUE(tables.opened.empty());
    EXPECT_FALSE(links.closed[1]);
    lobby.Data(1, "LobbySignIn;ann;secret-password|");
    Answer(links.asked.back(), AccountOutcome::Ok, "Ann", kToken);
    lobby.Data(1, "LobbyPlayNow;S|");
    EXPECT_EQ(tables.opened.size(), 1u);
    // A program of ours says no guest name: it is judged at its seat.
    Enter(2);
    lobby.Data(2, "LobbyGuest;ann|");
    EXPECT_EQ(links.Last(2), "LobbyNo;" + net::NoticeDetail(net::MakeNotice(net::Notice::UnknownLobbyCommand, "LobbyGuest")) + "|");
}

TEST_F(LobbyAccounts, TheAccountsRefusalsReachTheAskerAndSigningOutMakesAGuest) {
    Enter(1);
    lobby.Data(1, "LobbySignIn;Ann;wrong-password|");
    Answer(links.asked.back(), AccountOutcome::WrongSignIn);
    EXPECT_EQ(links.Last(1), "LobbyNo;" + net::NoticeDetail(net::MakeNotice(net::Notice::WrongSignIn)) + "|");
    lobby.Data(1, "LobbyResume;Ann;" + kToken + "|");
    Answer(links.asked.back(), AccountOutcome::Expired);
    EXPECT_EQ(links.Last(1), "LobbyNo;" + net::NoticeDetail(net::MakeNotice(net::Notice::SessionExpired)) + "|");
    lobby.Data(1, "LobbyResume;Ann;" + kToken + "|");
    Answer(links.asked.back(), AccountOutcome::Ok, "Ann", kToken);
    lobby.Data(1, "LobbySignOut;|");
    ASSERT_EQ(links.asked.back().kind, AccountRequest::Kind::SignOut);
    EXPECT_EQ(links.asked.back().secret, kToken);  // this session ends, not the others
    Answer(links.asked.back(), AccountOutcome::Ok, "Ann");
    EXPECT_EQ(links.Last(1), "LobbyOk;SignedOut|");
    EXPECT_EQ(SitAs(1, "Guest"), "Connect;Guest;Partner|");
    // An answer for a connection that has gone is dropped.
    AccountRequest gone;
    gone.connection = 99;
    Answer(gone, AccountOutcome::Ok, "Ann", kToken);
    EXPECT_TRUE(links.sent[99].empty());
}

TEST_F(LobbyAccounts, ABannedPlayerIsToldWhyAtSignIn) {
    server::Sanctions now;
    now.list.push_back({server::Sanction::Kind::Ban, "ann", 0, "cheating"});
    lobby.ApplySanctions(now, nullptr);
    Enter(1);
    lobby.Data(1, "LobbySignIn;Ann;secret-password|");
    Answer(links.asked.back(), AccountOutcome::Ok, "Ann", kToken);
    EXPECT_TRUE(links.closed[1]);
    EXPECT_EQ(links.Last(1), "LobbyNo;" + net::NoticeDetail(net::MakeNotice(net::Notice::Banned, "cheating")) + "|");
    // Nor may the banned name come back as a guest in a look-alike spelling.
    ASSERT_TRUE(lobby.Accept(2, "127.0.0.1", false));
    lobby.Data(2, "Connect;\xCE\x91NN;Partner|");
    EXPECT_TRUE(links.closed[2]);
    EXPECT_EQ(links.Last(2), "Join;3;" + net::NoticeWords(net::Notice::Banned, "cheating") + "|");
}

TEST_F(LobbyAccounts, AFloodOfMessagesBehindASignInClosesTheConnection) {
    Enter(1);
    lobby.Data(1, "LobbySignIn;Ann;secret-password|");
    std::string many;
    for (size_t i = 0; i <= server::Lobby::kMaxAfterAccounts; ++i) many += "LobbyList;|";
    lobby.Data(1, many);
    EXPECT_TRUE(links.closed[1]);
}

TEST_F(LobbyAccounts, AProgramThatShowsRatingsSeesEachPersonsRatingOrThatTheyAreAGuest) {
    lobby.SetReservedNames({server::KeysOf("Ann")});
    Enter(4);
    lobby.Data(4, "LobbyRatings;1|");
    EXPECT_EQ(links.Last(4), "LobbyOk;Ratings;1|");
    Enter(2);  // an older program of ours: the lines it knows
    lobby.Data(4, "LobbyList;|");
    lobby.Data(2, "LobbyList;|");
    Enter(1);
    // Ann (signed in) makes an unrated table; a guest sits at another.
    lobby.Data(1, "LobbySignIn;Ann;secret-password|");
    Answer(links.asked.back(), AccountOutcome::Ok, "Ann", kToken);
    net::MakeRequest make;
    make.name = "Practice";
    make.rated = false;
    lobby.Data(1, net::Message("LobbyMake", net::MakeText(make, true)) + net::Message("LobbySit", net::SitText({1, 1, ""})) +
                      net::Message("Connect", "Ann;Partner"));
    Enter(3);
    EXPECT_EQ(SitAs(3, "Bob").substr(0, 12), "Connect;Bob;");
    // The tables report their seats.
    using F = net::SeatFill;
    lobby.TableChanged(1, {"", "Ann", "", "Zarv", ""}, {F::Free, F::Person, F::Free, F::Computer, F::Free}, false);
    lobby.TableChanged(2, {"", "Bob", "", "Zarv", ""}, {F::Free, F::Person, F::Free, F::Computer, F::Free}, false);
    links.now += 1;
    lobby.Housekeep();
    auto lineOf = [&](int id, int table) -> std::optional<net::TableLine> {
        std::optional<net::TableLine> found;
        for (const std::string& text : links.sent[id])
            if (text.rfind("TableIs;", 0) == 0)
                if (auto line = net::ParseTableLine(text.substr(8, text.size() - 9)); line && line->id == table) found = line;
        return found;
    };
    const auto practice = lineOf(4, 1), open = lineOf(4, 2);
    ASSERT_TRUE(practice && open);
    EXPECT_FALSE(practice->rated);
    EXPECT_EQ(practice->marks[1], "1623");
    EXPECT_EQ(practice->marks[3], "");  // the computer has none
    EXPECT_EQ(open->marks[1], "G");
    for (const std::string& text : links.sent[2]) {
        if (text.rfind("TableIs;", 0) == 0) {
            EXPECT_EQ(std::count(text.begin(), text.end(), ';'), 16) << text;
        }
    }
    // The top lists: by rating for one, the standings it knows for the other.
    lobby.Data(4, "LobbyTop;|");
    lobby.Data(2, "LobbyTop;|");
    EXPECT_EQ(links.sent[4][links.sent[4].size() - 2], "Top;1;Ann;12;9;0;0;1623;88|");
    EXPECT_EQ(links.sent[2][links.sent[2].size() - 2], "Top;1;Dee;9;8;60;4|");
}

TEST(SignInLimits, AFewAttemptsAMinuteFromAnAddressAndForAName) {
    server::SignInLimits limits;
    double now = 1000;
    for (int i = 0; i < server::SignInLimits::kAttempts; ++i) EXPECT_TRUE(limits.Allow("10.0.0.1", "ann", now));
    EXPECT_FALSE(limits.Allow("10.0.0.1", "bob", now));   // the address has had its share
    EXPECT_FALSE(limits.Allow("10.0.0.2", "ann", now));   // and so has the name, from anywhere
    EXPECT_TRUE(limits.Allow("10.0.0.2", "bob", now));    // refused attempts did not count
    now += server::SignInLimits::kWindow - 1;
    EXPECT_FALSE(limits.Allow("10.0.0.1", "carl", now));
    now += 1.5;
    EXPECT_TRUE(limits.Allow("10.0.0.1", "carl", now));
    // Whoever has not tried within the window is forgotten.
    for (int i = 0; i < 1000; ++i) limits.Allow("10.1." + std::to_string(i), "name" + std::to_string(i), now);
    now += 2 * server::SignInLimits::kWindow;
    limits.Allow("10.0.0.9", "dora", now);
    EXPECT_EQ(limits.remembered(), 2u);
}

TEST(NameKeys, CaseFormsAndLookAlikesAreOneNameAndOtherNamesAreNot) {
    const auto same = [](const std::string& a, const std::string& b) { return server::KeysOf(a).Matches(server::KeysOf(b)); };
    EXPECT_TRUE(same("Ann", "ann"));
    EXPECT_TRUE(same("Ann", "\xCE\x91nn"));                   // a Greek capital Alpha
    EXPECT_TRUE(same("ann", "\xCE\xB1NN"));                   // a small alpha, the rest in capitals
    EXPECT_TRUE(same("Max", "\xEF\xBC\xAD\xEF\xBD\x81x"));    // full-width letters
    EXPECT_TRUE(same("Paul", "PauI"));                        // a capital i for a small L
    EXPECT_TRUE(same("Paul", "Pau1"));
    EXPECT_TRUE(same("Stra\xC3\x9F" "e", "STRASSE"));
    EXPECT_TRUE(same("Ann Lee", "  ann   lee "));
    EXPECT_TRUE(same("\xD8\xB9\xD9\x84\xDB\x8C", "\xD8\xB9\xD9\x84\xD9\x8A"));  // Farsi and Arabic yeh
    EXPECT_FALSE(same("Ann", "Anna"));
    EXPECT_FALSE(same("Ann", "Ann Lee"));
    EXPECT_FALSE(same("Paul", "Pauline"));
    EXPECT_FALSE(same("\xD8\xB9\xD9\x84\xDB\x8C", "\xD8\xB1\xD8\xB6\xD8\xA7"));
}

} // namespace
} // namespace zarv::testing
