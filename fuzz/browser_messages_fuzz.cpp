// A browser's messages, from a hostile page: whatever frames it sends, and
// whatever the lobby answers meanwhile, the link answers in valid JSON and
// hands the lobby only whole messages of the commands a browser may use.
#include <map>
#include <set>
#include <string>

#include <nlohmann/json.hpp>

#include "fuzz/fuzz_target.h"
#include "net/framing.h"
#include "net/wire.h"
#include "server/web_link.h"

ZARV_FUZZ_TARGET {
    using zarv::server::WebLink;
    static const std::set<std::string> kAllowed = {
        "Recived",       "LobbyNotices", "LobbyRatings", "LobbyLevels",  "LobbyGuest",   "LobbyList",    "LobbyTop",
        "LobbyMake",     "LobbySit",     "LobbyWatch",   "LobbyLeave",   "LobbyStart",   "LobbyPlayNow",
        "LobbyRegister", "LobbySignIn",  "LobbyResume",  "LobbySignOut", "LobbyPassword", "LobbyDeleteAccount",
        "Return",        "Connect",      "WebPlay",      "WebTrump",     "WebChat",      "WebHint",
        "WebAgain"};
    // The account commands carry their fields and no more: a page cannot smuggle one in.
    static const std::map<std::string, size_t> kFields = {{"LobbyRegister", 2}, {"LobbySignIn", 2}, {"LobbyResume", 2},
                                                          {"LobbyPassword", 2}, {"LobbyDeleteAccount", 1}};
    WebLink link;
    auto check = [](const WebLink::Out& out) {
        for (const std::string& frame : out.toBrowser)
            ZARV_FUZZ_CHECK(!nlohmann::json::parse(frame, nullptr, false).is_discarded());
        if (out.toLobby.empty()) return;
        ZARV_FUZZ_CHECK(out.toLobby.back() == '|');
        zarv::net::Framer framer;
        for (const auto& piece : framer.Feed(out.toLobby)) {
            ZARV_FUZZ_CHECK(kAllowed.count(piece.command) > 0);
            if (const auto it = kFields.find(piece.command); it != kFields.end())
                ZARV_FUZZ_CHECK(zarv::net::Fields(piece.detail, ';').size() == it->second);
        }
        ZARV_FUZZ_CHECK(framer.pending() == 0);
    };
    size_t at = 0;
    while (at < size) {
        // Each piece: one length byte, then a frame from the browser or (odd lengths) bytes from the lobby.
        const size_t length = std::min<size_t>(data[at], size - at - 1);
        const std::string_view piece(reinterpret_cast<const char*>(data) + at + 1, length);
        at += 1 + length;
        if (length % 2 == 0) check(link.FromBrowser(piece));
        else check(link.FromLobby(piece));
    }
    return 0;
}
