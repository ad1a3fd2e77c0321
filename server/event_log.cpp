#include "server/event_log.h"

#include <QDateTime>

namespace zarv::server {

void EventLog::Line(const std::string& line) {
    const std::lock_guard guard(lock_);
    out_ << QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs).toStdString() << ' ' << line << '\n';
    out_.flush();
}

} // namespace zarv::server
