// The message channel both sessions stand on: bytes cut into messages in
// order whatever the pieces, a handler that lets more arrive, a flood, and a
// closed connection whose last words are still read.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/headless.h"
#include "net/message_channel.h"

namespace zarv::net {
namespace {

struct ScriptedTransport : Transport {
    TransportEvents* events_ = nullptr;
    bool open[3] = {true, true, true};
    std::vector<std::string> sent;
    void SetEvents(TransportEvents* e) override { events_ = e; }
    TransportEvents* events() const override { return events_; }
    int ElementCount() const override { return 3; }
    bool IsConnected(int i) const override { return i >= 0 && i < 3 && open[i]; }
    void Send(int, std::string_view bytes) override { sent.emplace_back(bytes); }
    void Close(int i) override { open[i] = false; }
    void StopListening() override {}
    void CloseAll() override { open[0] = open[1] = open[2] = false; }
};

struct Channel {
    ScriptedTransport transport;
    VirtualPump pump;
    std::vector<std::string> handled;  // "source:command;detail"
    std::vector<int> overflowed;
    std::function<void(int, const Piece&)> during;  // runs inside the handler
    MessageChannel channel{transport, pump,
                           [this](int source, Piece piece) {
                               handled.push_back(std::to_string(source) + ":" + piece.command + ";" + piece.detail);
                               if (during) during(source, piece);
                           },
                           [this](int source) { overflowed.push_back(source); }};
};

TEST(MessageChannel, MessagesArriveWholeAndInOrderWhateverThePiecesAndNesting) {
    Channel c;
    c.channel.Feed(1, "Conn");
    c.channel.Feed(2, "Chat;2;hi|Mo");
    c.channel.Feed(1, "ect;Ann;Partner|");
    c.channel.Feed(2, "ve1;AS|");
    EXPECT_EQ(c.handled, (std::vector<std::string>{"2:Chat;2;hi", "1:Connect;Ann;Partner", "2:Move1;AS"}));

    // A handler that lets events run (and so more bytes arrive) sees them
    // after it has returned, not in the middle of its own message.
    c.handled.clear();
    c.during = [&](int, const Piece& piece) {
        if (piece.command == "First") c.channel.Feed(1, "Second;x|");
        c.handled.push_back("end of " + piece.command);
    };
    c.channel.Feed(1, "First;x|Third;x|");
    EXPECT_EQ(c.handled, (std::vector<std::string>{"1:First;x", "end of First", "1:Third;x", "end of Third",
                                                   "1:Second;x", "end of Second"}));
}

TEST(MessageChannel, AFloodWithoutAnEndIsReportedOnceAndTheConnectionForgotten) {
    Channel c;
    const std::string flood(Framer::kMaxPending + 1, 'x');
    c.channel.Feed(1, flood);
    EXPECT_EQ(c.overflowed, std::vector<int>{1});
    c.transport.Close(1);
    c.channel.Feed(1, flood);
    EXPECT_EQ(c.overflowed, std::vector<int>{1}) << "a closed connection is not reported again";
    EXPECT_TRUE(c.handled.empty());
}

TEST(MessageChannel, AClosedConnectionCountsAsOpenUntilItsLastMessagesAreRead) {
    Channel c;
    // As a session does: what arrives is kept for the game's waits.
    c.during = [&](int source, const Piece& piece) { c.channel.queue().Add({source, piece.command, piece.detail}); };
    c.channel.Feed(1, "Move2;KH|");
    c.transport.Close(1);
    EXPECT_TRUE(c.channel.IsConnected(1)) << "its last card is still to be read";
    QueuedMessage m;
    ASSERT_TRUE(c.channel.queue().Take(1, "Move2", "", m));
    EXPECT_FALSE(c.channel.IsConnected(1));

    // Drained: a wait found nothing more, whatever is left over is not waited for.
    c.channel.Feed(2, "Move4;2C|");
    c.transport.Close(2);
    c.channel.MarkDrained(2);
    EXPECT_FALSE(c.channel.IsConnected(2));

    // Forgotten: what it sent and what is still being cut from its bytes goes.
    c.channel.Feed(0, "MasterPlayerIs;2|HandIs;");
    ASSERT_EQ(c.channel.queue().CountFrom(0), 1u);
    c.channel.Forget(0);
    EXPECT_EQ(c.channel.queue().CountFrom(0), 0u);
    c.channel.Feed(0, "Start;|");
    EXPECT_EQ(c.handled.back(), "0:Start;") << "a fresh connection starts with no half message";
}

TEST(MessageChannel, WritesOnlyToOpenConnectionsAndRemembersWhen) {
    Channel c;
    c.pump.now = 50;
    c.channel.Send(1, "Waiting;0;0|");
    EXPECT_EQ(c.channel.lastSent(1), 50);
    c.transport.Close(1);
    c.pump.now = 60;
    c.channel.Send(1, "Waiting;0;0|");
    EXPECT_EQ(c.transport.sent.size(), 1u);
    EXPECT_EQ(c.channel.lastSent(1), 50);
}

} // namespace
} // namespace zarv::net
