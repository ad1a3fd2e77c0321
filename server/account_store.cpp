#include "server/account_store.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <nlohmann/json.hpp>

#include "server/password_hash.h"

namespace zarv::server {

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

// Binds the values in order and runs the query.
bool Run(QSqlQuery& q, const QString& statement, std::initializer_list<QVariant> values) {
    if (!q.prepare(statement)) return false;
    for (const QVariant& v : values) q.addBindValue(v);
    return q.exec();
}

} // namespace

AccountStore::Session AccountStore::Failed(const QString& what) {
    error_ = what;
    QSqlDatabase db = db_.handle();
    db.rollback();
    return {Outcome::Unavailable, {}, {}};
}

std::optional<AccountStore::Account> AccountStore::Find(const std::string& name) {
    failed_ = false;
    const NameKeys keys = KeysOf(name);
    QSqlQuery q(db_.handle());
    // Any key of the name against any key of an account (see NameKeys).
    if (!Run(q,
             "SELECT folded_key, name, password_hash, created_ms, password_ms FROM accounts"
             " WHERE folded_key IN (?, ?) OR looks_key IN (?, ?)",
             {Q(keys.folded), Q(keys.looks), Q(keys.folded), Q(keys.looks)})) {
        failed_ = true;
        error_ = "cannot read the accounts: " + q.lastError().text();
        return std::nullopt;
    }
    if (!q.next()) return std::nullopt;
    return Account{q.value(0).toString().toStdString(), q.value(1).toString().toStdString(),
                   q.value(2).toString().toStdString(), q.value(3).toLongLong(), q.value(4).toLongLong()};
}

std::optional<std::string> AccountStore::NewSession(const std::string& folded, int64_t nowMs) {
    const std::string token = NewSessionToken();
    QSqlQuery q(db_.handle());
    if (!Run(q, "INSERT INTO account_sessions (token_hash, folded_key, created_ms, used_ms) VALUES (?, ?, ?, ?)",
             {Q(TokenHash(token)), Q(folded), qint64(nowMs), qint64(nowMs)})) {
        error_ = "cannot keep the session: " + q.lastError().text();
        return std::nullopt;
    }
    return token;
}

AccountStore::Session AccountStore::Register(const std::string& name, const std::string& password, int64_t nowMs) {
    // Hashed before the transaction: it takes a while, and holds no lock meanwhile.
    const std::string hash = HashPassword(password);
    if (hash.empty()) return Failed("no memory to hash the password");
    QSqlDatabase db = db_.handle();
    if (!db.transaction()) return Failed("cannot begin: " + db.lastError().text());
    if (Find(name)) {
        db.rollback();
        return {Outcome::NameTaken, {}, {}};
    }
    if (failed_) return Failed(error_);
    const NameKeys keys = KeysOf(name);
    QSqlQuery q(db);
    // A server sharing the database may have registered the same name just now:
    // the key's uniqueness refuses the second.
    if (!Run(q,
             "INSERT INTO accounts (folded_key, looks_key, name, password_hash, created_ms, password_ms)"
             " VALUES (?, ?, ?, ?, ?, ?)",
             {Q(keys.folded), Q(keys.looks), Q(name), Q(hash), qint64(nowMs), qint64(nowMs)})) {
        db.rollback();
        return {Outcome::NameTaken, {}, {}};
    }
    const auto token = NewSession(keys.folded, nowMs);
    if (!token || !db.commit()) return Failed(error_.isEmpty() ? db.lastError().text() : error_);
    return {Outcome::Ok, name, *token};
}

AccountStore::Session AccountStore::SignIn(const std::string& name, const std::string& password, int64_t nowMs) {
    const auto account = Find(name);
    if (failed_) return Failed(error_);
    // Checked against a decoy when there is no account: the same work, the same answer.
    if (!PasswordMatches(password, account ? account->hash : std::string()) || !account)
        return {Outcome::WrongSignIn, {}, {}};
    const auto token = NewSession(account->folded, nowMs);
    if (!token) return Failed(error_);
    return {Outcome::Ok, account->name, *token};
}

AccountStore::Session AccountStore::Resume(const std::string& name, const std::string& token, int64_t nowMs) {
    const auto account = Find(name);
    if (failed_) return Failed(error_);
    if (!account) return {Outcome::WrongSignIn, {}, {}};
    QSqlQuery q(db_.handle());
    if (!Run(q, "SELECT used_ms FROM account_sessions WHERE token_hash = ? AND folded_key = ?",
             {Q(TokenHash(token)), Q(account->folded)}))
        return Failed("cannot read the sessions: " + q.lastError().text());
    if (!q.next()) return {Outcome::WrongSignIn, {}, {}};
    const bool idle = q.value(0).toLongLong() + kSessionIdleMs < nowMs;
    q.finish();
    if (idle) {
        SignOut(token);
        return {Outcome::Expired, {}, {}};
    }
    if (!Run(q, "UPDATE account_sessions SET used_ms = ? WHERE token_hash = ?", {qint64(nowMs), Q(TokenHash(token))}))
        return Failed("cannot keep the session: " + q.lastError().text());
    return {Outcome::Ok, account->name, token};
}

bool AccountStore::SignOut(const std::string& token) {
    QSqlQuery q(db_.handle());
    return Run(q, "DELETE FROM account_sessions WHERE token_hash = ?", {Q(TokenHash(token))});
}

AccountStore::Session AccountStore::ChangePassword(const std::string& name, const std::string& oldPassword,
                                                   const std::string& newPassword, int64_t nowMs) {
    const auto account = Find(name);
    if (failed_) return Failed(error_);
    if (!PasswordMatches(oldPassword, account ? account->hash : std::string()) || !account)
        return {Outcome::WrongSignIn, {}, {}};
    const std::string hash = HashPassword(newPassword);
    if (hash.empty()) return Failed("no memory to hash the password");
    QSqlDatabase db = db_.handle();
    if (!db.transaction()) return Failed("cannot begin: " + db.lastError().text());
    QSqlQuery q(db);
    if (!Run(q, "UPDATE accounts SET password_hash = ?, password_ms = ? WHERE folded_key = ?",
             {Q(hash), qint64(nowMs), Q(account->folded)}) ||
        !Run(q, "DELETE FROM account_sessions WHERE folded_key = ?", {Q(account->folded)}))
        return Failed("cannot change the password: " + q.lastError().text());
    const auto token = NewSession(account->folded, nowMs);
    if (!token || !db.commit()) return Failed(error_.isEmpty() ? db.lastError().text() : error_);
    return {Outcome::Ok, account->name, *token};
}

AccountStore::Outcome AccountStore::Delete(const std::string& name, const std::optional<std::string>& password) {
    const auto account = Find(name);
    if (failed_) return Failed(error_).outcome;
    if (password ? !PasswordMatches(*password, account ? account->hash : std::string()) || !account : !account)
        return Outcome::WrongSignIn;
    QSqlDatabase db = db_.handle();
    if (!db.transaction()) return Failed("cannot begin: " + db.lastError().text()).outcome;
    QSqlQuery q(db);
    if (!Run(q, "DELETE FROM account_sessions WHERE folded_key = ?", {Q(account->folded)}) ||
        !Run(q, "DELETE FROM accounts WHERE folded_key = ?", {Q(account->folded)}) ||
        !Run(q, "UPDATE game_seats SET name = ? WHERE name = ?", {QString(kDeletedName), Q(account->name)}))
        return Failed("cannot delete the account: " + q.lastError().text()).outcome;
    if (!db.commit()) return Failed("cannot commit: " + db.lastError().text()).outcome;
    return Outcome::Ok;
}

std::optional<std::vector<NameKeys>> AccountStore::Reserved() {
    QSqlQuery q(db_.handle());
    if (!q.exec("SELECT folded_key, looks_key FROM accounts")) {
        error_ = "cannot read the accounts: " + q.lastError().text();
        return std::nullopt;
    }
    std::vector<NameKeys> keys;
    while (q.next()) keys.push_back({q.value(0).toString().toStdString(), q.value(1).toString().toStdString()});
    return keys;
}

std::optional<std::vector<std::string>> AccountStore::Names() {
    QSqlQuery q(db_.handle());
    if (!q.exec("SELECT name FROM accounts")) {
        error_ = "cannot read the accounts: " + q.lastError().text();
        return std::nullopt;
    }
    std::vector<std::string> names;
    while (q.next()) names.push_back(q.value(0).toString().toStdString());
    return names;
}

int AccountStore::ForgetIdleSessions(int64_t nowMs) {
    QSqlQuery q(db_.handle());
    if (!Run(q, "DELETE FROM account_sessions WHERE used_ms < ?", {qint64(nowMs - kSessionIdleMs)})) return -1;
    return q.numRowsAffected();
}

std::optional<std::string> AccountStore::Export(const std::string& name) {
    using nlohmann::json;
    const auto account = Find(name);
    if (!account) return std::nullopt;
    json out = {{"name", account->name}, {"registeredMs", account->createdMs}, {"passwordChangedMs", account->passwordMs}};
    QSqlQuery q(db_.handle());
    json sessions = json::array();
    if (Run(q, "SELECT created_ms, used_ms FROM account_sessions WHERE folded_key = ? ORDER BY created_ms",
            {Q(account->folded)}))
        while (q.next()) sessions.push_back({{"startedMs", q.value(0).toLongLong()}, {"lastUsedMs", q.value(1).toLongLong()}});
    out["sessions"] = sessions;
    json games = json::array();
    if (Run(q,
            "SELECT g.id, g.table_name, g.expert, g.started_ms, g.ended_ms, g.finished, g.points_a, g.points_b, s.seat"
            " FROM game_seats s JOIN games g ON g.id = s.game_id WHERE s.name = ? ORDER BY g.id",
            {Q(account->name)}))
        while (q.next()) {
            const int seat = q.value(8).toInt();
            const int own = seat % 2 == 1 ? q.value(6).toInt() : q.value(7).toInt();
            const int other = seat % 2 == 1 ? q.value(7).toInt() : q.value(6).toInt();
            games.push_back({{"game", q.value(0).toLongLong()}, {"table", q.value(1).toString().toStdString()},
                             {"level", ai::LevelText(ai::LevelFromNumber(q.value(2).toInt()))}, {"startedMs", q.value(3).toLongLong()},
                             {"endedMs", q.value(4).toLongLong()}, {"finished", q.value(5).toInt() != 0},
                             {"seat", seat}, {"points", own}, {"opponentsPoints", other}});
        }
    out["games"] = games;
    json sanctions = json::array();
    if (Run(q, "SELECT at_ms, action, until_ms, reason FROM admin_actions WHERE target = ? ORDER BY id", {Q(account->name)}))
        while (q.next())
            sanctions.push_back({{"atMs", q.value(0).toLongLong()}, {"action", q.value(1).toString().toStdString()},
                                 {"untilMs", q.value(2).toLongLong()}, {"reason", q.value(3).toString().toStdString()}});
    out["adminActions"] = sanctions;
    return out.dump(2, ' ', false, json::error_handler_t::replace);
}

} // namespace zarv::server
