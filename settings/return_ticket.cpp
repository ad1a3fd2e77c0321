#include "settings/return_ticket.h"

#include <QString>
#include <QStringList>
#include <algorithm>
#include <cctype>

#include "settings/settings.h"
#include "settings/settings_store.h"

namespace zarv::settings {

namespace {

const QString kKey = QString::fromLatin1(kSettingsKey);
// One value, written at once: a crash never leaves half a ticket.
const QString kName = QStringLiteral("ReturnTicket");
const QChar kSep = QLatin1Char(';');

bool Printable(const QString& text, qsizetype longest) {
    return !text.isEmpty() && text.size() <= longest &&
           std::none_of(text.begin(), text.end(), [](QChar c) { return c.category() == QChar::Other_Control; });
}

// Tokens are hexadecimal, as our Dealers make them.
bool TokenLike(const QString& token) {
    return !token.isEmpty() && token.size() <= 64 &&
           std::all_of(token.begin(), token.end(), [](QChar c) { return c.unicode() < 128 && std::isxdigit(c.unicode()); });
}

std::optional<int64_t> Number(const QString& text, int64_t least, int64_t most) {
    bool ok = false;
    const qlonglong n = text.toLongLong(&ok, 10);
    if (!ok || n < least || n > most) return std::nullopt;
    return n;
}

} // namespace

std::optional<ReturnTicket> ReadReturnTicket(SettingsStore& store, int64_t now) {
    const auto stored = store.ReadString(kKey, kName);
    if (!stored || stored->empty() || stored->size() > 1024) return std::nullopt;
    // kind;encrypted;seat;port;saved;token;host;address (the address last: it may hold ';').
    const QStringList f = QString::fromUtf8(*stored).split(kSep);
    if (f.size() < 8 || (f[0] != QLatin1String("dealer") && f[0] != QLatin1String("server"))) return std::nullopt;
    const auto encrypted = Number(f[1], 0, 1), seat = Number(f[2], 1, 4), port = Number(f[3], 1, 65535);
    const auto saved = Number(f[4], 0, now);
    const QString address = f.mid(7).join(kSep);
    if (!encrypted || !seat || !port || !saved || !TokenLike(f[5]) || !Printable(f[6], 255) || !Printable(address, 255))
        return std::nullopt;
    if (now - *saved > ReturnTicket::kKeepSeconds) return std::nullopt;
    ReturnTicket t;
    t.server = f[0] == QLatin1String("server");
    t.encrypted = *encrypted != 0;
    t.seat = static_cast<int>(*seat);
    t.port = static_cast<int>(*port);
    t.savedAt = *saved;
    t.token = f[5].toStdString();
    t.host = f[6].toStdString();
    t.address = address.toStdString();
    return t;
}

void SaveReturnTicket(SettingsStore& store, const ReturnTicket& t) {
    const QStringList fields{t.server ? QStringLiteral("server") : QStringLiteral("dealer"),
                             QString::number(t.encrypted ? 1 : 0),
                             QString::number(t.seat),
                             QString::number(t.port),
                             QString::number(t.savedAt),
                             QString::fromStdString(t.token),
                             QString::fromStdString(t.host),
                             QString::fromStdString(t.address)};
    store.WriteString(kKey, kName, fields.join(kSep).toStdString());
}

void ForgetReturnTicket(SettingsStore& store) {
    if (store.ReadString(kKey, kName).value_or(std::string()).empty()) return;
    store.WriteString(kKey, kName, std::string());
}

} // namespace zarv::settings
