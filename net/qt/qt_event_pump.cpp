#include "net/qt/qt_event_pump.h"

#include <QCoreApplication>
#include <cmath>

namespace zarv {

QtEventPump::QtEventPump() {
    clock_.start();
    wakeUp_.setSingleShot(true);
    wakeUp_.setTimerType(Qt::PreciseTimer);
}

void QtEventPump::ProcessEvents() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

void QtEventPump::WaitForEvents(double deadline) {
    ++waits_;
    if (!std::isinf(deadline)) {
        const double remaining = deadline - Now();
        if (remaining <= 0) {
            ProcessEvents();
            return;
        }
        wakeUp_.start(static_cast<int>(std::ceil(remaining * 1000.0)));
    }
    // Blocks in the dispatcher until something happens: no polling.
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    wakeUp_.stop();
}

// Starts at one second, so that a pause start of 0 never occurs naturally.
double QtEventPump::Now() const { return 1.0 + clock_.nsecsElapsed() / 1e9; }

} // namespace zarv
