#include "logbook/preparedlog.h"

#include "log/logdate.h"
#include "logbook/logcopy.h"
#include "logbook/logfigures.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <sys/stat.h>

namespace {

struct LogFile {
    QByteArray bytes;
    struct stat status {};
};

// The log's bytes; the reason it failed otherwise.
std::optional<LogFile> readLogFile(const QString& path, QString& reason) {
    if (QFileInfo(path).isDir()) {
        reason = QStringLiteral("keine Log-Datei (LOG?????.CSV) im Ordner");
        return std::nullopt;
    }
    LogFile log;
    if (::stat(QFile::encodeName(path).constData(), &log.status) != 0) {
        reason = lastFileFailure().message;
        return std::nullopt;
    }
    if (!S_ISREG(log.status.st_mode)) {
        reason = QStringLiteral("keine gewöhnliche Datei");
        return std::nullopt;
    }
    QFile file(path);
    errno = 0;
    if (!file.open(QIODevice::ReadOnly)) {
        reason = fileFailure(errno ? errno : EACCES).message;
        return std::nullopt;
    }
    log.bytes = file.readAll();
    if (file.error() != QFileDevice::NoError || log.bytes.size() != file.size()) {
        reason = fileFailure(errno ? errno : EIO).message;
        return std::nullopt;
    }
    return log;
}

} // namespace

PreparedLog prepareLog(const QString& path, const ImportOptions& options, const QString& copies) {
    PreparedLog log;
    log.result = {path, ImportOutcome::Failed, 0, {}};
    const auto file = readLogFile(path, log.result.reason);
    if (!file)
        return log;
    log.entry.fileName = QFileInfo(path).fileName();
    log.entry.sha256 = QString::fromLatin1(
        QCryptographicHash::hash(file->bytes, QCryptographicHash::Sha256).toHex());
    log.entry.fileSize = file->bytes.size();
    log.entry.model = options.model;
    // The log date as the GPX export takes it: the file's date, to an even second.
    log.entry.date = QDateTime::fromSecsSinceEpoch(logDateInstant(file->status));
    log.entry.fileDate = log.entry.date;
    if (QFileInfo::exists(logCopyIn(copies, log.entry.sha256))) {
        log.copyFound = true;
        return log;
    }
    completeLog(log, options, copies, &file->bytes, &file->status);
    return log;
}

void completeLog(PreparedLog& log, const ImportOptions& options, const QString& copies,
                 const QByteArray* bytes, const struct stat* status) {
    const QString& path = log.result.path;
    const LogFigures figures = readLogFigures(path, options.firmware, log.entry);
    if (figures.outcome != FiguresOutcome::Read) {
        log.result.outcome = figures.outcome == FiguresOutcome::NoData ? ImportOutcome::Skipped
                                                                       : ImportOutcome::Failed;
        log.result.reason = figures.reason;
        return;
    }
    std::optional<LogFile> reread;
    if (!bytes) {
        reread = readLogFile(path, log.result.reason);
        if (!reread)
            return;
        if (QCryptographicHash::hash(reread->bytes, QCryptographicHash::Sha256).toHex() !=
            log.entry.sha256.toLatin1()) {
            log.result.reason = QStringLiteral("die Datei hat sich beim Lesen geändert");
            return;
        }
        bytes = &reread->bytes;
        status = &reread->status;
    }
    // The copy holds the bytes that were hashed.
    if (auto failure = writeLogCopy(logCopyIn(copies, log.entry.sha256), *bytes, *status)) {
        log.result.reason = QStringLiteral("Kopie ins Flugbuch: %1").arg(failure->message);
        return;
    }
    log.read = true;
}
