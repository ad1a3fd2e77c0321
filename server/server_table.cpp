#include "server/server_table.h"

#include <algorithm>
#include <map>
#include <vector>

#include "ai/level_player.h"
#include "engine/game.h"
#include "engine/headless.h"
#include "engine/no_pause_pump.h"
#include "net/dealer_session.h"
#include "net/wire.h"
#include "server/browser_seats.h"
#include "server/game_recorder.h"
#include "server/review_message.h"
#include "server/review_worker.h"
#include "server/web_link.h"
#include "server/spectator_feed.h"
#include "server/table_pump.h"

namespace zarv::server {

namespace {

// The table's connections as the Dealer's session sees them: element 0
// stands for the listening socket, the others are the server's connections in
// the order they came to the table, never renumbered.
class TableTransport : public net::Transport {
public:
    TableTransport(int table, TableOutlet& outlet) : table_(table), outlet_(outlet) {}
    // Hands what was written since the last time to the socket thread at once:
    // one hand-over for many messages, each connection's texts run together.
    void Flush() {
        if (writes_.empty()) return;
        outlet_.Written(table_, std::move(writes_));
        writes_.clear();
    }
    void Write(int connection, std::string_view text) {
        if (!writes_.empty() && writes_.back().connection == connection && !writes_.back().close)
            writes_.back().text += text;
        else
            writes_.push_back({connection, std::string(text)});
    }
    // Closes a connection that is no element of the table's (a watcher).
    void CloseConnection(int connection) { writes_.push_back({connection, std::string(), true}); }
    void SetEvents(net::TransportEvents* events) override { events_ = events; }
    net::TransportEvents* events() const override { return events_; }
    int ElementCount() const override { return static_cast<int>(elements_.size()); }
    bool IsConnected(int index) const override { return Valid(index) && elements_[static_cast<size_t>(index)].open; }
    void Send(int index, std::string_view bytes) override {
        if (!IsConnected(index) || bytes.empty()) return;
        const int connection = elements_[static_cast<size_t>(index)].connection;
        if (divert_ && divert_(connection, bytes)) return;
        Write(connection, bytes);
    }
    // Takes what is sent to some connections (true: taken) instead of writing it.
    void SetDivert(std::function<bool(int connection, std::string_view bytes)> divert) { divert_ = std::move(divert); }
    void Close(int index) override {
        if (!IsConnected(index)) return;
        Element& e = elements_[static_cast<size_t>(index)];
        e.open = false;
        CloseConnection(e.connection);
    }
    void StopListening() override {}
    void CloseAll() override {
        for (int i = 1; i < ElementCount(); ++i) Close(i);
    }

    // The socket thread's news, on the table's thread.
    int Admit(int connection) {
        elements_.push_back({connection, true});
        const int index = ElementCount() - 1;
        byConnection_[connection] = index;
        if (events_) events_->OnAccepted(index);
        return index;
    }
    void Deliver(int connection, std::string_view text) {
        const int index = IndexOf(connection);
        if (IsConnected(index) && events_) events_->OnData(index, text);
    }
    void Lost(int connection) {
        const int index = IndexOf(connection);
        if (!Valid(index)) return;
        elements_[static_cast<size_t>(index)].open = false;
        byConnection_.erase(connection);
        if (events_) events_->OnClosed(index);
    }
    int IndexOf(int connection) const {
        const auto it = byConnection_.find(connection);
        return it == byConnection_.end() ? -1 : it->second;
    }
    int ConnectionOf(int index) const { return Valid(index) ? elements_[static_cast<size_t>(index)].connection : -1; }
    bool AnyOpen() const {
        return std::any_of(elements_.begin() + 1, elements_.end(), [](const Element& e) { return e.open; });
    }

private:
    struct Element {
        int connection = -1;
        bool open = false;
    };
    bool Valid(int index) const { return index >= 1 && index < ElementCount(); }
    const int table_;
    TableOutlet& outlet_;
    net::TransportEvents* events_ = nullptr;
    std::vector<Element> elements_{Element{}};
    std::map<int, int> byConnection_;
    std::vector<TableOutlet::Write> writes_;
    std::function<bool(int, std::string_view)> divert_;
};

} // namespace

// Everything of the table that lives on its thread.
class ServerTable::Runner : public net::SessionListener {
public:
    Runner(int id, const TableRules& rules, TableOutlet& outlet, ResultsSink* results)
        : id_(id),
          rules_(rules),
          outlet_(outlet),
          pacing_(clock_),
          pump_(rules.skipPauses ? static_cast<EventPump&>(pacing_) : clock_),
          transport_(id, outlet),
          session_(transport_, pump_),
          random_(rules.seed),
          game_(EngineServices{view_, pump_, random_, session_, records_}),
          computer_(game_.state(), ai::ExpertOptions{0, 100, rules.seed}),
          feed_(game_.state(),
                [this](int connection, const std::string& text) {
                    if (!browsers_.Has(connection)) transport_.Write(connection, text);
                }),
          browsers_(game_.state(), BrowserLinks()),
          recorder_(game_.state(), results, id, rules.name, rules.level, rules.rated) {
        clock_.SetBeforeSleep([this] {
            RefreshBrowsers();
            transport_.Flush();
        });
        transport_.SetDivert([this](int connection, std::string_view bytes) {
            if (!browsers_.Has(connection)) return false;
            browsers_.FromDealer(connection, bytes);
            return true;
        });
        view_.onRefresh = [this] { RefreshBrowsers(); };
        view_.onTurn = [this] { RefreshBrowsers(); };
        view_.onAnnounce = [this](const TableEvent& e) {
            browsers_.News(e);
            RefreshBrowsers();
        };
        session_.Attach(game_);
        session_.SetListener(this);
        computer_.SetLevel(rules.level);
        game_.SetComputerPlayer(&computer_);
        game_.SetObserver(&gameEvents_);
        game_.SetLocalAutoplay(true);
    }

    TablePump& clock() { return clock_; }
    void Run();

    // Jobs posted by the socket thread.
    void Admit(int connection, int chosenSeat) {
        const int index = transport_.Admit(connection);
        if (chosenSeat > 0) session_.PreferSeat(index, chosenSeat);
        lastPerson_ = clock_.Now();
    }
    void AdmitBrowser(int connection, int chosenSeat) {
        browsers_.AddPlayer(connection);
        Admit(connection, chosenSeat);
    }
    void Deliver(int connection, const std::string& text) {
        if (browsers_.Has(connection))
            browsers_.FromBrowser(connection, text);
        else
            transport_.Deliver(connection, text);
    }
    void Lost(int connection) {
        browsers_.Remove(connection);
        transport_.Lost(connection);
        feed_.Remove(connection);
    }
    void Watch(int connection) {
        feed_.Add(connection);
        TellWatchers();
    }
    void WatchBrowser(int connection) {
        browsers_.AddWatcher(connection);
        Watch(connection);
    }
    void Unwatch(int connection) {
        browsers_.Remove(connection);
        feed_.Remove(connection);
        TellWatchers();
    }
    void Start() { startAsked_ = true; }
    void Shutdown(const std::string& words) {
        closingWords_ = words;
        shuttingDown_ = true;
        game_.EndHere();
    }

    // SessionListener
    void PlayerJoined(int connection, int seat, const std::string&, const std::string&) override {
        if (firstSatAt_ < 0) firstSatAt_ = clock_.Now();
        Log("seated " + std::to_string(seat) + " \"" + game_.state().Seats[seat].Name + "\" connection " +
            std::to_string(transport_.ConnectionOf(connection)));
        Report();
    }
    void PlayerLeft(int connection, int seat, const std::string&) override {
        Log("left " + std::to_string(seat) + " connection " + std::to_string(transport_.ConnectionOf(connection)));
        if (session_.seatedCount() == 0) firstSatAt_ = -1;
        Report();
    }
    void JoinRefused(int connection, const std::string& why) override {
        Log("refused connection " + std::to_string(transport_.ConnectionOf(connection)) + ": " + why);
    }
    void BadMessage(const std::string& what) override { Log("refused message " + what.substr(0, 80)); }
    void TokenGiven(int connection, int, const std::string& token) override {
        outlet_.TokenGiven(id_, transport_.ConnectionOf(connection), token);
        // The player hears at once how many watch.
        if (feed_.count() > 0) session_.SendText(connection, net::Message("Watchers", std::to_string(feed_.count())));
    }
    void ChatReceived(int seat, const std::string& text) override {
        feed_.Chat(seat, text);
        browsers_.Chat(seat, text);
    }

    // The game's events: the watchers see the game; the log hears of people.
    void CardPlayed(int seat, CardCode card) {
        recorder_.CardPlayed(seat);
        feed_.CardPlayed(seat, card);
        RefreshBrowsers();
    }
    void TrickSettled(const TrickRecord& trick) {
        feed_.TrickSettled(trick);
        RefreshBrowsers();
        recorder_.TrickSettled(trick.Winner);
        // The trick that decides the hand is scored even at a deserted
        // table: a game that reached seven points counts.
        if (TeamTricks(game_.state(), trick.Winner) < 7) WaitWhileDeserted();
    }
    void HandScored(int winner, int points) {
        feed_.HandScored(winner, points);
        RefreshBrowsers();
        recorder_.HandScored(winner, points);
        const GameState& g = game_.state();
        if (g.PointsA < 7 && g.PointsB < 7) {
            WaitWhileDeserted();
            return;
        }
        // The game is over the moment its last hand is scored, whatever
        // happens to the table or its players next.
        ++gamesPlayed_;
        Log("game over points " + std::to_string(g.PointsA) + "-" + std::to_string(g.PointsB));
        recorder_.GameOver();
    }
    void SeatLost(int seat) {
        // One who leaves a game loses it; a server that stops takes nobody's game.
        if (!shuttingDown_) recorder_.SeatLeft(seat);
        Log("dropped " + std::to_string(seat) + " \"" + game_.state().Seats[seat].Name + "\": the computer plays it");
        feed_.PlayerLost(seat);
        Report();
        // The trick in play may decide the hand (a side has six): the
        // computers finish it, so that a game it ends counts. Else nobody
        // plays on for people who are gone.
        const GameState& s = game_.state();
        if (std::max(TeamTricks(s, 1), TeamTricks(s, 2)) < 6) WaitWhileDeserted();
    }
    void SeatSilent(int seat, double seconds) {
        Log("silent " + std::to_string(seat) + " for " + std::to_string(static_cast<int>(seconds)) + " s");
    }
    void SeatTakenBack(int seat) {
        recorder_.SeatBack(seat);
        Log("returned " + std::to_string(seat) + " \"" + game_.state().Seats[seat].Name + "\"");
        feed_.PlayerReturned(seat);
        Report();
    }

private:
    void Log(const std::string& line) { outlet_.TableLog(id_, line); }
    BrowserSeats::Links BrowserLinks();
    std::string StartReview(int connection, int seat);
    void RefreshBrowsers();
    int SeatOf(int connection) const;
    void Report();
    void TellWatchers() {
        session_.SendToOurs(net::Message("Watchers", std::to_string(feed_.count())));
        Report();
    }
    bool PersonConnected() const;
    bool WaitForPlayers();
    bool WaitBeforeNextGame();
    void WaitWhileDeserted();
    void CloseTable();

    const int id_;
    const TableRules rules_;
    TableOutlet& outlet_;
    TablePump clock_;
    NoPausePump pacing_;
    EventPump& pump_;
    TableTransport transport_;
    net::DealerSession session_;
    QuietTable view_;
    SeededRandom random_;
    NoRecords records_;
    Game game_;
    ai::LevelPlayer computer_;
    SpectatorFeed feed_;
    BrowserSeats browsers_;
    GameRecorder recorder_;
    struct GameEvents : GameObserver {
        Runner& r;
        explicit GameEvents(Runner& runner) : r(runner) {}
        void HandStarted(int master) override {
            // A new game clears the stop its start may have swallowed: a
            // closing table deals no hand.
            if (r.shuttingDown_) r.game_.EndHere();
            ++r.deals_;
            r.trumpKnown_ = false;
            r.feed_.HandStarted(master);
            r.RefreshBrowsers();
            r.recorder_.HandStarted(master);
        }
        void TrumpKnown(Suit trump) override {
            r.trumpKnown_ = true;
            r.feed_.TrumpKnown(trump);
            r.RefreshBrowsers();
            r.recorder_.TrumpKnown(trump);
        }
        void CardPlayed(int seat, CardCode card) override { r.CardPlayed(seat, card); }
        void TrickSettled(const TrickRecord& trick) override { r.TrickSettled(trick); }
        void HandScored(int winner, int points) override { r.HandScored(winner, points); }
        void PlayerLost(int seat) override { r.SeatLost(seat); }
        void SeatSilent(int seat, double seconds) override { r.SeatSilent(seat, seconds); }
        void PlayerReturned(int seat) override { r.SeatTakenBack(seat); }
    } gameEvents_{*this};
    bool startAsked_ = false;
    bool shuttingDown_ = false;
    bool deserted_ = false;  // closed because every player left in the middle of a game
    bool playing_ = false;
    std::string closingWords_;
    double firstSatAt_ = -1;
    double lastPerson_ = 0;
    int gamesPlayed_ = 0;
    int deals_ = 0;
    bool trumpKnown_ = false;  // the ZARV of the hand in play is named
    // Last: a review still being made ends before what it reports to.
    ReviewWorker reviews_;
};

BrowserSeats::Links ServerTable::Runner::BrowserLinks() {
    BrowserSeats::Links links;
    links.send = [this](int connection, const std::string& json) { transport_.Write(connection, json + "\n"); };
    links.deliver = [this](int connection, const std::string& text) { transport_.Deliver(connection, text); };
    links.seatOf = [this](int connection) { return SeatOf(connection); };
    links.suggest = [this](int seat) {
        const GameState& s = game_.state();
        return computer_.SelectCard(seat, std::clamp(s.TrickPosition, 1, 4)).card;
    };
    links.later = [this](std::function<void()> job) { clock_.Post(std::move(job)); };
    links.review = [this](int connection, int seat) { return StartReview(connection, seat); };
    return links;
}

std::string ServerTable::Runner::StartReview(int connection, int seat) {
    const auto& hand = game_.LastPlayedHand();
    if (!hand) return "noReview";
    const bool started = reviews_.Start(*hand, seat, [this, connection, hand = *hand](std::optional<ai::HandReview> review) {
        if (!review) return;
        std::string message = Dumped(ReviewMessage(*review, hand)) + "\n";
        clock_.Post([this, connection, message = std::move(message)] { transport_.Write(connection, message); });
    });
    if (started) Log("review " + std::to_string(seat));
    return started ? std::string() : std::string("reviewBusy");
}

int ServerTable::Runner::SeatOf(int connection) const {
    const int index = transport_.IndexOf(connection);
    const GameState& s = game_.state();
    for (int seat = 1; seat <= 4; ++seat)
        if (index > 0 && seat != 3 && s.Seats[seat].Kind == SeatKind::Human && s.Seats[seat].Socket == index) return seat;
    return 0;
}

void ServerTable::Runner::RefreshBrowsers() {
    if (browsers_.empty()) return;
    TableFacts facts;
    facts.started = playing_;
    facts.level = rules_.level;
    facts.playNow = rules_.playNow;
    facts.watchers = static_cast<int>(feed_.count());
    facts.deal = deals_;
    facts.dealing = game_.Awaiting().kind == Game::TableWait::Kind::Deal;
    facts.trumpKnown = trumpKnown_;
    facts.reviewable = game_.LastPlayedHand().has_value();
    facts.now = pump_.Now();  // the clock the move limit's deadline is on
    browsers_.Refresh(facts);
}

void ServerTable::Runner::Report() {
    const GameState& s = game_.state();
    std::array<std::string, 5> names;
    std::array<net::SeatFill, 5> fills{};
    for (int seat = 1; seat <= 4; ++seat) {
        const size_t k = static_cast<size_t>(seat);
        const bool person = s.Seats[seat].Kind == SeatKind::Human && seat != 3;
        // Before the game the computer's seats are free places; in it, the computer plays them.
        fills[k] = person ? net::SeatFill::Person : (playing_ || seat == 3 ? net::SeatFill::Computer : net::SeatFill::Free);
        names[k] = fills[k] == net::SeatFill::Free ? std::string() : s.Seats[seat].Name;
    }
    outlet_.Changed(id_, names, fills, playing_);
}

bool ServerTable::Runner::PersonConnected() const {
    const GameState& s = game_.state();
    for (int seat = 1; seat <= 4; ++seat)
        if (seat != 3 && s.Seats[seat].Kind == SeatKind::Human && session_.LinkOpen(s.Seats[seat].Socket)) return true;
    return false;
}

bool ServerTable::Runner::WaitForPlayers() {
    double emptySince = clock_.Now();
    while (!shuttingDown_) {
        const int seated = session_.seatedCount();
        const double now = clock_.Now();
        if (seated > 0) emptySince = now;
        if (seated >= 3 || (startAsked_ && seated > 0) || (rules_.playNow && seated > 0)) return true;
        double deadline = session_.Housekeep();
        if (!rules_.startsByMaker && firstSatAt_ >= 0) {
            if (now >= firstSatAt_ + rules_.autoStartAfter) return true;
            deadline = std::min(deadline, firstSatAt_ + rules_.autoStartAfter);
        }
        if (seated == 0 && !transport_.AnyOpen()) {
            if (now >= emptySince + rules_.idleAfter) {
                Log("closed: nobody came for " + std::to_string(static_cast<int>(rules_.idleAfter)) + " s");
                return false;
            }
            deadline = std::min(deadline, emptySince + rules_.idleAfter);
        }
        startAsked_ = startAsked_ && seated > 0;
        clock_.WaitForEvents(deadline);
    }
    return false;
}

bool ServerTable::Runner::WaitBeforeNextGame() {
    const double until = clock_.Now() + rules_.nextGameAfter;
    browsers_.TakeAgainAsked();
    while (!shuttingDown_ && PersonConnected() && clock_.Now() < until && !browsers_.TakeAgainAsked())
        clock_.WaitForEvents(until);
    return !shuttingDown_ && PersonConnected();
}

void ServerTable::Runner::WaitWhileDeserted() {
    // Nobody left to play for: the computers play no further alone (only a
    // trick that may decide the hand is finished, so that a game it ends
    // counts). A player who comes back in time takes the seat again;
    // otherwise the table closes.
    if (!playing_ || PersonConnected() || shuttingDown_) return;
    const double until = clock_.Now() + std::min(rules_.idleAfter, 120.0);
    while (!shuttingDown_ && session_.pendingReturns() == 0 && clock_.Now() < until) {
        clock_.WaitForEvents(std::min(until, session_.Housekeep()));
    }
    if (session_.pendingReturns() == 0 && !shuttingDown_) {
        Log("closed: every player left");
        deserted_ = true;
        game_.EndHere();
    }
}

void ServerTable::Runner::Run() {
    const GameState& s = game_.state();
    game_.SetRole(true);
    game_.SetPlayerName(ComputerName(3));
    game_.SeatComputerPlayers();
    game_.SetLocalSeat(3);
    Report();
    if (WaitForPlayers()) {
        session_.StopAccepting();
        playing_ = true;
        game_.SetMoveLimit(rules_.moveLimit);
        Log("started with " + std::to_string(session_.seatedCount()) + " players");
        Report();
        view_.askNewGame = [this] {
            feed_.GameOver();
            trumpKnown_ = false;  // the next game begins with the draw for its HAKEM
            return WaitBeforeNextGame();
        };
        game_.StartClick();
        if (shuttingDown_ && s.PointsA < 7 && s.PointsB < 7)
            Log("stopped mid-game points " + std::to_string(s.PointsA) + "-" + std::to_string(s.PointsB));
        // A table whose players all went counts the game against them; a closing server, against nobody.
        recorder_.Stopped(deserted_);
    }
    CloseTable();
}

void ServerTable::Runner::CloseTable() {
    const std::string words = closingWords_.empty() ? "The table is closing" : closingWords_;
    // Ours hear that there is nothing to come back to; a program of the
    // original protocol reads the words as the Dealer's own chat line.
    session_.SendToOurs(net::Message("Closing", net::NoticeDetail(net::RecognizeNotice(words))));
    const GameState& s = game_.state();
    for (int seat = 1; seat <= 4; ++seat) {
        const int socket = s.Seats[seat].Socket;
        if (seat != 3 && s.Seats[seat].Kind == SeatKind::Human && socket > 0 && !session_.IsOurs(socket))
            session_.SendText(socket, net::Message("Chat", "3;" + words));
    }
    feed_.Closed(words);
    for (int connection : feed_.watchers()) transport_.CloseConnection(connection);
    session_.CloseAll();
    transport_.CloseAll();
    transport_.Flush();
    Log("closed after " + std::to_string(gamesPlayed_) + " games");
}

ServerTable::ServerTable(int id, TableRules rules, TableOutlet& outlet, ResultsSink* results)
    : id_(id), rules_(std::move(rules)), runner_(std::make_unique<Runner>(id, rules_, outlet, results)) {
    thread_ = std::thread([this, &outlet] {
        runner_->Run();
        outlet.Ended(id_);
    });
}

ServerTable::~ServerTable() {
    Shutdown("The table is closing");
    if (thread_.joinable()) thread_.join();
}

void ServerTable::Admit(int connection, int chosenSeat) {
    runner_->clock().Post([r = runner_.get(), connection, chosenSeat] { r->Admit(connection, chosenSeat); });
}
void ServerTable::Deliver(int connection, std::string text) {
    {
        const std::lock_guard lock(waitingLock_);
        ++waiting_[connection];
    }
    runner_->clock().Post([this, connection, t = std::move(text)] {
        Taken(connection);
        runner_->Deliver(connection, t);
    });
}

void ServerTable::Taken(int connection) {
    const std::lock_guard lock(waitingLock_);
    const auto it = waiting_.find(connection);
    if (it != waiting_.end() && --it->second == 0) waiting_.erase(it);
}

size_t ServerTable::Waiting(int connection) const {
    const std::lock_guard lock(waitingLock_);
    const auto it = waiting_.find(connection);
    return it == waiting_.end() ? 0 : it->second;
}
void ServerTable::Lost(int connection) {
    runner_->clock().Post([r = runner_.get(), connection] { r->Lost(connection); });
}
void ServerTable::Watch(int connection) {
    runner_->clock().Post([r = runner_.get(), connection] { r->Watch(connection); });
}
void ServerTable::AdmitBrowser(int connection, int chosenSeat) {
    runner_->clock().Post([r = runner_.get(), connection, chosenSeat] { r->AdmitBrowser(connection, chosenSeat); });
}
void ServerTable::WatchBrowser(int connection) {
    runner_->clock().Post([r = runner_.get(), connection] { r->WatchBrowser(connection); });
}
void ServerTable::Unwatch(int connection) {
    runner_->clock().Post([r = runner_.get(), connection] { r->Unwatch(connection); });
}
void ServerTable::Start() {
    runner_->clock().Post([r = runner_.get()] { r->Start(); });
}
void ServerTable::Shutdown(std::string words) {
    runner_->clock().Post([r = runner_.get(), w = std::move(words)] { r->Shutdown(w); });
}

} // namespace zarv::server
