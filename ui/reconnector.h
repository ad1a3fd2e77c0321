// Coming back after the connection to the Dealer was lost: a try every few
// seconds, for a limited time, each asking for this machine's seat back with
// the token the Dealer gave.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

namespace zarv::ui {

class Reconnector : public QObject {
    Q_OBJECT
public:
    static constexpr int kTrySeconds = 120;  // how long it keeps trying
    static constexpr int kEverySeconds = 3;  // between two tries

    explicit Reconnector(QObject* parent = nullptr);
    // Starts trying: the first try at once.
    void Start();
    void Stop();
    bool active() const { return active_; }
    // Seconds left to try (0 when not trying).
    int secondsLeft() const;

signals:
    // Connect now (the previous try has failed or is still unanswered).
    void attempt();
    // The time is up without a seat.
    void gaveUp();

private:
    void Tick();
    QTimer timer_;
    QElapsedTimer since_;
    bool active_ = false;
};

} // namespace zarv::ui
