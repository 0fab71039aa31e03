#include "logbook/preparedlog.h"

#include "log/logdate.h"
#include "logbook/logcopy.h"
#include "logbook/logdigest.h"
#include "logbook/logfigures.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <sys/stat.h>

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

PreparedLog prepareLog(const QString& path, const ImportOptions& options, const QString& copies) {
    PreparedLog log;
    log.result = {path, ImportOutcome::Failed, 0, {}};
    const auto file = readLogFile(path, log.result.reason);
    if (!file)
        return log;
    log.entry.fileName = QFileInfo(path).fileName();
    log.entry.sha256 = logDigest(file->bytes);
    log.entry.fileSize = file->bytes.size();
    log.entry.model = options.model;
    // The log date as the GPX export takes it: the file's date, to an even second.
    log.entry.date = QDateTime::fromSecsSinceEpoch(logDateInstant(file->status));
    log.entry.fileDate = log.entry.date;
    if (QFileInfo::exists(logCopyIn(copies, log.entry.sha256))) {
        log.copyFound = true;
        return log;
    }
    const LogFileBytes bytes = file->view();
    completeLog(log, options, copies, &bytes);
    return log;
}

void completeLog(PreparedLog& log, const ImportOptions& options, const QString& copies,
                 const LogFileBytes* file) {
    const QString& path = log.result.path;
    std::optional<LogFile> reread;
    LogFileBytes rereadBytes;
    if (!file) {
        reread = readLogFile(path, log.result.reason);
        if (!reread)
            return;
        if (logDigest(reread->bytes) != log.entry.sha256) {
            log.result.reason = QStringLiteral("die Datei hat sich beim Lesen geändert");
            return;
        }
        rereadBytes = reread->view();
        file = &rereadBytes;
    }
    // The figures and the copy come from the bytes that were hashed.
    const LogFigures figures = readLogFigures(path, *file, options.firmware, log.entry);
    if (figures.outcome != FiguresOutcome::Read) {
        log.result.outcome = figures.outcome == FiguresOutcome::NoData ? ImportOutcome::Skipped
                                                                       : ImportOutcome::Failed;
        log.result.reason = figures.reason;
        return;
    }
    if (auto failure =
            writeLogCopy(logCopyIn(copies, log.entry.sha256), file->bytes, file->status)) {
        log.result.reason = QStringLiteral("Kopie ins Flugbuch: %1").arg(failure->message);
        return;
    }
    log.read = true;
}
