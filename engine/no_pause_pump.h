// A pump that skips pauses: a wait with a deadline only runs what is pending
// and moves a clock of its own on, so a game between machines runs as fast as
// the messages travel; a wait for an event, or for another machine's answer,
// sleeps in the wrapped pump in real time.
#pragma once

#include "engine/interfaces.h"

namespace zarv {

class NoPausePump : public EventPump {
public:
    explicit NoPausePump(EventPump& inner) : inner_(inner) {}
    void ProcessEvents() override { inner_.ProcessEvents(); }
    void WaitForEvents(double deadline) override;
    void WaitForMessage(double deadline) override { inner_.WaitForEvents(deadline - skipped_); }
    double Now() const override { return inner_.Now() + skipped_; }

private:
    EventPump& inner_;
    double skipped_ = 0;
};

} // namespace zarv
