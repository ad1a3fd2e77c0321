// Certificate pins: the SHA-256 fingerprint of a server's certificate, as an
// admin publishes it ("AB:CD:...") and as a player pastes it.
#pragma once

#include <QByteArray>
#include <QSslCertificate>
#include <QString>

namespace zarv::net {

// The 32 bytes of a fingerprint written as 64 hex digits, with or without
// colons or spaces between them, in either case; empty when it is not one.
QByteArray ParsePin(const QString& text);
// "AB:CD:..." for a fingerprint's bytes.
QString PinText(const QByteArray& digest);
QByteArray Fingerprint(const QSslCertificate& certificate);

} // namespace zarv::net
