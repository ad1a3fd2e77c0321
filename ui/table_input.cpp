#include "ui/table_input.h"

#include <QKeyEvent>
#include <QRectF>
#include <algorithm>

#include "ui/card_pictures.h"
#include "ui/table_view.h"

namespace zarv::ui {

TableInput::TableInput(Game& game, TableView& view, QObject* parent) : QObject(parent), game_(game), view_(view) {
    connect(&view_, &TableView::mousePressed, this, &TableInput::Pressed);
    connect(&view_, &TableView::mouseMoved, this, [this](QPointF at) { game_.PointerAt(at.x(), at.y()); });
}

void TableInput::Pressed(QPointF at) {
    emit acted();
    // A click on a trick pile shows the last trick; anything else is the game's.
    const int d = game_.HitTest(static_cast<int>(at.x()), static_cast<int>(at.y()));
    const GameState& s = game_.state();
    if (d > 0 && (s.Deck[d].Owner == kPileA || s.Deck[d].Owner == kPileB) && !game_.GiveUpContains(at.x(), at.y())) {
        emit lastTrickAsked();
        return;
    }
    // A lifted card plays wherever it shows, its raised part included.
    const int lifted = LiftedCardAt(at);
    view_.SetRaisedCard(0);
    if (lifted > 0 && !game_.GiveUpContains(at.x(), at.y()))
        game_.ChooseCard(lifted, true);
    else
        game_.ClickAt(at.x(), at.y());
    emit done();
}

bool TableInput::KeyPressed(const QKeyEvent& event) {
    switch (event.key()) {
    case Qt::Key_Left: MoveSelection(-1); return true;
    case Qt::Key_Right: MoveSelection(+1); return true;
    case Qt::Key_Return:
    case Qt::Key_Enter: PlaySelection(); return true;
    default: return false;
    }
}

void TableInput::KeyReleased(const QKeyEvent& event) {
    if (event.key() == Qt::Key_Space && !event.isAutoRepeat()) game_.SpaceReleased();
}

int TableInput::LiftedCardAt(QPointF at) const {
    const int d = view_.raisedCard();
    if (d < 1 || d > 52) return 0;
    const CardRecord& card = game_.state().Deck[d];
    const QRectF shown(card.X, card.Y - TableView::kLift, kCardW, kCardH);
    return shown.contains(at) ? d : 0;
}

std::vector<int> TableInput::HandInScreenOrder() const {
    const GameState& s = game_.state();
    std::vector<int> hand;
    for (int i = 1; i <= 52; ++i)
        if (s.Deck[i].Owner == s.LocalSeat && s.Seats[s.LocalSeat].Kind == SeatKind::Human) hand.push_back(i);
    std::sort(hand.begin(), hand.end(), [&](int a, int b) { return s.Deck[a].X < s.Deck[b].X; });
    return hand;
}

void TableInput::MoveSelection(int step) {
    const std::vector<int> hand = HandInScreenOrder();
    if (hand.empty()) return;
    const auto at = std::find(hand.begin(), hand.end(), view_.raisedCard());
    int next = at == hand.end() ? (step > 0 ? 0 : static_cast<int>(hand.size()) - 1)
                                : static_cast<int>(at - hand.begin()) + step;
    next = std::clamp(next, 0, static_cast<int>(hand.size()) - 1);
    view_.SetRaisedCard(hand[static_cast<size_t>(next)]);
}

void TableInput::PlaySelection() {
    const int d = view_.raisedCard();
    if (d == 0) return;
    emit acted();
    view_.SetRaisedCard(0);
    // The same road as a click on that card, with the same refusals.
    game_.ChooseCard(d, false);
    emit done();
}

} // namespace zarv::ui
