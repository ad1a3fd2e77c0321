// What the network session reports, while the network dialog is open (its
// lists and status) and during a game (the chat, a lost Dealer).
#include "ui/network_dialog.h"
#include "ui/network_play.h"
#include "ui/notice_words.h"

namespace zarv::ui {

using Mode = net::NetworkMode::Kind;

void NetworkPlay::PlayerJoined(int connection, int, const std::string& name, const std::string& side) {
    if (dialog_) dialog_->PlayerJoinedOn(connection, JoinedInWords(QString::fromStdString(name), side));
}

void NetworkPlay::Seated(int seat, const std::string& text) {
    // A seat asked back and refused is not asked for again.
    if (seat == 3 && askedBack_) ForgetSeat();
    if (dialog_) {
        dialog_->Seated(seat, FromWire(text));
        return;
    }
    // Asked for the seat back, and the Dealer said no.
    if (seat == 3 && mode_.is(Mode::Reconnecting))
        End(tr("The Dealer did not give the seat back: %1").arg(FromWire(text)));
}

void NetworkPlay::PlayerAnnounced(const std::string& name, const std::string& side) {
    if (dialog_) dialog_->PlayerAnnounced(JoinedInWords(QString::fromStdString(name), side));
}

void NetworkPlay::StartReceived() {
    if (dialog_) dialog_->StartReceived();
}

void NetworkPlay::Connected() {
    if (dialog_) dialog_->Connected();
}

void NetworkPlay::ConnectFailed(const std::string& why) {
    if (dialog_) dialog_->ConnectFailed(QString::fromStdString(why));
}

void NetworkPlay::ConnectionClosed(int index) {
    if (index != 0 || !client()) return;
    if (dialog_) {
        dialog_->ConnectionClosed();
        return;
    }
    if (!mode_.is(Mode::Joined)) return;
    // The Dealer is gone. Ours keeps the seat: come back to it for a while.
    if (client_->CanReturn()) {
        KeepSeat();
        mode_.LoseDealer();
        emit notice(tr("The connection to the Dealer was lost. Reconnecting..."));
        reconnector_.Start();
        emit statusChanged();
        return;
    }
    // The game's own loop says so when it notices; the table is cleaned once it has unwound.
    const QString why = closing_.code != net::Notice::Unknown || !closing_.words.empty()
                            ? NoticeInWords(closing_)
                            : tr("The Dealer has gone; the network game is over.");
    QTimer::singleShot(0, this, [this, why] {
        if (mode_.is(Mode::Joined)) End(why);
    });
}

void NetworkPlay::PlayerLeft(int connection, int, const std::string& name) {
    if (dialog_) dialog_->PlayerLeft(connection, QString::fromStdString(name));
}

void NetworkPlay::LateJoinRefused(const std::string& name) {
    // News for the conversation: the status bar keeps saying what the table waits for.
    emit notice(tr("%1 tried to join, but the game has started.").arg(QString::fromStdString(name).trimmed()));
}

void NetworkPlay::RosterReceived(const std::array<std::string, 5>& names, const std::array<SeatKind, 5>& kinds) {
    if (dialog_) dialog_->RosterReceived(names, kinds, game_->state().LocalSeat);
}

void NetworkPlay::TableReceived() {
    if (!mode_.TableBack()) return;
    reconnector_.Stop();
    if (dialog_) {
        dialog_->ResumeReceived();
        return;
    }
    // Taken up from the event loop: a game still on the stack ends first, and
    // the table is taken up once it has unwound.
    QTimer::singleShot(0, this, [this] {
        if (mode_.is(Mode::Returning)) ResumeGame();
    });
}

void NetworkPlay::DealerSilent(double seconds) {
    emit notice(tr("The Dealer has not answered for %1 seconds. Game > Leave Network Game ends this game here.")
                    .arg(static_cast<int>(seconds)));
    emit statusChanged();
}

void NetworkPlay::DealerHeard() { emit statusChanged(); }

void NetworkPlay::TableClosing(const net::NoticeText& why) { closing_ = why; }

void NetworkPlay::ChatReceived(int seat, const std::string& text) {
    if (seat < 1 || seat > 4) return;
    // A table server tells one who chats too fast, or whom its admin has
    // muted or banned, in the Dealer's words, which every program reads:
    // shown here as its notice, in the person's language.
    if (seat == 3) {
        const net::NoticeText said = net::RecognizeNotice(text);
        if (said.code == net::Notice::SlowDown || said.code == net::Notice::Muted || said.code == net::Notice::Banned) {
            emit notice(NoticeInWords(said));
            return;
        }
    }
    emit chatLine(seat, QString::fromStdString(text), false);
}

void NetworkPlay::BadMessage(const std::string&) {
    if (!client()) return;  // the Dealer closed that player's connection
    emit dealerUnfollowable();
}

} // namespace zarv::ui
