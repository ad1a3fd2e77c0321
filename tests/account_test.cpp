// Accounts on both databases: registering, signing in, sessions and their
// end, a new password, deletion and the player's data; then a real server
// with TLS, where a registered name is nobody else's.
#include <gtest/gtest.h>

#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QThread>
#include <QVariant>
#include <nlohmann/json.hpp>

#include "database_backends.h"
#include "server/account_store.h"
#include "server/results_database.h"
#include "server_processes.h"

namespace {

using zarv::server::AccountOutcome;
using zarv::server::AccountStore;
using zarv::server::GameRecord;
using zarv::server::ResultsDatabase;

class Accounts : public OnBothDatabases {
protected:
    void SetUp() override {
        OnBothDatabases::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        db_ = std::make_unique<ResultsDatabase>(where());
        ASSERT_TRUE(db_->Open()) << db_->error().toStdString();
        store_ = std::make_unique<AccountStore>(*db_);
    }
    AccountStore& store() { return *store_; }
    ResultsDatabase& db() { return *db_; }
    // Every text the accounts' tables hold, in one string.
    std::string Stored() {
        std::string all;
        QSqlQuery q(db().handle());
        for (const char* statement : {"SELECT folded_key, looks_key, name, password_hash FROM accounts",
                                      "SELECT token_hash, folded_key FROM account_sessions"}) {
            EXPECT_TRUE(q.exec(statement));
            while (q.next())
                for (int i = 0; i < q.record().count(); ++i) all += q.value(i).toString().toStdString() + '\n';
        }
        return all;
    }

    static constexpr int64_t kDay = 24LL * 3600 * 1000;
    const int64_t start_ = 1'800'000'000'000;

private:
    std::unique_ptr<ResultsDatabase> db_;
    std::unique_ptr<AccountStore> store_;
};

TEST_P(Accounts, ANameIsRegisteredOnceAndSignedInWithItsPasswordInAnySpelling) {
    const auto ann = store().Register("Ann", "correct horse", start_);
    ASSERT_EQ(ann.outcome, AccountOutcome::Ok) << store().error().toStdString();
    EXPECT_EQ(ann.name, "Ann");
    EXPECT_EQ(ann.token.size(), 64u);
    // The same name in another case or with look-alike letters is taken.
    for (const std::string taken : {"Ann", "ANN", "\xCE\x91nn", " ann "})
        EXPECT_EQ(store().Register(taken, "another password", start_).outcome, AccountOutcome::NameTaken) << taken;
    EXPECT_EQ(store().Register("Anna", "another password", start_).outcome, AccountOutcome::Ok);

    const auto in = store().SignIn("\xCE\x91NN", "correct horse", start_ + 1);
    ASSERT_EQ(in.outcome, AccountOutcome::Ok);
    EXPECT_EQ(in.name, "Ann");  // as registered
    EXPECT_NE(in.token, ann.token);
    // A wrong password and a name without an account get the same answer.
    EXPECT_EQ(store().SignIn("Ann", "correct horsE", start_).outcome, AccountOutcome::WrongSignIn);
    EXPECT_EQ(store().SignIn("Nobody", "correct horse", start_).outcome, AccountOutcome::WrongSignIn);
    EXPECT_EQ(store().SignIn("Anna", "correct horse", start_).outcome, AccountOutcome::WrongSignIn);

    // Neither the password nor a token is kept as it is.
    const std::string stored = Stored();
    EXPECT_EQ(stored.find("correct horse"), std::string::npos);
    EXPECT_EQ(stored.find(ann.token), std::string::npos);
    EXPECT_EQ(stored.find(in.token), std::string::npos);
    EXPECT_NE(stored.find("$argon2id$"), std::string::npos);
}

TEST_P(Accounts, ASessionResumesUntilThirtyDaysUnusedOrSignedOut) {
    const auto ann = store().Register("Ann", "correct horse", start_);
    ASSERT_EQ(ann.outcome, AccountOutcome::Ok);
    const auto bob = store().Register("Bob", "battery staple", start_);
    // Each use starts the thirty days again.
    int64_t at = start_;
    for (int i = 0; i < 3; ++i) {
        at += 29 * kDay;
        const auto again = store().Resume("ann", ann.token, at);
        ASSERT_EQ(again.outcome, AccountOutcome::Ok) << i;
        EXPECT_EQ(again.name, "Ann");
        EXPECT_EQ(again.token, ann.token);
    }
    // A token is good for its own account only, and a made-up one for none.
    EXPECT_EQ(store().Resume("Bob", ann.token, at).outcome, AccountOutcome::WrongSignIn);
    EXPECT_EQ(store().Resume("Ann", std::string(64, '0'), at).outcome, AccountOutcome::WrongSignIn);
    // Unused for longer than thirty days, it has ended, and stays ended.
    EXPECT_EQ(store().Resume("Bob", bob.token, start_ + 30 * kDay + 1).outcome, AccountOutcome::Expired);
    EXPECT_EQ(store().Resume("Bob", bob.token, start_ + 1).outcome, AccountOutcome::WrongSignIn);
    // Signed out, it ends at once; the sweep forgets idle sessions.
    ASSERT_TRUE(store().SignOut(ann.token));
    EXPECT_EQ(store().Resume("Ann", ann.token, at).outcome, AccountOutcome::WrongSignIn);
    const auto fresh = store().SignIn("Ann", "correct horse", at);
    EXPECT_EQ(store().ForgetIdleSessions(at + 31 * kDay), 1);
    EXPECT_EQ(store().Resume("Ann", fresh.token, at + 1).outcome, AccountOutcome::WrongSignIn);
}

TEST_P(Accounts, ANewPasswordEndsEverySessionButTheOneItGives) {
    const auto first = store().Register("Ann", "correct horse", start_);
    const auto second = store().SignIn("Ann", "correct horse", start_);
    EXPECT_EQ(store().ChangePassword("Ann", "wrong password", "new password", start_).outcome, AccountOutcome::WrongSignIn);
    const auto changed = store().ChangePassword("Ann", "correct horse", "new password", start_ + 5);
    ASSERT_EQ(changed.outcome, AccountOutcome::Ok);
    for (const auto& old : {first.token, second.token})
        EXPECT_EQ(store().Resume("Ann", old, start_ + 6).outcome, AccountOutcome::WrongSignIn);
    EXPECT_EQ(store().Resume("Ann", changed.token, start_ + 6).outcome, AccountOutcome::Ok);
    EXPECT_EQ(store().SignIn("Ann", "correct horse", start_).outcome, AccountOutcome::WrongSignIn);
    EXPECT_EQ(store().SignIn("Ann", "new password", start_).outcome, AccountOutcome::Ok);
}

TEST_P(Accounts, ADeletedAccountsGamesStayUnderDeletedPlayerAndItsDataCanBeHadBefore) {
    const auto ann = store().Register("Ann", "correct horse", start_);
    GameRecord game;
    game.table = 3;
    game.tableName = "Friday";
    game.seats = {{{}, {"Ann", true, false}, {"Bob", true, false}, {"Computer", false, false}, {"Cy", true, false}}};
    game.startedMs = start_;
    game.endedMs = start_ + 1000;
    game.pointsA = 7;
    game.pointsB = 2;
    game.finished = true;
    game.hands.push_back({1, 1, 'h', 7, 0, 1, 3});
    ASSERT_TRUE(db().Record(game));

    // What is kept of the player, as they may ask for it.
    const auto exported = store().Export("ann");
    ASSERT_TRUE(exported);
    const auto data = nlohmann::json::parse(*exported);
    EXPECT_EQ(data["name"], "Ann");
    ASSERT_EQ(data["games"].size(), 1u);
    EXPECT_EQ(data["games"][0]["table"], "Friday");
    EXPECT_EQ(data["games"][0]["points"], 7);
    EXPECT_EQ(data["sessions"].size(), 1u);
    EXPECT_EQ(exported->find("argon2"), std::string::npos);
    EXPECT_FALSE(store().Export("Nobody"));

    EXPECT_EQ(store().Delete("Ann", std::string("wrong password")), AccountOutcome::WrongSignIn);
    EXPECT_EQ(store().Delete("Ann", std::string("correct horse")), AccountOutcome::Ok);
    EXPECT_EQ(store().Resume("Ann", ann.token, start_).outcome, AccountOutcome::WrongSignIn);
    EXPECT_EQ(store().SignIn("Ann", "correct horse", start_).outcome, AccountOutcome::WrongSignIn);
    const auto games = db().Games();
    ASSERT_EQ(games.size(), 1u);
    EXPECT_EQ(games[0].second.seats[1].name, AccountStore::kDeletedName);
    EXPECT_EQ(games[0].second.seats[2].name, "Bob");
    EXPECT_EQ(games[0].second.pointsA, 7);
    EXPECT_EQ(Stored(), "");
    // The name is free again; an admin deletes without the password.
    ASSERT_EQ(store().Register("ann", "other password", start_).outcome, AccountOutcome::Ok);
    EXPECT_EQ(store().Delete("ANN", std::nullopt), AccountOutcome::Ok);
    EXPECT_EQ(store().Delete("ANN", std::nullopt), AccountOutcome::WrongSignIn);
}

INSTANTIATE_TEST_SUITE_P(Backends, Accounts, ::testing::Values("sqlite", "postgresql"), BackendName);

} // namespace

namespace {

// The lobby's answers, read through the first one that starts as given.
QString Ask(Peer& peer, const QByteArray& request, const QString& answer) {
    peer.Send(request);
    return peer.NextStarting(answer);
}

class AccountsOnAServer : public OnBothDatabases {};

TEST_P(AccountsOnAServer, NamesAreRegisteredAndSignedInOverTlsOnlyAndAreNobodyElses) {
    TestCertificate tls;
    QTemporaryDir folder;
    Server server(QStringList{"--db", where(), "--plain-port", "0", "--auto-start", "600"} + tls.ServerArgs());
    ASSERT_GT(server.plainPort, 0) << server.Tail();
    const QByteArray enter = "Recived;Lobby|LobbyNotices;1|";

    // Over the plain port, no password travels.
    Peer plain(server.plainPort);
    plain.Send(enter);
    EXPECT_EQ(Ask(plain, "LobbyRegister;Ann;correct horse|", "LobbyNo;"),
              "LobbyNo;14;Passwords travel only over an encrypted connection; connect to the server with TLS to use one.");

    Peer ann(server.port, tls.pin);
    ann.Send(enter);
    const QString signedIn = Ask(ann, "LobbyRegister;Ann;correct horse|", "LobbyOk;SignedIn;");
    const QRegularExpression session(QStringLiteral("^LobbyOk;SignedIn;Ann;([0-9a-f]{64})$"));
    ASSERT_TRUE(session.match(signedIn).hasMatch()) << signedIn.toStdString() << server.Tail();
    const QString token = session.match(signedIn).captured(1);

    // The name is hers at once, in any spelling, for programs of ours and of the original protocol.
    Peer guest(server.port, tls.pin);
    guest.Send(enter);
    EXPECT_EQ(Ask(guest, "LobbyRegister;\xCE\x91NN;other password|", "LobbyNo;"),
              "LobbyNo;39;The name \xCE\x91NN is registered already; choose another.");
    Peer original(server.plainPort);
    original.Send("Connect;aNN;Partner|");
    EXPECT_EQ(original.Next(), "Join;3;The name aNN belongs to a registered player; sign in to play under it, or choose another.");

    // A bot registers with a password from a file, and sits under the name as registered.
    QFile password(folder.filePath("password"));
    ASSERT_TRUE(password.open(QIODevice::WriteOnly));
    password.write("battery staple\n");
    password.close();
    Bot bot(server, {"--table", "Bob's", "--create", "--pin", tls.pinText, "--user", "Bob", "--password-file",
                     password.fileName(), "--register"});
    EXPECT_TRUE(bot.WaitFor(QStringLiteral("registered Bob\n")));
    EXPECT_TRUE(bot.WaitFor(QRegularExpression(QStringLiteral("seat 1\\n")))) << bot.Tail();
    EXPECT_TRUE(server.WaitFor(QRegularExpression(QStringLiteral("seated 1 \"Bob\""))));
    QFile wrong(folder.filePath("wrong"));
    ASSERT_TRUE(wrong.open(QIODevice::WriteOnly));
    wrong.write("not her password\n");
    wrong.close();
    Bot impostor(server, {"--table", "Other", "--create", "--pin", tls.pinText, "--user", "bob", "--password-file",
                          wrong.fileName()});
    EXPECT_EQ(impostor.Finish(), 4);
    EXPECT_TRUE(impostor.out.contains("refused: Wrong name or password.")) << impostor.Tail();

    // Her session signs in again without the password; signed out, it is gone.
    Peer again(server.port, tls.pin);
    again.Send(enter);
    EXPECT_EQ(Ask(again, "LobbyResume;ANN;" + token.toLatin1() + "|", "LobbyOk;SignedIn"), "LobbyOk;SignedIn;Ann;" + token);
    EXPECT_EQ(Ask(again, "LobbySignOut;|", "LobbyOk;SignedOut"), "LobbyOk;SignedOut");
    EXPECT_EQ(Ask(ann, "LobbyResume;Ann;" + token.toLatin1() + "|", "LobbyNo;"), "LobbyNo;38;Wrong name or password.");

    // The admin has her data, and deletes the account: within seconds the name is free.
    QString data;
    ASSERT_EQ(Admin(where(), {"export", "ANN"}, &data), 0);
    EXPECT_TRUE(data.contains("\"name\": \"Ann\"")) << data.toStdString();
    ASSERT_EQ(Admin(where(), {"delete-account", "ann", "--reason", "asked by mail"}), 0);
    EXPECT_NE(Admin(where(), {"export", "Ann"}), 0);
    QString listed;
    ASSERT_EQ(Admin(where(), {"list"}, &listed), 0);
    EXPECT_TRUE(listed.contains("delete-account deleted player — asked by mail")) << listed.toStdString();
    QElapsedTimer waited;
    waited.start();
    QString answer;
    while (waited.elapsed() < kLimitMs) {
        Peer later(server.plainPort);
        later.Send("Connect;Ann;Against|");
        answer = later.NextStarting("Join;");
        if (!answer.startsWith("Join;3;")) break;
        QThread::msleep(200);
    }
    EXPECT_TRUE(answer.startsWith("Join;2;")) << answer.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Backends, AccountsOnAServer, ::testing::Values("sqlite", "postgresql"), BackendName);

} // namespace
