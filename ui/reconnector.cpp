#include "ui/reconnector.h"

#include <algorithm>

namespace zarv::ui {

Reconnector::Reconnector(QObject* parent) : QObject(parent) {
    timer_.setInterval(kEverySeconds * 1000);
    connect(&timer_, &QTimer::timeout, this, &Reconnector::Tick);
}

void Reconnector::Start() {
    active_ = true;
    since_.start();
    timer_.start();
    emit attempt();
}

void Reconnector::Stop() {
    active_ = false;
    timer_.stop();
}

int Reconnector::secondsLeft() const {
    if (!active_) return 0;
    return std::max(0, kTrySeconds - static_cast<int>(since_.elapsed() / 1000));
}

void Reconnector::Tick() {
    if (!active_) return;
    if (since_.elapsed() >= kTrySeconds * 1000LL) {
        Stop();
        emit gaveUp();
        return;
    }
    emit attempt();
}

} // namespace zarv::ui
