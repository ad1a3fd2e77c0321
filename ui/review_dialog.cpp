#include "ui/review_dialog.h"

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QShortcut>
#include <QSlider>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>
#include <algorithm>
#include <cmath>

#include "ui/card_names.h"
#include "ui/card_pictures.h"

namespace zarv::ui {

namespace {

constexpr int kRowHeight = 118;
constexpr int kHandStep = 30;     // a held card shows this much of itself
constexpr int kPlayedAt = 500;    // where the card played in the trick is drawn
constexpr int kPictureWidth = 590;

// A cost this small is the best card, told apart by rounding only.
constexpr double kNoCost = 0.005;

QString Points(double value) { return QLocale().toString(value, 'f', 2); }

} // namespace

ReviewDialog::ReviewDialog(ReviewSetting setting, const QImage& sprite, QWidget* parent)
    : QDialog(parent), setting_(std::move(setting)), sprite_(sprite) {
    setWindowTitle(tr("Review Hand"));
    if (auto replayed = ai::ReplayHand(setting_.hand, setting_.seat)) tricks_ = std::move(*replayed);
    auto* layout = new QVBoxLayout(this);
    caption_ = new QLabel(this);
    caption_->setTextFormat(Qt::PlainText);
    layout->addWidget(caption_);
    layout->addLayout(TableAndDecisions());
    layout->addLayout(Steps());
    layout->addLayout(Buttons());
    connect(&watcher_, &QFutureWatcher<std::optional<ai::HandReview>>::finished, this, [this] {
        if (const auto review = watcher_.result()) SetReview(*review);
    });
    ShowTrick(1);
    Weigh();
}

QLayout* ReviewDialog::TableAndDecisions() {
    // The table on one side; what the Master thought of it on the other.
    auto* middle = new QHBoxLayout;
    picture_ = new QLabel(this);
    middle->addWidget(picture_, 0, Qt::AlignTop);
    auto* side = new QVBoxLayout;
    detail_ = new QLabel(this);
    detail_->setTextFormat(Qt::PlainText);
    detail_->setWordWrap(true);
    detail_->setMinimumWidth(340);
    detail_->setMinimumHeight(5 * detail_->fontMetrics().lineSpacing());
    detail_->setAlignment(Qt::AlignTop | Qt::AlignLeading);
    side->addWidget(detail_);
    side->addWidget(new QLabel(tr("Your decisions, the costliest first:"), this));
    decisions_ = new QListWidget(this);
    side->addWidget(decisions_, 1);
    connect(decisions_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row < 0 || !review_) return;
        const auto order = review_->CostliestFirst();
        if (static_cast<size_t>(row) < order.size()) ShowTrick(review_->decisions[order[static_cast<size_t>(row)]].trick);
    });
    middle->addLayout(side, 1);
    return middle;
}

QLayout* ReviewDialog::Steps() {
    auto* steps = new QHBoxLayout;
    previous_ = new QPushButton(tr("\u25C0 Previous Trick"), this);
    next_ = new QPushButton(tr("Next Trick \u25B6"), this);
    slider_ = new QSlider(Qt::Horizontal, this);
    slider_->setRange(1, std::max<int>(1, static_cast<int>(tricks_.tricks.size())));
    slider_->setPageStep(1);
    slider_->setAccessibleName(tr("Trick"));
    steps->addWidget(previous_);
    steps->addWidget(slider_, 1);
    steps->addWidget(next_);
    connect(previous_, &QPushButton::clicked, this, [this] { ShowTrick(trick() - 1); });
    connect(next_, &QPushButton::clicked, this, [this] { ShowTrick(trick() + 1); });
    connect(slider_, &QSlider::valueChanged, this, [this](int value) { ShowTrick(value); });
    // Left and Right step the tricks wherever the focus is (Right and Left in a right-to-left window).
    auto* back = new QShortcut(QKeySequence(Qt::Key_Left), this);
    auto* forth = new QShortcut(QKeySequence(Qt::Key_Right), this);
    const int ahead = layoutDirection() == Qt::RightToLeft ? -1 : 1;
    connect(back, &QShortcut::activated, this, [this, ahead] { ShowTrick(trick() - ahead); });
    connect(forth, &QShortcut::activated, this, [this, ahead] { ShowTrick(trick() + ahead); });
    return steps;
}

QLayout* ReviewDialog::Buttons() {
    auto* buttons = new QHBoxLayout;
    auto* save = new QPushButton(tr("Save Hand..."), this);
    auto* close = new QPushButton(tr("Close"), this);
    close->setDefault(true);
    buttons->addWidget(save);
    buttons->addStretch(1);
    buttons->addWidget(close);
    connect(save, &QPushButton::clicked, this, &ReviewDialog::SaveHand);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    return buttons;
}

ReviewDialog::~ReviewDialog() {
    // A weighing still running is told to stop (it ends within a decision's
    // few worlds), and ends before the dialog does.
    abandoned_->store(true);
    watcher_.waitForFinished();
}

void ReviewDialog::Weigh() {
    decisions_->addItem(tr("The Master is weighing your cards..."));
    const SavedHand hand = setting_.hand;
    const int seat = setting_.seat;
    ai::ExpertOptions options = ai::ReviewOptions(2);
    options.stop = [abandoned = abandoned_] { return abandoned->load(); };
    watcher_.setFuture(QtConcurrent::run([hand, seat, options] { return ai::ReviewHand(hand, seat, options); }));
}

int ReviewDialog::trick() const { return slider_->value(); }

void ReviewDialog::ShowTrick(int trick) {
    const int count = static_cast<int>(tricks_.tricks.size());
    trick = std::clamp(trick, 1, std::max(1, count));
    if (slider_->value() != trick) {
        slider_->setValue(trick);  // comes back here through valueChanged
        return;
    }
    previous_->setEnabled(trick > 1);
    next_->setEnabled(trick < count);
    caption_->setText(TrickCaption(trick));
    picture_->setPixmap(QPixmap::fromImage(TrickPicture()));
    const ai::ReviewedDecision* d = DecisionIn(trick);
    if (!d) {
        detail_->setText(tr("You had no choice to make in this trick."));
    } else if (!review_) {
        detail_->setText(tr("You played %1.").arg(CardName(d->played)));
    } else {
        QStringList values;
        for (const auto& v : d->values) values << tr("%1: %2").arg(CardName(v.card), Points(v.value));
        detail_->setText(DecisionText(*d) + QLatin1Char('\n') +
                         tr("The Master expected (points for your side): %1").arg(values.join(QStringLiteral(", "))));
    }
}

QString ReviewDialog::TrickCaption(int trick) const {
    if (tricks_.tricks.empty()) return tr("No card of this hand was played.");
    const ai::ReviewedTrick& t = tricks_.tricks[static_cast<size_t>(trick - 1)];
    const QString of = tr("Trick %L1 of %L2").arg(trick).arg(tricks_.tricks.size());
    if (t.winner < 1) return tr("%1, not finished").arg(of);
    return tr("%1, won by %2").arg(of, setting_.names[static_cast<size_t>(t.winner)]);
}

const ai::ReviewedDecision* ReviewDialog::DecisionIn(int trick) const {
    const auto& decisions = review_ ? review_->decisions : tricks_.decisions;
    for (const auto& d : decisions)
        if (d.trick == trick) return &d;
    return nullptr;
}

bool ReviewDialog::Shown(int seat, CardCode card) const {
    if (!setting_.seenOnly || seat == setting_.seat) return true;
    // Another seat's card was seen once it was played.
    return std::find(setting_.hand.plays.begin(), setting_.hand.plays.end(), card) != setting_.hand.plays.end();
}

QImage ReviewDialog::TrickPicture() const {
    QImage picture(kPictureWidth, 4 * kRowHeight + 8, QImage::Format_ARGB32_Premultiplied);
    picture.fill(QColor(40, 90, 50));
    if (tricks_.tricks.empty()) return picture;
    const ai::ReviewedTrick& t = tricks_.tricks[static_cast<size_t>(trick() - 1)];
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    auto drawCard = [&](double x, double y, CardCode card, bool shown, bool framed) {
        const QRectF at(x, y, 74, 104);
        p.setBrush(shown ? QColor(Qt::white) : QColor(70, 110, 160));
        p.setPen(framed ? QPen(QColor(255, 214, 64), 3) : QPen(QColor(200, 200, 160), 1));
        p.drawRoundedRect(at, 6, 6);
        if (!shown) return;
        const QImage face = PaintCardFace(sprite_, card);
        const double ks = face.devicePixelRatio();
        p.drawImage(QRectF(x + 2, y + 2, 70, 100), face, QRectF(2 * ks, 2 * ks, 70 * ks, 100 * ks));
    };
    // The person's row first, then the seats in the order they play after it.
    for (int row = 0, seat = setting_.seat; row < 4; ++row, seat = NextSeat(seat)) {
        const double y = 6 + row * kRowHeight;
        // As a player holds them: by suit, black and red in turn, the highest first.
        auto held = t.held[static_cast<size_t>(seat)];
        auto place = [](Suit suit) { return suit == 'g' ? 0 : suit == 'h' ? 1 : suit == 'p' ? 2 : 3; };
        std::stable_sort(held.begin(), held.end(), [&](CardCode a, CardCode b) {
            return place(a.suit) != place(b.suit) ? place(a.suit) < place(b.suit) : a.rank > b.rank;
        });
        p.setPen(Qt::white);
        p.drawText(QRectF(8, y, 120, 14), Qt::AlignLeft | Qt::AlignVCenter, setting_.names[static_cast<size_t>(seat)]);
        for (size_t k = 0; k < held.size(); ++k) {
            const CardCode c = held[k];
            drawCard(8 + static_cast<double>(k) * kHandStep, y + 14, c, Shown(seat, c), false);
        }
        const CardCode played = t.cards[static_cast<size_t>(seat)];
        if (!played.empty()) drawCard(kPlayedAt, y + 6, played, true, seat == t.winner);
        if (seat == t.leader) {
            p.setPen(Qt::white);
            p.drawText(QRectF(kPlayedAt - 60, y + 50, 56, 20), Qt::AlignRight | Qt::AlignVCenter, tr("led"));
        }
    }
    return picture;
}

void ReviewDialog::SetReview(const ai::HandReview& review) {
    review_ = review;
    decisions_->clear();
    for (size_t k : review_->CostliestFirst()) {
        const auto& d = review_->decisions[k];
        decisions_->addItem(tr("Trick %L1: %2").arg(d.trick).arg(DecisionText(d)));
    }
    if (review_->decisions.empty()) decisions_->addItem(tr("You had no choice to make in this hand."));
    ShowTrick(trick());
    emit reviewed();
}

QStringList ReviewDialog::DecisionLines() const {
    QStringList lines;
    for (int row = 0; row < decisions_->count(); ++row) lines << decisions_->item(row)->text();
    return lines;
}

QString ReviewDialog::DecisionText(const ai::ReviewedDecision& d) {
    if (d.cost < kNoCost) return tr("%1 was the best card").arg(CardName(d.played));
    return tr("%1 cost %2 points; %3 was best").arg(CardName(d.played), Points(d.cost), CardName(d.best));
}

void ReviewDialog::SaveHand() {
    QString path = QFileDialog::getSaveFileName(this, tr("Save Hand"), QString(), tr("Zarv hands (*.zarv);;All files (*)"));
    if (path.isEmpty()) return;
    if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".zarv");
    QFile file(path);
    const std::string text = WriteSavedHand(setting_.hand);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text) ||
        file.write(text.data(), static_cast<qint64>(text.size())) != static_cast<qint64>(text.size()) || !file.flush())
        QMessageBox::warning(this, tr("Save Hand"), tr("Cannot write %1: %2").arg(path, file.errorString()));
}

} // namespace zarv::ui
