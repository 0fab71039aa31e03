#include "core/failure.h"

#include <cerrno>

namespace {
FailureKind kindOf(int errorNumber) {
    switch (errorNumber) {
    case ENOENT:
    case ENOTDIR:
        return FailureKind::FileNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case ETXTBSY:
        return FailureKind::AccessDenied;
    default:
        return FailureKind::IoError;
    }
}

QString fileErrorText(int errorNumber) {
    switch (kindOf(errorNumber)) {
    case FailureKind::FileNotFound:
        return QStringLiteral("Datei nicht gefunden");
    case FailureKind::AccessDenied:
        return QStringLiteral("Dateizugriff verweigert");
    default:
        // errno 0 would read as "no error": report a plain I/O error instead.
        return QStringLiteral("E/A-Fehler %1").arg(errorNumber != 0 ? errorNumber : EIO);
    }
}
} // namespace

Failure fileFailure(int errorNumber) {
    return Failure{kindOf(errorNumber), fileErrorText(errorNumber)};
}

Failure lastFileFailure() {
    return fileFailure(errno);
}
