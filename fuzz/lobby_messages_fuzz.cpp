// The door and lobby of a table server, whose clients are the fuzzer: bytes
// from four connections at a time, in pieces of any size, with the tables
// behind the lobby reporting seats and ending when told to.
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "fuzz/fuzz_target.h"
#include "net/lobby_wire.h"
#include "server/lobby.h"

namespace {

using namespace zarv;

struct Links : server::LobbyLinks {
    std::map<int, bool> closed;
    size_t sent = 0;
    double now = 0;
    void Send(int connection, const std::string& text) override {
        ZARV_FUZZ_CHECK(!text.empty() && text.back() == '|');
        sent += text.size();
        (void)connection;
    }
    void Close(int connection) override { closed[connection] = true; }
    void Log(const std::string&) override {}
    double Now() const override { return now; }
    void HousekeepBy(double) override {}
    // Little room, so that lists are told in parts.
    size_t Room(int) const override { return 1024; }
    std::map<int, bool> held;
    void Hold(int connection, bool h) override { held[connection] = h; }
    // The accounts take a few requests; the clock's turns answer them.
    std::vector<server::AccountRequest> asked;
    server::AccountOutcome AskAccounts(const server::AccountRequest& r) override {
        // Only what passed the lobby's checks reaches the accounts.
        ZARV_FUZZ_CHECK(r.secret.size() <= 64 && r.name.size() <= 40 && r.newSecret.size() <= 64);
        if (asked.size() >= 4) return server::AccountOutcome::Busy;
        asked.push_back(r);
        return server::AccountOutcome::Ok;
    }
};

struct Table : server::TableHandle {
    int admitted = 0;
    bool shutdown = false;
    const size_t* waiting = nullptr;  // the fuzzer has the tables fall behind and catch up
    void Admit(int, int) override { ++admitted; }
    void Deliver(int, std::string text) override {
        ZARV_FUZZ_CHECK(!text.empty() && text.back() == '|');
        // A chat line reaches the table cut to the window's length.
        if (text.rfind("Chat;", 0) == 0 || text.rfind("WebChat;", 0) == 0) ZARV_FUZZ_CHECK(text.size() <= 16 + 4 * 200);
    }
    size_t Waiting(int) const override { return *waiting; }
    void Lost(int) override {}
    void Watch(int) override {}
    void Unwatch(int) override {}
    void Start() override {}
    void Shutdown(std::string) override { shutdown = true; }
};

struct Tables : server::TableFactory {
    int opened = 0;
    size_t waiting = 0;
    std::unique_ptr<server::TableHandle> Open(int, const server::TableRules& rules) override {
        ++opened;
        ZARV_FUZZ_CHECK(rules.name.size() <= 64);
        auto table = std::make_unique<Table>();
        table->waiting = &waiting;
        return table;
    }
};

} // namespace

ZARV_FUZZ_TARGET {
    Links links;
    Tables tables;
    server::LobbyLimits limits;
    limits.maxTables = 4;
    limits.connectionsPerAddress = 3;
    limits.tablesPerConnection = 2;
    server::Lobby lobby(limits, links, tables);
    for (int id = 1; id <= 4; ++id) lobby.Accept(id, id == 4 ? "10.0.0.2" : "10.0.0.1", id != 2);
    size_t at = 0;
    while (at + 2 <= size) {
        const int id = data[at] % 5;  // 0: the clock and the tables speak
        const size_t length = std::min<size_t>(data[at + 1], size - at - 2);
        const std::string_view piece(reinterpret_cast<const char*>(data) + at + 2, length);
        at += 2 + length;
        if (id == 0) {
            links.now += static_cast<double>(length);
            tables.waiting = length % 4 == 3 ? server::Lobby::kMaxWaiting : 0;
            lobby.Housekeep();
            if (length % 3 == 0 && lobby.tableCount() > 0) {
                std::array<std::string, 5> names{"", "a;b", "", "Zarv", ""};
                std::array<net::SeatFill, 5> fills{net::SeatFill::Free, net::SeatFill::Person, net::SeatFill::Free,
                                                   net::SeatFill::Computer, net::SeatFill::Free};
                lobby.TableChanged(1, names, fills, length % 2 == 0);
            }
            if (length % 5 == 1) lobby.TokenGiven(1, 1, std::string(piece));
            if (length % 7 == 2) lobby.TableEnded(1);
            // The accounts answer, each outcome in turn, under the name asked or another.
            // (What an answer lets through may ask again: that waits for the next turn.)
            const std::vector<server::AccountRequest> answering = std::exchange(links.asked, {});
            for (const server::AccountRequest& r : answering)
                lobby.AccountAnswered({r.kind, r.connection, static_cast<server::AccountOutcome>(length % 6),
                                       length % 2 ? r.name : std::string("Ann"), std::string(64, 'a')});
            if (length % 13 == 5) lobby.SetReservedNames({server::KeysOf("Ann"), server::KeysOf(std::string(piece))});
            if (length % 11 == 4) {
                // An admin bans and mutes names the fuzzer may use, and an address.
                server::Sanctions now;
                now.list = {{server::Sanction::Kind::Ban, "bob", 0, "rude"}, {server::Sanction::Kind::Mute, "ann", 0, ""}};
                lobby.ApplySanctions(now, [piece](const std::string& address) { return !piece.empty() && address == "10.0.0.2"; });
            }
            continue;
        }
        if (links.closed[id]) {
            lobby.Closed(id);
            links.closed.erase(id);
            continue;
        }
        lobby.Data(id, piece);
        // What the lobby reads, the lobby's texts read back the same.
        if (const auto line = net::ParseTableLine(piece)) {
            const auto again = net::ParseTableLine(net::TableLineText(*line));
            ZARV_FUZZ_CHECK(again && net::TableLineText(*again) == net::TableLineText(*line));
        }
        if (const auto make = net::ParseMake(piece)) ZARV_FUZZ_CHECK(net::ParseMake(net::MakeText(*make)).has_value());
        if (const auto sit = net::ParseSit(piece)) ZARV_FUZZ_CHECK(sit->seat == 1 || sit->seat == 2 || sit->seat == 4);
    }
    ZARV_FUZZ_CHECK(static_cast<int>(lobby.tableCount()) <= limits.maxTables);
    ZARV_FUZZ_CHECK(tables.opened <= 64);
    // Whatever was said, the answers stay within a bound of what was asked.
    ZARV_FUZZ_CHECK(links.sent <= 4096 + size * 2048);
    lobby.Shutdown("closing");
    return 0;
}
