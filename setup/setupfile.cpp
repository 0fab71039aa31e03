#include "setup/setupfile.h"
#include "core/atomicfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>

namespace {
// Qt refuses to open a folder without setting errno; the platform reports a
// denied access.
Failure openFailure(int errorNumber, const QString& path) {
    if (errorNumber == 0) {
        const QFileInfo info(path);
        if (info.isDir())
            errorNumber = EISDIR;
        else if (info.exists() && !info.isReadable())
            errorNumber = EACCES;
    }
    return fileFailure(errorNumber);
}
} // namespace

Result<QByteArray> readSetupFile(const QString& path) {
    QFile file(path);
    errno = 0;
    if (!file.open(QIODevice::ReadOnly))
        return openFailure(errno, path);
    QByteArray bytes(MaxSetupFileRead, '\0');
    qsizetype count = 0;
    while (count < MaxSetupFileRead) {
        errno = 0;
        const qint64 n = file.read(bytes.data() + count, MaxSetupFileRead - count);
        if (n < 0)
            return lastFileFailure();
        if (n == 0)
            break;
        count += n;
    }
    bytes.truncate(count);
    return bytes;
}

bool isValidSetupLength(qsizetype count) {
    return count >= MinSetupFileBytes && count <= SetupImage::Size;
}

Result<int> loadSetupFile(SetupImage& image, const QString& path) {
    const Result<QByteArray> read = readSetupFile(path);
    if (!read)
        return read.failure();
    const QByteArray& bytes = *read;
    if (isValidSetupLength(bytes.size())) {
        for (qsizetype k = 0; k < bytes.size(); ++k)
            image[static_cast<int>(k)] = static_cast<quint8>(bytes[k]);
    }
    return static_cast<int>(bytes.size());
}

QString setupFilePath(const QString& folder) {
    return QDir(folder).filePath(QLatin1String(SetupFileName));
}

Status writeSetupFile(const SetupImage& image, const QString& path) {
    return writeFileAtomically(
        path, QByteArray(reinterpret_cast<const char*>(image.bytes.data()), SetupImage::Size));
}

Status saveSetupFile(const SetupImage& image, const QString& folder) {
    return writeSetupFile(image, setupFilePath(folder));
}
