#include "app/failure.h"

#include <cerrno>

QString fileErrorText(int errorNumber) {
    switch (errorNumber) {
    case ENOENT:
    case ENOTDIR:
        return QStringLiteral("Datei nicht gefunden");
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case ETXTBSY:
        return QStringLiteral("Dateizugriff verweigert");
    default:
        // errno 0 would read as "no error": report a plain I/O error instead.
        return QStringLiteral("E/A-Fehler %1").arg(errorNumber != 0 ? errorNumber : EIO);
    }
}

Failure lastFileFailure() {
    return Failure{fileErrorText(errno)};
}
