#include "server/tls_identity.h"

#include <QFile>
#include <QSslCertificate>
#include <QSslKey>

namespace zarv::server {

bool LoadServerTls(const QString& certificateFile, const QString& keyFile, QSslConfiguration* tls, QString* why) {
    if (!QSslSocket::supportsSsl()) {
        *why = "this Qt has no TLS backend";
        return false;
    }
    const QList<QSslCertificate> chain = QSslCertificate::fromPath(certificateFile, QSsl::Pem);
    if (chain.isEmpty()) {
        *why = "no PEM certificate in " + certificateFile;
        return false;
    }
    QFile keyData(keyFile);
    if (!keyData.open(QIODevice::ReadOnly)) {
        *why = "cannot read " + keyFile + ": " + keyData.errorString();
        return false;
    }
    const QByteArray pem = keyData.readAll();
    QSslKey key;
    for (const QSsl::KeyAlgorithm algorithm : {QSsl::Rsa, QSsl::Ec, QSsl::Dsa}) {
        key = QSslKey(pem, algorithm, QSsl::Pem, QSsl::PrivateKey);
        if (!key.isNull()) break;
    }
    if (key.isNull()) {
        *why = "no unencrypted PEM private key in " + keyFile;
        return false;
    }
    QSslConfiguration c = QSslConfiguration::defaultConfiguration();
    c.setLocalCertificateChain(chain);
    c.setPrivateKey(key);
    c.setPeerVerifyMode(QSslSocket::VerifyNone);  // clients have no certificates
    c.setProtocol(QSsl::TlsV1_2OrLater);
    *tls = c;
    return true;
}

} // namespace zarv::server
