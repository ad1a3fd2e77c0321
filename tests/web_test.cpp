// The table server's side of the web client, without sockets: the HTTP head
// and its limits, the browser's messages and their translation to the lobby,
// and whole games played by a browser seat from nothing but what it is told.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "net/notice.h"
#include "net/wire.h"
#include "browser_at_table.h"
#include "server/http_head.h"
#include "server/server_table.h"
#include "server/web_files.h"
#include "server/web_link.h"

namespace zarv::testing {
namespace {

using nlohmann::json;
using server::HeadState;
using server::HttpHead;
using server::ReadHead;
using server::WebLink;

HttpHead Head(const std::string& text, HeadState expected = HeadState::Complete) {
    HttpHead head;
    EXPECT_EQ(ReadHead(text, &head), expected) << text;
    return head;
}

TEST(HttpHeadTest, ReadsARequestAndItsHeadersOnceItIsWhole) {
    const std::string text = "GET /app-0123456789ab.js?x=1 HTTP/1.1\r\nHost: zarv.example.org\r\nAccept-Encoding: gzip, br\r\n"
                             "X-Twice: a\r\nx-twice: b\r\n\r\nbody";
    for (size_t cut = 0; cut < text.size() - 5; ++cut) Head(text.substr(0, cut), HeadState::Incomplete);
    const HttpHead head = Head(text);
    EXPECT_EQ(head.method, "GET");
    EXPECT_EQ(head.path, "/app-0123456789ab.js");
    EXPECT_EQ(head.Header("host"), "zarv.example.org");
    EXPECT_EQ(head.Header("x-twice"), "a, b");
    EXPECT_EQ(head.length, text.size() - 4);
}

TEST(HttpHeadTest, RefusesWhatIsTooLongOrNoRequest) {
    // Too long before its end, too long with it, and too many headers.
    Head("GET / HTTP/1.1\r\nX: " + std::string(server::kMaxHttpHead, 'a'), HeadState::TooLarge);
    Head("GET / HTTP/1.1\r\nX: " + std::string(server::kMaxHttpHead, 'a') + "\r\n\r\n", HeadState::TooLarge);
    std::string many = "GET / HTTP/1.1\r\n";
    for (int i = 0; i <= server::kMaxHttpHeaders; ++i) many += "H" + std::to_string(i) + ": v\r\n";
    Head(many + "\r\n", HeadState::TooLarge);
    for (const char* bad : {"GET /\r\n\r\n", "GET  / HTTP/1.1\r\n\r\n", "GET http://x/ HTTP/1.1\r\n\r\n",
                            "GET / HTTP/2\r\n\r\n", "G(T / HTTP/1.1\r\n\r\n", "GET / HTTP/1.1\r\nNoColon\r\n\r\n",
                            "GET / HTTP/1.1\r\nBad Name: x\r\n\r\n", "GET /\x01 HTTP/1.1\r\n\r\n"})
        Head(bad, HeadState::Malformed);
}

TEST(HttpHeadTest, NamesOnlyFilesInsideTheWebFolder) {
    EXPECT_EQ(server::WebFileOf("/"), "index.html");
    EXPECT_EQ(server::WebFileOf("/app-0123456789ab.js"), "app-0123456789ab.js");
    EXPECT_EQ(server::WebFileOf("/icons/zarv-192.png"), "icons/zarv-192.png");
    for (const char* path : {"/..", "/../etc/passwd", "/a/../../b", "/%2e%2e/x", "/.hidden", "/a//b", "/a/", "/a\\b",
                             "//etc/passwd", "/a%00b", "", "x", "/a b"})
        EXPECT_FALSE(server::WebFileOf(path)) << path;
}

TEST(HttpHeadTest, AWebSocketMustComeFromThePagesOwnOrigin) {
    auto head = [](const std::string& origin, const std::string& extra = "") {
        return Head("GET /ws HTTP/1.1\r\nHost: zarv.example.org:8443\r\nUpgrade: websocket\r\nConnection: keep-alive, Upgrade\r\n" +
                    (origin.empty() ? std::string() : "Origin: " + origin + "\r\n") + extra + "\r\n");
    };
    EXPECT_TRUE(head("https://zarv.example.org:8443").AsksForWebSocket());
    EXPECT_TRUE(server::SameOrigin(head("https://zarv.example.org:8443"), true));
    EXPECT_TRUE(server::SameOrigin(head("http://ZARV.example.org:8443"), false));
    EXPECT_FALSE(server::SameOrigin(head("https://evil.example.com"), true));
    EXPECT_FALSE(server::SameOrigin(head("https://zarv.example.org"), true));
    EXPECT_FALSE(server::SameOrigin(head("http://zarv.example.org:8443"), true));
    EXPECT_FALSE(server::SameOrigin(head(""), true));
    EXPECT_FALSE(server::SameOrigin(head("null"), false));
    // Behind a proxy that speaks TLS to the browser and plain HTTP to this port.
    EXPECT_TRUE(server::SameOrigin(head("https://zarv.example.org:8443", "X-Forwarded-Proto: https\r\n"), false));
}

TEST(WebFilesTest, KnowsWhichNamesMayBeKeptForAYear) {
    EXPECT_TRUE(server::HasContentHash("app-0123456789ab.js"));
    EXPECT_TRUE(server::HasContentHash("cards-65dfba69.png"));
    EXPECT_FALSE(server::HasContentHash("index.html"));
    EXPECT_FALSE(server::HasContentHash("app-12.js"));
    EXPECT_FALSE(server::HasContentHash("app-0123456789xy.js"));
    EXPECT_EQ(server::ContentTypeOf("manifest.webmanifest"), "application/manifest+json");
    EXPECT_EQ(server::ContentTypeOf("a.js"), "text/javascript; charset=utf-8");
}

// --- The browser's messages ---

std::vector<json> Frames(const WebLink::Out& out) {
    std::vector<json> frames;
    for (const std::string& f : out.toBrowser) frames.push_back(json::parse(f));
    return frames;
}

TEST(WebLinkTest, ABrowserOfAnotherVersionIsToldToReload) {
    for (const char* hello : {R"({"t":"hello","v":0,"name":"Eve"})", R"({"t":"hello","name":"Eve"})",
                              R"({"t":"back","v":"1","token":"0123456789abcdef0123456789abcdef"})"}) {
        WebLink link;
        const auto out = link.FromBrowser(hello);
        EXPECT_EQ(Frames(out).at(0)["t"], "reload") << hello;
        EXPECT_TRUE(out.close);
        EXPECT_TRUE(out.toLobby.empty());
    }
}

TEST(WebLinkTest, RefusesNamesAndMessagesThatAreNoneOfTheProtocol) {
    for (const std::string& name : {std::string(""), std::string("   "), std::string("a;b"), std::string("a|b"),
                                    std::string("tab\\there"), std::string(41, 'x'), std::string("\\ud800")}) {
        WebLink link;
        const auto out = link.FromBrowser(R"({"t":"hello","v":1,"name":")" + name + "\"}");
        EXPECT_TRUE(out.close) << name;
        EXPECT_TRUE(out.toLobby.empty()) << name;
    }
    WebLink link;
    EXPECT_EQ(link.FromBrowser(R"({"t":"hello","v":1,"name":"مریم"})").toLobby,
              "Recived;Lobby|LobbyNotices;1|LobbyRatings;1|LobbyLevels;1|LobbyGuest;مریم|LobbyList;|LobbyTop;|");
    for (const char* bad : {"", "[]", "{}", "null", "{\"t\":5}", "not json", "{\"t\":\"sit\",\"table\":\"1\"}",
                            "{\"t\":\"sit\",\"table\":1,\"password\":\"a;b\"}", "{\"t\":\"watch\",\"table\":-1}"}) {
        const auto out = link.FromBrowser(bad);
        EXPECT_TRUE(out.toLobby.empty()) << bad;
        EXPECT_EQ(Frames(out).at(0)["t"], "bad") << bad;
    }
    const auto tooLong = link.FromBrowser(std::string(server::kMaxWebMessage + 1, ' '));
    EXPECT_TRUE(tooLong.close);
}

TEST(WebLinkTest, TheLobbysTextsBecomeJsonAndASeatIsAskedForAtOnce) {
    WebLink link;
    link.FromBrowser(R"({"t":"hello","v":1,"name":"Eve"})");
    // In two pieces, as a socket may deliver them.
    auto out = link.FromLobby("Lobby;1|TableIs;7;Friday;W;1;1;2;E;30;Ann;H;;-;Zarv;C;");
    EXPECT_EQ(Frames(out).size(), 1u);
    // With ratings (the link asked for them): the table is unrated, Ann has
    // 1623, the other person is a guest; the top list is by rating.
    out = link.FromLobby(";-;0;1623;;;|TableIs;8;Open;W;0;1;0;S;60;Bob;H;;-;Zarv;C;;-;1;G;;;|ListEnd;2|"
                         "Top;1;Ann;4;3;0;0;1623;88|TopEnd;1|");
    const auto frames = Frames(out);
    ASSERT_EQ(frames.size(), 4u);
    EXPECT_EQ(frames[0]["table"]["name"], "Friday");
    EXPECT_EQ(frames[0]["table"]["private"], true);
    EXPECT_EQ(frames[0]["table"]["rated"], false);
    EXPECT_EQ(frames[0]["table"]["seats"][0]["fill"], "person");
    EXPECT_EQ(frames[0]["table"]["seats"][0]["rating"], 1623);
    EXPECT_EQ(frames[0]["table"]["seats"][1]["fill"], "free");
    EXPECT_FALSE(frames[0]["table"]["seats"][1].contains("rating"));
    EXPECT_EQ(frames[1]["table"]["rated"], true);
    EXPECT_EQ(frames[1]["table"]["seats"][0]["guest"], true);
    EXPECT_EQ(frames[3]["list"][0]["rating"], 1623);
    EXPECT_EQ(frames[3]["list"][0]["deviation"], 88);
    EXPECT_EQ(link.FromBrowser(R"({"t":"make","name":"Practice","rated":false})").toLobby,
              "LobbyMake;Practice;;standard;60;1;0|");
    EXPECT_EQ(link.FromBrowser(R"({"t":"sit","table":7,"seat":2,"password":"pw"})").toLobby, "LobbySit;7;2;pw|");
    out = link.FromLobby("LobbyOk;Sit;7;2|");
    EXPECT_EQ(out.toLobby, "Connect;Eve;Against|");
    EXPECT_TRUE(link.atTable());
    EXPECT_EQ(Frames(out)[0]["t"], "sitting");
    // At the table: the moves go to the table, checked there.
    EXPECT_EQ(link.FromBrowser(R"({"t":"play","card":"h14"})").toLobby, "WebPlay;h14|");
    EXPECT_EQ(link.FromBrowser(R"({"t":"trump","suit":"x"})").toLobby, "WebTrump;x|");
    EXPECT_EQ(Frames(link.FromBrowser(R"({"t":"play","card":"h15"})"))[0]["reason"], "noSuchCard");
    EXPECT_EQ(Frames(link.FromBrowser(R"({"t":"trump","suit":"hh"})"))[0]["reason"], "noSuchSuit");
    const auto refused = link.FromLobby(net::Message("LobbyNo", net::NoticeDetail(net::MakeNotice(net::Notice::WrongPassword))));
    EXPECT_EQ(Frames(refused)[0]["notice"], 21);
}

TEST(WebLinkTest, ABrowserSignsInAndThenSitsUnderTheAccountsName) {
    WebLink link;
    link.FromBrowser(R"({"t":"hello","v":1,"name":"Guest 7"})");
    link.FromLobby("Lobby;1|");
    EXPECT_EQ(link.FromBrowser(R"({"t":"signIn","name":"ann","password":"correct horse"})").toLobby,
              "LobbySignIn;ann;correct horse|");
    EXPECT_EQ(link.FromBrowser(R"({"t":"register","name":"Ann","password":"correct horse"})").toLobby,
              "LobbyRegister;Ann;correct horse|");
    EXPECT_EQ(link.FromBrowser(R"({"t":"resume","name":"Ann","token":"ab12"})").toLobby, "LobbyResume;Ann;ab12|");
    EXPECT_EQ(link.FromBrowser(R"({"t":"changePassword","old":"a1b2c3d4","new":"e5f6g7h8"})").toLobby,
              "LobbyPassword;a1b2c3d4;e5f6g7h8|");
    EXPECT_EQ(link.FromBrowser(R"({"t":"deleteAccount","password":"a1b2c3d4"})").toLobby, "LobbyDeleteAccount;a1b2c3d4|");
    // A separator cannot smuggle a field or a message in: left out, or refused.
    EXPECT_EQ(link.FromBrowser(R"({"t":"signIn","name":"Ann;x","password":"correct horse"})").toLobby,
              "LobbySignIn;;correct horse|");
    EXPECT_EQ(Frames(link.FromBrowser(R"({"t":"signIn","name":"Ann","password":"pw|LobbyList;"})"))[0]["t"], "bad");
    auto out = link.FromLobby("LobbyOk;SignedIn;Ann;" + std::string(64, 'f') + "|");
    EXPECT_EQ(Frames(out)[0]["t"], "signedIn");
    EXPECT_EQ(Frames(out)[0]["name"], "Ann");
    EXPECT_EQ(Frames(out)[0]["token"], std::string(64, 'f'));
    EXPECT_EQ(Frames(link.FromLobby("LobbyOk;Password;" + std::string(64, 'e') + "|"))[0]["token"], std::string(64, 'e'));
    link.FromBrowser(R"({"t":"sit","table":3,"seat":1})");
    EXPECT_EQ(link.FromLobby("LobbyOk;Sit;3;1|").toLobby, "Connect;Ann;Partner|");

    // Signed out, it is the guest it was.
    WebLink other;
    other.FromBrowser(R"({"t":"hello","v":1,"name":"Guest 8"})");
    other.FromLobby("Lobby;1|LobbyOk;SignedIn;Bob;" + std::string(64, 'f') + "|");
    EXPECT_EQ(Frames(other.FromLobby("LobbyOk;SignedOut|"))[0]["name"], "Guest 8");
    other.FromBrowser(R"({"t":"sit","table":3,"seat":2})");
    EXPECT_EQ(other.FromLobby("LobbyOk;Sit;3;2|").toLobby, "Connect;Guest 8;Against|");
    // Accounts are the lobby's business: at a table they are no message.
    EXPECT_EQ(Frames(other.FromBrowser(R"({"t":"signOut"})"))[0]["t"], "bad");
}

TEST(WebLinkTest, AChatLineHoldsTwoHundredLettersOfAnyScript) {
    WebLink link;
    link.FromBrowser(R"({"t":"hello","v":1,"name":"Eve"})");
    link.FromLobby("LobbyOk;Sit;7;1|");
    std::string emoji;
    for (int i = 0; i < 200; ++i) emoji += "\xF0\x9F\x98\x80";  // U+1F600, four bytes each
    EXPECT_EQ(link.FromBrowser(json{{"t", "chat"}, {"text", emoji}}.dump()).toLobby, "WebChat;" + emoji + "|");
    EXPECT_TRUE(link.FromBrowser(json{{"t", "chat"}, {"text", emoji + "a"}}.dump()).toLobby.empty());
    EXPECT_TRUE(link.FromBrowser(json{{"t", "chat"}, {"text", ""}}.dump()).toLobby.empty());
    // A "|" would end the message early: it travels as a space.
    EXPECT_EQ(link.FromBrowser(R"({"t":"chat","text":"a|b;c"})").toLobby, "WebChat;a b;c|");
    EXPECT_EQ(WebLink::FromTable("{\"a\":1}\n\n{\"b\":2}\n"), (std::vector<std::string>{"{\"a\":1}", "{\"b\":2}"}));
}

// --- A browser at a table ---

// What a seat may know: its own hand and the cards played. Every card a
// message names must be one of those, and no card ever held here is played
// by another seat.
struct SightCheck {
    int seat = 1;
    std::set<std::string> held, playedByOthers;
    int deal = 0;
    std::set<std::string> CardsIn(const json& j) const {
        std::set<std::string> cards;
        const std::string text = j.dump();
        static const std::string suits = "gphx";
        for (size_t i = 0; i + 2 < text.size(); ++i) {
            if (text[i] != '"' || suits.find(text[i + 1]) == std::string::npos) continue;
            const size_t end = text.find('"', i + 1);
            if (end != std::string::npos && CardCode::Parse(std::string_view(text).substr(i + 1, end - i - 1)))
                cards.insert(text.substr(i + 1, end - i - 1));
        }
        return cards;
    }
    void Look(const json& m) {
        std::set<std::string> visible;
        if (m["t"] == "view") {
            // A new hand: what was held in the last one is played by anyone now.
            if (m.value("deal", 0) != deal) held.clear();
            deal = m.value("deal", 0);
            for (const auto& c : m.value("hand", json::array())) {
                visible.insert(c.get<std::string>());
                held.insert(c.get<std::string>());
            }
            if (m.contains("hand")) {
                EXPECT_EQ(m["hand"].size(), m["counts"][seat - 1].get<size_t>()) << m.dump();
            }
            for (const auto& played : m.value("trick", json::array())) {
                const std::string card = played[1];
                visible.insert(card);
                if (played[0] == seat) continue;
                playedByOthers.insert(card);
                EXPECT_FALSE(held.count(card)) << "seat " << played[0] << " played " << card << " held here: " << m.dump();
            }
            if (m.contains("last")) {
                for (const auto& played : m["last"]["cards"]) visible.insert(played[1].get<std::string>());
            }
        }
        if (m["t"] == "hint") visible.insert(m["card"].get<std::string>());
        for (const std::string& card : CardsIn(m)) EXPECT_TRUE(visible.count(card)) << card << " named in " << m.dump();
    }
};

// Plays every decision it is asked for with the first card it may play,
// until the game is over; returns the last view.
json PlayToTheEnd(BrowserAtTable& t, SightCheck& sight, size_t& read, std::deque<json> backlog = {}) {
    json last;
    auto next = [&] {
        if (backlog.empty()) return t.Next(read);
        json m = backlog.front();
        backlog.pop_front();
        return m;
    };
    for (json m = next(); !m.is_null(); m = next()) {
        sight.Look(m);
        if (m["t"] != "view") continue;
        last = m;
        if (m["phase"] == "over") return m;
        if (m.value("decide", "") == "trump") t.Say("WebTrump;" + m["hand"][0].get<std::string>().substr(0, 1) + "|");
        if (m.value("decide", "") == "card") t.Say("WebPlay;" + m["legal"][0].get<std::string>() + "|");
    }
    ADD_FAILURE() << "no game over; last view " << last.dump();
    return last;
}

TEST(BrowserSeatTest, ABrowserPlaysAWholeGameSeeingOnlyItsOwnHandAndThePlayedCards) {
    server::TableRules rules;
    rules.playNow = true;
    rules.moveLimit = 0;
    BrowserAtTable t(rules);
    t.Sit();
    SightCheck sight;
    size_t read = 0;
    const json over = PlayToTheEnd(t, sight, read);
    ASSERT_EQ(over["phase"], "over");
    EXPECT_TRUE(over["points"][0] >= 7 || over["points"][1] >= 7) << over.dump();
    EXPECT_EQ(over["names"][0], "Eve");
    EXPECT_GT(over["deal"], 1);  // more than one hand was dealt
    // The token to come back with, and the news of the game.
    std::lock_guard lock(t.mutex);
    const auto has = [&](const char* needle) {
        return std::any_of(t.lines.begin(), t.lines.end(), [&](const std::string& l) { return l.find(needle) != std::string::npos; });
    };
    EXPECT_TRUE(has(R"("t":"token")"));
    EXPECT_TRUE(has(R"("kind":"hakem")"));
    EXPECT_TRUE(has(R"("kind":"handWon")"));
}

TEST(BrowserSeatTest, AMoveTheRulesRefuseStaysInTheHandWithTheReason) {
    server::TableRules rules;
    rules.playNow = true;
    rules.moveLimit = 0;
    BrowserAtTable t(rules);
    t.Sit();
    SightCheck sight;
    size_t read = 0;
    bool followTried = false, doubleTried = false;
    // What came while waiting for a refusal is looked at afterwards, in order.
    std::deque<json> later;
    auto next = [&] {
        if (later.empty()) return t.Next(read);
        json m = later.front();
        later.pop_front();
        return m;
    };
    auto refusalAfter = [&](const std::string& text) {
        t.Say(text);
        for (json m = t.Next(read); !m.is_null(); m = t.Next(read)) {
            if (m["t"] == "refused") return m;
            later.push_back(m);
        }
        return json();
    };
    for (json m = next(); !m.is_null() && !(followTried && doubleTried); m = next()) {
        sight.Look(m);
        if (m["t"] != "view" || !m.contains("hand") || m["hand"].empty()) continue;
        const std::string mine = m["hand"][0];
        if (!m.contains("decide")) continue;
        if (m["decide"] == "trump") {
            // The HAKEM names the suit of one of his cards, no other.
            for (const char suit : std::string("gphx")) {
                const bool held = std::any_of(m["hand"].begin(), m["hand"].end(), [&](const json& c) { return c.get<std::string>()[0] == suit; });
                if (held) continue;
                EXPECT_EQ(refusalAfter("WebTrump;" + std::string(1, suit) + "|")["reason"], "noSuchSuit");
            }
            t.Say("WebTrump;" + mine.substr(0, 1) + "|");
            continue;
        }
        std::set<std::string> legal(m["legal"].begin(), m["legal"].end());
        for (const auto& c : m["hand"]) {
            if (legal.count(c) || followTried) continue;
            const json refused = refusalAfter("WebPlay;" + c.get<std::string>() + "|");
            EXPECT_EQ(refused["reason"], "follow");
            EXPECT_EQ(refused["suit"].get<std::string>(), m["trick"][0][1].get<std::string>().substr(0, 1));
            followTried = true;
        }
        std::string notMine = "h14";
        for (const char* c : {"h14", "p14", "g14", "x14"})
            if (!std::count(m["hand"].begin(), m["hand"].end(), c)) notMine = c;
        EXPECT_EQ(refusalAfter("WebPlay;" + notMine + "|")["reason"], "notInHand");
        // Twice in a row (a double tap): the second is no second card.
        t.Say("WebPlay;" + m["legal"][0].get<std::string>() + "|");
        if (!doubleTried) {
            // Refused as out of turn while the first is on its way, or as no
            // longer held once it has been played: never a second card.
            const std::string reason = refusalAfter("WebPlay;" + m["legal"][0].get<std::string>() + "|")["reason"];
            EXPECT_TRUE(reason == "notYourTurn" || reason == "notInHand") << reason;
            doubleTried = true;
        }
    }
    EXPECT_TRUE(followTried && doubleTried);
    // The table goes on: the game still ends, with nothing refused that was legal.
    const json over = PlayToTheEnd(t, sight, read, later);
    EXPECT_EQ(over["phase"], "over");
}

} // namespace
} // namespace zarv::testing
