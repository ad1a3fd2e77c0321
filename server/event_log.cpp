#include "server/event_log.h"

#include <chrono>
#include <cstdio>
#include <ctime>

namespace zarv::server {

namespace {

// "2026-12-08T15:39:12.995Z": UTC to the millisecond.
std::string UtcStamp() {
    const auto now = std::chrono::system_clock::now();
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    std::tm utc{};
    gmtime_r(&seconds, &utc);
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d.%03dZ", utc.tm_year + 1900, utc.tm_mon + 1,
                  utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec, static_cast<int>(ms));
    return text;
}

} // namespace

void EventLog::Line(const std::string& line) {
    const std::lock_guard guard(lock_);
    // One event, one line: what a peer sent (a name, a message) cannot
    // start a line of its own or steer a terminal.
    std::string safe = line;
    for (char& c : safe)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) c = '?';
    out_ << UtcStamp() << ' ' << safe << '\n';
    out_.flush();
}

} // namespace zarv::server
