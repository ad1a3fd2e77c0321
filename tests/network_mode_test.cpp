// The network mode's steps: the lives a machine leads in network play, and the
// late or doubled reports that must change nothing.
#include <gtest/gtest.h>

#include "net/network_mode.h"

namespace zarv::net {
namespace {

using K = NetworkMode::Kind;

std::string NameOf(const NetworkMode& mode) { return std::string(NetworkMode::Name(mode.kind())); }

TEST(NetworkMode, TheLivesOfADealerAClientAndAWatcher) {
    NetworkMode dealer;
    ASSERT_TRUE(dealer.Host());
    EXPECT_FALSE(dealer.gameOn()) << "the lobby is not a game yet";
    ASSERT_TRUE(dealer.StartGame());
    EXPECT_EQ(NameOf(dealer), "Dealing");
    EXPECT_TRUE(dealer.gameOn());
    ASSERT_TRUE(dealer.End(false));
    EXPECT_EQ(NameOf(dealer), "Alone");

    // A client loses its Dealer, gets the seat back, and later the game ends
    // while the engine is busy.
    NetworkMode client;
    ASSERT_TRUE(client.Join());
    ASSERT_TRUE(client.StartGame());
    EXPECT_EQ(NameOf(client), "Joined");
    ASSERT_TRUE(client.LoseDealer());
    EXPECT_TRUE(client.gameOn()) << "reconnecting is still the same game";
    ASSERT_TRUE(client.TableBack());
    ASSERT_TRUE(client.Resume());
    EXPECT_EQ(NameOf(client), "Joined");
    ASSERT_TRUE(client.EndLater());
    EXPECT_TRUE(client.gameOn());
    ASSERT_TRUE(client.End(true));
    EXPECT_EQ(NameOf(client), "Ended");
    EXPECT_FALSE(client.gameOn());
    // From the table left in sight the person may go straight to another game.
    EXPECT_TRUE(client.Join());

    NetworkMode watcher;
    ASSERT_TRUE(watcher.OpenServerLobby());
    ASSERT_TRUE(watcher.Watch());
    EXPECT_FALSE(watcher.gameOn()) << "a watcher plays no game: New Game stays its own";
    watcher.BecomeAlone();
    EXPECT_EQ(NameOf(watcher), "Alone");
}

TEST(NetworkMode, AJoinAtTheDealerWhereTheSeatWasLostTakesTheTableUp) {
    NetworkMode mode;
    ASSERT_TRUE(mode.Join());
    ASSERT_TRUE(mode.TableBack());
    EXPECT_TRUE(mode.gameOn());
    ASSERT_TRUE(mode.Resume());
    EXPECT_EQ(NameOf(mode), "Joined");
}

TEST(NetworkMode, StepsAtTheWrongMomentAreRefusedAndChangeNothing) {
    struct Case {
        const char* what;
        bool (*prepare)(NetworkMode&);
        bool (*step)(NetworkMode&);
    };
    const Case cases[] = {
        {"a Start with no lobby", [](NetworkMode&) { return true; }, [](NetworkMode& m) { return m.StartGame(); }},
        {"a Dealer does not reconnect", [](NetworkMode& m) { return m.Host() && m.StartGame(); },
         [](NetworkMode& m) { return m.LoseDealer(); }},
        {"a client in the lobby has no seat to lose", [](NetworkMode& m) { return m.Join(); },
         [](NetworkMode& m) { return m.LoseDealer(); }},
        {"a table that comes back during the game", [](NetworkMode& m) { return m.Join() && m.StartGame(); },
         [](NetworkMode& m) { return m.TableBack(); }},
        {"a second resume", [](NetworkMode& m) { return m.Join() && m.TableBack() && m.Resume(); },
         [](NetworkMode& m) { return m.Resume(); }},
        {"a second Start", [](NetworkMode& m) { return m.Host() && m.StartGame(); },
         [](NetworkMode& m) { return m.StartGame(); }},
        {"hosting during a game", [](NetworkMode& m) { return m.Join() && m.StartGame(); },
         [](NetworkMode& m) { return m.Host(); }},
        {"a seat without a server", [](NetworkMode& m) { return m.Host(); }, [](NetworkMode& m) { return m.SitDown(); }},
        {"watching a Dealer", [](NetworkMode& m) { return m.Join(); }, [](NetworkMode& m) { return m.Watch(); }},
        {"ending twice later", [](NetworkMode& m) { return m.Host() && m.StartGame() && m.EndLater(); },
         [](NetworkMode& m) { return m.EndLater(); }},
        {"ending a game that is not on", [](NetworkMode& m) { return m.OpenServerLobby() && m.Watch(); },
         [](NetworkMode& m) { return m.End(true); }},
    };
    for (const Case& c : cases) {
        NetworkMode mode;
        ASSERT_TRUE(c.prepare(mode)) << c.what;
        const K before = mode.kind();
        EXPECT_FALSE(c.step(mode)) << c.what;
        EXPECT_EQ(NetworkMode::Name(mode.kind()), NetworkMode::Name(before)) << c.what;
    }
}

} // namespace
} // namespace zarv::net
