// The server's TLS identity: its certificate (with any chain) and private
// key from PEM files, as a configuration for the encrypted port.
#pragma once

#include <QSslConfiguration>
#include <QString>

namespace zarv::server {

// False, with the reason, when the files cannot be read or do not match.
bool LoadServerTls(const QString& certificateFile, const QString& keyFile, QSslConfiguration* tls, QString* why);

} // namespace zarv::server
