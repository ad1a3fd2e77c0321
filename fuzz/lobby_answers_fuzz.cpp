// Our side of a table server's lobby, whose server is the fuzzer: whatever
// it sends, in pieces of any size, the lobby client and the watched table
// stay within their bounds.
#include <string>

#include "fuzz/fuzz_target.h"
#include "net/lobby_client.h"

namespace {

using namespace zarv;

struct Silent : net::Transport {
    size_t sent = 0;
    void SetEvents(net::TransportEvents*) override {}
    net::TransportEvents* events() const override { return nullptr; }
    int ElementCount() const override { return 1; }
    bool IsConnected(int) const override { return true; }
    void Send(int, std::string_view bytes) override { sent += bytes.size(); }
    void Close(int) override {}
    void StopListening() override {}
    void CloseAll() override {}
};

} // namespace

ZARV_FUZZ_TARGET {
    Silent transport;
    net::LobbyClient lobby(transport);
    int chats = 0;
    lobby.onChat = [&](int seat, const std::string&) {
        ZARV_FUZZ_CHECK(seat >= 0);
        ++chats;
    };
    lobby.OnConnected();
    size_t at = 0;
    while (at < size) {
        const size_t length = std::min<size_t>(1 + data[at] % 64, size - at);
        lobby.OnData(0, std::string_view(reinterpret_cast<const char*>(data) + at, length));
        at += length;
        const net::WatchedTable& w = lobby.watched;
        ZARV_FUZZ_CHECK(w.tricksA >= 0 && w.tricksB >= 0 && w.tricksA + w.tricksB <= 13);
        ZARV_FUZZ_CHECK(w.pointsA >= 0 && w.pointsA <= 99 && w.pointsB >= 0 && w.pointsB <= 99);
        for (int seat = 1; seat <= 4; ++seat) ZARV_FUZZ_CHECK(w.CardsHeld(seat) >= 0 && w.CardsHeld(seat) <= 13);
        ZARV_FUZZ_CHECK(lobby.top.size() <= 10);
        ZARV_FUZZ_CHECK(lobby.tables.size() <= net::LobbyClient::kMaxTables);
    }
    // The client only ever asked for the lobby, and once said that it reads
    // notices' codes, shows ratings and knows the four levels.
    const size_t asked = std::string("Recived;Lobby|").size();
    ZARV_FUZZ_CHECK(transport.sent ==
                    asked + (lobby.lobbyVersion > 0 ? std::string("LobbyNotices;1|LobbyRatings;1|LobbyLevels;1|").size() : 0));
    // A session's token it keeps is the server's, whole or not at all.
    ZARV_FUZZ_CHECK(lobby.sessionToken.size() <= 64 * 1024);
    return 0;
}
