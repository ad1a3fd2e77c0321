// The results database, on SQLite and on a real PostgreSQL server of the
// test's own: games kept whole, standings, the schema's upgrade, and a
// server killed again and again while its tables play.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <algorithm>
#include <functional>
#include <map>
#include <mutex>
#include <random>
#include <set>
#include <sstream>

#include "browser_at_table.h"
#include "server/account_store.h"
#include "server/rating_book.h"
#include "server/results_database.h"
#include "server/results_writer.h"
#include "server/standings_report.h"
#include "server_processes.h"
#include "database_backends.h"

using zarv::server::GameRecord;
using zarv::server::HandResult;
using zarv::server::ResultsDatabase;
using zarv::server::ResultsWriter;
using zarv::testing::BrowserAtTable;

namespace {

class Results : public OnBothDatabases {};

// A finished game at seats 1..4 (seat 3 the computer), its hands as given:
// {hakem, winner, points}.
GameRecord Game(std::array<std::string, 5> names, std::vector<std::array<int, 3>> hands, int64_t endedMs) {
    GameRecord g;
    g.table = 7;
    g.tableName = "Friday's table";
    g.level = zarv::ai::Level::Master;
    for (int s = 1; s <= 4; ++s) g.seats[static_cast<size_t>(s)] = {names[static_cast<size_t>(s)], s != 3, false};
    g.startedMs = endedMs - 600'000;
    g.endedMs = endedMs;
    for (const auto& [hakem, winner, points] : hands) {
        const bool a = winner % 2 == 1;
        g.hands.push_back({static_cast<int>(g.hands.size()) + 1, hakem, 'h', a ? 7 : 3, a ? 3 : 7, winner, points});
        (a ? g.pointsA : g.pointsB) += points;
    }
    g.finished = g.pointsA >= 7 || g.pointsB >= 7;
    return g;
}

bool SameGame(const GameRecord& a, const GameRecord& b) {
    auto hands = [](const GameRecord& g) {
        std::vector<std::array<int, 8>> v;
        for (const HandResult& h : g.hands)
            v.push_back({h.number, h.hakem, h.trump, h.tricksA, h.tricksB, h.winner, h.points, 0});
        return v;
    };
    for (int s = 1; s <= 4; ++s)
        if (a.seats[s].name != b.seats[s].name || a.seats[s].person != b.seats[s].person || a.seats[s].left != b.seats[s].left)
            return false;
    return a.table == b.table && a.tableName == b.tableName && a.level == b.level && a.startedMs == b.startedMs &&
           a.endedMs == b.endedMs && a.finished == b.finished && a.rated == b.rated && a.pointsA == b.pointsA && a.pointsB == b.pointsB &&
           hands(a) == hands(b);
}

TEST_P(Results, AGameIsKeptWholeOrNotAtAll) {
    ResultsDatabase db(where());
    ASSERT_TRUE(db.Open()) << db.error().toStdString();
    EXPECT_EQ(db.SchemaVersion(), ResultsDatabase::kSchemaVersion);
    GameRecord game = Game({"", "Ann", "Bob", "Zarv", "Dee"}, {{1, 1, 2}, {1, 2, 1}, {2, 3, 3}, {2, 1, 2}}, 1'800'000'000'000);
    game.hands[1].trump = '-';
    game.seats[2].left = true;  // Bob left before the end
    game.rated = false;
    const auto id = db.Record(game);
    ASSERT_TRUE(id.has_value()) << db.error().toStdString();
    // Two hands with one number: the database refuses the second, and the
    // game's other rows go with it.
    GameRecord broken = game;
    broken.hands.push_back(broken.hands.back());
    EXPECT_FALSE(db.Record(broken).has_value());
    const auto games = db.Games();
    ASSERT_EQ(games.size(), 1u);
    EXPECT_EQ(games[0].first, *id);
    EXPECT_TRUE(SameGame(games[0].second, game));
    // Opening again finds the schema made, and changes nothing.
    ResultsDatabase again(where());
    ASSERT_TRUE(again.Open()) << again.error().toStdString();
    EXPECT_EQ(again.Games().size(), 1u);
}

// The writer on its thread: every game written, in the order given, each said
// "recorded" only once it committed, and the top list read after the last.
TEST_P(Results, TheWriterRecordsEveryGameInOrder) {
    std::mutex logLock;
    std::vector<std::string> log;
    ResultsWriter writer(where(), [&](const std::string& line) {
        const std::lock_guard guard(logLock);
        log.push_back(line);
    });
    QString why;
    ASSERT_TRUE(writer.Start(&why)) << why.toStdString();
    const int64_t now = writer.NowMs();
    constexpr int kGames = 12;
    for (int k = 1; k <= kGames; ++k) {
        GameRecord g = Game({"", "Ann", "Bob", "Zarv", "Dee"}, {{1, 1, 3}, {1, 1, 3}, {2, 3, 1}}, now - 1000 * k);
        g.table = k;
        writer.Record(g);
    }
    writer.Finish(120);
    ResultsDatabase db(where());
    ASSERT_TRUE(db.Open()) << db.error().toStdString();
    const auto games = db.Games();
    ASSERT_EQ(games.size(), static_cast<size_t>(kGames));
    for (int k = 0; k < kGames; ++k) EXPECT_EQ(games[static_cast<size_t>(k)].second.table, k + 1);
    const auto recorded = std::count_if(log.begin(), log.end(), [](const std::string& l) { return l.rfind("recorded game ", 0) == 0; });
    EXPECT_EQ(recorded, kGames);
    const auto top = writer.Top();
    ASSERT_FALSE(top.empty());
    EXPECT_EQ(top[0].name, "Ann");
    EXPECT_EQ(top[0].games, kGames);
}

// Plays the person's part of a table's game with the first card it may play:
// after `stopAfter` cards (0: never) `then` runs at once and play stops.
// Returns the cards played.
int PlayCards(BrowserAtTable& t, size_t& read, int stopAfter, const std::function<void()>& then) {
    int played = 0;
    for (nlohmann::json m = t.Next(read); !m.is_null(); m = t.Next(read)) {
        if (m["t"] != "view") continue;
        if (m["phase"] == "over") return played;
        if (m.value("decide", "") == "trump") t.Say("WebTrump;" + m["hand"][0].get<std::string>().substr(0, 1) + "|");
        if (m.value("decide", "") != "card") continue;
        t.Say("WebPlay;" + m["legal"][0].get<std::string>() + "|");
        if (++played == stopAfter) {
            then();
            return played;
        }
    }
    ADD_FAILURE() << "the game did not end";
    return played;
}

// The last card of a game ends it, whatever its players or the server do in
// the moment after: the game is recorded finished and counts.
TEST_P(Results, AGameIsFinishedTheMomentItsLastHandIsScored) {
    zarv::server::TableRules rules;
    rules.playNow = true;
    rules.moveLimit = 0;
    rules.seed = 11;
    int cards = 0;
    {
        BrowserAtTable t(rules);
        t.Sit("Eve");
        size_t read = 0;
        cards = PlayCards(t, read, 0, [] {});
    }
    ASSERT_GT(cards, 7);
    struct Ending {
        const char* what;
        std::function<void(BrowserAtTable&, size_t& read)> after;
    };
    const std::vector<Ending> endings = {
        {"the player leaves with the last card, the server stops later",
         [](BrowserAtTable& t, size_t&) {
             t.table->Lost(BrowserAtTable::kBrowser);
             EXPECT_TRUE(t.Logged("game over points ")) << "the table never said the game was over";
             t.table->Shutdown("The server is stopping");
         }},
        {"the server stops as soon as the last hand's points are shown",
         [](BrowserAtTable& t, size_t& read) {
             for (nlohmann::json m = t.Next(read); !m.is_null(); m = t.Next(read)) {
                 if (m["t"] == "view" && (m["points"][0] >= 7 || m["points"][1] >= 7)) break;
             }
             t.table->Shutdown("The server is stopping");
         }},
    };
    for (const Ending& ending : endings) {
        SCOPED_TRACE(ending.what);
        ResultsWriter writer(where(), [](const std::string&) {});
        QString why;
        ASSERT_TRUE(writer.Start(&why)) << why.toStdString();
        {
            BrowserAtTable t(rules, &writer);
            t.Sit("Eve");
            size_t read = 0;
            PlayCards(t, read, cards, [&] { ending.after(t, read); });
            t.table.reset();  // the table's thread has ended
        }
        writer.Finish(120);
    }
    ResultsDatabase db(where());
    ASSERT_TRUE(db.Open()) << db.error().toStdString();
    const auto games = db.Games();
    ASSERT_EQ(games.size(), endings.size());
    for (const auto& [id, game] : games) {
        EXPECT_TRUE(game.finished) << "game " << id << " points " << game.pointsA << "-" << game.pointsB;
        EXPECT_TRUE(game.pointsA >= 7 || game.pointsB >= 7);
        EXPECT_EQ(game.seats[1].name, "Eve");
        EXPECT_FALSE(game.seats[1].left) << "she played her last card before she went";
    }
    const auto standings = db.Standings(0, 10);
    ASSERT_EQ(standings.size(), 1u);
    EXPECT_EQ(standings[0].games, static_cast<int>(endings.size()));
}

// One who leaves a game in the middle loses it: the game is kept with the
// seat marked, and the ratings count it against the player.
TEST_P(Results, APlayerWhoLeavesAGameLosesIt) {
    zarv::server::TableRules rules;
    rules.playNow = true;
    rules.moveLimit = 0;
    rules.seed = 11;
    rules.idleAfter = 0.2;  // the deserted table closes at once
    ResultsWriter writer(where(), [](const std::string&) {});
    QString why;
    ASSERT_TRUE(writer.Start(&why)) << why.toStdString();
    {
        BrowserAtTable t(rules, &writer);
        t.Sit("Eve");
        size_t read = 0;
        // Two hands' worth of cards at least, then gone for good.
        PlayCards(t, read, 16, [&] { t.table->Lost(BrowserAtTable::kBrowser); });
        EXPECT_TRUE(t.Logged("closed")) << "the deserted table did not close";
        t.table.reset();
    }
    writer.Finish(120);
    ResultsDatabase db(where());
    ASSERT_TRUE(db.Open()) << db.error().toStdString();
    const auto games = db.Games();
    ASSERT_EQ(games.size(), 1u);
    const GameRecord& game = games[0].second;
    EXPECT_FALSE(game.finished);
    EXPECT_TRUE(game.seats[1].left);
    zarv::server::RatingBook book;
    book.Add(game);
    ASSERT_NE(book.Find("Eve"), nullptr);
    EXPECT_LT(book.Find("Eve")->rating.rating, zarv::server::kStartingRating);
}

TEST_P(Results, StatsShowEachPlayersRatingFromTheFinishedGames) {
    {
        ResultsDatabase db(where());
        ASSERT_TRUE(db.Open()) << db.error().toStdString();
        for (int k = 0; k < 3; ++k) ASSERT_TRUE(db.Record(Game({"", "Ann", "Bob", "Zarv", "Dee"}, {{1, 1, 3}, {1, 3, 3}, {2, 1, 1}}, 1'000'000 + k)));
        GameRecord stopped = Game({"", "Cy", "Bob", "Zarv", "Dee"}, {{2, 2, 1}}, 2'000'000);
        ASSERT_FALSE(stopped.finished);
        ASSERT_TRUE(db.Record(stopped));
    }
    std::ostringstream out, err;
    ASSERT_EQ(zarv::server::RunStats({"--db", where().toStdString(), "--ratings"}, out, err), 0) << err.str();
    std::istringstream lines(out.str());
    std::string header, first, second, third, more;
    std::getline(lines, header);
    std::getline(lines, first);
    std::getline(lines, second);
    std::getline(lines, third);
    EXPECT_EQ(header, "rank  rating  +-2dev  games  name");
    // Ann won three games against Bob and Dee, beside the computer; Cy's game never finished.
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^   1    1[6-9]\\d\\d +\\d+      3  Ann$")).match(QString::fromStdString(first)).hasMatch()) << first;
    EXPECT_TRUE(QString::fromStdString(second).endsWith("  Bob") || QString::fromStdString(second).endsWith("  Dee")) << second;
    EXPECT_FALSE(std::getline(lines, more)) << more;
    std::ostringstream top;
    ASSERT_EQ(zarv::server::RunStats({"--db", where().toStdString(), "--ratings", "--top", "1"}, top, err), 0);
    const std::string shown = top.str();
    EXPECT_EQ(std::count(shown.begin(), shown.end(), '\n'), 2) << shown;
}

// Bans and mutes made while the server runs reach its players within seconds.
TEST_P(Results, AnAdminBansAndMutesWhileTheServerRuns) {
    Server server({"--db", where(), "--auto-start", "600"});
    ASSERT_GT(server.port, 0) << server.out.toStdString();
    Peer eve(server.port), bob(server.port);
    eve.Send("Connect;Eve;Partner|");
    EXPECT_TRUE(eve.Next().startsWith("Join;1;"));
    bob.Send("Connect;Bob;Against|");
    EXPECT_TRUE(bob.NextStarting("Join;").startsWith("Join;2;"));
    // Muted: Bob's chat reaches nobody, and he is told so in the Dealer's words.
    ASSERT_EQ(Admin(where(), {"mute", "BOB", "--reason", "spam"}), 0);
    ASSERT_TRUE(server.WaitFor(QRegularExpression(QStringLiteral("sanctions: 1 in force"))));
    bob.Send("Chat;2;buy my gold|");
    EXPECT_EQ(bob.NextStarting("Chat;3;"), "Chat;3;You are muted on this server, and nobody reads your chat: spam");
    // Banned for two hours: Eve is told why and her connection closes; her seat is free again.
    ASSERT_EQ(Admin(where(), {"ban", "eve", "--for", "2h", "--reason", "rude"}), 0);
    EXPECT_EQ(eve.NextStarting("Chat;3;"), "Chat;3;You are banned from this server: rude");
    EXPECT_TRUE(eve.Closed());
    EXPECT_TRUE(server.WaitFor(QRegularExpression(QStringLiteral("banned \"Eve\": dropped connection \\d+"))));
    // Bob saw no chat of his own come back to him from anyone, and Eve's return is refused.
    EXPECT_FALSE(QString::fromUtf8(eve.received).contains("buy my gold"));
    Peer again(server.port);
    again.Send("Connect;EVE;Partner|");
    EXPECT_EQ(again.Next(), "Join;3;You are banned from this server: rude");
    // Lifted: she may sit again. Every action is listed with its reason.
    ASSERT_EQ(Admin(where(), {"unban", "Eve", "--reason", "apologised"}), 0);
    ASSERT_TRUE(server.WaitFor(QRegularExpression(QStringLiteral("sanctions: 1 in force\\n(.*\\n)*.*sanctions: 1 in force"))));
    Peer back(server.port);
    back.Send("Connect;Eve;Partner|");
    EXPECT_TRUE(back.NextStarting("Join;").startsWith("Join;1;")) << server.Out().toStdString();
    QString listed;
    ASSERT_EQ(Admin(where(), {"list"}, &listed), 0);
    EXPECT_TRUE(listed.contains("mute bob until lifted — spam")) << listed.toStdString();
    EXPECT_TRUE(QRegularExpression(QStringLiteral("ban eve until \\S+ — rude\\n(.*\\n)*.*unban eve — apologised")).match(listed).hasMatch())
        << listed.toStdString();
    // An address range: nobody from it gets in.
    ASSERT_EQ(Admin(where(), {"ban-address", "127.0.0.0/8"}), 0);
    EXPECT_TRUE(back.Closed());
    EXPECT_TRUE(server.WaitFor(QRegularExpression(QStringLiteral("banned address 127.0.0.1"))));
    EXPECT_NE(Admin(where(), {"ban", "a|b"}), 0);
    EXPECT_NE(Admin(where(), {"ban-address", "nowhere"}), 0);
}

TEST(ResultsWriter, ADatabaseThatCannotBeOpenedIsSaidAtStart) {
    // Its folder would have to be made inside a plain file.
    QTemporaryDir dir;
    QFile plain(dir.filePath("plain"));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    ResultsWriter writer(dir.filePath("plain/results.sqlite"), [](const std::string&) {});
    QString why;
    EXPECT_FALSE(writer.Start(&why));
    EXPECT_FALSE(why.isEmpty());
    writer.Finish(0);  // nothing runs: returns at once
}

TEST(ResultsWriter, AFullQueueRefusesMoreGamesAndSaysSo) {
    // Not started: nothing takes games off the queue.
    std::vector<std::string> log;
    ResultsWriter writer(QStringLiteral("unused.sqlite"), [&](const std::string& line) { log.push_back(line); });
    GameRecord g = Game({"", "Ann", "Bob", "Zarv", "Dee"}, {{1, 1, 3}}, 1'800'000'000'000);
    for (size_t k = 0; k < ResultsWriter::kMaxQueued + 3; ++k) writer.Record(g);
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[0], "results: queue full, game of table 7 not recorded");
}

TEST_P(Results, StandingsCountFinishedGamesOfPeople) {
    ResultsDatabase db(where());
    ASSERT_TRUE(db.Open()) << db.error().toStdString();
    const int64_t day = 24 * 3600 * 1000LL, now = 1'800'000'000'000;
    // Seats 1 and 3 are one side; the computer sits at 3.
    ASSERT_TRUE(db.Record(Game({"", "Ann", "Bob", "Zarv", "Dee"}, {{1, 1, 3}, {1, 1, 3}, {2, 3, 1}}, now)));
    ASSERT_TRUE(db.Record(Game({"", "Bob", "Ann", "Zarv", "Dee"}, {{2, 2, 3}, {4, 2, 2}, {1, 1, 1}, {1, 4, 2}}, now)));
    // Not counted: a game that stopped before seven, and one before the date.
    GameRecord stopped = Game({"", "Ann", "Bob", "Zarv", "Dee"}, {{1, 1, 3}}, now);
    ASSERT_FALSE(stopped.finished);
    ASSERT_TRUE(db.Record(stopped));
    ASSERT_TRUE(db.Record(Game({"", "Ann", "Bob", "Zarv", "Dee"}, {{1, 1, 3}, {1, 1, 3}, {1, 1, 3}}, now - 40 * day)));

    std::map<std::string, zarv::server::Standing> by;
    for (const auto& s : db.Standings(now - 30 * day, 10)) by[s.name] = s;
    ASSERT_EQ(by.size(), 3u) << "the computer is no player of the standings";
    // Ann won the first (7-0) at seat 1 and the second (7-1) at seat 2, as
    // HAKEM of two hands her side won in the first and one in the second.
    EXPECT_EQ(by["Ann"].games, 2);
    EXPECT_EQ(by["Ann"].wins, 2);
    EXPECT_EQ(by["Ann"].points, 14);
    EXPECT_EQ(by["Ann"].hakemWins, 3);
    EXPECT_EQ(by["Bob"].wins, 0);
    EXPECT_EQ(by["Bob"].points, 1);
    EXPECT_EQ(by["Bob"].hakemWins, 1);
    EXPECT_EQ(by["Dee"].points, 7);
    EXPECT_EQ(by["Dee"].hakemWins, 1);
    const auto top = db.Standings(now - 30 * day, 1);
    ASSERT_EQ(top.size(), 1u);
    EXPECT_EQ(top[0].name, "Ann");
    EXPECT_EQ(db.Standings(0, 10)[0].games, 3) << "without a date every finished game counts";
}

TEST_P(Results, AnOlderSchemaIsUpgradedAndANewerOneRefused) {
    {
        // What the first version of the server made, with a game in it.
        ResultsDatabase db(where());
        ASSERT_TRUE(db.Open()) << db.error().toStdString();
        ASSERT_TRUE(db.Record(Game({"", "Ann", "Bob", "Zarv", "Dee"}, {{1, 1, 3}, {1, 1, 3}, {1, 1, 3}}, 1000)));
        QSqlDatabase raw = QSqlDatabase::database(QSqlDatabase::connectionNames().value(0));
        QSqlQuery q(raw);
        ASSERT_TRUE(q.exec("DROP INDEX games_by_end"));
        ASSERT_TRUE(q.exec("DROP INDEX game_seats_by_name"));
        ASSERT_TRUE(q.exec("DROP TABLE sanctions"));
        ASSERT_TRUE(q.exec("DROP TABLE admin_actions"));
        ASSERT_TRUE(q.exec("DROP TABLE account_sessions"));
        ASSERT_TRUE(q.exec("DROP TABLE accounts"));
        ASSERT_TRUE(q.exec("ALTER TABLE games DROP COLUMN rated"));
        ASSERT_TRUE(q.exec("ALTER TABLE game_seats DROP COLUMN seat_left"));
        ASSERT_TRUE(q.exec("UPDATE zarv_schema SET version = 1"));
    }
    {
        ResultsDatabase db(where());
        ASSERT_TRUE(db.Open()) << db.error().toStdString();
        EXPECT_EQ(db.SchemaVersion(), ResultsDatabase::kSchemaVersion);
        EXPECT_EQ(db.Games().size(), 1u);
        QSqlQuery q(QSqlDatabase::database(QSqlDatabase::connectionNames().value(0)));
        // The upgrade made the indexes and the admin's tables again.
        EXPECT_TRUE(q.exec("DROP INDEX games_by_end"));
        EXPECT_TRUE(db.SanctionsAt(0).has_value());
        EXPECT_TRUE(db.Act({1, "mute", "bob", 0, "spam"})) << db.error().toStdString();
        // A game kept before counts as rated, with nobody who left.
        EXPECT_TRUE(db.Games()[0].second.rated);
        EXPECT_FALSE(db.Games()[0].second.seats[1].left);
        zarv::server::AccountStore accounts(db);
        EXPECT_EQ(accounts.Register("Ann", "correct horse", 1).outcome, zarv::server::AccountOutcome::Ok);
        ASSERT_TRUE(q.exec("UPDATE zarv_schema SET version = 99"));
    }
    ResultsDatabase db(where());
    EXPECT_FALSE(db.Open());
    EXPECT_TRUE(db.error().contains("newer than this server")) << db.error().toStdString();
}

// Every hand adds up, and so does the game.
::testing::AssertionResult Whole(const GameRecord& g) {
    if (g.hands.empty()) return ::testing::AssertionFailure() << "no hands";
    int a = 0, b = 0;
    for (size_t i = 0; i < g.hands.size(); ++i) {
        const HandResult& h = g.hands[i];
        const bool sideA = h.winner % 2 == 1;
        if (h.number != static_cast<int>(i) + 1 || (sideA ? h.tricksA : h.tricksB) != 7 ||
            (sideA ? h.tricksB : h.tricksA) >= 7 || h.points < 1 || h.points > 3 || h.hakem < 1 || h.hakem > 4)
            return ::testing::AssertionFailure() << "hand " << i + 1 << " of game at table " << g.table;
        (sideA ? a : b) += h.points;
    }
    if (a != g.pointsA || b != g.pointsB) return ::testing::AssertionFailure() << "points do not add up";
    if (g.finished != (std::max(a, b) >= 7)) return ::testing::AssertionFailure() << "finished " << g.finished;
    for (int s = 1; s <= 4; ++s)
        if (g.seats[s].name.empty()) return ::testing::AssertionFailure() << "seat " << s << " without a name";
    return ::testing::AssertionSuccess();
}

TEST_P(Results, NothingReportedRecordedIsLostWhenTheServerIsKilled) {
    std::mt19937 random(23);
    std::map<int64_t, QString> reported;  // id -> "table T points a-b hands n"
    int kills = 0;
    const QRegularExpression recorded(QStringLiteral("recorded game (\\d+) (.*)\n"));
    while (reported.size() < 200) {
        Server server({"--db", where(), "--no-pauses", "--next-game", "0"});
        ASSERT_GT(server.port, 0) << server.out.toStdString();
        Process load(QStringLiteral(ZARV_SIM), {"load", server.where(), "--tables", "6", "--games", "1000",
                                                "--think-ms", "0", "--no-pauses", "--seed", QString::number(kills + 1)});
        // Killed at a chosen line of its log and a few milliseconds on: at
        // any point of seating, playing, recording.
        const int lines = std::uniform_int_distribution<int>(2, 100)(random);
        ASSERT_TRUE(server.WaitFor(QRegularExpression(QStringLiteral("^(.*\\n){%1}").arg(lines))))
            << server.out.toStdString();
        server.p->waitForFinished(std::uniform_int_distribution<int>(0, 30)(random));
        server.p->kill();
        server.p->waitForFinished(kLimitMs);
        ++kills;
        for (const auto& m : recorded.globalMatch(server.Out())) reported[m.captured(1).toLongLong()] = m.captured(2);
    }
    // One last server ends its tables' games mid-way with SIGTERM: they are
    // kept as unfinished and count for nothing.
    {
        Server server({"--db", where(), "--no-pauses", "--next-game", "0"});
        Process load(QStringLiteral(ZARV_SIM), {"load", server.where(), "--tables", "3", "--games", "1000",
                                                "--think-ms", "0", "--no-pauses"});
        ASSERT_TRUE(server.WaitFor(QRegularExpression(QStringLiteral("recorded game \\d+ "))));
        // The lobby shows the best players, from what was recorded.
        Peer lobby(server.port);
        lobby.Send("Recived;Lobby|LobbyTop;|");
        EXPECT_EQ(lobby.Next(), "Lobby;1");
        EXPECT_TRUE(QRegularExpression(QStringLiteral("^Top;1;load-\\d+-\\d+-\\d;\\d+;\\d+;\\d+;\\d+$"))
                        .match(lobby.Next())
                        .hasMatch());
        EXPECT_TRUE(lobby.NextStarting("TopEnd;").startsWith("TopEnd;"));
        server.p->terminate();
        EXPECT_EQ(server.Finish(), 0);
        // Every table stopped with points is kept with them; one stopped
        // before its first hand was scored (0-0) has nothing to keep. (How
        // far each table got is the machine's doing, not the test's.)
        int stopped = 0;
        const QRegularExpression midGame(QStringLiteral("table (\\d+) stopped mid-game points (\\d+)-(\\d+)\n"));
        for (const auto& m : midGame.globalMatch(server.out)) {
            ++stopped;
            if (m.captured(2) == "0" && m.captured(3) == "0") continue;
            EXPECT_TRUE(server.out.contains(QStringLiteral("recorded unfinished game")) &&
                        QRegularExpression(QStringLiteral("recorded unfinished game \\d+ table %1 points %2-%3 ")
                                               .arg(m.captured(1), m.captured(2), m.captured(3)))
                            .match(server.out)
                            .hasMatch())
                << "table " << m.captured(1).toStdString() << "\n" << server.Tail();
        }
        EXPECT_GT(stopped, 0) << server.Tail();
    }
    ResultsDatabase db(where());
    ASSERT_TRUE(db.Open()) << db.error().toStdString();
    std::map<int64_t, GameRecord> kept;
    int finished = 0;
    for (auto& [id, game] : db.Games()) {
        EXPECT_TRUE(Whole(game)) << "game " << id;
        finished += game.finished;
        kept[id] = std::move(game);
    }
    for (const auto& [id, what] : reported) {
        ASSERT_TRUE(kept.count(id)) << "game " << id << " was reported recorded and is missing";
        const GameRecord& g = kept[id];
        EXPECT_TRUE(g.finished);
        EXPECT_EQ(what, QStringLiteral("table %1 points %2-%3 hands %4").arg(g.table).arg(g.pointsA).arg(g.pointsB).arg(g.hands.size()))
            << "game " << id;
    }
    // Three bots a table: the standings count three players a finished game.
    int counted = 0;
    for (const auto& s : db.Standings(0, 1'000'000)) counted += s.games;
    EXPECT_EQ(counted, 3 * finished);
    std::cout << "kill test: " << kills << " kills, " << reported.size() << " games reported recorded, " << finished
              << " finished games kept complete, " << kept.size() - finished << " unfinished\n";
}

INSTANTIATE_TEST_SUITE_P(Backends, Results, ::testing::Values("sqlite", "postgresql"), BackendName);

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
