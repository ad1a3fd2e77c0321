// Registered names and their sign-in sessions, in the results database.
// Every call is one short transaction on the database's own thread; the
// slow password hashing happens here too, so it runs on that thread and
// never on the socket thread.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "server/account_request.h"
#include "server/name_key.h"
#include "server/results_database.h"

namespace zarv::server {

class AccountStore {
public:
    // A session ends after this long without a sign-in.
    static constexpr int64_t kSessionIdleMs = 30LL * 24 * 3600 * 1000;
    // What stands for a deleted player's name in the game records.
    static constexpr const char* kDeletedName = "deleted player";

    using Outcome = AccountOutcome;
    struct Session {
        Outcome outcome = Outcome::Unavailable;
        std::string name;   // the name as registered
        std::string token;  // the session's token (only now: it is stored hashed)
    };

    // db: open, and used on this thread only.
    explicit AccountStore(ResultsDatabase& db) : db_(db) {}

    Session Register(const std::string& name, const std::string& password, int64_t nowMs);
    // The name may be typed in any letter case or look-alike spelling.
    // WrongSignIn, whether the name has no account or the password is wrong.
    Session SignIn(const std::string& name, const std::string& password, int64_t nowMs);
    // Signs in again with a session's token; Expired after kSessionIdleMs unused.
    Session Resume(const std::string& name, const std::string& token, int64_t nowMs);
    bool SignOut(const std::string& token);
    // Every session of the account ends; the answer carries a new one.
    Session ChangePassword(const std::string& name, const std::string& oldPassword, const std::string& newPassword,
                           int64_t nowMs);
    // With the password, by the player; without (the admin's), only the name.
    // The games stay, with the name replaced by kDeletedName.
    Outcome Delete(const std::string& name, const std::optional<std::string>& password);
    // The keys of every registered name, or nothing when they cannot be read.
    std::optional<std::vector<NameKeys>> Reserved();
    // Every registered name as registered, or nothing when they cannot be read.
    std::optional<std::vector<std::string>> Names();
    // Sessions unused for kSessionIdleMs go (the number gone, or -1).
    int ForgetIdleSessions(int64_t nowMs);
    // Everything kept of the player, as a JSON document (nothing: no such account).
    std::optional<std::string> Export(const std::string& name);

    const QString& error() const { return error_; }

private:
    struct Account {
        std::string folded, name, hash;
        int64_t createdMs = 0, passwordMs = 0;
    };
    // The account whose name looks like this one (nothing when none or on failure; see failed_).
    std::optional<Account> Find(const std::string& name);
    // A new session of the account, in the open transaction.
    std::optional<std::string> NewSession(const std::string& folded, int64_t nowMs);
    Session Failed(const QString& what);

    ResultsDatabase& db_;
    QString error_;
    bool failed_ = false;
};

} // namespace zarv::server
