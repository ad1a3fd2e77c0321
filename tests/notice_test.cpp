// The notices a Dealer, a table server and the network layer give: their
// words as they travel, their codes between our programs, and the words of
// other programs recognised or left as they came.
#include <gtest/gtest.h>

#include <string>

#include "net/lobby_client.h"
#include "net/notice.h"
#include "net/wire.h"

namespace zarv::net {
namespace {

TEST(Notices, EveryCodeTravelsWithItsWordsAndComesBackAsItself) {
    // A name may hold what the words are made of.
    const std::string name = "Ann; the name %s 'x' \"y\"";
    for (int code = 1; code <= kLastNotice; ++code) {
        const auto notice = MakeNotice(static_cast<Notice>(code), name);
        const std::string words = NoticeWords(notice.code, name);
        ASSERT_FALSE(words.empty()) << code;
        EXPECT_EQ(notice.words, words);
        const NoticeText sent = ParseNoticeDetail(NoticeDetail(notice));
        EXPECT_EQ(sent.code, notice.code) << words;
        EXPECT_EQ(sent.words, words);
        // The same words without their code, as a program of the original
        // protocol (or an older one of ours) sends them.
        const NoticeText recognised = RecognizeNotice(words);
        EXPECT_EQ(recognised.code, notice.code) << words;
        if (words.find(name) != std::string::npos) {
            EXPECT_EQ(sent.name, name) << words;
            EXPECT_EQ(recognised.name, name) << words;
        }
    }
    // The original protocol's words stay exactly as they were.
    EXPECT_EQ(NoticeWords(Notice::TableFull), kRefusal);
}

TEST(Notices, WordsOfOtherProgramsAndNewerCodesAreShownAsTheyCame) {
    EXPECT_EQ(RecognizeNotice("Something new").code, Notice::Unknown);
    EXPECT_EQ(RecognizeNotice("Something new").words, "Something new");
    // A code this program does not know yet: its words.
    const NoticeText newer = ParseNoticeDetail("999;Words of a later version");
    EXPECT_EQ(newer.code, Notice::Unknown);
    EXPECT_EQ(newer.words, "Words of a later version");
    // Not a code at all: the whole text is words.
    for (const std::string odd : {"12x;a;b", "-1;a;b", ";;", "12", ""})
        EXPECT_EQ(ParseNoticeDetail(odd).words, odd) << odd;
    // A code with words that are not its own: the words, not the code.
    EXPECT_EQ(ParseNoticeDetail("21;Right password.").code, Notice::Unknown);
    EXPECT_EQ(ParseNoticeDetail("21;Right password.").words, "Right password.");
    EXPECT_EQ(ParseNoticeDetail("21;Wrong password.").code, Notice::WrongPassword);
    EXPECT_EQ(ParseNoticeDetail("Wrong password.").code, Notice::WrongPassword);
    // A hostile peer's long text is not searched, whatever it ends with.
    std::string hostile;
    for (int i = 0; i < 20'000; ++i) hostile += "The name ";
    hostile += "x is already at a table of this server; choose another.";
    EXPECT_EQ(RecognizeNotice(hostile).code, Notice::Unknown);
    EXPECT_EQ(RecognizeNotice(hostile).words, hostile);
}

TEST(Notices, AnAddressThatCannotBeReadSaysWhyByItsCode) {
    const struct {
        const char* typed;
        Notice why;
        const char* name;
    } cases[] = {
        {"[::1", Notice::AddressLacksBracket, "[::1"},
        {"[::1]x", Notice::AddressNotBracketPort, "[::1]x"},
        {"[::1]:", Notice::AddressLacksPort, "[::1]:"},
        {"host:", Notice::AddressLacksPort, "host:"},
        {":1001", Notice::NoDealerName, ""},
        {"host:70000", Notice::PortNotANumber, "70000"},
        {"host:1x", Notice::PortNotANumber, "1x"},
    };
    for (const auto& c : cases) {
        NoticeText why;
        EXPECT_FALSE(ParseHostPort(c.typed, &why)) << c.typed;
        EXPECT_EQ(why.code, c.why) << c.typed;
        EXPECT_EQ(why.name, c.name) << c.typed;
        EXPECT_EQ(why.words, NoticeWords(c.why, c.name));
    }
    EXPECT_EQ(NoticeWords(Notice::PortNotANumber, "x"), "the port must be a number from 1 to 65535, not 'x'");
}

struct WrittenDown : Transport {
    std::string sent;
    void SetEvents(TransportEvents*) override {}
    TransportEvents* events() const override { return nullptr; }
    int ElementCount() const override { return 1; }
    bool IsConnected(int) const override { return true; }
    void Send(int, std::string_view bytes) override { sent += bytes; }
    void Close(int) override {}
    void StopListening() override {}
    void CloseAll() override {}
};

// A server of ours from before the four levels: codes and ratings, and a
// refusal of the levels that is nothing the person asked.
TEST(Notices, TheLobbyClientLivesWithAServerOfTwoLevels) {
    WrittenDown transport;
    LobbyClient lobby(transport);
    lobby.OnConnected();
    lobby.OnData(0, "Lobby;1|LobbyOk;Notices;1|LobbyOk;Ratings;1|LobbyNo;2;The lobby does not know \"LobbyLevels\".|");
    EXPECT_TRUE(lobby.ratingsAgreed);
    EXPECT_FALSE(lobby.levelsAgreed);
    EXPECT_TRUE(lobby.refusal.empty());
    // What it makes asks for one of the two levels that server knows.
    MakeRequest make;
    make.name = "Friday";
    make.level = ai::Level::Beginner;
    lobby.Make(make);
    EXPECT_NE(transport.sent.find("LobbyMake;Friday;;standard;60;1;1|"), std::string::npos) << transport.sent;
}

TEST(Notices, TheLobbyClientAsksForCodesAndLivesWithAServerThatHasNone) {
    // A server of ours that reads the request: codes from then on.
    {
        WrittenDown transport;
        LobbyClient lobby(transport);
        lobby.OnConnected();
        lobby.OnData(0, "Lobby;1|");
        EXPECT_EQ(transport.sent, "Recived;Lobby|LobbyNotices;1|LobbyRatings;1|LobbyLevels;1|");
        lobby.OnData(0, "Lobby;1|");
        EXPECT_EQ(transport.sent, "Recived;Lobby|LobbyNotices;1|LobbyRatings;1|LobbyLevels;1|") << "asked once a connection";
        lobby.OnData(0, "LobbyOk;Notices;1|LobbyOk;Ratings;1|LobbyOk;Levels;1|");
        EXPECT_TRUE(lobby.noticesAgreed);
        EXPECT_TRUE(lobby.ratingsAgreed);
        EXPECT_TRUE(lobby.levelsAgreed);
        EXPECT_TRUE(lobby.okWhat.empty()) << "not an answer to anything the person asked";
        lobby.OnData(0, "LobbyNo;21;Wrong password.|");
        EXPECT_EQ(lobby.refusalNotice.code, Notice::WrongPassword);
        EXPECT_EQ(lobby.refusal, "Wrong password.");
        lobby.OnData(0, "Closing;11;The server is closing|");
        EXPECT_EQ(lobby.closingNotice.code, Notice::ServerClosing);
        EXPECT_EQ(lobby.closingWords, "The server is closing");
    }
    // An older server of ours refuses the request: nothing the person asked
    // was refused, and its words are still recognised.
    {
        WrittenDown transport;
        LobbyClient lobby(transport);
        lobby.OnConnected();
        lobby.OnData(0, "Lobby;1|LobbyNo;The lobby does not know \"LobbyNotices\".|"
                        "LobbyNo;The lobby does not know \"LobbyRatings\".|LobbyNo;The lobby does not know \"LobbyLevels\".|");
        EXPECT_FALSE(lobby.noticesAgreed);
        EXPECT_FALSE(lobby.ratingsAgreed);
        EXPECT_FALSE(lobby.levelsAgreed);
        EXPECT_TRUE(lobby.refusal.empty());
        lobby.OnData(0, "LobbyNo;21;x|");
        EXPECT_EQ(lobby.refusalNotice.code, Notice::Unknown) << "no codes were agreed: all of it is words";
        EXPECT_EQ(lobby.refusal, "21;x");
        lobby.OnData(0, "LobbyNo;That seat is taken.|");
        EXPECT_EQ(lobby.refusalNotice.code, Notice::SeatTaken);
    }
    // A server with codes and without ratings: its table lines are the
    // older ones, and a table is made as before.
    {
        WrittenDown transport;
        LobbyClient lobby(transport);
        lobby.OnConnected();
        lobby.OnData(0, "Lobby;1|LobbyOk;Notices;1|LobbyNo;28;The lobby does not know \"LobbyRatings\".|");
        EXPECT_TRUE(lobby.noticesAgreed);
        EXPECT_FALSE(lobby.ratingsAgreed);
        EXPECT_TRUE(lobby.refusal.empty());
        transport.sent.clear();
        MakeRequest make;
        make.name = "Friday";
        make.rated = false;
        lobby.Make(make);
        EXPECT_EQ(transport.sent, "LobbyMake;Friday;;standard;60;1|");
    }
}

} // namespace
} // namespace zarv::net
