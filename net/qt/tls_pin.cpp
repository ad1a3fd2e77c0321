#include "net/qt/tls_pin.h"

#include <QCryptographicHash>
#include <QRegularExpression>

namespace zarv::net {

QByteArray ParsePin(const QString& text) {
    QString hex = text.trimmed();
    if (hex.startsWith("sha256", Qt::CaseInsensitive)) hex = hex.mid(6).remove(QRegularExpression("^[ =:/]+"));
    hex.remove(':').remove(' ');
    static const QRegularExpression kHex("^[0-9A-Fa-f]{64}$");
    if (!kHex.match(hex).hasMatch()) return {};
    return QByteArray::fromHex(hex.toLatin1());
}

QString PinText(const QByteArray& digest) { return QString::fromLatin1(digest.toHex(':').toUpper()); }

QByteArray Fingerprint(const QSslCertificate& certificate) { return certificate.digest(QCryptographicHash::Sha256); }

} // namespace zarv::net
