// The player's settings as the program runs with them: read once from the
// store, and changed only here, where each change is saved at once. The one
// exception is the options dialog's preview, which changes them unsaved and
// then keeps or puts back the whole set.
#pragma once

#include <string>

#include "settings/return_ticket.h"
#include "settings/settings.h"

namespace zarv::settings {

class SettingsStore;

class Preferences {
public:
    explicit Preferences(SettingsStore& store);

    const Settings& current() const { return settings_; }
    SettingsStore& store() { return store_; }

    void SetPlayerName(const std::string& name);
    void SetLastDealer(const std::string& address);
    void SetLastServer(const std::string& address);
    // The certificate fingerprint pinned for a table server ("" forgets it).
    void SetServerPin(const std::string& server, const std::string& pin);
    std::string ServerPin(const std::string& server);
    void SetServerSession(const std::string& server, const std::optional<ServerSession>& session);
    std::optional<ServerSession> ServerSessionFor(const std::string& server);
    void SetWindowPlace(const std::string& place);
    void SetFullScreen(bool full);
    void SetAskBeforeAbandoning(bool ask);
    void SetNetworkRole(int32_t role);
    // The seat held in a network game, kept until that game ends here.
    std::optional<ReturnTicket> ReturnTicketAt(int64_t now) { return ReadReturnTicket(store_, now); }
    void KeepReturnTicket(const ReturnTicket& ticket) { SaveReturnTicket(store_, ticket); }
    void ForgetReturnTicket() { settings::ForgetReturnTicket(store_); }

    // Changed for this run only (the options dialog's preview, a test's set-up)...
    Settings& unsaved() { return settings_; }
    // ...and then saved, or put back as it was.
    void SaveAll();
    void PutBack(const Settings& before) { settings_ = before; }

private:
    SettingsStore& store_;
    Settings settings_;
};

} // namespace zarv::settings
