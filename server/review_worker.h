// A table's reviews of finished hands, made on a thread of their own so that
// the table never waits for them: one at a time at a table, and only a few
// at once in the whole server, so that reviews never take the cores the
// tables play on. A review asked for beyond that is refused, not queued.
#pragma once

#include <atomic>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

#include "ai/hand_review.h"

namespace zarv::server {

class ReviewWorker {
public:
    using Done = std::function<void(std::optional<ai::HandReview>)>;
    ReviewWorker() = default;
    ~ReviewWorker();  // stops the review in hand and waits for it to end
    ReviewWorker(const ReviewWorker&) = delete;
    ReviewWorker& operator=(const ReviewWorker&) = delete;

    // Starts reviewing the seat's decisions in the hand; `done` runs on the
    // worker's thread with the result. False when this table already has a
    // review in hand or the server has as many as it allows.
    bool Start(SavedHand hand, int seat, Done done);

    // Reviews being made in the whole server at this moment.
    static int Running() { return running_.load(); }
    // How many the server makes at once: by default half the cores (at least one).
    static int AtOnce();
    static void SetAtOnce(int reviews) { atOnce_ = reviews; }

private:
    static std::atomic<int> running_;
    static std::atomic<int> atOnce_;  // 0: half the cores
    std::mutex lock_;
    std::thread thread_;
    bool busy_ = false;
    std::atomic<bool> stopping_{false};  // the worker is being taken down
};

} // namespace zarv::server
