// A player who lost the connection comes back: the Dealer describes the table
// as it stands, and the returning machine rebuilds it by dealing the hand and
// playing the cards already played, through the same procedures as a game,
// only without showing the way or pausing.
#include "engine/entry.h"
#include "engine/game.h"
#include "engine/table_layout.h"

namespace zarv {

TableSnapshot Game::Snapshot(int seat) const {
    TableSnapshot t;
    t.seat = seat;
    for (int k = 1; k <= 4; ++k) {
        t.kinds[static_cast<size_t>(k)] = s_.Seats[k].Kind;
        if (s_.Seats[k].FirstMaster) t.firstMaster = k;
    }
    t.master = s_.MasterPlayer;
    t.trump = s_.Trump;
    t.pointsA = s_.PointsA;
    t.pointsB = s_.PointsB;
    t.handsPlayed = s_.HandsPlayed;
    t.resultsA = s_.ResultsA;
    t.resultsB = s_.ResultsB;
    for (int i = 1; i <= 52; ++i) t.deal[static_cast<size_t>(i - 1)] = s_.SavedDeck[i].Card;
    // Each trick's cards from its leader on, tricks in order.
    for (size_t u = 1; u < s_.Tricks.size(); ++u) {
        const TrickRecord& trick = s_.Tricks[u];
        if (trick.Leader < 1 || trick.Leader > 4) continue;
        for (int k = 0, seatOf = trick.Leader; k < 4; ++k, seatOf = NextSeat(seatOf))
            if (!trick.Cards[seatOf].empty()) t.played.push_back(trick.Cards[seatOf]);
    }
    return t;
}

void Game::Resume(const TableSnapshot& table) {
    tableToResume_ = table;
    Request(Command::Resume);
}

void Game::ReplayHandSoFar(const TableSnapshot& t) {
    // Dealt and played up to now without being shown on the way.
    GameObserver* observer = observer_;
    observer_ = nullptr;
    instant_ = true;
    resumeFailed_ = false;
    TakeDealOrder(t.deal);
    for (int i = 1; i <= 52; ++i) s_.SavedDeck[i] = s_.Deck[i];
    s_.MasterPlayer = t.master;
    s_.TrickPosition = 1;
    s_.Turn = t.master;
    DealAround(t.trump);
    for (const CardCode card : t.played) {
        const int seat = s_.Turn;
        // The Dealer's table follows the rules; one that does not is no table to join.
        if (resumeFailed_ || !IsLegalCard(seat, card)) {
            resumeFailed_ = true;
            break;
        }
        const int d = s_.FindCard(card);
        const layout::Point to = layout::LandingPoint(s_, seat);
        AnimateCard(d, static_cast<int>(to.x), static_cast<int>(to.y), seat + 4, false);
        PlayCard(seat + 4, card);
    }
    instant_ = false;
    observer_ = observer;
}

void Game::ResumeBody(const TableSnapshot& t) {
    Presentation& view = services_.view;
    view.FreezeRepaint(true);
    s_.StopRequested = false;
    s_.GameStarted = true;
    s_.Animating = false;
    s_.ComputerMoving = false;
    s_.Tracing = false;
    s_.PointsA = t.pointsA;
    s_.PointsB = t.pointsB;
    s_.HandsPlayed = t.handsPlayed;
    s_.ResultsA = t.resultsA;
    s_.ResultsB = t.resultsB;
    s_.LocalSeat = t.seat;
    MakeCardFaces();
    for (int k = 1; k <= 4; ++k) {
        s_.Seats[k].Kind = t.kinds[static_cast<size_t>(k)];
        // A program started again knows the names only from the Dealer.
        if (!t.names[static_cast<size_t>(k)].empty()) s_.Seats[k].Name = t.names[static_cast<size_t>(k)];
        s_.Seats[k].FirstMaster = k == t.firstMaster;
    }
    s_.Seats[t.seat].Kind = SeatKind::Human;
    PlaceSeats();
    view.EnableMenu(MenuItem::PlayerName, false);

    ReplayHandSoFar(t);
    view.FreezeRepaint(false);
    view.DrawTable();
    view.RepaintCards({});
    view.DrawBoard();
    view.DrawMasterMark();
    view.DrawTrumpSign(s_.Trump, s_.Seats[s_.MasterPlayer].X + 16, s_.Seats[s_.MasterPlayer].Y + 109);
    view.ShowTurn();
    if (resumeFailed_) {
        // Nothing sensible can be played from here: the game ends at this table.
        Announce(TableEvent::Just(TableEvent::Kind::TableNotFollowed));
        services_.network.CloseAll();
        s_.StopRequested = true;
        view.EnableMenu(MenuItem::PlayerName, true);
        return;
    }
    if (observer_) observer_->TableTakenUp();
    TurnLoop();
    view.EnableMenu(MenuItem::PlayerName, true);
}

} // namespace zarv
