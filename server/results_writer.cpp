#include "server/results_writer.h"

#include <algorithm>
#include <chrono>
#include <cmath>

#include "server/account_store.h"
#include "server/name_key.h"

namespace zarv::server {

namespace {

double SteadySeconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

std::string Describe(int64_t id, const GameRecord& g) {
    return std::string(g.finished ? "recorded game " : "recorded unfinished game ") + std::to_string(id) + " table " +
           std::to_string(g.table) + " points " + std::to_string(g.pointsA) + "-" + std::to_string(g.pointsB) +
           " hands " + std::to_string(g.hands.size());
}

constexpr int64_t kTopDays = 30;
constexpr int kTopCount = 10;

} // namespace

ResultsWriter::ResultsWriter(QString where, LogLine log) : where_(std::move(where)), log_(std::move(log)) {}

ResultsWriter::~ResultsWriter() { Finish(0); }

bool ResultsWriter::Start(QString* error) {
    thread_ = std::thread([this] { Run(); });
    std::unique_lock lk(lock_);
    wake_.wait(lk, [&] { return opened_ != 0; });
    if (opened_ > 0) return true;
    if (error) *error = openError_;
    lk.unlock();
    thread_.join();
    return false;
}

void ResultsWriter::Finish(double seconds) {
    {
        const std::lock_guard lk(lock_);
        if (!thread_.joinable()) return;
        stopping_ = true;
        stopBy_ = SteadySeconds() + seconds;
    }
    wake_.notify_all();
    thread_.join();
}

void ResultsWriter::Record(GameRecord game) {
    {
        const std::lock_guard lk(lock_);
        if (queue_.size() >= kMaxQueued) {
            log_("results: queue full, game of table " + std::to_string(game.table) + " not recorded");
            return;
        }
        queue_.push_back(std::move(game));
    }
    wake_.notify_all();
}

int64_t ResultsWriter::NowMs() const {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}

std::vector<Standing> ResultsWriter::Top() const {
    const std::lock_guard lk(lock_);
    return top_;
}

void ResultsWriter::ReadTop(ResultsDatabase& db) {
    auto top = db.Standings(NowMs() - kTopDays * 24 * 3600 * 1000, kTopCount);
    const std::lock_guard lk(lock_);
    top_ = std::move(top);
}

bool ResultsWriter::SanctionsChanged(int& generation, Sanctions* now) const {
    const std::lock_guard lk(lock_);
    if (generation == sanctionsGeneration_) return false;
    generation = sanctionsGeneration_;
    *now = sanctions_;
    return true;
}

std::vector<RatedStanding> ResultsWriter::RatedTop() const {
    const std::lock_guard lk(lock_);
    return ratedTop_;
}

int ResultsWriter::RatingOf(const std::string& name) const {
    const std::string key = KeysOf(name).folded;
    const std::lock_guard lk(lock_);
    const auto it = ratingByKey_.find(key);
    return it == ratingByKey_.end() ? kStartingRating : it->second;
}

void ResultsWriter::ReadRatings(ResultsDatabase& db) {
    const auto names = AccountStore(db).Names();
    if (!names) return;  // the database is away: the last ones hold
    std::vector<RatedStanding> all;
    std::unordered_map<std::string, int> byKey;
    for (const std::string& name : *names) {
        const RatedPlayer* p = book_.Find(name);
        const Rating r = p ? p->rating : Rating{};
        all.push_back({name, p ? p->games : 0, p ? p->wins : 0, static_cast<int>(std::nearbyint(r.rating)),
                       static_cast<int>(std::nearbyint(r.deviation))});
        byKey[KeysOf(name).folded] = all.back().rating;
    }
    // By rating, then by games: a new player's 1500 comes after those who played for theirs.
    std::stable_sort(all.begin(), all.end(), [](const RatedStanding& a, const RatedStanding& b) {
        return a.rating != b.rating ? a.rating > b.rating : a.games > b.games;
    });
    if (all.size() > static_cast<size_t>(kTopCount)) all.resize(static_cast<size_t>(kTopCount));
    const std::lock_guard lk(lock_);
    ratedTop_ = std::move(all);
    ratingByKey_ = std::move(byKey);
}

void ResultsWriter::ReadSanctions(ResultsDatabase& db) {
    auto now = db.SanctionsAt(NowMs());
    if (!now) return;  // the database is away: the last ones hold
    std::string seen;
    for (const Sanction& s : now->list)
        seen += std::string(KindName(s.kind)) + '\n' + s.target + '\n' + std::to_string(s.untilMs) + '\n' + s.reason + '\n';
    const std::lock_guard lk(lock_);
    if (seen == sanctionsSeen_) return;
    sanctionsSeen_ = std::move(seen);
    sanctions_ = std::move(*now);
    ++sanctionsGeneration_;
}

void ResultsWriter::WaitToRetry(ResultsDatabase& db, double& retryAfter) {
    // The database is away (a PostgreSQL server restarting, a full disk):
    // the game stays queued and is tried again, less often each time.
    log_("results database: " + db.error().toStdString() + "; trying again");
    {
        std::unique_lock lk(lock_);
        const double until = std::min(SteadySeconds() + retryAfter, stopping_ ? stopBy_ : 1e300);
        wake_.wait_for(lk, std::chrono::duration<double>(until - SteadySeconds()),
                       [&] { return stopping_ && SteadySeconds() > stopBy_; });
    }
    retryAfter = std::min(retryAfter * 2, 30.0);
    db.Open();
}

void ResultsWriter::Run() {
    ResultsDatabase db(where_);
    const bool ok = db.Open();
    {
        const std::lock_guard lk(lock_);
        opened_ = ok ? 1 : -1;
        openError_ = db.error();
    }
    wake_.notify_all();
    if (!ok) return;
    ReadTop(db);
    // Every rated game kept so far, in the order recorded.
    for (const auto& [id, game] : db.Games()) book_.Add(game);
    ReadRatings(db);
    double retryAfter = 0.5;
    double readSanctionsAt = 0;
    for (;;) {
        // An admin may change the sanctions while the server runs.
        if (SteadySeconds() >= readSanctionsAt) {
            ReadSanctions(db);
            ReadRatings(db);
            readSanctionsAt = SteadySeconds() + kSanctionsEvery;
        }
        GameRecord game;
        {
            std::unique_lock lk(lock_);
            wake_.wait_for(lk, std::chrono::duration<double>(std::max(0.0, readSanctionsAt - SteadySeconds())),
                           [&] { return stopping_ || !queue_.empty(); });
            if (queue_.empty()) {
                if (stopping_) return;
                continue;
            }
            if (stopping_ && SteadySeconds() > stopBy_) {
                log_("results: time is up, " + std::to_string(queue_.size()) + " games not recorded");
                return;
            }
            game = queue_.front();
        }
        const auto id = db.Record(game);
        if (!id) {
            WaitToRetry(db, retryAfter);
            continue;
        }
        retryAfter = 0.5;
        bool more = false;
        {
            const std::lock_guard lk(lock_);
            queue_.pop_front();
            more = !queue_.empty();
        }
        log_(Describe(*id, game));
        book_.Add(game);
        if (!more) {
            ReadTop(db);
            ReadRatings(db);
        }
    }
}

} // namespace zarv::server
