#include "logbook/logcopy.h"

#include "core/atomicfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

QString logCopiesFolder(const QString& logbookFolder) {
    return QDir(logbookFolder).filePath(QStringLiteral("logs"));
}

QString logCopyIn(const QString& copies, const QString& sha256) {
    return QDir(copies).filePath(sha256 + QStringLiteral(".CSV"));
}

Status syncFolder(const QString& folder) {
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (fd < 0)
        return lastFileFailure();
    const bool ok = ::fsync(fd) == 0;
    const Failure failure = lastFileFailure();
    ::close(fd);
    return ok ? Status() : Status(failure);
}

Status writeLogCopy(const QString& path, QByteArrayView bytes, const struct stat& original) {
    AtomicFile file(path);
    if (auto failure = file.open())
        return failure;
    if (auto failure = file.write(bytes.data(), bytes.size()))
        return failure;
    if (auto failure = file.commit())
        return failure;
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
    if (fd < 0)
        return lastFileFailure();
    const struct timespec times[2] = {original.st_atim, original.st_mtim};
    const bool ok = ::futimens(fd, times) == 0 && ::fsync(fd) == 0;
    const Failure failure = lastFileFailure();
    ::close(fd);
    if (!ok)
        return failure;
    return syncFolder(QFileInfo(path).absolutePath());
}
