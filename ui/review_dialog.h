// Game > Review Hand: a played hand trick by trick (arrows, a slider or the
// keys), each seat's cards as they were before the trick, and the person's
// decisions with what the Master expected of them, the costliest first.
// The Master's weighing runs on a thread of its own; the dialog fills in its
// numbers when it is done.
#pragma once

#include <QDialog>
#include <QFutureWatcher>
#include <QImage>
#include <array>
#include <atomic>
#include <memory>
#include <optional>

#include "ai/hand_review.h"

class QLabel;
class QLayout;
class QListWidget;
class QPushButton;
class QSlider;

namespace zarv::ui {

struct ReviewSetting {
    SavedHand hand;
    int seat = 0;                     // whose decisions are weighed
    std::array<QString, 5> names{};   // by seat
    // Only the cards the seat saw: its own, and the others' as they were
    // played (a network game's review shows nothing more than the table did).
    bool seenOnly = false;
};

class ReviewDialog : public QDialog {
    Q_OBJECT
public:
    ReviewDialog(ReviewSetting setting, const QImage& sprite, QWidget* parent = nullptr);
    ~ReviewDialog() override;

    // The trick shown, 1 for the first.
    int trick() const;
    void ShowTrick(int trick);
    // Fills in a review already made (the thread's result, or a test's).
    void SetReview(const ai::HandReview& review);
    bool weighed() const { return review_.has_value(); }
    // The person's decisions as listed, the costliest first.
    QStringList DecisionLines() const;
    // The picture of the trick shown: four rows of cards and the trick.
    QImage TrickPicture() const;
    // Whether a seat's card is shown face up (else as a back).
    bool Shown(int seat, CardCode card) const;

    // "9♠ cost 0.40 points; K♠ was best", or that it was the best card.
    static QString DecisionText(const ai::ReviewedDecision& decision);

signals:
    void reviewed();

private:
    // The dialog's parts, top to bottom.
    QLayout* TableAndDecisions();
    QLayout* Steps();
    QLayout* Buttons();
    void Weigh();
    void SaveHand();
    QString TrickCaption(int trick) const;
    // The decision made in a trick, if the person chose there.
    const ai::ReviewedDecision* DecisionIn(int trick) const;

    ReviewSetting setting_;
    QImage sprite_;
    std::optional<ai::HandReview> review_;
    // Before the Master's numbers: the tricks alone, at once.
    ai::HandReview tricks_;
    QFutureWatcher<std::optional<ai::HandReview>> watcher_;
    // Set when the dialog closes: the weighing stops looking at worlds.
    std::shared_ptr<std::atomic<bool>> abandoned_ = std::make_shared<std::atomic<bool>>(false);
    QLabel* picture_ = nullptr;
    QLabel* caption_ = nullptr;
    QLabel* detail_ = nullptr;
    QSlider* slider_ = nullptr;
    QPushButton* previous_ = nullptr;
    QPushButton* next_ = nullptr;
    QListWidget* decisions_ = nullptr;
};

} // namespace zarv::ui
