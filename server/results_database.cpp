#include "server/results_database.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>
#include <QUrlQuery>
#include <QVariant>
#include <algorithm>
#include <atomic>
#include <map>

namespace zarv::server {

namespace {

std::atomic<int> gConnections{0};

bool IsPostgresUrl(const QString& where) {
    return where.startsWith("postgresql://") || where.startsWith("postgres://");
}

// The statements that take a schema from version n-1 to n. Both engines
// read the same SQL but for the games' row ids.
std::vector<QString> UpgradeTo(int version, bool postgres) {
    switch (version) {
    case 1:
        return {
            QString("CREATE TABLE games (id %1, table_id INTEGER NOT NULL, table_name TEXT NOT NULL,"
                    // expert: the computer level's number (0 Standard, 1 Expert, 2 Beginner, 3 Master)
                    " expert INTEGER NOT NULL, started_ms BIGINT NOT NULL, ended_ms BIGINT NOT NULL,"
                    " finished INTEGER NOT NULL, points_a INTEGER NOT NULL, points_b INTEGER NOT NULL)")
                .arg(postgres ? "BIGSERIAL PRIMARY KEY" : "INTEGER PRIMARY KEY AUTOINCREMENT"),
            "CREATE TABLE game_seats (game_id BIGINT NOT NULL REFERENCES games(id), seat INTEGER NOT NULL,"
            " name TEXT NOT NULL, person INTEGER NOT NULL, PRIMARY KEY (game_id, seat))",
            "CREATE TABLE hands (game_id BIGINT NOT NULL REFERENCES games(id), number INTEGER NOT NULL,"
            " hakem INTEGER NOT NULL, trump TEXT NOT NULL, tricks_a INTEGER NOT NULL, tricks_b INTEGER NOT NULL,"
            " winner INTEGER NOT NULL, points INTEGER NOT NULL, PRIMARY KEY (game_id, number))",
        };
    case 2:
        // The standings read finished games by time and seats by name.
        return {"CREATE INDEX games_by_end ON games (finished, ended_ms)",
                "CREATE INDEX game_seats_by_name ON game_seats (name)"};
    case 3:
        // The admin's sanctions, and every admin action with its time and reason.
        return {"CREATE TABLE sanctions (kind TEXT NOT NULL, target TEXT NOT NULL, until_ms BIGINT NOT NULL,"
                " reason TEXT NOT NULL, PRIMARY KEY (kind, target))",
                QString("CREATE TABLE admin_actions (id %1, at_ms BIGINT NOT NULL, action TEXT NOT NULL,"
                        " target TEXT NOT NULL, until_ms BIGINT NOT NULL, reason TEXT NOT NULL)")
                    .arg(postgres ? "BIGSERIAL PRIMARY KEY" : "INTEGER PRIMARY KEY AUTOINCREMENT")};
    case 4:
        // Registered names, by both keys of a name (see name_key.h), and
        // their sign-in sessions, of which only a hash of the token is kept.
        return {"CREATE TABLE accounts (folded_key TEXT PRIMARY KEY, looks_key TEXT NOT NULL, name TEXT NOT NULL,"
                " password_hash TEXT NOT NULL, created_ms BIGINT NOT NULL, password_ms BIGINT NOT NULL)",
                "CREATE INDEX accounts_by_looks ON accounts (looks_key)",
                "CREATE TABLE account_sessions (token_hash TEXT PRIMARY KEY, folded_key TEXT NOT NULL"
                " REFERENCES accounts(folded_key) ON DELETE CASCADE, created_ms BIGINT NOT NULL, used_ms BIGINT NOT NULL)",
                "CREATE INDEX account_sessions_by_account ON account_sessions (folded_key)"};
    case 5:
        // Unrated tables, and the players who left a game before its end.
        return {"ALTER TABLE games ADD COLUMN rated INTEGER NOT NULL DEFAULT 1",
                "ALTER TABLE game_seats ADD COLUMN seat_left INTEGER NOT NULL DEFAULT 0"};
    default: return {};
    }
}

} // namespace

ResultsDatabase::ResultsDatabase(const QString& where)
    : connection_(QString("zarv-results-%1").arg(++gConnections)), postgres_(IsPostgresUrl(where)) {
    QSqlDatabase db = QSqlDatabase::addDatabase(postgres_ ? "QPSQL" : "QSQLITE", connection_);
    if (postgres_) {
        const QUrl url(where);
        db.setHostName(url.host().isEmpty() ? "localhost" : url.host());
        db.setPort(url.port(5432));
        db.setUserName(url.userName());
        db.setPassword(url.password());
        QString name = url.path().mid(1);
        db.setDatabaseName(name.isEmpty() ? url.userName() : name);
        // sslmode=require and the like pass through as libpq's own options.
        QStringList options;
        for (const auto& [key, value] : QUrlQuery(url).queryItems()) options << key + "=" + value;
        db.setConnectOptions(options.join(';'));
    } else {
        db.setDatabaseName(where);
        // Several servers may share the file: wait for another's write.
        db.setConnectOptions("QSQLITE_BUSY_TIMEOUT=10000");
    }
}

ResultsDatabase::~ResultsDatabase() {
    {
        QSqlDatabase db = QSqlDatabase::database(connection_, false);
        if (db.isOpen()) db.close();
    }
    QSqlDatabase::removeDatabase(connection_);
}

bool ResultsDatabase::Fail(const QString& what, const QString& why) {
    error_ = what + ": " + why;
    return false;
}

bool ResultsDatabase::Exec(const QString& statement) {
    QSqlQuery q(QSqlDatabase::database(connection_, false));
    if (q.exec(statement)) return true;
    return Fail(statement.section(' ', 0, 2), q.lastError().text());
}

bool ResultsDatabase::Open() {
    QSqlDatabase db = QSqlDatabase::database(connection_, false);
    if (db.isOpen()) db.close();  // opening again: the connection may have been lost
    open_ = false;
    if (!db.isValid()) return Fail("no database driver", postgres_ ? "QPSQL (libqt6sql6-psql)" : "QSQLITE (libqt6sql6-sqlite)");
    if (!postgres_) {
        const QFileInfo file(db.databaseName());
        if (!QDir().mkpath(file.absolutePath())) return Fail("cannot make the folder", file.absolutePath());
    }
    if (!db.open()) return Fail("cannot open the results database", db.lastError().text());
    if (!postgres_) {
        // A commit is on the disk before the game is reported recorded; the
        // write-ahead log lets readers (stats) work beside the writer.
        if (!Exec("PRAGMA journal_mode=WAL") || !Exec("PRAGMA synchronous=FULL") || !Exec("PRAGMA foreign_keys=ON"))
            return false;
    }
    open_ = Upgrade();
    return open_;
}

int ResultsDatabase::SchemaVersion() {
    QSqlQuery q(QSqlDatabase::database(connection_, false));
    if (!q.exec("SELECT version FROM zarv_schema") || !q.next()) return 0;
    return q.value(0).toInt();
}

bool ResultsDatabase::Upgrade() {
    QSqlDatabase db = QSqlDatabase::database(connection_, false);
    if (!Exec("CREATE TABLE IF NOT EXISTS zarv_schema (version INTEGER NOT NULL)")) return false;
    // One server at a time upgrades; the others find the work done.
    if (postgres_) {
        if (!db.transaction() || !Exec("LOCK TABLE zarv_schema IN EXCLUSIVE MODE")) {
            db.rollback();
            return Fail("cannot lock the schema", db.lastError().text());
        }
    } else if (!Exec("BEGIN IMMEDIATE")) {
        return false;
    }
    auto undo = [&] {
        if (postgres_) db.rollback();
        else Exec("ROLLBACK");
        return false;
    };
    QSqlQuery q(db);
    if (!q.exec("SELECT version FROM zarv_schema")) {
        Fail("cannot read the schema version", q.lastError().text());
        return undo();
    }
    const bool hasRow = q.next();
    const int found = hasRow ? q.value(0).toInt() : 0;
    q.finish();
    if (found > kSchemaVersion) {
        undo();
        return Fail("the results database is newer than this server",
                    QString("schema %1, this server knows %2").arg(found).arg(kSchemaVersion));
    }
    for (int version = found + 1; version <= kSchemaVersion; ++version)
        for (const QString& statement : UpgradeTo(version, postgres_))
            if (!Exec(statement)) return undo();
    if (found < kSchemaVersion) {
        const QString set = hasRow ? QString("UPDATE zarv_schema SET version = %1").arg(kSchemaVersion)
                                   : QString("INSERT INTO zarv_schema (version) VALUES (%1)").arg(kSchemaVersion);
        if (!Exec(set)) return undo();
    }
    if (postgres_ ? !db.commit() : !Exec("COMMIT")) {
        Fail("cannot commit the schema", db.lastError().text());
        return undo();
    }
    return true;
}

std::optional<int64_t> ResultsDatabase::Record(const GameRecord& game) {
    QSqlDatabase db = QSqlDatabase::database(connection_, false);
    if (!db.transaction()) {
        Fail("cannot begin", db.lastError().text());
        return std::nullopt;
    }
    auto failed = [&](const QSqlQuery& q) -> std::optional<int64_t> {
        Fail("cannot record the game", q.lastError().text());
        db.rollback();
        return std::nullopt;
    };
    QSqlQuery q(db);
    q.prepare("INSERT INTO games (table_id, table_name, expert, started_ms, ended_ms, finished, points_a, points_b, rated)"
              " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?) RETURNING id");
    for (const QVariant& v : {QVariant(game.table), QVariant(QString::fromStdString(game.tableName)),
                              QVariant(static_cast<int>(game.level)), QVariant(qint64(game.startedMs)),
                              QVariant(qint64(game.endedMs)), QVariant(game.finished ? 1 : 0), QVariant(game.pointsA),
                              QVariant(game.pointsB), QVariant(game.rated ? 1 : 0)})
        q.addBindValue(v);
    if (!q.exec() || !q.next()) return failed(q);
    const int64_t id = q.value(0).toLongLong();
    q.finish();
    QSqlQuery seat(db);
    seat.prepare("INSERT INTO game_seats (game_id, seat, name, person, seat_left) VALUES (?, ?, ?, ?, ?)");
    for (int s = 1; s <= 4; ++s) {
        const SeatResult& r = game.seats[static_cast<size_t>(s)];
        seat.addBindValue(qint64(id));
        seat.addBindValue(s);
        seat.addBindValue(QString::fromStdString(r.name));
        seat.addBindValue(r.person ? 1 : 0);
        seat.addBindValue(r.left ? 1 : 0);
        if (!seat.exec()) return failed(seat);
    }
    QSqlQuery hand(db);
    hand.prepare("INSERT INTO hands (game_id, number, hakem, trump, tricks_a, tricks_b, winner, points)"
                 " VALUES (?, ?, ?, ?, ?, ?, ?, ?)");
    for (const HandResult& h : game.hands) {
        for (const QVariant& v : {QVariant(qint64(id)), QVariant(h.number), QVariant(h.hakem),
                                  QVariant(QString(QChar(h.trump))), QVariant(h.tricksA), QVariant(h.tricksB),
                                  QVariant(h.winner), QVariant(h.points)})
            hand.addBindValue(v);
        if (!hand.exec()) return failed(hand);
    }
    if (!db.commit()) {
        Fail("cannot commit the game", db.lastError().text());
        db.rollback();
        return std::nullopt;
    }
    return id;
}

std::vector<Standing> ResultsDatabase::Standings(int64_t sinceMs, int limit) {
    QSqlDatabase db = QSqlDatabase::database(connection_, false);
    std::map<QString, Standing> byName;
    QSqlQuery q(db);
    // Seats 1 and 3 are one side (points_a), 2 and 4 the other.
    q.prepare("SELECT s.name, COUNT(*),"
              " SUM(CASE WHEN (s.seat % 2 = 1 AND g.points_a > g.points_b)"
              "  OR (s.seat % 2 = 0 AND g.points_b > g.points_a) THEN 1 ELSE 0 END),"
              " SUM(CASE WHEN s.seat % 2 = 1 THEN g.points_a ELSE g.points_b END)"
              " FROM game_seats s JOIN games g ON g.id = s.game_id"
              " WHERE g.finished = 1 AND s.person = 1 AND g.ended_ms >= ? GROUP BY s.name");
    q.addBindValue(qint64(sinceMs));
    if (!q.exec()) {
        Fail("cannot read the standings", q.lastError().text());
        return {};
    }
    while (q.next()) {
        Standing& s = byName[q.value(0).toString()];
        s.name = q.value(0).toString().toStdString();
        s.games = q.value(1).toInt();
        s.wins = q.value(2).toInt();
        s.points = q.value(3).toInt();
    }
    q.prepare("SELECT s.name, COUNT(*) FROM hands h JOIN games g ON g.id = h.game_id"
              " JOIN game_seats s ON s.game_id = h.game_id AND s.seat = h.hakem"
              " WHERE g.finished = 1 AND s.person = 1 AND g.ended_ms >= ? AND h.winner % 2 = h.hakem % 2"
              " GROUP BY s.name");
    q.addBindValue(qint64(sinceMs));
    if (q.exec())
        while (q.next())
            if (const auto it = byName.find(q.value(0).toString()); it != byName.end())
                it->second.hakemWins = q.value(1).toInt();
    std::vector<Standing> all;
    for (auto& [name, s] : byName) all.push_back(std::move(s));
    std::stable_sort(all.begin(), all.end(), [](const Standing& a, const Standing& b) {
        return a.wins != b.wins ? a.wins > b.wins : a.points > b.points;
    });
    if (limit >= 0 && static_cast<int>(all.size()) > limit) all.resize(static_cast<size_t>(limit));
    return all;
}

std::vector<std::pair<int64_t, GameRecord>> ResultsDatabase::Games() {
    QSqlDatabase db = QSqlDatabase::database(connection_, false);
    std::vector<std::pair<int64_t, GameRecord>> games;
    std::map<int64_t, size_t> at;
    QSqlQuery q(db);
    q.exec("SELECT id, table_id, table_name, expert, started_ms, ended_ms, finished, points_a, points_b, rated"
           " FROM games ORDER BY id");
    while (q.next()) {
        GameRecord g;
        g.table = q.value(1).toInt();
        g.tableName = q.value(2).toString().toStdString();
        g.level = ai::LevelFromNumber(q.value(3).toInt());
        g.startedMs = q.value(4).toLongLong();
        g.endedMs = q.value(5).toLongLong();
        g.finished = q.value(6).toInt() != 0;
        g.pointsA = q.value(7).toInt();
        g.pointsB = q.value(8).toInt();
        g.rated = q.value(9).toInt() != 0;
        at[q.value(0).toLongLong()] = games.size();
        games.emplace_back(q.value(0).toLongLong(), std::move(g));
    }
    q.exec("SELECT game_id, seat, name, person, seat_left FROM game_seats");
    while (q.next())
        if (const auto it = at.find(q.value(0).toLongLong()); it != at.end()) {
            const int seat = q.value(1).toInt();
            if (seat >= 1 && seat <= 4)
                games[it->second].second.seats[static_cast<size_t>(seat)] = {
                    q.value(2).toString().toStdString(), q.value(3).toInt() != 0, q.value(4).toInt() != 0};
        }
    q.exec("SELECT game_id, number, hakem, trump, tricks_a, tricks_b, winner, points FROM hands ORDER BY game_id, number");
    while (q.next())
        if (const auto it = at.find(q.value(0).toLongLong()); it != at.end()) {
            const QString trump = q.value(3).toString();
            games[it->second].second.hands.push_back({q.value(1).toInt(), q.value(2).toInt(),
                                                      trump.isEmpty() ? '-' : trump[0].toLatin1(), q.value(4).toInt(),
                                                      q.value(5).toInt(), q.value(6).toInt(), q.value(7).toInt()});
        }
    return games;
}

bool ResultsDatabase::Act(const AdminAction& a) {
    QSqlDatabase db = QSqlDatabase::database(connection_, false);
    if (!db.transaction()) return Fail("cannot begin", db.lastError().text());
    auto failed = [&](const QSqlQuery& q) {
        Fail("cannot record the admin action", q.lastError().text());
        db.rollback();
        return false;
    };
    // "ban", "unban", "mute", "unmute", "ban-address", "unban-address": the
    // sanction's kind is the action without its "un".
    const bool lifting = a.action.rfind("un", 0) == 0;
    const QString kind = QString::fromStdString(lifting ? a.action.substr(2) : a.action);
    QSqlQuery q(db);
    q.prepare("DELETE FROM sanctions WHERE kind = ? AND target = ?");
    q.addBindValue(kind);
    q.addBindValue(QString::fromStdString(a.target));
    if (!q.exec()) return failed(q);
    if (!lifting) {
        q.prepare("INSERT INTO sanctions (kind, target, until_ms, reason) VALUES (?, ?, ?, ?)");
        for (const QVariant& v : {QVariant(kind), QVariant(QString::fromStdString(a.target)), QVariant(qint64(a.untilMs)),
                                  QVariant(QString::fromStdString(a.reason))})
            q.addBindValue(v);
        if (!q.exec()) return failed(q);
    }
    if (!Note(a)) {
        db.rollback();
        return false;
    }
    if (!db.commit()) {
        Fail("cannot commit the admin action", db.lastError().text());
        db.rollback();
        return false;
    }
    return true;
}

bool ResultsDatabase::Note(const AdminAction& a) {
    QSqlQuery q(QSqlDatabase::database(connection_, false));
    q.prepare("INSERT INTO admin_actions (at_ms, action, target, until_ms, reason) VALUES (?, ?, ?, ?, ?)");
    for (const QVariant& v : {QVariant(qint64(a.atMs)), QVariant(QString::fromStdString(a.action)),
                              QVariant(QString::fromStdString(a.target)), QVariant(qint64(a.untilMs)),
                              QVariant(QString::fromStdString(a.reason))})
        q.addBindValue(v);
    return q.exec() || Fail("cannot log the admin action", q.lastError().text());
}

std::optional<Sanctions> ResultsDatabase::SanctionsAt(int64_t nowMs) {
    QSqlQuery q(QSqlDatabase::database(connection_, false));
    q.prepare("SELECT kind, target, until_ms, reason FROM sanctions WHERE until_ms = 0 OR until_ms > ? ORDER BY kind, target");
    q.addBindValue(qint64(nowMs));
    if (!q.exec()) {
        Fail("cannot read the sanctions", q.lastError().text());
        return std::nullopt;
    }
    Sanctions now;
    while (q.next()) {
        const QString kind = q.value(0).toString();
        Sanction s;
        s.kind = kind == "mute" ? Sanction::Kind::Mute : kind == "ban-address" ? Sanction::Kind::BanAddress : Sanction::Kind::Ban;
        s.target = q.value(1).toString().toStdString();
        s.untilMs = q.value(2).toLongLong();
        s.reason = q.value(3).toString().toStdString();
        now.list.push_back(std::move(s));
    }
    return now;
}

std::vector<AdminAction> ResultsDatabase::Actions(int limit) {
    QSqlQuery q(QSqlDatabase::database(connection_, false));
    q.prepare("SELECT at_ms, action, target, until_ms, reason FROM admin_actions ORDER BY id DESC LIMIT ?");
    q.addBindValue(limit);
    std::vector<AdminAction> actions;
    if (!q.exec()) {
        Fail("cannot read the admin actions", q.lastError().text());
        return actions;
    }
    while (q.next())
        actions.push_back({q.value(0).toLongLong(), q.value(1).toString().toStdString(), q.value(2).toString().toStdString(),
                           q.value(3).toLongLong(), q.value(4).toString().toStdString()});
    std::reverse(actions.begin(), actions.end());
    return actions;
}

std::unique_ptr<ResultsDatabase> OpenForCommand(const QString& where, const std::string& program, std::ostream& err) {
    if (!where.contains("://") && !QFileInfo::exists(where)) {
        err << program << ": no results database at " << where.toStdString() << "\n";
        return nullptr;
    }
    auto db = std::make_unique<ResultsDatabase>(where);
    if (!db->Open()) {
        err << program << ": " << db->error().toStdString() << "\n";
        return nullptr;
    }
    return db;
}

QString DefaultResultsFile() {
    // systemd's StateDirectory= names the folder; else the user's state folder.
    const QString state = qEnvironmentVariable("STATE_DIRECTORY").section(':', 0, 0);
    if (!state.isEmpty()) return state + "/results.sqlite";
    QString base = qEnvironmentVariable("XDG_STATE_HOME");
    if (base.isEmpty()) base = QDir::homePath() + "/.local/state";
    return base + "/zarv-server/results.sqlite";
}

QString ShownResultsPlace(const QString& where) {
    return IsPostgresUrl(where) ? QUrl(where).toString(QUrl::RemovePassword) : where;
}

} // namespace zarv::server
