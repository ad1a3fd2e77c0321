#include "tools/web_load.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <QTimer>
#include <QWebSocket>
#include <algorithm>
#include <cmath>
#include <memory>
#include <mutex>
#include <ostream>
#include <random>

#include <nlohmann/json.hpp>

namespace zarv::sim {

namespace {

using nlohmann::json;

struct Results {
    std::mutex mutex;
    std::vector<double> moves;
    int failures = 0;
    std::vector<std::string> reasons;
    void Add(const std::vector<double>& times, bool ok, const std::string& why) {
        std::lock_guard lock(mutex);
        moves.insert(moves.end(), times.begin(), times.end());
        if (ok) return;
        ++failures;
        if (reasons.size() < 5) reasons.push_back(why);
    }
};

// One browser at a table: it greets, makes the table or finds it in the
// lobby, sits, and plays each decision with the first card it may play after
// thinking a while, until it has played its games. A move's time runs from
// the card sent to the next message of the server.
class WebBot : public QObject {
public:
    WebBot(const WebLoadPlan& plan, int table, int seat, Results& results, std::function<void()> done)
        : plan_(plan), seat_(seat), results_(results), done_(std::move(done)),
          socket_(QStringLiteral("http://%1:%2").arg(QString::fromStdString(plan.host)).arg(plan.port)),
          random_(plan.seed * 1000003 + static_cast<uint64_t>(table * 4 + seat)) {
        tableName_ = "web-" + std::to_string(plan.seed) + "-" + std::to_string(table + 1);
        name_ = tableName_ + "-" + std::to_string(seat);
        connect(&socket_, &QWebSocket::connected, this, [this] { Send({{"t", "hello"}, {"v", 1}, {"name", name_}}); });
        connect(&socket_, &QWebSocket::textMessageReceived, this, [this](const QString& text) { Receive(text.toStdString()); });
        connect(&socket_, &QWebSocket::disconnected, this, [this] { Finish(false, "connection closed: " + socket_.closeReason().toStdString()); });
        clock_.start();
    }
    void Start() {
        socket_.open(QUrl(QStringLiteral("ws://%1:%2/ws").arg(QString::fromStdString(plan_.host)).arg(plan_.port)));
        // A bot that gets nowhere in time has failed (bounded, as every wait).
        QTimer::singleShot(static_cast<int>(600'000 + plan_.games * 900'000.0 * std::max(plan_.think, 0.05)), this,
                           [this] { Finish(false, "out of time after " + std::to_string(games_) + " games"); });
    }

private:
    void Send(const json& message) { socket_.sendTextMessage(QString::fromStdString(message.dump())); }
    double Now() const { return static_cast<double>(clock_.nsecsElapsed()) / 1e9; }

    void Receive(const std::string& text) {
        const json m = json::parse(text, nullptr, false);
        const std::string type = m.is_object() ? m.value("t", "") : "";
        if (type == "beat") return;
        if (sentAt_ >= 0) {
            times_.push_back(Now() - sentAt_);
            sentAt_ = -1;
        }
        if (type == "welcome" && seat_ == 1) Send({{"t", "make"}, {"name", tableName_}, {"moveLimit", 60}});
        if (type == "made") Send({{"t", "sit"}, {"table", m["table"]}, {"seat", 1}});
        if (type == "lobbyTable" && seat_ != 1 && !sitting_ && m["table"]["name"] == tableName_) {
            sitting_ = true;
            Send({{"t", "sit"}, {"table", m["table"]["id"]}, {"seat", seat_}});
        }
        if (type == "no" || type == "closing" || type == "bad") Finish(false, text);
        if (type == "view") View(m);
    }

    void View(const json& v) {
        if (v["phase"] == "over" && v.value("deal", 0) != lastOver_) {
            lastOver_ = v.value("deal", 0);
            if (++games_ >= plan_.games) return Finish(true, "");
            if (seat_ == 1) Send({{"t", "again"}});
            return;
        }
        const std::string decide = v.value("decide", "");
        if (decide.empty() || thinking_) return;
        thinking_ = true;
        const json move = decide == "trump" ? json{{"t", "trump"}, {"suit", v["hand"][0].get<std::string>().substr(0, 1)}}
                                            : json{{"t", "play"}, {"card", v["legal"][0]}};
        std::uniform_real_distribution<double> pause(0, plan_.think);
        QTimer::singleShot(static_cast<int>(pause(random_) * 1000), this, [this, move] {
            thinking_ = false;
            sentAt_ = Now();
            Send(move);
        });
    }

    void Finish(bool ok, const std::string& why) {
        if (finished_) return;
        finished_ = true;
        results_.Add(times_, ok, name_ + ": " + why.substr(0, 200));
        socket_.disconnect(this);
        socket_.close();
        done_();
    }

    const WebLoadPlan plan_;
    const int seat_;
    Results& results_;
    std::function<void()> done_;
    QWebSocket socket_;
    std::mt19937_64 random_;
    QElapsedTimer clock_;
    std::string tableName_, name_;
    std::vector<double> times_;
    double sentAt_ = -1;
    int games_ = 0, lastOver_ = -1;
    bool sitting_ = false, thinking_ = false, finished_ = false;
};

double Percentile(std::vector<double>& values, double p) {
    if (values.empty()) return 0;
    const size_t k = static_cast<size_t>(std::ceil(p * static_cast<double>(values.size()))) - 1;
    std::nth_element(values.begin(), values.begin() + static_cast<long>(k), values.end());
    return values[k];
}

} // namespace

int RunWebLoad(const WebLoadPlan& plan, std::ostream& out, std::ostream& err) {
    Results results;
    // A few threads, each with an event loop of its own and its share of the bots.
    const int threads = std::clamp(plan.tables / 50 + 1, 1, 8);
    std::vector<std::unique_ptr<QThread>> workers;
    QElapsedTimer started;
    started.start();
    for (int w = 0; w < threads; ++w) {
        workers.emplace_back(QThread::create([&plan, &results, w, threads] {
            std::vector<std::unique_ptr<WebBot>> bots;
            int running = 0;
            QEventLoop loop;
            for (int t = w; t < plan.tables; t += threads)
                for (int seat : {1, 2, 4}) {
                    ++running;
                    bots.push_back(std::make_unique<WebBot>(plan, t, seat, results, [&] {
                        if (--running == 0) loop.quit();
                    }));
                }
            // One after another, the tables in order, each table's maker first.
            for (size_t i = 0; i < bots.size(); ++i) {
                const size_t arrival = (i / 3) * static_cast<size_t>(threads * 3) + static_cast<size_t>(w * 3) + i % 3;
                const int at = plan.arrivals > 0 ? static_cast<int>(arrival * 1000 / static_cast<size_t>(plan.arrivals)) : 0;
                QTimer::singleShot(at, bots[i].get(), [b = bots[i].get()] { b->Start(); });
            }
            if (running > 0) loop.exec();
        }));
        workers.back()->start();
    }
    for (auto& worker : workers) worker->wait();
    const double seconds = static_cast<double>(started.elapsed()) / 1000;
    const size_t count = results.moves.size();
    const double p50 = Percentile(results.moves, 0.50) * 1000, p99 = Percentile(results.moves, 0.99) * 1000;
    char line[256];
    std::snprintf(line, sizeof line, "load tables %d games %d moves %zu seconds %.1f move-p50-ms %.2f move-p99-ms %.2f failures %d\n",
                  plan.tables, plan.games, count, seconds, p50, p99, results.failures);
    out << line;
    for (const std::string& reason : results.reasons) err << "zarv-sim: failed: " << reason << '\n';
    return results.failures == 0 ? 0 : 1;
}

} // namespace zarv::sim
