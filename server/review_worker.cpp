#include "server/review_worker.h"

#include <algorithm>

namespace zarv::server {

std::atomic<int> ReviewWorker::running_{0};
std::atomic<int> ReviewWorker::atOnce_{0};

int ReviewWorker::AtOnce() {
    if (atOnce_ > 0) return atOnce_;
    // Half the cores: the other half keep the tables playing.
    return std::max(1, static_cast<int>(std::thread::hardware_concurrency()) / 2);
}

ReviewWorker::~ReviewWorker() {
    // A review in hand stops looking at worlds, so the table's owner is not
    // held up. Not under the lock: the review's last step takes it. Nothing
    // starts another review while its owner is being taken down.
    stopping_ = true;
    if (thread_.joinable()) thread_.join();
}

bool ReviewWorker::Start(SavedHand hand, int seat, Done done) {
    std::lock_guard<std::mutex> hold(lock_);
    if (busy_) return false;
    // A place among the server's reviews, taken or refused in one step.
    int now = running_.load();
    do {
        if (now >= AtOnce()) return false;
    } while (!running_.compare_exchange_weak(now, now + 1));
    if (thread_.joinable()) thread_.join();  // the last one has ended: it cleared busy_
    busy_ = true;
    thread_ = std::thread([this, hand = std::move(hand), seat, done = std::move(done)] {
        // One thread a review: the server's cores are shared out above.
        ai::ExpertOptions options = ai::ReviewOptions(1);
        options.stop = [this] { return stopping_.load(); };
        std::optional<ai::HandReview> review = ai::ReviewHand(hand, seat, options);
        if (!stopping_) done(std::move(review));  // a review cut short tells nothing
        --running_;
        std::lock_guard<std::mutex> free(lock_);
        busy_ = false;
    });
    return true;
}

} // namespace zarv::server
