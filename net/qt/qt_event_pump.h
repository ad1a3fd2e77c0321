// The engine's waits on the Qt event loop: they sleep in the event dispatcher
// until an event arrives or a timer set for the deadline fires.
#pragma once

#include <QElapsedTimer>
#include <QTimer>

#include "engine/interfaces.h"

namespace zarv {

class QtEventPump : public EventPump {
public:
    QtEventPump();
    void ProcessEvents() override;
    void WaitForEvents(double deadline) override;
    double Now() const override;
    // How often a wait has slept (a loop that wakes itself would count up fast).
    long waits() const { return waits_; }

private:
    QElapsedTimer clock_;
    QTimer wakeUp_;
    long waits_ = 0;
};

} // namespace zarv
