#include "tools/load.h"

#include <QThread>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <ostream>
#include <sstream>

#include "net/wire.h"
#include "cmdline/options.h"
#include "tools/flooder.h"
#include "tools/table_join.h"
#include "tools/web_load.h"

namespace zarv::sim {

using namespace cmdline;

namespace {

// A table's number, made by its first bot, for the two that sit with it.
struct TableNumber {
    std::mutex mutex;
    std::condition_variable known;
    int id = -1;  // 0: making it failed
    void Set(int value) {
        {
            std::lock_guard lock(mutex);
            id = value;
        }
        known.notify_all();
    }
    void SetIfUnknown(int value) {
        {
            std::lock_guard lock(mutex);
            if (id < 0) id = value;
        }
        known.notify_all();
    }
    int Get() {
        std::unique_lock lock(mutex);
        known.wait(lock, [this] { return id >= 0; });
        return id;
    }
};

double Percentile(std::vector<double>& values, double p) {
    if (values.empty()) return 0;
    const size_t k = static_cast<size_t>(std::ceil(p * static_cast<double>(values.size()))) - 1;
    std::nth_element(values.begin(), values.begin() + static_cast<long>(k), values.end());
    return values[k];
}

struct LoadPlan {
    net::HostPort where;
    bool noPauses = false;
    double think = 1.0;
    int tables = 0;
    int games = 1;
    uint64_t seed = 1;
    ai::Level level = ai::Level::Standard;
    int arrivals = 100;  // browsers a second (0: all at once); only with --web
    std::string flood;   // "chat" or "junk": seat 4 of the first table floods
};

LoadPlan ParseLoad(const std::vector<std::string>& args) {
    if (args.size() < 2 || args[1].rfind("--", 0) == 0) throw UsageError{"load needs the server's HOST:PORT"};
    net::NoticeText why;
    const auto where = net::ParseHostPort(args[1], &why);
    if (!where) throw UsageError{why.words};
    LoadPlan plan;
    plan.where = *where;
    std::vector<std::string> rest(args);
    // Against a server that skips its pauses, the bots skip theirs too.
    plan.noPauses = std::erase(rest, std::string("--no-pauses")) > 0;
    const auto o = ParseOptions(rest, 2, {"--tables", "--games", "--seed", "--level", "--think-ms", "--arrivals", "--flood"});
    // People take a moment over a card; bots that all answer at once would
    // move every table in the same instant.
    if (o.count("--think-ms")) plan.think = static_cast<double>(ParseWhole(o.at("--think-ms"), "--think-ms", 0, 60'000)) / 1000;
    if (!o.count("--tables")) throw UsageError{"load needs --tables N"};
    plan.tables = static_cast<int>(ParseWhole(o.at("--tables"), "--tables", 1, 10'000));
    if (o.count("--games")) plan.games = static_cast<int>(ParseWhole(o.at("--games"), "--games", 1, 1000));
    if (o.count("--seed")) plan.seed = ParseSeed(o.at("--seed"), "--seed");
    const auto level = ai::LevelFromText(o.count("--level") ? o.at("--level") : "standard");
    if (!level) throw UsageError{"--level must be " + ai::LevelChoices()};
    plan.level = *level;
    if (o.count("--arrivals")) plan.arrivals = static_cast<int>(ParseWhole(o.at("--arrivals"), "--arrivals", 0, 100'000));
    if (o.count("--flood")) {
        plan.flood = o.at("--flood");
        if (plan.flood != "chat" && plan.flood != "junk" && plan.flood != "acks")
            throw UsageError{"--flood must be chat, junk or acks"};
    }
    return plan;
}

// The bot at seat of the t-th table (0-based).
TablePlan BotPlan(const LoadPlan& load, int t, int seat) {
    TablePlan plan;
    plan.host = load.where.host;
    plan.port = load.where.port;
    plan.table = "load-" + std::to_string(load.seed) + "-" + std::to_string(t + 1);
    plan.name = plan.table + "-" + std::to_string(seat);
    plan.seat = seat;
    plan.games = load.games;
    plan.seed = load.seed * 1000003 + static_cast<uint64_t>(t * 4 + seat);
    plan.make.level = load.level;
    plan.pauses = !load.noPauses;
    plan.thinkSeconds = load.think;
    plan.create = seat == 1;
    return plan;
}

// What the bots measured, from their threads.
struct LoadResults {
    std::mutex mutex;
    std::vector<double> moves;
    int failures = 0;
    std::vector<std::string> reasons;  // the first few, for the person measuring

    void Failed() {
        std::lock_guard lock(mutex);
        ++failures;
    }
    void Add(const TablePlan& plan, int status, const BotStats& stats, const std::string& said) {
        std::lock_guard lock(mutex);
        moves.insert(moves.end(), stats.moveSeconds.begin(), stats.moveSeconds.end());
        if (status == 0 && stats.gamesFinished >= plan.games) return;
        ++failures;
        if (reasons.size() < 5)
            reasons.push_back(plan.name + ": status " + std::to_string(status) + ", " + std::to_string(stats.gamesFinished) +
                              " games; " + said);
    }
};

// One bot, on a thread of its own: the table's maker, or one who waits to
// hear the table's number from it.
void RunBot(TablePlan plan, TableNumber& number, LoadResults& results) {
    if (!plan.create) {
        plan.tableId = number.Get();
        if (plan.tableId == 0) return results.Failed();
    }
    std::ostringstream lines, problems;
    BotStats stats;
    const int status = RunTableBot(plan, lines, problems, &stats);
    if (plan.create) number.SetIfUnknown(0);
    results.Add(plan, status, stats, problems.str() + lines.str().substr(0, 300));
}

// The hostile seat at the first table, once the table is made; it floods until the bots are done.
std::unique_ptr<QThread> StartFlooder(const LoadPlan& load, TableNumber& first, const std::atomic<bool>& botsDone,
                                      FloodResult& result) {
    FloodPlan plan;
    plan.host = load.where.host;
    plan.port = load.where.port;
    plan.kind = load.flood == "chat" ? FloodPlan::Kind::Chat : load.flood == "junk" ? FloodPlan::Kind::Junk : FloodPlan::Kind::Acks;
    plan.name = "flooder-" + std::to_string(load.seed);
    std::unique_ptr<QThread> thread(QThread::create([plan, &first, &botsDone, &result]() mutable {
        plan.table = first.Get();
        result = RunFlooder(plan, botsDone);
    }));
    thread->start();
    return thread;
}

void ReportFlood(const std::string& kind, const FloodResult& flood, std::ostream& out) {
    char line[256];
    out << "flooder " << kind << " sent-mb " << flood.bytesSent / 1'000'000 << " closed-after-s ";
    if (flood.closedAfter >= 0)
        std::snprintf(line, sizeof line, "%.2f\n", flood.closedAfter);
    else
        std::snprintf(line, sizeof line, "never%s%s\n", flood.failure.empty() ? "" : " ", flood.failure.c_str());
    out << line;
}

} // namespace

int RunLoad(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::vector<std::string> rest(args);
    const bool web = std::erase(rest, std::string("--web")) > 0;
    const LoadPlan load = ParseLoad(rest);
    if (!web && std::find(rest.begin(), rest.end(), "--arrivals") != rest.end())
        throw UsageError{"--arrivals is for browsers (--web)"};
    if (web && !load.flood.empty()) throw UsageError{"--flood is for the protocol's port, not --web"};
    if (web) {
        // Browsers at the web port: the port given is the web port.
        WebLoadPlan plan{load.where.host, load.where.port, load.tables, load.games, load.seed, load.think, load.arrivals};
        return RunWebLoad(plan, out, err);
    }
    std::vector<std::unique_ptr<TableNumber>> numbers;
    for (int t = 0; t < load.tables; ++t) numbers.push_back(std::make_unique<TableNumber>());
    LoadResults results;
    std::vector<std::unique_ptr<QThread>> threads;
    const auto started = std::chrono::steady_clock::now();
    for (int t = 0; t < load.tables; ++t) {
        TableNumber& number = *numbers[static_cast<size_t>(t)];
        for (int seat : {1, 2, 4}) {
            if (t == 0 && seat == 4 && !load.flood.empty()) continue;  // the flooder's
            TablePlan plan = BotPlan(load, t, seat);
            if (plan.create) plan.onSeatKept = [&number](int id) { number.Set(id); };
            threads.emplace_back(QThread::create([plan, &number, &results] { RunBot(plan, number, results); }));
            threads.back()->setStackSize(512 * 1024);
            threads.back()->start();
        }
    }
    std::atomic<bool> botsDone{false};
    FloodResult flood;
    std::unique_ptr<QThread> flooder;
    if (!load.flood.empty()) flooder = StartFlooder(load, *numbers[0], botsDone, flood);
    for (auto& thread : threads) thread->wait();
    botsDone = true;
    if (flooder) flooder->wait();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    const size_t count = results.moves.size();
    const double p50 = Percentile(results.moves, 0.50) * 1000, p99 = Percentile(results.moves, 0.99) * 1000;
    char line[256];
    std::snprintf(line, sizeof line, "load tables %d games %d moves %zu seconds %.1f move-p50-ms %.2f move-p99-ms %.2f failures %d\n",
                  load.tables, load.games, count, seconds, p50, p99, results.failures);
    out << line;
    if (flooder) ReportFlood(load.flood, flood, out);
    for (const std::string& reason : results.reasons) err << "zarv-sim: failed: " << reason << '\n';
    return results.failures == 0 ? 0 : 1;
}

} // namespace zarv::sim
