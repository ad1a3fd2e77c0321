// Records the tables' games on a thread of its own, so that neither a table
// nor the sockets wait for a disk or a database server. Games queue up while
// the database cannot take them and are written once it can; a game is
// reported "recorded" only after its transaction committed.
#pragma once

#include <QString>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

#include "server/rating_book.h"
#include "server/results_database.h"

namespace zarv::server {

class ResultsWriter : public ResultsSink {
public:
    using LogLine = std::function<void(const std::string&)>;
    ResultsWriter(QString where, LogLine log);
    ~ResultsWriter() override;

    // Opens the database (making or upgrading its schema) on the writer's
    // thread. False, with the reason, when it cannot.
    bool Start(QString* error);
    // Writes what is still queued, for at most the time given, and stops.
    void Finish(double seconds);

    void Record(GameRecord game) override;
    int64_t NowMs() const override;
    // The ten best of the last thirty days, as read after the last game.
    std::vector<Standing> Top() const override;
    bool SanctionsChanged(int& generation, Sanctions* now) const override;
    // The registered players' ratings, from every rated game kept.
    std::vector<RatedStanding> RatedTop() const override;
    int RatingOf(const std::string& name) const override;
    static constexpr double kSanctionsEvery = 2;  // seconds between two readings of the sanctions

    static constexpr size_t kMaxQueued = 10'000;

private:
    void Run();
    void ReadTop(ResultsDatabase& db);
    void ReadSanctions(ResultsDatabase& db);
    // The registered players' lines, from the book and the names registered now.
    void ReadRatings(ResultsDatabase& db);
    void WaitToRetry(ResultsDatabase& db, double& retryAfter);

    const QString where_;
    const LogLine log_;
    mutable std::mutex lock_;
    std::condition_variable wake_;
    std::deque<GameRecord> queue_;
    std::vector<Standing> top_;
    Sanctions sanctions_;
    std::string sanctionsSeen_;  // what they were, to tell a change
    int sanctionsGeneration_ = 0;
    RatingBook book_;  // the writer's thread's only
    std::vector<RatedStanding> ratedTop_;
    std::unordered_map<std::string, int> ratingByKey_;  // registered names' folded keys
    bool stopping_ = false;
    double stopBy_ = 0;  // seconds on the steady clock
    int opened_ = 0;     // 0 while opening, 1 open, -1 failed
    QString openError_;
    std::thread thread_;
};

} // namespace zarv::server
