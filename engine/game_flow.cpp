// The sequence of a game: start, the first-ace draw, and the start of every hand.

#include "engine/entry.h"
#include "engine/game.h"

namespace zarv {

namespace {

} // namespace

Game::Game(EngineServices services) : services_(services) {
    for (int i = 0; i <= 52; ++i) s_.DrawOrder[i] = static_cast<uint8_t>(i == 0 ? 0 : 53 - i);
}

void Game::Stop() {
    s_.StopRequested = true;
    restartPending_ = false;
    tableToResume_.reset();
    pending_.clear();
}

void Game::StartGameBody() {
    Presentation& view = services_.view;
    view.BeforeNewGame();
    view.FreezeRepaint(true);
    const bool wasFullScreen = view.IsFullScreen();
    view.SetScreenSize(false);
    s_.GameStarted = true;

    ClearLastGame();
    view.ShowGiveUp(GiveUpFlag::Hidden);
    view.ShowTurn();

    MakeCardFaces();
    view.EnableMenu(MenuItem::PlayerName, false);
    SeatThisGamesPlayers();
    PlaceSeats();
    Shuffle(1);

    if (wasFullScreen) view.SetScreenSize(true);
    view.FreezeRepaint(false);
    view.DrawTable();

    s_.StopRequested = false;
    Shuffle(static_cast<int>(RandomFraction() * 300) + 200);
    GatherCards();

    services_.network.GameStarting();
    if (s_.IsDealer) SendToEveryClient(TableMessage::Of(TableMessage::Kind::Start), -1, true);
    SendHand();
    // A game stopped while it waited for its deal (the Dealer gone, a new game
    // asked for) goes no further.
    if (s_.StopRequested) {
        view.EnableMenu(MenuItem::PlayerName, true);
        return;
    }
    view.RepaintCards({});
    view.EnableMenu(MenuItem::Replay, false);

    ChooseFirstMaster();
    if (pendingHand_) {
        ApplyHand(*pendingHand_);
        pendingHand_.reset();
        NewHand(true);
    } else {
        NewHand();
    }
    TurnLoop();
    view.EnableMenu(MenuItem::PlayerName, true);
}

void Game::ClearLastGame() {
    undoPoints_.clear();
    undoUsed_ = false;
    s_.HandsPlayed = 0;
    s_.ResultsA.fill(0);
    s_.ResultsB.fill(0);
    s_.StopRequested = true;
    s_.Animating = false;
    s_.ComputerMoving = false;
    s_.PointsA = s_.PointsB = 0;
    // Nothing of the last game's hand stays on the table or in the status.
    s_.Tricks.assign(2, TrickRecord{});
    s_.Trump = kNoSuit;
    s_.Turn = 0;
    s_.WaitingForSeat = 0;
    s_.WaitingDeadline = 0;
    s_.GiveUp = GiveUpFlag::Hidden;
    dealing_ = true;
}

void Game::SeatThisGamesPlayers() {
    // The person at this machine plays under the name results are recorded
    // for, from the next game on (a network game's names come from the Dealer).
    if (s_.IsDealer && !HasConnectedClient() && s_.Seats[s_.LocalSeat].Kind == SeatKind::Human)
        s_.Seats[s_.LocalSeat].Name = s_.PlayerName;
    for (int seat = 1; seat <= 4; ++seat) {
        if (!s_.Seats[seat].Name.empty()) continue;
        s_.Seats[seat] = s_.Seats[0];
        // This machine's person at seat 3, the computer at the others.
        const bool person = seat == 3;
        s_.Seats[seat].Name = person ? s_.PlayerName : ComputerName(seat);
        s_.Seats[seat].Kind = person ? SeatKind::Human : SeatKind::Computer;
    }
}

void Game::ChooseFirstMaster() {
    for (int i = 1; i <= 52; ++i) {
        const int seat = (i - 1) % 4 + 1;
        DealCards(i, 1, s_.Seats[seat].X + s_.LayoutUnit * i / 4, s_.Seats[seat].Y, seat, false);
        if (RankOf(s_.Deck[i].Card) == 14) {
            s_.MasterPlayer = seat;
            for (int k = 1; k <= 4; ++k) s_.Seats[k].FirstMaster = (k == seat);
            Announce(TableEvent::About(TableEvent::Kind::HakemNamed, seat, s_.Seats[seat].Name));
            break;
        }
    }
    if (!s_.IsDealer) {
        if (services_.network.IsConnected(0)) WaitForMessage(0, TableMessage::Of(TableMessage::Kind::MasterPlayer));
    } else {
        SendToEveryClient(TableMessage::Of(TableMessage::Kind::MasterPlayer, s_.MasterPlayer));
    }
    services_.view.DrawMasterMark();
}

void Game::SendHand() {
    if (!s_.IsDealer) {
        if (services_.network.IsConnected(0)) WaitForMessage(0, TableMessage::Of(TableMessage::Kind::Deal));
        return;
    }
    if (!HasConnectedClient()) return;
    Network& net = services_.network;
    const TableMessage deal = TableMessage::Of(TableMessage::Kind::Deal);
    for (int i = 1; i < net.ElementCount(); ++i) {
        if (!net.IsConnected(i)) continue;
        net.Send(i, deal);
        // A machine that never acknowledges is lost after the move limit.
        WaitForMessage(i, TableMessage::ReceivedOf(deal), 0, true);
    }
}

bool Game::SortsHand(int seat) const {
    if (sortedSeats_) return (*sortedSeats_)[seat];
    return seat == s_.LocalSeat;
}

bool Game::HandFaceDown(int seat) const { return !(seat == s_.LocalSeat || s_.Tracing); }

void Game::DealHandCards(int first, int count, int seat, bool sort) {
    DealCards(first, count, s_.Seats[seat].X, s_.Seats[seat].Y, seat, HandFaceDown(seat), sort);
}

void Game::NewHand(bool replay) {
    // A game that is being stopped deals nothing more.
    if (s_.StopRequested) return;
    // Replay chosen while the last hand's result was shown: this hand is the replay.
    replay = replay || replayPending_;
    replayPending_ = false;
    ++deals_;
    Presentation& view = services_.view;
    s_.GiveUp = GiveUpFlag::Hidden;
    view.EnableMenu(MenuItem::Replay, false);
    s_.TrickPosition = 1;
    undoPoints_.clear();  // moves are taken back within their hand only

    if (s_.PointsA >= 7 || s_.PointsB >= 7) {
        FinishGame();
        return;
    }

    // The new hand has no tricks yet and its master leads: the table says so
    // while the cards are gathered and dealt, not the last hand's counts.
    s_.Tricks.assign(2, TrickRecord{});
    s_.Turn = s_.MasterPlayer;
    dealing_ = true;
    view.ShowTurn();
    if (observer_) observer_->HandStarted(s_.MasterPlayer);
    s_.ComputerMoving = false;
    if (replay) {
        for (int i = 1; i <= 52; ++i) s_.Deck[i] = s_.SavedDeck[i];
    } else {
        GatherCards();
        Shuffle(static_cast<int>(RandomFraction() * 300) + 200);
        s_.Trump = kNoSuit;
        for (int i = 1; i <= 52; ++i) s_.SavedDeck[i] = s_.Deck[i];
    }

    view.FreezeRepaint(true);
    view.DrawTable();
    GatherCards();
    SendHand();
    // A client's Dealer sends the order of the hand it dealt.
    if (!s_.IsDealer)
        for (int i = 1; i <= 52; ++i) s_.SavedDeck[i] = s_.Deck[i];
    view.RepaintCards({});
    view.DrawBoard();
    s_.Turn = s_.MasterPlayer;
    view.DrawMasterMark();
    view.FreezeRepaint(false);
    DealAround(std::nullopt);
}

void Game::FinishGame() {
    Presentation& view = services_.view;
    const int own = IsTeamA(s_.LocalSeat) ? s_.PointsA : s_.PointsB;
    services_.records.AddPlayerResult(s_.PlayerName, own > 6, undoUsed_);
    s_.Turn = 0;
    view.ShowTurn();
    view.DrawBoard();
    if (view.AskNewGame()) {
        StartClick();
    } else {
        Stop();
        services_.network.CloseAll();
        view.CloseMainWindow();
    }
}

void Game::DealAround(std::optional<Suit> knownTrump) {
    Presentation& view = services_.view;
    s_.Tricks.assign(2, TrickRecord{});

    const int m = s_.MasterPlayer;
    DealHandCards(1, 5, m, SortsHand(m));
    if (knownTrump)
        s_.Trump = *knownTrump;
    else
        ChooseTrumpForHand();
    if (observer_) observer_->TrumpKnown(s_.Trump);

    view.RepaintCards({});
    view.DrawTrumpSign(s_.Trump, s_.Seats[m].X + 16, s_.Seats[m].Y + 109);
    s_.Turn = m;

    const int m1 = NextSeat(m), m2 = NextSeat(m1), m3 = NextSeat(m2);
    DealHandCards(14, 5, m1, false);
    DealHandCards(27, 5, m2, false);
    DealHandCards(40, 5, m3, false);
    DealHandCards(6, 4, m, false);
    DealHandCards(19, 4, m1, false);
    DealHandCards(32, 4, m2, false);
    DealHandCards(45, 4, m3, false);
    DealHandCards(10, 4, m, false);
    DealHandCards(23, 4, m1, false);
    DealHandCards(36, 4, m2, false);
    DealHandCards(49, 4, m3, false);
    const int firsts[4] = {1, 14, 27, 40};
    const int seats[4] = {m, m1, m2, m3};
    for (int k = 0; k < 4; ++k)
        DealHandCards(firsts[k], 13, seats[k], SortsHand(seats[k]) || s_.Tracing);

    for (int seat = 1; seat <= 4; ++seat) BuildHand(seat);
    dealing_ = false;
    view.RepaintCards({});
    view.EnableMenu(MenuItem::Replay, true);
}

void Game::ChooseTrumpForHand() {
    // While the trump is named the table waits for the HAKEM, not the deal.
    struct TrumpWait {
        bool& dealing;
        explicit TrumpWait(bool& d) : dealing(d) { dealing = false; }
        ~TrumpWait() { dealing = true; }
    } trumpWait(dealing_);
    const int m = s_.MasterPlayer;
    Network& net = services_.network;
    // The person at this machine names the trump by a click. (Tools that let
    // the computer play every seat leave the local seat to the computer too.)
    if (!s_.Tracing && m == s_.LocalSeat && s_.Seats[m].Kind == SeatKind::Human) {
        if (localAutoplay_ && computer_) {
            s_.Trump = computer_->ChooseTrump(1, 5);
        } else {
            services_.view.ShowTurn();
            Announce(TableEvent::Just(TableEvent::Kind::NameYourTrump));
            // The click handler names the trump; a new game or closing ends the wait.
            localWaitDepth_ = entryDepth_;
            while (s_.Trump == kNoSuit && !s_.StopRequested)
                services_.pump.WaitForEvents(net.Housekeep());
            localWaitDepth_ = -1;
        }
        if (s_.Trump == kNoSuit) return;
        const TableMessage trump = TableMessage::Of(TableMessage::Kind::Trump);
        if (!s_.IsDealer) {
            if (net.IsConnected(0)) {
                net.Send(0, trump);
                WaitForMessage(0, TableMessage::ReceivedOf(trump));
            }
        } else {
            SendToEveryClient(trump);
        }
        return;
    }

    Announce(TableEvent::About(TableEvent::Kind::ChoosingTrump, m, s_.Seats[m].Name));
    services_.view.ShowTurn();
    if (!s_.IsDealer) {
        if (net.IsConnected(0)) WaitForMessage(0, TableMessage::Of(TableMessage::Kind::Trump));
        return;
    }
    if (s_.Seats[m].Kind != SeatKind::Human) {
        if (computer_) s_.Trump = computer_->ChooseTrump(1, 5);
        SendToEveryClient(TableMessage::Of(TableMessage::Kind::Trump));
        return;
    }
    const int socket = s_.Seats[m].Socket;
    if (socket > 0 && !net.IsConnected(socket)) CheckConnections();
    if (s_.Seats[m].Kind == SeatKind::Human && socket > 0) WaitForMessage(socket, TableMessage::Of(TableMessage::Kind::Trump), m, true);
    // A master lost (or silent) before naming it: the computer names the
    // trump for the seat, and the game goes on.
    if (s_.Trump == kNoSuit && !s_.StopRequested && s_.Seats[m].Kind != SeatKind::Human) {
        if (computer_) s_.Trump = computer_->ChooseTrump(1, 5);
        SendToEveryClient(TableMessage::Of(TableMessage::Kind::Trump));
    }
}

} // namespace zarv
