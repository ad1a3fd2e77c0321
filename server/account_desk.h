// Answers the lobby's account requests on a thread of its own, with its own
// connection to the results database: hashing a password takes a good part
// of a second of one core, and the sockets never wait for it. Requests
// queue up to a bound; past it the asker hears that the server is busy.
// Every few seconds it reads which names are registered, so that the lobby
// reserves names registered through another server sharing the database.
#pragma once

#include <QString>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "server/account_request.h"
#include "server/name_key.h"

namespace zarv::server {

class AccountDesk {
public:
    using Answer = std::function<void(AccountAnswer)>;  // called on the desk's thread
    using LogLine = std::function<void(const std::string&)>;
    AccountDesk(QString where, LogLine log, Answer answer);
    ~AccountDesk();

    // Opens the database on the desk's thread; false, with the reason, when it cannot.
    bool Start(QString* error);
    // Answers what is queued as unavailable, and stops.
    void Finish();

    // False when the queue is full (the request is not taken).
    bool Ask(AccountRequest request);
    // The registered names' keys, when they changed since the generation given.
    bool ReservedChanged(int& generation, std::vector<NameKeys>* now) const;

    static constexpr size_t kMaxQueued = 64;
    static constexpr double kReservedEvery = 2;          // seconds between two readings of the names
    static constexpr double kForgetSessionsEvery = 3600;  // seconds between two sweeps of idle sessions

private:
    void Run();

    const QString where_;
    const LogLine log_;
    const Answer answer_;
    mutable std::mutex lock_;
    std::condition_variable wake_;
    std::deque<AccountRequest> queue_;
    std::vector<NameKeys> reserved_;
    int reservedGeneration_ = 0;
    bool stopping_ = false;
    int opened_ = 0;  // 0 while opening, 1 open, -1 failed
    QString openError_;
    std::thread thread_;
};

} // namespace zarv::server
