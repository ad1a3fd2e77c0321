// The server's log: one line per event, stamped with the UTC time, written
// whole from any thread (the sockets', the tables', the results writer's).
#pragma once

#include <mutex>
#include <ostream>
#include <string>

namespace zarv::server {

class EventLog {
public:
    explicit EventLog(std::ostream& out) : out_(out) {}
    void Line(const std::string& line);

private:
    std::ostream& out_;
    std::mutex lock_;
};

} // namespace zarv::server
