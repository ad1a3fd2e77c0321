#include "ui/server_account.h"

#include "net/lobby_client.h"
#include "settings/preferences.h"
#include "ui/notice_words.h"
#include "ui/server_lobby_page.h"
#include "ui/sign_in_dialog.h"

namespace zarv::ui {

ServerAccount::ServerAccount(ServerLobbyPage& page, settings::Preferences& preferences, QWidget* dialogParent)
    : page_(page), preferences_(preferences), dialogParent_(dialogParent) {}

void ServerAccount::Entered(net::LobbyClient& lobby, const QString& server, bool encrypted, const QString& guestName) {
    server_ = server;
    encrypted_ = encrypted;
    guestName_ = guestName;
    asked_ = Asked::Nothing;
    Show(lobby);
    // A token travels only where a password would.
    const auto kept = encrypted ? preferences_.ServerSessionFor(server.toStdString()) : std::nullopt;
    if (!kept) return;
    asked_ = Asked::Resume;
    lobby.Resume(kept->name, kept->token);
}

void ServerAccount::Ask(net::LobbyClient& lobby, bool registering) {
    if (asked_ != Asked::Nothing) return;
    SignInDialog dialog(registering, guestName_, dialogParent_);
    if (dialog.exec() != QDialog::Accepted) return;
    asked_ = registering ? Asked::Register : Asked::SignIn;
    page_.SetStatus(registering ? tr("Registering...") : tr("Signing in..."));
    if (registering)
        lobby.Register(dialog.chosenName(), dialog.chosenPassword());
    else
        lobby.SignIn(dialog.chosenName(), dialog.chosenPassword());
}

void ServerAccount::SignOut(net::LobbyClient& lobby) {
    if (asked_ != Asked::Nothing) return;
    asked_ = Asked::SignOut;
    lobby.SignOut();
}

bool ServerAccount::News(net::LobbyClient& lobby, QString* status) {
    if (asked_ == Asked::Nothing) return false;
    const Asked asked = asked_;
    if (!lobby.refusal.empty()) {
        asked_ = Asked::Nothing;
        // A kept session that is no longer good is forgotten, without a word
        // unless it ended by itself.
        if (asked == Asked::Resume) {
            preferences_.SetServerSession(server_.toStdString(), std::nullopt);
            *status = lobby.refusalNotice.code == net::Notice::SessionExpired ? NoticeInWords(lobby.refusalNotice) : QString();
        } else if (lobby.refusalNotice.code == net::Notice::UnknownLobbyCommand) {
            *status = tr("This table server has no accounts.");
        } else {
            *status = NoticeInWords(lobby.refusalNotice);
        }
        lobby.refusal.clear();
        return true;
    }
    if (lobby.okWhat == "SignedIn") {
        asked_ = Asked::Nothing;
        lobby.okWhat.clear();
        preferences_.SetServerSession(server_.toStdString(), settings::ServerSession{lobby.signedInAs, lobby.sessionToken});
        *status = asked == Asked::Register ? tr("Registered: the name %1 is yours on this server.").arg(QString::fromStdString(lobby.signedInAs))
                                           : tr("Signed in as %1.").arg(QString::fromStdString(lobby.signedInAs));
        Show(lobby);
        return true;
    }
    if (lobby.okWhat == "SignedOut") {
        asked_ = Asked::Nothing;
        lobby.okWhat.clear();
        preferences_.SetServerSession(server_.toStdString(), std::nullopt);
        *status = tr("Signed out.");
        Show(lobby);
        return true;
    }
    return false;
}

void ServerAccount::Show(net::LobbyClient& lobby) {
    const bool signedIn = !lobby.signedInAs.empty();
    page_.ShowAccount(signedIn ? QString::fromStdString(lobby.signedInAs) : guestName_, signedIn, encrypted_);
}

} // namespace zarv::ui
