// The protocol's texts, its framing and its queue: exact to the byte.
#include <gtest/gtest.h>

#include "engine/game.h"
#include "net/framing.h"
#include "net/message_queue.h"
#include "net/watched_table.h"
#include "net/wire.h"
#include "tests/test_table.h"

namespace zarv::testing {
namespace {

using namespace zarv::net;

TEST(Framing, TwoMessagesInOneReadAndOneMessageInTwo) {
    Framer f;
    auto pieces = f.Feed("MasterPlayerIs;2|IMove3;h12|");
    ASSERT_EQ(pieces.size(), 2u);
    EXPECT_EQ(pieces[0].command, "MasterPlayerIs");
    EXPECT_EQ(pieces[0].detail, "2");
    EXPECT_EQ(pieces[1].command, "IMove3");
    EXPECT_EQ(pieces[1].detail, "h12");
    // Split anywhere, even inside the command name: completed by the next read.
    EXPECT_TRUE(f.Feed("Recived;Ha").empty());
    EXPECT_EQ(f.pending(), 10u);
    pieces = f.Feed("ndIs|Chat;2;");
    ASSERT_EQ(pieces.size(), 1u);
    EXPECT_EQ(pieces[0].detail, "HandIs");
    pieces = f.Feed("hi|");
    ASSERT_EQ(pieces.size(), 1u);
    EXPECT_EQ(pieces[0].command, "Chat");
    EXPECT_EQ(pieces[0].detail, "2;hi");
}

TEST(Framing, PiecesWithoutSemicolonAndDetailsWithSeveral) {
    Framer f;
    auto pieces = f.Feed("garbage|Start;a;Human;|Recived;|");
    ASSERT_EQ(pieces.size(), 3u);
    EXPECT_FALSE(pieces[0].wellFormed);
    EXPECT_EQ(pieces[1].detail, "a;Human;");
    EXPECT_TRUE(pieces[2].wellFormed);
    EXPECT_EQ(pieces[2].detail, "");
    // A chat text holding "|" is cut there; the rest is a piece of its own.
    pieces = f.Feed("Chat;2;one|two|");
    ASSERT_EQ(pieces.size(), 2u);
    EXPECT_EQ(pieces[0].detail, "2;one");
    EXPECT_FALSE(pieces[1].wellFormed);
}

TEST(Framing, SixtyFourKilobytesWithoutEndOverflowAndAreNotKept) {
    Framer f;
    const std::string chunk(16 * 1024, 'x');
    for (int i = 0; i < 4; ++i) EXPECT_TRUE(f.Feed(chunk).empty());
    EXPECT_FALSE(f.overflowed());
    EXPECT_TRUE(f.Feed("y").empty());
    EXPECT_TRUE(f.overflowed());
    EXPECT_EQ(f.pending(), 0u);
    EXPECT_TRUE(f.Feed("Recived;HandIs|").empty());  // nothing more from it
}

TEST(Framing, ATlsGreetingIsRecognisedOnlyAtTheStart) {
    Framer tls;
    // A TLS ClientHello: a handshake record of version 3.1.
    EXPECT_TRUE(tls.Feed(std::string("\x16\x03\x01\x02\x00\x01", 6)).empty());
    EXPECT_TRUE(tls.tlsGreeting());
    EXPECT_TRUE(tls.overflowed());
    EXPECT_TRUE(tls.Feed("Recived;HandIs|").empty());
    // The same byte later in a stream is only a byte of a message.
    Framer plain;
    EXPECT_TRUE(plain.Feed("").empty());
    const auto pieces = plain.Feed(std::string("Chat;2;\x16|", 9));
    ASSERT_EQ(pieces.size(), 1u);
    EXPECT_FALSE(plain.tlsGreeting());
}

TEST(Queue, SourceCommandAndDetailOrAny) {
    MessageQueue q;
    q.Add({2, "Recived", "HandIs"});
    q.Add({1, "Recived", "IMove3"});
    q.Add({1, "Recived", "HandIs"});
    QueuedMessage m;
    // Another connection's acknowledgement never ends this wait.
    EXPECT_FALSE(q.Take(3, "Recived", "HandIs", m));
    EXPECT_TRUE(q.Take(1, "Recived", "HandIs", m));
    EXPECT_EQ(m.Source, 1);
    EXPECT_EQ(q.size(), 2u);
    // An empty detail takes the first of that name from that connection.
    EXPECT_TRUE(q.Take(1, "Recived", "", m));
    EXPECT_EQ(m.Detail, "IMove3");
    EXPECT_TRUE(q.Take(2, "Recived", "", m));
    EXPECT_EQ(q.size(), 0u);
}

TEST(Queue, AConnectionMayNotFloodIt) {
    MessageQueue q;
    for (size_t i = 0; i < MessageQueue::kMaxPerConnection; ++i) ASSERT_TRUE(q.Add({1, "IMove2", "h2"}));
    EXPECT_FALSE(q.Add({1, "IMove2", "h2"}));
    EXPECT_TRUE(q.Add({2, "IMove4", "h3"}));  // the others still get their place
    q.DropFrom(1);
    EXPECT_EQ(q.size(), 1u);
}

TEST(Wire, HandIsPadsEachCodeToThreeCharacters) {
    GameState s;
    LoadPack(s, ParsePack("x9 h12 g2 g3 g4 g5 g6 g7 g8 g9 g10 g11 g12 g13 g14 p2 p3 p4 p5 p6 p7 p8 p9 p10 p11 p12 p13 p14 "
                          "h2 h3 h4 h5 h6 h7 h8 h9 h10 h11 h13 h14 x2 x3 x4 x5 x6 x7 x8 x10 x11 x12 x13 x14"));
    const std::string deal = DealText(s.Deck);
    EXPECT_EQ(deal.size(), 156u);
    EXPECT_EQ(deal.substr(0, 9), " x9h12 g2");
    const auto back = DecodeDeal(deal);
    ASSERT_TRUE(back);
    EXPECT_EQ((*back)[0], C("x9"));
    EXPECT_EQ((*back)[1], C("h12"));
    EXPECT_EQ((*back)[51], C("x14"));
    // Not 52 distinct valid codes: refused.
    EXPECT_FALSE(DecodeDeal(deal.substr(0, 153)));
    std::string twice = deal;
    twice.replace(3, 3, " x9");
    EXPECT_FALSE(DecodeDeal(twice));
    std::string bad = deal;
    bad.replace(0, 3, " y9");
    EXPECT_FALSE(DecodeDeal(bad));
}

TEST(Wire, TheSevenJoinAnswers) {
    auto join = [](const char* side, std::array<bool, 5> taken) {
        const JoinReply r = AssignSeat(side, taken);
        return std::to_string(r.code) + ";" + r.text;
    };
    const std::array<bool, 5> none{false, false, false, true, false};
    auto with = [&](std::initializer_list<int> seats) {
        auto t = none;
        for (int s : seats) t[static_cast<size_t>(s)] = true;
        return t;
    };
    EXPECT_EQ(join("Partner", none), "1;You play as Partner of Dealer.");
    EXPECT_EQ(join("Partner", with({1})), "2;Partner of Dealer position is ingaged, you must play against of Dealer.");
    EXPECT_EQ(join("Partner", with({1, 2})), "4;Partner of Dealer position is ingaged, you must play against of Dealer.");
    EXPECT_EQ(join("Against", none), "2;You play against of Dealer.");
    EXPECT_EQ(join("Against", with({2})), "4;You play against of Dealer.");
    EXPECT_EQ(join("Against", with({2, 4})), "1;Against of Dealer position is ingaged, you'll play as Partner of Dealer.");
    EXPECT_EQ(join("Against", with({1, 2, 4})), "3;All Positions are ingaged, please try later.");
    EXPECT_EQ(join("Partner", with({1, 2, 4})), "3;All Positions are ingaged, please try later.");
    EXPECT_EQ(join("anything", none), "2;You play against of Dealer.");  // anything but "Partner"
}

TEST(Wire, StartAndConnectDetails) {
    std::array<SeatRecord, 5> seats{};
    const char* names[5] = {"", "Tib ", "Vrel", "Ann", "Dastrel"};
    for (int i = 1; i <= 4; ++i) {
        seats[static_cast<size_t>(i)].Name = names[i];
        seats[static_cast<size_t>(i)].Kind = i == 3 ? SeatKind::Human : SeatKind::Computer;
    }
    const std::string start = StartText(seats);
    EXPECT_EQ(start, "Tib ;Computer;Vrel;Computer;Ann;Human;Dastrel;Computer;");
    const auto back = ParseStart(start);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->names[1], "Tib ");
    EXPECT_EQ(back->kinds[3], SeatKind::Human);
    EXPECT_FALSE(ParseStart("Tib ;Computer;Vrel;Computer;Ann;Human;Dastrel;"));  // seven fields
    EXPECT_FALSE(ParseStart("a;Robot;b;Computer;c;Human;d;Computer;"));

    EXPECT_EQ(ParseConnect(";Partner")->name, "Unknown");
    EXPECT_EQ(ParseConnect("Ann;Against")->side, "Against");
    EXPECT_FALSE(ParseConnect("Ann"));
}

TEST(Wire, TextIsUtf8OrElseLatin1) {
    EXPECT_EQ(TextFromWire("Zo\xc3\xab"), "Zo\xc3\xab");      // valid UTF-8 stays
    EXPECT_EQ(TextFromWire("Zo\xeb"), "Zo\xc3\xab");          // Latin-1 e-diaeresis becomes UTF-8
    EXPECT_EQ(TextFromWire("\xf0\x9f\x83\x8f"), "\xf0\x9f\x83\x8f");  // a card emoji
    EXPECT_EQ(TextFromWire("\xc3"), "\xc3\x83");              // cut short: read as Latin-1
    EXPECT_EQ(TextFromWire("\xc0\x80"), "\xc3\x80\xc2\x80");  // overlong: not UTF-8
}

// Every message the engine sends, in the exact bytes another program of the
// same protocol reads, and what each wait of the engine looks for.
TEST(Wire, TheEnginesMessagesInWordsAndMoveNames) {
    using Kind = TableMessage::Kind;
    GameState s;
    LoadPack(s, StandardPack());
    const char* names[] = {"", "Tib", "Bea", "Ann", "Dastrel"};
    for (int seat = 1; seat <= 4; ++seat) s.Seats[seat].Name = names[seat];
    s.Seats[3].Kind = SeatKind::Human;
    s.Trump = 'p';
    EXPECT_EQ(MessageText(TableMessage::Of(Kind::Start), s), "Start;Tib;Computer;Bea;Computer;Ann;Human;Dastrel;Computer;|");
    EXPECT_EQ(MessageText(TableMessage::Of(Kind::MasterPlayer, 4), s), "MasterPlayerIs;4|");
    EXPECT_EQ(MessageText(TableMessage::Of(Kind::Deal), s), "HandIs;" + DealText(s.Deck) + "|");
    EXPECT_EQ(MessageText(TableMessage::Of(Kind::Trump), s), "MasterCardIs;p|");
    const TableMessage move = TableMessage::Move(2, C("h10"));
    EXPECT_EQ(MessageText(move, s), "IMove2;h10|");
    EXPECT_EQ(MessageText(TableMessage::ReceivedOf(move), s), "Recived;IMove2|");
    EXPECT_EQ(MessageText(TableMessage::ReceivedOf(TableMessage::Of(Kind::Deal)), s), "Recived;HandIs|");
    EXPECT_EQ(MessageText(TableMessage::ReceivedOf(TableMessage::Of(Kind::Trump)), s), "Recived;MasterCardIs|");
    EXPECT_EQ(MessageText(TableMessage::Of(Kind::SeatReplaced, 4), s),
              "Disconnected;4;Dastrel disconnected, A Computer Player Replaced by him/her.|");

    EXPECT_EQ(AwaitedTextOf(TableMessage::Move(3)).command, "IMove3");
    EXPECT_EQ(AwaitedTextOf(TableMessage::Move(3)).detail, "");
    EXPECT_EQ(AwaitedTextOf(TableMessage::Of(Kind::Trump)).command, "MasterCardIs");
    EXPECT_EQ(AwaitedTextOf(TableMessage::ReceivedOf(TableMessage::Move(3))).command, "Recived");
    EXPECT_EQ(AwaitedTextOf(TableMessage::ReceivedOf(TableMessage::Move(3))).detail, "IMove3");

    // A lost player's words say whether the Dealer's game goes on.
    EXPECT_EQ(ParseDisconnected("1;Tib disconnected, Game is over.")->outcome, LostPlayer::Outcome::GameOver);
    const std::string replaced = SeatNewsText(TableEvent::About(TableEvent::Kind::SeatReplaced, 4, "Dastrel"));
    EXPECT_EQ(replaced, "4;Dastrel disconnected, A Computer Player Replaced by him/her.");
    EXPECT_EQ(ParseDisconnected(replaced)->outcome, LostPlayer::Outcome::Replaced);
    EXPECT_EQ(ParseDisconnected(replaced)->seat, 4);
    EXPECT_FALSE(ParseDisconnected("5;Tib disconnected, Game is over."));
    // A Dealer's sentence about a seat is read back as the table's event when
    // it is the protocol's own about that seat's player; other words stay words.
    using EventKind = TableEvent::Kind;
    EXPECT_EQ(SeatNewsText(TableEvent::About(EventKind::PlayerBack, 2, "Eve")), "2;Eve is back.");
    EXPECT_EQ(SeatNewsFrom(EventKind::PlayerBack, 2, "Eve", "Eve is back."), TableEvent::About(EventKind::PlayerBack, 2, "Eve"));
    EXPECT_EQ(SeatNewsFrom(EventKind::PlayerLeftGameOver, 1, "Tib ", "Tib  disconnected, Game is over."),
              TableEvent::About(EventKind::PlayerLeftGameOver, 1, "Tib "));
    EXPECT_EQ(SeatNewsFrom(EventKind::PlayerBack, 2, "Eve", "Eva is back."), TableEvent::AsWords("Eva is back."));

    EXPECT_EQ(MoveSeat("IMove4"), 4);
    EXPECT_EQ(MoveSeat("IMove5"), 0);
    EXPECT_EQ(MoveSeat("IMove"), 0);
}

TEST(Wire, TheTableOfAReturningPlayerTravelsWhole) {
    TableSnapshot t;
    t.seat = 4;
    t.kinds = {SeatKind::Computer, SeatKind::Human, SeatKind::Computer, SeatKind::Human, SeatKind::Human};
    t.firstMaster = 2;
    t.master = 1;
    t.trump = 'x';
    t.pointsA = 6;
    t.pointsB = 3;
    t.handsPlayed = 9;
    t.resultsA[1] = 2;
    t.resultsB[9] = 3;
    GameState pack;
    LoadPack(pack, StandardPack());
    for (int i = 0; i < 52; ++i) t.deal[static_cast<size_t>(i)] = pack.Deck[i + 1].Card;
    t.played = {t.deal[0], t.deal[13], t.deal[26]};
    const std::string text = TableText(t);
    EXPECT_EQ(text.substr(0, 52), "4;HCHH;2;1;x;6;3;9;20000000000000;00000000300000; g2");
    const auto back = ParseTable(text);
    ASSERT_TRUE(back);
    EXPECT_EQ(TableText(*back), text);
    EXPECT_EQ(back->played, t.played);
    EXPECT_EQ(back->kinds[2], SeatKind::Computer);

    // Every field is checked: a table that cannot be a game in progress is refused.
    auto broken = [&](size_t field, const std::string& value) {
        std::vector<std::string> f;
        std::string rest = text;
        for (size_t at; (at = rest.find(';')) != std::string::npos; rest.erase(0, at + 1)) f.push_back(rest.substr(0, at));
        f.push_back(rest);
        f[field] = value;
        std::string joined;
        for (size_t i = 0; i < f.size(); ++i) joined += (i ? ";" : "") + f[i];
        return ParseTable(joined).has_value();
    };
    EXPECT_FALSE(broken(0, "3"));        // the Dealer's own seat
    EXPECT_FALSE(broken(1, "HHH"));
    EXPECT_FALSE(broken(1, "HHHX"));
    EXPECT_FALSE(broken(3, "5"));
    EXPECT_FALSE(broken(4, "q"));
    EXPECT_FALSE(broken(4, "-"));        // cards played without a trump
    EXPECT_FALSE(broken(5, "7"));        // a game already won
    EXPECT_FALSE(broken(5, "123"));
    EXPECT_FALSE(broken(8, "2000000000000"));
    EXPECT_FALSE(broken(8, "40000000000000"));
    EXPECT_FALSE(broken(10, std::string(156, ' ')));
    EXPECT_FALSE(broken(11, "g2,zz"));
    EXPECT_TRUE(broken(11, ""));          // a hand whose first card is still to come
    EXPECT_FALSE(ParseTable(text + ";more"));
    EXPECT_FALSE(ParseTable(""));
}

TEST(Wire, TokensAndWaitingAreStrict) {
    EXPECT_TRUE(IsToken("0123456789abcdef0123456789abcdef"));
    EXPECT_FALSE(IsToken("0123456789ABCDEF0123456789abcdef"));
    EXPECT_FALSE(IsToken("0123456789abcdef0123456789abcde"));
    EXPECT_FALSE(IsToken(""));
    EXPECT_EQ(ParseWaiting("2;45")->seat, 2);
    EXPECT_EQ(ParseWaiting("0;0")->seconds, 0);
    EXPECT_FALSE(ParseWaiting("5;10"));
    EXPECT_FALSE(ParseWaiting("2;-1"));
    EXPECT_FALSE(ParseWaiting("2;99999999999"));
    EXPECT_FALSE(ParseWaiting("2"));
    // Nothing of ours is a command of the original protocol, and the other way round.
    for (const char* c : {"Hello", "Roster", "Waiting", "Return", "Table", "Back", "Closing"}) {
        EXPECT_TRUE(IsExtension(c));
        EXPECT_FALSE(IsImmediate(c));
        EXPECT_FALSE(ClientMayWaitFor(c));
        EXPECT_FALSE(DealerMayWaitFor(c));
    }
    for (const char* c : {"Connect", "Join", "AddedPlayer", "Start", "HandIs", "MasterPlayerIs", "MasterCardIs", "IMove1",
                          "Recived", "Chat", "Disconnected"})
        EXPECT_FALSE(IsExtension(c));
}

} // namespace
} // namespace zarv::testing

// A watcher's table from the server's "Seen" texts: a watcher who comes in
// mid-hand, a trick settled and the next begun, and texts that make no sense.
TEST(Wire, AWatchedTableFollowsTheSeenTexts) {
    zarv::net::WatchedTable w;
    auto apply = [&](const std::string& text) {
        const auto seen = zarv::net::ParseSeen(text);
        return seen && w.Apply(*seen);
    };
    EXPECT_TRUE(apply("Seats;Ann;H;Bob;H;Zarv;C;Cy;H"));
    EXPECT_EQ(w.names[3], "Zarv");
    EXPECT_FALSE(w.person[3]);
    EXPECT_EQ(w.CardsHeld(1), 0) << "no hand dealt yet";
    EXPECT_TRUE(apply("Hand;3;2"));
    EXPECT_EQ(w.turn, 2) << "the HAKEM names the ZARV";
    EXPECT_TRUE(apply("Trump;h"));
    EXPECT_EQ(w.turn, 2) << "and leads";
    EXPECT_TRUE(apply("Tricks;4;2"));
    EXPECT_TRUE(apply("Card;2;h14"));
    EXPECT_EQ(w.turn, 3);
    EXPECT_EQ(w.CardsHeld(2), 13 - 6 - 1);
    EXPECT_EQ(w.CardsHeld(3), 13 - 6);
    for (const char* card : {"Card;3;h2", "Card;4;h5", "Card;1;g9"}) EXPECT_TRUE(apply(card));
    EXPECT_EQ(w.turn, 0) << "four cards down: nobody is to play until the trick is settled";
    EXPECT_TRUE(apply("Trick;2"));
    EXPECT_EQ(w.turn, 2) << "the winner leads";
    EXPECT_EQ(w.tricksB, 3);
    EXPECT_EQ(w.CardsHeld(2), 13 - 7) << "a settled trick's cards are no longer held";
    EXPECT_EQ(w.trick[1].text(), "g9") << "the settled trick stays in sight";
    EXPECT_TRUE(apply("Card;3;x10"));
    EXPECT_TRUE(w.trick[1].empty()) << "until the next one begins";
    EXPECT_TRUE(apply("Result;2;2;3"));
    EXPECT_EQ(w.pointsB, 2);
    EXPECT_EQ(w.turn, 0);
    // A hostile server cannot push the table past what a game can hold.
    EXPECT_FALSE(apply("Card;5;h2"));
    EXPECT_FALSE(apply("Card;1;z9"));
    EXPECT_FALSE(apply("Result;1;7;2"));
    EXPECT_FALSE(apply("Tricks;9;9"));
    EXPECT_FALSE(apply("Points;1000;0"));
    EXPECT_TRUE(apply("Hand;4;3"));
    for (int i = 0; i < 13; ++i) EXPECT_TRUE(apply("Trick;1"));
    EXPECT_FALSE(apply("Trick;1"));
    EXPECT_EQ(w.tricksA, 13);
    EXPECT_TRUE(apply("GameOver;7;2"));
    EXPECT_TRUE(w.gameOver);
    EXPECT_TRUE(apply("Closed;The server is closing"));
    EXPECT_EQ(w.closed, "The server is closing");
}
