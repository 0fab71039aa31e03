#include "convert/cli/picturecommand.h"

#include "cli/commandline.h"
#include "convert/conversion.h"
#include "convert/outputsofrun.h"
#include "core/atomicfile.h"
#include "flight/flightlog.h"
#include "log/datalines.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <algorithm>
#include <cstdio>
#include <sys/stat.h>

namespace {

void report(const QString& log, const QString& message) {
    std::fprintf(stderr, "%s: %s\n", log.toUtf8().constData(), message.toUtf8().constData());
}

Status writePicture(const QString& logPath, const FirmwareVariant& firmware,
                    const PictureOptions& options, const QString& outputFolder,
                    OutputsOfRun& outputs, QString& written, bool& emptyLog) {
    const Result<FlightLog> log = readFlightLog(logPath, firmware);
    if (!log)
        return log.failure();
    emptyLog = log->dataLines == 0;
    // As for the conversions: a log of the other layout is no empty flight.
    if (log->dataLines == 0 && log->otherLayoutLines > 0)
        return Failure{FailureKind::WrongFirmware, QStringLiteral("Keine Datenzeilen: ") +
                                                       otherLayoutText(firmware.otherLayout()) +
                                                       fittingFirmwareHint(firmware.otherLayout())};
    struct stat source {};
    if (::stat(QFile::encodeName(logPath).constData(), &source) != 0)
        return lastFileFailure();
    const QString path = picturePath(logPath, outputFolder);
    if (Status taken = outputs.checkTarget(path, source))
        return taken;
    const Result<QImage> picture = flightPicture(*log, firmware, options);
    if (!picture)
        return picture.failure();
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (!picture->save(&buffer, "PNG"))
        return Failure{FailureKind::IoError, QStringLiteral("Bild kann nicht erzeugt werden")};
    if (Status failure = writeFileAtomically(path, buffer.data()))
        return failure;
    outputs.add(path, logPath, source);
    written = path;
    return {};
}

} // namespace

std::optional<QSize> pictureSize(const QString& text) {
    static const QRegularExpression form(QStringLiteral("^(\\d{3,4})x(\\d{3,4})$"));
    const QRegularExpressionMatch match = form.match(text.trimmed());
    if (!match.hasMatch())
        return std::nullopt;
    const QSize size(match.captured(1).toInt(), match.captured(2).toInt());
    if (size.width() < 200 || size.height() < 150 || size.width() > 8000 || size.height() > 8000)
        return std::nullopt;
    return size;
}

int writePictures(const QStringList& logs, const FirmwareVariant& firmware, bool eachOwnLayout,
                  const PictureOptions& options, const QString& outputFolder) {
    OutputsOfRun outputs;
    int status = 0;
    // The wait for tiles is shared by the whole run, so a card of many logs
    // with the server down still ends in seconds.
    QElapsedTimer run;
    run.start();
    for (const QString& log : logs) {
        PictureOptions these = options;
        these.tileWaitMs = int(std::max<qint64>(0, options.tileWaitMs - run.elapsed()));
        QString written;
        bool emptyLog = false;
        const Result<FirmwareVariant> layout = logLayoutOf(log);
        const FirmwareVariant used = eachOwnLayout && layout ? *layout : firmware;
        if (Status failure =
                writePicture(log, used, these, outputFolder, outputs, written, emptyLog)) {
            report(log, failure->message);
            status = 1;
            continue;
        }
        std::printf("%s\n", written.toUtf8().constData());
        std::fflush(stdout);
        // As a conversion warns of an empty track: drawn, but of no flight.
        if (emptyLog)
            report(log, QStringLiteral("Warnung: keine Datenzeile, das Bild zeigt keinen Flug"));
    }
    return status;
}
