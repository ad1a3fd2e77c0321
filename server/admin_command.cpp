#include "server/admin_command.h"

#include <QDateTime>
#include <QHostAddress>
#include <QTimeZone>
#include <algorithm>
#include <cctype>
#include <map>

#include "cmdline/options.h"
#include "net/lobby_wire.h"
#include "server/account_store.h"
#include "server/results_database.h"

namespace zarv::server {

namespace {

std::string Time(int64_t ms) {
    if (ms == 0) return "until lifted";
    return QDateTime::fromMSecsSinceEpoch(ms, QTimeZone::utc()).toString(Qt::ISODate).toStdString();
}

int Usage(std::ostream& err, const std::string& why) {
    err << "zarv-server admin: " << why << "\n"
        << "usage: zarv-server admin ban|unban|mute|unmute NAME [--for 30m|2h|7d] [--reason TEXT] [--db ...]\n"
        << "       zarv-server admin ban-address|unban-address CIDR [--for ...] [--reason TEXT] [--db ...]\n"
        << "       zarv-server admin list [--db ...]\n"
        << "       zarv-server admin export NAME [--db ...]   (the player's data, as JSON)\n"
        << "       zarv-server admin delete-account NAME [--reason TEXT] [--db ...]\n";
    return 2;
}

void List(ResultsDatabase& db, std::ostream& out) {
    const int64_t now = QDateTime::currentMSecsSinceEpoch();
    out << "in force:\n";
    if (const auto sanctions = db.SanctionsAt(now))
        for (const Sanction& s : sanctions->list)
            out << "  " << KindName(s.kind) << " " << s.target << " " << (s.untilMs ? "until " : "") << Time(s.untilMs) << (s.reason.empty() ? "" : " — ")
                << s.reason << "\n";
    out << "actions:\n";
    for (const AdminAction& a : db.Actions(50))
        out << "  " << Time(a.atMs) << " " << a.action << " " << a.target << (a.untilMs ? " until " + Time(a.untilMs) : "")
            << (a.reason.empty() ? "" : " — ") << a.reason << "\n";
}

// A player's account: its data as JSON, or deleted (the games stay, under
// "deleted player"), the deletion logged as an admin action.
int Account(ResultsDatabase& db, const std::string& action, const std::string& name,
            const std::map<std::string, std::string>& f, std::ostream& out, std::ostream& err) {
    AccountStore accounts(db);
    if (action == "export") {
        const auto data = accounts.Export(name);
        if (!data) {
            err << "zarv-server admin: no account named " << name << "\n";
            return 1;
        }
        out << *data << "\n";
        return 0;
    }
    const auto outcome = accounts.Delete(name, std::nullopt);
    if (outcome == AccountOutcome::WrongSignIn) {
        err << "zarv-server admin: no account named " << name << "\n";
        return 1;
    }
    if (outcome != AccountOutcome::Ok) {
        err << "zarv-server admin: " << accounts.error().toStdString() << "\n";
        return 1;
    }
    AdminAction a;
    a.atMs = QDateTime::currentMSecsSinceEpoch();
    a.action = action;
    a.target = AccountStore::kDeletedName;  // the name itself is what goes
    if (f.count("--reason")) a.reason = f.at("--reason").substr(0, 200);
    if (!db.Note(a)) err << "zarv-server admin: " << db.error().toStdString() << "\n";
    out << "deleted the account " << name << "\n";
    return 0;
}

} // namespace

int RunAdmin(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    static const std::vector<std::string> kActions = {"ban",           "unban", "mute",   "unmute",        "ban-address",
                                                      "unban-address", "list",  "export", "delete-account"};
    if (args.empty() || std::find(kActions.begin(), kActions.end(), args[0]) == kActions.end())
        return Usage(err, "say what to do");
    const std::string action = args[0];
    const bool list = action == "list";
    if (!list && (args.size() < 2 || args[1].rfind("--", 0) == 0)) return Usage(err, action + " needs a name or an address");
    std::map<std::string, std::string> f;
    try {
        f = cmdline::ParseOptions(args, list ? 1 : 2, {"--db", "--for", "--reason"});
    } catch (const cmdline::UsageError& e) {
        return Usage(err, e.message);
    }
    const QString where = f.count("--db") ? QString::fromStdString(f.at("--db")) : DefaultResultsFile();
    const auto opened = OpenForCommand(where, "zarv-server admin", err);
    if (!opened) return 1;
    ResultsDatabase& db = *opened;
    if (list) {
        List(db, out);
        return 0;
    }
    if (action == "export" || action == "delete-account") return Account(db, action, args[1], f, out, err);
    AdminAction a;
    a.atMs = QDateTime::currentMSecsSinceEpoch();
    a.action = action;
    a.target = args[1];
    if (action.find("address") != std::string::npos) {
        // A range as QHostAddress reads it; a single address is its own range.
        const auto range = QHostAddress::parseSubnet(QString::fromStdString(a.target));
        if (range.first.isNull()) return Usage(err, "'" + a.target + "' is no address or range such as 203.0.113.0/24");
        a.target = range.first.toString().toStdString() + "/" + std::to_string(range.second);
    } else {
        if (!net::IsLobbyText(a.target, 40)) return Usage(err, "'" + a.target + "' is no name a player may have");
        std::transform(a.target.begin(), a.target.end(), a.target.begin(), [](unsigned char c) { return std::tolower(c); });
    }
    if (f.count("--for")) {
        const int64_t lasting = ParseDuration(f.at("--for"));
        if (lasting < 0) return Usage(err, "--for takes a time such as 30m, 2h or 7d");
        a.untilMs = a.atMs + lasting;
    }
    if (f.count("--reason")) a.reason = f.at("--reason").substr(0, 200);
    if (!db.Act(a)) {
        err << "zarv-server admin: " << db.error().toStdString() << "\n";
        return 1;
    }
    out << a.action << " " << a.target << (a.untilMs ? " until " + Time(a.untilMs) : "") << "\n";
    return 0;
}

} // namespace zarv::server
