#include "server/lobby.h"

#include <algorithm>
#include <cctype>
#include <tuple>

#include "net/wire.h"
#include "server/web_link.h"

namespace zarv::server {

namespace {

std::string Folded(std::string name) {
    std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::tolower(c); });
    return name;
}

// Two players may not sit under names that differ only in case or look alike.
std::string NameKey(const std::string& name) { return KeysOf(name).folded; }

// A message a table takes from a player: the protocol's, and a browser's own.
bool TakenByTables(const net::Piece& p, bool browser) {
    if (!p.wellFormed) return false;
    if (browser && p.command.rfind("Web", 0) == 0) return true;
    return net::IsImmediate(p.command) || net::DealerMayWaitFor(p.command) || p.command == "Return";
}

// A chat line of at most the letters the window allows ("seat;text" for the
// protocol, the text alone for a browser); longer lines are cut.
std::string ChatCut(const std::string& detail, bool afterSeat) {
    const size_t start = afterSeat ? detail.find(';') + 1 : 0;
    if (afterSeat && start == 0) return detail;
    size_t letters = 0, end = start;
    while (end < detail.size() && letters < kMaxChatLetters) {
        ++letters;
        ++end;
        // A letter is at most four bytes, whatever bytes a peer sends.
        for (int more = 0; more < 3 && end < detail.size() && (static_cast<unsigned char>(detail[end]) & 0xC0) == 0x80; ++more)
            ++end;
    }
    return detail.substr(0, end);
}

bool SeatFree(const net::TableLine& line, int seat) {
    return line.fills[static_cast<size_t>(seat)] == net::SeatFill::Free;
}

} // namespace

Lobby::Lobby(LobbyLimits limits, LobbyLinks& links, TableFactory& tables)
    : limits_(limits), links_(links), factory_(tables) {}

bool Lobby::Accept(int id, const std::string& address, bool secure, bool browser) {
    if (addressBanned_ && addressBanned_(address)) {
        Log("banned address " + address + " refused connection " + std::to_string(id));
        return false;
    }
    int& fromThere = perAddress_[address];
    if (closing_ || (limits_.connectionsPerAddress > 0 && fromThere >= limits_.connectionsPerAddress)) {
        if (!closing_) Log("limit connections-per-address " + address + " refused connection " + std::to_string(id));
        if (fromThere == 0) perAddress_.erase(address);
        return false;
    }
    ++fromThere;
    Connection& c = connections_[id];
    c.address = address;
    c.secure = secure;
    c.browser = browser;
    c.since = links_.Now();
    return true;
}

int Lobby::TableOf(int id) const {
    const auto it = connections_.find(id);
    return it == connections_.end() ? 0 : it->second.table;
}

void Lobby::Data(int id, std::string_view bytes) {
    auto it = connections_.find(id);
    if (it == connections_.end() || it->second.where == Where::Leaving) return;
    Connection& c = it->second;
    std::vector<net::Piece> pieces = c.framer.Feed(bytes);
    if (c.framer.tlsGreeting()) return Drop(id, "tls-greeting");
    if (c.framer.overflowed()) return Drop(id, "limit message-size");
    for (const net::Piece& piece : pieces) {
        // A handler may close the connection (and forget it) on the way.
        const auto still = connections_.find(id);
        if (still == connections_.end() || still->second.where == Where::Leaving) return;
        Handle(id, still->second, piece);
    }
}

void Lobby::Handle(int id, Connection& c, const net::Piece& p) {
    if (Judge(id, c.guard.Message(links_.Now()), c.guard)) return;
    // What follows a sign-in is read as the signed-in player's, once the answer is in.
    if (c.askingAccounts) {
        if (c.afterAccounts.size() >= kMaxAfterAccounts) return Drop(id, "limit waiting");
        c.afterAccounts.push_back(p);
        return;
    }
    Dispatch(id, c, p);
}

void Lobby::Dispatch(int id, Connection& c, const net::Piece& p) {
    switch (c.where) {
        case Where::Door:
            if (p.command == "Connect" && p.wellFormed) return Seat(id, c, p);
            if (p.command == "Return" && p.wellFormed) return Return(id, c, p);
            if (p.command == "Recived" && p.detail == net::kLobbyAsk) return Welcome(id, c);
            return;  // left unread, as a Dealer leaves what it does not ask for
        case Where::Lobby:
            if (p.command == "Connect" && p.wellFormed) return Seat(id, c, p);
            if (p.command == "Return" && p.wellFormed) return Return(id, c, p);
            return HandleLobby(id, c, p);
        case Where::Watching:
            if (p.command == "LobbyLeave") return StopWatching(id, c);
            if (p.command == "LobbyList") return HandleLobby(id, c, p);
            return;
        case Where::Table:
            // The maker starts the table from its seat; all else is the table's.
            if (c.ours && p.command == "LobbyStart") return StartTable(id, c, p.detail);
            if (c.ours && p.command == "LobbyList") return HandleLobby(id, c, p);
            return ToTable(id, c, p);
        case Where::Leaving:
            return;
    }
}

bool Lobby::Judge(int id, SenderGuard::Verdict verdict, const SenderGuard& guard) {
    if (verdict != SenderGuard::Verdict::Close) return false;
    // One closed for flooding does not take its seat back.
    Connection& c = connections_[id];
    c.forfeited = true;
    std::erase_if(tokens_, [&](const auto& token) { return token.second.first == c.table && token.second.second == c.name; });
    Drop(id, "limit " + guard.why());
    return true;
}

void Lobby::ToTable(int id, Connection& c, const net::Piece& p) {
    const double now = links_.Now();
    // What no table takes from a player is not handed on: a table would
    // only spend its time on it.
    if (!TakenByTables(p, c.browser)) {
        Judge(id, c.guard.Junk(now), c.guard);
        return;
    }
    if (p.command != "Chat" && p.command != "WebChat") return Forward(id, c, net::Message(p.command, p.detail));
    switch (c.guard.Chat(now)) {
        case SenderGuard::Verdict::Pass:
            if (const Sanction* mute = sanctions_.On(Sanction::Kind::Mute, c.name))
                return Notify(id, c, net::MakeNotice(net::Notice::Muted, mute->reason.empty() ? "-" : mute->reason));
            return Forward(id, c, net::Message(p.command, ChatCut(p.detail, p.command == "Chat")));
        case SenderGuard::Verdict::Refuse:
            return Notify(id, c, net::MakeNotice(net::Notice::SlowDown));
        case SenderGuard::Verdict::Close:
            Judge(id, SenderGuard::Verdict::Close, c.guard);
            return;
    }
}

void Lobby::Notify(int id, const Connection& c, const net::NoticeText& notice) {
    // At a table every program reads the Dealer's chat; a browser, and ours
    // in the lobby, hear the notice.
    if (c.browser || c.where != Where::Table)
        links_.Send(id, net::Message("LobbyNo", NoticeFor(c, notice)));
    else
        links_.Send(id, net::Message("Chat", "3;" + notice.words));
}

void Lobby::Banish(int id, Connection& c, const std::string& why, const std::string& words) {
    Notify(id, c, net::MakeNotice(net::Notice::Banned, words));
    c.forfeited = true;
    std::erase_if(tokens_, [&](const auto& token) { return token.second.first == c.table && token.second.second == c.name; });
    Drop(id, why);
}

void Lobby::ApplySanctions(Sanctions now, std::function<bool(const std::string&)> addressBanned) {
    sanctions_ = std::move(now);
    addressBanned_ = std::move(addressBanned);
    std::vector<int> ids;
    for (const auto& [id, c] : connections_) ids.push_back(id);
    for (int id : ids) {
        const auto it = connections_.find(id);
        if (it == connections_.end() || it->second.where == Where::Leaving) continue;
        Connection& c = it->second;
        if (addressBanned_ && addressBanned_(c.address)) {
            Banish(id, c, "banned address " + c.address + ":", "-");
        } else if (const Sanction* ban = c.name.empty() ? nullptr : sanctions_.On(Sanction::Kind::Ban, c.name)) {
            Banish(id, c, "banned \"" + c.name + "\":", ban->reason.empty() ? "-" : ban->reason);
        }
    }
}

void Lobby::Forward(int id, Connection& c, std::string text) {
    const auto t = tables_.find(c.table);
    if (t == tables_.end()) return;
    if (c.held.empty() && t->second.handle->Waiting(id) < kMaxWaiting) return t->second.handle->Deliver(id, std::move(text));
    // Its table has not taken what it sent before: it waits, and is not read meanwhile.
    if (c.held.size() >= kMaxHeld) return Drop(id, "limit flood");
    if (c.held.empty()) {
        links_.Hold(id, true);
        links_.HousekeepBy(links_.Now() + kHeldCheckEvery);
    }
    c.held.push_back(std::move(text));
}

bool Lobby::FeedHeld() {
    bool left = false;
    for (auto& [id, c] : connections_) {
        if (c.held.empty()) continue;
        const auto t = tables_.find(c.table);
        if (t == tables_.end() || c.where != Where::Table) {
            c.held.clear();
            continue;
        }
        while (!c.held.empty() && t->second.handle->Waiting(id) < kMaxWaiting) {
            t->second.handle->Deliver(id, std::move(c.held.front()));
            c.held.pop_front();
        }
        if (c.held.empty())
            links_.Hold(id, false);
        else
            left = true;
    }
    return left;
}

void Lobby::HandleLobby(int id, Connection& c, const net::Piece& p) {
    if (p.command == "LobbyList") {
        c.following = true;
        // A closing table is not listed, nor counted.
        int listed = 0;
        for (const auto& [tableId, table] : tables_) {
            if (table.ending) continue;
            c.untold.insert(tableId);
            ++listed;
        }
        c.listEndOwed = listed;
        TellUntold(id, c);
    } else if (p.command == "LobbyMake") {
        Make(id, c, p.detail);
    } else if (p.command == "LobbySit") {
        Sit(id, c, p.detail);
    } else if (p.command == "LobbyWatch") {
        Watch(id, c, p.detail);
    } else if (p.command == "LobbyStart") {
        StartTable(id, c, p.detail);
    } else if (p.command == "LobbyNotices") {
        c.notices = true;
        links_.Send(id, net::Message("LobbyOk", "Notices;1"));
    } else if (p.command == "LobbyLeave") {
        No(id, net::Notice::NotWatching);
    } else if (p.command == "LobbyPlayNow" && c.browser) {
        PlayNow(id, c, p.detail);
    } else if (p.command == "LobbyGuest" && c.browser) {
        c.guestName = p.detail;
        GuestNameReserved(id, c);
    } else if (IsAccountCommand(p.command)) {
        AccountCommand(id, c, p);
    } else if (p.command == "LobbyRatings" && p.detail == "1") {
        c.ratings = true;
        links_.Send(id, net::Message("LobbyOk", "Ratings;1"));
    } else if (p.command == "LobbyLevels" && p.detail == "1") {
        c.levels = true;
        links_.Send(id, net::Message("LobbyOk", "Levels;1"));
    } else if (p.command == "LobbyTop") {
        SendTop(id, c);
    } else {
        No(id, net::Notice::UnknownLobbyCommand, p.command.substr(0, 20));
    }
}

void Lobby::SendTop(int id, const Connection& c) {
    int rank = 0;
    // A program that shows ratings has the registered players by rating;
    // an older one, the last thirty days' standings it knows.
    if (c.ratings) {
        for (const RatedStanding& r : links_.RatedTop())
            links_.Send(id, net::Message("Top", net::TopLineText({++rank, r.name, r.games, r.wins, 0, 0, r.rating, r.deviation}, true)));
    } else {
        for (const Standing& s : links_.Top())
            links_.Send(id, net::Message("Top", net::TopLineText({++rank, s.name, s.games, s.wins, s.points, s.hakemWins})));
    }
    links_.Send(id, net::Message("TopEnd", std::to_string(rank)));
}

void Lobby::Welcome(int id, Connection& c) {
    c.where = Where::Lobby;
    c.ours = true;
    links_.Send(id, net::Message("Lobby", std::to_string(net::kLobbyVersion)));
}

void Lobby::No(int id, net::Notice why, const std::string& name) {
    links_.Send(id, net::Message("LobbyNo", NoticeFor(connections_[id], net::MakeNotice(why, name))));
}

std::string Lobby::NoticeFor(const Connection& c, const net::NoticeText& notice) {
    // The code travels only to a program that has shown it reads codes.
    return c.notices ? net::NoticeDetail(notice) : notice.words;
}

bool Lobby::MayMakeTable(int id, const Connection& c) {
    if (static_cast<int>(tables_.size()) >= limits_.maxTables) {
        Log("limit tables refused connection " + std::to_string(id));
        No(id, net::Notice::NoRoomForTable);
        return false;
    }
    if (c.tablesMade >= limits_.tablesPerConnection) {
        Log("limit tables-per-connection refused connection " + std::to_string(id));
        No(id, net::Notice::TooManyTables);
        return false;
    }
    return true;
}

void Lobby::Make(int id, Connection& c, const std::string& detail) {
    const auto request = net::ParseMake(detail);
    if (!request) return No(id, net::Notice::BadTableSettings);
    if (!request->password.empty() && !c.secure) return No(id, net::Notice::PasswordsNeedTls);
    if (!MayMakeTable(id, c)) return;
    for (const auto& [tableId, table] : tables_)
        if (Folded(table.line.name) == Folded(request->name) && !table.ending)
            return No(id, net::Notice::TableNameTaken);
    TableRules rules;
    rules.name = request->name;
    rules.level = request->level;
    rules.moveLimit = request->moveLimit;
    rules.startsByMaker = true;
    rules.rated = request->rated;
    const int table = OpenTable(rules, request->password, request->watchable, id);
    ++c.tablesMade;
    // The maker's list shows its table before it is told the table is made.
    if (c.following && (held_.count(table) || c.untold.erase(table))) links_.Send(id, NewsOf(table, c.Dialect()));
    links_.Send(id, net::Message("LobbyOk", "Made;" + std::to_string(table)));
}

int Lobby::OpenTable(const TableRules& given, const std::string& password, bool watchable, int maker) {
    const int id = nextTable_++;
    TableRules rules = given;
    if (rules.name.empty()) rules.name = "Table " + std::to_string(id);
    rules.idleAfter = limits_.idleAfter;
    rules.nextGameAfter = limits_.nextGameAfter;
    rules.skipPauses = limits_.skipPauses;
    rules.autoStartAfter = limits_.autoStartAfter;
    rules.seed = static_cast<uint64_t>(id) * 7919 + static_cast<uint64_t>(links_.Now() * 1000);
    Table& t = tables_[id];
    t.line.id = id;
    t.line.name = rules.name;
    t.line.isPrivate = !password.empty();
    t.line.watchable = watchable;
    t.line.level = rules.level;
    t.line.moveLimit = static_cast<int>(rules.moveLimit);
    t.line.rated = rules.rated;
    t.line.fills[3] = net::SeatFill::Computer;  // the server's own seat
    t.line.names[3] = "Zarv";
    t.password = password;
    t.maker = maker;
    t.makerAtTable = maker != 0;
    // Logged without the password: only whether there is one.
    Log("table " + std::to_string(id) + " made \"" + rules.name + "\" level " + ai::LevelText(rules.level) +
        (t.line.isPrivate ? " private" : " public") + (maker ? " by connection " + std::to_string(maker) : ""));
    t.handle = factory_.Open(id, rules);
    Announce(id);
    return id;
}

Lobby::Table* Lobby::TableFor(int id, int table, const std::string& password, bool toWatch) {
    const auto it = tables_.find(table);
    if (it == tables_.end() || it->second.ending) {
        No(id, net::Notice::NoSuchTable);
        return nullptr;
    }
    Table& t = it->second;
    // A password is never read off an unencrypted connection.
    if ((t.line.isPrivate || !password.empty()) && !connections_[id].secure) {
        No(id, net::Notice::PasswordsNeedTls);
        return nullptr;
    }
    if (toWatch && !t.line.watchable) {
        No(id, net::Notice::WatchingNotAllowed);
        return nullptr;
    }
    if (t.password != password) {
        No(id, net::Notice::WrongPassword);
        return nullptr;
    }
    return &t;
}

void Lobby::Sit(int id, Connection& c, const std::string& detail) {
    if (GuestNameReserved(id, c)) return;
    const auto request = net::ParseSit(detail);
    if (!request) return No(id, net::Notice::ChooseTableAndSeat);
    Table* table = TableFor(id, request->table, request->password, false);
    if (!table) return;
    Table& t = *table;
    if (t.line.playing) return No(id, net::Notice::TableIsPlaying);
    if (SeatSpoken(request->table, request->seat, id)) return No(id, net::Notice::SeatTaken);
    c.chosenTable = request->table;
    c.chosenSeat = request->seat;
    c.since = links_.Now();
    links_.Send(id, net::Message("LobbyOk", "Sit;" + std::to_string(request->table) + ";" + std::to_string(request->seat)));
}

void Lobby::Watch(int id, Connection& c, const std::string& detail) {
    const auto request = net::ParseWatch(detail);
    if (!request) return No(id, net::Notice::ChooseTableToWatch);
    Table* table = TableFor(id, request->table, request->password, true);
    if (!table) return;
    Table& t = *table;
    c.where = Where::Watching;
    c.table = request->table;
    t.watchers.insert(id);
    t.line.watchers = static_cast<int>(t.watchers.size());
    links_.Send(id, net::Message("LobbyOk", "Watch;" + std::to_string(request->table)));
    if (c.browser)
        t.handle->WatchBrowser(id);
    else
        t.handle->Watch(id);
    Announce(request->table);
}

void Lobby::StopWatching(int id, Connection& c) {
    if (const auto it = tables_.find(c.table); it != tables_.end()) {
        it->second.watchers.erase(id);
        it->second.line.watchers = static_cast<int>(it->second.watchers.size());
        it->second.handle->Unwatch(id);
        Announce(c.table);
    }
    c.where = Where::Lobby;
    c.table = 0;
    links_.Send(id, net::Message("LobbyOk", "Leave;0"));
}

void Lobby::StartTable(int id, Connection& c, const std::string& detail) {
    const auto table = net::ParseTableId(detail);
    const auto it = table ? tables_.find(*table) : tables_.end();
    if (it == tables_.end() || it->second.ending) return No(id, net::Notice::NoSuchTable);
    Table& t = it->second;
    // The maker starts it; once the maker has gone, any player seated there.
    const bool maker = t.maker == id;
    const bool seatedThere = c.where == Where::Table && c.table == *table;
    if (!maker && !(seatedThere && !t.makerAtTable)) return No(id, net::Notice::OnlyMakerStarts);
    if (t.line.playing) return No(id, net::Notice::TableAlreadyPlaying);
    t.handle->Start();
    links_.Send(id, net::Message("LobbyOk", "Start;" + std::to_string(*table)));
}

void Lobby::PlayNow(int id, Connection& c, const std::string& detail) {
    // A table of its own, with the computer in the three other seats: nobody
    // else can sit there (it is private, with no password anyone could know),
    // and it starts as soon as its player sits down.
    if (GuestNameReserved(id, c) || !MayMakeTable(id, c)) return;
    TableRules rules;
    // "B", "S", "E" or "M"; anything else plays Standard.
    const std::string levels = "SEBM";
    rules.level = detail.size() == 1 && levels.find(detail[0]) != std::string::npos
                      ? ai::LevelFromNumber(static_cast<long>(levels.find(detail[0])))
                      : ai::Level::Standard;
    rules.moveLimit = 0;
    rules.playNow = true;
    rules.name = "Play now " + std::to_string(nextTable_);
    const int table = OpenTable(rules, std::string(1, '\0') + std::to_string(id), false, id);
    tables_[table].line.isPrivate = true;
    ++c.tablesMade;
    c.chosenTable = table;
    c.chosenSeat = 1;
    c.since = links_.Now();
    links_.Send(id, net::Message("LobbyOk", "Sit;" + std::to_string(table) + ";1"));
}

bool Lobby::NameHeld(const std::string& name) const { return names_.count(NameKey(name)) > 0; }

bool Lobby::SeatSpoken(int table, int seat, int asker) const {
    const auto t = tables_.find(table);
    if (t == tables_.end() || !SeatFree(t->second.line, seat)) return true;
    if (const auto p = t->second.promised.find(seat); p != t->second.promised.end() && p->second != asker) return true;
    for (const auto& [other, oc] : connections_)
        if (other != asker && oc.chosenTable == table && oc.chosenSeat == seat) return true;
    return false;
}

std::pair<int, int> Lobby::TableForOriginal(const std::string& side) {
    // Many may arrive at once: the seats promised to those the tables have
    // not seated yet count as taken, so nobody is sent to a full table.
    for (auto& [id, t] : tables_) {
        if (t.ending || t.line.playing || t.line.isPrivate) continue;
        std::array<bool, 5> taken{};
        for (int seat = 1; seat <= 4; ++seat) taken[static_cast<size_t>(seat)] = seat == 3 || SeatSpoken(id, seat, 0);
        const net::JoinReply reply = net::AssignSeat(side, taken);
        if (reply.code != 3) return {id, reply.code};
    }
    if (static_cast<int>(tables_.size()) >= limits_.maxTables) return {0, 0};
    TableRules rules;
    rules.level = limits_.levelForOriginal;
    rules.moveLimit = limits_.moveLimit;
    rules.startsByMaker = false;
    const int table = OpenTable(rules, "", true, 0);
    return {table, net::AssignSeat(side, {false, false, false, true, false}).code};
}

void Lobby::Refuse(int id, Connection& c, const std::string& why) {
    links_.Send(id, net::Message("Join", "3;" + why));
    c.where = Where::Leaving;
    links_.Close(id);
}

void Lobby::Seat(int id, Connection& c, const net::Piece& connect) {
    const auto request = net::ParseConnect(connect.detail);
    if (!request) return;  // a Dealer does not answer this either
    const auto seatName = SeatName(id, c, request->name);
    if (!seatName) return;
    const std::string name = *seatName;
    if (const Sanction* ban = sanctions_.On(Sanction::Kind::Ban, name)) {
        Log("banned \"" + name + "\" refused connection " + std::to_string(id));
        return Refuse(id, c, net::NoticeWords(net::Notice::Banned, ban->reason.empty() ? "-" : ban->reason));
    }
    if (NameHeld(name)) {
        Log("refused connection " + std::to_string(id) + ": the name is seated already");
        return Refuse(id, c, net::NoticeWords(net::Notice::NameAtAnotherTable, name));
    }
    int table = c.chosenTable;
    int seat = c.chosenSeat;
    c.chosenTable = c.chosenSeat = 0;
    if (table == 0 || !tables_.count(table) || tables_[table].ending) {
        // Not chosen in the lobby (a program of the original protocol): a waiting
        // public table with a place on that side, or a new one.
        std::tie(table, seat) = TableForOriginal(request->side);
        if (table == 0) {
            Log("limit tables refused connection " + std::to_string(id) + ": every table is full");
            return Refuse(id, c, net::kRefusal);
        }
    }
    Table& t = tables_[table];
    c.where = Where::Table;
    c.table = table;
    c.name = name;
    names_[NameKey(name)] = {table, id};
    if (t.maker == id) t.makerAtTable = true;
    if (seat > 0 && SeatFree(t.line, seat)) {
        // Taken from now on, so that nobody else is promised it before the
        // table reports its seats.
        t.line.fills[static_cast<size_t>(seat)] = net::SeatFill::Person;
        t.line.names[static_cast<size_t>(seat)] = name;
        t.promised[seat] = id;
    }
    if (c.browser)
        t.handle->AdmitBrowser(id, seat);
    else
        t.handle->Admit(id, seat);
    // The name it sits under (a signed-in player's own, however spelled) with the rest as asked.
    const size_t afterName = connect.detail.find(';');
    t.handle->Deliver(id, net::Message(connect.command, name + (afterName == std::string::npos ? std::string() : connect.detail.substr(afterName))));
}

void Lobby::Return(int id, Connection& c, const net::Piece& request) {
    const auto it = tokens_.find(request.detail);
    if (it == tokens_.end() || !tables_.count(it->second.first) || tables_[it->second.first].ending) {
        Log("refused return on connection " + std::to_string(id));
        return Refuse(id, c, "That seat is not yours to take back.");
    }
    Log("return on connection " + std::to_string(id) + " to table " + std::to_string(it->second.first));
    c.where = Where::Table;
    c.table = it->second.first;
    c.ours = true;
    // The name is held by this connection now.
    c.name = it->second.second;
    names_[NameKey(c.name)] = {c.table, id};
    Table& t = tables_[c.table];
    if (c.browser)
        t.handle->AdmitBrowser(id, 0);
    else
        t.handle->Admit(id, 0);
    t.handle->Deliver(id, net::Message(request.command, request.detail));
}

void Lobby::Closed(int id) {
    const auto it = connections_.find(id);
    if (it == connections_.end()) return;
    Connection& c = it->second;
    if (const auto t = tables_.find(c.table); t != tables_.end()) {
        if (c.where == Where::Watching || t->second.watchers.count(id)) {
            t->second.watchers.erase(id);
            t->second.line.watchers = static_cast<int>(t->second.watchers.size());
            t->second.handle->Unwatch(id);
            Announce(c.table);
        } else {
            t->second.handle->Lost(id);
        }
        if (t->second.maker == id) t->second.makerAtTable = false;
    }
    // A name stays held while the table keeps a seat its player can take back.
    if (!c.name.empty()) {
        auto held = names_.find(NameKey(c.name));
        if (held != names_.end() && held->second.second == id) {
            const auto t = tables_.find(held->second.first);
            const bool mayReturn = c.ours && !c.forfeited && t != tables_.end() && t->second.line.playing;
            if (mayReturn)
                held->second.second = 0;
            else
                names_.erase(held);
        }
    }
    Unpromise(id);
    if (c.where == Where::Table)
        Log("connection " + std::to_string(id) + " dropped from table " + std::to_string(c.table));
    else
        Log("connection " + std::to_string(id) + " closed");
    if (auto a = perAddress_.find(c.address); a != perAddress_.end() && --a->second <= 0) perAddress_.erase(a);
    connections_.erase(it);
}

void Lobby::Unpromise(int id) {
    const auto c = connections_.find(id);
    for (auto& [tableId, t] : tables_) {
        const auto promise = std::find_if(t.promised.begin(), t.promised.end(), [id](const auto& p) { return p.second == id; });
        if (promise == t.promised.end()) continue;
        // Shown taken for it alone: free again (the table reports a player it did seat).
        const size_t seat = static_cast<size_t>(promise->first);
        if (c != connections_.end() && t.line.fills[seat] == net::SeatFill::Person && t.line.names[seat] == c->second.name) {
            t.line.fills[seat] = net::SeatFill::Free;
            t.line.names[seat].clear();
            Announce(tableId);
        }
        t.promised.erase(promise);
    }
}

void Lobby::Drop(int id, const std::string& why) {
    Log(why + " dropped connection " + std::to_string(id));
    auto it = connections_.find(id);
    if (it == connections_.end()) return;
    it->second.where = Where::Leaving;
    links_.Close(id);
}

double Lobby::Housekeep() {
    const double now = links_.Now();
    double next = now + 3600;
    std::vector<int> late;
    for (const auto& [id, c] : connections_) {
        const bool waiting = c.where == Where::Door || (c.where == Where::Lobby && c.chosenTable != 0);
        if (!waiting) continue;
        const double due = c.since + limits_.connectTimeout;
        if (now >= due)
            late.push_back(id);
        else
            next = std::min(next, due);
    }
    for (int id : late) {
        Connection& c = connections_[id];
        if (c.where == Where::Lobby) {
            // A seat kept too long without a "Connect" is free again.
            c.chosenTable = c.chosenSeat = 0;
            continue;
        }
        Drop(id, "silent at the door:");
    }
    if (now >= nextTelling_ && (!held_.empty() || behind_)) TellHeld();
    if (!held_.empty() || behind_) next = std::min(next, nextTelling_);
    if (FeedHeld()) next = std::min(next, now + kHeldCheckEvery);
    return next;
}

void Lobby::Shutdown(const std::string& words) {
    closing_ = true;
    for (auto& [id, c] : connections_) {
        if (c.where == Where::Table || c.where == Where::Watching) continue;  // their tables tell them
        if (c.ours) links_.Send(id, net::Message("Closing", NoticeFor(c, net::RecognizeNotice(words))));
        c.where = Where::Leaving;
        links_.Close(id);
    }
    for (auto& [id, t] : tables_) {
        t.ending = true;
        t.handle->Shutdown(words);
    }
}

void Lobby::TableChanged(int table, const std::array<std::string, 5>& names, const std::array<net::SeatFill, 5>& fills,
                         bool playing) {
    const auto it = tables_.find(table);
    if (it == tables_.end()) return;
    Table& t = it->second;
    t.line.names = names;
    t.line.fills = fills;
    t.line.playing = playing;
    // A promise holds until the table reports its player seated (or the
    // player has gone); until then the seat shows as taken.
    std::erase_if(t.promised, [&](const auto& promise) {
        const auto c = connections_.find(promise.second);
        const size_t seat = static_cast<size_t>(promise.first);
        return c == connections_.end() || c->second.table != table || playing ||
               (fills[seat] == net::SeatFill::Person && names[seat] == c->second.name);
    });
    for (const auto& [seat, id] : t.promised) {
        if (!SeatFree(t.line, seat)) continue;
        t.line.fills[static_cast<size_t>(seat)] = net::SeatFill::Person;
        t.line.names[static_cast<size_t>(seat)] = connections_[id].name;
    }
    Announce(table);
}

void Lobby::TokenGiven(int table, int id, const std::string& token) {
    const auto c = connections_.find(id);
    if (!tables_.count(table) || c == connections_.end()) return;
    tokens_[token] = {table, c->second.name};
}

void Lobby::TableClosed(int table, int id) {
    const auto it = connections_.find(id);
    if (it == connections_.end() || it->second.table != table) return;
    it->second.where = Where::Leaving;
    links_.Close(id);
}

void Lobby::TableEnded(int table) {
    const auto it = tables_.find(table);
    if (it == tables_.end()) return;
    std::erase_if(tokens_, [&](const auto& token) { return token.second.first == table; });
    std::erase_if(names_, [&](const auto& held) { return held.second.first == table; });
    for (auto& [id, c] : connections_)
        if (c.table == table) {
            c.table = 0;
            if (c.where != Where::Leaving) {
                c.where = Where::Leaving;
                links_.Close(id);
            }
        }
    // The table's thread has ended: its handle can go (joining is immediate).
    it->second.handle.reset();
    tables_.erase(it);
    AnnounceGone(table);
}

void Lobby::Announce(int table) {
    const auto it = tables_.find(table);
    if (it == tables_.end()) return;
    // The seats' marks as they stand now (a rating changes only between games).
    for (int seat = 1; seat <= 4; ++seat) it->second.line.marks[static_cast<size_t>(seat)] = MarkOf(it->second.line, seat);
    std::string text = net::Message("TableIs", net::TableLineText(it->second.line, true));
    // A table confirms what the lobby marked when it routed a player there,
    // and reports its seats when its thread begins: an entry that has not
    // changed since it was last announced is not sent again.
    if (text == it->second.announced) return;
    it->second.announced = std::move(text);
    Tell(table);
}

void Lobby::AnnounceGone(int table) { Tell(table); }

void Lobby::Tell(int table) {
    held_.insert(table);
    if (links_.Now() >= nextTelling_)
        TellHeld();
    else if (held_.size() == 1)
        links_.HousekeepBy(nextTelling_);
}

std::string Lobby::MarkOf(const net::TableLine& line, int seat) const {
    const auto k = static_cast<size_t>(seat);
    if (line.fills[k] != net::SeatFill::Person) return {};
    if (!reserved_.Holds(line.names[k])) return "G";
    return std::to_string(std::clamp(links_.RatingOf(line.names[k]), 0, 9999));
}

std::string Lobby::NewsOf(int table, int dialect) const {
    const auto it = tables_.find(table);
    if (it == tables_.end()) return net::Message("TableGone", std::to_string(table));
    return net::Message("TableIs", net::TableLineText(it->second.line, dialect & 1, dialect & 2));
}

void Lobby::TellHeld() {
    nextTelling_ = links_.Now() + kAnnounceEvery;
    // Each table's news in every dialect: plain lines, with ratings, with levels.
    std::array<std::vector<std::string>, 4> news;
    std::array<size_t, 4> size{};
    for (int table : held_)
        for (int dialect = 0; dialect < 4; ++dialect)
            size[static_cast<size_t>(dialect)] += news[static_cast<size_t>(dialect)].emplace_back(NewsOf(table, dialect)).size();
    behind_ = false;
    for (auto& [id, c] : connections_) {
        if (c.where == Where::Leaving) continue;
        if (c.where == Where::Lobby && c.following) {
            const auto dialect = static_cast<size_t>(c.Dialect());
            if (c.untold.empty() && links_.Room(id) >= size[dialect]) {
                for (const std::string& text : news[dialect]) links_.Send(id, text);
                continue;
            }
            c.untold.insert(held_.begin(), held_.end());
        }
        if (!c.untold.empty()) TellUntold(id, c);
    }
    held_.clear();
}

void Lobby::TellUntold(int id, Connection& c) {
    // As much as the connection has room for; the rest at the next telling.
    size_t room = links_.Room(id);
    while (!c.untold.empty()) {
        const int table = *c.untold.begin();
        const auto it = tables_.find(table);
        if (it != tables_.end() && it->second.ending) {
            c.untold.erase(c.untold.begin());  // its end is on the way
            continue;
        }
        const std::string text = NewsOf(table, c.Dialect());
        if (text.size() > room) break;
        room -= text.size();
        links_.Send(id, text);
        c.untold.erase(c.untold.begin());
    }
    if (c.untold.empty() && c.listEndOwed >= 0) {
        links_.Send(id, net::Message("ListEnd", std::to_string(c.listEndOwed)));
        c.listEndOwed = -1;
    }
    if (!c.untold.empty() && !behind_) {
        behind_ = true;
        links_.HousekeepBy(std::max(nextTelling_, links_.Now() + kAnnounceEvery));
    }
}

} // namespace zarv::server
