#include "ui/background_player.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <thread>

namespace zarv::ui {

BackgroundPlayer::BackgroundPlayer(const GameState& live, EventPump& pump, ai::ExpertOptions options)
    : live_(live), pump_(pump), options_(options), player_(snapshot_, options) {}

void BackgroundPlayer::SetExpertOptions(ai::ExpertOptions options) { options_ = options; }

template <typename Decision> auto BackgroundPlayer::Decide(Decision decision) {
    if (busy_) {
        // Asked again while thinking (a hint from a wait): a player of its own
        // on a copy of its own, at once.
        GameState copy = live_;
        ai::LevelPlayer again(copy, options_);
        again.SetLevel(level_);
        return decision(again);
    }
    // Level and options change only between decisions, never under the thread.
    snapshot_ = live_;
    player_.SetLevel(level_);
    player_.SetExpertOptions(options_);
    // The standard player answers in microseconds: no thread for it.
    if (level_ == ai::Level::Standard) return decision(player_);
    busy_ = true;
    std::atomic<bool> done{false};
    decltype(decision(player_)) answer{};
    std::thread thinker([&] {
        answer = decision(player_);
        done = true;
        // Wakes the wait below.
        QMetaObject::invokeMethod(QCoreApplication::instance(), [] {}, Qt::QueuedConnection);
    });
    while (!done) pump_.WaitForEvents(pump_.Now() + 0.25);
    thinker.join();
    ++backgroundDecisions_;
    busy_ = false;
    return answer;
}

CardChoice BackgroundPlayer::SelectCard(int seat, int position) {
    return Decide([&](ai::LevelPlayer& p) { return p.SelectCard(seat, position); });
}

Suit BackgroundPlayer::ChooseTrump(int first, int count) {
    return Decide([&](ai::LevelPlayer& p) { return p.ChooseTrump(first, count); });
}

} // namespace zarv::ui
