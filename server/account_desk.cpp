#include "server/account_desk.h"

#include <chrono>

#include "server/account_store.h"

namespace zarv::server {

namespace {

double SteadySeconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

int64_t WallMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}

AccountAnswer Carry(const AccountRequest& r, AccountOutcome outcome, std::string name = {}, std::string token = {}) {
    return {r.kind, r.connection, outcome, std::move(name), std::move(token)};
}

AccountAnswer Serve(AccountStore& store, const AccountRequest& r) {
    using Kind = AccountRequest::Kind;
    const int64_t now = WallMs();
    AccountStore::Session s;
    switch (r.kind) {
        case Kind::Register: s = store.Register(r.name, r.secret, now); break;
        case Kind::SignIn: s = store.SignIn(r.name, r.secret, now); break;
        case Kind::Resume: s = store.Resume(r.name, r.secret, now); break;
        case Kind::Password: s = store.ChangePassword(r.name, r.secret, r.newSecret, now); break;
        case Kind::SignOut:
            return Carry(r, store.SignOut(r.secret) ? AccountOutcome::Ok : AccountOutcome::Unavailable, r.name);
        case Kind::Delete: return Carry(r, store.Delete(r.name, r.secret), r.name);
    }
    return Carry(r, s.outcome, s.outcome == AccountOutcome::Ok ? s.name : r.name, s.token);
}

} // namespace

AccountDesk::AccountDesk(QString where, LogLine log, Answer answer)
    : where_(std::move(where)), log_(std::move(log)), answer_(std::move(answer)) {}

AccountDesk::~AccountDesk() { Finish(); }

bool AccountDesk::Start(QString* error) {
    thread_ = std::thread([this] { Run(); });
    std::unique_lock lk(lock_);
    wake_.wait(lk, [&] { return opened_ != 0; });
    if (opened_ > 0) return true;
    if (error) *error = openError_;
    lk.unlock();
    thread_.join();
    return false;
}

void AccountDesk::Finish() {
    {
        const std::lock_guard lk(lock_);
        if (!thread_.joinable()) return;
        stopping_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

bool AccountDesk::Ask(AccountRequest request) {
    {
        const std::lock_guard lk(lock_);
        if (stopping_ || queue_.size() >= kMaxQueued) return false;
        queue_.push_back(std::move(request));
    }
    wake_.notify_all();
    return true;
}

bool AccountDesk::ReservedChanged(int& generation, std::vector<NameKeys>* now) const {
    const std::lock_guard lk(lock_);
    if (generation == reservedGeneration_) return false;
    generation = reservedGeneration_;
    *now = reserved_;
    return true;
}

void AccountDesk::Run() {
    ResultsDatabase db(where_);
    const bool ok = db.Open();
    {
        const std::lock_guard lk(lock_);
        opened_ = ok ? 1 : -1;
        openError_ = db.error();
    }
    wake_.notify_all();
    if (!ok) return;
    AccountStore store(db);
    double readAt = 0, sweepAt = 0;
    std::vector<std::pair<std::string, std::string>> seen;  // the keys last read, to tell a change
    for (;;) {
        const double now = SteadySeconds();
        if (now >= sweepAt) {
            if (const int gone = store.ForgetIdleSessions(WallMs()); gone > 0)
                log_("accounts: " + std::to_string(gone) + " idle sessions ended");
            sweepAt = now + kForgetSessionsEvery;
        }
        if (now >= readAt) {
            if (auto keys = store.Reserved()) {
                std::vector<std::pair<std::string, std::string>> pairs;
                for (const NameKeys& k : *keys) pairs.emplace_back(k.folded, k.looks);
                if (pairs != seen) {
                    seen = std::move(pairs);
                    const std::lock_guard lk(lock_);
                    reserved_ = std::move(*keys);
                    ++reservedGeneration_;
                }
            }
            readAt = now + kReservedEvery;
        }
        AccountRequest request;
        {
            std::unique_lock lk(lock_);
            wake_.wait_for(lk, std::chrono::duration<double>(std::max(0.0, readAt - SteadySeconds())),
                           [&] { return stopping_ || !queue_.empty(); });
            if (stopping_) {
                for (const AccountRequest& r : queue_) answer_(Carry(r, AccountOutcome::Unavailable));
                queue_.clear();
                return;
            }
            if (queue_.empty()) continue;
            request = std::move(queue_.front());
            queue_.pop_front();
        }
        const AccountAnswer answer = Serve(store, request);
        if (answer.outcome == AccountOutcome::Unavailable) log_("accounts: " + store.error().toStdString());
        // A new name is reserved at once, not at the next reading.
        if (answer.outcome == AccountOutcome::Ok &&
            (request.kind == AccountRequest::Kind::Register || request.kind == AccountRequest::Kind::Delete))
            readAt = 0;
        answer_(answer);
    }
}

} // namespace zarv::server
