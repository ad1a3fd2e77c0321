#include "ui/notice_words.h"

#include <QCoreApplication>
#include <array>

namespace zarv::ui {

namespace {

// The words of this file, under one translation context.
struct EngineTexts {
    Q_DECLARE_TR_FUNCTIONS(EngineTexts)
};

// Each notice's words, by code; "%1" stands for its name.
constexpr std::array<const char*, net::kLastNotice + 1> kNoticeWords = {
    nullptr,
    QT_TRANSLATE_NOOP("EngineTexts", "Every seat is taken; please try again later."),
    QT_TRANSLATE_NOOP("EngineTexts", "You play as the Dealer's partner."),
    QT_TRANSLATE_NOOP("EngineTexts", "The Dealer's partner's seat is taken: you play against the Dealer."),
    QT_TRANSLATE_NOOP("EngineTexts", "You play against the Dealer."),
    QT_TRANSLATE_NOOP("EngineTexts", "The seats against the Dealer are taken: you play as the Dealer's partner."),
    QT_TRANSLATE_NOOP("EngineTexts", "The Dealer has closed the table."),
    QT_TRANSLATE_NOOP("EngineTexts", "The Dealer has no game in progress; join it again."),
    QT_TRANSLATE_NOOP("EngineTexts", "That seat is not yours to take back."),
    QT_TRANSLATE_NOOP("EngineTexts", "The table has closed"),
    QT_TRANSLATE_NOOP("EngineTexts", "The table is closing"),
    QT_TRANSLATE_NOOP("EngineTexts", "The server is closing"),
    QT_TRANSLATE_NOOP("EngineTexts", "The name %1 is already at a table of this server; choose another."),
    QT_TRANSLATE_NOOP("EngineTexts", "You are not watching a table."),
    QT_TRANSLATE_NOOP("EngineTexts",
                      "Passwords travel only over an encrypted connection; connect to the server with TLS to use one."),
    QT_TRANSLATE_NOOP("EngineTexts", "A table needs a name (up to 40 characters, without ; or |) and valid settings."),
    QT_TRANSLATE_NOOP("EngineTexts", "The server has no room for another table now."),
    QT_TRANSLATE_NOOP("EngineTexts", "You have made as many tables as one connection may."),
    QT_TRANSLATE_NOOP("EngineTexts", "There is a table of that name already."),
    QT_TRANSLATE_NOOP("EngineTexts", "There is no such table."),
    QT_TRANSLATE_NOOP("EngineTexts", "The table's maker does not allow watching."),
    QT_TRANSLATE_NOOP("EngineTexts", "Wrong password."),
    QT_TRANSLATE_NOOP("EngineTexts", "Choose a table and seat 1, 2 or 4."),
    QT_TRANSLATE_NOOP("EngineTexts", "The table is playing; watch it or choose another."),
    QT_TRANSLATE_NOOP("EngineTexts", "That seat is taken."),
    QT_TRANSLATE_NOOP("EngineTexts", "Choose a table to watch."),
    QT_TRANSLATE_NOOP("EngineTexts", "Only the table's maker may start it."),
    QT_TRANSLATE_NOOP("EngineTexts", "The table is playing already."),
    QT_TRANSLATE_NOOP("EngineTexts", "The lobby does not know \"%1\"."),
    QT_TRANSLATE_NOOP("EngineTexts", "name the Dealer's computer"),
    QT_TRANSLATE_NOOP("EngineTexts", "'%1' lacks its ']'"),
    QT_TRANSLATE_NOOP("EngineTexts", "'%1' is not [address]:port"),
    QT_TRANSLATE_NOOP("EngineTexts", "'%1' lacks the port after ':'"),
    QT_TRANSLATE_NOOP("EngineTexts", "the port must be a number from 1 to 65535, not '%1'"),
    QT_TRANSLATE_NOOP("EngineTexts", "Slow down: at most 5 chat lines in 10 seconds."),
    QT_TRANSLATE_NOOP("EngineTexts", "You are banned from this server: %1"),
    QT_TRANSLATE_NOOP("EngineTexts", "You are muted on this server, and nobody reads your chat: %1"),
    QT_TRANSLATE_NOOP("EngineTexts",
                      "The name %1 belongs to a registered player; sign in to play under it, or choose another."),
    QT_TRANSLATE_NOOP("EngineTexts", "Wrong name or password."),
    QT_TRANSLATE_NOOP("EngineTexts", "The name %1 is registered already; choose another."),
    QT_TRANSLATE_NOOP("EngineTexts", "Too many sign-in attempts; try again in a minute."),
    QT_TRANSLATE_NOOP("EngineTexts", "Your sign-in has expired; sign in again with your password."),
    QT_TRANSLATE_NOOP("EngineTexts", "This server cannot sign you in now; try again later."),
    QT_TRANSLATE_NOOP("EngineTexts",
                      "A name has 1 to 40 letters and a password 8 to 64 characters, neither with ; or |."),
    QT_TRANSLATE_NOOP("EngineTexts", "Sign in first."),
};

} // namespace

QString NoticeInWords(const net::NoticeText& notice) {
    const auto index = static_cast<size_t>(notice.code);
    if (index == 0 || index >= kNoticeWords.size()) return QString::fromStdString(notice.words);
    const QString words = EngineTexts::tr(kNoticeWords[index]);
    return words.contains(QLatin1String("%1")) ? words.arg(QString::fromStdString(notice.name)) : words;
}

QString NoticeInWords(net::Notice code) { return NoticeInWords(net::MakeNotice(code)); }

QString FromWire(const std::string& words) { return NoticeInWords(net::RecognizeNotice(words)); }

QString SideInWords(const std::string& side) {
    if (side == "Partner") return EngineTexts::tr("Partner");
    if (side == "Against") return EngineTexts::tr("Against");
    return QString::fromStdString(side);
}

QString JoinedInWords(const QString& name, const std::string& side) {
    // One pass over both, so a name that itself holds "%2" stays as typed.
    return EngineTexts::tr("%1 joined.  (%2)").arg(name, SideInWords(side));
}

} // namespace zarv::ui
