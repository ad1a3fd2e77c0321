// The lobby's part in accounts: registering, signing in and out, changing a
// password, deleting an account, and the names a connection may sit under.
// The accounts themselves answer later, from their own thread.

#include "server/lobby.h"

#include "net/wire.h"
#include "server/web_link.h"

namespace zarv::server {

namespace {

using Kind = AccountRequest::Kind;

constexpr size_t kLeastPassword = 8;

bool IsPassword(const std::string& text) {
    return text.size() >= kLeastPassword && net::IsLobbyText(text, net::kMaxPassword);
}

bool IsSessionToken(const std::string& text) {
    return text.size() == 64 && text.find_first_not_of("0123456789abcdef") == std::string::npos;
}

std::string Field(const std::vector<std::string_view>& fields, size_t index) {
    return index < fields.size() ? std::string(fields[index]) : std::string();
}

} // namespace

bool Lobby::IsAccountCommand(const std::string& command) const {
    return command == "LobbyRegister" || command == "LobbySignIn" || command == "LobbyResume" ||
           command == "LobbySignOut" || command == "LobbyPassword" || command == "LobbyDeleteAccount";
}

void Lobby::AccountCommand(int id, Connection& c, const net::Piece& p) {
    // Passwords and session tokens never travel in the clear.
    if (!c.secure) return No(id, net::Notice::PasswordsNeedTls);
    // One request at a time: the next waits for the answer.
    if (c.askingAccounts) return;
    const auto f = net::Fields(p.detail, ';');
    AccountRequest r;
    r.connection = id;
    if (p.command == "LobbyRegister" || p.command == "LobbySignIn") {
        r.kind = p.command == "LobbyRegister" ? Kind::Register : Kind::SignIn;
        r.name = Field(f, 0);
        r.secret = Field(f, 1);
        if (!IsPlayerName(r.name) || !IsPassword(r.secret)) return No(id, net::Notice::AccountRules);
    } else if (p.command == "LobbyResume") {
        r.kind = Kind::Resume;
        r.name = Field(f, 0);
        r.secret = Field(f, 1);
        if (!IsPlayerName(r.name) || !IsSessionToken(r.secret)) return No(id, net::Notice::WrongSignIn);
    } else {
        if (c.account.empty()) return No(id, net::Notice::SignInFirst);
        r.name = c.account;
        if (p.command == "LobbySignOut") {
            r.kind = Kind::SignOut;
            r.secret = c.session;
        } else if (p.command == "LobbyPassword") {
            r.kind = Kind::Password;
            r.secret = Field(f, 0);
            r.newSecret = Field(f, 1);
            if (!IsPassword(r.secret) || !IsPassword(r.newSecret)) return No(id, net::Notice::AccountRules);
        } else {
            r.kind = Kind::Delete;
            r.secret = Field(f, 0);
            if (!IsPassword(r.secret)) return No(id, net::Notice::AccountRules);
        }
    }
    // A password is tried only so often, from one address and for one name
    // (a token is too long to guess, and a page reloaded often resumes often).
    const bool password = r.kind != Kind::Resume && r.kind != Kind::SignOut;
    if (password && !signInLimits_.Allow(c.address, KeysOf(r.name).folded, links_.Now())) {
        Log("limit sign-in connection " + std::to_string(id));
        return No(id, net::Notice::SignInTooOften);
    }
    if (r.kind == Kind::Register && reserved_.Holds(r.name)) return No(id, net::Notice::NameTaken, r.name);
    if (links_.AskAccounts(r) != AccountOutcome::Ok) return No(id, net::Notice::AccountsUnavailable);
    c.askingAccounts = true;
}

void Lobby::AccountAnswered(const AccountAnswer& a) {
    const auto it = connections_.find(a.connection);
    if (it == connections_.end() || it->second.where == Where::Leaving) return;
    const int id = a.connection;
    it->second.askingAccounts = false;
    Answer(id, it->second, a);
    // Then what it sent meanwhile, until it leaves or asks the accounts again.
    while (true) {
        const auto still = connections_.find(id);
        if (still == connections_.end() || still->second.where == Where::Leaving) return;
        Connection& c = still->second;
        if (c.askingAccounts || c.afterAccounts.empty()) return;
        const net::Piece next = std::move(c.afterAccounts.front());
        c.afterAccounts.pop_front();
        Dispatch(id, c, next);
    }
}

void Lobby::Answer(int id, Connection& c, const AccountAnswer& a) {
    const std::string who = " \"" + a.name + "\" connection " + std::to_string(id);
    switch (a.outcome) {
        case AccountOutcome::Ok: break;
        case AccountOutcome::NameTaken: return No(id, net::Notice::NameTaken, a.name);
        case AccountOutcome::WrongSignIn:
            Log("sign-in refused connection " + std::to_string(id));
            return No(id, net::Notice::WrongSignIn);
        case AccountOutcome::Expired: return No(id, net::Notice::SessionExpired);
        case AccountOutcome::Unavailable:
        case AccountOutcome::Busy: return No(id, net::Notice::AccountsUnavailable);
    }
    switch (a.kind) {
        case Kind::Register:
        case Kind::SignIn:
        case Kind::Resume: {
            c.account = a.name;
            c.accountKeys = KeysOf(a.name);
            c.session = a.token;
            if (a.kind == Kind::Register) reserved_.Add(c.accountKeys);
            Log((a.kind == Kind::Register ? "registered" : "signed in") + who);
            if (const Sanction* ban = sanctions_.On(Sanction::Kind::Ban, a.name))
                return Banish(id, c, "banned", ban->reason.empty() ? "-" : ban->reason);
            return links_.Send(id, net::Message("LobbyOk", "SignedIn;" + a.name + ";" + a.token));
        }
        case Kind::Password:
            c.session = a.token;
            Log("password changed" + who);
            return links_.Send(id, net::Message("LobbyOk", "Password;" + a.token));
        case Kind::SignOut:
        case Kind::Delete:
            c.account.clear();
            c.accountKeys = {};
            c.session.clear();
            Log((a.kind == Kind::Delete ? "account deleted" : "signed out") + who);
            return links_.Send(id, net::Message("LobbyOk", a.kind == Kind::Delete ? "Deleted" : "SignedOut"));
    }
}

bool Lobby::GuestNameReserved(int id, const Connection& c) {
    if (!c.browser || !c.account.empty() || c.guestName.empty() || !reserved_.Holds(c.guestName)) return false;
    No(id, net::Notice::NameRegistered, c.guestName);
    return true;
}

std::optional<std::string> Lobby::SeatName(int id, Connection& c, const std::string& asked) {
    // Signed in: the account's own name, however the program spelled it.
    if (!c.account.empty()) return c.account;
    if (reserved_.Holds(asked)) {
        Log("refused connection " + std::to_string(id) + ": the name is registered");
        Refuse(id, c, net::NoticeWords(net::Notice::NameRegistered, asked));
        return std::nullopt;
    }
    return asked;
}

} // namespace zarv::server
