// The account part of a table server's lobby page: signs in again by itself
// with the session the window keeps for that server, registers or signs in
// when asked, signs out, and says who the connection plays as. The window
// never keeps a password, only the session's token.
#pragma once

#include <QObject>
#include <QString>

namespace zarv::net {
class LobbyClient;
}
namespace zarv::settings {
class Preferences;
}

namespace zarv::ui {

class ServerLobbyPage;

class ServerAccount : public QObject {
    Q_OBJECT
public:
    ServerAccount(ServerLobbyPage& page, settings::Preferences& preferences, QWidget* dialogParent);

    // The lobby of this server (as typed) answered: a kept session signs in.
    void Entered(net::LobbyClient& lobby, const QString& server, bool encrypted, const QString& guestName);
    void Ask(net::LobbyClient& lobby, bool registering);
    void SignOut(net::LobbyClient& lobby);
    // Takes the lobby's answer to an account request; true when the news was
    // this one's (a refusal of it included), with what the status line says.
    bool News(net::LobbyClient& lobby, QString* status);

private:
    enum class Asked { Nothing, Resume, SignIn, Register, SignOut };
    void Show(net::LobbyClient& lobby);

    ServerLobbyPage& page_;
    settings::Preferences& preferences_;
    QWidget* dialogParent_;
    QString server_;
    QString guestName_;
    bool encrypted_ = false;
    Asked asked_ = Asked::Nothing;
};

} // namespace zarv::ui
