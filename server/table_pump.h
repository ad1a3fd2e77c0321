// The waits of a table that runs on a thread of its own. The socket thread
// posts work (a message, a lost connection, a command); a wait sleeps on a
// condition variable until work arrives or its deadline passes, and runs the
// work on the table's thread, so the table's game is only ever touched there.
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

#include "engine/interfaces.h"

namespace zarv::server {

class TablePump : public EventPump {
public:
    using Job = std::function<void()>;
    TablePump();
    // Any thread: the job runs on the table's thread at its next wait.
    void Post(Job job);
    // Runs on the table's thread whenever it has done what was posted and
    // before it sleeps (the table sends what it has written meanwhile).
    void SetBeforeSleep(Job job) { beforeSleep_ = std::move(job); }
    // The table's thread.
    void ProcessEvents() override;
    void WaitForEvents(double deadline) override;
    double Now() const override;

private:
    // Runs the jobs posted so far; true when there was at least one.
    bool RunPosted();
    std::mutex mutex_;
    std::condition_variable posted_;
    std::deque<Job> jobs_;
    Job beforeSleep_;
    const std::chrono::steady_clock::time_point start_;
};

} // namespace zarv::server
