#include "logbook/logdigest.h"

#include <QCryptographicHash>
#include <openssl/evp.h>

// Qt's own SHA-256 runs at under 200 MB/s, longer than reading and parsing
// the whole log; OpenSSL's uses the processor's SHA instructions where there
// are any, about ten times faster. Qt's stays for an OpenSSL set up without
// SHA-256, which the logbook cannot do without.
QString logDigest(QByteArrayView bytes) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (EVP_Digest(bytes.data(), size_t(bytes.size()), digest, &length, EVP_sha256(), nullptr) == 1)
        return QString::fromLatin1(
            QByteArray(reinterpret_cast<const char*>(digest), int(length)).toHex());
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
}
