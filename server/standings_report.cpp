#include "server/standings_report.h"

#include <QDate>
#include <QDateTime>
#include <QTimeZone>
#include <cmath>
#include <cstdio>

#include "cmdline/options.h"

namespace zarv::server {

std::string StandingsTable(const std::vector<Standing>& standings) {
    std::string text = "rank  games   wins  points  hakem-won  name\n";
    char line[96];
    int rank = 0;
    for (const Standing& s : standings) {
        std::snprintf(line, sizeof line, "%4d %6d %6d %7d %10d  ", ++rank, s.games, s.wins, s.points, s.hakemWins);
        text += line + s.name + "\n";
    }
    return text;
}

std::string RatingsTable(const std::vector<RatedPlayer>& players) {
    std::string text = "rank  rating  +-2dev  games  name\n";
    char line[96];
    int rank = 0;
    for (const RatedPlayer& p : players) {
        std::snprintf(line, sizeof line, "%4d %7.0f %7.0f %6d  ", ++rank, std::nearbyint(p.rating.rating),
                      std::nearbyint(2 * p.rating.deviation), p.games);
        text += line + p.name + "\n";
    }
    return text;
}

int RunStats(const std::vector<std::string>& given, std::ostream& out, std::ostream& err) {
    std::vector<std::string> args(given);
    const bool ratings = std::erase(args, std::string("--ratings")) > 0;
    std::map<std::string, std::string> f;
    try {
        f = cmdline::ParseOptions(args, 0, {"--db", "--since", "--top"});
    } catch (const cmdline::UsageError& e) {
        err << "zarv-server stats: " << e.message << "\n";
        return 2;
    }
    const QString where = f.count("--db") ? QString::fromStdString(f.at("--db")) : DefaultResultsFile();
    int64_t since = 0;
    if (f.count("--since")) {
        const QDate date = QDate::fromString(QString::fromStdString(f.at("--since")), Qt::ISODate);
        if (!date.isValid()) {
            err << "zarv-server stats: --since takes a date such as 2026-01-31, not '" << f.at("--since") << "'\n";
            return 2;
        }
        since = QDateTime(date, QTime(0, 0), QTimeZone::utc()).toMSecsSinceEpoch();
    }
    int top = -1;
    try {
        if (f.count("--top")) top = static_cast<int>(cmdline::ParseWhole(f.at("--top"), "--top", 1, 1'000'000));
    } catch (const cmdline::UsageError& e) {
        err << "zarv-server stats: " << e.message << "\n";
        return 2;
    }
    // Reading the standings never makes a database where there was none.
    const auto opened = OpenForCommand(where, "zarv-server stats", err);
    if (!opened) return 1;
    ResultsDatabase& db = *opened;
    if (ratings) {
        // Every finished game in the order it ended (--since does not apply:
        // a rating is made of all of a player's games).
        RatingBook book;
        for (const auto& [id, game] : db.Games()) book.Add(game);
        if (!db.error().isEmpty()) {
            err << "zarv-server stats: " << db.error().toStdString() << "\n";
            return 1;
        }
        out << RatingsTable(book.Top(top));
        return 0;
    }
    const auto standings = db.Standings(since, top);
    if (!db.error().isEmpty()) {
        err << "zarv-server stats: " << db.error().toStdString() << "\n";
        return 1;
    }
    out << StandingsTable(standings);
    return 0;
}

} // namespace zarv::server
