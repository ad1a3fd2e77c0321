#include "net/network_mode.h"

namespace zarv::net {

using K = NetworkMode::Kind;

bool NetworkMode::gameOn() const {
    return kind_ == K::Dealing || kind_ == K::Joined || kind_ == K::Reconnecting || kind_ == K::Returning ||
           kind_ == K::Ending;
}

std::string_view NetworkMode::Name(Kind kind) {
    switch (kind) {
    case K::Alone: return "Alone";
    case K::Hosting: return "Hosting";
    case K::Joining: return "Joining";
    case K::InServerLobby: return "InServerLobby";
    case K::Watching: return "Watching";
    case K::Dealing: return "Dealing";
    case K::Joined: return "Joined";
    case K::Reconnecting: return "Reconnecting";
    case K::Returning: return "Returning";
    case K::Ending: return "Ending";
    case K::Ended: return "Ended";
    }
    return "?";
}

bool NetworkMode::InLobbyStage() const {
    // Before a game: the person may switch between hosting, joining and a server.
    return kind_ == K::Alone || kind_ == K::Ended || kind_ == K::Hosting || kind_ == K::Joining ||
           kind_ == K::InServerLobby;
}

bool NetworkMode::Step(bool allowed, Kind to) {
    if (allowed) kind_ = to;
    return allowed;
}

bool NetworkMode::Host() { return Step(InLobbyStage(), K::Hosting); }
bool NetworkMode::Join() { return Step(InLobbyStage(), K::Joining); }
bool NetworkMode::OpenServerLobby() { return Step(InLobbyStage(), K::InServerLobby); }
bool NetworkMode::SitDown() { return Step(kind_ == K::InServerLobby, K::Joining); }
bool NetworkMode::Watch() { return Step(kind_ == K::InServerLobby, K::Watching); }

bool NetworkMode::StartGame() {
    if (kind_ == K::Hosting) return Step(true, K::Dealing);
    return Step(kind_ == K::Joining, K::Joined);
}

bool NetworkMode::LoseDealer() { return Step(kind_ == K::Joined, K::Reconnecting); }
bool NetworkMode::TableBack() { return Step(kind_ == K::Reconnecting || kind_ == K::Joining, K::Returning); }
bool NetworkMode::Resume() { return Step(kind_ == K::Returning, K::Joined); }
bool NetworkMode::EndLater() { return Step(gameOn() && kind_ != K::Ending, K::Ending); }
bool NetworkMode::End(bool client) { return Step(gameOn(), client ? K::Ended : K::Alone); }

} // namespace zarv::net
