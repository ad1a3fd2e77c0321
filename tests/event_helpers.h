// Waiting in window tests without sleeping: a clock that stands still, so that
// only an event (a click, a stop) can end a wait, and a way to let posted
// events (a resize, a layout) arrive.
#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QObject>

#include "engine/interfaces.h"

namespace zarv::testing {

// Qt's event loop with a clock that never moves: a wait that would end by
// time alone waits until the test's own event ends it (or ctest's limit
// fails the test).
class FrozenClockPump : public EventPump {
public:
    void ProcessEvents() override { QCoreApplication::processEvents(); }
    void WaitForEvents(double) override {
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
    double Now() const override { return 1.0; }
};

// Delivers what was posted (resizes, layout requests) and what that posts in turn.
inline void DeliverPostedEvents() {
    for (int round = 0; round < 3; ++round) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }
}

// Counts the widgets of one type that are shown while it lives.
template <typename Widget>
class ShowCounter : public QObject {
public:
    ShowCounter() { QCoreApplication::instance()->installEventFilter(this); }
    ~ShowCounter() override { QCoreApplication::instance()->removeEventFilter(this); }
    int shown = 0;
    Widget* last = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show)
            if (auto* w = qobject_cast<Widget*>(watched)) {
                ++shown;
                last = w;
            }
        return false;
    }
};

} // namespace zarv::testing
