#include "settings/preferences.h"

#include "settings/settings_store.h"

namespace zarv::settings {

Preferences::Preferences(SettingsStore& store) : store_(store), settings_(ReadSettings(store)) {}

void Preferences::SetPlayerName(const std::string& name) {
    settings_.PlayerName = name;
    SavePlayerName(store_, name);
}

void Preferences::SetLastDealer(const std::string& address) {
    settings_.LastDealer = address;
    SaveLastDealer(store_, address);
}

void Preferences::SetLastServer(const std::string& address) {
    settings_.LastServer = address;
    SaveLastServer(store_, address);
}

void Preferences::SetServerPin(const std::string& server, const std::string& pin) { SaveServerPin(store_, server, pin); }

std::string Preferences::ServerPin(const std::string& server) { return ReadServerPin(store_, server); }

void Preferences::SetServerSession(const std::string& server, const std::optional<ServerSession>& session) {
    SaveServerSession(store_, server, session);
}

std::optional<ServerSession> Preferences::ServerSessionFor(const std::string& server) {
    return ReadServerSession(store_, server);
}

void Preferences::SetWindowPlace(const std::string& place) {
    settings_.WindowPlace = place;
    SaveWindowPlace(store_, place);
}

void Preferences::SetFullScreen(bool full) {
    settings_.FullScreen = full;
    SaveFullScreen(store_, full);
}

void Preferences::SetAskBeforeAbandoning(bool ask) {
    settings_.AskBeforeAbandoning = ask;
    SaveAskBeforeAbandoning(store_, ask);
}

void Preferences::SetNetworkRole(int32_t role) {
    settings_.NetworkRole = role;
    SaveNetworkRole(store_, role);
}

void Preferences::SaveAll() { SaveSettings(store_, settings_); }

} // namespace zarv::settings
