#include "server/table_pump.h"

#include <cmath>

namespace zarv::server {

TablePump::TablePump() : start_(std::chrono::steady_clock::now()) {}

void TablePump::Post(Job job) {
    {
        std::lock_guard lock(mutex_);
        jobs_.push_back(std::move(job));
    }
    posted_.notify_one();
}

bool TablePump::RunPosted() {
    std::deque<Job> jobs;
    {
        std::lock_guard lock(mutex_);
        jobs.swap(jobs_);
    }
    for (Job& job : jobs) job();
    return !jobs.empty();
}

void TablePump::ProcessEvents() {
    RunPosted();
    if (beforeSleep_) beforeSleep_();
}

void TablePump::WaitForEvents(double deadline) {
    if (beforeSleep_) beforeSleep_();
    {
        std::unique_lock lock(mutex_);
        if (std::isinf(deadline)) {
            posted_.wait(lock, [this] { return !jobs_.empty(); });
        } else {
            const auto until = start_ + std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                                            std::chrono::duration<double>(std::max(0.0, deadline)));
            posted_.wait_until(lock, until, [this] { return !jobs_.empty(); });
        }
    }
    RunPosted();
    if (beforeSleep_) beforeSleep_();
}

double TablePump::Now() const {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
}

} // namespace zarv::server
